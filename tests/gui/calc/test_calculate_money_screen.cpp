// The calculation screen's search layer, selection, page 1 and the checks of
// what the officer types.

#include "CalcScreenTest.h"

#include "gui/common/GridModel.h"
#include "gui/common/Widgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>

namespace velmora::test {
namespace {

const QString kNotSelectable = QStringLiteral("ไม่มีรายการที่ต้งคำนวณเงินชดเชย");
const QString kAlreadyCalculated = QStringLiteral("รายการนี้มีการขอเงินชดเชยไปแล้วไม่สามารถทำได้อีก");

using ScreenTest = CalcScreenTest;

TEST_F(ScreenTest, OpensOnTheSearchLayerWithTheCurrentMonth)
{
    EXPECT_EQ(screen->windowTitle(), QStringLiteral("frmCalculate_Money"));
    EXPECT_TRUE(layerShown("Panel1"));
    EXPECT_FALSE(layerShown("Panel2"));
    EXPECT_FALSE(layerShown("Panel3"));
    EXPECT_FALSE(child<QGroupBox>("GroupBox16")->isVisibleTo(screen.get()));

    EXPECT_TRUE(child<QRadioButton>("RadioButton5")->isChecked());
    EXPECT_EQ(text("edtMMYYYY_Recieve1"), QStringLiteral("12/2026"));
    EXPECT_EQ(text("edtYear_sel"), QStringLiteral("2026"));
    EXPECT_EQ(text("edtYear_Mon_Select"), QStringLiteral("12/2026"));
    EXPECT_EQ(text("edtFind_F_Name"), QString());
    EXPECT_EQ(child<QComboBox>("cmbWork_Type")->currentText(), QStringLiteral("พนักงานมหาวิทยาลัย"));
    EXPECT_EQ(child<QComboBox>("cmbWork_Type2")->currentText(), QStringLiteral("2 พนักงานมหาวิทยาลัย"));
    EXPECT_EQ(child<QComboBox>("cmbWork_Type2")->itemText(1), QStringLiteral("3 พนักงานส่วนงาน"));
    EXPECT_EQ(child<QLineEdit>("edtYear_Mon_Select")->inputMask(), QStringLiteral("99/9999;_"));
    EXPECT_EQ(child<QLineEdit>("edtWork_B_Date2")->inputMask(), QStringLiteral("99/99/9999;_"));
    EXPECT_EQ(child<QLineEdit>("edtWork_E_Date2")->inputMask(), QStringLiteral("99/99/9999;_"));

    // The bracket list: the fixed 120-day line, then the installation's rows.
    auto* brackets = child<QListWidget>("ListBox1");
    ASSERT_EQ(brackets->count(), 5);
    EXPECT_EQ(brackets->item(0)->text(), QStringLiteral("120  วัน    ไม่ครบ   12  เดือน  ได้  1 เท่า"));
    EXPECT_EQ(brackets->item(2)->text(), QStringLiteral("ครบ 3  ปี   ไม่ครบ  6    ปี ได้   6    เท่า"));
    auto* rules = child<QListWidget>("ListBox2");
    EXPECT_FALSE(rules->isEnabled());
    ASSERT_EQ(rules->count(), 15);
    EXPECT_EQ(rules->item(14)->text(), QStringLiteral("   ลงโทษวินัยอย่างร้ายแรงได (ข้อ 59)"));

    auto* pages = child<QTabWidget>("PageControl1");
    const QStringList captions = {QStringLiteral("1. ข้อมูลเริ่มต้นคำนวณ"), QStringLiteral("2.ประวัติการทำงานที่ต้องคำนวณ"),
        QStringLiteral("3.ประวัติการได้รับเงินชดเชย"), QStringLiteral("4.คำนวณระยะเวลา"), QStringLiteral("5. คำนวณเงินชดเชย"),
        QStringLiteral("6.บันทึกข้อมูล")};
    ASSERT_EQ(pages->count(), 6);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(pages->tabText(i), captions[i]);
        EXPECT_EQ(pages->widget(i)->objectName(), QStringLiteral("TabSheet%1").arg(i + 1));
    }
    EXPECT_FALSE(child<QPushButton>("Button1")->isEnabled());
}

TEST_F(ScreenTest, SearchListsTheMonthsContractEndsOfOneType)
{
    click("btnShow_Data");
    const reports::GridModel* grid = model("StringGrid1");
    ASSERT_EQ(grid->columnCount(), 10); // the nine of the list, then the check of a saved calculation
    EXPECT_EQ(
        grid->headerData(8, Qt::Horizontal).toString(), QStringLiteral("Record Status(A=ปกติ P=ประมวลผลเงินชดเชยแล้ว"));
    EXPECT_EQ(grid->headerData(9, Qt::Horizontal).toString(), QStringLiteral("ผลการตรวจสอบ"));
    EXPECT_EQ(view("StringGrid1")->columnWidth(2), app::layoutWidth(140, view("StringGrid1")->font()));

    // University employees whose contract ends in 12/2026, by department,
    // type, first name.
    QStringList sapids;
    for (int r = 0; r < grid->rowCount(); ++r)
        sapids << cell("StringGrid1", r, 1);
    EXPECT_EQ(sapids, (QStringList {"10000008", "20000002", "10000001", "10000010", "10000002", "10000012"}));

    ASSERT_TRUE(selectEmployee(QStringLiteral("10000001")));
    const int r = currentRow("StringGrid1");
    EXPECT_EQ(cell("StringGrid1", r, 2), QStringLiteral("นายสมชาย ใจดี"));
    EXPECT_EQ(cell("StringGrid1", r, 3), QStringLiteral("'01/10/2006"));
    EXPECT_EQ(cell("StringGrid1", r, 5), QStringLiteral("'31/12/2026"));
    EXPECT_EQ(cell("StringGrid1", r, 6), QStringLiteral("คณะวิทยาศาสตร์"));
    EXPECT_EQ(cell("StringGrid1", r, 7), QStringLiteral("7396")); // no day added
    EXPECT_EQ(cell("StringGrid1", r, 8), QStringLiteral("A"));
}

TEST_F(ScreenTest, SearchFiltersByYearAndFirstName)
{
    child<QComboBox>("cmbWork_Type")->setCurrentIndex(1); // พนักงานส่วนงาน
    child<QRadioButton>("RadioButton3")->setChecked(true);
    child<QCheckBox>("CheckBox1")->setChecked(true);
    retype("edtFind_F_Name", QStringLiteral("กาน"));
    click("btnShow_Data");
    EXPECT_EQ(rows("StringGrid1"), 1);
    EXPECT_EQ(cell("StringGrid1", 0, 1), QStringLiteral("10000005"));

    // Her contract ends in 2027, not in 2026.
    child<QRadioButton>("RadioButton4")->setChecked(true);
    click("btnShow_Data");
    EXPECT_EQ(rows("StringGrid1"), 1);
    EXPECT_EQ(cell("StringGrid1", 0, 1), QString());
    retype("edtYear_sel", QStringLiteral("2027"));
    click("btnShow_Data");
    EXPECT_EQ(cell("StringGrid1", 0, 1), QStringLiteral("10000005"));
}

TEST_F(ScreenTest, NobodyFoundLeavesOneEmptyRowThatCannotBeStarted)
{
    child<QCheckBox>("CheckBox1")->setChecked(true);
    retype("edtFind_F_Name", QStringLiteral("ไม่มีใคร"));
    click("btnShow_Data");
    EXPECT_EQ(rows("StringGrid1"), 1);
    EXPECT_EQ(cell("StringGrid1", 0, 1), QString());
    click("btnCal_Money");
    EXPECT_EQ(prompter.messages, QStringList {kNotSelectable});
    EXPECT_FALSE(layerShown("Panel2"));
}

TEST_F(ScreenTest, OnlyStatusACanBeStarted)
{
    tdb.exec(QStringLiteral("UPDATE EP_Emp_Main SET Emp_RecMChod_Status = ? WHERE SapID = ?"),
        {QStringLiteral("X"), QStringLiteral("10000002")});
    click("btnShow_Data");
    ASSERT_TRUE(selectEmployee(QStringLiteral("10000002")));
    click("btnCal_Money");
    EXPECT_EQ(prompter.messages, QStringList {kAlreadyCalculated});
    EXPECT_FALSE(layerShown("Panel2"));
}

TEST_F(ScreenTest, ListOlderThanASaveElsewhereStillRefuses)
{
    click("btnShow_Data");
    tdb.exec(QStringLiteral("UPDATE EP_Emp_Main SET Emp_RecMChod_Status = ? WHERE SapID = ?"),
        {QStringLiteral("P"), QStringLiteral("10000001")});
    ASSERT_TRUE(selectEmployee(QStringLiteral("10000001")));
    EXPECT_EQ(cell("StringGrid1", currentRow("StringGrid1"), 8), QStringLiteral("A"));
    click("btnCal_Money");
    EXPECT_EQ(prompter.messages, QStringList {kAlreadyCalculated});
    EXPECT_FALSE(layerShown("Panel2"));
}

TEST_F(ScreenTest, SelectionFillsPageOne)
{
    startCalculation(QStringLiteral("10000001"));
    EXPECT_TRUE(prompter.messages.isEmpty()) << prompter.messages.join(" | ").toStdString();
    EXPECT_TRUE(layerShown("Panel2"));
    EXPECT_FALSE(layerShown("Panel1"));
    EXPECT_EQ(currentPage(), 1);
    EXPECT_EQ(text("edtFull_Name2"), QStringLiteral("นายสมชาย ใจดี"));
    EXPECT_EQ(text("edtWork_Type2"), QStringLiteral("พนักงานมหาวิทยาลัย"));
    EXPECT_EQ(text("edtWork_Begin_Date_Text2"), QStringLiteral("01/10/2006"));
    EXPECT_EQ(text("edtWork_End_Date_Text2"), QStringLiteral("31/12/2026"));
    EXPECT_EQ(text("edtDepart_Code2"), QStringLiteral("11"));
    EXPECT_EQ(text("edtDapart_Name2"), QStringLiteral("คณะวิทยาศาสตร์"));
    EXPECT_EQ(text("edtSapID2"), QStringLiteral("10000001"));
    EXPECT_EQ(text("edtSSN2"), QStringLiteral("3100100000011"));
    EXPECT_EQ(text("edtMoney_Rate2"), QStringLiteral("20,000.00"));
    EXPECT_EQ(text("edtSurname1"), QStringLiteral("นาย"));
    EXPECT_EQ(text("edtF_Name1"), QStringLiteral("สมชาย"));
    EXPECT_EQ(text("edtL_Name1"), QStringLiteral("ใจดี"));
    EXPECT_EQ(text("edtEmp_BirthDay1"), QStringLiteral("15/03/1975"));
    EXPECT_EQ(child<QComboBox>("cmbEvent_out2")->currentText(), QStringLiteral("ครบกำหนดระยะเวลาการจ้างตามสัญญา"));
    EXPECT_TRUE(child<QLineEdit>("edtMoney_Rate2")->isReadOnly() == false);
    EXPECT_TRUE(child<QLineEdit>("edtSapID2")->isReadOnly());

    // "ออก" goes back to the search layer and writes nothing.
    click("btnExit2");
    EXPECT_FALSE(layerShown("Panel2"));
    EXPECT_TRUE(layerShown("Panel1"));
}

// Page 1 and the earlier-payment page (3) say in red when the employee's
// number fails its check digit; the calculation goes on either way.
TEST_F(ScreenTest, AnSsnFailingItsCheckDigitIsShownInRedOnPagesOneAndThree)
{
    const struct
    {
        const char* ssn;
        bool noted;
    } cases[] = {{"3100100000011", true}, {"3100100000014", false}, {"3100100000041", true}, {"", true},
        {"3-1001-00000-01-4", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ssn);
        scalar(QStringLiteral("UPDATE EP_Emp_Main SET SSN = ? WHERE SapID = '10000001'"), {QLatin1String(c.ssn)});
        startCalculation(QStringLiteral("10000001"));
        prompter.clear();
        ASSERT_EQ(currentPage(), 1);
        auto* page1 = child<QLabel>("lblSsn_Check1");
        auto* page3 = child<QLabel>("lblSsn_Check3");
        EXPECT_EQ(!page1->isHidden(), c.noted);
        EXPECT_EQ(!page3->isHidden(), c.noted);
        if (c.noted) {
            EXPECT_TRUE(page1->text().startsWith(QStringLiteral("ตรวจสอบเลขประจำตัวประชาชน: "))) << page1->text().toStdString();
            EXPECT_TRUE(page3->text().startsWith(QStringLiteral("ตรวจสอบเลขประจำตัวประชาชน: "))) << page3->text().toStdString();
        }
        nextThrough(2);
        EXPECT_EQ(currentPage(), 3) << prompter.messages.join(" | ").toStdString();
        click("btnExit2");
        ASSERT_TRUE(layerShown("Panel1"));
    }
}

TEST_F(ScreenTest, PageOneNeedsAReason)
{
    child<QComboBox>("cmbWork_Type")->setCurrentIndex(1);
    child<QRadioButton>("RadioButton3")->setChecked(true);
    startCalculation(QStringLiteral("10000005")); // no reason record
    auto* reason = child<QComboBox>("cmbEvent_out2");
    EXPECT_EQ(reason->currentText(), QString());
    click("btnNext1");
    EXPECT_EQ(prompter.messages, QStringList {QStringLiteral("กรุณาใส่ เหตุแห่งการออกด้วย")});
    EXPECT_EQ(currentPage(), 1);

    // Typed, not picked from the list.
    reason->setFocus();
    typeText(reason->lineEdit(), QStringLiteral("ลาออก"));
    click("btnNext1");
    EXPECT_EQ(prompter.messages.size(), 1);
    EXPECT_EQ(currentPage(), 2);
}

struct BadText
{
    const char* typed;
    const char* message; // the message starts with this
};

class SalaryTest : public CalcScreenTest, public ::testing::WithParamInterface<BadText>
{
};

TEST_P(SalaryTest, SalaryMustBeANumber)
{
    startCalculation(QStringLiteral("10000001"));
    retype("edtMoney_Rate2", QString::fromUtf8(GetParam().typed));
    click("btnNext1");
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_TRUE(prompter.messages[0].startsWith(QString::fromUtf8(GetParam().message)))
        << prompter.messages[0].toStdString();
    EXPECT_EQ(currentPage(), 1);
}

INSTANTIATE_TEST_SUITE_P(Calculation, SalaryTest,
    ::testing::Values(BadText {"abc", "เงินเดือนสุดท้ายต้องเป็นตัวเลข"}, BadText {"", "เงินเดือนสุดท้ายต้องเป็นตัวเลข"},
        BadText {"20,000.00 บาท", "เงินเดือนสุดท้ายต้องเป็นตัวเลข"}, BadText {"1e5", "เงินเดือนสุดท้ายต้องเป็นตัวเลข"},
        BadText {"-5000", "เงินเดือนสุดท้ายต้องไม่ติดลบ"}, BadText {"20000.005", "เงินเดือนสุดท้ายมีทศนิยมได้ไม่เกิน 2 ตำแหน่ง"}));

class RequestMonthTest : public CalcScreenTest, public ::testing::WithParamInterface<const char*>
{
};

TEST_P(RequestMonthTest, RequestMonthMustBeARealMonth)
{
    click("btnShow_Data");
    ASSERT_TRUE(selectEmployee(QStringLiteral("10000001")));
    retype("edtMMYYYY_Recieve1", QString::fromLatin1(GetParam()));
    click("btnCal_Money");
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_TRUE(prompter.messages[0].startsWith(QStringLiteral("เดือนปีที่ขอรับเงินชดเชยไม่ถูกต้อง")))
        << prompter.messages[0].toStdString();
    EXPECT_FALSE(layerShown("Panel2"));
}

// Typed digits: nothing, a half-typed month, month 13, month 00, and a
// Buddhist-era year (it would sort after every stored month).
INSTANTIATE_TEST_SUITE_P(
    Calculation, RequestMonthTest, ::testing::Values("", "1", "122", "132026", "002026", "122569"));

} // namespace
} // namespace velmora::test
