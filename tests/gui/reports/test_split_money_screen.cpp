#include "ExportReader.h"
#include "FundSourceData.h"

#include "gui/common/Prompter.h"
#include "gui/common/ReportScreen.h"
#include "gui/common/Session.h"
#include "gui/reports/URep_Split_Money.h"
#include "gui/common/Widgets.h"
#include "pages/MemoPage.h"
#include "pages/OrganisationSettings.h"
#include "pages/PrintedMark.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

using namespace velmora;
using namespace velmora::reports;
using namespace velmora::test;

namespace {

const QString sci = QStringLiteral("คณะวิทยาศาสตร์");
const QString med = QStringLiteral("คณะแพทยศาสตร์");

class SplitMoneyScreen : public ::testing::Test
{
protected:
    SplitMoneyScreen()
    {
        session.db = &t.db();
        session.prompter = &prompter;
        session.Server_Date_Text = QStringLiteral("09/12/2026");
        session.Server_Date_Text_BE = QStringLiteral("09/12/2569");
        session.localNow = [] { return QDateTime(QDate(2026, 12, 9), QTime(10, 0)); };
        exportHooks().folder = folder.path();
        exportHooks().open = [this](const QString& path) { opened << path; };
        print::OrganisationSettings::fileOverride() = folder.filePath(QStringLiteral("settings.ini"));
        addFundTypes(t);
        t.exec(QStringLiteral("INSERT INTO EP_TR_Depart (Depart_Code, Dapart_Name) VALUES ('12', ?)"), {med});
        t.exec(QStringLiteral("INSERT INTO EP_TR_Depart (Depart_Code, Dapart_Name) VALUES ('11', ?)"), {sci});
        screen = std::make_unique<TfrmRep_Split_Money>(session);
        screen->showPreview = [this](const QList<print::PageLayout>& pages) { previews << pages; };
        screen->resize(1200, 800);
        screen->show();
    }
    ~SplitMoneyScreen() override
    {
        exportHooks() = {};
        print::OrganisationSettings::fileOverride().clear();
    }

