#include "ReportData.h"

#include "services/ReportQueries.h"

#include <gtest/gtest.h>

using namespace velmora::reports;
using namespace velmora::test;

namespace {

const QString uni = QStringLiteral("พนักงานมหาวิทยาลัย");
const QString dep = QStringLiteral("พนักงานส่วนงาน");
const QString sci = QStringLiteral("คณะวิทยาศาสตร์");
const QString arts = QStringLiteral("คณะมนุษยศาสตร์");

class ContractEndQuery : public ::testing::Test
{
protected:
    ContractEndQuery()
    {
        addType(t, "2", uni);
        addType(t, "3", dep);
        addDepart(t, "11", sci);
        addDepart(t, "12", arts);
        addEmployee(t, {"00000101", "ข", "01/01/1980", QDate(2010, 6, 1), QDate(2015, 6, 30), "2", "11"});
        addEmployee(t, {"00000102", "ก", "01/01/1980", QDate(2010, 6, 1), QDate(2015, 6, 1), "2", "11"});
        addEmployee(t, {"00000103", "ค", "01/01/1980", QDate(2012, 1, 1), QDate(2015, 12, 31), "3", "12"});
        addEmployee(t, {"00000104", "ง", "01/01/1980", QDate(2014, 6, 1), QDate(2016, 6, 30), "3", "11"});
        // Codes without a match in the lookup tables.
        addEmployee(t, {"00000105", "จ", "01/01/1980", QDate(2015, 6, 15), QDate(2015, 6, 15), "9", "11"});
        addEmployee(t, {"00000106", "ฉ", "01/01/1980", QDate(2013, 6, 1), QDate(2017, 1, 31), "2", "99"});
    }

    QStringList sapIds(const ReportResult& r)
    {
        QStringList ids;
        for (const QStringList& row : r.grid.rows)
            ids << row.at(1);
        return ids;
    }

    TestDatabase t;
};

TEST_F(ContractEndQuery, AllEmployeesOrderedWithUnmatchedCodesFirst)
{
    const ReportResult r = queryContractEnd(t.db(), {});
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    ASSERT_TRUE(r.found);
    EXPECT_EQ(r.grid.titles, contractEndTitles());
    // No department first, then by department, type (none first), first name.
    // (คณะมนุษยศาสตร์ sorts before คณะวิทยาศาสตร์.)
    EXPECT_EQ(sapIds(r), QStringList({"'00000106", "'00000103", "'00000105", "'00000102", "'00000101", "'00000104"}));
    EXPECT_EQ(r.grid.rows.at(0).at(6), QString());
    EXPECT_EQ(r.grid.rows.at(2).at(4), QString());
}

TEST_F(ContractEndQuery, RowTextsAsTheGridShowsThem)
{
    const ReportResult r = queryContractEnd(t.db(), {});
    ASSERT_TRUE(r.ok);
    const QStringList row = r.grid.rows.at(3);
    EXPECT_EQ(row, QStringList({"4", "'00000102", "นายก ทดสอบ", "'01/06/2010", uni, "'01/06/2015", sci, "1826", ""}));
    EXPECT_EQ(r.grid.rows.at(2).at(1), QStringLiteral("'00000105"));
    EXPECT_EQ(r.grid.rows.at(2).at(7), QStringLiteral("0")); // starts and ends the same day
}

TEST_F(ContractEndQuery, MonthFilterMatchesTheWholeMonth)
{
    ContractEndCriteria c;
    c.endDate = {PeriodFilter::Month, {}, QStringLiteral("06/2015")};
    const ReportResult r = queryContractEnd(t.db(), c);
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_EQ(sapIds(r), QStringList({"'00000105", "'00000102", "'00000101"}));
}

TEST_F(ContractEndQuery, YearFilter)
{
    ContractEndCriteria c;
    c.endDate = {PeriodFilter::Year, QStringLiteral("2015"), {}};
    const ReportResult r = queryContractEnd(t.db(), c);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(sapIds(r), QStringList({"'00000103", "'00000105", "'00000102", "'00000101"}));
}

TEST_F(ContractEndQuery, TypeAndDepartmentTrimmedOfBlanksAndControls)
{
    ContractEndCriteria c;
    c.workType = QStringLiteral("  ") + uni + QStringLiteral("\t");
    c.department = sci + QStringLiteral(" ");
    const ReportResult r = queryContractEnd(t.db(), c);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(sapIds(r), QStringList({"'00000102", "'00000101"}));
}

TEST_F(ContractEndQuery, NothingFoundLeavesTitlesAndOneBlankRow)
{
    ContractEndCriteria c;
    c.department = QStringLiteral("O'Brien'); DROP TABLE EP_Emp_Main; --");
    const ReportResult r = queryContractEnd(t.db(), c);
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_FALSE(r.found);
    EXPECT_EQ(r.grid.titles.size(), 9);
    ASSERT_EQ(r.grid.rows.size(), 1);
    EXPECT_EQ(r.grid.rows.at(0), QStringList(9, QString()));
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT COUNT(*) FROM EP_Emp_Main")).toInt(), 6);
}

struct BadPeriod
{
    PeriodFilter filter;
    const char* messageStart;
};

class BadPeriodInput : public ::testing::TestWithParam<BadPeriod>
{
};

TEST_P(BadPeriodInput, GivesAClearMessageInsteadOfAnEmptyList)
{
    TestDatabase t;
    ContractEndCriteria c;
    c.endDate = GetParam().filter;
    const ReportResult r = queryContractEnd(t.db(), c);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.error.startsWith(QString::fromUtf8(GetParam().messageStart))) << r.error.toStdString();
    ReceivedCriteria rc;
    rc.period = GetParam().filter;
    EXPECT_EQ(queryReceived(t.db(), rc).error, r.error);
}

