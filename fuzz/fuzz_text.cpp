// The parsers of what an officer types: dates, amounts, months, years, SAP ID
// lists. The first byte chooses the parser, the rest is the text (two texts
// are split at the first newline). Each must answer any text with a value or
// a refusal; what it accepts must be what it promises.
#include "files/CellText.h"
#include "rules/AmountText.h"
#include "rules/Calculation.h"
#include "rules/ForecastRules.h"
#include "rules/FundSourceRules.h"
#include "rules/ServicePeriod.h"
#include "rules/Utility.h"

#include <QString>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <string_view>

using namespace velmora;

namespace {

void check(bool promise)
{
    if (!promise)
        std::abort();
}

void parseNumber(std::string_view text)
{
    const auto value = Parse_Number(text);
    if (!value)
        return;
    (void)Amount_Text(*value);
    (void)Shortest_Number_Text(*value);
    if (std::isfinite(*value) && std::fabs(*value) < 1e15) {
        // A shown amount reads back as an amount.
        check(Parse_Number(Amount_Text(*value)).has_value());
        check(Parse_Number(Round2_Text(*value)).has_value());
    }
}

void parseDate(std::string_view text)
{
    for (Year_Era era : {Year_Era::Christian, Year_Era::Buddhist, Year_Era::Buddhist_25}) {
        const auto parts = Parse_Date_Text(text, era);
        check(parts.has_value() == Is_Valid_Date_Text(text, era));
        if (parts) {
            check(text.size() == 10);
            check(parts->month >= 1 && parts->month <= 12 && parts->day >= 1);
        }
    }
    (void)Pad_Date_Text(text);
    (void)reports::Forecast_Date_BE(text);
    QString why;
    const auto cellDate =
        import::cellAsDateText(import::Cell::makeText(QString::fromUtf8(text.data(), qsizetype(text.size()))), &why);
    if (cellDate)
        check(cellDate->size() == 10);
}

void parsePeriod(std::string_view start, std::string_view end)
{
    const Year_Month_Day_Result ymd = Try_Cal_Year_Month_Day(start, end);
    if (ymd.ok())
        check(ymd.text.size() == 8 && ymd.months >= 0 && ymd.months <= 11 && ymd.days >= 0);
    (void)Try_Cal_Month_Weight(start, end);
    const Service_Period_Result period = Service_Period(start, end);
    check(period.period.has_value() || !period.error.empty());
    try {
        (void)Cal_Month_Weight(start, end);
    } catch (const std::invalid_argument&) {
        // refused with its message, as promised
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    const size_t newline = text.find('\n');
    const std::string_view first = text.substr(0, newline);
    const std::string_view second = newline == std::string_view::npos ? std::string_view() : text.substr(newline + 1);
    switch (data[0] % 8) {
    case 0:
        parseNumber(text);
        break;
    case 1:
        parseDate(text);
        break;
    case 2: {
        const std::string error = calc::Check_Request_Month(text);
        check(!error.empty() || text.size() == 7);
        break;
    }
    case 3: {
        const calc::Salary_Check salary = calc::Check_Salary(text);
        if (salary.ok())
            check(std::isfinite(salary.value) && salary.value >= 0);
        break;
    }
    case 4: {
        int year = -1;
        if (reports::Parse_Forecast_Year(text, year))
            check(year >= 0 && year <= 9999);
        break;
    }
    case 5:
        parsePeriod(first, second);
        break;
    case 6:
        for (const std::string& id : Split_Sap_Id_List(text))
            check(!id.empty() && id.find(',') == std::string::npos);
        break;
    default: {
        Shown_Total total;
        if (total.add(first))
            (void)total.text();
        (void)Remove_Commas(text);
        (void)Trim_Spaces(text);
        (void)Right_Chars(text, static_cast<unsigned>(second.size()));
        break;
    }
    }
    return 0;
}
