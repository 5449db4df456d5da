#include "rules/RunLines.h"

#include "rules/AmountText.h"
#include "rules/CalculationJson.h"
#include "rules/NationalId.h"

namespace velmora::run {

namespace {

double Shown(const std::string& text)
{
    return Parse_Number(text).value_or(0.0);
}

std::string Service_Text(const calc::Service& s)
{
    return std::to_string(s.years) + " ปี " + std::to_string(s.months) + " เดือน " + std::to_string(s.days) + " วัน";
}

// Every line of the object but the first indented by `pad`; the last newline dropped.
std::string Indented(const std::string& object, const std::string& pad)
{
    std::string out;
    for (std::size_t i = 0; i < object.size(); ++i) {
        const char c = object[i];
        if (c == '\n') {
            if (i + 1 == object.size())
                break;
            out += '\n';
            out += pad;
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

Run_Totals Compute_Run_Totals(const std::vector<Run_Line>& lines)
{
    Run_Totals t;
    for (const Run_Line& l : lines) {
        switch (l.state) {
        case Line_State::Ready:
            ++t.ready;
            break;
        case Line_State::Refused:
            ++t.refused;
            continue;
        case Line_State::Saved:
            ++t.saved;
            break;
        }
        const calc::Calculation& c = l.calculation;
        t.salary += Shown(c.salary_text);
        t.compensation += Shown(c.money.compensation_text);
        t.paid_earlier += Shown(c.money.paid_earlier_text);
        t.net += Shown(c.money.net_text);
        t.department += Shown(c.split.department.amount_text);
        t.university += Shown(c.split.university.amount_text);
    }
    return t;
}

std::string Line_Note(const Run_Line& line)
{
    if (!line.computed() || Check_Ssn(line.input.ssn) == Ssn_Status::Valid)
        return {};
    return kSsn_Check_Note;
}

const char* State_Code(Line_State state)
{
    switch (state) {
    case Line_State::Ready:
        return "ready";
    case Line_State::Saved:
        return "saved";
    case Line_State::Refused:
        break;
    }
    return "refused";
}

std::string State_Text(Line_State state)
{
    switch (state) {
    case Line_State::Ready:
        return "พร้อมบันทึก";
    case Line_State::Saved:
        return "บันทึกแล้ว";
    case Line_State::Refused:
        break;
    }
    return "คำนวณไม่ได้";
}

const std::vector<std::string>& Run_Grid_Titles()
{
    static const std::vector<std::string> titles = {"No. ", "SAP ID ", "ชื่อ-นามสกุล", "ส่วนงาน(คณะ)", "ช่วงที่คำนวณ",
        "ระยะเวลาปฎิบัติงาน", "จำนวนเท่า", "เงินเดือนสุดท้าย", "เงินชดเชย", "เงินชดเชยที่เคยได้รับ", "ยอดเงินรับสุทธิ", "ส่วนงาน",
        "มหาวิทยาลัย", "สถานะ", "เหตุผล"};
    return titles;
}

bool Is_Money_Column(int column)
{
    return column >= 7 && column <= 12;
}

std::vector<std::string> Run_Grid_Cells(const Run_Line& line, int number)
{
    std::vector<std::string> cells = {std::to_string(number), line.sapid, line.name, line.department};
    if (line.computed()) {
        const calc::Calculation& c = line.calculation;
        cells.insert(cells.end(),
            {c.span.start + " - " + c.span.end, Service_Text(c.service.current), std::to_string(c.money.multiplier),
                c.salary_text, c.money.compensation_text, c.money.paid_earlier_text, c.money.net_text,
                c.split.department.amount_text, c.split.university.amount_text});
    } else {
        cells.resize(cells.size() + 9);
    }
    cells.push_back(State_Text(line.state));
    cells.push_back(line.reason.empty() ? Line_Note(line) : line.reason);
    return cells;
}

std::vector<std::string> Run_Total_Cells(const Run_Totals& t)
{
    std::string state = "พร้อมบันทึก " + std::to_string(t.ready) + " รายการ";
    if (t.saved > 0)
        state += ", บันทึกแล้ว " + std::to_string(t.saved) + " รายการ";
    return {"", "", "รวม", "", "", "", "", Amount_Text(t.salary), Amount_Text(t.compensation),
        Amount_Text(t.paid_earlier), Amount_Text(t.net), Amount_Text(t.department), Amount_Text(t.university), state,
        "คำนวณไม่ได้ " + std::to_string(t.refused) + " รายการ"};
}

std::string Run_Json(const std::string& month, const std::vector<Run_Line>& lines)
{
    using calc::Json_String;
    std::string out = "{\n  \"month\": " + Json_String(month) + ",\n  \"lines\": [";
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Run_Line& l = lines[i];
        const std::string note = Line_Note(l);
        out += i ? ",\n" : "\n";
        out += "    {\n      \"sapid\": " + Json_String(l.sapid)
            + ",\n      \"state\": " + Json_String(State_Code(l.state)) + ",\n      \"reason\": "
            + (l.reason.empty() ? std::string("null") : Json_String(l.reason)) + ",\n      \"note\": "
            + (note.empty() ? std::string("null") : Json_String(note)) + ",\n      \"calc\": "
            + (l.computed() ? Indented(calc::Calculation_Json(l.input, l.calculation), "      ") : std::string("null"))
            + "\n    }";
    }
    out += lines.empty() ? "],\n" : "\n  ],\n";
    const Run_Totals t = Compute_Run_Totals(lines);
    out += "  \"totals\": {\"ready\": " + std::to_string(t.ready) + ", \"refused\": " + std::to_string(t.refused)
        + ", \"saved\": " + std::to_string(t.saved) + ", \"salary\": " + Json_String(Amount_Text(t.salary))
        + ", \"compensation\": " + Json_String(Amount_Text(t.compensation)) + ", \"paid_earlier\": "
        + Json_String(Amount_Text(t.paid_earlier)) + ", \"net\": " + Json_String(Amount_Text(t.net))
        + ", \"department\": " + Json_String(Amount_Text(t.department))
        + ", \"university\": " + Json_String(Amount_Text(t.university)) + "}\n}\n";
    return out;
}

} // namespace velmora::run