    template <typename T>
    T* child(const char* name)
    {
        T* found = screen->findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    void click(const char* name) { QTest::mouseClick(child<QPushButton>(name), Qt::LeftButton); }
    void setCurrent(int row)
    {
        child<QTableView>("StringGrid1")
            ->setCurrentIndex(screen->resultList().rows.size() > row
                    ? child<QTableView>("StringGrid1")->model()->index(row, 0)
                    : QModelIndex());
    }
    QStringList marks() const
    {
        QStringList m;
        for (const QStringList& row : screen->resultList().rows)
            m << row.at(fsMark);
        return m;
    }
    QVariant printed(const char* sap) const
    {
        return t.scalar(QStringLiteral("SELECT Is_Print_doc FROM EP_mRec_Money_Chodchoy WHERE SapID = ?"),
            {QString::fromUtf8(sap)});
    }
    QString memoText(const char* item) const
    {
        const print::Item* i = screen->lastMemo().find(QLatin1String(item));
        return i ? i->text : QStringLiteral("<missing>");
    }

    // Three calculations of one department (the medical faculty unless
    // given) saved this month, one line each.
    void addThree(const QString& department = med)
    {
        addCalc(t, "101", "ก", "01/12/2569", 10000, 0, 10, department);
        addCalc(t, "102", "ข", "05/12/2569", 5000, 0, 10, department);
        addCalc(t, "103", "ค", "09/12/2569", 10000, 0, 10, department);
        for (const char* sap : {"101", "102", "103"})
            addPeriod(t, sap, "2", "01/10/2550", "30/09/2560");
    }

    TestDatabase t;
    app::ScriptedPrompter prompter;
    app::Session session;
    QTemporaryDir folder;
    QStringList opened;
    QList<print::PageLayout> previews;
    std::unique_ptr<TfrmRep_Split_Money> screen;
};

TEST_F(SplitMoneyScreen, OpensWithTheMonthSoFarAndItsPresets)
{
    EXPECT_EQ(child<QLineEdit>("edtBeg_Cal")->text(), QStringLiteral("01/12/2569"));
    EXPECT_EQ(child<QLineEdit>("edtEnd_Cal")->text(), QStringLiteral("09/12/2569"));
    for (const char* on : {"RadioButton2", "RadioButton6", "RadioButton9", "RadioButton3", "RadioButton5"})
        EXPECT_TRUE(child<QRadioButton>(on)->isChecked()) << on;
    for (const char* off : {"RadioButton1", "RadioButton7", "RadioButton10", "RadioButton4", "RadioButton8"})
        EXPECT_FALSE(child<QRadioButton>(off)->isChecked()) << off;
    auto* types = child<QComboBox>("cmbWork_Type");
    EXPECT_EQ(types->currentText(), QStringLiteral("2. มหาวิทยาลัย"));
    ASSERT_EQ(types->count(), 2);
    EXPECT_EQ(types->itemText(1), QStringLiteral("3. ส่วนงาน"));
    auto* departs = child<QComboBox>("cmbDapart_Name");
    // the first in Thai dictionary order: แพทย (พ) before วิทยา (ว); by code point
    // the leading vowel แ put it last
    EXPECT_EQ(departs->currentText(), med);
    EXPECT_EQ(departs->count(), 2);
    EXPECT_FALSE(child<QFrame>("Panel2")->isVisible());
    EXPECT_EQ(child<QPushButton>("Button1")->text(), QStringLiteral("Export Ms Excel"));
    EXPECT_EQ(child<QPushButton>("btnExpExcel")->text(), QStringLiteral("Export MS Excel"));
    EXPECT_EQ(child<QPushButton>("bntPrint_Doc")->text(), QStringLiteral("พิมพ์บันทึก"));
    EXPECT_EQ(child<QTableView>("StringGrid1")->model()->columnCount(), 18);
    EXPECT_EQ(child<QTableView>("StringGrid1")->columnWidth(3),
        app::layoutWidth(240, child<QTableView>("StringGrid1")->font()));
    EXPECT_EQ(child<QTableView>("StringGrid2")->columnWidth(3),
        app::layoutWidth(190, child<QTableView>("StringGrid2")->font()));
}

TEST_F(SplitMoneyScreen, SearchListsOnlyTheChosenFundSourceByDefault)
{
    addCalc(t, "201", "ก", "03/12/2569", 10000, 30, 10, sci);
    addPeriod(t, "201", "2", "01/10/2550", "30/09/2555");
    addPeriod(t, "201", "3", "01/10/2555", "30/09/2569");
    click("btnShow_Data");
    ASSERT_EQ(screen->resultList().rows.size(), 2);
    EXPECT_EQ(screen->resultList().rows.at(0).at(fsShare), QStringLiteral("2,500.00"));
    child<QComboBox>("cmbWork_Type")->setCurrentIndex(1);
    click("btnShow_Data");
    EXPECT_EQ(screen->resultList().rows.at(0).at(fsShare), QStringLiteral("7,500.00"));
    child<QRadioButton>("RadioButton1")->setChecked(true);
    click("btnShow_Data");
    ASSERT_EQ(screen->resultList().rows.size(), 3);
    EXPECT_EQ(screen->resultList().rows.at(2).at(fsShare), QStringLiteral("10,000.00"));
    EXPECT_TRUE(prompter.messages.isEmpty());
}

TEST_F(SplitMoneyScreen, EmptySearchAndEmptyGathering)
{
    click("btnShow_Data");
    EXPECT_EQ(prompter.messages, QStringList {QStringLiteral("ไม่พบข้อมูลที่ต้องการ")});
    EXPECT_EQ(screen->resultList().rows.size(), 1);
    click("Button2");
    EXPECT_EQ(prompter.messages.size(), 2);
    EXPECT_FALSE(child<QFrame>("Panel2")->isVisible());
    EXPECT_EQ(screen->selectionList().rows, (QList<QStringList> {QStringList(4, QString())}));
}

TEST_F(SplitMoneyScreen, MarksNeverReachTheTotalRowAndANewSearchClearsThem)
{
    addThree();
    click("btnShow_Data");
    ASSERT_EQ(marks(), (QStringList {"", "", "", ""}));
    click("btnSelect_all");
    EXPECT_EQ(marks(), (QStringList {"X", "X", "X", ""}));
    click("btnRelease_All");
    EXPECT_EQ(marks(), (QStringList {"", "", "", ""}));

    setCurrent(1);
    click("btnSelect2");
    click("btnSelect2");
    EXPECT_EQ(marks(), (QStringList {"", "X", "", ""}));
    click("btnRelease2");
    EXPECT_EQ(marks(), (QStringList {"", "", "", ""}));

    auto* grid = child<QTableView>("StringGrid1");
    const QRect cell = grid->visualRect(grid->model()->index(2, 3));
    grid->show();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(marks(), (QStringList {"", "", "X", ""}));
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(marks(), (QStringList {"", "", "", ""}));

    setCurrent(3); // the total row
    click("btnSelect2");
    screen->StringGrid1DblClick();
    EXPECT_EQ(marks(), (QStringList {"", "", "", ""}));

    click("btnSelect_all");
    click("btnShow_Data");
    EXPECT_EQ(marks(), (QStringList {"", "", "", ""}));
}

TEST_F(SplitMoneyScreen, SelectActsOnTheFirstLineRightAfterASearch)
{
    // before, no line was current after a search and "เลือก" did nothing
    addThree();
    click("btnShow_Data");
    click("btnSelect2");
    EXPECT_EQ(marks(), (QStringList {"X", "", "", ""}));
    click("btnRelease2");
    EXPECT_EQ(marks(), (QStringList {"", "", "", ""}));
}

TEST_F(SplitMoneyScreen, ARefusedSearchEmptiesTheList)
{
    addThree();
    click("btnShow_Data");
    ASSERT_EQ(screen->resultList().rows.size(), 4);
    child<QLineEdit>("edtBeg_Cal")->setText(QString()); // no date: refused
    click("btnShow_Data");
    ASSERT_EQ(prompter.messages.size(), 1);
    ASSERT_EQ(screen->resultList().rows.size(), 1);
    EXPECT_EQ(screen->resultList().rows.at(0).at(fsSapID), QString());
    click("Button2"); // nothing to gather from a refused search
    EXPECT_EQ(prompter.messages.size(), 2);
    EXPECT_FALSE(child<QFrame>("Panel2")->isVisible());
}

TEST_F(SplitMoneyScreen, GatheringNothingMarkedShowsZero)
{
    addThree();
    click("btnShow_Data");
    click("Button2");
    EXPECT_TRUE(child<QFrame>("Panel2")->isVisible());
    EXPECT_EQ(screen->selectionList().rows,
        (QList<QStringList> {{"", "", QStringLiteral("ยอดรวมทั้งสิ้น"), QStringLiteral("0.00")}}));
    click("btnExit2");
    EXPECT_FALSE(child<QFrame>("Panel2")->isVisible());
    EXPECT_EQ(screen->selectionList().rows.size(), 1); // kept
}

TEST_F(SplitMoneyScreen, BothExportsCarryTheTitlesTheLinesAndTheTotal)
{
    addThree();
    click("btnShow_Data");
    setCurrent(0);
    click("btnSelect2");
    setCurrent(2);
    click("btnSelect2");
    click("Button1");
    click("Button2");
    click("btnExpExcel");
    ASSERT_EQ(opened.size(), 2) << prompter.messages.join(QLatin1Char('|')).toStdString();

    QString error;
    const QJsonObject list = readWorkbook(opened.at(0), 8, 18, &error);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    EXPECT_EQ(cellAt(list, 1, 1).value("v").toString(), QStringLiteral("รายงานการรับเงินชดเชยพนักงาน "));
    EXPECT_EQ(cellAt(list, 2, 1).value("v").toString(), QStringLiteral("หน่วยงาน ทั้งหมด"));
    EXPECT_EQ(cellAt(list, 4, 3).value("v").toString(), QStringLiteral("SAP ID "));
    EXPECT_EQ(cellAt(list, 4, 16).value("v").toString(), QStringLiteral("จำนวนเท่า"));
    EXPECT_EQ(cellAt(list, 4, 18).value("v").toString(), QStringLiteral("ผู้ตรวจสอบ"));
    EXPECT_EQ(cellAt(list, 4, 18).value("fill").toString(), QStringLiteral("9BCDE6")); // styled to R
    EXPECT_EQ(cellAt(list, 5, 3).value("v").toString(), QStringLiteral("101"));
    EXPECT_EQ(cellAt(list, 5, 2).value("v").toString(), QStringLiteral("X"));
    EXPECT_EQ(cellAt(list, 5, 6).value("v").toString(), QStringLiteral("01/12/2569"));
    EXPECT_EQ(cellAt(list, 8, 4).value("v").toString(), QStringLiteral("ยอดรวมทั้งสิ้น"));
    EXPECT_DOUBLE_EQ(cellAt(list, 8, 5).value("v").toDouble(), 25000.0);
    EXPECT_EQ(list.value("header_left").toString(), QStringLiteral("วันที่พิมพ์ &D &T"));
    EXPECT_EQ(list.value("header_right").toString(), QStringLiteral("หน้า &P จากทั้งหมด &N"));
    EXPECT_EQ(list.value("footer_left").toString(), QStringLiteral("Develop By Pelvo"));
    EXPECT_EQ(list.value("widths").toObject().value("C").toDouble(), 40.0 + 0.7109375);

    const QJsonObject sel = readWorkbook(opened.at(1), 7, 5, &error);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    EXPECT_EQ(cellAt(sel, 2, 1).value("v").toString(), QStringLiteral("หน่วยงาน ทั้งหมด"));
    EXPECT_EQ(cellAt(sel, 4, 4).value("v").toString(), QStringLiteral("จำนวนเงินชดเชยที่ได้รับ"));
    EXPECT_EQ(cellAt(sel, 4, 4).value("fill").toString(), QStringLiteral("9BCDE6"));
    EXPECT_EQ(cellAt(sel, 5, 2).value("v").toString(), QStringLiteral("101"));
    EXPECT_EQ(cellAt(sel, 6, 2).value("v").toString(), QStringLiteral("103"));
    EXPECT_EQ(cellAt(sel, 7, 3).value("v").toString(), QStringLiteral("ยอดรวมทั้งสิ้น"));
    EXPECT_DOUBLE_EQ(cellAt(sel, 7, 4).value("v").toDouble(), 20000.0);
    EXPECT_EQ(sel.value("max_row").toInt(), 7);

    // only the chosen department: its name on the second title line
    child<QRadioButton>("RadioButton7")->setChecked(true);
    click("btnExpExcel");
    ASSERT_EQ(opened.size(), 3);
    const QJsonObject one = readWorkbook(opened.at(2), 2, 1, &error);
    EXPECT_EQ(cellAt(one, 2, 1).value("v").toString(), QStringLiteral("หน่วยงาน ") + med);
}

TEST_F(SplitMoneyScreen, TheMemoMarksTheSelectionAndNamesTheDepartment)
{
    addThree();
    addCalc(t, "104", "ง", "09/12/2569", 10000, 0, 10, med);
    addPeriod(t, "104", "2", "01/10/2550", "30/09/2560");
    click("btnShow_Data");
    click("btnSelect_all");
    setCurrent(3);
    click("btnRelease2"); // 104 stays out
    click("Button2");
    ASSERT_EQ(screen->selectionList().rows.size(), 4);
    // the department filter is on "all" and the box shows another
    // department: the memo names the department of the lines
    child<QComboBox>("cmbDapart_Name")->setEditText(sci);
    click("bntPrint_Doc");
    ASSERT_EQ(previews.size(), 1);
    for (const char* sap : {"101", "102", "103"})
        EXPECT_EQ(printed(sap).toString(), QStringLiteral("Y")) << sap;
    EXPECT_TRUE(printed("104").isNull());

    EXPECT_EQ(memoText("QRLabel11"), QStringLiteral("3"));
    EXPECT_EQ(memoText("QRLabel13"), QStringLiteral("สังกัด ") + med);
    EXPECT_EQ(memoText("QRLabel15"), QStringLiteral("25,000.00"));
    EXPECT_EQ(memoText("QRLabel17"), QStringLiteral(" (สองหมื่นห้าพันบาทถ้วน) จากกองทุนเงินชดเชย พนักงานมหาวิทยาลัยพ้นสภาพ"));
    EXPECT_EQ(memoText("QRLabel10"), QStringLiteral("พนักงานมหาวิทยาลัย  เนื่องจากครบกำหนดระยะเวลาการจ้างตามสัญญา  จำนวน  "));
    EXPECT_EQ(memoText("QRLabel6"), QStringLiteral("ส่งคืน ") + med + QStringLiteral("  เพื่อ ประมวลผลผ่าน Payroll"));

    // the preview was closed without printing: the marks stay, and the
    // unprinted filter no longer lists those calculations
    child<QRadioButton>("RadioButton10")->setChecked(true);
    click("btnShow_Data");
    ASSERT_EQ(screen->resultList().rows.size(), 2);
    EXPECT_EQ(screen->resultList().rows.at(0).at(fsSapID), QStringLiteral("'104"));
}

TEST_F(SplitMoneyScreen, RetirementAndTheFacultyRoutingChangeOnlyTheirLines)
{
    addThree(QStringLiteral("สำนักงานอธิการบดี"));
    click("btnShow_Data");
    click("btnSelect_all");
    click("Button2");
    click("bntPrint_Doc");
    EXPECT_EQ(memoText("QRLabel6"), QStringLiteral("ส่งคืน กองทรัพยากรบุคคล เพื่อ ประมวลผลผ่าน Payroll"));
    const print::PageLayout payroll = screen->lastMemo();

    child<QRadioButton>("RadioButton4")->setChecked(true);
    child<QRadioButton>("RadioButton8")->setChecked(true);
    click("bntPrint_Doc");
    EXPECT_EQ(memoText("QRLabel6"), QStringLiteral("ส่งคืน สำนักงานอธิการบดี"));
    EXPECT_EQ(
        memoText("QRLabel10"), QStringLiteral("พนักงานมหาวิทยาลัย  เนื่องจากเกษียณอายุงาน ตามข้อบังคับมหาวิทยาลัยกาวิลัน  จำนวน  "));
    // the small print is each memo's own marking row: the second memo's is another
    const QLatin1String mark(print::kPrintedMarkItem);
    ASSERT_NE(payroll.find(mark), nullptr);
    ASSERT_NE(screen->lastMemo().find(mark), nullptr);
    EXPECT_NE(screen->lastMemo().find(mark)->text, payroll.find(mark)->text);
    for (const print::Item& item : payroll.items) {
        if (item.name == QLatin1String("QRLabel6") || item.name == QLatin1String("QRLabel10") || item.name == mark)
            continue;
        EXPECT_EQ(screen->lastMemo().find(item.name)->text, item.text) << item.name.toStdString();
    }
}

TEST_F(SplitMoneyScreen, AMemoOfSeveralDepartmentsIsRefusedBeforeAnythingIsMarked)
{
    addThree();
    addCalc(t, "104", "ง", "09/12/2569", 10000, 0, 10, sci);
    addPeriod(t, "104", "2", "01/10/2550", "30/09/2560");
    click("btnShow_Data");
    click("btnSelect_all");
    click("Button2");
    ASSERT_EQ(screen->selectionList().rows.size(), 5);
    click("bntPrint_Doc");
    EXPECT_TRUE(previews.isEmpty());
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_TRUE(prompter.messages.at(0).contains(QStringLiteral("หลายหน่วยงาน")));
    EXPECT_TRUE(prompter.messages.at(0).contains(med) && prompter.messages.at(0).contains(sci));
    for (const char* sap : {"101", "102", "103", "104"})
        EXPECT_TRUE(printed(sap).isNull()) << sap;
}

TEST_F(SplitMoneyScreen, ANamedDepartmentMustBeOneOfTheListAndTheLines)
{
    addThree();
    child<QRadioButton>("RadioButton7")->setChecked(true);
    child<QComboBox>("cmbDapart_Name")->setEditText(med);
    click("btnShow_Data");
    click("btnSelect_all");
    click("Button2");
    // the box is changed after the search: neither a typing slip nor another
    // department reaches the memo
    child<QComboBox>("cmbDapart_Name")->setEditText(QStringLiteral("คณะแพทย์ศาสตร์"));
    click("bntPrint_Doc");
    child<QComboBox>("cmbDapart_Name")->setEditText(sci);
    click("bntPrint_Doc");
    EXPECT_TRUE(previews.isEmpty());
    ASSERT_EQ(prompter.messages.size(), 2);
    EXPECT_TRUE(prompter.messages.at(0).contains(QStringLiteral("ไม่พบหน่วยงาน \"คณะแพทย์ศาสตร์\"")));
    EXPECT_TRUE(prompter.messages.at(1).contains(sci));
    EXPECT_TRUE(printed("101").isNull());

    child<QComboBox>("cmbDapart_Name")->setEditText(med);
    click("bntPrint_Doc");
    ASSERT_EQ(previews.size(), 1);
    EXPECT_EQ(memoText("QRLabel13"), QStringLiteral("สังกัด ") + med);
    EXPECT_EQ(printed("101").toString(), QStringLiteral("Y"));
}

TEST_F(SplitMoneyScreen, AnEmptySelectionMarksNothingAndPrintsZero)
{
    addThree();
    click("btnShow_Data");
    click("Button2");
    click("bntPrint_Doc");
    ASSERT_EQ(previews.size(), 1);
    for (const char* sap : {"101", "102", "103"})
        EXPECT_TRUE(printed(sap).isNull()) << sap;
    EXPECT_EQ(memoText("QRLabel11"), QStringLiteral("0"));
    EXPECT_EQ(memoText("QRLabel15"), QStringLiteral("0.00"));
    EXPECT_EQ(memoText("QRLabel17"), QStringLiteral(" (บาทถ้วน) จากกองทุนเงินชดเชย พนักงานมหาวิทยาลัยพ้นสภาพ"));
}

TEST_F(SplitMoneyScreen, TheMemoPrintsWhateverTheUserTableHolds)
{
    t.exec(QStringLiteral("DELETE FROM EP_TR_User"));
    addThree();
    click("btnShow_Data");
    click("btnSelect_all");
    click("Button2");
    click("bntPrint_Doc");
    ASSERT_EQ(previews.size(), 1); // one page
    EXPECT_EQ(memoText("QRLabel11"), QStringLiteral("3"));
    EXPECT_NE(previews.at(0).find(QStringLiteral("QRLabel21")), nullptr);
}

TEST_F(SplitMoneyScreen, TheOrganisationsDataComesFromTheSettings)
{
    print::OrganisationData d;
    d.telephone = QStringLiteral("0 5394 1234");
    d.referenceCode = QStringLiteral("อว 0701.5");
    d.preparerName = QStringLiteral("นางสาวพรทิพย์ ใจงาม");
    d.sectionHeadName = QStringLiteral("นายสมศักดิ์ มั่นคง");
    ASSERT_TRUE(print::OrganisationSettings().save(d));
    click("Button2"); // no search: nothing to gather
    addThree();
    click("btnShow_Data");
    click("Button2");
    click("bntPrint_Doc");
    EXPECT_EQ(memoText("QRLabel57"), QStringLiteral("โทร. 0 5394 1234"));
    EXPECT_EQ(memoText("QRLabel14"), QStringLiteral("ที่ อว 0701.5/"));
    EXPECT_EQ(memoText("QRLabel35"), QStringLiteral("............................(นางสาวพรทิพย์ ใจงาม)"));
    EXPECT_EQ(memoText("QRLabel37"), QStringLiteral("............................(นายสมศักดิ์ มั่นคง)"));
}

} // namespace
