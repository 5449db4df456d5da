#include "FundSourceData.h"

#include "services/FundSource.h"

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::reports;
using namespace velmora::test;

namespace {

class FundSourceQuery : public ::testing::Test
{
protected:
    FundSourceQuery() { addFundTypes(t); }

    FundSourceResult search(
        const QString& from = QStringLiteral("01/01/2500"), const QString& to = QStringLiteral("31/12/2600"))
    {
        criteria.from = from;
        criteria.to = to;
        FundSourceResult r = queryFundSource(t.db(), criteria);
        EXPECT_TRUE(r.ok) << r.error.toStdString();
        return r;
    }

    static QStringList column(const FundSourceResult& r, int c)
    {
        QStringList out;
        for (const QStringList& row : r.grid.rows)
            out << row.at(c);
        return out;
    }

    TestDatabase t;
    FundSourceCriteria criteria;
};

TEST_F(FundSourceQuery, EachPeriodShowsTheShareOfItsFundSource)
{
    addCalc(t, "101", "ก", "15/03/2567", 10000, 30, 10);
    addPeriod(t, "101", "2", "01/10/2550", "30/09/2555");
    addPeriod(t, "101", "3", "01/10/2555", "31/03/2567");
    const FundSourceResult r = search();
    ASSERT_TRUE(r.found);
    ASSERT_EQ(r.grid.rows.size(), 3);
    EXPECT_EQ(column(r, fsShare), (QStringList {"2,500.00", "7,500.00", "10,000.00"}));
    EXPECT_EQ(column(r, fsWorkType), (QStringList {"พนักงานมหาวิทยาลัย", "พนักงานส่วนงาน", ""}));
    EXPECT_EQ(r.grid.rows.last().at(fsName), QStringLiteral("ยอดรวมทั้งสิ้น"));
    EXPECT_EQ(r.lines.size(), 2);

    criteria.sourceCode = QStringLiteral("3");
    const FundSourceResult unit = search();
    ASSERT_EQ(unit.grid.rows.size(), 2);
    EXPECT_EQ(column(unit, fsShare), (QStringList {"7,500.00", "7,500.00"}));
}

TEST_F(FundSourceQuery, ALineShowsTheCalculationAsSaved)
{
    addCalc(t, "00000101", "สมชาย", "15/03/2567", 10000, 30, 10, QStringLiteral("คณะแพทยศาสตร์"));
    addPeriod(t, "00000101", "3", "01/10/2555", "31/03/2567");
    const FundSourceResult r = search();
    ASSERT_EQ(r.grid.rows.size(), 2);
    EXPECT_EQ(r.grid.titles.size(), 18);
    EXPECT_EQ(r.grid.rows.at(0),
        (QStringList {"1", "", "'00000101", "นายสมชาย ทดสอบ", "7,500.00", "'15/03/2567", "คณะแพทยศาสตร์",
            "ครบกำหนดระยะเวลาการจ้างตามสัญญา", "พนักงานส่วนงาน", "16", "5", "14", "01/10/2555", "31/03/2567", "12,500.50",
            "10", "ตรวจสอบแล้ว", "checker1"}));
    QStringList total(18, QString());
    total[3] = QStringLiteral("ยอดรวมทั้งสิ้น");
    total[4] = QStringLiteral("7,500.00");
    EXPECT_EQ(r.grid.rows.at(1), total);
}

TEST_F(FundSourceQuery, ThirdsTotalTheShownAmounts)
{
    for (const char* sap : {"201", "202", "203"}) {
        addCalc(t, sap, QStringLiteral("ค") + QLatin1String(sap), "01/03/2567", 100, 2, 1);
        addPeriod(t, sap, "2", "01/10/2560", "31/03/2567");
    }
    const FundSourceResult r = search();
    EXPECT_EQ(column(r, fsShare), (QStringList {"33.33", "33.33", "33.33", "99.99"}));
}

TEST_F(FundSourceQuery, TwoUnitPeriodsOfOneCalculationAreListedTwiceAndDueOnce)
{
    addCalc(t, "301", "ง", "01/03/2567", 9000, 20, 10);
    addPeriod(t, "301", "3", "01/10/2557", "30/09/2560");
    addPeriod(t, "301", "3", "01/10/2550", "30/09/2552");
    const FundSourceResult r = search();
    EXPECT_EQ(column(r, fsShare), (QStringList {"6,000.00", "6,000.00", "6,000.00"}));
    // periods in the order of their start
    EXPECT_EQ(column(r, fsBegin), (QStringList {"01/10/2550", "01/10/2557", ""}));
    EXPECT_EQ(column(r, fsNo), (QStringList {"1", "2", ""}));
}

TEST_F(FundSourceQuery, ACodeOtherThanTwoOrThreeTakesTheUnitsShare)
{
    addCalc(t, "401", "จ", "01/03/2567", 10000, 30, 10);
    addPeriod(t, "401", "9", "01/10/2550", "30/09/2552");
    const FundSourceResult r = search();
    EXPECT_EQ(column(r, fsShare), (QStringList {"7,500.00", "7,500.00"}));
    EXPECT_EQ(column(r, fsWorkType), (QStringList {"", ""})); // no such type: empty name
}

TEST_F(FundSourceQuery, MonthsAddingToZeroShowNothingDue)
{
    addCalc(t, "402", "ฉ", "01/03/2567", 10000, 0, 0);
    addPeriod(t, "402", "2", "01/10/2550", "30/09/2552");
    const FundSourceResult r = search();
    EXPECT_EQ(column(r, fsShare), (QStringList {"0.00", "0.00"}));
}

TEST_F(FundSourceQuery, UnprintedFilterKeepsNullAndN)
{
    addCalc(t, "501", "ก", "01/03/2567", 100, 1, 0);
    addCalc(t, "502", "ข", "01/03/2567", 200, 1, 0, QStringLiteral("คณะวิทยาศาสตร์"), QStringLiteral("N"));
    addCalc(t, "503", "ค", "01/03/2567", 400, 1, 0, QStringLiteral("คณะวิทยาศาสตร์"), QStringLiteral("Y"));
    for (const char* sap : {"501", "502", "503"})
        addPeriod(t, sap, "3", "01/10/2550", "30/09/2552");
    EXPECT_EQ(column(search(), fsSapID), (QStringList {"'501", "'502", "'503", ""}));
    criteria.unprintedOnly = true;
    const FundSourceResult r = search();
    EXPECT_EQ(column(r, fsSapID), (QStringList {"'501", "'502", ""}));
    EXPECT_EQ(r.grid.rows.last().at(fsShare), QStringLiteral("300.00"));
}

TEST_F(FundSourceQuery, SaveDatesCompareByYearMonthDay)
{
    addCalc(t, "601", "ก", "15/03/2567", 100, 1, 0);
    addCalc(t, "602", "ข", "20/12/2566", 100, 1, 0);
    addCalc(t, "603", "ค", "05/01/2567", 100, 1, 0);
    for (const char* sap : {"601", "602", "603"})
        addPeriod(t, sap, "3", "01/10/2550", "30/09/2552");
    EXPECT_EQ(column(search("01/03/2567", "31/03/2567"), fsSapID), (QStringList {"'601", ""}));
    EXPECT_FALSE(search("01/04/2567", "30/04/2567").found);
    // across a year end: not a comparison of the texts as they stand
    EXPECT_EQ(column(search("15/12/2566", "10/01/2567"), fsSapID), (QStringList {"'602", "'603", ""}));
    // both ends included
    EXPECT_EQ(column(search("15/03/2567", "15/03/2567"), fsSapID), (QStringList {"'601", ""}));
}

TEST_F(FundSourceQuery, DepartmentFilterWithoutBlanksAtTheEnds)
{
    addCalc(t, "701", "ก", "01/03/2567", 100, 1, 0, QStringLiteral("คณะวิทยาศาสตร์"));
    addCalc(t, "702", "ข", "01/03/2567", 100, 1, 0, QStringLiteral("คณะแพทยศาสตร์"));
    addPeriod(t, "701", "3", "01/10/2550", "30/09/2552");
    addPeriod(t, "702", "3", "01/10/2550", "30/09/2552");
    criteria.department = QStringLiteral("  คณะแพทยศาสตร์ ");
    EXPECT_EQ(column(search(), fsSapID), (QStringList {"'702", ""}));
    criteria.department = QStringLiteral("คณะ' OR '1'='1");
    EXPECT_FALSE(search().found);
}

TEST_F(FundSourceQuery, OrderedByFirstName)
{
    addCalc(t, "802", "ข", "01/03/2567", 100, 1, 0);
    addCalc(t, "801", "ก", "01/03/2567", 100, 1, 0);
    addCalc(t, "800", "ค", "01/03/2567", 100, 1, 0);
    for (const char* sap : {"800", "801", "802"})
        addPeriod(t, sap, "3", "01/10/2550", "30/09/2552");
    EXPECT_EQ(column(search(), fsSapID), (QStringList {"'801", "'802", "'800", ""}));
}

TEST_F(FundSourceQuery, NothingFoundLeavesOneBlankRow)
{
    const FundSourceResult r = search();
    EXPECT_FALSE(r.found);
    ASSERT_EQ(r.grid.rows.size(), 1);
    EXPECT_EQ(r.grid.rows.at(0), QStringList(18, QString()));
    EXPECT_TRUE(r.lines.isEmpty());
}

TEST_F(FundSourceQuery, ADateThatIsNotOneIsRefused)
{
    criteria.from = QStringLiteral("1/3/2567");
    criteria.to = QStringLiteral("31/03/2567");
    const FundSourceResult r = queryFundSource(t.db(), criteria);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.error.contains(QStringLiteral("1/3/2567")));
}

