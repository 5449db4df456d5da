#pragma once

// The whole calculation of one employee as the six wizard pages run it, on
// one plain input; and the checks of the officer's inputs.

#include "rules/Compensation.h"
#include "rules/Utility.h"
#include "rules/WorkHistory.h"

#include <string>
#include <string_view>
#include <vector>

namespace velmora::calc {

// What the wizard holds before the computation: the selected employee,
// the officer's inputs and the rows read from the database.
struct Calculation_Input
{
    std::string sapid;
    std::string ssn;
    std::string prefix; // Surname column: the name prefix
    std::string first_name;
    std::string last_name;
    std::string birth_day;
    std::string work_type_name;
    std::string contract_begin; // Work_Begin_Date_Text (span fallback)
    std::string contract_end; // Work_End_Date_Text
    std::string depart_code;
    std::string depart_name;

    std::string salary_text; // last monthly salary as typed or shown ("20,000.00")
    std::string reason; // reason for leaving
    std::string request_month; // "mm/yyyy", Christian era

    std::vector<Work_Period> periods; // ordered by start date
    std::vector<Earlier_Record> person_records; // saved calculations of the same SSN
    std::vector<Bracket> brackets; // EP_TR_Cal_Money in the order read
};

// Full_Name (rules/Utility.h) writes the employee's full name.
using velmora::Full_Name;

// Every figure the pages show, in the order the pages compute them.
struct Calculation
{
    std::string error; // Thai message when the calculation cannot be done
    bool ok() const { return error.empty(); }

    double salary = 0; // read from the salary text
    std::string salary_text; // two decimals, thousands separators
    std::vector<Period_Row> periods;
    Calc_Span span;
    Span_Figures span_figures;
    std::vector<Earlier_Row> earlier;
    Service_Totals service;
    Money money;
    Split split;
};

Calculation Run_Calculation(const Calculation_Input& input);

// ---- The steps of Run_Calculation, one per wizard page ----
// Run_Calculation runs them in this order on one input; the screen runs each
// behind its page's button on what its pages show, so both show the same
// figures and the same messages. Each returns a Thai message, "" when the
// step's figures were written into *c.

// Page 1: the reason must be given and the salary text readable; sets the
// salary and its text.
std::string Step_Officer_Inputs(const Calculation_Input& input, Calculation* c);
// Page 2: the period rows and the calculation span they fix.
void Step_Periods(const Calculation_Input& input, Calculation* c);
// Before step 1: at least one period, and every period readable (the row
// number from 1 in the message).
std::string Check_Period_Rows(const std::vector<Period_Row>& periods);
// Step 1 (page 3): the earlier records that count.
void Step_Earlier(const Calculation_Input& input, Calculation* c);
// Step 2 (page 4): the span's figures and the service totals.
std::string Step_Service(Calculation* c);
// Step 3 (page 5): multiplier and money with the salary as typed now.
std::string Step_Money(const Calculation_Input& input, Calculation* c);
// Step 4 (page 6): the split of the net.
void Step_Split(Calculation* c);

// ---- Checks of the officer's inputs; each returns a Thai message or "" ----

inline constexpr const char* kMessage_No_Reason = "กรุณาใส่ เหตุแห่งการออกด้วย";
inline constexpr const char* kMessage_No_Periods = "ต้องมีประวัติการทำงานจึงทำงานต่อได้";
inline constexpr const char* kMessage_Already_Calculated = "รายการนี้มีการขอเงินชดเชยไปแล้วไม่สามารถทำได้อีก";
// Save without periods: two lines, a carriage return between.
inline constexpr const char* kMessage_Save_No_Periods = "ยังไม่สามารถบันทึกข้อมูลได้\rต้องบันทึกประวัติการทำงานที่ต้องคำนวณก่อน";

// A real month "mm/yyyy": two digits 01-12, a slash, a Christian-era year
// 1900-2399 (a Buddhist-era year would sort after every stored month).
std::string Check_Request_Month(std::string_view text);

// The salary text: a number (thousands separators allowed), not negative,
// at most two decimals.
struct Salary_Check
{
    double value = 0;
    std::string error;
    bool ok() const { return error.empty(); }
};
Salary_Check Check_Salary(std::string_view text);

} // namespace velmora::calc
