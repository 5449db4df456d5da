#include "rules/ServicePeriod.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <stdexcept>
#include <string>

using namespace velmora;

namespace {

struct Ymd_Case
{
    std::string start;
    std::string end;
    std::string expected; // YYYYMMDD
};

class Cal_Year_Month_Day_Test : public ::testing::TestWithParam<Ymd_Case>
{
};

TEST_P(Cal_Year_Month_Day_Test, GivesYearsMonthsDays)
{
    const auto& c = GetParam();
    EXPECT_EQ(Cal_Year_Month_Day(c.start, c.end), c.expected) << c.start << " - " << c.end;
    const auto checked = Try_Cal_Year_Month_Day(c.start, c.end);
    ASSERT_TRUE(checked.ok()) << checked.error;
    EXPECT_EQ(checked.text, c.expected);
    EXPECT_EQ(checked.years, std::stoi(c.expected.substr(0, 4)));
    EXPECT_EQ(checked.months, std::stoi(c.expected.substr(4, 2)));
    EXPECT_EQ(checked.days, std::stoi(c.expected.substr(6, 2)));
}

INSTANTIATE_TEST_SUITE_P(WorkedExamples, Cal_Year_Month_Day_Test,
    ::testing::Values(Ymd_Case {"01/04/2550", "31/03/2551", "00010000"},
        Ymd_Case {"15/06/2550", "14/06/2551", "00010000"}, Ymd_Case {"17/10/2550", "16/10/2553", "00030000"},
        Ymd_Case {"01/01/2550", "31/12/2551", "00020000"}, Ymd_Case {"01/06/2550", "30/06/2550", "00000100"},
        Ymd_Case {"01/06/2550", "20/06/2550", "00000020"}, Ymd_Case {"05/06/2550", "30/06/2550", "00000026"},
        Ymd_Case {"05/06/2550", "20/06/2550", "00000016"}, Ymd_Case {"15/06/2550", "20/08/2550", "00000206"},
        Ymd_Case {"15/06/2550", "19/08/2550", "00000204"}, Ymd_Case {"10/01/2552", "09/03/2552", "00000200"},
        Ymd_Case {"31/01/2552", "01/03/2552", "00000102"}, Ymd_Case {"17/10/2550", "15/10/2551", "00001130"},
        Ymd_Case {"17/10/2550", "30/09/2553", "00021115"}));

INSTANTIATE_TEST_SUITE_P(EdgeCases, Cal_Year_Month_Day_Test,
    ::testing::Values(
        // First to last day of one month is a whole month.
        Ymd_Case {"01/02/2553", "28/02/2553", "00000100"},
        // A day to the day before it, whatever the month lengths between.
        Ymd_Case {"31/01/2550", "30/01/2555", "00050000"}, Ymd_Case {"01/03/2551", "28/02/2552", "00010000"},
        // 2551 is 2008: 28/02 is not the last day of February, 29/02 is missing.
        Ymd_Case {"01/03/2550", "28/02/2551", "00001128"}, Ymd_Case {"01/03/2550", "29/02/2551", "00010000"},
        Ymd_Case {"16/12/2550", "15/12/2560", "00100000"},
        // Partial days one fewer than half the two month lengths stay days.
        Ymd_Case {"10/01/2552", "08/03/2552", "00000130"},
        // Months reaching 24 before the carry: two years, never 1 year 12 months.
        Ymd_Case {"01/01/2551", "31/12/2552", "00020000"},
        // February of a leap Christian year (2551 is 2008) has 29 days ...
        Ymd_Case {"01/02/2551", "29/02/2551", "00000100"}, Ymd_Case {"01/02/2551", "28/02/2551", "00000028"},
        // ... and the conversion is always made: 2447 is 1904, a leap year.
        Ymd_Case {"01/02/2447", "28/02/2447", "00000028"}, Ymd_Case {"01/02/2447", "29/02/2447", "00000100"},
        // One day, and one day across a year end.
        Ymd_Case {"15/06/2550", "15/06/2550", "00000001"}, Ymd_Case {"31/12/2550", "01/01/2551", "00000002"},
        // The first day of the start month alone.
        Ymd_Case {"01/06/2550", "01/06/2550", "00000001"}, Ymd_Case {"30/06/2550", "30/06/2550", "00000001"}));

struct Weight_Case
{
    std::string start;
    std::string end;
    double expected;
};

class Cal_Month_Weight_Test : public ::testing::TestWithParam<Weight_Case>
{
};

TEST_P(Cal_Month_Weight_Test, GivesMonthsWithFraction)
{
    const auto& c = GetParam();
    EXPECT_EQ(Cal_Month_Weight(c.start, c.end), c.expected) << c.start << " - " << c.end;
    const auto checked = Try_Cal_Month_Weight(c.start, c.end);
    ASSERT_TRUE(checked.ok()) << checked.error;
    EXPECT_EQ(checked.months, c.expected);
}

INSTANTIATE_TEST_SUITE_P(WorkedExamples, Cal_Month_Weight_Test,
    ::testing::Values(Weight_Case {"01/04/2550", "31/03/2551", 12.00}, Weight_Case {"17/10/2550", "30/09/2553", 35.48},
        Weight_Case {"15/06/2550", "20/08/2550", 2.18}, Weight_Case {"05/06/2550", "20/06/2550", 0.53},
        Weight_Case {"16/02/2552", "15/03/2552", 0.95}));

INSTANTIATE_TEST_SUITE_P(EdgeCases, Cal_Month_Weight_Test,
    ::testing::Values(
        // 2551 is the leap year 2008: 14/29 + 15/31.
        Weight_Case {"16/02/2551", "15/03/2551", 0.97}, Weight_Case {"01/02/2551", "29/02/2551", 1.00},
        // A Christian-era year is used as written.
        Weight_Case {"16/02/2009", "15/03/2009", 0.95}, Weight_Case {"16/02/2008", "15/03/2008", 0.97},
        // Not beginning "25": no conversion (2447 read as a common year).
        Weight_Case {"16/02/2447", "15/03/2447", 0.95}, Weight_Case {"15/06/2550", "15/06/2550", 0.03},
        Weight_Case {"01/01/2550", "31/12/2551", 24.00},
        // 0 + 16/31 + 15/28 = 1.0518...
        Weight_Case {"16/01/2550", "15/02/2550", 1.05}));

struct Bad_Case
{
    std::string start;
    std::string end;
};

class Refused_Dates_Test : public ::testing::TestWithParam<Bad_Case>
{
};

TEST_P(Refused_Dates_Test, AreReportedNeverGarbled)
{
    const auto& c = GetParam();
    EXPECT_THROW(Cal_Year_Month_Day(c.start, c.end), std::invalid_argument);
    EXPECT_THROW(Cal_Month_Weight(c.start, c.end), std::invalid_argument);

    const auto ymd = Try_Cal_Year_Month_Day(c.start, c.end);
    EXPECT_FALSE(ymd.ok());
    EXPECT_NE(ymd.error.find("วันที่"), std::string::npos) << ymd.error;
    EXPECT_TRUE(ymd.text.empty());
    EXPECT_FALSE(Try_Cal_Month_Weight(c.start, c.end).ok());

    const auto both = Service_Period(c.start, c.end);
    EXPECT_FALSE(both.period.has_value());
    EXPECT_FALSE(both.error.empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, Refused_Dates_Test,
    ::testing::Values(
        // A start after the end (a period ending before the floor date).
        Bad_Case {"17/10/2550", "30/09/2549"}, Bad_Case {"16/10/2553", "17/10/2550"},
        Bad_Case {"20/06/2550", "05/06/2550"}, Bad_Case {"01/07/2550", "30/06/2550"},
        // Malformed texts.
        Bad_Case {"5/6/2550", "30/06/2550"}, Bad_Case {"15-06-2550", "30/06/2550"}, Bad_Case {"15/06/2550", ""},
        Bad_Case {"15/06/2550 ", "30/06/2551"}, Bad_Case {"aa/bb/cccc", "30/06/2551"},
        Bad_Case {"๑๕/๐๖/๒๕๕๐", "30/06/2551"},
        // Impossible days and months.
        Bad_Case {"31/04/2550", "30/06/2551"}, Bad_Case {"00/01/2550", "30/06/2551"},
        Bad_Case {"01/13/2550", "30/06/2551"}, Bad_Case {"01/00/2550", "30/06/2551"},
        Bad_Case {"01/01/2550", "29/02/2552"})); // 2552 is 2009, not a leap year

TEST(Service_Period, MessagesNameTheFault)
{
    EXPECT_NE(Try_Cal_Year_Month_Day("31/04/2550", "30/06/2551").error.find("วันที่เริ่มต้นไม่ถูกต้อง"), std::string::npos);
    EXPECT_NE(Try_Cal_Year_Month_Day("01/04/2550", "31/06/2551").error.find("วันที่สิ้นสุดไม่ถูกต้อง"), std::string::npos);
    EXPECT_NE(Try_Cal_Year_Month_Day("16/10/2553", "17/10/2550").error.find("อยู่หลังวันที่สิ้นสุด"), std::string::npos);
}

TEST(Service_Period, GivesBothFigures)
{
    const auto result = Service_Period("17/10/2550", "30/09/2553");
    ASSERT_TRUE(result.period.has_value()) << result.error;
    EXPECT_EQ(result.period->text, "00021115");
    EXPECT_EQ(result.period->years, 2);
    EXPECT_EQ(result.period->months, 11);
    EXPECT_EQ(result.period->days, 15);
    EXPECT_EQ(result.period->month_weight, 35.48);
}

std::string Date_Text(int day, int month, int year)
{
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%02d/%02d/%04d", day, month, year);
    return buffer;
}

TEST(Service_Period, EveryOrderedPairGivesAReadableResult)
{
    // Every start in two Buddhist-era years against ends up to 400 days later:
    // the text is always eight digits with months 0-11 and days below 31.
    for (int year = 2550; year <= 2551; ++year)
        for (int month = 1; month <= 12; ++month)
            for (int day = 1; day <= Days_In_Month(month, year - 543); ++day) {
                const std::string start = Date_Text(day, month, year);
                int d = day, m = month, y = year;
                for (int step = 0; step < 400; ++step) {
                    const std::string end = Date_Text(d, m, y);
                    const auto result = Service_Period(start, end);
                    ASSERT_TRUE(result.period.has_value()) << start << " - " << end << result.error;
                    const auto& p = *result.period;
                    ASSERT_EQ(p.text.size(), 8u) << start << " - " << end;
                    for (char c : p.text)
                        ASSERT_TRUE(c >= '0' && c <= '9') << start << " - " << end << " " << p.text;
                    ASSERT_GE(p.years, 0);
                    ASSERT_LE(p.years, 1);
                    ASSERT_LE(p.months, 11);
                    ASSERT_LE(p.days, 30) << start << " - " << end;
                    ASSERT_GT(p.month_weight, 0.0) << start << " - " << end;
                    ASSERT_LT(p.month_weight, 14.0) << start << " - " << end;
                    if (++d > Days_In_Month(m, y - 543)) {
                        d = 1;
                        if (++m > 12) {
                            m = 1;
                            ++y;
                        }
                    }
                }
            }
}

struct Valid_Case
{
    std::string text;
    Year_Era era;
    bool valid;
};

class Is_Valid_Date_Text_Test : public ::testing::TestWithParam<Valid_Case>
{
};

TEST_P(Is_Valid_Date_Text_Test, ChecksFormAndCalendar)
{
    EXPECT_EQ(Is_Valid_Date_Text(GetParam().text, GetParam().era), GetParam().valid) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Cases, Is_Valid_Date_Text_Test,
    ::testing::Values(Valid_Case {"17/10/2550", Year_Era::Buddhist, true},
        Valid_Case {"29/02/2551", Year_Era::Buddhist, true}, // 2008
        Valid_Case {"29/02/2551", Year_Era::Christian, false},
        Valid_Case {"29/02/2552", Year_Era::Buddhist, false}, // 2009
        Valid_Case {"29/02/2552", Year_Era::Christian, true}, Valid_Case {"29/02/2552", Year_Era::Buddhist_25, false},
        Valid_Case {"29/02/2008", Year_Era::Buddhist_25, true}, Valid_Case {"29/02/1900", Year_Era::Christian, false},
        Valid_Case {"29/02/2000", Year_Era::Christian, true}, Valid_Case {"30/12/1899", Year_Era::Christian, true},
        Valid_Case {"31/12/2560", Year_Era::Buddhist, true}, Valid_Case {"31/04/2560", Year_Era::Buddhist, false},
        Valid_Case {"32/01/2560", Year_Era::Christian, false}, Valid_Case {"00/01/2560", Year_Era::Christian, false},
        Valid_Case {"01/00/2560", Year_Era::Christian, false}, Valid_Case {"01/13/2560", Year_Era::Christian, false},
        Valid_Case {"01/01/0000", Year_Era::Christian, false}, Valid_Case {"01/01/0100", Year_Era::Buddhist, false},
        Valid_Case {"5/3/2560", Year_Era::Christian, false}, Valid_Case {"05-03-2560", Year_Era::Christian, false},
        Valid_Case {"05/03/60", Year_Era::Christian, false}, Valid_Case {"05/03/2560 ", Year_Era::Christian, false},
        Valid_Case {" 5/03/2560", Year_Era::Christian, false}, Valid_Case {"", Year_Era::Christian, false}));

TEST(Days_In_Month, FollowsTheGregorianRule)
{
    EXPECT_EQ(Days_In_Month(2, 2008), 29);
    EXPECT_EQ(Days_In_Month(2, 2009), 28);
    EXPECT_EQ(Days_In_Month(2, 1900), 28);
    EXPECT_EQ(Days_In_Month(2, 2000), 29);
    EXPECT_EQ(Days_In_Month(4, 2009), 30);
    EXPECT_EQ(Days_In_Month(12, 2009), 31);
    EXPECT_EQ(Days_In_Month(13, 2009), 0);
}

} // namespace