TEST_F(FundSourceQuery, MemoMarksAreWrittenForTheGivenSapIdsOnly)
{
    addCalc(t, "901", "ก", "01/03/2567", 100, 1, 0);
    addCalc(t, "O'902", "ข", "01/03/2567", 100, 1, 0, QStringLiteral("คณะวิทยาศาสตร์"), QStringLiteral("N"));
    addCalc(t, "903", "ค", "01/03/2567", 100, 1, 0);
    QString error;
    ASSERT_TRUE(markMemoPrinted(t.db(), {"901", "O'902"}, &error)) << error.toStdString();
    auto mark = [&](const char* sap) {
        return t.scalar(QStringLiteral("SELECT Is_Print_doc FROM EP_mRec_Money_Chodchoy WHERE SapID = ?"),
            {QString::fromUtf8(sap)});
    };
    EXPECT_EQ(mark("901").toString(), QStringLiteral("Y"));
    EXPECT_EQ(mark("O'902").toString(), QStringLiteral("Y"));
    EXPECT_TRUE(mark("903").isNull());
    ASSERT_TRUE(markMemoPrinted(t.db(), {}, &error));
    EXPECT_TRUE(mark("903").isNull());
}

// The rows as runFundSource hands them over, in the order it calls, with the
// CSV written from them a line at a time.
class Recorded : public FundSourceRows
{
public:
    void titles(const QStringList& titles) override
    {
        calls << QStringLiteral("titles");
        grid.titles = titles;
        csv.row(titles);
    }
    void line(const QStringList& cells, const FundSourceLine& line) override
    {
        calls << QStringLiteral("line");
        grid.rows.append(cells);
        lines.append(line);
        csv.row(cells);
    }
    void last(const QStringList& cells) override
    {
        calls << QStringLiteral("last");
        grid.rows.append(cells);
        csv.row(cells);
    }

