#pragma once

#include "files/ReportGrid.h"

#include <QAbstractTableModel>

namespace velmora::reports {

// A report grid for a table view: the titles as the horizontal header, the
// cells as shown. Replacing the grid is one reset, however many rows it has.
class GridModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit GridModel(QObject* parent = nullptr);

    void setGrid(ReportGrid grid);
    const ReportGrid& grid() const { return m_grid; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    ReportGrid m_grid;
};

} // namespace velmora::reports
