#include "pages/RequestPage.h"
#include "services/SavedCalculations.h"

#include "CliRunner.h"
#include "PdfText.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QTemporaryDir>

using namespace velmora::print;
using velmora::test::TestDatabase;

namespace {

QString U(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

void saveCalculation(
    const TestDatabase& t, const QString& sap, const QString& firstName, double net, double fact, double kv)
{
    t.exec(QStringLiteral("INSERT INTO EP_mRec_Money_Chodchoy (SapID, SSN, MMYYYY_Recieve, Date_Entry, Date_Beg_Cal, "
                          "Date_End_Cal, Total_Day, No_Year, No_Month, No_Day, Last_Salary, N_T, Emp_Surname, "
                          "Emp_F_Name, Emp_L_Name, Fact_No_Date, Fact_Per_Cent, Fact_Month_Weigth, KV_No_Date, "
                          "KV_Per_Cent, Kv_Month_Weight, His_Rec_Money, Net_Money_Recieve, Depart_Code, Depart_Name, "
                          "Rec_Status, Event_Out) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                          "?, ?, ?, ?, ?, ?, ?)"),
        {sap, QStringLiteral("3100100000011"), QStringLiteral("09/2012"), QStringLiteral("18/09/2555"),
            QStringLiteral("17/10/2550"), QStringLiteral("30/09/2555"), 1811, 4, 11, 15, 20000.0, 6, U("นาง"),
            firstName, U("ใจดี"), 731, 19.3, fact, 1461, 80.7, kv, 0.0, net, QStringLiteral("05"), U("คณะวิทยาศาสตร์"),
            QStringLiteral("FC"), U("ครบกำหนดระยะเวลาการจ้างตามสัญญา")});
}

void savePeriod(
    const TestDatabase& t, const QString& sap, const char* code, const char* begin, const char* end, double months)
{
    t.exec(QStringLiteral("INSERT INTO EP_mRec_Money_Detail (SapID, Work_Type_Code, Date_B_cal, Date_E_Cal, Sum_Day, "
                          "Sum_Month, Sum_Month_Weight) VALUES (?, ?, ?, ?, ?, ?, ?)"),
        {sap, QLatin1String(code), QLatin1String(begin), QLatin1String(end), 0, 0, months});
}

void saveEarlier(const TestDatabase& t, const QString& main, int order, const char* depart, double net)
{
    t.exec(QStringLiteral("INSERT INTO EP_mRep_Rec_Money (Main_SapID, SapID, N_Order, MMYYYY_Recieve, Depart_Code, "
                          "Depart_Name, Date_Beg_Cal, Date_End_Cal, Total_Day, No_Year, No_Month, No_Day, N_T, "
                          "Last_Salary, His_Rec_Money, Net_Money_Recieve) "
                          "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
        {main, QStringLiteral("2%1").arg(order), order, QStringLiteral("03/2013"), QLatin1String(depart),
            U("สำนักงานอธิการบดี"), QStringLiteral("01/04/2548"), QStringLiteral("31/03/2556"), 1993, 5, 5, 15, 6, 15000.0,
            0.0, net});
}

void saveTypes(const TestDatabase& t)
{
    t.exec(QStringLiteral("DELETE FROM EP_TR_Work_Type"));
    t.exec(QStringLiteral("INSERT INTO EP_TR_Work_Type (Work_Type_Code, Work_Type) VALUES (?, ?)"),
        {QStringLiteral("2"), U("พนักงานมหาวิทยาลัย")});
    t.exec(QStringLiteral("INSERT INTO EP_TR_Work_Type (Work_Type_Code, Work_Type) VALUES (?, ?)"),
        {QStringLiteral("3"), U("พนักงานส่วนงาน")});
}

} // namespace

TEST(ReadRequestDocument, ReadsTheSavedRowsInPrintOrder)
{
    TestDatabase t;
    saveTypes(t);
    saveCalculation(t, QStringLiteral("10000001"), U("สมศรี"), 120000.0, 11.48, 48);
    // periods inserted out of order; read by start year, month, day (not as text)
    savePeriod(t, QStringLiteral("10000001"), "2", "01/10/2551", "30/09/2555", 48);
    savePeriod(t, QStringLiteral("10000001"), "3", "17/10/2550", "30/09/2551", 11.48);
    savePeriod(t, QStringLiteral("10000001"), "9", "05/01/2551", "06/01/2551", 0.1);
    saveEarlier(t, QStringLiteral("10000001"), 3, "03", 3000);
    saveEarlier(t, QStringLiteral("10000001"), 1, "01", 1000);
    saveEarlier(t, QStringLiteral("10000001"), 2, "02", 2000);
    saveEarlier(t, QStringLiteral("99999999"), 1, "09", 9000);

    RequestDocument d;
    QString error;
    ASSERT_TRUE(readRequestDocument(t.db(), QStringLiteral("10000001"), &d, &error)) << error.toStdString();
    ASSERT_TRUE(d.calculation.has_value());
    EXPECT_EQ(d.calculation->Emp_F_Name, U("สมศรี"));
    EXPECT_EQ(d.calculation->No_Month, 11);
    EXPECT_DOUBLE_EQ(d.calculation->Fact_Month_Weigth, 11.48);
    EXPECT_DOUBLE_EQ(d.calculation->Net_Money_Recieve, 120000.0);
    ASSERT_EQ(d.periods.size(), 3);
    EXPECT_EQ(d.periods[0].Date_B_cal, QStringLiteral("17/10/2550"));
    EXPECT_EQ(d.periods[0].Work_Type, U("พนักงานส่วนงาน"));
    EXPECT_EQ(d.periods[1].Date_B_cal, QStringLiteral("05/01/2551"));
    EXPECT_EQ(d.periods[1].Work_Type, QString()); // a type with no name: the left join keeps the period
    EXPECT_EQ(d.periods[2].Work_Type, U("พนักงานมหาวิทยาลัย"));
    ASSERT_EQ(d.earlier.size(), 3);
    EXPECT_EQ(d.earlier[0].Depart_Code, QStringLiteral("01"));
    EXPECT_EQ(d.earlier[1].Depart_Code, QStringLiteral("02"));

    const PageLayout page = buildRequestPage(d);
    EXPECT_EQ(page.find(QStringLiteral("Hist1_Net_Money_Recieve"))->text, QStringLiteral("1,000.00"));
    EXPECT_EQ(page.find(QStringLiteral("Hist2_Net_Money_Recieve"))->text, QStringLiteral("2,000.00"));
    EXPECT_EQ(page.find(QStringLiteral("Hist3_Net_Money_Recieve"))->text, QString());
    EXPECT_EQ(page.find(QStringLiteral("Fact_Share"))->text, QStringLiteral("23,160.73"));
    EXPECT_EQ(page.find(QStringLiteral("Kv_Share"))->text, QStringLiteral("96,839.27"));
    EXPECT_EQ(page.find(QStringLiteral("Sum_Month_Total"))->text, QStringLiteral("59.58"));
}

TEST(ReadRequestDocument, ASapIdWithoutSavedCalculationHasNone)
{
    TestDatabase t;
    RequestDocument d;
    QString error;
    ASSERT_TRUE(readRequestDocument(t.db(), QStringLiteral("x' OR '1'='1"), &d, &error));
    EXPECT_FALSE(d.calculation.has_value());
    EXPECT_TRUE(d.periods.isEmpty());
}

TEST(DetailList, ListsEverySavedCalculationOrThoseWhoseFirstNameContainsTheText)
{
    TestDatabase t;
    saveCalculation(t, QStringLiteral("10000001"), U("สมศรี"), 0.40, 1, 0);
    saveCalculation(t, QStringLiteral("10000002"), U("ศรีสุดา"), 25000, 1, 1);
    saveCalculation(t, QStringLiteral("10000003"), U("มานะ"), 1000, 1, 1);
    QString error;

    const auto all = listSavedCalculations(t.db(), DetailSearch {false, U("ไม่มีใคร")}, &error);
    ASSERT_TRUE(all.has_value()) << error.toStdString();
    EXPECT_EQ(all->size(), 3);

    const auto some = listSavedCalculations(t.db(), DetailSearch {true, U("ศรี")}, &error);
    ASSERT_TRUE(some.has_value()) << error.toStdString();
    ASSERT_EQ(some->size(), 2);
    QStringList saps;
    for (const QStringList& line : *some)
        saps << line.at(1);
    saps.sort();
    EXPECT_EQ(saps, (QStringList {QStringLiteral("10000001"), QStringLiteral("10000002")}));

    const auto one = listSavedCalculations(t.db(), DetailSearch {true, U("มานะ' OR '1'='1")}, &error);
    ASSERT_TRUE(one.has_value());
    EXPECT_TRUE(one->isEmpty());

    const auto first = listSavedCalculations(t.db(), DetailSearch {true, U("สมศรี")}, &error);
    ASSERT_EQ(first->size(), 1);
    const QStringList line = first->at(0);
    ASSERT_EQ(line.size(), 9);
    EXPECT_EQ(line,
        (QStringList {QStringLiteral("1"), QStringLiteral("10000001"), U("นางสมศรี ใจดี"), QStringLiteral("'17/10/2550"),
            QStringLiteral("'30/09/2555"), QStringLiteral("05"), U("คณะวิทยาศาสตร์"), QStringLiteral("1811"),
            QStringLiteral("0.40")}));
    EXPECT_EQ(detailListTitles().size(), 9);
    EXPECT_EQ(detailListTitles().at(8), U("จำนนวนเงินที่ได้รับ"));
    EXPECT_EQ(detailListWidths(), (QList<int> {50, 80, 140, 100, 100, 80, 120, 100, 100}));

    // the same calculation's page prints the net with the pattern
    RequestDocument d;
    ASSERT_TRUE(readRequestDocument(t.db(), QStringLiteral("10000001"), &d, &error));
    const PageLayout page = buildRequestPage(d);
    EXPECT_EQ(page.find(QStringLiteral("Net_Money_Recieve"))->text, QStringLiteral(".40"));
    EXPECT_EQ(page.find(QStringLiteral("Fact_Share"))->text, QStringLiteral(".40"));
}

class PrintCommand : public ::testing::TestWithParam<const char*>
{
};

TEST_P(PrintCommand, WritesThePageOfTheSavedCalculation)
{
    TestDatabase t;
    saveTypes(t);
    saveCalculation(t, QStringLiteral("10000001"), U("สมศรี"), 120000.0, 11.48, 48);
    savePeriod(t, QStringLiteral("10000001"), "3", "17/10/2550", "30/09/2551", 11.48);
    savePeriod(t, QStringLiteral("10000001"), "2", "01/10/2551", "30/09/2555", 48);
    saveEarlier(t, QStringLiteral("10000001"), 1, "01", 90000);
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("page.pdf"));
    t.addLogin();
    const auto r = velmora::test::runCliAs(velmora::test::kTesterLogin,
        {QStringLiteral("--db"), t.url(), QStringLiteral("print"), QLatin1String(GetParam()),
            QStringLiteral("10000001"), QStringLiteral("--pdf"), out});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    ASSERT_TRUE(QFileInfo::exists(out));
    const QString text = velmora::test::pdfText(out);
    for (const char* expected : {"เอกสารขอรับเงินชดเชยพนักงาน", "นางสมศรีใจดี", "คณะวิทยาศาสตร์", "พนักงานส่วนงาน",
             "พนักงานมหาวิทยาลัย", "ครบกำหนดระยะเวลาการจ้างตามสัญญา", "23,160.73", "96,839.27", "120,000.00", "90,000.00",
             "59.48", "0004", "0000", "11", "15"})
        EXPECT_TRUE(velmora::test::pdfContains(text, U(expected))) << expected;
}

INSTANTIATE_TEST_SUITE_P(Both, PrintCommand, ::testing::Values("request", "detail"));

TEST(PrintCommandRefusal, ASapIdWithoutSavedCalculationIsRefused)
{
    TestDatabase t;
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("none.pdf"));
    t.addLogin();
    const auto r = velmora::test::runCliAs(velmora::test::kTesterLogin,
        {QStringLiteral("--db"), t.url(), QStringLiteral("print"), QStringLiteral("request"),
            QStringLiteral("12345678"), QStringLiteral("--pdf"), out});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(U("ไม่พบข้อมูลการคำนวณเงินชดเชย"))) << r.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(out));
}

TEST(PrintCommandRefusal, MissingPdfOptionIsAUsageError)
{
    TestDatabase t;
    const auto r = velmora::test::runCli(
        {QStringLiteral("--db"), t.url(), QStringLiteral("print"), QStringLiteral("detail"), QStringLiteral("1")});
    EXPECT_EQ(r.exitCode, 2);
}
