// The screen kit: named-widget builders, the one grid model, filter groups.

#include "gui/common/FilterGroups.h"
#include "gui/common/GridModel.h"
#include "gui/common/Widgets.h"
#include "services/FundSource.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

#include <functional>

namespace velmora::app {
namespace {

using reports::GridModel;
using reports::ReportGrid;

// Every builder names its control as asked and shows the caption given.
TEST(NamedWidgets, TakeTheNameAndCaptionGiven)
{
    QWidget screen;
    QGroupBox* box = groupBox(&screen, "GroupBox4", QStringLiteral("ประเภทการจ้าง"));
    struct Case
    {
        QWidget* widget;
        const char* name;
        QString caption;
    };
    const Case cases[] = {
        {box, "GroupBox4", box->title()},
        {label(&screen, "Label5", QStringLiteral("รายงาน")), "Label5", QStringLiteral("รายงาน")},
        {button(&screen, "btnShow_Data", QStringLiteral("แสดงข้อมูล")), "btnShow_Data", QStringLiteral("แสดงข้อมูล")},
        {radio(box, "RadioButton2", QStringLiteral("เฉพาะ")), "RadioButton2", QStringLiteral("เฉพาะ")},
        {lineEdit(&screen, "edtYear_Cal"), "edtYear_Cal", QString()},
        {make<QRadioButton>(&screen, "rbAge60", QStringLiteral("อายุครบ 60 ปี")), "rbAge60",
            QStringLiteral("อายุครบ 60 ปี")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.widget->objectName(), QString::fromLatin1(c.name));
        EXPECT_EQ(screen.findChild<QWidget*>(QString::fromLatin1(c.name)), c.widget);
        QString shown;
        if (auto* l = qobject_cast<QLabel*>(c.widget))
            shown = l->text();
        else if (auto* b = qobject_cast<QAbstractButton*>(c.widget))
            shown = b->text();
        else if (auto* g = qobject_cast<QGroupBox*>(c.widget))
            shown = g->title();
        EXPECT_EQ(shown, c.caption);
    }
    EXPECT_EQ(box->title(), QStringLiteral("ประเภทการจ้าง"));
}

// In a dialog a plain button becomes Enter's default; the kit's never does
// (Enter presses the focused button only).
TEST(NamedWidgets, ButtonIsNeverADialogsDefault)
{
    QDialog dialog;
    QPushButton plain(QStringLiteral("x"), &dialog);
    ASSERT_TRUE(plain.autoDefault());
    EXPECT_FALSE(button(&dialog, "btnSave", QStringLiteral("บันทึก"))->autoDefault());
}

// Radios, choice lists and short boxes go into the box's row in the order made.
TEST(NamedWidgets, BoxControlsFollowOneAnotherInTheRow)
{
    QWidget screen;
    QGroupBox* box = groupBox(&screen, "GroupBox6", QStringLiteral("หน่วยวงาน"));
    QRadioButton* all = radio(box, "RadioButton6", QStringLiteral("ทั้งหมด"));
    QComboBox* choice = choiceBox(box, "cmbDapart_Name");
    QLineEdit* edit = maskedBox(box, "edtBeg_Cal", QStringLiteral("99/99/0000;_"));
    auto* row = qobject_cast<QHBoxLayout*>(box->layout());
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->indexOf(all), 0);
    EXPECT_EQ(row->indexOf(choice), 1);
    EXPECT_EQ(row->indexOf(edit), 2);
    EXPECT_TRUE(choice->isEditable());
    EXPECT_EQ(edit->inputMask(), QStringLiteral("99/99/0000;_"));
    EXPECT_EQ(edit->maximumWidth(), 90);
}

// The era label stands right after its box: next in a row, next column in a grid.
TEST(NamedWidgets, EraNoteStandsRightAfterItsBox)
{
    QWidget screen;
    QGroupBox* rowBox = groupBox(&screen, "GroupBox1", QString());
    QLineEdit* from = editBox(rowBox, "edtFrom");
    QLineEdit* count = editBox(rowBox, "edtCount");
    QLabel* note = eraNote(from, Era::Buddhist);
    EXPECT_EQ(note->objectName(), QStringLiteral("edtFromEra"));
    EXPECT_EQ(note->text(), QStringLiteral("พ.ศ."));
    EXPECT_EQ(rowBox->layout()->indexOf(note), rowBox->layout()->indexOf(from) + 1);
    EXPECT_EQ(rowBox->layout()->indexOf(count), rowBox->layout()->indexOf(note) + 1);
    EXPECT_EQ(from->toolTip(), note->toolTip());

    const PeriodFilterBoxes period = periodFilter(
        &screen, QStringLiteral("รับเงินชดเชย"), "edtYear_Mon_Select", kMonthYearMask, PeriodLayout::Stacked);
    auto* grid = qobject_cast<QGridLayout*>(period.box->layout());
    ASSERT_NE(grid, nullptr);
    auto* yearNote = period.box->findChild<QLabel*>(QStringLiteral("edtYear_selEra"));
    ASSERT_NE(yearNote, nullptr);
    int r = 0, c = 0, rs = 0, cs = 0;
    grid->getItemPosition(grid->indexOf(yearNote), &r, &c, &rs, &cs);
    EXPECT_EQ(r, 1);
    EXPECT_EQ(c, 2);
    EXPECT_EQ(yearNote->text(), QStringLiteral("ค.ศ."));
}

TEST(FilterGroups, ChoiceFilterNamesTheChoiceOnlyWhenOn)
{
    QWidget screen;
    const ChoiceFilter department = departmentFilter(&screen);
    EXPECT_EQ(department.box->objectName(), QStringLiteral("GroupBox6"));
    EXPECT_EQ(department.choice->objectName(), QStringLiteral("cmbDapart_Name"));
    department.choice->setEditText(QStringLiteral(" คณะวิทยาศาสตร์ "));
    department.all->setChecked(true);
    EXPECT_EQ(department.chosen(), std::nullopt);
    department.one->setChecked(true);
    EXPECT_FALSE(department.all->isChecked()); // one choice at a time
    EXPECT_EQ(department.chosen(), QStringLiteral(" คณะวิทยาศาสตร์ ")); // as typed, blanks kept
}

// The period as the boxes hold it: nothing, the year, or the month; the box
// of the choice not taken is never read.
TEST(FilterGroups, PeriodReadsOnlyTheChosenBox)
{
    QWidget screen;
    PeriodFilterBoxes f = periodFilter(&screen, QStringLiteral("ปีที่บันทึก"), "edtMMYYYY_sel", kMonthYearMask);
    f.setDefaults(QStringLiteral("2026"), QStringLiteral("12/2026"));
    EXPECT_TRUE(f.all->isChecked());
    EXPECT_EQ(f.period().kind, reports::PeriodFilter::Any);

    f.year->setChecked(true);
    reports::PeriodFilter p = f.period();
    EXPECT_EQ(p.kind, reports::PeriodFilter::Year);
    EXPECT_EQ(p.year, QStringLiteral("2026"));
    EXPECT_EQ(p.monthYear, QString());

    f.month->setChecked(true);
    f.monthBox->setText(QStringLiteral("03/2025"));
    p = f.period();
    EXPECT_EQ(p.kind, reports::PeriodFilter::Month);
    EXPECT_EQ(p.monthYear, QStringLiteral("03/2025"));
    EXPECT_EQ(p.year, QString());
    // the month needs its two digits: a half-typed one does not pass the mask
    EXPECT_EQ(f.monthBox->inputMask(), QStringLiteral("00/9999;_"));
}

ReportGrid threeLines()
{
    ReportGrid g;
    g.titles = reports::fundSourceTitles();
    for (int r = 0; r < 3; ++r) {
        QStringList row(g.titles.size(), QString());
        row[0] = QString::number(r + 1);
        row[reports::fsSapID] = r < 2 ? QStringLiteral("'10%1").arg(r) : QString(); // the last: a total row
        g.rows.append(row);
    }
    return g;
}

// Marking a line tells the view that one cell and nothing else, so the view
// keeps its current line and place in a long list.
TEST(GridModel, AMarkChangesOneCellAndKeepsTheCurrentLine)
{
    GridModel model;
    model.setGrid(threeLines());
    QTableView view;
    view.setModel(&model);
    view.setCurrentIndex(model.index(1, 3));
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    QSignalSpy changes(&model, &QAbstractItemModel::dataChanged);

    model.changeCells([](ReportGrid& g) { reports::markLine(g, 1); });
    ASSERT_EQ(changes.size(), 1);
    EXPECT_EQ(changes.at(0).at(0).toModelIndex(), model.index(1, reports::fsMark));
    EXPECT_EQ(changes.at(0).at(1).toModelIndex(), model.index(1, reports::fsMark));
    EXPECT_EQ(resets.size(), 0);
    EXPECT_EQ(view.currentIndex(), model.index(1, 3));
    EXPECT_EQ(model.index(1, reports::fsMark).data().toString(), reports::markText());

    // the total row carries no SAP ID: it is never marked, and nothing is signalled
    model.changeCells([](ReportGrid& g) { reports::markLine(g, 2); });
    EXPECT_EQ(changes.size(), 1);
    EXPECT_EQ(model.index(2, reports::fsMark).data().toString(), QString());

    // all marks at once: one signal per line that changed
    model.changeCells([](ReportGrid& g) { reports::markAll(g); });
    EXPECT_EQ(changes.size(), 2); // line 0 only; line 1 was marked already
    EXPECT_EQ(resets.size(), 0);
}

// A change that adds or drops rows cannot be told cell by cell: the grid is reset.
TEST(GridModel, AChangeOfRowCountResets)
{
    GridModel model;
    model.setGrid(threeLines());
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    model.changeCells([](ReportGrid& g) { g.rows.removeLast(); });
    EXPECT_EQ(resets.size(), 1);
    EXPECT_EQ(model.rowCount(), 2);
}

TEST(GridModel, TipsOnlyWhereAsked)
{
    GridModel model;
    model.setGrid(threeLines());
    const QModelIndex cell = model.index(0, reports::fsSapID);
    EXPECT_FALSE(cell.data(Qt::ToolTipRole).isValid());
    model.setCellTips(true);
    EXPECT_EQ(cell.data(Qt::ToolTipRole).toString(), QStringLiteral("'100"));
    // a short row shows blanks past its end, not stale text
    ReportGrid g = threeLines();
    g.rows[0] = QStringList {QStringLiteral("1")};
    model.setGrid(g);
    EXPECT_EQ(model.index(0, 5).data().toString(), QString());
    EXPECT_EQ(model.headerData(3, Qt::Horizontal).toString(), g.titles.at(3));
}

// Tick boxes stand only on the rows given as tickable: the officer ticks one
// with the space bar through the view, nothing ticks a row without one, and
// each change is told for that one box.
TEST(GridModel, TickBoxesOnlyWhereGiven)
{
    GridModel model;
    model.setGrid(threeLines(), {true, false}); // the third row is past the list
    model.setRightAligned({2});
    QWidget screen;
    QTableView* view = gridView(&screen, "StringGrid1", &model, false);
    screen.show();
    QSignalSpy changes(&model, &QAbstractItemModel::dataChanged);
    struct Step
    {
        const char* what;
        std::function<void()> act;
        std::vector<bool> ticked;
        int signalled;
    };
    const auto spaceOn = [&](int row) {
        return [&, row] {
            view->setCurrentIndex(model.index(row, 0));
            QTest::keyClick(view, Qt::Key_Space);
        };
    };
    const Step steps[] = {
        {"the space bar on the tickable row", spaceOn(0), {true, false, false}, 1},
        {"the space bar on a row without a box", spaceOn(1), {true, false, false}, 0},
        {"set on a row without a box",
            [&] { EXPECT_FALSE(model.setData(model.index(2, 0), Qt::Checked, Qt::CheckStateRole)); },
            {true, false, false}, 0},
        {"set on another column", [&] { model.setData(model.index(0, 1), Qt::Unchecked, Qt::CheckStateRole); },
            {true, false, false}, 0},
        {"all cleared", [&] { model.setAllTicked(false); }, {false, false, false}, 1},
        {"all cleared again", [&] { model.setAllTicked(false); }, {false, false, false}, 0},
        {"all ticked", [&] { model.setAllTicked(true); }, {true, false, false}, 1},
        {"a mark of the text changes a cell, not the box",
            [&] { model.changeCells([](ReportGrid& g) { reports::markLine(g, 0); }); }, {true, false, false}, 1},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        changes.clear();
        step.act();
        for (int r = 0; r < 3; ++r)
            EXPECT_EQ(model.isTicked(r), step.ticked[size_t(r)]) << r;
        EXPECT_EQ(changes.size(), step.signalled);
    }
    EXPECT_TRUE(model.flags(model.index(0, 0)) & Qt::ItemIsUserCheckable);
    EXPECT_FALSE(model.flags(model.index(0, 1)) & Qt::ItemIsUserCheckable);
    EXPECT_FALSE(model.index(1, 0).data(Qt::CheckStateRole).isValid()); // no box drawn
    EXPECT_EQ(model.index(0, 2).data(Qt::TextAlignmentRole).toInt(), int(Qt::AlignRight | Qt::AlignVCenter));
    EXPECT_FALSE(model.index(0, 1).data(Qt::TextAlignmentRole).isValid());
    // a new grid comes without boxes unless given, its columns aligned as before
    model.setGrid(threeLines());
    EXPECT_FALSE(model.isTickable(0));
    EXPECT_FALSE(model.index(0, 0).data(Qt::CheckStateRole).isValid());
    EXPECT_TRUE(model.index(0, 2).data(Qt::TextAlignmentRole).isValid());
}

// A screen this program added shows an identifier without the apostrophe
// that makes it text in the spreadsheet; the grid, which feeds the export, keeps it.
TEST(GridModel, TextMarksShownOrNot)
{
    GridModel model;
    ReportGrid grid = ReportGrid::emptyResult({QStringLiteral("SAP ID"), QStringLiteral("เหตุ")});
    grid.rows = {{QStringLiteral("'00000207"), QStringLiteral("it's")}};
    model.setGrid(grid);
    model.setCellTips(true);
    EXPECT_EQ(model.index(0, 0).data().toString(), QStringLiteral("'00000207"));
    model.setTextMarksShown(false);
    EXPECT_EQ(model.index(0, 0).data().toString(), QStringLiteral("00000207"));
    EXPECT_EQ(model.index(0, 0).data(Qt::ToolTipRole).toString(), QStringLiteral("00000207"));
    EXPECT_EQ(model.index(0, 1).data().toString(), QStringLiteral("it's")); // only a leading one
    EXPECT_EQ(model.cell(0, 0), QStringLiteral("'00000207"));
}

// Listed widths are set, scaled from the layouts' 8-point face to the
// program's font, 0 keeps a column as it is, columns past the list take
// `otherWidth`; a column narrower than its title is widened to it.
TEST(GridView, ColumnWidths)
{
    GridModel model;
    const QString longTitle = QStringLiteral("วันที่ปฏิบัติงานในม.กาวิลัน");
    model.setGrid(
        ReportGrid::emptyResult({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), longTitle}));
    QWidget screen;
    QTableView* view = gridView(&screen, "StringGrid1", &model, true);
    EXPECT_EQ(view->objectName(), QStringLiteral("StringGrid1"));
    EXPECT_EQ(view->selectionBehavior(), QAbstractItemView::SelectRows);
    view->setColumnWidth(1, 33);
    setColumnWidths(view, {50, 0, 120, 40});
    QFont font = view->font();
    font.setPointSizeF(font.pointSizeF() * 2);
    EXPECT_GT(layoutWidth(100, font), layoutWidth(100, view->font()) * 3 / 2); // grows with the font
    EXPECT_EQ(view->columnWidth(0), layoutWidth(50, view->font()));
    EXPECT_EQ(view->columnWidth(1), 33);
    EXPECT_EQ(view->columnWidth(2), layoutWidth(120, view->font()));
    // 40 pixels of the layouts would cut the title: the column takes the title's width
    EXPECT_GT(view->horizontalHeader()->sectionSizeHint(3), layoutWidth(40, view->font()));
    EXPECT_EQ(view->columnWidth(3), view->horizontalHeader()->sectionSizeHint(3));
}

} // namespace
} // namespace velmora::app

namespace velmora::app {
namespace {

// A row squeezed narrower than its boxes keeps every month and year whole:
// "12/2026" cut to "026" would read as another year.
TEST(NamedWidgets, SqueezedRowKeepsMonthAndYearWhole)
{
    QWidget screen;
    auto* layout = new QHBoxLayout(&screen);
    QGroupBox* box = groupBox(&screen, "GroupBox3", QStringLiteral("ช่วงเวลา"));
    layout->addWidget(box);
    struct Case
    {
        const char* name;
        QString text;
    };
    const Case cases[] = {{"edtFrom", QStringLiteral("12/2026")}, {"edtYear", QStringLiteral("2569")},
        {"edtMonth", QStringLiteral("09/2024")}};
    for (const Case& c : cases)
        editBox(box, c.name)->setText(c.text);
    screen.resize(60, 40);
    screen.show();
    screen.layout()->activate();
    box->layout()->activate();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto* e = screen.findChild<QLineEdit*>(QString::fromLatin1(c.name));
        ASSERT_NE(e, nullptr);
        EXPECT_GE(e->width(), e->fontMetrics().horizontalAdvance(c.text) + 8) << "width " << e->width();
    }
}

} // namespace
} // namespace velmora::app
