// Cancelling a saved calculation: the saved rows go in one transaction, the
// status returns to "A" and the employee can be saved again.

#include "CalcTestData.h"

#include "services/CalculationService.h"
#include "services/CancelService.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>

using namespace velmora;
using namespace velmora::calc;
using velmora::test::Test_Employee;
using velmora::test::TestDatabase;

namespace {

const QString kSap = QStringLiteral("10000001");
const QString kSsn = QStringLiteral("3100100000011");

struct Rows
{
    int summary = 0;
    int details = 0;
    int earlier = 0;
    int periods = 0;
    QString status;
};

Rows Rows_Of(const TestDatabase& t, const QString& sapid)
{
    return {test::Count(t, QStringLiteral("EP_mRec_Money_Chodchoy"), QStringLiteral("SapID"), sapid),
        test::Count(t, QStringLiteral("EP_mRec_Money_Detail"), QStringLiteral("SapID"), sapid),
        test::Count(t, QStringLiteral("EP_mRep_Rec_Money"), QStringLiteral("Main_SapID"), sapid),
        test::Count(t, QStringLiteral("EP_Work_Histry"), QStringLiteral("SapID"), sapid),
        t.scalar(QStringLiteral("SELECT Emp_RecMChod_Status FROM EP_Emp_Main WHERE SapID = ?"), {sapid}).toString()};
}

bool Calculate_And_Save(
    TestDatabase& t, const std::string& sapid, std::string* error, const std::string& month = "10/2012")
{
    Calculation_Input in;
    if (!Load_Calculation_Input(t.db(), sapid, month, std::nullopt, std::nullopt, &in, error))
        return false;
    const Calculation c = Run_Calculation(in);
    if (!c.ok()) {
        *error = c.error;
        return false;
    }
    return Save_Calculation(t.db(), in, c, "09/12/2569", error);
}

// The worked example saved with two earlier payments (as earlier-record rows).
void Saved_Worked_Example(TestDatabase& t)
{
    test::Add_Worked_Example(t);
    test::Add_Saved(t, QStringLiteral("09000001"), kSsn, QStringLiteral("12/2010"), 1, 0, 0, 3, 10000);
    test::Add_Saved(t, QStringLiteral("09000002"), kSsn, QStringLiteral("03/2011"), 1, 2, 3, 3, 12000);
    std::string error;
    ASSERT_TRUE(Calculate_And_Save(t, "10000001", &error)) << error;
    const Rows saved = Rows_Of(t, kSap);
    ASSERT_EQ(saved.summary, 1);
    ASSERT_EQ(saved.details, 2);
    ASSERT_EQ(saved.earlier, 2);
    ASSERT_EQ(saved.status, QStringLiteral("P"));
}

struct Cancel_Case
{
    const char* name;
    bool with_history;
    int periods_left;
};

class Cancel_History : public testing::TestWithParam<Cancel_Case>
{
};

TEST_P(Cancel_History, BackToAAndCalculableAgain)
{
    TestDatabase t;
    Saved_Worked_Example(t);
    std::string error;
    ASSERT_TRUE(Cancel_Calculation(t.db(), "10000001", GetParam().with_history, &error)) << error;

    const Rows after = Rows_Of(t, kSap);
    EXPECT_EQ(after.summary, 0);
    EXPECT_EQ(after.details, 0);
    EXPECT_EQ(after.earlier, 0);
    EXPECT_EQ(after.status, QStringLiteral("A"));
    EXPECT_EQ(after.periods, GetParam().periods_left);
    // The earlier payments themselves are other calculations: they stay.
    EXPECT_EQ(test::Count(t, QStringLiteral("EP_mRec_Money_Chodchoy"), QStringLiteral("SSN"), kSsn), 2);

    // Calculated and saved again: with the periods kept the same figures come
    // back; without them the calculation has no period to count.
    const bool saved = Calculate_And_Save(t, "10000001", &error);
    if (GetParam().periods_left > 0) {
        ASSERT_TRUE(saved) << error;
        EXPECT_EQ(Rows_Of(t, kSap).details, 2);
        EXPECT_EQ(Rows_Of(t, kSap).status, QStringLiteral("P"));
    } else {
        EXPECT_FALSE(saved);
        EXPECT_EQ(Rows_Of(t, kSap).summary, 0);
        EXPECT_EQ(Rows_Of(t, kSap).status, QStringLiteral("A"));
    }
}

INSTANTIATE_TEST_SUITE_P(Cancel, Cancel_History,
    testing::Values(Cancel_Case {"PeriodsKept", false, 2}, Cancel_Case {"PeriodsRemoved", true, 0}),
    [](const testing::TestParamInfo<Cancel_Case>& info) { return std::string(info.param.name); });

TEST(Cancel_Calculation, StatusAlreadyARemovesTheRowsAndStaysA)
{
    TestDatabase t;
    Saved_Worked_Example(t);
    t.exec(
        QStringLiteral("UPDATE EP_Emp_Main SET Emp_RecMChod_Status = ? WHERE SapID = ?"), {QStringLiteral("A"), kSap});
    std::string error;
    ASSERT_TRUE(Cancel_Calculation(t.db(), "10000001", false, &error)) << error;
    const Rows after = Rows_Of(t, kSap);
    EXPECT_EQ(after.summary + after.details + after.earlier, 0);
    EXPECT_EQ(after.status, QStringLiteral("A"));
}

TEST(Cancel_Calculation, EarlierRecordRowsOfOtherCalculationsStay)
{
    TestDatabase t;
    test::Add_Lookups(t);
    // 10000002 was paid before as 10000001: its earlier-record row names
    // 10000001 as SapID, under its own Main_SapID.
    Test_Employee other;
    other.sapid = QStringLiteral("10000002");
    test::Add_Employee(t, other);
    Test_Employee first;
    test::Add_Employee(t, first);
    test::Add_Period(
        t, first.sapid, first.ssn, QStringLiteral("2"), QStringLiteral("01/10/2551"), QStringLiteral("30/09/2555"));
    std::string error;
    ASSERT_TRUE(Calculate_And_Save(t, "10000001", &error)) << error;
    test::Add_Period(
        t, other.sapid, other.ssn, QStringLiteral("2"), QStringLiteral("01/10/2555"), QStringLiteral("30/09/2559"));
    ASSERT_TRUE(Calculate_And_Save(t, "10000002", &error, "10/2016")) << error;
    ASSERT_EQ(test::Count(t, QStringLiteral("EP_mRep_Rec_Money"), QStringLiteral("SapID"), kSap), 1);

    ASSERT_TRUE(Cancel_Calculation(t.db(), "10000001", true, &error)) << error;
    EXPECT_EQ(test::Count(t, QStringLiteral("EP_mRep_Rec_Money"), QStringLiteral("SapID"), kSap), 1);
    EXPECT_EQ(
        test::Count(t, QStringLiteral("EP_mRep_Rec_Money"), QStringLiteral("Main_SapID"), QStringLiteral("10000002")),
        1);
    const Rows second = Rows_Of(t, QStringLiteral("10000002"));
    EXPECT_EQ(second.summary, 1);
    EXPECT_EQ(second.periods, 1);
    EXPECT_EQ(second.status, QStringLiteral("P"));
}

struct Refusal_Case
{
    const char* name;
    const char* sapid;
};

class Cancel_Refused : public testing::TestWithParam<Refusal_Case>
{
};

TEST_P(Cancel_Refused, NothingWritten)
{
    TestDatabase t;
    Saved_Worked_Example(t);
    std::string error;
    EXPECT_FALSE(Cancel_Calculation(t.db(), GetParam().sapid, true, &error));
    EXPECT_NE(error.find(kMessage_Nothing_To_Cancel), std::string::npos) << error;
    const Rows after = Rows_Of(t, kSap);
    EXPECT_EQ(after.summary, 1);
    EXPECT_EQ(after.details, 2);
    EXPECT_EQ(after.earlier, 2);
    EXPECT_EQ(after.periods, 2);
    EXPECT_EQ(after.status, QStringLiteral("P"));
}

INSTANTIATE_TEST_SUITE_P(Cancel, Cancel_Refused,
    testing::Values(Refusal_Case {"EmptySapId", ""}, Refusal_Case {"Blanks", "   "},
        Refusal_Case {"NoSavedCalculation", "10000002"}, Refusal_Case {"QuoteInSapId", "10000001' OR '1'='1"}),
    [](const testing::TestParamInfo<Refusal_Case>& info) { return std::string(info.param.name); });

TEST(Cancel_Calculation, NoSavedCalculationKeepsThePeriods)
{
    TestDatabase t;
    test::Add_Worked_Example(t); // status "A", periods, nothing saved
    std::string error;
    EXPECT_FALSE(Cancel_Calculation(t.db(), "10000001", true, &error));
    EXPECT_EQ(Rows_Of(t, kSap).periods, 2);
}

TEST(Cancel_Calculation, AFailingStatementLeavesEverything)
{
    TestDatabase t;
    Saved_Worked_Example(t);
    // The last statement (the work-history periods) fails; the periods can
    // still be read (the audit log's copy of them is taken first).
    if (t.isPostgres()) {
        t.exec(QStringLiteral("CREATE FUNCTION refuse_delete() RETURNS trigger AS $$ BEGIN RAISE EXCEPTION 'refused';"
                              " END $$ LANGUAGE plpgsql"));
        t.exec(QStringLiteral("CREATE TRIGGER refuse_delete BEFORE DELETE ON EP_Work_Histry FOR EACH ROW"
                              " EXECUTE FUNCTION refuse_delete()"));
    } else {
        t.exec(QStringLiteral("CREATE TRIGGER refuse_delete BEFORE DELETE ON EP_Work_Histry"
                              " BEGIN SELECT RAISE(ABORT, 'refused'); END"));
    }
    std::string error;
    EXPECT_FALSE(Cancel_Calculation(t.db(), "10000001", true, &error));
    EXPECT_NE(error.find("ลบประวัติการทำงาน"), std::string::npos) << error;
    const Rows after {test::Count(t, QStringLiteral("EP_mRec_Money_Chodchoy"), QStringLiteral("SapID"), kSap),
        test::Count(t, QStringLiteral("EP_mRec_Money_Detail"), QStringLiteral("SapID"), kSap),
        test::Count(t, QStringLiteral("EP_mRep_Rec_Money"), QStringLiteral("Main_SapID"), kSap),
        test::Count(t, QStringLiteral("EP_Work_Histry"), QStringLiteral("SapID"), kSap),
        t.scalar(QStringLiteral("SELECT Emp_RecMChod_Status FROM EP_Emp_Main WHERE SapID = ?"), {kSap}).toString()};
    EXPECT_EQ(after.summary, 1);
    EXPECT_EQ(after.details, 2);
    EXPECT_EQ(after.earlier, 2);
    EXPECT_EQ(after.periods, 2);
    EXPECT_EQ(after.status, QStringLiteral("P"));
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT COUNT(*) FROM EP_Audit_Log WHERE Event_Kind = ?"),
                   {QStringLiteral("calculation-cancelled")})
                  .toInt(),
        0);
}

