#pragma once

// The four steps of the compensation: earlier records, service totals,
// multiplier and money, split. Each takes plain values (the figures of the
// step before, as shown) and returns every figure as the screen shows it.

#include "rules/WorkHistory.h"

#include <string>
#include <string_view>
#include <vector>

namespace velmora::calc {

// ---- Step 1: earlier compensation records ----

// A saved calculation (a row of EP_mRec_Money_Chodchoy) as stored.
struct Earlier_Record
{
    std::string sapid;
    std::string ssn;
    std::string request_month; // MMYYYY_Recieve "mm/yyyy"
    std::string depart_code;
    std::string depart_name;
    std::string start; // Date_Beg_Cal
    std::string end; // Date_End_Cal
    int total_days = 0;
    int years = 0;
    int months = 0;
    int days = 0;
    int multiplier = 0; // N_T
    double last_salary = 0;
    double paid_before = 0; // His_Rec_Money
    double net = 0; // Net_Money_Recieve
};

// The records that count as paid earlier to this person: same national
// identity-card number (an empty number matches nobody), another SAP ID, a
// request month before `requestMonth`; in chronological order (year digits,
// then month digits; records of one month keep their given order).
std::vector<Earlier_Record> Select_Earlier_Records(const std::vector<Earlier_Record>& records, std::string_view ssn,
    std::string_view sapid, std::string_view requestMonth);

// One row of the earlier-payment grid.
struct Earlier_Row
{
    int number = 0; // column 0, from 1
    Earlier_Record record;
    std::string compensation_text; // column 10: multiplier x last salary
    std::string last_salary_text; // column 13
    std::string paid_before_text; // column 14
    std::string net_text; // column 15
    double compensation = 0; // column 10 read back
};
std::vector<Earlier_Row> Build_Earlier_Rows(const std::vector<Earlier_Record>& selected);

std::vector<std::string> Earlier_Grid_Cells(const Earlier_Row& row); // 16 cells
const std::vector<std::string>& Earlier_Grid_Titles();

// ---- Step 2: service totals ----

struct Service
{
    int years = 0;
    int months = 0;
    int days = 0;
};
// Days above 30 become months (30 at a time), then months above 11 years.
Service Carry(Service s);

// The calculation span as the text of the service-period function, with the
// two label texts under the pages and the total days of the span.
struct Span_Figures
{
    std::string text; // YYYYMMDD
    std::string years_text; // "0004"
    std::string months_text; // "11"
    std::string days_text; // "15"
    int total_days = 0; // span, both days included
    std::string label27; // "วันที่เริ่มคำนวณ ... ถึงวันที่ ..."
    std::string label25; // "จำนวนปี = 0004 ปี  ..."
    std::string error; // Thai message when the span cannot be used
    bool ok() const { return error.empty(); }
};
Span_Figures Compute_Span_Figures(const Calc_Span& span);

struct Service_Totals
{
    Service earlier; // sum of the earlier records' years, months, days
    Service current; // sum of the period rows' figures (not the span text)
    Service total; // both, carried again
};
Service_Totals Compute_Service_Totals(const std::vector<Period_Row>& periods, const std::vector<Earlier_Row>& earlier);

// ---- Step 3: multiplier and money ----

// A row of EP_TR_Cal_Money: completed years from (inclusive) to (exclusive).
struct Bracket
{
    int from_years = 0; // No_B_Y
    int to_years = 0; // No_E_Y
    int multiplier = 0; // N_Money
};

// Fewer than 120 days: 0; 120 to 364 days: 1; from 365 days the table row of
// the total years, the last matching row winning; no row: 0.
int Choose_Multiplier(int totalDays, int totalYears, const std::vector<Bracket>& brackets);

// The lines of the bracket list, the fixed 120-day line first.
std::vector<std::string> Bracket_List_Lines(const std::vector<Bracket>& brackets);

struct Money
{
    int multiplier = 0;
    std::string compensation_text; // multiplier x salary
    std::string paid_earlier_text; // the most recent earlier record's compensation
    std::string net_text; // compensation - paid earlier (may be negative)
    double compensation = 0; // the three read back from their texts
    double paid_earlier = 0;
    double net = 0;
};
Money Compute_Money(int totalDays, int totalYears, double salary, const std::vector<Earlier_Row>& earlier,
    const std::vector<Bracket>& brackets);

// ---- Step 4: split between department (code "3") and university (code "2") ----

struct Split_Side
{
    int days = 0; // sum of column 6
    double months = 0; // sum of column 11
    std::string months_text; // shortest text ("11.48", "48")
    double percent = 0; // months / all months x 100, rounded to two decimals
    std::string percent_text;
    std::string amount_text; // percent x net / 100, two decimals (shown only)
};
struct Split
{
    Split_Side department; // Fact
    Split_Side university; // KV
    double total_months = 0;
    std::string total_months_text;
};
// With no months on either side the shares are 0 and 0.00.
Split Compute_Split(const std::vector<Period_Row>& periods, double net);

} // namespace velmora::calc
