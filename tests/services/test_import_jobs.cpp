#include "services/ImportJobs.h"

#include "rules/AmountText.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QSqlQuery>

using namespace velmora::import;
using velmora::test::TestDatabase;

namespace {

QString fixture(const char* name)
{
    return QStringLiteral(VELMORA_FIXTURES "/") + QLatin1String(name);
}

EmployeeWorkbook employees()
{
    EmployeeWorkbook book;
    QString error;
    EXPECT_TRUE(loadEmployeeWorkbook(fixture("employees_openpyxl.xlsx"), &book, &error)) << error.toStdString();
    return book;
}

HistoryWorkbook history()
{
    HistoryWorkbook book;
    QString error;
    EXPECT_TRUE(loadHistoryWorkbook(fixture("history_openpyxl.xlsx"), &book, &error)) << error.toStdString();
    return book;
}

int count(TestDatabase& t, const char* table)
{
    return t.scalar(QStringLiteral("SELECT COUNT(*) FROM %1").arg(QLatin1String(table))).toInt();
}

QString dayOf(const QVariant& v)
{
    // The date-time column as yyyy-mm-dd, whatever type the driver returns.
    if (v.metaType().id() == QMetaType::QDateTime)
        return v.toDateTime().date().toString(QStringLiteral("yyyy-MM-dd"));
    return v.toString().left(10);
}

} // namespace

TEST(EmployeeLoad, GridsAsTheScreenShowsThem)
{
    const EmployeeWorkbook b = employees();
    EXPECT_EQ(b.dataMonth, QStringLiteral("12"));
    EXPECT_EQ(b.dataYear, QStringLiteral("2567"));
    // Reading stops at row 8, whose column A is empty; row 9 is never read.
    ASSERT_EQ(b.employees.size(), 5u);
    const QStringList expected[] = {
        {"1", "10000001", "3100100000011", "นาย", "สมชาย", "ใจดี", "15/03/1975", "01/10/2006", "2", "30/09/2567", "11",
            "25,000.00", "", ""},
        {"2", "10000002", "3100100000022", "นางสาว", "สุดา", "รักงาน", "30/12/1899", "01/06/2015", "3", "", "12",
            "25,000.00", "", ""},
        {"3", "10000003", "3100100000033", "นาง", "มาลี", "ศรีสุข", "20/07/1978", "30/12/1899", "3", "31/12/2099", "11",
            "0.00", "", ""},
        {"4", "10000004", "3100100000044", "นาย", "โอ'ไบรอัน", "ทดสอบ", "11/01/1985", "01/10/2550", "2", "01/03/2100",
            "12", "17,500.50", "", ""},
        {"5", " ", "", "", "", "", "30/12/1899", "30/12/1899", "", "", "", "0.00", "", ""},
    };
    for (size_t i = 0; i < 5; ++i)
        EXPECT_EQ(b.employees[i], expected[i]) << "row " << i + 1;
    EXPECT_EQ(b.reasons.size(), 2u);
    EXPECT_EQ(b.types,
        (GridRows {{"1", "2", "พนักงานมหาวิทยาลัย"}, {"2", "3", "พนักงานส่วนงาน"}, {"3", "2", "พนักงานมหาวิทยาลัย (แก้ไข)"}}));
    EXPECT_EQ(b.departs.size(), 2u);
}

TEST(EmployeeSave, InsertsThenUpdatesOnTheSecondSave)
{
    TestDatabase t;
    const EmployeeWorkbook b = employees();
    EmployeeSaveCounts c;
    QString error;
    ASSERT_TRUE(saveEmployeeWorkbook(t.db(), b, &c, &error)) << error.toStdString();
    EXPECT_EQ(c.employees.inserted, 4);
    EXPECT_EQ(c.employees.skipped, 1); // the row whose SapID is a blank
    EXPECT_EQ(c.reasons.inserted, 2);
    EXPECT_EQ(c.types.inserted, 2);
    EXPECT_EQ(c.types.updated, 1); // the sheet names code 2 twice
    EXPECT_EQ(c.departs.inserted, 2);
    EXPECT_EQ(count(t, "EP_Emp_Main"), 4);

    ASSERT_TRUE(saveEmployeeWorkbook(t.db(), b, &c, &error)) << error.toStdString();
    EXPECT_EQ(c.employees.inserted, 0);
    EXPECT_EQ(c.employees.updated, 0);
    EXPECT_EQ(c.employees.unchanged, 4); // stored already exactly so: not written again
    EXPECT_EQ(c.reasons.inserted + c.types.inserted + c.departs.inserted, 0);
    EXPECT_EQ(count(t, "EP_Emp_Main"), 4);
    EXPECT_EQ(count(t, "EP_TR_Work_Type"), 2);
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT Work_Type FROM EP_TR_Work_Type WHERE Work_Type_Code = '2'")).toString(),
        QStringLiteral("พนักงานมหาวิทยาลัย (แก้ไข)"));
}

