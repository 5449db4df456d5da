#pragma once

#include "files/ReportGrid.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QList>

#include <functional>
#include <utility>

namespace velmora::reports {

// The grid model of every list screen (reports, the fund-source list with its
// marks, the audit trail, the import grids, the calculation's lists, the
// month-end run): the titles as the horizontal header, the cells as shown.
// Replacing the grid is one reset, however many rows it has; a change of some
// cells (marking lines) tells the view only those cells, so that the view
// keeps its place and its current line.
//
// A grid may also carry tick boxes in column 0 of the rows given as tickable
// (the month-end run's lines that can be saved): unticked at first, ticked by
// the officer with the mouse or the space bar, never on any other row.
class GridModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit GridModel(QObject* parent = nullptr);

    // Replaces the grid. `tickable` holds one entry per row: true gives that
    // row an unticked box; rows past the list have none.
    void setGrid(ReportGrid grid, const QList<bool>& tickable = {});
    const ReportGrid& grid() const { return m_grid; }
    // The text shown at (row, column); empty outside the grid.
    QString cell(int row, int column) const { return m_grid.rows.value(row).value(column); }

    // Applies `change` to the grid. When it keeps the titles and the number
    // of rows, only the cells whose text changed are signalled (tick boxes
    // stay as they are); otherwise the grid is reset without boxes.
    void changeCells(const std::function<void(ReportGrid&)>& change);

    // Shows each cell's text as its tooltip too (long imported texts, reasons).
    void setCellTips(bool on) { m_cellTips = on; }
    // A leading apostrophe marks a cell as text for the spreadsheet the grid
    // feeds (identifiers, dates); the screens this program added show the
    // cell without it. cell() and grid() keep it either way.
    void setTextMarksShown(bool shown) { m_textMarks = shown; }
    // The text colour of each row of the present grid (an invalid colour, or
    // a row past the list: the view's own); a new grid has none.
    void setRowColours(QList<QColor> colours);
    // The columns shown aligned right (amounts), kept across grids.
    void setRightAligned(const QList<int>& columns) { m_rightAligned = columns; }

    bool isTickable(int row) const { return tick(row) != Tick::None; }
    bool isTicked(int row) const { return tick(row) == Tick::On; }
    // Ticks or clears every box; only the boxes that change are signalled.
    void setAllTicked(bool ticked);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Only the check state of a row's box can be set, and only where the row has one.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

private:
    enum class Tick : quint8 { None, Off, On };
    Tick tick(int row) const { return m_ticks.value(row, Tick::None); }
    // The cell as the view shows it.
    QString shown(int row, int column) const;
    void setTick(int row, bool ticked);

    ReportGrid m_grid;
    QList<Tick> m_ticks;
    QList<QColor> m_rowColours;
    QList<int> m_rightAligned;
    bool m_cellTips = false;
    bool m_textMarks = true;
};

} // namespace velmora::reports
