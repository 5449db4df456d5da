#include "CalcTestData.h"

#include "services/CalculationService.h"

#include <gtest/gtest.h>

#include <QSqlQuery>

#include <atomic>
#include <barrier>
#include <thread>

using namespace velmora;
using namespace velmora::calc;
using velmora::test::Test_Employee;
using velmora::test::TestDatabase;

namespace {

const QString kSap = QStringLiteral("10000001");

Calculation_Input Load(
    const db::Database& db, const std::string& sapid, const std::optional<std::string>& salary = std::nullopt)
{
    Calculation_Input in;
    std::string error;
    EXPECT_TRUE(Load_Calculation_Input(db, sapid, "10/2012", salary, std::nullopt, &in, &error)) << error;
    return in;
}

struct Saved_Rows
{
    int summary = 0;
    int details = 0;
    int earlier = 0;
    QString status;
};

Saved_Rows Rows_Of(const TestDatabase& t, const QString& sapid)
{
    return {test::Count(t, QStringLiteral("EP_mRec_Money_Chodchoy"), QStringLiteral("SapID"), sapid),
        test::Count(t, QStringLiteral("EP_mRec_Money_Detail"), QStringLiteral("SapID"), sapid),
        test::Count(t, QStringLiteral("EP_mRep_Rec_Money"), QStringLiteral("Main_SapID"), sapid),
        t.scalar(QStringLiteral("SELECT Emp_RecMChod_Status FROM EP_Emp_Main WHERE SapID = ?"), {sapid}).toString()};
}

TEST(Save_Calculation, WorkedExampleRows)
{
    TestDatabase t;
    test::Add_Worked_Example(t);
    const Calculation_Input in = Load(t.db(), "10000001");
    const Calculation c = Run_Calculation(in);
    ASSERT_TRUE(c.ok()) << c.error;
    std::string error;
    ASSERT_TRUE(Save_Calculation(t.db(), in, c, "09/12/2569", &error)) << error;

    const Saved_Rows rows = Rows_Of(t, kSap);
    EXPECT_EQ(rows.summary, 1);
    EXPECT_EQ(rows.details, 2);
    EXPECT_EQ(rows.earlier, 0); // no earlier records, no row
    EXPECT_EQ(rows.status, QStringLiteral("P"));

    QSqlQuery q = t->query();
    q.prepare(QStringLiteral(
        "SELECT SSN, MMYYYY_Recieve, Date_Entry, Date_Beg_Cal, Date_End_Cal, Total_Day, No_Year, No_Month, No_Day,"
        " Last_Salary, N_T, Emp_Surname, Emp_F_Name, Emp_L_Name, Fact_No_Date, Fact_Per_Cent, KV_No_Date, KV_Per_Cent,"
        " His_Rec_Money, Net_Money_Recieve, Depart_Code, Depart_Name, Rec_Status, Event_Out, Fact_Month_Weigth,"
        " Kv_Month_Weight FROM EP_mRec_Money_Chodchoy WHERE SapID = ?"));
    q.addBindValue(kSap);
    ASSERT_TRUE(q.exec() && q.next());
    const QVariantList expected = {QStringLiteral("3100100000011"), QStringLiteral("10/2012"),
        QStringLiteral("09/12/2569"), QStringLiteral("17/10/2550"), QStringLiteral("30/09/2555"), 1811, 4, 11, 15,
        20000.0, 6, QStringLiteral("นาย"), QStringLiteral("สมชาย"), QStringLiteral("ใจดี"), 731, 19.3, 1461, 80.7, 0.0,
        120000.0, QStringLiteral("11"), QStringLiteral("คณะวิทยาศาสตร์"), QStringLiteral("FC"),
        QStringLiteral("ครบกำหนดระยะเวลาการจ้างตามสัญญา"), 11.48, 48.0};
    for (int i = 0; i < expected.size(); ++i) {
        if (expected[i].typeId() == QMetaType::Double || expected[i].typeId() == QMetaType::Int)
            EXPECT_DOUBLE_EQ(q.value(i).toDouble(), expected[i].toDouble()) << "column " << i;
        else
            EXPECT_EQ(q.value(i).toString(), expected[i].toString()) << "column " << i;
    }

    QSqlQuery d = t->query();
    d.prepare(QStringLiteral("SELECT Work_Type_Code, Date_B_cal, Date_E_Cal, Sum_Day, Sum_Month, Sum_Month_Weight"
                             " FROM EP_mRec_Money_Detail WHERE SapID = ? ORDER BY Sum_Day"));
    d.addBindValue(kSap);
    ASSERT_TRUE(d.exec() && d.next());
    EXPECT_EQ(d.value(0).toString(), QStringLiteral("3"));
    EXPECT_EQ(d.value(1).toString(), QStringLiteral("17/10/2550"));
    EXPECT_EQ(d.value(2).toString(), QStringLiteral("30/09/2551"));
    EXPECT_EQ(d.value(3).toInt(), 731);
    EXPECT_EQ(d.value(4).toInt(), 11);
    EXPECT_DOUBLE_EQ(d.value(5).toDouble(), 11.48);
}

TEST(Save_Calculation, OverlappingStoredPeriodsAreRefusedNamingBoth)
{
    TestDatabase t;
    test::Add_Lookups(t);
    Test_Employee e;
    test::Add_Employee(t, e);
    // imported periods that share 2553: that year would be counted twice
    test::Add_Period(
        t, e.sapid, e.ssn, QStringLiteral("3"), QStringLiteral("01/01/2551"), QStringLiteral("31/12/2553"));
    test::Add_Period(
        t, e.sapid, e.ssn, QStringLiteral("2"), QStringLiteral("01/01/2553"), QStringLiteral("31/12/2556"));
    const Calculation_Input in = Load(t.db(), "10000001");
    const Calculation c = Run_Calculation(in);
    ASSERT_TRUE(c.ok()) << c.error;
    std::string error;
    EXPECT_FALSE(Save_Calculation(t.db(), in, c, "09/12/2569", &error));
    EXPECT_NE(error.find("01/01/2551 - 31/12/2553"), std::string::npos) << error;
    EXPECT_NE(error.find("01/01/2553 - 31/12/2556"), std::string::npos) << error;
    const Saved_Rows rows = Rows_Of(t, kSap);
    EXPECT_EQ(rows.summary, 0);
    EXPECT_EQ(rows.details, 0);
    EXPECT_EQ(rows.status, QStringLiteral("A"));
}

TEST(Save_Calculation, ThreePeriodsThreeDetailRowsInStartOrder)
{
    TestDatabase t;
    test::Add_Lookups(t);
    Test_Employee e;
    test::Add_Employee(t, e);
    // Inserted out of order.
    test::Add_Period(
        t, e.sapid, e.ssn, QStringLiteral("2"), QStringLiteral("01/01/2555"), QStringLiteral("31/12/2556"));
    test::Add_Period(
        t, e.sapid, e.ssn, QStringLiteral("3"), QStringLiteral("01/01/2551"), QStringLiteral("31/12/2552"));
    test::Add_Period(
        t, e.sapid, e.ssn, QStringLiteral("2"), QStringLiteral("01/01/2553"), QStringLiteral("31/12/2554"));
    const Calculation_Input in = Load(t.db(), "10000001");
    const Calculation c = Run_Calculation(in);
    ASSERT_TRUE(c.ok()) << c.error;
    std::string error;
    ASSERT_TRUE(Save_Calculation(t.db(), in, c, "09/12/2569", &error)) << error;

    // Rows of a table without a key come back in the order written on both servers here.
    QSqlQuery d = t->query();
    d.prepare(QStringLiteral("SELECT Date_B_cal FROM EP_mRec_Money_Detail WHERE SapID = ?"));
    d.addBindValue(kSap);
    ASSERT_TRUE(d.exec());
    QStringList starts;
    while (d.next())
        starts << d.value(0).toString();
    EXPECT_EQ(starts,
        (QStringList {QStringLiteral("01/01/2551"), QStringLiteral("01/01/2553"), QStringLiteral("01/01/2555")}));
}

TEST(Save_Calculation, EarlierRecordsAndAChangedSalaryAreSaved)
{
    TestDatabase t;
    test::Add_Worked_Example(t);
    test::Add_Saved(
        t, QStringLiteral("09000001"), QStringLiteral("3100100000011"), QStringLiteral("12/2010"), 1, 0, 0, 3, 10000);
    test::Add_Saved(
        t, QStringLiteral("09000002"), QStringLiteral("3100100000011"), QStringLiteral("03/2011"), 1, 2, 3, 3, 12000);
    const Calculation_Input in = Load(t.db(), "10000001", std::string("21,000.50"));
    const Calculation c = Run_Calculation(in);
    ASSERT_TRUE(c.ok()) << c.error;
    EXPECT_EQ(c.money.paid_earlier_text, "36,000.00");
    std::string error;
    ASSERT_TRUE(Save_Calculation(t.db(), in, c, "09/12/2569", &error)) << error;

    EXPECT_DOUBLE_EQ(
        t.scalar(QStringLiteral("SELECT Last_Salary FROM EP_mRec_Money_Chodchoy WHERE SapID = ?"), {kSap}).toDouble(),
        21000.5);
    EXPECT_DOUBLE_EQ(
        t.scalar(QStringLiteral("SELECT His_Rec_Money FROM EP_mRec_Money_Chodchoy WHERE SapID = ?"), {kSap}).toDouble(),
        36000.0);
    // Service 4 11 15 + earlier 2 2 3 = 7 years: 8 months' salary.
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT N_T FROM EP_mRec_Money_Chodchoy WHERE SapID = ?"), {kSap}).toInt(), 8);
    EXPECT_DOUBLE_EQ(
        t.scalar(QStringLiteral("SELECT Net_Money_Recieve FROM EP_mRec_Money_Chodchoy WHERE SapID = ?"), {kSap})
            .toDouble(),
        8 * 21000.5 - 36000.0);
    EXPECT_EQ(test::Count(t, QStringLiteral("EP_mRep_Rec_Money"), QStringLiteral("Main_SapID"), kSap), 2);
    EXPECT_EQ(
        t.scalar(QStringLiteral("SELECT SapID FROM EP_mRep_Rec_Money WHERE Main_SapID = ? AND N_Order = ?"), {kSap, 2})
            .toString(),
        QStringLiteral("09000002"));
    EXPECT_DOUBLE_EQ(
        t.scalar(QStringLiteral("SELECT Last_Salary FROM EP_mRep_Rec_Money WHERE Main_SapID = ? AND N_Order = ?"),
             {kSap, 1})
            .toDouble(),
        10000.0);
}

TEST(Save_Calculation, SecondSaveIsRefusedAndWritesNothing)
{
    TestDatabase t;
    test::Add_Worked_Example(t);
    const Calculation_Input in = Load(t.db(), "10000001");
    const Calculation c = Run_Calculation(in);
    std::string error;
    ASSERT_TRUE(Save_Calculation(t.db(), in, c, "09/12/2569", &error)) << error;
    EXPECT_FALSE(Save_Calculation(t.db(), in, c, "09/12/2569", &error));
    EXPECT_EQ(error, "รายการนี้มีการขอเงินชดเชยไปแล้วไม่สามารถทำได้อีก");
    const Saved_Rows rows = Rows_Of(t, kSap);
    EXPECT_EQ(rows.summary, 1);
    EXPECT_EQ(rows.details, 2);
}

TEST(Save_Calculation, LeftoverSummaryRowRefusesAndKeepsStatus)
{
    TestDatabase t;
    test::Add_Worked_Example(t);
    test::Add_Saved(t, kSap, QStringLiteral("3100100000011"), QStringLiteral("01/2010"), 1, 0, 0, 3, 1);
    const Calculation_Input in = Load(t.db(), "10000001");
    std::string error;
    EXPECT_FALSE(Save_Calculation(t.db(), in, Run_Calculation(in), "09/12/2569", &error));
    EXPECT_EQ(error, "รายการนี้มีการขอเงินชดเชยไปแล้วไม่สามารถทำได้อีก");
    EXPECT_EQ(Rows_Of(t, kSap).status, QStringLiteral("A"));
}

TEST(Save_Calculation, AFailingStatementLeavesNothingWritten)
{
    TestDatabase t;
    test::Add_Worked_Example(t);
    test::Add_Saved(
        t, QStringLiteral("09000001"), QStringLiteral("3100100000011"), QStringLiteral("12/2010"), 1, 0, 0, 3, 10000);
    const Calculation_Input in = Load(t.db(), "10000001");
    const Calculation c = Run_Calculation(in);
    ASSERT_TRUE(c.ok());
    // The last statements (earlier-record rows) fail.
    t.exec(QStringLiteral("DROP TABLE EP_mRep_Rec_Money"));
    std::string error;
    EXPECT_FALSE(Save_Calculation(t.db(), in, c, "09/12/2569", &error));
    EXPECT_NE(error.find("บันทึกประวัติการได้รับเงินชดเชย"), std::string::npos) << error;
    EXPECT_EQ(test::Count(t, QStringLiteral("EP_mRec_Money_Chodchoy"), QStringLiteral("SapID"), kSap), 0);
    EXPECT_EQ(test::Count(t, QStringLiteral("EP_mRec_Money_Detail"), QStringLiteral("SapID"), kSap), 0);
    EXPECT_EQ(
        t.scalar(QStringLiteral("SELECT Emp_RecMChod_Status FROM EP_Emp_Main WHERE SapID = ?"), {kSap}).toString(),
        QStringLiteral("A"));
}

TEST(Save_Calculation, NoPeriodsNoSave)
{
    TestDatabase t;
    test::Add_Lookups(t);
    test::Add_Employee(t, Test_Employee());
    const Calculation_Input in = Load(t.db(), "10000001");
    const Calculation c = Run_Calculation(in);
    std::string error;
    EXPECT_FALSE(Save_Calculation(t.db(), in, c, "09/12/2569", &error));
    EXPECT_EQ(error, "ยังไม่สามารถบันทึกข้อมูลได้\rต้องบันทึกประวัติการทำงานที่ต้องคำนวณก่อน");
    EXPECT_EQ(Rows_Of(t, kSap).summary, 0);
}

// Two officers save the same employee at the same moment, each on a
// connection of its own (opened in its own thread, as Qt requires).
TEST(Save_Calculation, ConcurrentSavesOneSucceeds)
{
    TestDatabase t;
    test::Add_Worked_Example(t);
    constexpr int kRounds = 5;
    for (int round = 0; round < kRounds; ++round) {
        const QString sapid = QStringLiteral("5000000%1").arg(round);
        if (round > 0) {
            Test_Employee e;
            e.sapid = sapid;
            e.ssn = QStringLiteral("SSN%1").arg(round);
            test::Add_Employee(t, e);
            test::Add_Period(
                t, sapid, e.ssn, QStringLiteral("2"), QStringLiteral("01/10/2551"), QStringLiteral("30/09/2555"));
        }
        const std::string id = round == 0 ? "10000001" : sapid.toStdString();
        std::barrier ready(2);
        std::atomic<int> succeeded {0};
        std::string errors[2];
        auto officer = [&](int who) {
            QString openError;
            auto db = db::Database::open(t.url(), &openError);
            Calculation_Input in;
            const bool loaded =
                db && Load_Calculation_Input(*db, id, "10/2012", std::nullopt, std::nullopt, &in, &errors[who]);
            // Both have the finished calculation on screen; both press save.
            ready.arrive_and_wait();
            if (!db)
                errors[who] = openError.toStdString();
            if (!loaded)
                return;
            const Calculation c = Run_Calculation(in);
            if (Save_Calculation(*db, in, c, "09/12/2569", &errors[who]))
                ++succeeded;
        };
        std::thread a(officer, 0), b(officer, 1);
        a.join();
        b.join();
        const QString key = QString::fromStdString(id);
        EXPECT_EQ(succeeded.load(), 1) << errors[0] << " / " << errors[1];
        EXPECT_EQ(errors[0].empty() + errors[1].empty(), 1);
        const std::string& refused = errors[0].empty() ? errors[1] : errors[0];
        EXPECT_EQ(refused, "รายการนี้มีการขอเงินชดเชยไปแล้วไม่สามารถทำได้อีก");
        const Saved_Rows rows = Rows_Of(t, key);
        EXPECT_EQ(rows.summary, 1);
        EXPECT_EQ(rows.details, round == 0 ? 2 : 1);
        EXPECT_EQ(rows.status, QStringLiteral("P"));
    }
}

} // namespace