// A number failing its check digit is stored as the workbook has it (the
// office's record) and named by sheet, row and column: the same lines from
// the load's grid (the screen) as from the save (the command line's streamed
// import). 10000002's number passes, the row without a key is not saved.
TEST(EmployeeSave, SsnsFailingTheirCheckDigitAreStoredAndNamed)
{
    const EmployeeWorkbook b = employees();
    const QStringList loaded = ssnWarnings(b.employees, 1, b.sheetNames.value(0));
    const QString sheet = QStringLiteral("แผ่นงานที่ 1 (%1) ").arg(b.sheetNames.value(0));
    const QStringList expected = {
        sheet + QStringLiteral("แถวที่ 3 คอลัมน์ B: SAP ID 10000001 เลขประจำตัวประชาชน \"3100100000011\" "),
        sheet + QStringLiteral("แถวที่ 5 คอลัมน์ B: SAP ID 10000003 เลขประจำตัวประชาชน \"3100100000033\" "),
        sheet + QStringLiteral("แถวที่ 6 คอลัมน์ B: SAP ID 10000004 เลขประจำตัวประชาชน \"3100100000044\" ")};
    ASSERT_EQ(loaded.size(), expected.size()) << loaded.join(QLatin1Char('\n')).toStdString();
    for (int i = 0; i < expected.size(); ++i) {
        EXPECT_TRUE(loaded[i].startsWith(expected[i])) << loaded[i].toStdString();
        EXPECT_TRUE(loaded[i].endsWith(QStringLiteral("(หลักที่ 13)"))) << loaded[i].toStdString();
    }

    TestDatabase t;
    EmployeeSaveCounts c;
    QString error;
    ASSERT_TRUE(saveEmployeeWorkbook(t.db(), b, &c, &error)) << error.toStdString();
    EXPECT_EQ(c.employees.inserted, 4);
    EXPECT_EQ(ssnWarnings(c), loaded);
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT SSN FROM EP_Emp_Main WHERE SapID = '10000001'")).toString(),
        QStringLiteral("3100100000011"));

    TestDatabase streamed;
    ASSERT_TRUE(importEmployeeWorkbook(streamed.db(), fixture("employees_openpyxl.xlsx"), &c, &error))
        << error.toStdString();
    EXPECT_EQ(ssnWarnings(c), loaded);
}

