#include "gui/calc/Widgets.h"

#include "gui/common/GridModel.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
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

QLineEdit* figure(QWidget* parent, const char* name, int width)
{
    QLineEdit* e = edit(parent, name, true);
    e->setAlignment(Qt::AlignRight);
    e->setMaximumWidth(width);
    return e;
}

void place(QGridLayout* grid, int row, int column, const QString& text, QWidget* control, const QString& unit)
{
    QWidget* parent = control->parentWidget();
    grid->addWidget(caption(parent, text), row, column);
    grid->addWidget(control, row, column + 1);
    if (!unit.isEmpty())
        grid->addWidget(caption(parent, unit), row, column + 2);
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

NameSearch nameSearch(QGroupBox* box)
{
    NameSearch s;
    s.byName = app::make<QCheckBox>(box, "CheckBox1", QStringLiteral("ชื่อ"));
    s.name = edit(box, "edtFind_F_Name", false);
    s.show = button(box, "btnShow_Data", QStringLiteral("แสดงข้อมูล"));
    s.exit = button(box, "btnExit_Form", QStringLiteral("กลับสู่เมนูหลัก"));
    return s;
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

QTableView* foundList(QWidget* parent, QGroupBox** box, const std::vector<int>& widths)
{
    return app::choiceList(parent, new reports::GridModel(parent), QList<int>(widths.begin(), widths.end()), box);
}

QTableView* grid(QWidget* parent, const char* name, const std::vector<int>& widths)
{
    QTableView* view = app::gridView(parent, name, new reports::GridModel(parent), true);
    app::keepColumnWidths(view, QList<int>(widths.begin(), widths.end()));
    return view;
}

reports::GridModel* gridModel(const QTableView* grid)
{
    return qobject_cast<reports::GridModel*>(grid->model());
}

void resetGrid(QTableView* grid, const QStringList& titles)
{
    reports::GridModel* model = gridModel(grid);
    model->setGrid(reports::ReportGrid::emptyResult(titles));
    grid->setCurrentIndex(model->index(0, 0));
}

void showRows(QTableView* grid, const QList<QStringList>& rows, int currentColumn)
{
    reports::GridModel* model = gridModel(grid);
    reports::ReportGrid shown = reports::ReportGrid::emptyResult(model->grid().titles);
    if (!rows.isEmpty()) {
        shown.rows.clear();
        for (const QStringList& cells : rows)
            shown.rows.append(cells.mid(0, shown.columnCount()));
    }
    model->setGrid(std::move(shown));
    grid->setCurrentIndex(model->index(0, currentColumn));
}

const std::vector<int>& earlierGridWidths()
{
    static const std::vector<int> widths = {50, 70, 180, 90, 90, 90, 90, 90, 90};
    return widths;
}

QString cellText(const QTableView* grid, int row, int column)
{
    return gridModel(grid)->cell(row, column);
}

int selectedRow(const QTableView* grid)
{
    const QModelIndex current = grid->currentIndex();
    return current.isValid() ? current.row() : -1;
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
