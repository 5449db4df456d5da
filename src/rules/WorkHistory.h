#pragma once

// The employee's employment periods as the work-history page shows them, the
// calculation span they fix, and the checks of a new period. Dates are texts
// "dd/mm/yyyy" with Buddhist-era years.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace velmora::calc {

// Service before this day does not count towards years, months and months
// with fraction (Buddhist era; 17 October 2007).
inline constexpr const char* kFloor_Date = "17/10/2550";

// One row of EP_Work_Histry.
struct Work_Period
{
    std::string code; // Work_Type_Code: "2" university, "3" department
    std::string type_name; // Work_Type
    std::string begin; // Work_B_Date
    std::string end; // Work_E_Date
};

// One row of the period grid: every column as shown, and the figures the
// later steps read back from it.
struct Period_Row
{
    std::string code; // column 1
    std::string type_name; // column 2
    std::string begin; // column 3
    std::string calc_begin; // column 4: the later of begin and the floor date
    std::string end; // column 5

    int total_days = 0; // column 6: from begin (not calc_begin) to end, both included
    int years = 0; // column 7
    int months = 0; // column 8
    int days = 0; // column 9
    int whole_months = 0; // column 10: years * 12 + months, one more when days > 15
    double weight = 0; // column 11, as read back from its text

    std::string total_days_text; // "731"
    std::string years_text; // "0000"
    std::string months_text; // "11"
    std::string days_text; // "15"
    std::string whole_months_text; // "11"
    std::string weight_text; // "11.48" (two decimals, thousands separators)

    // The period ends before the floor date: none of it counts (all figures
    // zero except the day count of column 6).
    bool before_floor = false;
    // Not empty when the stored dates cannot be used (Thai message); the
    // figures are then left empty and the calculation refuses to go on.
    std::string error;
};

Period_Row Build_Period_Row(const Work_Period& period);
// Rows in the order given (the query orders them by start date).
std::vector<Period_Row> Build_Period_Rows(const std::vector<Work_Period>& periods);

// The 12 cells of a grid row (column 0 the row number from 1).
std::vector<std::string> Period_Grid_Cells(const Period_Row& row, int number);
const std::vector<std::string>& Period_Grid_Titles();
const std::vector<int>& Period_Grid_Widths();

// Calculation start and end: the first row's calculation start and the last
// row's end; without rows the contract's start and end. The start is raised
// to the floor date when it is earlier.
struct Calc_Span
{
    std::string start;
    std::string end;
};
Calc_Span Build_Calc_Span(
    const std::vector<Period_Row>& rows, std::string_view contract_begin, std::string_view contract_end);

// Calendar days from start to end, both included; both dates Buddhist era.
// -1 when a date cannot be read or the end is before the start.
int Days_Inclusive(std::string_view start, std::string_view end);

// A new period typed on the work-history page, checked before it is written.
struct New_Period
{
    Work_Period period; // code = first character of the type text, name = the rest trimmed
    std::string error; // Thai message; empty when the period may be written
    bool ok() const { return error.empty(); }
};
// typeText: the type combo's text ("2 พนักงานมหาวิทยาลัย"); begin, end: the
// masked edits ("  /  /    " when nothing was typed).
New_Period Check_New_Period(std::string_view typeText, std::string_view begin, std::string_view end);

// Two periods that share a day (both ends included) would count that service
// twice. A period whose dates cannot be read overlaps nothing (it has its own
// error).
bool Periods_Overlap(const Work_Period& a, const Work_Period& b);
// "2 พนักงานมหาวิทยาลัย 01/10/2550 - 30/09/2555": a period named for the officer.
std::string Period_Text(const Work_Period& period);
// The first stored period the new one overlaps, as an index; -1 when none.
int Find_Overlap_With(const std::vector<Work_Period>& stored, const Work_Period& added);
// The first two periods of the list that overlap, as indexes; {-1, -1} when none.
std::pair<int, int> Find_Overlap(const std::vector<Work_Period>& periods);
// Adding a period that overlaps a stored one is refused with this message.
std::string Added_Overlap_Message(const Work_Period& added, const Work_Period& stored);
// Stored periods that overlap (an import): the warning of the work-history
// page and the refusal of the save.
std::string Stored_Overlap_Message(const Work_Period& a, const Work_Period& b);

} // namespace velmora::calc