TEST(EmployeeSave, ValuesWritten)
{
    TestDatabase t;
    EmployeeSaveCounts c;
    QString error;
    ASSERT_TRUE(saveEmployeeWorkbook(t.db(), employees(), &c, &error)) << error.toStdString();

    // 25,000 in the grid is 25000.00 in the database.
    EXPECT_DOUBLE_EQ(
        t.scalar(QStringLiteral("SELECT Money_Rate FROM EP_Emp_Main WHERE SapID = '10000002'")).toDouble(), 25000.0);
    EXPECT_DOUBLE_EQ(
        t.scalar(QStringLiteral("SELECT Money_Rate FROM EP_Emp_Main WHERE SapID = '10000004'")).toDouble(), 17500.5);
    // An empty contract end: empty text, and the base date 01/01/1900 in the date-time column.
    EXPECT_EQ(
        t.scalar(QStringLiteral("SELECT Work_End_Date_Text FROM EP_Emp_Main WHERE SapID = '10000002'")).toString(),
        QString());
    EXPECT_EQ(dayOf(t.scalar(QStringLiteral("SELECT Work_End_Date FROM EP_Emp_Main WHERE SapID = '10000002'"))),
        QStringLiteral("1900-01-01"));
    // An empty birth date cell is day 0.
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT Emp_BirthDay FROM EP_Emp_Main WHERE SapID = '10000002'")).toString(),
        QStringLiteral("30/12/1899"));
    // Dates keep the year of the workbook, Buddhist era included.
    EXPECT_EQ(dayOf(t.scalar(QStringLiteral("SELECT Work_Begin_Date FROM EP_Emp_Main WHERE SapID = '10000004'"))),
        QStringLiteral("2550-10-01"));
    EXPECT_EQ(
        t.scalar(QStringLiteral("SELECT Work_Begin_Date_Text FROM EP_Emp_Main WHERE SapID = '10000004'")).toString(),
        QStringLiteral("01/10/2550"));
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT F_Name FROM EP_Emp_Main WHERE SapID = '10000004'")).toString(),
        QStringLiteral("โอ'ไบรอัน"));
    EXPECT_EQ(
        t.scalar(QStringLiteral("SELECT Emp_RecMChod_Status FROM EP_Emp_Main WHERE SapID = '10000001'")).toString(),
        QStringLiteral("A"));
}

TEST(EmployeeSave, CalculatedEmployeeUntouchedOthersUpdatedWithoutIdentity)
{
    TestDatabase t;
    const QString insert = QStringLiteral(
        "INSERT INTO EP_Emp_Main (SapID, SSN, Surname, F_Name, L_Name, Emp_BirthDay, Work_Begin_Date_Text, "
        "Money_Rate, Emp_RecMChod_Status) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)");
    t.exec(insert, {"10000001", "9999999999999", "นาย", "เดิม", "เดิม", "01/01/1970", "01/01/2000", 1000.0, "P"});
    t.exec(insert, {"10000002", "8888888888888", "นาง", "เดิม", "เดิม", "02/02/1972", "01/01/2000", 1000.0, "A"});
    EmployeeSaveCounts c;
    QString error;
    ASSERT_TRUE(saveEmployeeWorkbook(t.db(), employees(), &c, &error)) << error.toStdString();
    EXPECT_EQ(c.employees.leftAlone, 1);
    EXPECT_EQ(c.employees.updated, 1);
    EXPECT_EQ(c.employees.inserted, 2);

    auto value = [&](const char* column, const char* sap) {
        return t.scalar(QStringLiteral("SELECT %1 FROM EP_Emp_Main WHERE SapID = ?").arg(QLatin1String(column)),
            {QLatin1String(sap)});
    };
    EXPECT_EQ(value("F_Name", "10000001").toString(), QStringLiteral("เดิม"));
    EXPECT_DOUBLE_EQ(value("Money_Rate", "10000001").toDouble(), 1000.0);
    EXPECT_EQ(value("Emp_RecMChod_Status", "10000001").toString(), QStringLiteral("P"));

    EXPECT_EQ(value("F_Name", "10000002").toString(), QStringLiteral("สุดา"));
    EXPECT_EQ(value("Surname", "10000002").toString(), QStringLiteral("นางสาว"));
    EXPECT_DOUBLE_EQ(value("Money_Rate", "10000002").toDouble(), 25000.0);
    EXPECT_EQ(value("Work_Type_Code", "10000002").toString(), QStringLiteral("3"));
    EXPECT_EQ(value("SSN", "10000002").toString(), QStringLiteral("8888888888888"));
    EXPECT_EQ(value("Emp_BirthDay", "10000002").toString(), QStringLiteral("02/02/1972"));
}

