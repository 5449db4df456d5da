#include "rules/Calculation.h"
#include "rules/CalculationJson.h"

#include <gtest/gtest.h>

using namespace velmora::calc;

namespace {

// The worked example: a department period then a university period,
// 20,000.00 a month, no earlier records, the installed brackets.
Calculation_Input Worked_Example()
{
    Calculation_Input in;
    in.sapid = "10000001";
    in.ssn = "3100100000011";
    in.prefix = "นาย";
    in.first_name = "สมชาย";
    in.last_name = "ใจดี";
    in.contract_begin = "01/10/2006";
    in.contract_end = "30/09/2012";
    in.depart_code = "11";
    in.depart_name = "คณะวิทยาศาสตร์";
    in.salary_text = "20,000.00";
    in.reason = "ครบกำหนดระยะเวลาการจ้างตามสัญญา";
    in.request_month = "10/2012";
    in.periods = {
        {"3", "พนักงานส่วนงาน", "01/10/2549", "30/09/2551"}, {"2", "พนักงานมหาวิทยาลัย", "01/10/2551", "30/09/2555"}};
    in.brackets = {{1, 3, 3}, {3, 6, 6}, {6, 10, 8}, {10, 100, 10}};
    return in;
}

// One earlier payment of the same person: 1 year and 20 days at 15,000.00,
// three times the salary.
Earlier_Record Earlier_Payment(const Calculation_Input& in)
{
    Earlier_Record r;
    r.sapid = "09999999";
    r.ssn = in.ssn;
    r.request_month = "03/2006";
    r.years = 1;
    r.months = 0;
    r.days = 20;
    r.multiplier = 3;
    r.last_salary = 15000;
    return r;
}

TEST(Run_Calculation, WorkedExample)
{
    const Calculation c = Run_Calculation(Worked_Example());
    ASSERT_TRUE(c.ok()) << c.error;
    ASSERT_EQ(c.periods.size(), 2u);
    EXPECT_EQ(c.periods[0].calc_begin, "17/10/2550");
    EXPECT_EQ(c.periods[0].weight_text, "11.48");
    EXPECT_EQ(c.periods[1].whole_months, 48);
    EXPECT_EQ(c.span.start, "17/10/2550");
    EXPECT_EQ(c.span.end, "30/09/2555");
    EXPECT_EQ(
        c.span_figures.years_text + " " + c.span_figures.months_text + " " + c.span_figures.days_text, "0004 11 15");
    EXPECT_TRUE(c.earlier.empty());
    EXPECT_EQ(c.span_figures.total_days, 1811);
    EXPECT_EQ(c.service.earlier.years + c.service.earlier.months + c.service.earlier.days, 0);
    EXPECT_EQ(c.service.current.years, 4);
    EXPECT_EQ(c.service.current.months, 11);
    EXPECT_EQ(c.service.current.days, 15);
    EXPECT_EQ(c.service.total.years, 4);
    EXPECT_EQ(c.service.total.months, 11);
    EXPECT_EQ(c.service.total.days, 15);
    EXPECT_EQ(c.money.multiplier, 6);
    EXPECT_EQ(c.salary_text, "20,000.00");
    EXPECT_EQ(c.money.compensation_text, "120,000.00");
    EXPECT_EQ(c.money.paid_earlier_text, "0.00");
    EXPECT_EQ(c.money.net_text, "120,000.00");
    EXPECT_EQ(c.split.department.days, 731);
    EXPECT_EQ(c.split.department.months_text, "11.48");
    EXPECT_EQ(c.split.department.percent_text, "19.3");
    EXPECT_EQ(c.split.department.amount_text, "23,160.00");
    EXPECT_EQ(c.split.university.days, 1461);
    EXPECT_EQ(c.split.university.months_text, "48");
    EXPECT_EQ(c.split.university.percent_text, "80.7");
    EXPECT_EQ(c.split.university.amount_text, "96,840.00");
    EXPECT_EQ(c.split.total_months_text, "59.48");
}

TEST(Run_Calculation, AChangedSalaryIsTheOneUsed)
{
    Calculation_Input in = Worked_Example();
    in.salary_text = "21500.5";
    const Calculation c = Run_Calculation(in);
    ASSERT_TRUE(c.ok()) << c.error;
    EXPECT_EQ(c.salary, 21500.5);
    EXPECT_EQ(c.salary_text, "21,500.50");
    EXPECT_EQ(c.money.compensation_text, "129,003.00");
    EXPECT_EQ(c.split.department.amount_text, "24,897.58"); // 19.3 x 129,003.00 / 100 = 24,897.579
}

TEST(Run_Calculation, EarlierServiceRaisesTheYearsButNotTheDays)
{
    Calculation_Input in = Worked_Example();
    in.person_records = {Earlier_Payment(in)};
    const Calculation c = Run_Calculation(in);
    ASSERT_TRUE(c.ok()) << c.error;
    ASSERT_EQ(c.earlier.size(), 1u);
    EXPECT_EQ(c.span_figures.total_days, 1811);
    EXPECT_EQ(c.service.total.years, 6); // 4 y 11 m 15 d + 1 y 0 m 20 d = 6 y 0 m 5 d
    EXPECT_EQ(c.service.total.months, 0);
    EXPECT_EQ(c.service.total.days, 5);
    EXPECT_EQ(c.money.multiplier, 8);
    EXPECT_EQ(c.money.compensation_text, "160,000.00");
    EXPECT_EQ(c.money.paid_earlier_text, "45,000.00");
    EXPECT_EQ(c.money.net_text, "115,000.00");
    EXPECT_EQ(c.split.department.amount_text, "22,195.00"); // 19.3 % of 115,000.00
}

TEST(Run_Calculation, ThreeHundredSixtyFiveDaysOfZeroYears)
{
    Calculation_Input in = Worked_Example();
    in.periods = {{"2", "พนักงานมหาวิทยาลัย", "17/10/2550", "15/10/2551"}};
    Calculation c = Run_Calculation(in);
    ASSERT_TRUE(c.ok()) << c.error;
    EXPECT_EQ(c.span_figures.total_days, 365);
    EXPECT_EQ(c.service.total.years, 0);
    EXPECT_EQ(c.service.total.months, 11);
    EXPECT_EQ(c.service.total.days, 30);
    EXPECT_EQ(c.money.multiplier, 0); // the table, which has no row for 0 years

    in.brackets.insert(in.brackets.begin(), Bracket {0, 1, 1});
    c = Run_Calculation(in);
    EXPECT_EQ(c.money.multiplier, 1);
}

struct Days_Case
{
    const char* end;
    int days;
    int multiplier;
};

class Total_Days_Test : public testing::TestWithParam<Days_Case>
{
};

TEST_P(Total_Days_Test, DaysDecideBetweenRuleAndTable)
{
    Calculation_Input in = Worked_Example();
    in.periods = {{"2", "", "01/01/2553", GetParam().end}};
    const Calculation c = Run_Calculation(in);
    ASSERT_TRUE(c.ok()) << c.error;
    EXPECT_EQ(c.span_figures.total_days, GetParam().days);
    EXPECT_EQ(c.money.multiplier, GetParam().multiplier);
}

// 2010 is not a leap year: 01/01/2553 + 118 days is 29/04/2553.
INSTANTIATE_TEST_SUITE_P(Boundaries, Total_Days_Test,
    testing::Values(Days_Case {"29/04/2553", 119, 0}, Days_Case {"30/04/2553", 120, 1},
        Days_Case {"30/12/2553", 364, 1}, Days_Case {"31/12/2553", 365, 3}));

struct Refusal_Case
{
    const char* field;
    const char* value;
    const char* message; // start of the message
};

class Refusal_Test : public testing::TestWithParam<Refusal_Case>
{
};

TEST_P(Refusal_Test, ThaiMessageAndNoFigures)
{
    Calculation_Input in = Worked_Example();
    const std::string field = GetParam().field;
    const std::string value = GetParam().value;
    if (field == "month")
        in.request_month = value;
    else if (field == "salary")
        in.salary_text = value;
    else if (field == "reason")
        in.reason = value;
    else if (field == "periods")
        in.periods.clear();
    else if (field == "bad period")
        in.periods.push_back({"2", "", value, "30/09/2556"});
    const Calculation c = Run_Calculation(in);
    EXPECT_FALSE(c.ok());
    EXPECT_EQ(c.error.rfind(GetParam().message, 0), 0u) << c.error;
    EXPECT_EQ(c.money.net_text, "");
}

INSTANTIATE_TEST_SUITE_P(Inputs, Refusal_Test,
    testing::Values(Refusal_Case {"month", "13/2012", "เดือนปีที่ขอรับเงินชดเชยไม่ถูกต้อง"},
        Refusal_Case {"month", "00/2012", "เดือนปีที่ขอรับเงินชดเชยไม่ถูกต้อง"},
        Refusal_Case {"month", "1/2012", "เดือนปีที่ขอรับเงินชดเชยไม่ถูกต้อง"},
        Refusal_Case {"month", "  /    ", "เดือนปีที่ขอรับเงินชดเชยไม่ถูกต้อง"},
        Refusal_Case {"month", "10-2012", "เดือนปีที่ขอรับเงินชดเชยไม่ถูกต้อง"},
        Refusal_Case {"month", "10/2555", "เดือนปีที่ขอรับเงินชดเชยไม่ถูกต้อง"}, // Buddhist era
        Refusal_Case {"salary", "", "เงินเดือนสุดท้ายต้องเป็นตัวเลข"},
        Refusal_Case {"salary", "abc", "เงินเดือนสุดท้ายต้องเป็นตัวเลข"},
        Refusal_Case {"salary", "20 000", "เงินเดือนสุดท้ายต้องเป็นตัวเลข"},
        Refusal_Case {"salary", "1e5", "เงินเดือนสุดท้ายต้องเป็นตัวเลข"},
        Refusal_Case {"salary", "20000.005", "เงินเดือนสุดท้ายมีทศนิยมได้ไม่เกิน 2 ตำแหน่ง"},
        Refusal_Case {"salary", "-20000", "เงินเดือนสุดท้ายต้องไม่ติดลบ"},
        Refusal_Case {"reason", "", "กรุณาใส่ เหตุแห่งการออกด้วย"}, Refusal_Case {"reason", "   ", "กรุณาใส่ เหตุแห่งการออกด้วย"},
        Refusal_Case {"periods", "", "ต้องมีประวัติการทำงานจึงทำงานต่อได้"},
        Refusal_Case {"bad period", "31/02/2556", "ประวัติการทำงานแถวที่ 3"}));

TEST(Run_Calculation, OnlyPeriodsBeforeTheFloorDateAreRefused)
{
    Calculation_Input in = Worked_Example();
    in.periods = {{"2", "", "01/01/2548", "31/12/2549"}};
    const Calculation c = Run_Calculation(in);
    EXPECT_FALSE(c.ok());
    EXPECT_EQ(c.error.rfind("ช่วงวันที่คำนวณไม่ถูกต้อง", 0), 0u) << c.error;
}

TEST(Check_Salary, AcceptedForms)
{
    EXPECT_EQ(Check_Salary("20,000.00").value, 20000.0);
    EXPECT_EQ(Check_Salary(" 18500 ").value, 18500.0);
    EXPECT_EQ(Check_Salary("0").value, 0.0);
    EXPECT_TRUE(Check_Salary("1,234.5").ok());
    EXPECT_TRUE(Check_Salary("999,999,999,999,999.99").ok()); // fits the money column
}

// The money columns hold sixteen digits before the point.
TEST(Check_Salary, BeyondTheMoneyColumnIsRefused)
{
    for (const std::string& text :
        {std::string("10,000,000,000,000,000"), std::string("10000000000000000.00"), "1" + std::string(300, '0')}) {
        const Salary_Check c = Check_Salary(text);
        EXPECT_NE(c.error.find("เกินกว่าที่ฐานข้อมูลเก็บได้"), std::string::npos) << text << ": " << c.error;
    }
}

// What the save would write as it stands must fit its column; the money
// computed from a salary that fits may not.
TEST(Run_Calculation, ValuesBeyondTheColumnsAreRefused)
{
    struct Case
    {
        const char* name;
        void (*change)(Calculation_Input&);
        const char* message;
    };
    const Case cases[] = {
        {"reason", [](Calculation_Input& in) { in.reason = std::string(256, 'x'); }, "เหตุแห่งการออกยาว"},
        {"reason of Thai letters",
            [](Calculation_Input& in) {
                in.reason.clear();
                for (int i = 0; i < 256; ++i)
                    in.reason += "ก";
            },
            "เหตุแห่งการออกยาว"},
        {"sapid", [](Calculation_Input& in) { in.sapid = std::string(31, '1'); }, "SAP IDยาว"},
        {"first name", [](Calculation_Input& in) { in.first_name = std::string(121, 'a'); }, "ชื่อยาว"},
        {"compensation", [](Calculation_Input& in) { in.salary_text = "5,000,000,000,000,000"; }, "เงินชดเชยที่คำนวณได้"},
    };
    for (const Case& c : cases) {
        Calculation_Input in = Worked_Example();
        c.change(in);
        const Calculation result = Run_Calculation(in);
        EXPECT_NE(result.error.find(c.message), std::string::npos) << c.name << ": " << result.error;
    }
    // At their limits they pass.
    Calculation_Input in = Worked_Example();
    in.reason.clear();
    for (int i = 0; i < 255; ++i)
        in.reason += "ก";
    in.sapid = std::string(30, '1');
    EXPECT_TRUE(Run_Calculation(in).ok()) << Run_Calculation(in).error;
}

TEST(Check_Request_Month, RealMonths)
{
    EXPECT_EQ(Check_Request_Month("01/2013"), "");
    EXPECT_EQ(Check_Request_Month("12/1999"), "");
    EXPECT_NE(Check_Request_Month("12/2013 "), "");
}

TEST(Calculation_Json, WorkedExampleObject)
{
    const Calculation_Input in = Worked_Example();
    const std::string json = Calculation_Json(in, Run_Calculation(in));
    const char* expected = R"({
  "sapid": "10000001",
  "ssn": "3100100000011",
  "name": "นายสมชาย ใจดี",
  "request_month": "10/2012",
  "reason": "ครบกำหนดระยะเวลาการจ้างตามสัญญา",
  "span": {"start": "17/10/2550", "end": "30/09/2555", "years": "0004", "months": "11", "days": "15"},
  "periods": [
    {"code": "3", "type": "พนักงานส่วนงาน", "begin": "01/10/2549", "calc_begin": "17/10/2550", "end": "30/09/2551", "total_days": 731, "years": "0000", "months": "11", "days": "15", "whole_months": 11, "weight": "11.48"},
    {"code": "2", "type": "พนักงานมหาวิทยาลัย", "begin": "01/10/2551", "calc_begin": "01/10/2551", "end": "30/09/2555", "total_days": 1461, "years": "0004", "months": "00", "days": "00", "whole_months": 48, "weight": "48.00"}
  ],
  "earlier": [],
  "service": {
    "earlier": {"years": 0, "months": 0, "days": 0},
    "current": {"years": 4, "months": 11, "days": 15},
    "total": {"years": 4, "months": 11, "days": 15}
  },
  "total_days": 1811,
  "multiplier": 6,
  "salary": "20,000.00",
  "compensation": "120,000.00",
  "paid_earlier": "0.00",
  "net": "120,000.00",
  "split": {
    "department": {"days": 731, "months": "11.48", "percent": "19.3", "amount": "23,160.00"},
    "university": {"days": 1461, "months": "48", "percent": "80.7", "amount": "96,840.00"},
    "total_months": "59.48"
  }
}
)";
    EXPECT_EQ(json, expected);
}

