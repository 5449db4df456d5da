#include "gui/import/ImportGrid.h"

#include <QHeaderView>

namespace velmora::import {

ImportGridModel::ImportGridModel(const GridLayout& layout, QObject* parent)
    : QAbstractTableModel(parent)
    , m_layout(layout)
{
    // As designed: the titles row and one empty data row.
    m_rows.push_back(QStringList(QList<QString>(m_layout.titles.size())));
}

int ImportGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int ImportGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_layout.titles.size());
}

QVariant ImportGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return {};
    return m_rows[static_cast<size_t>(index.row())].value(index.column());
}

QVariant ImportGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return m_layout.titles.value(section);
    return {};
}

void ImportGridModel::setRows(GridRows rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    if (m_rows.empty())
        m_rows.push_back(QStringList(QList<QString>(m_layout.titles.size())));
    endResetModel();
}

QString ImportGridModel::cell(int column, int row) const
{
    if (row == 0)
        return m_layout.titles.value(column);
    if (row < 1 || row > static_cast<int>(m_rows.size()))
        return {};
    return m_rows[static_cast<size_t>(row - 1)].value(column);
}

QTableView* makeImportGrid(const QString& name, ImportGridModel* model, QWidget* parent)
{
    auto* view = new QTableView(parent);
    view->setObjectName(name);
    view->setModel(model);
    view->verticalHeader()->setVisible(false);
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setWordWrap(false);
    for (int c = 0; c < model->columnCount(); ++c)
        view->setColumnWidth(c, model->columnWidth(c));
    return view;
}

} // namespace velmora::import