// The list: 9 cells per row, the first name matched anywhere.
class Saved_List : public testing::Test
{
protected:
    void SetUp() override
    {
        test::Add_Lookups(t);
        const QStringList firstNames = {
            QStringLiteral("สมชาย"), QStringLiteral("ชายแดน"), QStringLiteral("สมหญิง"), QStringLiteral("O'Brien")};
        for (int i = 0; i < firstNames.size(); ++i) {
            const QString sapid = QStringLiteral("2000000%1").arg(i + 1);
            test::Add_Saved(t, sapid, QStringLiteral("310010000002%1").arg(i), QStringLiteral("10/2012"), 4, 11, 15, 6,
                20000.0 + i);
            t.exec(QStringLiteral("UPDATE EP_mRec_Money_Chodchoy SET Emp_Surname = ?, Emp_F_Name = ?, Emp_L_Name = ?"
                                  " WHERE SapID = ?"),
                {QStringLiteral("นาย"), firstNames[i], QStringLiteral("ใจดี"), sapid});
        }
    }

    QStringList Sapids(bool byName, const std::string& part)
    {
        std::vector<Saved_List_Row> rows;
        std::string error;
        EXPECT_TRUE(Search_Saved_Calculations(t.db(), {byName, part}, &rows, &error)) << error;
        QStringList ids;
        for (const auto& r : rows)
            ids << QString::fromStdString(r.sapid);
        ids.sort();
        return ids;
    }

