#pragma once

// The list of saved calculations and their cancellation: the saved rows go,
// the employee's status returns to "A" and the employee can be calculated again.

#include "db/Database.h"

#include <QJsonObject>
#include <QString>

#include <string>
#include <vector>

namespace velmora::calc {

inline constexpr const char* kMessage_Nothing_To_Cancel = "ไม่มีรายการที่ต้องการยกเลิก";
inline constexpr const char* kMessage_Cancelled = "ทำการลบข้อมูลให้เรียบร้อยแล้ว";

struct Saved_Search
{
    bool by_first_name = false;
    std::string first_name_part; // matched anywhere in the first name
};

// One saved calculation as the list shows it.
struct Saved_List_Row
{
    std::string sapid;
    std::string full_name; // prefix + first name + " " + last name
    std::string begin; // Date_Beg_Cal, Buddhist era
    std::string end; // Date_End_Cal
    std::string depart_code;
    std::string depart_name;
    int total_days = 0;
    double net = 0; // Net_Money_Recieve
};

// The 9 cells of a list row: the number from 1, the SAP ID, the name, the
// dates with a leading apostrophe (kept for a spreadsheet), department code
// and name, the days and the net with two decimals and thousands separators.
std::vector<std::string> Saved_Grid_Cells(const Saved_List_Row& row, int number);
const std::vector<std::string>& Saved_Grid_Titles();
const std::vector<int>& Saved_Grid_Widths();

// Every saved calculation in the server's order. False with *error on a database error.
bool Search_Saved_Calculations(
    const db::Database& db, const Saved_Search& search, std::vector<Saved_List_Row>* rows, std::string* error);

// Cancels the saved calculation of this SAP ID in one transaction: its
// summary, detail and earlier-payment rows are deleted, the employee's status
// "P" becomes "A", and with withHistory the employee's work-history periods
// are deleted too. Earlier-payment rows of other calculations that name this
// SAP ID stay. Refused, nothing written, when the SAP ID is empty
// (kMessage_Nothing_To_Cancel) or has no saved calculation. All or nothing.
// A calculation nobody has checked is cancelled by an officer, a checked one
// (every one while the check is turned off) by a checker.
bool Cancel_Calculation(const db::Database& db, const std::string& sapid, bool withHistory, std::string* error);

// The steps of a cancel inside the caller's open transaction, its audit row
// of `kind` holding every figure that goes and the `extra` details (a return's
// reason). The rights are the caller's to check.
bool Cancel_Within(const db::Database& db, const std::string& sapid, bool withHistory, const char* kind,
    const QJsonObject& extra, std::string* error);

} // namespace velmora::calc
