// A database that cannot grow (a full disk): the import says so in Thai,
// writes nothing, and runs in full once there is room again.
//
// SQLite's page limit stands in for the full disk: past it every write fails
// with the same SQLITE_FULL ("database or disk is full") a full drive gives.

#include "services/ImportJobs.h"

#include "support/TestDatabase.h"

#include <gtest/gtest.h>

#include <QSqlQuery>

using namespace velmora::import;
using velmora::test::TestDatabase;

namespace {

const QString kDiskFull = QStringLiteral("พื้นที่ดิสก์ที่เก็บฐานข้อมูลเต็ม");

QString fixture(const char* name)
{
    return QStringLiteral(VELMORA_FIXTURES "/") + QLatin1String(name);
}

// The fixture's first employee copied under many SAP IDs: far more than the
// free room of the database's present pages.
EmployeeWorkbook manyEmployees(int rows)
{
    EmployeeWorkbook book;
    QString error;
    EXPECT_TRUE(loadEmployeeWorkbook(fixture("employees_openpyxl.xlsx"), &book, &error)) << error.toStdString();
    const QStringList first = book.employees.front();
    book.employees.clear();
    book.reasons.clear();
    for (int i = 0; i < rows; ++i) {
        QStringList row = first;
        row[0] = QString::number(i + 1);
        row[1] = QString::number(20000000 + i);
        row[2] = QString::number(3100200000000LL + i);
        book.employees.push_back(row);
    }
    return book;
}

HistoryWorkbook manyPeriods(int rows)
{
    HistoryWorkbook book;
    QString error;
    EXPECT_TRUE(loadHistoryWorkbook(fixture("history_openpyxl.xlsx"), &book, &error)) << error.toStdString();
    const QStringList first = book.periods.front();
    book.periods.clear();
    for (int i = 0; i < rows; ++i) {
        QStringList row = first;
        row[0] = QString::number(i + 1);
        row[1] = QString::number(20000000 + i);
        book.periods.push_back(row);
    }
    return book;
}

int count(const TestDatabase& t, const char* table)
{
    return t.scalar(QStringLiteral("SELECT COUNT(*) FROM %1").arg(QLatin1String(table))).toInt();
}

// Caps the connection's database at the pages it has now; `false` lifts it.
void capAtPresentSize(TestDatabase& t, bool cap)
{
    const int pages = t.scalar(QStringLiteral("PRAGMA page_count")).toInt();
    QSqlQuery q(t.db().connection());
    ASSERT_TRUE(q.exec(QStringLiteral("PRAGMA max_page_count = %1").arg(cap ? pages : 1073741823)));
}

struct Case
{
    const char* name;
    const char* table;
    bool (*save)(TestDatabase&, QString*);
};

bool saveEmployees(TestDatabase& t, QString* error)
{
    EmployeeSaveCounts counts;
    return saveEmployeeWorkbook(t.db(), manyEmployees(3000), &counts, error);
}

bool savePeriods(TestDatabase& t, QString* error)
{
    TableCounts counts;
    return saveHistoryWorkbook(t.db(), manyPeriods(3000), &counts, error);
}

class DiskFull : public ::testing::TestWithParam<Case>
{
};

TEST_P(DiskFull, RefusedSayingTheDiskIsFullAndNothingWritten)
{
    TestDatabase t;
    if (t.isPostgres())
        GTEST_SKIP() << "the page limit is SQLite's";
    const int before = count(t, GetParam().table);
    const int logBefore = count(t, "EP_Audit_Log");

    capAtPresentSize(t, true);
    QString error;
    EXPECT_FALSE(GetParam().save(t, &error));
    EXPECT_TRUE(error.contains(kDiskFull)) << error.toStdString();
    EXPECT_EQ(count(t, GetParam().table), before);
    EXPECT_EQ(count(t, "EP_Audit_Log"), logBefore);

    // With room again the same import runs in full: nothing half-written stands in its way.
    capAtPresentSize(t, false);
    error.clear();
    ASSERT_TRUE(GetParam().save(t, &error)) << error.toStdString();
    EXPECT_EQ(count(t, GetParam().table), before + 3000);
}

INSTANTIATE_TEST_SUITE_P(Imports, DiskFull,
    ::testing::Values(Case {"employees", "EP_Emp_Main", &saveEmployees}, Case {"history", "EP_Work_Histry", &savePeriods}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

} // namespace