    TestDatabase t;
};

TEST_F(Saved_List, NameMatchesAnywhere)
{
    EXPECT_EQ(Sapids(false, "ชาย").size(), 4);
    EXPECT_EQ(Sapids(true, "ชาย"), (QStringList {"20000001", "20000002"})); // end and beginning
    EXPECT_EQ(Sapids(true, "หญ"), (QStringList {"20000003"})); // middle
    EXPECT_EQ(Sapids(true, "O'B"), (QStringList {"20000004"})); // a quote is a plain character
    EXPECT_TRUE(Sapids(true, "xyz").isEmpty());
    EXPECT_EQ(Sapids(true, "").size(), 4);
}

TEST_F(Saved_List, CellsOfARow)
{
    std::vector<Saved_List_Row> rows;
    std::string error;
    ASSERT_TRUE(Search_Saved_Calculations(t.db(), {true, "หญิง"}, &rows, &error)) << error;
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(Saved_Grid_Cells(rows[0], 1),
        (std::vector<std::string> {"1", "20000003", "นายสมหญิง ใจดี", "'17/10/2550", "'31/03/2556", "01",
            "สำนักงานอธิการบดี", "1000", "120,012.00"}));
    EXPECT_EQ(Saved_Grid_Titles().size(), 9u);
    EXPECT_EQ(Saved_Grid_Widths(), (std::vector<int> {50, 80, 140, 100, 100, 80, 120, 100, 100}));
}

} // namespace