    QStringList calls;
    ReportGrid grid;
    QList<FundSourceLine> lines;
    QByteArray bytes;
    CsvLines csv {kFundSourceColumns, [this](const QByteArray& line) { bytes += line; }};
};

QStringList calls(int lines)
{
    QStringList c {QStringLiteral("titles")};
    for (int i = 0; i < lines; ++i)
        c << QStringLiteral("line");
    return c << QStringLiteral("last");
}

TEST_F(FundSourceQuery, RowsHandedOverOneByOneAreTheGridAndItsCsv)
{
    // Two calculations of one first name, each with lines of both sides and
    // one side twice; a code that is neither side's; a department that CSV
    // quotes; a name that sorts first.
    addCalc(t, "A2", "สมชาย", "01/03/2567", 1000, 1, 1, QStringLiteral("คณะ \"วิทย์\", ศาลายา"));
    addPeriod(t, "A2", "2", "01/10/2560", "31/03/2567");
    addPeriod(t, "A2", "3", "01/10/2555", "30/09/2560");
    addCalc(t, "A1", "สมชาย", "02/03/2567", 12000, 30, 10);
    addPeriod(t, "A1", "3", "01/10/2557", "30/09/2560");
    addPeriod(t, "A1", "2", "01/10/2550", "30/09/2555");
    addPeriod(t, "A1", "3", "01/10/2555", "30/09/2557");
    addCalc(t, "C1", "เกศินี", "03/03/2567", 100, 2, 1);
    addPeriod(t, "C1", "2", "01/10/2560", "31/03/2567");
    addPeriod(t, "C1", "9", "01/10/2550", "30/09/2552");
    addCalc(t, "D1", "", "04/03/2567", 50, 1, 0);
    addPeriod(t, "D1", "3", "01/10/2560", "31/03/2567");

    const FundSourceResult whole = search();
    ASSERT_TRUE(whole.found);
    Recorded rows;
    const FundSourceRun run = runFundSource(t.db(), criteria, rows);
    ASSERT_TRUE(run.ok) << run.error.toStdString();
    EXPECT_TRUE(run.found);
    EXPECT_EQ(rows.calls, calls(8));
    EXPECT_EQ(rows.grid.titles, whole.grid.titles);
    EXPECT_EQ(rows.grid.rows, whole.grid.rows);
    ASSERT_EQ(rows.lines.size(), whole.lines.size());
    for (int i = 0; i < rows.lines.size(); ++i) {
        EXPECT_EQ(rows.lines[i].sapId, whole.lines[i].sapId);
        EXPECT_EQ(rows.lines[i].university, whole.lines[i].university);
    }
    EXPECT_EQ(rows.bytes, gridToCsv(whole.grid));

    EXPECT_EQ(column(whole, fsSapID), (QStringList {"'D1", "'C1", "'C1", "'A1", "'A1", "'A1", "'A2", "'A2", ""}));
    EXPECT_EQ(column(whole, fsShare),
        (QStringList {"50.00", "66.67", "33.33", "3,000.00", "9,000.00", "9,000.00", "500.00", "500.00", "13,150.00"}));
    // each calculation and side once: 50 + 100 + 12,000 + 1,000
    EXPECT_TRUE(rows.bytes.endsWith(",,,ยอดรวมทั้งสิ้น,\"13,150.00\",,,,,,,,,,,,,\r\n"));
    EXPECT_TRUE(rows.bytes.contains(",\"คณะ \"\"วิทย์\"\", ศาลายา\","));
}

