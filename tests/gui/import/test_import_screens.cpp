#include "gui/common/Prompter.h"
#include "gui/common/Session.h"
#include "gui/common/Widgets.h"
#include "gui/import/UImp_Emp_Data.h"
#include "gui/import/UImp_Work_Type.h"
#include "services/ImportJobs.h"

#include "support/TestDatabase.h"

#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

using namespace velmora;
using velmora::test::TestDatabase;

namespace {

QString fixture(const char* name)
{
    return QStringLiteral(VELMORA_FIXTURES "/") + QLatin1String(name);
}

template <typename T>
T* child(QWidget* screen, const char* name)
{
    T* w = screen->findChild<T*>(QLatin1String(name));
    EXPECT_TRUE(w) << name;
    return w;
}

QString cellText(QTableView* grid, int row, int column)
{
    return grid->model()->index(row, column).data().toString();
}

QStringList titles(QTableView* grid)
{
    QStringList out;
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        out << grid->model()->headerData(c, Qt::Horizontal).toString();
    return out;
}

QList<int> widths(QTableView* grid)
{
    QList<int> out;
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        out << grid->columnWidth(c);
    return out;
}

// The widths the specified layout gives, as the screen shows them: scaled to
// the program's font, and widened where a title is longer.
QList<int> shownWidths(QTableView* grid, const QList<int>& specified)
{
    QList<int> out;
    for (int c = 0; c < specified.size(); ++c)
        out << qMax(app::layoutWidth(specified.at(c), grid->font()), grid->horizontalHeader()->sectionSizeHint(c));
    return out;
}

struct Fixture
{
    TestDatabase t;
    app::ScriptedPrompter prompter;
    app::Session session;
    Fixture()
    {
        session.db = &t.db();
        session.prompter = &prompter;
    }
};

} // namespace

TEST(ImpEmpData, ControlsAsDesigned)
{
    Fixture f;
    import::TfrmImp_Emp_Data screen(f.session);
    EXPECT_EQ(screen.windowTitle(), QStringLiteral("frmImp_Emp_Data"));
    EXPECT_EQ(child<QLabel>(&screen, "Label5")->text(), QStringLiteral("Import ข้อมูล "));
    EXPECT_EQ(child<QPushButton>(&screen, "BitBtn1")->text(), QStringLiteral("เปิดแฟ้มข้อมูล"));
    EXPECT_EQ(child<QPushButton>(&screen, "btnSave_Data")->text(), QStringLiteral("บันทึกลงฐานข้อมูล"));
    EXPECT_EQ(child<QPushButton>(&screen, "BitBtn2")->text(), QStringLiteral("ออกจากโปรแกรม"));
    EXPECT_EQ(child<QLabel>(&screen, "LF_Name")->text(), QStringLiteral("แฟ้มข้อมูลที่เปิด :"));
    EXPECT_EQ(child<QLabel>(&screen, "Label_NoItem")->text(), QStringLiteral("0"));
    EXPECT_EQ(child<QLabel>(&screen, "Label8")->text(), QStringLiteral("รายการข้อมูลที่นำเข้า"));
    EXPECT_FALSE(child<QLineEdit>(&screen, "edtData_M")->isEnabled());
    EXPECT_TRUE(child<QLineEdit>(&screen, "edtData_Y")->text().isEmpty());
    auto* pages = child<QTabWidget>(&screen, "PageControl1");
    ASSERT_EQ(pages->count(), 4);
    EXPECT_EQ(pages->tabText(0), QStringLiteral("Officer Data"));
    EXPECT_EQ(pages->tabText(3), QStringLiteral("ส่วนงาน"));
    EXPECT_EQ(pages->currentIndex(), 3);
    auto* grid1 = child<QTableView>(&screen, "StringGrid1");
    EXPECT_EQ(widths(grid1), shownWidths(grid1, {50, 90, 90, 100, 100, 100, 100, 100, 100, 120, 100, 100, 100, 120}));
    EXPECT_EQ(titles(grid1).value(7), QStringLiteral("วันที่ปฏิบัติงานในม.กาวิลัน"));
    EXPECT_EQ(titles(grid1).value(11), QStringLiteral("อัตตราเงินเดือน"));
    EXPECT_EQ(titles(child<QTableView>(&screen, "StringGrid3")),
        (QStringList {"No. ", "รหัสประเทภการจ้าง ", "ชื่อประเภทการจ้าง"}));
    auto* grid4 = child<QTableView>(&screen, "StringGrid4");
    EXPECT_EQ(widths(grid4), shownWidths(grid4, {50, 90, 120}));
    EXPECT_EQ(grid1->model()->rowCount(), 1); // one empty data row before any load
}

