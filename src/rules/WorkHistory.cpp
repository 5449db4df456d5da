#include "rules/WorkHistory.h"

#include "rules/AmountText.h"
#include "rules/ServicePeriod.h"
#include "rules/Utility.h"

#include <tuple>

namespace velmora::calc {

namespace {

constexpr int kBuddhist_Offset = 543;

// Days since 1 March of year 0 of the proleptic Gregorian calendar.
long Day_Number(int year, int month, int day)
{
    year -= month <= 2 ? 1 : 0;
    const long era = (year >= 0 ? year : year - 399) / 400;
    const long yearOfEra = year - era * 400;
    const long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra;
}

long Day_Number_BE(const Date_Parts& d)
{
    return Day_Number(d.year - kBuddhist_Offset, d.month, d.day);
}

bool Before(const Date_Parts& a, const Date_Parts& b)
{
    return std::tie(a.year, a.month, a.day) < std::tie(b.year, b.month, b.day);
}

const Date_Parts& Floor_Parts()
{
    static const Date_Parts floor = *Parse_Date_Text(kFloor_Date, Year_Era::Buddhist);
    return floor;
}

// The later of a date text and the floor date; a text that cannot be read
// stays as it is.
std::string Raised_To_Floor(std::string_view date)
{
    const auto parts = Parse_Date_Text(date, Year_Era::Buddhist);
    if (parts && Before(*parts, Floor_Parts()))
        return kFloor_Date;
    return std::string(date);
}

// Nothing typed in a masked date edit: only blanks, slashes and mask fillers.
bool Is_Blank_Date(std::string_view text)
{
    for (char c : text)
        if (c != ' ' && c != '/' && c != '_')
            return false;
    return true;
}

// The first `count` code points of a UTF-8 text.
std::string First_Chars(std::string_view text, std::size_t count)
{
    std::size_t pos = 0;
    for (std::size_t seen = 0; pos < text.size() && seen < count; ++seen) {
        ++pos;
        while (pos < text.size() && (static_cast<unsigned char>(text[pos]) & 0xC0) == 0x80)
            ++pos;
    }
    return std::string(text.substr(0, pos));
}

const char* const kDate_Hint = " (รูปแบบที่บันทึก dd/mm/yyyy (ปีเป็นพุทธศักราช) เช่น 01/10/2550)";

// A complete, real date whose year reads as Buddhist era (2400-2999).
std::string Check_Entered_Date(std::string_view text, const std::string& what)
{
    const auto parts = Parse_Date_Text(text, Year_Era::Buddhist);
    if (!parts)
        return what + "ไม่ถูกต้อง: \"" + std::string(text) + "\"" + kDate_Hint;
    if (parts->year < 2400 || parts->year > 2999)
        return what + "ต้องใช้ปีพุทธศักราช: \"" + std::string(text) + "\"" + kDate_Hint;
    return {};
}

} // namespace

int Days_Inclusive(std::string_view start, std::string_view end)
{
    const auto s = Parse_Date_Text(start, Year_Era::Buddhist);
    const auto e = Parse_Date_Text(end, Year_Era::Buddhist);
    if (!s || !e || Before(*e, *s))
        return -1;
    return static_cast<int>(Day_Number_BE(*e) - Day_Number_BE(*s)) + 1;
}

Period_Row Build_Period_Row(const Work_Period& period)
{
    Period_Row row;
    row.code = period.code;
    row.type_name = period.type_name;
    row.begin = period.begin;
    row.end = period.end;
    row.calc_begin = Raised_To_Floor(period.begin);

    const auto begin = Parse_Date_Text(period.begin, Year_Era::Buddhist);
    const auto end = Parse_Date_Text(period.end, Year_Era::Buddhist);
    if (!begin) {
        row.error = "วันที่เริ่มปฏิบัติงานของประวัติการทำงานไม่ถูกต้อง: \"" + period.begin + "\"";
        return row;
    }
    if (!end) {
        row.error = "วันที่สิ้นสุดของประวัติการทำงานไม่ถูกต้อง: \"" + period.end + "\"";
        return row;
    }
    if (Before(*end, *begin)) {
        row.error = "ประวัติการทำงาน " + period.begin + " - " + period.end + " วันที่สิ้นสุดอยู่ก่อนวันที่เริ่มปฏิบัติงาน";
        return row;
    }

    row.total_days = Days_Inclusive(period.begin, period.end);
    if (Before(*end, Floor_Parts())) {
        // Wholly before the floor date: nothing of it counts.
        row.before_floor = true;
    } else {
        const Service_Period_Result figures = Service_Period(row.calc_begin, row.end);
        if (!figures.period) {
            row.error = figures.error;
            return row;
        }
        row.years = figures.period->years;
        row.months = figures.period->months;
        row.days = figures.period->days;
        row.weight = figures.period->month_weight;
    }
    row.whole_months = row.years * 12 + row.months + (row.days > 15 ? 1 : 0);

    row.total_days_text = std::to_string(row.total_days);
    const std::string ymd = Right_Chars("0000" + std::to_string(row.years), 4)
        + Right_Chars("0" + std::to_string(row.months), 2) + Right_Chars("0" + std::to_string(row.days), 2);
    row.years_text = ymd.substr(0, 4);
    row.months_text = ymd.substr(4, 2);
    row.days_text = ymd.substr(6, 2);
    row.whole_months_text = std::to_string(row.whole_months);
    row.weight_text = Amount_Text(row.weight);
    row.weight = *Parse_Number(row.weight_text); // what the split reads back
    return row;
}

std::vector<Period_Row> Build_Period_Rows(const std::vector<Work_Period>& periods)
{
    std::vector<Period_Row> rows;
    rows.reserve(periods.size());
    for (const Work_Period& p : periods)
        rows.push_back(Build_Period_Row(p));
    return rows;
}

std::vector<std::string> Period_Grid_Cells(const Period_Row& row, int number)
{
    return {std::to_string(number), row.code, row.type_name, row.begin, row.calc_begin, row.end, row.total_days_text,
        row.years_text, row.months_text, row.days_text, row.whole_months_text, row.weight_text};
}

const std::vector<std::string>& Period_Grid_Titles()
{
    static const std::vector<std::string> titles = {"No. ", "รหัสประเภท", "ชื่อประเภท ", "วันที่เริ่มปฏิบัติงาน", "วันที่เริ่มคำนวณ",
        "วันที่สิ้นสุด", "จำนวนวันทั้งสิ้น", "จำนวนปี", "จำนวนเดือน", "จำนวนวัน", "จำนวนเดือนทั้งสิ้น", "จำนวนเดือนคำนวณ"};
    return titles;
}

const std::vector<int>& Period_Grid_Widths()
{
    static const std::vector<int> widths = {50, 70, 180, 90, 90, 90, 90, 90, 90, 90, 90, 90};
    return widths;
}

Calc_Span Build_Calc_Span(
    const std::vector<Period_Row>& rows, std::string_view contract_begin, std::string_view contract_end)
{
    Calc_Span span;
    if (rows.empty()) {
        span.start = contract_begin;
        span.end = contract_end;
    } else {
        span.start = rows.front().calc_begin;
        span.end = rows.back().end;
    }
    span.start = Raised_To_Floor(span.start);
    return span;
}

New_Period Check_New_Period(std::string_view typeText, std::string_view begin, std::string_view end)
{
    New_Period result;
    if (Is_Blank_Date(begin)) {
        result.error = "กรุณาใส่ข้อมูลวันที่เริ่มปฎิบัติงาน";
        return result;
    }
    if (Is_Blank_Date(end)) {
        result.error = "กรุณาใส่ข้อมูลวันที่สิันสุดสัญญา";
        return result;
    }
    if (typeText.empty() || (typeText[0] != '2' && typeText[0] != '3')) {
        result.error = "กรุณาเลือกประเภทสภานภาพ: 2 พนักงานมหาวิทยาลัย หรือ 3 พนักงานส่วนงาน";
        return result;
    }
    result.error = Check_Entered_Date(begin, "วันที่เริ่มปฎิบัติงาน");
    if (result.error.empty())
        result.error = Check_Entered_Date(end, "วันที่สิ้นสุดสัญญา");
    if (!result.error.empty())
        return result;

    const Date_Parts b = *Parse_Date_Text(begin, Year_Era::Buddhist);
    const Date_Parts e = *Parse_Date_Text(end, Year_Era::Buddhist);
    if (Before(e, b)) {
        result.error = "วันที่สิ้นสุดสัญญาต้องไม่อยู่ก่อนวันที่เริ่มปฎิบัติงาน";
        return result;
    }
    if (Before(e, Floor_Parts())) {
        result.error = std::string("วันที่สิ้นสุดสัญญาต้องไม่อยู่ก่อนวันที่ ") + kFloor_Date + " (ระยะเวลาก่อนวันที่นี้ไม่นำมาคำนวณ)";
        return result;
    }
    result.period.code = std::string(1, typeText[0]);
    result.period.type_name = Trim_Spaces(First_Chars(typeText.substr(1), 50));
    result.period.begin = std::string(begin);
    result.period.end = std::string(end);
    return result;
}

bool Periods_Overlap(const Work_Period& a, const Work_Period& b)
{
    const auto aBegin = Parse_Date_Text(a.begin, Year_Era::Buddhist);
    const auto aEnd = Parse_Date_Text(a.end, Year_Era::Buddhist);
    const auto bBegin = Parse_Date_Text(b.begin, Year_Era::Buddhist);
    const auto bEnd = Parse_Date_Text(b.end, Year_Era::Buddhist);
    if (!aBegin || !aEnd || !bBegin || !bEnd || Before(*aEnd, *aBegin) || Before(*bEnd, *bBegin))
        return false;
    return !Before(*aEnd, *bBegin) && !Before(*bEnd, *aBegin);
}

std::string Period_Text(const Work_Period& period)
{
    std::string text = period.code;
    if (!period.type_name.empty())
        text += (text.empty() ? "" : " ") + period.type_name;
    return text + " " + period.begin + " - " + period.end;
}

int Find_Overlap_With(const std::vector<Work_Period>& stored, const Work_Period& added)
{
    for (std::size_t i = 0; i < stored.size(); ++i)
        if (Periods_Overlap(stored[i], added))
            return static_cast<int>(i);
    return -1;
}

std::pair<int, int> Find_Overlap(const std::vector<Work_Period>& periods)
{
    for (std::size_t i = 0; i < periods.size(); ++i)
        for (std::size_t j = i + 1; j < periods.size(); ++j)
            if (Periods_Overlap(periods[i], periods[j]))
                return {static_cast<int>(i), static_cast<int>(j)};
    return {-1, -1};
}

std::string Added_Overlap_Message(const Work_Period& added, const Work_Period& stored)
{
    return "ช่วงเวลาที่เพิ่ม " + added.begin + " - " + added.end + " ทับกับช่วงที่บันทึกไว้แล้ว " + Period_Text(stored)
        + " อายุงานจะถูกนับซ้ำ จึงไม่บันทึก กรุณาตรวจสอบวันที่";
}

std::string Stored_Overlap_Message(const Work_Period& a, const Work_Period& b)
{
    return "ประวัติการทำงานมีช่วงเวลาทับกัน: " + Period_Text(a) + " และ " + Period_Text(b)
        + " อายุงานจะถูกนับซ้ำ กรุณาแก้ไขประวัติการทำงานก่อนบันทึก";
}

} // namespace velmora::calc
