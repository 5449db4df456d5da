// The calculation screen from selection to save: the worked example, the
// work-history page, earlier payments, the order of the steps, the save.

#include "CalcScreenTest.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

namespace velmora::test {
namespace {

const QString kSaved = QStringLiteral("ทำการบันทึกข้อมูลเรียบร้อยแล้ว");
const QString kConfirmSave = QStringLiteral("ยืนยันการบันทึกข้อมูล ");
const QString kConfirmDelete = QStringLiteral("ยืนยันการลบข้อมูล ");

using FlowTest = CalcScreenTest;

int count(CalcScreenTest& t, const char* table, const char* column, const QString& value)
{
    return t.tdb
        .scalar(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2 = ?").arg(QLatin1String(table), QLatin1String(column)),
            {value})
        .toInt();
}

void expectWorkedExamplePages(CalcScreenTest& t)
{
    // Page 2: the periods with their calculation start, days and figures.
    EXPECT_EQ(t.rows("StringGrid2"), 2);
    EXPECT_EQ(t.row("StringGrid2", 0),
        (QStringList {"1", "3", "พนักงานส่วนงาน", "01/10/2549", "17/10/2550", "30/09/2551", "731", "0000", "11", "15",
            "11", "11.48"}));
    EXPECT_EQ(t.row("StringGrid2", 1),
        (QStringList {"2", "2", "พนักงานมหาวิทยาลัย", "01/10/2551", "01/10/2551", "30/09/2555", "1461", "0004", "00", "00",
            "48", "48.00"}));
    EXPECT_EQ(t.text("edtCal_Beg_Date2"), QStringLiteral("17/10/2550"));
    EXPECT_EQ(t.text("edtCal_End_Date2"), QStringLiteral("30/09/2555"));

    // Page 3: no earlier payment, one empty row.
    EXPECT_EQ(t.rows("StringGrid3"), 1);
    EXPECT_EQ(t.cell("StringGrid3", 0, 1), QString());

    // Page 4.
    EXPECT_EQ(t.child<QLabel>("Label27")->text(), QStringLiteral("วันที่เริ่มคำนวณ 17/10/2550 ถึงวันที่ 30/09/2555"));
    EXPECT_EQ(
        t.child<QLabel>("Label25")->text(), QStringLiteral("จำนวนปี = 0004 ปี  จำนวนเดือน = 11 เดือน จำนวนวัน =15 วัน"));
    EXPECT_EQ(t.text("edtTotal_day2"), QStringLiteral("1811"));
    const QStringList service = {t.text("edtPart_Year2"), t.text("edtPart_M2"), t.text("edtPart_D2"),
        t.text("edtCal_Y2"), t.text("edtCal_M2"), t.text("edtCal_D2"), t.text("edtTotal_Year2"), t.text("edtTotal_M2"),
        t.text("edtTotal_D2")};
    EXPECT_EQ(service, (QStringList {"0", "0", "0", "4", "11", "15", "4", "11", "15"}));

    // Page 5.
    EXPECT_EQ(t.text("edtN_Money2"), QStringLiteral("6"));
    EXPECT_EQ(t.text("edtCal_Sum_M2"), QStringLiteral("120,000.00"));
    EXPECT_EQ(t.text("edtHis_Rec_Money"), QStringLiteral("0.00"));
    EXPECT_EQ(t.text("edtSum_Rec_Money2"), QStringLiteral("120,000.00"));

    // Page 6.
    const QStringList split = {t.text("edtTotal_day6"), t.text("edtTotal_Month6"), t.text("edtCal_Sum_M6"),
        t.text("edtSum_Day_Fact6"), t.text("edtSum_Month_Fact6"), t.text("edtPer_Fact6"), t.text("edtSum_Money_Fact6"),
        t.text("edtSum_Day_KV6"), t.text("edtSum_Month_KV6"), t.text("edtPer_KV6"), t.text("edtSum_Money_KV6")};
    EXPECT_EQ(split,
        (QStringList {
            "1811", "59.48", "120,000.00", "731", "11.48", "19.3", "23,160.00", "1461", "48", "80.7", "96,840.00"}));
}

TEST_F(FlowTest, WorkedExampleEndToEnd)
{
    startCalculation(QStringLiteral("10000001"));
    nextThrough(5);
    EXPECT_EQ(currentPage(), 6);
    EXPECT_TRUE(prompter.messages.isEmpty()) << prompter.messages.join(" | ").toStdString();
    expectWorkedExamplePages(*this);

    click("btnSave_All");
    EXPECT_EQ(prompter.questions, QStringList {kConfirmSave});
    EXPECT_EQ(prompter.messages, QStringList {kSaved});
    EXPECT_FALSE(layerShown("Panel2"));
    EXPECT_TRUE(layerShown("Panel3"));
    // Printable now, when the printed pages are built.
    EXPECT_TRUE(child<QPushButton>("Button1")->isEnabled());

    const QString sap = QStringLiteral("10000001");
    EXPECT_EQ(scalar(QStringLiteral("SELECT Emp_RecMChod_Status FROM EP_Emp_Main WHERE SapID = ?"), {sap}).toString(),
        QStringLiteral("P"));
    const QStringList textColumns = {"SSN", "MMYYYY_Recieve", "Date_Entry", "Date_Beg_Cal", "Date_End_Cal",
        "Emp_Surname", "Emp_F_Name", "Emp_L_Name", "Depart_Code", "Depart_Name", "Rec_Status", "Event_Out"};
    const QStringList expectedTexts = {"3100100000011", "12/2026", "09/12/2569", "17/10/2550", "30/09/2555", "นาย",
        "สมชาย", "ใจดี", "11", "คณะวิทยาศาสตร์", "FC", "ครบกำหนดระยะเวลาการจ้างตามสัญญา"};
    for (int i = 0; i < textColumns.size(); ++i)
        EXPECT_EQ(
            scalar(QStringLiteral("SELECT %1 FROM EP_mRec_Money_Chodchoy WHERE SapID = ?").arg(textColumns[i]), {sap})
                .toString(),
            expectedTexts[i])
            << textColumns[i].toStdString();
    const QStringList numberColumns = {"Total_Day", "No_Year", "No_Month", "No_Day", "Last_Salary", "N_T",
        "Fact_No_Date", "Fact_Per_Cent", "KV_No_Date", "KV_Per_Cent", "His_Rec_Money", "Net_Money_Recieve",
        "Fact_Month_Weigth", "Kv_Month_Weight"};
    const QList<double> expectedNumbers = {1811, 4, 11, 15, 20000, 6, 731, 19.3, 1461, 80.7, 0, 120000, 11.48, 48};
    for (int i = 0; i < numberColumns.size(); ++i)
        EXPECT_DOUBLE_EQ(
            scalar(QStringLiteral("SELECT %1 FROM EP_mRec_Money_Chodchoy WHERE SapID = ?").arg(numberColumns[i]), {sap})
                .toDouble(),
            expectedNumbers[i])
            << numberColumns[i].toStdString();

    EXPECT_EQ(count(*this, "EP_mRec_Money_Detail", "SapID", sap), 2);
    EXPECT_EQ(
        scalar(QStringLiteral("SELECT Date_B_cal FROM EP_mRec_Money_Detail WHERE SapID = ? AND Work_Type_Code = ?"),
            {sap, QStringLiteral("3")})
            .toString(),
        QStringLiteral("17/10/2550"));
    EXPECT_DOUBLE_EQ(scalar(QStringLiteral("SELECT Sum_Month_Weight FROM EP_mRec_Money_Detail WHERE SapID = ? AND "
                                           "Work_Type_Code = ?"),
                         {sap, QStringLiteral("3")})
                         .toDouble(),
        11.48);
    EXPECT_EQ(count(*this, "EP_mRep_Rec_Money", "Main_SapID", sap), 0);
}

TEST_F(FlowTest, OverlappingStoredPeriodsAreWarnedOnPageTwoAndRefusedAtTheSave)
{
    const QString sap = QStringLiteral("10000001");
    // an imported period inside the worked example's second period
    tdb.exec(QStringLiteral("INSERT INTO EP_Work_Histry (SapID, SSN, Work_Type_Code, Work_Type, Work_B_Date, "
                            "Work_E_Date) VALUES (?, '3100100000011', '2', 'พนักงานมหาวิทยาลัย', '01/10/2553', "
                            "'30/09/2554')"),
        {sap});
    startCalculation(sap);
    auto* warning = child<QLabel>("lblPeriod_Overlap");
    EXPECT_TRUE(warning->isHidden()); // page 2 not shown yet
    click("btnNext1");
    ASSERT_EQ(currentPage(), 2);
    EXPECT_FALSE(warning->isHidden());
    EXPECT_TRUE(warning->text().contains(QStringLiteral("01/10/2551 - 30/09/2555"))) << warning->text().toStdString();
    EXPECT_TRUE(warning->text().contains(QStringLiteral("01/10/2553 - 30/09/2554"))) << warning->text().toStdString();
    for (const char* next : {"btnNext2", "btnNext3", "btnNext4", "btnNext5"})
        click(next);
    ASSERT_EQ(currentPage(), 6) << prompter.messages.join(" | ").toStdString();
    prompter.clear();
    click("btnSave_All");
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_TRUE(prompter.messages.at(0).startsWith(QStringLiteral("ประวัติการทำงานมีช่วงเวลาทับกัน")))
        << prompter.messages.at(0).toStdString();
    EXPECT_EQ(count(*this, "EP_mRec_Money_Chodchoy", "SapID", sap), 0);
}

TEST_F(FlowTest, FullFlowWithWorkHistoryEditsSaveAndASecondAttempt)
{
    startCalculation(QStringLiteral("10000001"));
    nextThrough(1);

    // Add a period: the entry frame opens empty.
    click("btnAdd_Work_Histry");
    EXPECT_TRUE(child<QGroupBox>("GroupBox16")->isVisibleTo(screen.get()));
    child<QComboBox>("cmbWork_Type2")->setCurrentIndex(1);
    retype("edtWork_B_Date2", QStringLiteral("01102555"));
    retype("edtWork_E_Date2", QStringLiteral("30092556"));
    click("btnSave_Work_Histry");
    EXPECT_EQ(prompter.questions, QStringList {kConfirmSave});
    EXPECT_TRUE(prompter.messages.isEmpty()) << prompter.messages.join(" | ").toStdString();
    EXPECT_FALSE(child<QGroupBox>("GroupBox16")->isVisibleTo(screen.get()));
    ASSERT_EQ(rows("StringGrid2"), 3);
    EXPECT_EQ(row("StringGrid2", 2),
        (QStringList {"3", "3", "พนักงานส่วนงาน", "01/10/2555", "01/10/2555", "30/09/2556", "365", "0001", "00", "00",
            "12", "12.00"}));
    EXPECT_EQ(text("edtCal_End_Date2"), QStringLiteral("30/09/2556"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT SSN FROM EP_Work_Histry WHERE SapID = ? AND Work_B_Date = ?"),
                  {QStringLiteral("10000001"), QStringLiteral("01/10/2555")})
                  .toString(),
        QStringLiteral("3100100000011"));

    // With it the figures grow: 5 years 11 months 15 days, 2176 days.
    click("btnNext2");
    click("btnNext3");
    EXPECT_EQ(text("edtTotal_day2"), QStringLiteral("2176"));
    EXPECT_EQ(text("edtCal_Y2"), QStringLiteral("5"));

    // Back to page 2, delete it (the row selected), and every step again.
    click("btnReturn4");
    click("btnReturn3");
    click("btnReturn2");
    EXPECT_EQ(currentPage(), 1);
    nextThrough(1);
    setCurrent("StringGrid2", 2, 1);
    click("btnDelete_Work_Histry");
    EXPECT_EQ(prompter.questions, (QStringList {kConfirmSave, kConfirmDelete}));
    EXPECT_EQ(rows("StringGrid2"), 2);
    EXPECT_EQ(count(*this, "EP_Work_Histry", "SapID", QStringLiteral("10000001")), 2);

    click("btnNext2");
    click("btnNext3");
    click("btnNext4");
    click("btnNext5");
    EXPECT_EQ(currentPage(), 6);
    expectWorkedExamplePages(*this);

    // Going back and forward again repeats a step with the same result.
    child<QTabWidget>("PageControl1")->setCurrentIndex(4);
    click("btnReturn5");
    EXPECT_EQ(currentPage(), 4);
    click("btnNext4");
    click("btnNext5");
    expectWorkedExamplePages(*this);
    EXPECT_TRUE(prompter.messages.isEmpty()) << prompter.messages.join(" | ").toStdString();

    click("btnSave_All");
    EXPECT_EQ(prompter.messages, QStringList {kSaved});
    EXPECT_TRUE(layerShown("Panel3"));
    ASSERT_TRUE(selectEmployee(QStringLiteral("10000001")));
    EXPECT_EQ(cell("StringGrid1", currentRow("StringGrid1"), 8), QStringLiteral("P"));

    // The print layer's "ออก" uncovers the list; the employee cannot start again.
    click("Button2");
    EXPECT_FALSE(layerShown("Panel3"));
    EXPECT_TRUE(layerShown("Panel1"));
    prompter.clear();
    click("btnCal_Money");
    EXPECT_EQ(prompter.messages, QStringList {QStringLiteral("รายการนี้มีการขอเงินชดเชยไปแล้วไม่สามารถทำได้อีก")});
    EXPECT_FALSE(layerShown("Panel2"));
    EXPECT_EQ(count(*this, "EP_mRec_Money_Chodchoy", "SapID", QStringLiteral("10000001")), 1);
}

TEST_F(FlowTest, CancelledQuestionsWriteNothing)
{
    startCalculation(QStringLiteral("10000001"));
    nextThrough(1);
    prompter.defaultConfirm = false;

    click("btnAdd_Work_Histry");
    retype("edtWork_B_Date2", QStringLiteral("01102555"));
    retype("edtWork_E_Date2", QStringLiteral("30092556"));
    click("btnSave_Work_Histry");
    EXPECT_EQ(count(*this, "EP_Work_Histry", "SapID", QStringLiteral("10000001")), 2);
    EXPECT_TRUE(child<QGroupBox>("GroupBox16")->isVisibleTo(screen.get()));

    click("btnDelete_Work_Histry");
    EXPECT_EQ(count(*this, "EP_Work_Histry", "SapID", QStringLiteral("10000001")), 2);

    click("btnNext2");
    click("btnNext3");
    click("btnNext4");
    click("btnNext5");
    click("btnSave_All");
    EXPECT_EQ(prompter.questions.size(), 3);
    EXPECT_TRUE(prompter.messages.isEmpty());
    EXPECT_EQ(count(*this, "EP_mRec_Money_Chodchoy", "SapID", QStringLiteral("10000001")), 0);
    EXPECT_TRUE(layerShown("Panel2"));
}

struct BadPeriod
{
    const char* begin; // digits typed into the masked edit
    const char* end;
    const char* message; // the message starts with this
};

class NewPeriodTest : public CalcScreenTest, public ::testing::WithParamInterface<BadPeriod>
{
};

TEST_P(NewPeriodTest, RefusedWithAMessageAndNothingWritten)
{
    startCalculation(QStringLiteral("10000001"));
    nextThrough(1);
    click("btnAdd_Work_Histry");
    retype("edtWork_B_Date2", QString::fromLatin1(GetParam().begin));
    retype("edtWork_E_Date2", QString::fromLatin1(GetParam().end));
    click("btnSave_Work_Histry");
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_TRUE(prompter.messages[0].startsWith(QString::fromUtf8(GetParam().message)))
        << prompter.messages[0].toStdString();
    EXPECT_TRUE(prompter.questions.isEmpty());
    EXPECT_EQ(count(*this, "EP_Work_Histry", "SapID", QStringLiteral("10000001")), 2);
    EXPECT_TRUE(child<QGroupBox>("GroupBox16")->isVisibleTo(screen.get()));
    EXPECT_EQ(rows("StringGrid2"), 2);
}

INSTANTIATE_TEST_SUITE_P(WorkHistory, NewPeriodTest,
    ::testing::Values(BadPeriod {"", "", "กรุณาใส่ข้อมูลวันที่เริ่มปฎิบัติงาน"},
        BadPeriod {"01102555", "", "กรุณาใส่ข้อมูลวันที่สิันสุดสัญญา"}, BadPeriod {"011025", "30092556", "วันที่เริ่มปฎิบัติงานไม่ถูกต้อง"},
        BadPeriod {"01102555", "3009255", "วันที่สิ้นสุดสัญญาไม่ถูกต้อง"},
        BadPeriod {"31022560", "30092561", "วันที่เริ่มปฎิบัติงานไม่ถูกต้อง"},
        BadPeriod {"01102555", "29022557", "วันที่สิ้นสุดสัญญาไม่ถูกต้อง"},
        BadPeriod {"01102012", "30092013", "วันที่เริ่มปฎิบัติงานต้องใช้ปีพุทธศักราช"},
        BadPeriod {"01102560", "30092559", "วันที่สิ้นสุดสัญญาต้องไม่อยู่ก่อนวันที่เริ่มปฎิบัติงาน"},
        BadPeriod {"01012549", "16102550", "วันที่สิ้นสุดสัญญาต้องไม่อยู่ก่อนวันที่ 17/10/2550"}));

TEST_F(FlowTest, DeleteWithNoPeriodSaysSo)
{
    child<QComboBox>("cmbWork_Type")->setCurrentIndex(1);
    child<QRadioButton>("RadioButton3")->setChecked(true);
    startCalculation(QStringLiteral("10000005")); // no periods
    child<QComboBox>("cmbEvent_out2")->setCurrentIndex(0);
    nextThrough(1);
    EXPECT_EQ(rows("StringGrid2"), 1);
    click("btnDelete_Work_Histry");
    EXPECT_EQ(prompter.messages, QStringList {QStringLiteral("ไม่มีข้อมูลที่ต้องการลบ")});
    EXPECT_TRUE(prompter.questions.isEmpty());

    // No period: the span is the contract's, and neither step 1 nor the save go on.
    // (the contract's Christian-era start read as Buddhist era lies before the floor date)
    EXPECT_EQ(text("edtCal_Beg_Date2"), QStringLiteral("17/10/2550"));
    click("btnNext2");
    EXPECT_EQ(prompter.messages.last(), QStringLiteral("ต้องมีประวัติการทำงานจึงทำงานต่อได้"));
    EXPECT_EQ(currentPage(), 2);
    child<QTabWidget>("PageControl1")->setCurrentIndex(5);
    click("btnSave_All");
    EXPECT_EQ(prompter.messages.last(), QStringLiteral("ยังไม่สามารถบันทึกข้อมูลได้\rต้องบันทึกประวัติการทำงานที่ต้องคำนวณก่อน"));
    EXPECT_TRUE(prompter.questions.isEmpty());
}

TEST_F(FlowTest, SplitWithoutMonthsShowsZeroInsteadOfDividing)
{
    // An imported period of a type that belongs to neither side.
    tdb.exec(QStringLiteral("INSERT INTO EP_Work_Histry (SapID, SSN, Work_Type_Code, Work_Type, Work_B_Date, "
                            "Work_E_Date) VALUES (?, ?, ?, ?, ?, ?)"),
        {QStringLiteral("10000003"), QStringLiteral("3100100000033"), QStringLiteral("4"),
            QStringLiteral("ลูกจ้างชั่วคราว"), QStringLiteral("01/01/2560"), QStringLiteral("31/12/2560")});
    tdb.exec(QStringLiteral("DELETE FROM EP_Work_Histry WHERE SapID = ? AND Work_Type_Code = ?"),
        {QStringLiteral("10000003"), QStringLiteral("3")});
    child<QComboBox>("cmbWork_Type")->setCurrentIndex(1);
    startCalculation(QStringLiteral("10000003"));
    nextThrough(5);
    EXPECT_TRUE(prompter.messages.isEmpty()) << prompter.messages.join(" | ").toStdString();
    // 365 days, 1 year: the table row from 1 to 3 years.
    EXPECT_EQ(text("edtN_Money2"), QStringLiteral("3"));
    const QStringList split = {text("edtTotal_Month6"), text("edtSum_Month_Fact6"), text("edtPer_Fact6"),
        text("edtSum_Money_Fact6"), text("edtSum_Month_KV6"), text("edtPer_KV6"), text("edtSum_Money_KV6")};
    EXPECT_EQ(split, (QStringList {"0", "0", "0", "0.00", "0", "0", "0.00"}));
}

TEST_F(FlowTest, EarlierPaymentUnderAnotherNumberCounts)
{
    startCalculation(QStringLiteral("20000002"));
    nextThrough(2);
    ASSERT_EQ(rows("StringGrid3"), 1);
    EXPECT_EQ(row("StringGrid3", 0),
        (QStringList {"1", "01", "สำนักงานอธิการบดี", "03/2013", "17/10/2550", "31/03/2556", "1993", "5", "5", "15",
            "90,000.00", "20000001", "6", "15,000.00", "0.00", "90,000.00"}));
    click("btnNext3");
    const QStringList service = {text("edtPart_Year2"), text("edtPart_M2"), text("edtPart_D2"), text("edtCal_Y2"),
        text("edtCal_M2"), text("edtCal_D2"), text("edtTotal_Year2"), text("edtTotal_M2"), text("edtTotal_D2")};
    // 5 years 5 months 15 days earlier, 13 years 9 months now: 19 years 2 months 15 days.
    EXPECT_EQ(service, (QStringList {"5", "5", "15", "13", "9", "0", "19", "2", "15"}));
    click("btnNext4");
    EXPECT_EQ(text("edtN_Money2"), QStringLiteral("10"));
    EXPECT_EQ(text("edtCal_Sum_M2"), QStringLiteral("300,000.00"));
    EXPECT_EQ(text("edtHis_Rec_Money"), QStringLiteral("90,000.00"));
    EXPECT_EQ(text("edtSum_Rec_Money2"), QStringLiteral("210,000.00"));
    click("btnNext5");
    click("btnSave_All");
    EXPECT_EQ(prompter.messages, QStringList {kSaved});
    EXPECT_EQ(
        scalar(QStringLiteral("SELECT SapID FROM EP_mRep_Rec_Money WHERE Main_SapID = ?"), {QStringLiteral("20000002")})
            .toString(),
        QStringLiteral("20000001"));
    EXPECT_DOUBLE_EQ(scalar(QStringLiteral("SELECT His_Rec_Money FROM EP_mRec_Money_Chodchoy WHERE SapID = ?"),
                         {QStringLiteral("20000002")})
                         .toDouble(),
        90000.0);
}

TEST_F(FlowTest, ChangedSalaryIsUsedAndSaved)
{
    startCalculation(QStringLiteral("10000001"));
    retype("edtMoney_Rate2", QStringLiteral("30,000.00"));
    nextThrough(5);
    EXPECT_EQ(text("edtCal_Sum_M2"), QStringLiteral("180,000.00"));
    click("btnSave_All");
    EXPECT_DOUBLE_EQ(scalar(QStringLiteral("SELECT Last_Salary FROM EP_mRec_Money_Chodchoy WHERE SapID = ?"),
                         {QStringLiteral("10000001")})
                         .toDouble(),
        30000.0);
}

TEST_F(FlowTest, StepsRunInOrderOnWhatThePagesShow)
{
    const QString outOfOrder = QStringLiteral("ยังไม่ได้คำนวณหน้าก่อนหน้านี้ กรุณากดปุ่ม \"ถัดไป ==>\" ตามลำดับหน้า");
    startCalculation(QStringLiteral("10000001"));
    nextThrough(1);
    // A tab clicked straight to page 5: its step has nothing to work on.
    child<QTabWidget>("PageControl1")->setCurrentIndex(4);
    click("btnNext5");
    EXPECT_EQ(prompter.messages, QStringList {outOfOrder});
    EXPECT_EQ(text("edtPer_Fact6"), QString());
    EXPECT_EQ(currentPage(), 5);

    child<QTabWidget>("PageControl1")->setCurrentIndex(1);
    click("btnNext2");
    click("btnNext3");
    click("btnNext4");
    click("btnNext5");
    ASSERT_EQ(currentPage(), 6);

    // The salary changed after the money was computed: the save refuses.
    child<QTabWidget>("PageControl1")->setCurrentIndex(0);
    retype("edtMoney_Rate2", QStringLiteral("25000"));
    child<QTabWidget>("PageControl1")->setCurrentIndex(5);
    click("btnSave_All");
    EXPECT_EQ(prompter.messages.last(), QStringLiteral("ยังไม่สามารถบันทึกข้อมูลได้\rกรุณาคำนวณให้ครบทุกหน้าก่อน"));
    EXPECT_TRUE(prompter.questions.isEmpty());
    EXPECT_EQ(count(*this, "EP_mRec_Money_Chodchoy", "SapID", QStringLiteral("10000001")), 0);

    // A period added on page 2 after the split: the save refuses too.
    child<QTabWidget>("PageControl1")->setCurrentIndex(3);
    click("btnNext4");
    click("btnNext5");
    EXPECT_EQ(text("edtCal_Sum_M6"), QStringLiteral("150,000.00"));
    child<QTabWidget>("PageControl1")->setCurrentIndex(1);
    click("btnAdd_Work_Histry");
    retype("edtWork_B_Date2", QStringLiteral("01102555"));
    retype("edtWork_E_Date2", QStringLiteral("30092556"));
    click("btnSave_Work_Histry");
    child<QTabWidget>("PageControl1")->setCurrentIndex(5);
    const int asked = int(prompter.questions.size());
    click("btnSave_All");
    EXPECT_EQ(prompter.messages.last(), QStringLiteral("ยังไม่สามารถบันทึกข้อมูลได้\rกรุณาคำนวณให้ครบทุกหน้าก่อน"));
    EXPECT_EQ(int(prompter.questions.size()), asked);
    EXPECT_EQ(count(*this, "EP_mRec_Money_Chodchoy", "SapID", QStringLiteral("10000001")), 0);
}

TEST_F(FlowTest, ReasonEmptiedAfterPageOneStopsTheSave)
{
    startCalculation(QStringLiteral("10000001"));
    nextThrough(5);
    child<QComboBox>("cmbEvent_out2")->setEditText(QString());
    click("btnSave_All");
    EXPECT_EQ(prompter.messages, QStringList {QStringLiteral("กรุณาใส่ เหตุแห่งการออกด้วย")});
    EXPECT_EQ(currentPage(), 1);
    EXPECT_EQ(count(*this, "EP_mRec_Money_Chodchoy", "SapID", QStringLiteral("10000001")), 0);
}

} // namespace
} // namespace velmora::test