// The audit log keeps the same object on one line: the same members in the
// same order, no white space but inside the texts.
TEST(Calculation_Json, CompactLayoutOfTheWorkedExample)
{
    const Calculation_Input in = Worked_Example();
    const std::string json = Calculation_Json(in, Run_Calculation(in), Json_Layout::Compact);
    EXPECT_EQ(json,
        R"({"sapid":"10000001","ssn":"3100100000011","name":"นายสมชาย ใจดี","request_month":"10/2012",)"
        R"("reason":"ครบกำหนดระยะเวลาการจ้างตามสัญญา","span":{"start":"17/10/2550","end":"30/09/2555","years":"0004",)"
        R"("months":"11","days":"15"},"periods":[{"code":"3","type":"พนักงานส่วนงาน","begin":"01/10/2549",)"
        R"("calc_begin":"17/10/2550","end":"30/09/2551","total_days":731,"years":"0000","months":"11","days":"15",)"
        R"("whole_months":11,"weight":"11.48"},{"code":"2","type":"พนักงานมหาวิทยาลัย","begin":"01/10/2551",)"
        R"("calc_begin":"01/10/2551","end":"30/09/2555","total_days":1461,"years":"0004","months":"00","days":"00",)"
        R"("whole_months":48,"weight":"48.00"}],"earlier":[],"service":{"earlier":{"years":0,"months":0,"days":0},)"
        R"("current":{"years":4,"months":11,"days":15},"total":{"years":4,"months":11,"days":15}},"total_days":1811,)"
        R"("multiplier":6,"salary":"20,000.00","compensation":"120,000.00","paid_earlier":"0.00",)"
        R"("net":"120,000.00","split":{"department":{"days":731,"months":"11.48","percent":"19.3",)"
        R"("amount":"23,160.00"},"university":{"days":1461,"months":"48","percent":"80.7","amount":"96,840.00"},)"
        R"("total_months":"59.48"}})");
}

