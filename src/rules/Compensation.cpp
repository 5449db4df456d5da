#include "rules/Compensation.h"

#include "rules/AmountText.h"
#include "rules/FundSourceRules.h"
#include "rules/ServicePeriod.h"
#include "rules/Utility.h"

#include <algorithm>

namespace velmora::calc {

namespace {

// "mm/yyyy" as year digits followed by month digits, compared as text.
std::string Month_Key(std::string_view monthYear)
{
    const auto part = [&](std::size_t pos, std::size_t len) {
        return pos < monthYear.size() ? std::string(monthYear.substr(pos, len)) : std::string();
    };
    return part(3, 4) + part(0, 2);
}

// A figure as the screen writes it and reads it back.
double Shown_Amount(double value)
{
    return Parse_Number(Amount_Text(value)).value_or(0);
}

double Rounded2(double value)
{
    return Parse_Number(Round2_Text(value)).value_or(0);
}

} // namespace

std::vector<Earlier_Record> Select_Earlier_Records(const std::vector<Earlier_Record>& records, std::string_view ssn,
    std::string_view sapid, std::string_view requestMonth)
{
    std::vector<Earlier_Record> selected;
    if (Trim_Spaces(ssn).empty())
        return selected;
    const std::string key = Month_Key(requestMonth);
    for (const Earlier_Record& r : records) {
        if (r.ssn == ssn && r.sapid != sapid && Month_Key(r.request_month) < key)
            selected.push_back(r);
    }
    std::stable_sort(selected.begin(), selected.end(), [](const Earlier_Record& a, const Earlier_Record& b) {
        return Month_Key(a.request_month) < Month_Key(b.request_month);
    });
    return selected;
}

std::vector<Earlier_Row> Build_Earlier_Rows(const std::vector<Earlier_Record>& selected)
{
    std::vector<Earlier_Row> rows;
    rows.reserve(selected.size());
    int number = 0;
    for (const Earlier_Record& r : selected) {
        Earlier_Row row;
        row.number = ++number;
        row.record = r;
        row.compensation_text = Amount_Text(r.multiplier * r.last_salary);
        row.compensation = *Parse_Number(row.compensation_text);
        row.last_salary_text = Amount_Text(r.last_salary);
        row.paid_before_text = Amount_Text(r.paid_before);
        row.net_text = Amount_Text(r.net);
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<std::string> Earlier_Grid_Cells(const Earlier_Row& row)
{
    const Earlier_Record& r = row.record;
    return {std::to_string(row.number), r.depart_code, r.depart_name, r.request_month, r.start, r.end,
        std::to_string(r.total_days), std::to_string(r.years), std::to_string(r.months), std::to_string(r.days),
        row.compensation_text, r.sapid, std::to_string(r.multiplier), row.last_salary_text, row.paid_before_text,
        row.net_text};
}

const std::vector<std::string>& Earlier_Grid_Titles()
{
    static const std::vector<std::string> titles = {"No. ", "รหัสคณะ", "ชื่อหน่วยงาน ", "ปีที่ได้รับ ", "วันที่เริ่มคำนวณ", "วันที่สิ้นสุด",
        "จำนวนวันทั้งสิ้น", "จำนวนปี", "จำนวนเดือน", "จำนวนวัน", "จำนวนเงินที่ได้รับ", "SapID", "จำนวนเท่า", "เงินเดือนสุดท้าย",
        "เงินชดเชยที่เคยได้รับ", "เงินชดเชยรับสุทธิ"};
    return titles;
}

Service Carry(Service s)
{
    while (s.days > 30) {
        s.days -= 30;
        ++s.months;
    }
    while (s.months > 11) {
        s.months -= 12;
        ++s.years;
    }
    return s;
}

Span_Figures Compute_Span_Figures(const Calc_Span& span)
{
    Span_Figures f;
    f.label27 = "วันที่เริ่มคำนวณ " + span.start + " ถึงวันที่ " + span.end;
    const Year_Month_Day_Result r = Try_Cal_Year_Month_Day(span.start, span.end);
    if (!r.ok()) {
        f.error = "ช่วงวันที่คำนวณไม่ถูกต้อง: " + r.error;
        return f;
    }
    f.text = r.text;
    f.years_text = r.text.substr(0, 4);
    f.months_text = r.text.substr(4, 2);
    f.days_text = r.text.substr(6, 2);
    f.total_days = Days_Inclusive(span.start, span.end);
    f.label25 =
        "จำนวนปี = " + f.years_text + " ปี  จำนวนเดือน = " + f.months_text + " เดือน จำนวนวัน =" + f.days_text + " วัน";
    return f;
}

Service_Totals Compute_Service_Totals(const std::vector<Period_Row>& periods, const std::vector<Earlier_Row>& earlier)
{
    Service_Totals t;
    for (const Earlier_Row& e : earlier) {
        t.earlier.years += e.record.years;
        t.earlier.months += e.record.months;
        t.earlier.days += e.record.days;
    }
    t.earlier = Carry(t.earlier);
    for (const Period_Row& p : periods) {
        t.current.years += p.years;
        t.current.months += p.months;
        t.current.days += p.days;
    }
    t.current = Carry(t.current);
    t.total = Carry(
        {t.earlier.years + t.current.years, t.earlier.months + t.current.months, t.earlier.days + t.current.days});
    return t;
}

int Choose_Multiplier(int totalDays, int totalYears, const std::vector<Bracket>& brackets)
{
    if (totalDays < 120)
        return 0;
    if (totalDays < 365)
        return 1;
    int multiplier = 0;
    for (const Bracket& b : brackets) {
        if (totalYears >= b.from_years && totalYears < b.to_years)
            multiplier = b.multiplier;
    }
    return multiplier;
}

std::vector<std::string> Bracket_List_Lines(const std::vector<Bracket>& brackets)
{
    std::vector<std::string> lines = {"120  วัน    ไม่ครบ   12  เดือน  ได้  1 เท่า"};
    for (const Bracket& b : brackets)
        lines.push_back("ครบ " + std::to_string(b.from_years) + "  ปี   ไม่ครบ  " + std::to_string(b.to_years)
            + "    ปี ได้   " + std::to_string(b.multiplier) + "    เท่า");
    return lines;
}

Money Compute_Money(int totalDays, int totalYears, double salary, const std::vector<Earlier_Row>& earlier,
    const std::vector<Bracket>& brackets)
{
    Money m;
    m.multiplier = Choose_Multiplier(totalDays, totalYears, brackets);
    m.compensation_text = Amount_Text(m.multiplier * salary);
    m.compensation = Shown_Amount(m.multiplier * salary);
    // Only the most recent earlier record counts, not the sum of all.
    const double paid = earlier.empty() ? 0.0 : earlier.back().compensation;
    m.paid_earlier_text = Amount_Text(paid);
    m.paid_earlier = Shown_Amount(paid);
    m.net_text = Amount_Text(m.multiplier * salary - paid);
    m.net = Shown_Amount(m.multiplier * salary - paid);
    return m;
}

Split Compute_Split(const std::vector<Period_Row>& periods, double net)
{
    Split s;
    for (const Period_Row& p : periods) {
        const Fund_Side side = Fund_Side_Of_Code(p.code);
        if (side == Fund_Side::Department) {
            s.department.days += p.total_days;
            s.department.months += p.weight;
        } else if (side == Fund_Side::University) {
            s.university.days += p.total_days;
            s.university.months += p.weight;
        }
    }
    s.total_months = s.department.months + s.university.months;
    s.total_months_text = Shortest_Number_Text(s.total_months);
    for (Split_Side* side : {&s.department, &s.university}) {
        side->months_text = Shortest_Number_Text(side->months);
        // No months at all: nothing to share out rather than a division by zero.
        side->percent = s.total_months > 0 ? Rounded2(side->months / s.total_months * 100) : 0.0;
        side->percent_text = Shortest_Number_Text(side->percent);
        side->amount_text = Amount_Text(side->percent * net / 100);
    }
    return s;
}

} // namespace velmora::calc