TEST(EmployeeSave, FailureLeavesTheDatabaseAsItWas)
{
    TestDatabase t;
    // The reasons table refuses one reason: the employees are written first,
    // then the save fails at the second reason.
    t.exec(QStringLiteral("DROP TABLE EP_Reason_out"));
    t.exec(QStringLiteral("CREATE TABLE EP_Reason_out (SapID VARCHAR(30) NOT NULL PRIMARY KEY, "
                          "Event_out VARCHAR(255) CHECK (Event_out <> 'เกษียณอายุงาน'))"));
    EmployeeSaveCounts c;
    QString error;
    EXPECT_FALSE(saveEmployeeWorkbook(t.db(), employees(), &c, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("แผ่นงานที่ 2 (เหตุแห่งการออก) แถวที่ 4"))) << error.toStdString();
    EXPECT_EQ(count(t, "EP_Emp_Main"), 0);
    EXPECT_EQ(count(t, "EP_TR_Work_Type"), 0);
}

TEST(EmployeeSave, DateThatNoDatabaseTakesIsRefusedBeforeWriting)
{
    TestDatabase t;
    EmployeeWorkbook b = employees();
    b.employees[2][9] = QStringLiteral("29/02/1900"); // the spreadsheets' day 60
    EmployeeSaveCounts c;
    QString error;
    EXPECT_FALSE(saveEmployeeWorkbook(t.db(), b, &c, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("แผ่นงานที่ 1 (พนักงาน) แถวที่ 5 คอลัมน์ I"))) << error.toStdString();
    EXPECT_EQ(count(t, "EP_Emp_Main"), 0);
}

TEST(EmployeeSave, ProgressReachesTheEndOfEachGrid)
{
    TestDatabase t;
    std::vector<std::pair<int, int>> seen;
    EmployeeSaveCounts c;
    QString error;
    ASSERT_TRUE(saveEmployeeWorkbook(
        t.db(), employees(), &c, &error, [&](int position, int maximum) { seen.emplace_back(position, maximum); }));
    ASSERT_EQ(seen.size(), 5u + 2u + 3u + 2u);
    EXPECT_EQ(seen[4], std::make_pair(5, 5));
    EXPECT_EQ(seen.back(), std::make_pair(2, 2));
}

TEST(HistoryLoad, GridAsTheScreenShowsIt)
{
    const HistoryWorkbook b = history();
    ASSERT_EQ(b.periods.size(), 5u);
    EXPECT_EQ(b.periods[0],
        (QStringList {"1", "10000001", "3100100000011", "3", "พนักงานส่วนงาน", "01/10/2549", "30/09/2551"}));
    EXPECT_EQ(b.periods[3],
        (QStringList {"4", "10000002", "3100100000022", "2", "พนักงานมหาวิทยาลัย", "01/06/2558", "30/12/1899"}));
    EXPECT_EQ(b.periods[4][6], QStringLiteral("28/02/2643"));
}

TEST(HistorySave, SameKeyUpdatesOnePeriodAndSavingTwiceAddsNothing)
{
    TestDatabase t;
    TableCounts c;
    QString error;
    ASSERT_TRUE(saveHistoryWorkbook(t.db(), history(), &c, &error)) << error.toStdString();
    EXPECT_EQ(c.inserted, 4);
    EXPECT_EQ(c.updated, 1);
    EXPECT_EQ(count(t, "EP_Work_Histry"), 4);
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT Work_E_Date FROM EP_Work_Histry WHERE SapID = '10000001' "
                                      "AND Work_Type_Code = '2' AND Work_B_Date = '01/10/2551'"))
                  .toString(),
        QStringLiteral("30/09/2556"));
    // A period of an employee number not in the employee list is kept all the same.
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT COUNT(*) FROM EP_Work_Histry WHERE SapID = '77777777'")).toInt(), 1);

    ASSERT_TRUE(saveHistoryWorkbook(t.db(), history(), &c, &error)) << error.toStdString();
    EXPECT_EQ(c.inserted, 0);
    // The period named twice is written twice again (each time the other
    // last day); the three others are stored exactly so and left unwritten.
    EXPECT_EQ(c.updated, 2);
    EXPECT_EQ(c.unchanged, 3);
    EXPECT_EQ(count(t, "EP_Work_Histry"), 4);
}