TEST(Calculation_Json, TextsEscaped)
{
    EXPECT_EQ(Json_String("a\"b\\c\nd\x01"), "\"a\\\"b\\\\c\\nd\\u0001\"");
    EXPECT_EQ(Json_String("โอ'ไบรอัน"), "\"โอ'ไบรอัน\"");
}

} // namespace

namespace velmora::calc {

// An earlier payment in both layouts: the array's items one a line when
// indented, a text needing escapes, and the two layouts agreeing member by
// member.
TEST(Calculation_Json, EarlierRowsInBothLayouts)
{
    Calculation_Input in = Worked_Example();
    Earlier_Record r = Earlier_Payment(in);
    r.depart_code = "11";
    r.depart_name = "คณะ \"ทดสอบ\"\t\\";
    in.person_records = {r};
    const Calculation c = Run_Calculation(in);
    ASSERT_TRUE(c.ok()) << c.error;
    const std::string indented = Calculation_Json(in, c);
    const std::string earlier = R"({"sapid": "09999999", "request_month": "03/2006", "depart_code": "11", )"
                                R"("depart_name": "คณะ \"ทดสอบ\"\t\\", "start": ")"
        + c.earlier[0].record.start + R"(", "end": ")" + c.earlier[0].record.end + R"(", "total_days": )"
        + std::to_string(c.earlier[0].record.total_days)
        + R"(, "years": 1, "months": 0, "days": 20, "compensation": ")" + c.earlier[0].compensation_text
        + R"(", "multiplier": 3, "last_salary": ")" + c.earlier[0].last_salary_text + R"(", "paid_before": ")"
        + c.earlier[0].paid_before_text + R"(", "net": ")" + c.earlier[0].net_text + R"("})";
    EXPECT_NE(indented.find("  ],\n  \"earlier\": [\n    " + earlier + "\n  ],\n  \"service\": {\n"), std::string::npos)
        << indented;
    EXPECT_EQ(indented.back(), '\n');
    // The compact layout is the indented one without the white space outside texts.
    std::string squeezed;
    bool inText = false;
    for (size_t i = 0; i < indented.size(); ++i) {
        const char ch = indented[i];
        if (inText) {
            squeezed += ch;
            if (ch == '\\')
                squeezed += indented[++i];
            else if (ch == '"')
                inText = false;
        } else if (ch == '"') {
            inText = true;
            squeezed += ch;
        } else if (ch != ' ' && ch != '\n') {
            squeezed += ch;
        }
    }
    EXPECT_EQ(Calculation_Json(in, c, Json_Layout::Compact), squeezed);
}

} // namespace velmora::calc