namespace {

// Restores the program's wait for other writers when the test ends.
struct Busy_Timeout
{
    explicit Busy_Timeout(int milliseconds) { db::Database::setBusyTimeout(milliseconds); }
    ~Busy_Timeout() { db::Database::setBusyTimeout(10000); }
};

} // namespace

// Another connection holds the write lock longer than this one waits: the
// cancel gives up after its wait (not at once), says what to do, and leaves
// everything as it was.
TEST(Cancel_Concurrent, WriteLockHeldPastTheWaitGivesTheMessage)
{
    TestDatabase t;
    if (t.isPostgres())
        GTEST_SKIP() << "the wait for the write lock is SQLite's busy timeout";
    Saved_Worked_Example(t);
    std::unique_ptr<db::Database> canceller;
    {
        const Busy_Timeout wait(400);
        canceller = t.openAnother();
    }
    ASSERT_TRUE(canceller);
    db::Transaction writer(t.db());
    ASSERT_TRUE(writer.active()) << writer.error().toStdString();
    t.exec(QStringLiteral("UPDATE EP_Emp_Main SET Money_Rate = Money_Rate WHERE SapID = ?"), {kSap});

    QElapsedTimer clock;
    clock.start();
    std::string error;
    EXPECT_FALSE(Cancel_Calculation(*canceller, "10000001", false, &error));
    EXPECT_GE(clock.elapsed(), 350); // it waited
    EXPECT_NE(error.find("ผู้ใช้อื่นกำลังบันทึกข้อมูล"), std::string::npos) << error;
    EXPECT_NE(error.find("รอสักครู่แล้วทำรายการนี้ใหม่"), std::string::npos) << error;
    EXPECT_NE(error.find("ไม่มีข้อมูลใดถูกบันทึก"), std::string::npos) << error;

    QString commitError;
    ASSERT_TRUE(writer.commit(&commitError)) << commitError.toStdString();
    const Rows after = Rows_Of(t, kSap);
    EXPECT_EQ(after.summary, 1);
    EXPECT_EQ(after.details, 2);
    EXPECT_EQ(after.status, QStringLiteral("P"));
    // Once the other write is over, the same cancel goes through.
    EXPECT_TRUE(Cancel_Calculation(*canceller, "10000001", false, &error)) << error;
}

// A server that refuses writes (PostgreSQL in read-only mode) gets the
// read-only message, not the driver's English alone.
TEST(Cancel_Concurrent, ReadOnlyServerSaysSo)
{
    TestDatabase t;
    if (!t.isPostgres())
        GTEST_SKIP() << "SQLite's read-only files are tested with the connection";
    Saved_Worked_Example(t);
    t.exec(QStringLiteral("SET default_transaction_read_only = on"));
    std::string error;
    EXPECT_FALSE(Cancel_Calculation(t.db(), "10000001", false, &error));
    EXPECT_NE(error.find(db::readOnlyMessage().toStdString()), std::string::npos) << error;
    t.exec(QStringLiteral("SET default_transaction_read_only = off"));
    EXPECT_EQ(Rows_Of(t, kSap).summary, 1);
}