INSTANTIATE_TEST_SUITE_P(Filters, BadPeriodInput,
    ::testing::Values(BadPeriod {{PeriodFilter::Year, "", {}}, "ปีไม่ถูกต้อง"},
        BadPeriod {{PeriodFilter::Year, "20x5", {}}, "ปีไม่ถูกต้อง"},
        BadPeriod {{PeriodFilter::Year, "15", {}}, "ปีไม่ถูกต้อง"},
        BadPeriod {{PeriodFilter::Month, {}, "13/2015"}, "เดือนปีไม่ถูกต้อง"},
        BadPeriod {{PeriodFilter::Month, {}, "00/2015"}, "เดือนปีไม่ถูกต้อง"},
        BadPeriod {{PeriodFilter::Month, {}, "6/2015"}, "เดือนปีไม่ถูกต้อง"},
        BadPeriod {{PeriodFilter::Month, {}, "  /    "}, "เดือนปีไม่ถูกต้อง"},
        // a Buddhist-era year in a Christian-era box found nothing before
        BadPeriod {{PeriodFilter::Year, "2569", {}}, "ปี 2569 เป็นปีพุทธศักราช (พ.ศ.) ช่องนี้ใช้ปีคริสต์ศักราช (ค.ศ.) เช่น 2026"},
        BadPeriod {{PeriodFilter::Month, {}, "06/2558"}, "ปี 2558 เป็นปีพุทธศักราช (พ.ศ.) ช่องนี้ใช้ปีคริสต์ศักราช (ค.ศ.) เช่น 2015"},
        BadPeriod {{PeriodFilter::Year, "2401", {}}, "ปี 2401 เป็นปีพุทธศักราช"}));

TEST(PeriodFilterEra, ChristianEraYearsUpTo2400AreTaken)
{
    for (const PeriodFilter& f : {PeriodFilter {PeriodFilter::Year, "2400", {}},
             PeriodFilter {PeriodFilter::Year, "2026", {}}, PeriodFilter {PeriodFilter::Month, {}, "12/2399"}})
        EXPECT_EQ(checkPeriodFilter(f), QString()) << f.year.toStdString() << f.monthYear.toStdString();
}

class ReceivedQuery : public ::testing::Test
{
protected:
    ReceivedQuery()
    {
        addSaved(t, {"00000201", "06/2015", sci, 15000, 10, 0, 1.0});
        addSaved(t, {"00000202", "12/2015", arts, 20000.5, 6, 1000, 119003});
        addSaved(t, {"00000203", "06/2016", sci, 10000, 3, 0, 30000});
    }
    TestDatabase t;
};

TEST_F(ReceivedQuery, MultipleTimesSalaryWhateverTheNetHolds)
{
    ReceivedCriteria c;
    c.period = {PeriodFilter::Month, {}, QStringLiteral("06/2015")};
    const ReportResult r = queryReceived(t.db(), c);
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    ASSERT_EQ(r.grid.rows.size(), 1);
    EXPECT_EQ(r.grid.titles, receivedTitles());
    EXPECT_EQ(r.grid.rows.at(0),
        QStringList({"1", "'00000201", "นายชื่อ00000201 สกุล", sci, "'01/10/2549", "'30/09/2559", "3653", "10", "0", "0",
            "15,000.00", "10", "150,000.00", "0.00", "1.00"}));
}

