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
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= m_grid.rows.size())
        return {};
    const QStringList& row = m_grid.rows.at(index.row());
    return index.column() < row.size() ? row.at(index.column()) : QString();
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
