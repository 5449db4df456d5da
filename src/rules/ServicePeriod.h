#pragma once

// Length of service between two text dates "dd/mm/yyyy" (both days counted).
// Month lengths always come from the Christian-era (Gregorian) calendar.

#include <optional>
#include <string>
#include <string_view>

namespace velmora {

// How the year of a date text is read.
enum class Year_Era {
    Christian, // as written
    Buddhist, // minus 543
    Buddhist_25, // minus 543 when the year text begins "25", else as written
};

struct Date_Parts
{
    int day = 0;
    int month = 0;
    int year = 0; // as written
};

// Days in a month of a Christian-era year (Gregorian leap rule).
int Days_In_Month(int month, int christianYear);

// Ten characters "dd/mm/yyyy", all digits but the two slashes, naming a real
// calendar date once the year is read in the given era (Christian year >= 1).
std::optional<Date_Parts> Parse_Date_Text(std::string_view text, Year_Era era);
bool Is_Valid_Date_Text(std::string_view text, Year_Era era = Year_Era::Christian);

// Whole years, months (0-11) and days as the 8-character text YYYYMMDD.
// Both dates carry Buddhist-era years. Throws std::invalid_argument with a
// Thai message for a malformed date or a start after the end.
std::string Cal_Year_Month_Day(std::string_view start, std::string_view end);

// Months with fraction, rounded to two decimals (halves away from zero).
// A year beginning "25" is Buddhist era. Throws std::invalid_argument with a
// Thai message for a malformed date or a start after the end.
double Cal_Month_Weight(std::string_view start, std::string_view end);

// Checked forms: `error` is empty on success, else a Thai message that can be
// shown to the officer as it stands.
struct Year_Month_Day_Result
{
    std::string text; // YYYYMMDD
    int years = 0;
    int months = 0;
    int days = 0;
    std::string error;
    bool ok() const { return error.empty(); }
};
Year_Month_Day_Result Try_Cal_Year_Month_Day(std::string_view start, std::string_view end);

struct Month_Weight_Result
{
    double months = 0;
    std::string error;
    bool ok() const { return error.empty(); }
};
Month_Weight_Result Try_Cal_Month_Weight(std::string_view start, std::string_view end);

// Both figures of one period of Buddhist-era dates.
struct Service_Period_Value
{
    std::string text; // YYYYMMDD
    int years = 0;
    int months = 0;
    int days = 0;
    double month_weight = 0;
};
struct Service_Period_Result
{
    std::optional<Service_Period_Value> period;
    std::string error;
};
Service_Period_Result Service_Period(std::string_view start, std::string_view end);

} // namespace velmora