TEST(HistorySave, EmptyKeysSkippedAndFailureRolledBack)
{
    TestDatabase t;
    HistoryWorkbook b = history();
    b.periods[1][1] = QStringLiteral("   ");
    TableCounts c;
    QString error;
    ASSERT_TRUE(saveHistoryWorkbook(t.db(), b, &c, &error)) << error.toStdString();
    EXPECT_EQ(c.skipped, 1);
    EXPECT_EQ(c.inserted, 4); // the third row no longer finds the second

    TestDatabase t2;
    t2.exec(QStringLiteral("DROP TABLE EP_Work_Histry"));
    EXPECT_FALSE(saveHistoryWorkbook(t2.db(), history(), &c, &error));
    EXPECT_FALSE(error.isEmpty());
}

// A batch insert that the database refuses is not reported by its first row:
// the save starts again row by row and names the row at fault. A unique
// index the schema does not have makes one later row of the batch collide
// with an earlier one, on every server.
TEST(HistorySave, RefusedBatchIsReplayedRowByRowToNameTheRow)
{
    TestDatabase t;
    t.exec(QStringLiteral("CREATE UNIQUE INDEX UX_Test_Period_End ON EP_Work_Histry (SapID, Work_E_Date)"));
    HistoryWorkbook b;
    b.sheetName = QStringLiteral("ประวัติ");
    b.periods = {
        {"1", "10000001", "3100100000011", "3", "พนักงานส่วนงาน", "01/10/2549", "30/09/2551"},
        {"2", "10000001", "3100100000011", "2", "พนักงานมหาวิทยาลัย", "01/10/2551", "30/09/2555"},
        {"3", "10000002", "3100100000022", "2", "พนักงานมหาวิทยาลัย", "01/06/2558", "31/05/2562"},
        {"4", "10000003", "3100100000033", "3", "พนักงานส่วนงาน", "15/06/2560", "14/06/2564"},
        // Same employee and end as the second row, another start: refused.
        {"5", "10000001", "3100100000011", "3", "พนักงานส่วนงาน", "01/10/2553", "30/09/2555"},
        {"6", "10000004", "3100100000044", "2", "พนักงานมหาวิทยาลัย", "02/01/2562", "01/01/2566"},
    };
    TableCounts c;
    QString error;
    EXPECT_FALSE(saveHistoryWorkbook(t.db(), b, &c, &error));
    // Data rows start at row 3: the fifth period is row 7 (the batch began at row 3).
    EXPECT_TRUE(error.startsWith(QStringLiteral("บันทึกข้อมูลไม่สำเร็จ ไม่มีข้อมูลใดถูกบันทึก: แผ่นงานที่ 1 (ประวัติ) แถวที่ 7: ")))
        << error.toStdString();
    EXPECT_EQ(count(t, "EP_Work_Histry"), 0);
}

TEST(EmployeeSave, RefusedBatchIsReplayedRowByRowToNameTheRow)
{
    TestDatabase t;
    t.exec(QStringLiteral("CREATE UNIQUE INDEX UX_Test_Emp_SSN ON EP_Emp_Main (SSN)"));
    EmployeeWorkbook b = employees();
    b.employees[3][2] = b.employees[0][2]; // the fourth employee gets the first one's identity number
    EmployeeSaveCounts c;
    QString error;
    EXPECT_FALSE(saveEmployeeWorkbook(t.db(), b, &c, &error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("บันทึกข้อมูลไม่สำเร็จ ไม่มีข้อมูลใดถูกบันทึก: แผ่นงานที่ 1 (พนักงาน) แถวที่ 6: ")))
        << error.toStdString();
    EXPECT_EQ(count(t, "EP_Emp_Main"), 0);
}

