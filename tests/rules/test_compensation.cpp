#include "rules/Compensation.h"

#include <gtest/gtest.h>

using namespace velmora::calc;

namespace {

Earlier_Record Record(const char* sapid, const char* ssn, const char* month, int years = 0, int months = 0,
    int days = 0, int multiplier = 0, double salary = 0)
{
    Earlier_Record r;
    r.sapid = sapid;
    r.ssn = ssn;
    r.request_month = month;
    r.years = years;
    r.months = months;
    r.days = days;
    r.multiplier = multiplier;
    r.last_salary = salary;
    return r;
}

std::vector<std::string> Sapids(const std::vector<Earlier_Record>& records)
{
    std::vector<std::string> ids;
    for (const auto& r : records)
        ids.push_back(r.sapid);
    return ids;
}

// ---- Step 1 ----

TEST(Earlier_Records, OnlyOtherNumbersOfThePersonBeforeTheRequestMonth)
{
    const std::vector<Earlier_Record> records = {
        Record("A-same", "111", "01/2010"), // this calculation's own SAP ID
        Record("B-other", "222", "01/2010"), // another person
        Record("C-month", "111", "10/2012"), // the request month itself
        Record("D-later", "111", "11/2012"), // after it
        Record("E-nextyear", "111", "01/2013"),
        Record("F-before", "111", "09/2012"),
        Record("G-yearbefore", "111", "12/2011"),
    };
    const auto selected = Select_Earlier_Records(records, "111", "A-same", "10/2012");
    EXPECT_EQ(Sapids(selected), (std::vector<std::string> {"G-yearbefore", "F-before"}));
}

TEST(Earlier_Records, OrderedByYearBeforeMonth)
{
    // As text "03/2013" sorts before "12/2010"; chronologically it is later.
    const auto selected =
        Select_Earlier_Records({Record("X2", "111", "03/2013"), Record("X1", "111", "12/2010")}, "111", "Y", "01/2020");
    EXPECT_EQ(Sapids(selected), (std::vector<std::string> {"X1", "X2"}));
}

TEST(Earlier_Records, AnEmptyIdentityNumberMatchesNobody)
{
    EXPECT_TRUE(Select_Earlier_Records({Record("X", "", "01/2010")}, "", "Y", "01/2020").empty());
    EXPECT_TRUE(Select_Earlier_Records({Record("X", "  ", "01/2010")}, "  ", "Y", "01/2020").empty());
}

TEST(Earlier_Rows, GridShowsCompensationAsMultiplierTimesSalary)
{
    Earlier_Record r = Record("20000001", "111", "03/2013", 5, 5, 15, 6, 15000.0);
    r.depart_code = "01";
    r.depart_name = "สำนักงานอธิการบดี";
    r.start = "17/10/2550";
    r.end = "31/03/2556";
    r.total_days = 1993;
    r.paid_before = 1234.5;
    r.net = 88765.5;
    const auto rows = Build_Earlier_Rows({r});
    ASSERT_EQ(rows.size(), 1u);
    const std::vector<std::string> expected = {"1", "01", "สำนักงานอธิการบดี", "03/2013", "17/10/2550", "31/03/2556",
        "1993", "5", "5", "15", "90,000.00", "20000001", "6", "15,000.00", "1,234.50", "88,765.50"};
    EXPECT_EQ(Earlier_Grid_Cells(rows[0]), expected);
    EXPECT_EQ(rows[0].compensation, 90000.0);
    EXPECT_EQ(Earlier_Grid_Titles().size(), 16u);
}

// ---- Step 2 ----

struct Carry_Case
{
    Service in;
    Service out;
};

class Carry_Test : public testing::TestWithParam<Carry_Case>
{
};

TEST_P(Carry_Test, DaysThenMonths)
{
    const Service s = Carry(GetParam().in);
    EXPECT_EQ(s.years, GetParam().out.years);
    EXPECT_EQ(s.months, GetParam().out.months);
    EXPECT_EQ(s.days, GetParam().out.days);
}

INSTANTIATE_TEST_SUITE_P(Carries, Carry_Test,
    testing::Values(Carry_Case {{0, 0, 45}, {0, 1, 15}}, Carry_Case {{0, 0, 65}, {0, 2, 5}},
        Carry_Case {{0, 0, 30}, {0, 0, 30}}, Carry_Case {{0, 0, 31}, {0, 1, 1}}, Carry_Case {{0, 12, 0}, {1, 0, 0}},
        Carry_Case {{0, 11, 0}, {0, 11, 0}}, Carry_Case {{2, 11, 45}, {3, 0, 15}}, Carry_Case {{0, 25, 0}, {2, 1, 0}}));

TEST(Service_Totals, PeriodsAndEarlierRecordsSummedAndCarried)
{
    const auto periods = Build_Period_Rows({{"3", "", "01/10/2549", "30/09/2551"}, // 0 11 15
        {"2", "", "15/01/2552", "14/03/2552"}, // 0 02 00
        {"2", "", "01/06/2552", "20/06/2552"}}); // 0 00 20
    const auto earlier =
        Build_Earlier_Rows({Record("X", "1", "01/2010", 1, 6, 20), Record("Y", "1", "01/2011", 0, 7, 25)});
    const Service_Totals t = Compute_Service_Totals(periods, earlier);
    EXPECT_EQ(t.current.years, 1); // 13 months 35 days -> 14 months 5 days -> 1 year 2 months 5 days
    EXPECT_EQ(t.current.months, 2);
    EXPECT_EQ(t.current.days, 5);
    EXPECT_EQ(t.earlier.years, 2); // 1 y 13 m 45 d -> 1 y 14 m 15 d -> 2 y 2 m 15 d
    EXPECT_EQ(t.earlier.months, 2);
    EXPECT_EQ(t.earlier.days, 15);
    EXPECT_EQ(t.total.years, 3);
    EXPECT_EQ(t.total.months, 4);
    EXPECT_EQ(t.total.days, 20);
}

TEST(Span_Figures, WorkedExampleLabels)
{
    const Span_Figures f = Compute_Span_Figures({"17/10/2550", "30/09/2555"});
    ASSERT_TRUE(f.ok());
    EXPECT_EQ(f.total_days, 1811);
    EXPECT_EQ(f.text, "00041115");
    EXPECT_EQ(f.label27, "วันที่เริ่มคำนวณ 17/10/2550 ถึงวันที่ 30/09/2555");
    EXPECT_EQ(f.label25, "จำนวนปี = 0004 ปี  จำนวนเดือน = 11 เดือน จำนวนวัน =15 วัน");
}

TEST(Span_Figures, EndBeforeStartIsRefused)
{
    EXPECT_FALSE(Compute_Span_Figures({"17/10/2550", "31/12/2549"}).ok());
}

// ---- Step 3 ----

const std::vector<Bracket> kInstalled = {{1, 3, 3}, {3, 6, 6}, {6, 10, 8}, {10, 100, 10}};

struct Multiplier_Case
{
    int days;
    int years;
    std::vector<Bracket> brackets;
    int expected;
};

class Multiplier_Test : public testing::TestWithParam<Multiplier_Case>
{
};

TEST_P(Multiplier_Test, Chosen)
{
    const auto& c = GetParam();
    EXPECT_EQ(Choose_Multiplier(c.days, c.years, c.brackets), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Brackets, Multiplier_Test,
    testing::Values(Multiplier_Case {119, 0, kInstalled, 0}, Multiplier_Case {120, 0, kInstalled, 1},
        Multiplier_Case {364, 0, kInstalled, 1},
        // 365 days: the table, by total years; no 0-year row gives 0, one gives its multiplier.
        Multiplier_Case {365, 0, kInstalled, 0}, Multiplier_Case {365, 0, {{0, 1, 1}, {1, 3, 3}}, 1},
        Multiplier_Case {365, 1, kInstalled, 3}, Multiplier_Case {1811, 4, kInstalled, 6},
        Multiplier_Case {1811, 3, kInstalled, 6}, Multiplier_Case {1811, 6, kInstalled, 8},
        Multiplier_Case {9000, 100, kInstalled, 0},
        // Few days but earlier service: the days decide, not the years.
        Multiplier_Case {200, 12, kInstalled, 1},
        // Overlapping rows: the last one read wins.
        Multiplier_Case {400, 4, {{3, 6, 6}, {4, 5, 7}}, 7}, Multiplier_Case {400, 4, {{4, 5, 7}, {3, 6, 6}}, 6},
        Multiplier_Case {400, 4, {}, 0}));

TEST(Bracket_List, FixedLineThenOneLinePerRow)
{
    const auto lines = Bracket_List_Lines({{1, 3, 3}});
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "120  วัน    ไม่ครบ   12  เดือน  ได้  1 เท่า");
    EXPECT_EQ(lines[1], "ครบ 1  ปี   ไม่ครบ  3    ปี ได้   3    เท่า");
}

TEST(Money, OnlyTheMostRecentEarlierRecordIsPaidEarlier)
{
    const auto earlier = Build_Earlier_Rows(
        {Record("X1", "1", "12/2010", 1, 0, 0, 3, 10000), Record("X2", "1", "03/2013", 2, 0, 0, 3, 12345.67)});
    const Money m = Compute_Money(1811, 6, 20000, earlier, kInstalled);
    EXPECT_EQ(m.multiplier, 8);
    EXPECT_EQ(m.compensation_text, "160,000.00");
    EXPECT_EQ(m.paid_earlier_text, "37,037.01"); // 3 x 12,345.67, not the sum of both records
    EXPECT_EQ(m.net_text, "122,962.99");
    EXPECT_EQ(m.net, 122962.99);
}

TEST(Money, NoBracketGivesZeroAndANegativeNet)
{
    const auto earlier = Build_Earlier_Rows({Record("X", "1", "01/2010", 1, 0, 0, 3, 10000)});
    const Money m = Compute_Money(500, 1, 20000, earlier, {});
    EXPECT_EQ(m.multiplier, 0);
    EXPECT_EQ(m.compensation_text, "0.00");
    EXPECT_EQ(m.paid_earlier_text, "30,000.00");
    EXPECT_EQ(m.net_text, "-30,000.00");
}

TEST(Money, HalvesOfASatangRoundAwayFromZero)
{
    const Money m = Compute_Money(200, 0, 19679.625, {}, kInstalled);
    EXPECT_EQ(m.compensation_text, "19,679.63");
    EXPECT_EQ(m.net, 19679.63);
}

// ---- Step 4 ----

TEST(Split, WorkedExample)
{
    const auto periods =
        Build_Period_Rows({{"3", "", "01/10/2549", "30/09/2551"}, {"2", "", "01/10/2551", "30/09/2555"}});
    const Split s = Compute_Split(periods, 120000);
    EXPECT_EQ(s.department.days, 731);
    EXPECT_EQ(s.department.months_text, "11.48");
    EXPECT_EQ(s.department.percent_text, "19.3");
    EXPECT_EQ(s.department.amount_text, "23,160.00");
    EXPECT_EQ(s.university.days, 1461);
    EXPECT_EQ(s.university.months_text, "48");
    EXPECT_EQ(s.university.percent_text, "80.7");
    EXPECT_EQ(s.university.amount_text, "96,840.00");
    EXPECT_EQ(s.total_months_text, "59.48");
}

TEST(Split, PercentagesRoundedPerSide)
{
    // 2 and 1 months: 66.67 and 33.33 (not 66.67 and 33.34 to make 100).
    const auto periods =
        Build_Period_Rows({{"3", "", "01/01/2553", "28/02/2553"}, {"2", "", "01/03/2553", "31/03/2553"}});
    const Split s = Compute_Split(periods, 1000);
    EXPECT_EQ(s.department.months_text, "2");
    EXPECT_EQ(s.university.months_text, "1");
    EXPECT_EQ(s.department.percent_text, "66.67");
    EXPECT_EQ(s.university.percent_text, "33.33");
    EXPECT_EQ(s.department.amount_text, "666.70");
    EXPECT_EQ(s.university.amount_text, "333.30");
    EXPECT_EQ(s.total_months_text, "3");
}

TEST(Split, OtherCodesCountOnNeitherSide)
{
    const auto periods =
        Build_Period_Rows({{"2", "", "01/01/2553", "31/01/2553"}, {"4", "", "01/02/2553", "28/02/2553"}});
    const Split s = Compute_Split(periods, 5000);
    EXPECT_EQ(s.university.days, 31);
    EXPECT_EQ(s.department.days, 0);
    EXPECT_EQ(s.total_months_text, "1");
    EXPECT_EQ(s.university.percent_text, "100");
    EXPECT_EQ(s.university.amount_text, "5,000.00");
}

TEST(Split, NoMonthsOnEitherSideSharesNothing)
{
    for (const auto& periods : {Build_Period_Rows({}), Build_Period_Rows({{"4", "", "01/01/2553", "31/12/2553"}}),
             Build_Period_Rows({{"2", "", "01/01/2549", "31/12/2549"}})}) {
        const Split s = Compute_Split(periods, 120000);
        EXPECT_EQ(s.total_months_text, "0");
        for (const Split_Side* side : {&s.department, &s.university}) {
            EXPECT_EQ(side->percent_text, "0");
            EXPECT_EQ(side->amount_text, "0.00");
            EXPECT_EQ(side->months_text, "0");
        }
    }
}

TEST(Split, NegativeNetIsSharedAsIs)
{
    const auto periods =
        Build_Period_Rows({{"3", "", "01/01/2553", "28/02/2553"}, {"2", "", "01/03/2553", "31/03/2553"}});
    const Split s = Compute_Split(periods, -30000);
    EXPECT_EQ(s.department.amount_text, "-20,001.00");
    EXPECT_EQ(s.university.amount_text, "-9,999.00");
}

} // namespace
