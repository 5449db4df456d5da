#include "gui/common/GridModel.h"

namespace velmora::reports {

GridModel::GridModel(QObject* parent)
    : QAbstractTableModel(parent)
    , m_grid(ReportGrid::initial())
{ }

void GridModel::setGrid(ReportGrid grid)
{
    beginResetModel();
    m_grid = std::move(grid);
    endResetModel();
}

void GridModel::changeCells(const std::function<void(ReportGrid&)>& change)
{
    ReportGrid after = m_grid;
    change(after);
    if (after.titles != m_grid.titles || after.rows.size() != m_grid.rows.size()) {
        setGrid(std::move(after));
        return;
    }
    const ReportGrid before = std::exchange(m_grid, std::move(after));
    for (int r = 0; r < m_grid.rows.size(); ++r) {
        const QStringList& was = before.rows.at(r);
        const QStringList& now = m_grid.rows.at(r);
        if (was == now)
            continue;
        for (int c = 0; c < m_grid.columnCount(); ++c)
            if (was.value(c) != now.value(c))
                emit dataChanged(index(r, c), index(r, c), {Qt::DisplayRole});
    }
}

int GridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_grid.rows.size());
}

int GridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_grid.columnCount();
}

QVariant GridModel::data(const QModelIndex& index, int role) const
{
    const bool shown = role == Qt::DisplayRole || (m_cellTips && role == Qt::ToolTipRole);
    if (!shown || !index.isValid() || index.row() >= m_grid.rows.size())
        return {};
    return m_grid.rows.at(index.row()).value(index.column());
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < m_grid.titles.size() ? m_grid.titles.at(section) : QString();
    return {};
}

} // namespace velmora::reports