// The database goes away in the middle of the save (on PostgreSQL the server
// ends the session; on SQLite the connection is closed under the save). The
// message keeps the reason of the first failure; the row-by-row retry, which
// cannot even begin, does not replace it with an empty one.
TEST(EmployeeSave, LostDatabaseKeepsTheFirstReason)
{
    TestDatabase t;
    std::unique_ptr<velmora::db::Database> other = t.openAnother();
    ASSERT_TRUE(other);
    const QVariant pid = t.isPostgres() ? t.scalar(QStringLiteral("SELECT pg_backend_pid()")) : QVariant();
    bool cut = false;
    EmployeeSaveCounts c;
    QString error;
    EXPECT_FALSE(saveEmployeeWorkbook(t.db(), employees(), &c, &error, [&](int position, int) {
        if (cut || position != 3)
            return;
        cut = true;
        if (t.isPostgres()) {
            QSqlQuery q = other->query();
            q.prepare(QStringLiteral("SELECT pg_terminate_backend(?)"));
            q.addBindValue(pid);
            EXPECT_TRUE(q.exec());
        } else {
            t.db().connection().close();
        }
    }));
    EXPECT_TRUE(cut);
    EXPECT_TRUE(error.startsWith(QStringLiteral("บันทึกข้อมูลไม่สำเร็จ ไม่มีข้อมูลใดถูกบันทึก: แผ่นงานที่ 1"))) << error.toStdString();
    EXPECT_FALSE(error.trimmed().endsWith(QLatin1Char(':'))) << error.toStdString();
    EXPECT_TRUE(error.contains(QStringLiteral("การติดต่อ"))) << error.toStdString();
    QSqlQuery q = other->query();
    ASSERT_TRUE(q.exec(QStringLiteral("SELECT COUNT(*) FROM EP_Emp_Main")) && q.next());
    EXPECT_EQ(q.value(0).toInt(), 0);
}

TEST(EmployeeSave, CalculationSavedDuringTheImportIsLeftAlone)
{
    // An officer saves a calculation (status "P") on a second connection while
    // the import runs, after the import read the statuses: the import must not
    // write over that employee, and counts it as left alone.
    TestDatabase t;
    t.exec(QStringLiteral("INSERT INTO EP_Emp_Main (SapID, SSN, F_Name, Money_Rate, Emp_RecMChod_Status) "
                          "VALUES (?, ?, ?, ?, ?)"),
        {"10000003", "3100100000033", "เดิม", 1000.0, "A"});
    auto officer = t.openAnother();
    ASSERT_TRUE(officer);
    if (!t.isPostgres()) {
        QSqlQuery pragma = officer->query();
        pragma.exec(QStringLiteral("PRAGMA busy_timeout = 300"));
    }
    bool officerTried = false, officerSaved = false;
    auto officerSaves = [&](int, int) {
        if (officerTried)
            return;
        officerTried = true;
        QSqlQuery q = officer->query();
        q.prepare(QStringLiteral("UPDATE EP_Emp_Main SET Emp_RecMChod_Status = ?, Money_Rate = ? WHERE SapID = ?"));
        q.addBindValue(QStringLiteral("P"));
        q.addBindValue(12345.0);
        q.addBindValue(QStringLiteral("10000003"));
        officerSaved = q.exec();
    };
    EmployeeSaveCounts c;
    QString error;
    const bool imported = saveEmployeeWorkbook(t.db(), employees(), &c, &error, officerSaves);
    ASSERT_TRUE(officerTried);
    if (t.isPostgres()) { // the row was not yet written by the import: nothing waits
        ASSERT_TRUE(officerSaved);
    }
    const QString status =
        t.scalar(QStringLiteral("SELECT Emp_RecMChod_Status FROM EP_Emp_Main WHERE SapID = '10000003'")).toString();
    const double salary =
        t.scalar(QStringLiteral("SELECT Money_Rate FROM EP_Emp_Main WHERE SapID = '10000003'")).toDouble();
    if (officerSaved) {
        EXPECT_EQ(status, QStringLiteral("P"));
        EXPECT_DOUBLE_EQ(salary, 12345.0); // not the workbook's 0.00
        if (imported) {
            EXPECT_EQ(c.employees.leftAlone, 1);
            EXPECT_EQ(c.employees.updated, 0);
            EXPECT_EQ(c.employees.inserted, 3);
        }
    } else {
        ASSERT_TRUE(imported) << error.toStdString();
        EXPECT_EQ(c.employees.updated, 1);
        EXPECT_DOUBLE_EQ(salary, 0.0);
    }
    ASSERT_TRUE(imported) << error.toStdString();
}

struct OutOfSchema
{
    int grid; // 0 employees, 1 reasons, 3 departs, 9 history
    int column;
    QString value;
    const char* expected; // part of the message
};

class ValuesBeyondTheSchema : public ::testing::TestWithParam<OutOfSchema>
{
};

