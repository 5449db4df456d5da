#include "rules/ForecastRules.h"

#include "rules/AmountText.h"

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::reports;

namespace {

struct MultipleCase
{
    int service;
    int multiple;
};

class ForecastMultiple : public ::testing::TestWithParam<MultipleCase>
{
};

TEST_P(ForecastMultiple, FollowsTheFixedTable)
{
    EXPECT_EQ(Forecast_Multiple(GetParam().service), GetParam().multiple) << "S = " << GetParam().service;
}

INSTANTIATE_TEST_SUITE_P(Brackets, ForecastMultiple,
    ::testing::Values(MultipleCase {-5, 0}, MultipleCase {0, 0}, MultipleCase {1, 0}, MultipleCase {2, 3},
        MultipleCase {3, 6}, MultipleCase {5, 6}, MultipleCase {6, 8}, MultipleCase {9, 8}, MultipleCase {10, 10},
        MultipleCase {40, 10}));

TEST(ForecastEmployee, WorkedExampleRow)
{
    const Forecast_Result r = Forecast_Employee({"15/03/1960", "01/06/2005", 10000, 2561});
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(r.birth_date_be, "15/03/2503");
    EXPECT_EQ(r.year_60, 2563);
    EXPECT_EQ(r.start_date_be, "01/06/2548");
    EXPECT_EQ(r.count_start, 2550); // service before 2550 is not counted
    EXPECT_EQ(r.service_years, 13);
    EXPECT_EQ(r.years_to_go, 2);
    EXPECT_EQ(Amount_Text(r.salary_at_60), "11,025.00");
    EXPECT_EQ(r.multiple, 10);
    EXPECT_EQ(Amount_Text(r.amount), "110,250.00");
    EXPECT_EQ(r.age_in_calc_year, 58);
}

TEST(ForecastEmployee, StartAfterTheFloorCountsFromItsOwnYear)
{
    // Started in 2012 (2555), 60 in 2558.
    const Forecast_Result r = Forecast_Employee({"10/10/1955", "01/02/2012", 20000, 2557});
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(r.year_60, 2558);
    EXPECT_EQ(r.count_start, 2555);
    EXPECT_EQ(r.service_years, 3);
    EXPECT_EQ(r.multiple, 6);
    EXPECT_EQ(r.years_to_go, 1);
    EXPECT_EQ(Amount_Text(r.amount), "126,000.00");
}

TEST(ForecastEmployee, SixtyOrOlderKeepsTheCurrentSalary)
{
    for (int calcYear : {2563, 2570}) {
        const Forecast_Result r = Forecast_Employee({"15/03/1960", "01/06/2005", 12345.67, calcYear});
        ASSERT_TRUE(r.ok());
        EXPECT_EQ(r.years_to_go, 0) << calcYear;
        EXPECT_EQ(r.salary_at_60, 12345.67) << calcYear;
        EXPECT_EQ(r.age_in_calc_year, calcYear - 2503);
    }
}

TEST(ForecastEmployee, ServiceOfOneYearOrLessGivesNothing)
{
    // 60 in 2551 with the count starting at 2550: S = 1.
    Forecast_Result r = Forecast_Employee({"01/01/1948", "01/01/2000", 30000, 2557});
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.service_years, 1);
    EXPECT_EQ(r.multiple, 0);
    EXPECT_EQ(Amount_Text(r.amount), "0.00");
    // A start after the year of the 60th birthday: S is negative.
    r = Forecast_Employee({"01/01/1950", "01/01/2015", 30000, 2557});
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.service_years, 2553 - 2558);
    EXPECT_EQ(r.multiple, 0);
    EXPECT_EQ(Amount_Text(r.amount), "0.00");
}

TEST(ForecastEmployee, RaisesCompoundInDoublePrecision)
{
    // 17,000.00 raised three times: 19,679.625, shown 19,679.63.
    const Forecast_Result r = Forecast_Employee({"01/01/1970", "01/01/2010", 17000, 2570});
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.years_to_go, 3);
    EXPECT_EQ(Amount_Text(r.salary_at_60), "19,679.63");
}

TEST(ForecastEmployee, UnreadableDatesSaySo)
{
    EXPECT_EQ(Forecast_Employee({"", "01/06/2005", 1, 2561}).error, "อ่านวันเดือนปีเกิดไม่ได้");
    EXPECT_EQ(Forecast_Employee({"31/02/1960", "01/06/2005", 1, 2561}).error, "อ่านวันเดือนปีเกิดไม่ได้");
    EXPECT_EQ(Forecast_Employee({"15/03/1960", "", 1, 2561}).error, "อ่านวันที่เริ่มปฏิบัติงานไม่ได้");
    EXPECT_EQ(Forecast_Employee({"abc", "xx/yy/zzzz", 1, 2561}).error, "อ่านวันเดือนปีเกิดและวันที่เริ่มปฏิบัติงานไม่ได้");
}

TEST(ForecastEmployee, DateNotZeroFilledIsPaddedFirst)
{
    EXPECT_EQ(Forecast_Date_BE("5/3/1960"), "05/03/2503");
    EXPECT_EQ(Forecast_Date_BE("15/03/1960"), "15/03/2503");
    EXPECT_EQ(Forecast_Date_BE("15/03/60"), "");
}

TEST(ForecastYear, OnlyWholeNumbers)
{
    int y = 0;
    EXPECT_TRUE(Parse_Forecast_Year("2557", y));
    EXPECT_EQ(y, 2557);
    EXPECT_TRUE(Parse_Forecast_Year(" 2561 ", y));
    EXPECT_EQ(y, 2561);
    for (const char* bad : {"", "   ", "25a7", "2557.0", "-2557", "25570", "๒๕๕๗"})
        EXPECT_FALSE(Parse_Forecast_Year(bad, y)) << bad;
}

TEST(ForecastYear, OnlyBuddhistEraYears)
{
    int y = 0;
    // a Christian-era year read as Buddhist era: 565 years to the age of 60
    for (const char* bad : {"2026", "2399", "3000", "569", "0"})
        EXPECT_FALSE(Parse_Forecast_Year(bad, y)) << bad;
    for (const char* good : {"2400", "2569", "2999"})
        EXPECT_TRUE(Parse_Forecast_Year(good, y)) << good;
}

} // namespace
