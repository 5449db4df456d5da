#pragma once

#include "services/ImportJobs.h"

#include <QAbstractTableModel>
#include <QTableView>

namespace velmora::import {

// A string grid of the import screens: the titles row is the header, then the
// grid rows as the load made them. Read-only; 50,000 rows show at once.
class ImportGridModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit ImportGridModel(const GridLayout& layout, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Empties the grid and shows these rows.
    void setRows(GridRows rows);
    const GridRows& rows() const { return m_rows; }
    int columnWidth(int column) const { return m_layout.widths.value(column); }
    // The text of a cell: row 0 is the titles row, data from row 1.
    QString cell(int column, int row) const;

private:
    const GridLayout& m_layout;
    GridRows m_rows;
};

// A grid view named `name`, with the layout's column widths.
QTableView* makeImportGrid(const QString& name, ImportGridModel* model, QWidget* parent);

} // namespace velmora::import