TEST_P(ValuesBeyondTheSchema, RefusedBeforeAnythingIsWritten)
{
    // SQLite would store all of these; PostgreSQL and SQL Server refuse them.
    // Every server gets the same refusal, naming the cell, and no row.
    TestDatabase t;
    const OutOfSchema& p = GetParam();
    QString error;
    if (p.grid == 9) {
        HistoryWorkbook b = history();
        b.periods[1][p.column] = p.value;
        TableCounts c;
        EXPECT_FALSE(saveHistoryWorkbook(t.db(), b, &c, &error));
        EXPECT_EQ(count(t, "EP_Work_Histry"), 0);
    } else {
        EmployeeWorkbook b = employees();
        GridRows* grids[] = {&b.employees, &b.reasons, &b.types, &b.departs};
        (*grids[p.grid])[1][p.column] = p.value;
        EmployeeSaveCounts c;
        EXPECT_FALSE(saveEmployeeWorkbook(t.db(), b, &c, &error));
        EXPECT_EQ(count(t, "EP_Emp_Main"), 0);
        EXPECT_EQ(count(t, "EP_Reason_out"), 0);
    }
    EXPECT_TRUE(error.contains(QString::fromUtf8(p.expected))) << error.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Cells, ValuesBeyondTheSchema,
    ::testing::Values(OutOfSchema {0, 11, QString::fromStdString(velmora::Amount_Text(1e300)),
                          "แถวที่ 4 คอลัมน์ K: อัตราเงินเดือน \"1,000,000,000,000,000,"},
        OutOfSchema {0, 11, QStringLiteral("-10,000,000,000,000,000.00"), "มากเกินกว่าที่บันทึกได้"},
        OutOfSchema {
            0, 1, QString(31, QLatin1Char('1')), "แถวที่ 4 คอลัมน์ A: ข้อมูล \"1111111111111111111111111111111\" ยาว 31"},
        OutOfSchema {0, 4, QString(121, QChar(0x0E01)), "คอลัมน์ D: ข้อมูล"},
        OutOfSchema {0, 5, QString(121, QLatin1Char('x')), "(ไม่เกิน 120 ตัวอักษร)"},
        OutOfSchema {1, 2, QString(256, QLatin1Char('r')), "แผ่นงานที่ 2 (เหตุแห่งการออก) แถวที่ 4 คอลัมน์ B"},
        OutOfSchema {3, 2, QString(201, QLatin1Char('d')), "แผ่นงานที่ 4"},
        OutOfSchema {9, 4, QString(121, QLatin1Char('t')), "แถวที่ 4 คอลัมน์ D"},
        OutOfSchema {9, 1, QString(31, QLatin1Char('9')), "แถวที่ 4 คอลัมน์ A"}));

TEST(EmployeeSave, ValuesAtTheSchemaLimitsAreStored)
{
    TestDatabase t;
    EmployeeWorkbook b = employees();
    b.employees[1][1] = QString(30, QLatin1Char('2'));
    b.employees[1][4] = QString(120, QChar(0x0E01));
    b.employees[1][5] = QLatin1Char(' ') + QString(120, QLatin1Char('x')); // stored trimmed by an insert
    b.employees[1][11] = QStringLiteral("999,999,999,999,999.00");
    EmployeeSaveCounts c;
    QString error;
    ASSERT_TRUE(saveEmployeeWorkbook(t.db(), b, &c, &error)) << error.toStdString();
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT F_Name FROM EP_Emp_Main WHERE SapID = ?"), {b.employees[1][1]})
                  .toString()
                  .size(),
        120);
}

TEST(EmployeeSave, UpdateWritesNamesAsShownAndChecksThemSo)
{
    // An update writes the names as the grid shows them, blanks included.
    TestDatabase t;
    t.exec(QStringLiteral("INSERT INTO EP_Emp_Main (SapID, Emp_RecMChod_Status) VALUES (?, ?)"), {"10000002", "A"});
    EmployeeWorkbook b = employees();
    b.employees[1][5] = QLatin1Char(' ') + QString(120, QLatin1Char('x'));
    EmployeeSaveCounts c;
    QString error;
    EXPECT_FALSE(saveEmployeeWorkbook(t.db(), b, &c, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("แถวที่ 4 คอลัมน์ E"))) << error.toStdString();
    EXPECT_EQ(count(t, "EP_Emp_Main"), 1);
}

