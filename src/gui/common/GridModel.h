#pragma once

#include "files/ReportGrid.h"

#include <QAbstractTableModel>

#include <functional>
#include <utility>

namespace velmora::reports {

// The grid model of every list screen (reports, the fund-source list with its
// marks, the audit trail, the import grids): the titles as the horizontal
// header, the cells as shown. Replacing the grid is one reset, however many
// rows it has; a change of some cells (marking lines) tells the view only
// those cells, so that the view keeps its place and its current line.
class GridModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit GridModel(QObject* parent = nullptr);

    void setGrid(ReportGrid grid);
    const ReportGrid& grid() const { return m_grid; }

    // Applies `change` to the grid. When it keeps the titles and the number
    // of rows, only the cells whose text changed are signalled; otherwise
    // the grid is reset.
    void changeCells(const std::function<void(ReportGrid&)>& change);

    // Shows each cell's text as its tooltip too (long imported texts).
    void setCellTips(bool on) { m_cellTips = on; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    ReportGrid m_grid;
    bool m_cellTips = false;
};

} // namespace velmora::reports