TEST_F(ReceivedQuery, YearFilterReadsTheYearOfTheClaimMonth)
{
    ReceivedCriteria c;
    c.period = {PeriodFilter::Year, QStringLiteral("2015"), {}};
    const ReportResult r = queryReceived(t.db(), c);
    ASSERT_TRUE(r.ok);
    ASSERT_EQ(r.grid.rows.size(), 2);
    QStringList ids = {r.grid.rows.at(0).at(1), r.grid.rows.at(1).at(1)};
    ids.sort();
    EXPECT_EQ(ids, QStringList({"'00000201", "'00000202"}));
    for (const QStringList& row : r.grid.rows) {
        if (row.at(1) == QLatin1String("'00000202")) {
            EXPECT_EQ(row.at(10), QStringLiteral("20,000.50"));
            EXPECT_EQ(row.at(12), QStringLiteral("120,003.00"));
            EXPECT_EQ(row.at(13), QStringLiteral("1,000.00"));
            EXPECT_EQ(row.at(14), QStringLiteral("119,003.00"));
        }
    }
}

TEST_F(ReceivedQuery, DepartmentTakenAsTyped)
{
    ReceivedCriteria c;
    c.department = sci;
    EXPECT_EQ(queryReceived(t.db(), c).grid.rows.size(), 2);
    c.department = sci + QStringLiteral(" ");
    const ReportResult r = queryReceived(t.db(), c);
    ASSERT_TRUE(r.ok);
    EXPECT_FALSE(r.found);
}

class ForecastQuery : public ::testing::Test
{
protected:
    ForecastQuery()
    {
        addType(t, "2", uni);
        addType(t, "3", dep);
        addDepart(t, "11", sci);
        addEmployee(t, {"00000301", "ก", "15/03/1960", QDate(2005, 6, 1), QDate(2020, 1, 1), "2", "11", 10000});
        addEmployee(t, {"00000302", "ข", "", QDate(2010, 1, 1), QDate(2020, 1, 1), "2", "11", 20000});
        addEmployee(t, {"00000303", "ค", "01/01/1990", QDate(), QDate(2020, 1, 1), "2", "11", 20000});
        addEmployee(t, {"00000304", "ง", "01/01/1985", QDate(2012, 1, 1), QDate(2020, 1, 1), "3", "11", 20000});
    }
    TestDatabase t;
};

TEST_F(ForecastQuery, WorkedExampleRow)
{
    ForecastCriteria c;
    c.workType = uni;
    c.calcYear = QStringLiteral("2561");
    const ReportResult r = queryForecast(t.db(), c);
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    ASSERT_EQ(r.grid.rows.size(), 3);
    EXPECT_EQ(r.grid.titles, forecastTitles());
    EXPECT_EQ(r.grid.rows.at(0),
        QStringList({"1", "'00000301", "นายก ทดสอบ", "'15/03/2503", "2563", "'01/06/2548", "2550", "13", "10,000.00",
            "2", "11,025.00", "10", "110,250.00", "58", "11", sci, "2", "", ""}));
}

TEST_F(ForecastQuery, UnreadableDatesAreMarkedAndTheOthersListed)
{
    ForecastCriteria c;
    c.calcYear = QStringLiteral("2561");
    const ReportResult r = queryForecast(t.db(), c);
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    ASSERT_EQ(r.grid.rows.size(), 4);
    const QStringList noBirth = r.grid.rows.at(1);
    EXPECT_EQ(noBirth.at(1), QStringLiteral("'00000302"));
    EXPECT_EQ(noBirth.at(4), QStringLiteral("อ่านวันเดือนปีเกิดไม่ได้"));
    EXPECT_EQ(noBirth.at(5), QStringLiteral("'01/01/2010"));
    EXPECT_EQ(noBirth.at(12), QString());
    const QStringList noStart = r.grid.rows.at(2);
    EXPECT_EQ(noStart.at(1), QStringLiteral("'00000303"));
    EXPECT_EQ(noStart.at(4), QStringLiteral("อ่านวันที่เริ่มปฏิบัติงานไม่ได้"));
    EXPECT_EQ(noStart.at(8), QStringLiteral("20,000.00"));
    // Listed after the unreadable rows.
    EXPECT_EQ(r.grid.rows.at(3).at(1), QStringLiteral("'00000304"));
    EXPECT_EQ(r.grid.rows.at(3).at(11), QStringLiteral("10"));
}

