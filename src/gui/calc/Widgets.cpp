#include "gui/calc/Widgets.h"

#include <QAbstractItemView>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace velmora::calc::widgets {

QLabel* caption(QWidget* parent, const QString& text)
{
    return new QLabel(text, parent);
}

QLineEdit* edit(QWidget* parent, const char* name, bool readOnly)
{
    QLineEdit* e = app::lineEdit(parent, name);
    e->setReadOnly(readOnly);
    return e;
}

QLineEdit* monthYearEdit(QWidget* parent, const char* name)
{
    QLineEdit* e = edit(parent, name, false);
    e->setInputMask(QStringLiteral("99/9999;_"));
    return e;
}

QLineEdit* dateEdit(QWidget* parent, const char* name)
{
    QLineEdit* e = edit(parent, name, false);
    e->setInputMask(QStringLiteral("99/99/9999;_"));
    return e;
}

QString maskedText(const QLineEdit* edit)
{
    if (edit->inputMask().isEmpty())
        return edit->text();
    // The display text keeps every place of the mask; text() would drop the
    // places not typed and shift what follows.
    QString text = edit->displayText();
    text.replace(QLatin1Char('_'), QLatin1Char(' '));
    return text;
}

void placeSearchButtons(QGridLayout* criteria, QPushButton* show, QPushButton* exit)
{
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(show);
    buttons->addWidget(exit);
    buttons->addStretch();
    criteria->addLayout(buttons, 0, 3, 3, 1);
    criteria->setColumnStretch(4, 1);
}

QTableWidget* foundList(QWidget* parent, QGroupBox** box)
{
    *box = app::groupBox(parent, "GroupBox2", QStringLiteral("2. เลือกรายการทั่ต้องการ"));
    auto* grid = app::make<QTableWidget>(*box, "StringGrid1");
    setupGrid(grid);
    (new QVBoxLayout(*box))->addWidget(grid);
    return grid;
}

void setupGrid(QTableWidget* grid)
{
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->verticalHeader()->setVisible(false);
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    grid->horizontalHeader()->setStretchLastSection(false);
}

void resetGrid(QTableWidget* grid, const QStringList& titles, const std::vector<int>& widths)
{
    grid->clear();
    grid->setColumnCount(int(titles.size()));
    grid->setRowCount(1);
    grid->setHorizontalHeaderLabels(titles);
    for (int c = 0; c < int(widths.size()) && c < grid->columnCount(); ++c)
        grid->setColumnWidth(c, widths[size_t(c)]);
    grid->setCurrentCell(0, 0);
}

void setGridRow(QTableWidget* grid, int row, const QStringList& cells)
{
    if (row >= grid->rowCount())
        grid->setRowCount(row + 1);
    for (int c = 0; c < cells.size() && c < grid->columnCount(); ++c)
        grid->setItem(row, c, new QTableWidgetItem(cells[c]));
}

const std::vector<int>& earlierGridWidths()
{
    static const std::vector<int> widths = {50, 70, 180, 90, 90, 90, 90, 90, 90};
    return widths;
}

QString cellText(const QTableWidget* grid, int row, int column)
{
    if (row < 0 || row >= grid->rowCount() || column < 0 || column >= grid->columnCount())
        return {};
    const QTableWidgetItem* item = grid->item(row, column);
    return item ? item->text() : QString();
}

int selectedRow(const QTableWidget* grid)
{
    const int row = grid->currentRow();
    return row >= 0 && row < grid->rowCount() ? row : -1;
}

QString qs(const std::string& text)
{
    return QString::fromStdString(text);
}

std::string us(const QString& text)
{
    return text.toStdString();
}

QStringList qsList(const std::vector<std::string>& texts)
{
    QStringList list;
    list.reserve(qsizetype(texts.size()));
    for (const std::string& t : texts)
        list << qs(t);
    return list;
}

} // namespace velmora::calc::widgets
