#include "rules/ForecastRules.h"

#include "rules/ServicePeriod.h"
#include "rules/Utility.h"

namespace velmora::reports {

namespace {

constexpr int buddhistOffset = 543;

} // namespace

int Forecast_Multiple(int serviceYears)
{
    if (serviceYears <= 1)
        return 0;
    if (serviceYears == 2)
        return 3;
    if (serviceYears <= 5)
        return 6;
    if (serviceYears <= 9)
        return 8;
    return 10;
}

std::string Forecast_Date_BE(std::string_view christianDate)
{
    const std::string padded = Pad_Date_Text(Trim_Spaces(christianDate));
    const auto parts = Parse_Date_Text(padded, Year_Era::Christian);
    if (!parts)
        return {};
    return padded.substr(0, 6) + std::to_string(parts->year + buddhistOffset);
}

Forecast_Result Forecast_Employee(const Forecast_Input& input)
{
    Forecast_Result r;
    r.birth_date_be = Forecast_Date_BE(input.birth_date);
    r.start_date_be = Forecast_Date_BE(input.start_date);
    if (r.birth_date_be.empty() && r.start_date_be.empty())
        r.error = "อ่านวันเดือนปีเกิดและวันที่เริ่มปฏิบัติงานไม่ได้";
    else if (r.birth_date_be.empty())
        r.error = "อ่านวันเดือนปีเกิดไม่ได้";
    else if (r.start_date_be.empty())
        r.error = "อ่านวันที่เริ่มปฏิบัติงานไม่ได้";
    if (!r.ok())
        return r;

    const int birthYear = std::stoi(r.birth_date_be.substr(6));
    const int startYear = std::stoi(r.start_date_be.substr(6));
    r.year_60 = birthYear + 60;
    r.count_start = startYear < kForecastFloorYearBE ? kForecastFloorYearBE : startYear;
    r.service_years = r.year_60 - r.count_start;
    r.years_to_go = r.year_60 - input.calc_year;
    if (r.years_to_go < 0)
        r.years_to_go = 0;
    double salary = input.salary;
    for (int i = 0; i < r.years_to_go; ++i)
        salary = salary + salary * input.yearly_raise;
    r.salary_at_60 = salary;
    r.multiple = Forecast_Multiple(r.service_years);
    r.amount = r.multiple * r.salary_at_60;
    r.age_in_calc_year = input.calc_year - birthYear;
    return r;
}

bool Parse_Forecast_Year(std::string_view text, int& year)
{
    const std::string t = Trim_Spaces(text);
    if (t.empty() || t.size() > 4)
        return false;
    int value = 0;
    for (char c : t) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    year = value;
    return value >= kForecastYearMin && value <= kForecastYearMax;
}

} // namespace velmora::reports