TEST_F(ForecastQuery, CalculationYearMustBeAWholeNumber)
{
    for (const char* bad : {"", "25x7", "2557.5"}) {
        ForecastCriteria c;
        c.calcYear = QString::fromUtf8(bad);
        const ReportResult r = queryForecast(t.db(), c);
        EXPECT_FALSE(r.ok) << bad;
        EXPECT_TRUE(r.error.startsWith(QStringLiteral("ปีที่คำนวณไม่ถูกต้อง"))) << r.error.toStdString();
    }
}

TEST_F(ForecastQuery, CalculationYearMustBeABuddhistEraYear)
{
    // 2026 read as Buddhist era gave 565 years to the age of 60
    for (const char* bad : {"2026", "2399", "3000"}) {
        ForecastCriteria c;
        c.calcYear = QString::fromUtf8(bad);
        const ReportResult r = queryForecast(t.db(), c);
        EXPECT_FALSE(r.ok) << bad;
        EXPECT_TRUE(r.error.contains(QStringLiteral("ต้องเป็นปีพุทธศักราช (พ.ศ.) ระหว่าง 2400 ถึง 2999")))
            << r.error.toStdString();
    }
    ForecastCriteria c;
    c.calcYear = QStringLiteral("2026");
    EXPECT_TRUE(queryForecast(t.db(), c).error.endsWith(QStringLiteral("ปี 2026 เป็นปีคริสต์ศักราช (ค.ศ.) ตรงกับ พ.ศ. 2569")));
}

TEST_F(ForecastQuery, TypeFilterTrimsBlanks)
{
    ForecastCriteria c;
    c.workType = QStringLiteral(" ") + dep + QStringLiteral("  ");
    c.calcYear = QStringLiteral("2557");
    const ReportResult r = queryForecast(t.db(), c);
    ASSERT_TRUE(r.ok);
    ASSERT_EQ(r.grid.rows.size(), 1);
    EXPECT_EQ(r.grid.rows.at(0).at(1), QStringLiteral("'00000304"));
}

TEST(ReportLists, ChoiceListsInNameOrder)
{
    TestDatabase t;
    addDepart(t, "12", arts);
    addDepart(t, "11", sci);
    addType(t, "3", dep);
    addType(t, "2", uni);
    QStringList names;
    QString error;
    ASSERT_TRUE(listDepartments(t.db(), &names, &error)) << error.toStdString();
    EXPECT_EQ(names, QStringList({arts, sci}));
    ASSERT_TRUE(listWorkTypes(t.db(), &names, &error));
    EXPECT_EQ(names, QStringList({uni, dep}));

    // a leading vowel sorts by the consonant after it
    addDepart(t, "13", QStringLiteral("โรงพยาบาล"));
    addDepart(t, "14", QStringLiteral("สำนักงานอธิการบดี"));
    ASSERT_TRUE(listDepartments(t.db(), &names, &error));
    EXPECT_EQ(names, QStringList({arts, sci, QStringLiteral("โรงพยาบาล"), QStringLiteral("สำนักงานอธิการบดี")}));
}

TEST(ReportLists, EmployeesInThaiOrderOfTheirFirstNames)
{
    // before, เกศินี came after ธนา (code-point order)
    TestDatabase t;
    addType(t, "2", uni);
    addDepart(t, "11", sci);
    addEmployee(t, {"00000101", "ธนา", "01/01/1980", QDate(2010, 6, 1), QDate(2015, 6, 30), "2", "11"});
    addEmployee(t, {"00000102", "เกศินี", "01/01/1980", QDate(2010, 6, 1), QDate(2015, 6, 30), "2", "11"});
    addEmployee(t, {"00000103", "กมล", "01/01/1980", QDate(2010, 6, 1), QDate(2015, 6, 30), "2", "11"});
    const ReportResult r = queryContractEnd(t.db(), {});
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    QStringList ids;
    for (const QStringList& row : r.grid.rows)
        ids << row.at(1);
    EXPECT_EQ(ids, (QStringList {"'00000103", "'00000102", "'00000101"}));
}

} // namespace