TEST(EmployeeSave, UnchangedRowsAreNotWrittenAndOneChangedSalaryUpdatesOneRow)
{
    TestDatabase t;
    const EmployeeWorkbook b = employees();
    EmployeeSaveCounts c;
    QString error;
    ASSERT_TRUE(saveEmployeeWorkbook(t.db(), b, &c, &error)) << error.toStdString();

    // A row changed behind the program's back shows whether a row is written.
    t.exec(QStringLiteral("UPDATE EP_Emp_Main SET SSN = ? WHERE SapID = ?"), {"marker", "10000004"});
    ASSERT_TRUE(saveEmployeeWorkbook(t.db(), b, &c, &error)) << error.toStdString();
    EXPECT_EQ(c.employees.unchanged, 4);
    EXPECT_EQ(c.employees.updated + c.employees.inserted + c.employees.leftAlone, 0);
    EXPECT_TRUE(describeCounts(c).value(0).contains(QStringLiteral("ข้อมูลเดิมไม่เปลี่ยนแปลง 4 รายการ")))
        << describeCounts(c).value(0).toStdString();

    struct Change
    {
        int column;
        QString value;
        const char* check; // the stored column that shows the change
        QVariant stored;
    };
    const Change changes[] = {
        {11, QStringLiteral("17,500.51"), "Money_Rate", 17500.51},
        {5, QStringLiteral("ทดสอบ "), "L_Name", QStringLiteral("ทดสอบ ")}, // a trailing blank is a change
        {9, QStringLiteral("01/03/2101"), "Work_End_Date_Text", QStringLiteral("01/03/2101")},
        {8, QStringLiteral("3"), "Work_Type_Code", QStringLiteral("3")},
    };
    for (const Change& change : changes) {
        EmployeeWorkbook changed = b;
        changed.employees[3][change.column] = change.value; // SapID 10000004
        ASSERT_TRUE(saveEmployeeWorkbook(t.db(), changed, &c, &error)) << error.toStdString();
        EXPECT_EQ(c.employees.updated, 1) << change.check;
        EXPECT_EQ(c.employees.unchanged, 3) << change.check;
        const QVariant v = t.scalar(
            QStringLiteral("SELECT %1 FROM EP_Emp_Main WHERE SapID = '10000004'").arg(QLatin1String(change.check)));
        if (change.stored.typeId() == QMetaType::Double)
            EXPECT_DOUBLE_EQ(v.toDouble(), change.stored.toDouble());
        else
            EXPECT_EQ(v.toString(), change.stored.toString());
        // back as the workbook has it, for the next change
        ASSERT_TRUE(saveEmployeeWorkbook(t.db(), b, &c, &error)) << error.toStdString();
        EXPECT_EQ(c.employees.updated, 1) << change.check;
    }
    // The columns the import does not write keep what they had.
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT SSN FROM EP_Emp_Main WHERE SapID = '10000004'")).toString(),
        QStringLiteral("marker"));
}

TEST(HistorySave, ChangedPeriodUpdatedOthersUnchanged)
{
    TestDatabase t;
    HistoryWorkbook b = history();
    TableCounts c;
    QString error;
    ASSERT_TRUE(saveHistoryWorkbook(t.db(), b, &c, &error)) << error.toStdString();
    b.periods[3][6] = QStringLiteral("31/12/2560"); // the last day of 10000002's period
    ASSERT_TRUE(saveHistoryWorkbook(t.db(), b, &c, &error)) << error.toStdString();
    EXPECT_EQ(c.inserted, 0);
    EXPECT_EQ(c.updated, 3); // the changed period and the one named twice
    EXPECT_EQ(c.unchanged, 2);
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT Work_E_Date FROM EP_Work_Histry WHERE SapID = '10000002' "
                                      "AND Work_Type_Code = '2'"))
                  .toString(),
        QStringLiteral("31/12/2560"));
}
