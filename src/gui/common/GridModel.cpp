#include "gui/common/GridModel.h"

namespace velmora::reports {

GridModel::GridModel(QObject* parent)
    : QAbstractTableModel(parent)
    , m_grid(ReportGrid::initial())
{ }

void GridModel::setGrid(ReportGrid grid, const QList<bool>& tickable)
{
    beginResetModel();
    m_grid = std::move(grid);
    m_ticks.clear();
    m_rowColours.clear();
    for (int r = 0; r < tickable.size() && r < m_grid.rows.size(); ++r)
        m_ticks.append(tickable.at(r) ? Tick::Off : Tick::None);
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

void GridModel::setRowColours(QList<QColor> colours)
{
    m_rowColours = std::move(colours);
    if (!m_grid.rows.isEmpty())
        emit dataChanged(index(0, 0), index(int(m_grid.rows.size()) - 1, m_grid.columnCount() - 1),
            {Qt::ForegroundRole});
}

void GridModel::setTick(int row, bool ticked)
{
    const Tick want = ticked ? Tick::On : Tick::Off;
    if (tick(row) == Tick::None || tick(row) == want)
        return;
    m_ticks[row] = want;
    emit dataChanged(index(row, 0), index(row, 0), {Qt::CheckStateRole});
}

void GridModel::setAllTicked(bool ticked)
{
    for (int r = 0; r < m_ticks.size(); ++r)
        setTick(r, ticked);
}

QString GridModel::shown(int row, int column) const
{
    const QString text = cell(row, column);
    return !m_textMarks && text.startsWith(QLatin1Char('\'')) ? text.mid(1) : text;
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
    if (!index.isValid() || index.row() >= m_grid.rows.size())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return shown(index.row(), index.column());
    case Qt::ToolTipRole:
        return m_cellTips ? QVariant(shown(index.row(), index.column())) : QVariant();
    case Qt::TextAlignmentRole:
        return m_rightAligned.contains(index.column()) ? QVariant(int(Qt::AlignRight | Qt::AlignVCenter)) : QVariant();
    case Qt::ForegroundRole: {
        const QColor colour = m_rowColours.value(index.row());
        return colour.isValid() ? QVariant(colour) : QVariant();
    }
    case Qt::CheckStateRole:
        if (index.column() != 0 || !isTickable(index.row()))
            return {};
        return isTicked(index.row()) ? Qt::Checked : Qt::Unchecked;
    default:
        return {};
    }
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < m_grid.titles.size() ? m_grid.titles.at(section) : QString();
    return {};
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() == 0 && isTickable(index.row()))
        f |= Qt::ItemIsUserCheckable;
    return f;
}

bool GridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::CheckStateRole || !index.isValid() || index.column() != 0 || !isTickable(index.row()))
        return false;
    setTick(index.row(), value.toInt() == Qt::Checked);
    return true;
}

} // namespace velmora::reports