TEST_F(FundSourceQuery, NothingFoundHandsOverTheTitlesAndTheBlankRow)
{
    addCalc(t, "101", "ก", "15/03/2567", 10000, 30, 10);
    addPeriod(t, "101", "3", "01/10/2555", "31/03/2567");
    criteria.from = QStringLiteral("01/01/2568");
    criteria.to = QStringLiteral("31/12/2568");
    Recorded rows;
    const FundSourceRun run = runFundSource(t.db(), criteria, rows);
    ASSERT_TRUE(run.ok);
    EXPECT_FALSE(run.found);
    EXPECT_EQ(rows.calls, calls(0));
    EXPECT_EQ(rows.bytes, gridToCsv(queryFundSource(t.db(), criteria).grid));
    EXPECT_TRUE(rows.bytes.endsWith("\r\n,,,,,,,,,,,,,,,,,\r\n"));
}

TEST_F(FundSourceQuery, ARefusedSearchHandsOverNoRow)
{
    criteria.from = QStringLiteral("31/02/2567");
    criteria.to = QStringLiteral("31/03/2567");
    Recorded rows;
    const FundSourceRun run = runFundSource(t.db(), criteria, rows);
    EXPECT_FALSE(run.ok);
    EXPECT_FALSE(run.error.isEmpty());
    EXPECT_TRUE(rows.calls.isEmpty());
    EXPECT_TRUE(rows.bytes.isEmpty());
}

} // namespace
