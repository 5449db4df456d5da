#pragma once

// The lines of a month-end run: one per chosen employee, ready (its whole
// calculation done by Run_Calculation), refused (with the calculation's own
// Thai reason) or saved; their totals, their grid cells and their JSON.

#include "rules/Calculation.h"

#include <string>
#include <vector>

namespace velmora::run {

enum class Line_State { Ready, Refused, Saved };

struct Run_Line
{
    std::string sapid;
    std::string name; // prefix + first name + " " + last name; empty when unknown
    std::string department; // department name
    Line_State state = Line_State::Refused;
    std::string reason; // Thai reason of a refusal; empty otherwise
    calc::Calculation_Input input; // as loaded for the calculation
    calc::Calculation calculation; // the figures of a ready or saved line

    bool computed() const { return state != Line_State::Refused; }
};

// Ready and saved lines add their figures as shown (each amount read back from
// its own text), so a total is the sum of the figures the grid shows.
struct Run_Totals
{
    int ready = 0;
    int refused = 0;
    int saved = 0;
    double salary = 0;
    double compensation = 0;
    double paid_earlier = 0;
    double net = 0;
    double department = 0;
    double university = 0;
};
Run_Totals Compute_Run_Totals(const std::vector<Run_Line>& lines);

// The mark of a computed line whose SSN fails its check digit,
// kSsn_Check_Note: the line is computed and may be saved, but the officer is
// to check the number first (a mistyped one hides an earlier payment). Empty
// otherwise, and for a refused line, whose reason is what it shows.
std::string Line_Note(const Run_Line& line);

// "ready", "refused", "saved" (the JSON and CSV state) and the Thai text the grid shows.
const char* State_Code(Line_State state);
std::string State_Text(Line_State state);

// The grid of the run: titles, one row per line (column 0 the number from 1;
// the last column the reason of a refusal, else the line's note), and the
// totals row.
const std::vector<std::string>& Run_Grid_Titles();
std::vector<std::string> Run_Grid_Cells(const Run_Line& line, int number);
std::vector<std::string> Run_Total_Cells(const Run_Totals& totals);
// Columns of the grid that hold money (for alignment).
bool Is_Money_Column(int column);

// {"month": ..., "lines": [{"sapid", "state", "reason", "note", "calc"}], "totals": {...}},
// "calc" being exactly the object Calculation_Json gives for that employee
// (null for a refused line). Ends with a newline.
std::string Run_Json(const std::string& month, const std::vector<Run_Line>& lines);

} // namespace velmora::run