TEST(ImportScreens, SavingWithNothingLoadedSaysSo)
{
    // before, the save asked, then reported success with 0 rows
    Fixture f;
    import::TfrmImp_Emp_Data employees(f.session);
    QTest::mouseClick(child<QPushButton>(&employees, "btnSave_Data"), Qt::LeftButton);
    import::TfrmImp_Work_Type history(f.session);
    QTest::mouseClick(child<QPushButton>(&history, "btnSave_Data"), Qt::LeftButton);
    EXPECT_TRUE(f.prompter.questions.isEmpty());
    EXPECT_EQ(f.prompter.messages, QStringList(2, import::nothingToSaveMessage()));
}

TEST(ImpEmpData, LoadFillsTheGridsAndSaveWritesThem)
{
    Fixture f;
    import::TfrmImp_Emp_Data screen(f.session);
    f.prompter.openAnswers = {fixture("employees_libreoffice.xls")};
    QTest::mouseClick(child<QPushButton>(&screen, "BitBtn1"), Qt::LeftButton);
    // The load names the rows whose SSN fails its check digit, and nothing else.
    ASSERT_EQ(f.prompter.messages.size(), 1) << f.prompter.messages.join(QStringLiteral("|")).toStdString();
    const QStringList warning = f.prompter.messages[0].split(QLatin1Char('\r'));
    EXPECT_TRUE(warning.value(0).startsWith(QStringLiteral("เลขประจำตัวประชาชนที่ต้องตรวจสอบ 3 รายการ")))
        << warning.value(0).toStdString();
    EXPECT_EQ(warning.size(), 4);
    for (const char* sapid : {"10000001", "10000003", "10000004"})
        EXPECT_TRUE(f.prompter.messages[0].contains(QStringLiteral("SAP ID ") + QLatin1String(sapid))) << sapid;
    f.prompter.clear();
    auto* grid1 = child<QTableView>(&screen, "StringGrid1");
    ASSERT_EQ(grid1->model()->rowCount(), 5);
    EXPECT_EQ(cellText(grid1, 1, 11), QStringLiteral("25,000.00"));
    EXPECT_EQ(cellText(grid1, 3, 7), QStringLiteral("01/10/2550"));
    EXPECT_EQ(child<QLabel>(&screen, "Label_NoItem")->text(), QStringLiteral("5"));
    EXPECT_EQ(child<QLineEdit>(&screen, "edtData_M")->text(), QStringLiteral("12"));
    EXPECT_EQ(child<QLineEdit>(&screen, "edtData_Y")->text(), QStringLiteral("2567"));
    EXPECT_EQ(child<QLabel>(&screen, "L_Name3")->text(), QStringLiteral("employees_libreoffice.xls"));
    EXPECT_TRUE(child<QLabel>(&screen, "L_Fname")->text().endsWith(QStringLiteral(" ตัวอักษร")));
    EXPECT_EQ(child<QTableView>(&screen, "StringGrid3")->model()->rowCount(), 3);

    // Cancel writes nothing.
    f.prompter.confirmAnswers = {false};
    QTest::mouseClick(child<QPushButton>(&screen, "btnSave_Data"), Qt::LeftButton);
    EXPECT_EQ(f.prompter.questions.value(0), QStringLiteral("ยืนยันการบันทึกข้อมูล "));
    EXPECT_EQ(f.t.scalar(QStringLiteral("SELECT COUNT(*) FROM EP_Emp_Main")).toInt(), 0);

    f.prompter.confirmAnswers = {true};
    QTest::mouseClick(child<QPushButton>(&screen, "btnSave_Data"), Qt::LeftButton);
    ASSERT_EQ(f.prompter.messages.size(), 1);
    EXPECT_TRUE(f.prompter.messages[0].startsWith(QStringLiteral("ทำการบันทึกข้อมูลเรียบร้อยแล้ว\r")))
        << f.prompter.messages[0].toStdString();
    EXPECT_TRUE(f.prompter.messages[0].contains(QStringLiteral("ข้ามแถวที่ไม่มีรหัส 1 แถว")));
    EXPECT_EQ(f.t.scalar(QStringLiteral("SELECT COUNT(*) FROM EP_Emp_Main")).toInt(), 4);
    auto* bar = child<QProgressBar>(&screen, "ProgressBar1");
    EXPECT_EQ(bar->value(), bar->maximum());
}

