#include "rules/ServicePeriod.h"

#include "rules/AmountText.h"
#include "rules/Utility.h"

#include <cmath>
#include <stdexcept>
#include <tuple>

namespace velmora {

namespace {

constexpr int buddhistOffset = 543;

bool Is_Digit(char c)
{
    return c >= '0' && c <= '9';
}

int Digits_Value(std::string_view digits)
{
    int value = 0;
    for (char c : digits)
        value = value * 10 + (c - '0');
    return value;
}

int Christian_Year(std::string_view text, int year, Year_Era era)
{
    switch (era) {
    case Year_Era::Christian:
        return year;
    case Year_Era::Buddhist:
        return year - buddhistOffset;
    case Year_Era::Buddhist_25:
        return text.substr(6, 2) == "25" ? year - buddhistOffset : year;
    }
    return year;
}

const char* const formatHint = " (ต้องเป็น วว/ดด/ปปปป)";

// Reads both dates or says which one is wrong; a start after the end is
// refused too (the years are compared as written: both are in one era).
std::string Check_Dates(std::string_view start, std::string_view end, Year_Era era, Date_Parts& s, Date_Parts& e)
{
    const auto startParts = Parse_Date_Text(start, era);
    if (!startParts)
        return "วันที่เริ่มต้นไม่ถูกต้อง: \"" + std::string(start) + "\"" + formatHint;
    const auto endParts = Parse_Date_Text(end, era);
    if (!endParts)
        return "วันที่สิ้นสุดไม่ถูกต้อง: \"" + std::string(end) + "\"" + formatHint;
    s = *startParts;
    e = *endParts;
    if (std::tie(s.year, s.month, s.day) > std::tie(e.year, e.month, e.day))
        return "วันที่เริ่มต้น " + std::string(start) + " อยู่หลังวันที่สิ้นสุด " + std::string(end);
    return {};
}

std::string Zero_Filled(int value, unsigned width)
{
    return Right_Chars(std::string(width, '0') + Trim_Spaces(std::to_string(value)), width);
}

} // namespace

int Days_In_Month(int month, int christianYear)
{
    static constexpr int lengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    if (month == 2) {
        const bool leap = (christianYear % 4 == 0 && christianYear % 100 != 0) || christianYear % 400 == 0;
        return leap ? 29 : 28;
    }
    return lengths[month - 1];
}

std::optional<Date_Parts> Parse_Date_Text(std::string_view text, Year_Era era)
{
    if (text.size() != 10 || text[2] != '/' || text[5] != '/')
        return std::nullopt;
    for (std::size_t i : {0, 1, 3, 4, 6, 7, 8, 9})
        if (!Is_Digit(text[i]))
            return std::nullopt;
    Date_Parts parts;
    parts.day = Digits_Value(text.substr(0, 2));
    parts.month = Digits_Value(text.substr(3, 2));
    parts.year = Digits_Value(text.substr(6, 4));
    const int christian = Christian_Year(text, parts.year, era);
    if (christian < 1 || parts.month < 1 || parts.month > 12 || parts.day < 1
        || parts.day > Days_In_Month(parts.month, christian))
        return std::nullopt;
    return parts;
}

bool Is_Valid_Date_Text(std::string_view text, Year_Era era)
{
    return Parse_Date_Text(text, era).has_value();
}

Year_Month_Day_Result Try_Cal_Year_Month_Day(std::string_view start, std::string_view end)
{
    Year_Month_Day_Result result;
    Date_Parts s, e;
    result.error = Check_Dates(start, end, Year_Era::Buddhist, s, e);
    if (!result.error.empty())
        return result;

    // Christian era for the month lengths.
    const int sY = s.year - buddhistOffset;
    const int eY = e.year - buddhistOffset;
    const int dS = Days_In_Month(s.month, sY);
    const int dE = Days_In_Month(e.month, eY);

    int years = eY - sY - 1;
    int months = e.month + (12 - s.month) - 1; // whole months strictly between
    int count = 0;
    bool startPartial = true;
    bool endPartial = true;
    const bool startsOnFirst = start.substr(0, 2) == "01";
    const bool endsOnLast = e.day == dE;

    // A span from a day to the day before it in a later year is whole years.
    int nextDay = e.day + 1;
    int nextMonth = e.month;
    if (nextDay > dE) {
        nextDay = 1;
        nextMonth = e.month == 12 ? 1 : e.month + 1;
    }
    if (s.day == nextDay && s.month == nextMonth) {
        startPartial = false;
        endPartial = false;
        if (!(startsOnFirst && endsOnLast))
            ++count;
    }
    if (startsOnFirst) {
        startPartial = false;
        ++count;
    }
    if (endsOnLast) {
        endPartial = false;
        ++count;
    }

    int days = 0;
    if (startPartial && endPartial) {
        days = (dS - s.day + 1) + e.day;
        const double half = (dS + dE) / 2.0;
        if (!(half > days)) {
            // Partial days of at least half the two month lengths are one more month.
            days = Round_Half_Even(days - half);
            ++count;
        }
    } else if (startPartial) {
        days = dS - s.day + 1;
    } else if (endPartial) {
        days = e.day;
    }

    months += count;
    while (months > 11) {
        months -= 12;
        ++years;
    }

    result.years = years;
    result.months = months;
    result.days = days;
    result.text = Zero_Filled(years, 4) + Zero_Filled(months, 2) + Zero_Filled(days, 2);
    return result;
}

Month_Weight_Result Try_Cal_Month_Weight(std::string_view start, std::string_view end)
{
    Month_Weight_Result result;
    Date_Parts s, e;
    result.error = Check_Dates(start, end, Year_Era::Buddhist_25, s, e);
    if (!result.error.empty())
        return result;

    const int dS = Days_In_Month(s.month, Christian_Year(start, s.year, Year_Era::Buddhist_25));
    const int dE = Days_In_Month(e.month, Christian_Year(end, e.year, Year_Era::Buddhist_25));
    const int between = (e.year * 12 + e.month) - (s.year * 12 + s.month) - 1;
    const double total = between + static_cast<double>(dS - (s.day - 1)) / dS + static_cast<double>(e.day) / dE;
    // Rounded as the shown figure and read back from it.
    result.months = *Parse_Number(Round2_Text(total));
    return result;
}

std::string Cal_Year_Month_Day(std::string_view start, std::string_view end)
{
    auto result = Try_Cal_Year_Month_Day(start, end);
    if (!result.ok())
        throw std::invalid_argument(result.error);
    return result.text;
}

double Cal_Month_Weight(std::string_view start, std::string_view end)
{
    const auto result = Try_Cal_Month_Weight(start, end);
    if (!result.ok())
        throw std::invalid_argument(result.error);
    return result.months;
}

Service_Period_Result Service_Period(std::string_view start, std::string_view end)
{
    Service_Period_Result result;
    const auto ymd = Try_Cal_Year_Month_Day(start, end);
    if (!ymd.ok()) {
        result.error = ymd.error;
        return result;
    }
    const auto weight = Try_Cal_Month_Weight(start, end);
    if (!weight.ok()) {
        result.error = weight.error;
        return result;
    }
    result.period = Service_Period_Value {ymd.text, ymd.years, ymd.months, ymd.days, weight.months};
    return result;
}

} // namespace velmora
