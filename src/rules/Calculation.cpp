#include "rules/Calculation.h"

#include "rules/AmountText.h"
#include "rules/FieldLimits.h"
#include "rules/Utility.h"

#include <utility>

namespace velmora::calc {

std::string Check_Request_Month(std::string_view text)
{
    std::string message =
        "เดือนปีที่ขอรับเงินชดเชยไม่ถูกต้อง: \"" + std::string(text) + "\" (ต้องเป็น ดด/ปปปป ปีเป็นคริสต์ศักราช เช่น 09/2012)";
    if (text.size() != 7 || text[2] != '/')
        return message;
    for (std::size_t i : {0, 1, 3, 4, 5, 6})
        if (text[i] < '0' || text[i] > '9')
            return message;
    const int month = (text[0] - '0') * 10 + (text[1] - '0');
    const int year = std::stoi(std::string(text.substr(3, 4)));
    if (month < 1 || month > 12 || year < 1900 || year > 2399)
        return message;
    return {};
}

Salary_Check Check_Salary(std::string_view text)
{
    Salary_Check check;
    const std::string trimmed = Trim_Spaces(text);
    const std::string shown = "\"" + std::string(text) + "\"";
    const std::optional<double> value = Parse_Number(trimmed);
    if (trimmed.empty() || !value) {
        check.error = "เงินเดือนสุดท้ายต้องเป็นตัวเลข: " + shown;
        return check;
    }
    const std::size_t point = trimmed.find('.');
    if (point != std::string::npos && trimmed.size() - point - 1 > 2) {
        check.error = "เงินเดือนสุดท้ายมีทศนิยมได้ไม่เกิน 2 ตำแหน่ง: " + shown;
        return check;
    }
    if (*value < 0) {
        check.error = "เงินเดือนสุดท้ายต้องไม่ติดลบ: " + shown;
        return check;
    }
    if (!Fits_Money_Column(*value)) {
        check.error =
            "เงินเดือนสุดท้ายเกินกว่าที่ฐานข้อมูลเก็บได้ (ต้องน้อยกว่า " + std::string(kMoney_Limit_Text) + " บาท): " + shown;
        return check;
    }
    check.value = value.value_or(0);
    return check;
}

std::string Step_Officer_Inputs(const Calculation_Input& input, Calculation* c)
{
    if (Trim_Spaces(input.reason).empty())
        return kMessage_No_Reason;
    // What the save writes as it stands must fit its column.
    const std::pair<const std::string*, std::pair<int, const char*>> texts[] = {
        {&input.sapid, {kSapID_Length, "SAP ID"}},
        {&input.ssn, {kSSN_Length, "เลขประจำตัวประชาชน"}},
        {&input.prefix, {kPrefix_Length, "คำนำหน้าชื่อ"}},
        {&input.first_name, {kFirst_Name_Length, "ชื่อ"}},
        {&input.last_name, {kLast_Name_Length, "นามสกุล"}},
        {&input.depart_code, {kDepart_Code_Length, "รหัสส่วนงาน"}},
        {&input.depart_name, {kDepart_Name_Length, "ชื่อส่วนงาน"}},
        {&input.reason, {kReason_Length, "เหตุแห่งการออก"}},
    };
    for (const auto& [text, limit] : texts) {
        std::string error = Check_Length(*text, limit.first, limit.second);
        if (!error.empty())
            return error;
    }
    const Salary_Check salary = Check_Salary(input.salary_text);
    if (!salary.ok())
        return salary.error;
    c->salary = salary.value;
    c->salary_text = Amount_Text(c->salary);
    return {};
}

void Step_Periods(const Calculation_Input& input, Calculation* c)
{
    c->periods = Build_Period_Rows(input.periods);
    c->span = Build_Calc_Span(c->periods, input.contract_begin, input.contract_end);
}

std::string Check_Period_Rows(const std::vector<Period_Row>& periods)
{
    if (periods.empty())
        return kMessage_No_Periods;
    // A stored period whose dates cannot be read has no figures to count.
    for (std::size_t i = 0; i < periods.size(); ++i) {
        if (!periods[i].error.empty())
            return "ประวัติการทำงานแถวที่ " + std::to_string(i + 1) + ": " + periods[i].error;
    }
    return {};
}

void Step_Earlier(const Calculation_Input& input, Calculation* c)
{
    c->earlier =
        Build_Earlier_Rows(Select_Earlier_Records(input.person_records, input.ssn, input.sapid, input.request_month));
}

std::string Step_Service(Calculation* c)
{
    c->span_figures = Compute_Span_Figures(c->span);
    if (!c->span_figures.ok())
        return c->span_figures.error;
    c->service = Compute_Service_Totals(c->periods, c->earlier);
    return {};
}

std::string Step_Money(const Calculation_Input& input, Calculation* c)
{
    const Salary_Check salary = Check_Salary(input.salary_text);
    if (!salary.ok())
        return salary.error;
    c->salary = salary.value;
    c->salary_text = Amount_Text(c->salary);
    // Total days decide between the fixed rule and the table, total years
    // (earlier service included) the table row.
    c->money = Compute_Money(c->span_figures.total_days, c->service.total.years, c->salary, c->earlier, input.brackets);
    if (!Fits_Money_Column(c->money.compensation) || !Fits_Money_Column(c->money.net))
        return "เงินชดเชยที่คำนวณได้ (" + c->money.compensation_text + " บาท) เกินกว่าที่ฐานข้อมูลเก็บได้ (ต้องน้อยกว่า "
            + std::string(kMoney_Limit_Text) + " บาท): ตรวจเงินเดือนสุดท้าย";
    return {};
}

void Step_Split(Calculation* c)
{
    c->split = Compute_Split(c->periods, c->money.net);
}

Calculation Run_Calculation(const Calculation_Input& input)
{
    Calculation c;
    c.error = Check_Request_Month(input.request_month);
    if (c.ok())
        c.error = Step_Officer_Inputs(input, &c);
    if (!c.ok())
        return c;
    Step_Periods(input, &c);
    c.error = Check_Period_Rows(c.periods);
    if (!c.ok())
        return c;
    Step_Earlier(input, &c);
    c.error = Step_Service(&c);
    if (c.ok())
        c.error = Step_Money(input, &c);
    if (!c.ok())
        return c;
    Step_Split(&c);
    return c;
}

} // namespace velmora::calc
