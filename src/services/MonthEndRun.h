#pragma once

// The month-end run: every chosen employee computed with the calculation's own
// loading (Load_Calculation_Input) and steps (Run_Calculation), nothing
// written by the preview; then the marked ready lines saved one by one through
// Save_Calculation, each in its own transaction with its status guard.

#include "db/Database.h"
#include "files/ReportGrid.h"
#include "files/XlsxExport.h"
#include "rules/RunLines.h"

#include <functional>
#include <string>
#include <vector>

namespace velmora::run {

// Who is computed, for which request month.
struct Run_Choice
{
    std::string request_month; // mm/yyyy, Christian era (as the calculation screen)
    // Non-empty: exactly these SAP IDs in this order (duplicates once);
    // otherwise every employee whose stored contract end falls in ends_month.
    std::vector<std::string> sapids;
    std::string ends_month; // mm/yyyy of Work_End_Date_Text
    std::string department; // department name; empty: every department
    std::string work_type; // employment type code; empty: every type
};

inline constexpr const char* kMessage_No_Employee = "ไม่พบพนักงาน";

// The Thai message for a choice that cannot be run (bad month, nothing
// chosen), or "" when it can.
std::string Check_Run_Choice(const Run_Choice& choice);

// One chosen employee as found in EP_Emp_Main (found false: no such SAP ID).
struct Chosen
{
    std::string sapid;
    std::string name;
    std::string department;
    bool found = false;
};

// The employees of the choice: by contract end ordered as the calculation
// screen's list (department, type, first name), or the SAP ID list as given.
// False with a Thai message when the choice is bad, a department or type
// matches nothing, nobody is chosen, or on a database error.
bool Choose_Run_Employees(
    const db::Database& db, const Run_Choice& choice, std::vector<Chosen>* chosen, std::string* error);

// One employee through the calculation's loading and steps; nothing written.
Run_Line Preview_Line(const db::Database& db, const Chosen& employee, const std::string& requestMonth);

struct Run_Preview
{
    std::string request_month;
    std::vector<Run_Line> lines;
};

// Choose and preview every employee. False with a Thai message in *error when
// the choice cannot be run.
bool Preview_Run(const db::Database& db, const Run_Choice& choice, Run_Preview* preview, std::string* error);

// What the officer decides while a save runs.
struct Save_Control
{
    // Called before each marked line (done so far, number marked); false stops
    // the run there (every line saved so far stays saved).
    std::function<bool(int done, int total)> go_on;
    // Called after a line failed for another cause than another officer's save
    // (a database failure); false stops the run. Unset: go on.
    std::function<bool(const Run_Line& line)> go_on_after_failure;
};

struct Save_Outcome
{
    int saved = 0;
    int refused = 0;
    bool stopped = false; // the officer (or go_on) stopped the run before its end
    std::string error; // why the run could not start (the server date unread)
};

// Saves the ready lines whose mark is set (marks indexed as the lines; a
// refused line is never saved, marked or not). Each line becomes Saved, or
// Refused with the reason (another officer saved it first: the calculation's
// "already calculated" message; a database failure: its text).
Save_Outcome Save_Run(
    const db::Database& db, Run_Preview& preview, const std::vector<bool>& marks, const Save_Control& control = {});

// The single place where one line of a run is written: Save_Calculation in its
// own transaction. dateEntry: the server date, Buddhist era.
bool Save_Run_Line(const db::Database& db, const Run_Line& line, const std::string& dateEntry, std::string* error);

// The preview's grid as the screen shows it, the totals row last (the grid the
// CSV and the export workbook are made of).
reports::ReportGrid Run_Report_Grid(const std::vector<Run_Line>& lines);

// The export of the run's grid: title "ประมวลผลเงินชดเชยประจำเดือน " + the month.
reports::ExportOptions Run_Export_Options(const std::string& requestMonth);

// Every ready line marked, refused ones not.
std::vector<bool> Ready_Marks(const Run_Preview& preview);

} // namespace velmora::run