TEST(ImpEmpData, LoadErrorLeavesTheGridsAsTheyWere)
{
    Fixture f;
    import::TfrmImp_Emp_Data screen(f.session);
    screen.btnOpen2Click(fixture("employees_openpyxl.xlsx"));
    auto* grid1 = child<QTableView>(&screen, "StringGrid1");
    ASSERT_EQ(grid1->model()->rowCount(), 5);
    f.prompter.clear(); // the SSN warnings of the load
    f.prompter.openAnswers = {fixture("employees_text_in_date.xlsx")};
    QTest::mouseClick(child<QPushButton>(&screen, "BitBtn1"), Qt::LeftButton);
    ASSERT_EQ(f.prompter.messages.size(), 1);
    EXPECT_TRUE(f.prompter.messages[0].contains(QStringLiteral("แถวที่ 4 คอลัมน์ F")));
    EXPECT_EQ(grid1->model()->rowCount(), 5);
    EXPECT_EQ(child<QLabel>(&screen, "Label_NoItem")->text(), QStringLiteral("5"));

    // A cancelled file dialog does nothing.
    f.prompter.openAnswers = {QString()};
    QTest::mouseClick(child<QPushButton>(&screen, "BitBtn1"), Qt::LeftButton);
    EXPECT_EQ(f.prompter.messages.size(), 1);
}

TEST(ImpWorkType, LoadAndSave)
{
    Fixture f;
    import::TfrmImp_Work_Type screen(f.session);
    EXPECT_EQ(screen.windowTitle(), QStringLiteral("frmImp_Work_Type"));
    EXPECT_EQ(child<QLabel>(&screen, "Label5")->text(), QStringLiteral("Import ข้อมูลการเปลี่ยนแปลงประเภทการจ้าง"));
    auto* grid = child<QTableView>(&screen, "StringGrid1");
    EXPECT_EQ(widths(grid), shownWidths(grid, {50, 70, 80, 90, 120, 100, 100}));
    EXPECT_EQ(titles(grid).value(3), QStringLiteral("Work Type Code"));
    EXPECT_FALSE(screen.findChild<QLabel*>(QStringLiteral("Label_NoItem")));

    f.prompter.openAnswers = {fixture("history_libreoffice.xlsx")};
    QTest::mouseClick(child<QPushButton>(&screen, "BitBtn1"), Qt::LeftButton);
    ASSERT_EQ(grid->model()->rowCount(), 5);
    EXPECT_EQ(cellText(grid, 0, 5), QStringLiteral("01/10/2549"));
    EXPECT_TRUE(child<QLineEdit>(&screen, "edtData_M")->text().isEmpty());
    f.prompter.clear(); // the SSN warnings of the load

    f.prompter.confirmAnswers = {true};
    QTest::mouseClick(child<QPushButton>(&screen, "btnSave_Data"), Qt::LeftButton);
    ASSERT_EQ(f.prompter.messages.size(), 1);
    EXPECT_TRUE(f.prompter.messages[0].startsWith(QStringLiteral("ทำการบันทึกข้อมูลเรียบร้อยแล้ว")));
    EXPECT_EQ(f.t.scalar(QStringLiteral("SELECT COUNT(*) FROM EP_Work_Histry")).toInt(), 4);
}
