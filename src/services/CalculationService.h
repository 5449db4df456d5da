#pragma once

// The calculation's reads and writes: work-history periods, the saved
// calculations of a person, the bracket table, the whole input of one
// calculation, and the save.

#include "db/Database.h"
#include "rules/Calculation.h"
#include "services/EmployeeService.h"

#include <QSqlQuery>
#include <QString>

#include <optional>
#include <string>
#include <vector>

namespace velmora::calc {

// The employee's periods ordered by the start date's year, month and day.
bool Load_Work_Periods(
    const db::Database& db, const std::string& sapid, std::vector<Work_Period>* periods, std::string* error);

// Checks the new period (Check_New_Period) and writes it. False with the
// Thai message or the database error in *error; nothing written then.
bool Add_Work_Period(const db::Database& db, const std::string& sapid, const std::string& ssn,
    const std::string& typeText, const std::string& begin, const std::string& end, std::string* error);

// Deletes the periods matching all four values; the number deleted, or -1
// with *error ("ไม่มีข้อมูลที่ต้องการลบ" when no code is given).
int Delete_Work_Period(const db::Database& db, const std::string& sapid, const std::string& code,
    const std::string& begin, const std::string& end, std::string* error);

// The saved calculations matching `where` as earlier payments, oldest
// request month first (then by SAP ID); Earlier_Record_Of reads a row of it.
QString Earlier_Records_Select(const db::Dialect& dialect, const QString& where);
Earlier_Record Earlier_Record_Of(const QSqlQuery& row);

// Every saved calculation of this identity-card number, chronological by
// request month; Select_Earlier_Records picks those that count.
bool Load_Person_Records(
    const db::Database& db, const std::string& ssn, std::vector<Earlier_Record>* records, std::string* error);

// EP_TR_Cal_Money in the order the server returns it.
bool Load_Brackets(const db::Database& db, std::vector<Bracket>* brackets, std::string* error);

// The input of one calculation as the wizard gathers it: the employee (who
// must exist and have status "A"), the stored salary and reason unless given,
// the periods, the person's saved calculations and the brackets. False with
// a Thai message in *error. Load_ asks the right to calculate; Gather_ is the
// same work for a service that asked its own (the month-end run, the outlook).
bool Load_Calculation_Input(const db::Database& db, const std::string& sapid, const std::string& requestMonth,
    const std::optional<std::string>& salaryText, const std::optional<std::string>& reason, Calculation_Input* input,
    std::string* error);
bool Gather_Calculation_Input(const db::Database& db, const std::string& sapid, const std::string& requestMonth,
    const std::optional<std::string>& salaryText, const std::optional<std::string>& reason, Calculation_Input* input,
    std::string* error);

// Records a finished calculation in one transaction: the employee's status
// "A" becomes "P" (refused when it is no longer "A": another officer saved
// first), the summary row, one detail row per period, one row per earlier
// record, and its check row: waiting, saved by the logged-in user. All or
// nothing. dateEntry: the server date, Buddhist era. Save_ asks the right to
// save; Record_ is the same write for the month-end run, which asked once.
bool Save_Calculation(const db::Database& db, const Calculation_Input& input, const Calculation& calculation,
    const std::string& dateEntry, std::string* error);
bool Record_Calculation(const db::Database& db, const Calculation_Input& input, const Calculation& calculation,
    const std::string& dateEntry, std::string* error);

// The server's date "dd/mm/yyyy" with the Buddhist-era year.
std::optional<std::string> Server_Date_Text_BE(const db::Database& db, std::string* error);

} // namespace velmora::calc
