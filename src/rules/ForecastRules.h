#pragma once

// The forecast of the compensation an employee would receive on reaching the
// age of 60. Plain C++ (no Qt): years are Buddhist era throughout.

#include <string>
#include <string_view>

namespace velmora::reports {

// Service before this year (2007) is not counted by the forecast.
inline constexpr int kForecastFloorYearBE = 2550;
// The yearly raise of the salary until the 60th birthday.
inline constexpr double kForecastYearlyRaise = 0.05;
// The calculation year the forecast screen starts with.
inline constexpr int kForecastDefaultYearBE = 2557;

struct Forecast_Input
{
    std::string birth_date; // dd/mm/yyyy, Christian era, as the employee list holds it
    std::string start_date; // dd/mm/yyyy, Christian era
    double salary = 0; // current monthly salary
    int calc_year = 0; // calculation year, Buddhist era
    double yearly_raise = kForecastYearlyRaise; // 0.05 is 5 percent
};

struct Forecast_Result
{
    std::string error; // empty when both dates could be read
    std::string birth_date_be; // 15/03/2503
    int year_60 = 0; // year of the 60th birthday
    std::string start_date_be; // 01/06/2548
    int count_start = 0; // first year counted: the start year, never before 2550
    int service_years = 0; // year_60 - count_start; may be 0 or negative
    int years_to_go = 0; // year_60 - calc_year, never negative
    double salary_at_60 = 0; // raised years_to_go times by the yearly raise
    int multiple = 0; // months of salary, from the fixed table
    double amount = 0; // multiple * salary_at_60
    int age_in_calc_year = 0; // calc_year - birth year

    bool ok() const { return error.empty(); }
};

// The multiple of the salary for whole years of service to the age of 60:
// 1 or less: 0; 2: 3; 3 to 5: 6; 6 to 9: 8; 10 or more: 10.
int Forecast_Multiple(int serviceYears);

// A Christian-era date text (zero-filled first if need be) with the year plus
// 543; empty when the text is not a real date.
std::string Forecast_Date_BE(std::string_view christianDate);

Forecast_Result Forecast_Employee(const Forecast_Input& input);

// The calculation year is a Buddhist-era year within these bounds: a
// Christian-era year (2026) would count five centuries to the age of 60.
inline constexpr int kForecastYearMin = 2400;
inline constexpr int kForecastYearMax = 2999;

// A calculation year as typed: digits only (blanks around are allowed), at
// most four digits, a Buddhist-era year from kForecastYearMin to
// kForecastYearMax. Returns false for anything else; `year` holds the number
// read when the text was digits.
bool Parse_Forecast_Year(std::string_view text, int& year);

} // namespace velmora::reports
