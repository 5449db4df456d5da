#pragma once

// The employee list of the calculation screen and the selected employee.

#include "db/Database.h"

#include <QSqlQuery>
#include <QString>

#include <optional>
#include <string>
#include <vector>

namespace velmora::calc {

struct Employee_Search
{
    std::string work_type; // employment type name ("พนักงานมหาวิทยาลัย")
    enum class End_Filter { All, Year, Month };
    End_Filter end_filter = End_Filter::Month;
    std::string year; // yyyy: contract ends in this year
    std::string month_year; // mm/yyyy: contract ends in this month
    bool by_first_name = false;
    std::string first_name; // the first name starts with this text
};

// One row of the employee list.
struct Employee_List_Row
{
    std::string sapid;
    std::string full_name;
    std::string begin; // Work_Begin_Date "dd/mm/yyyy"
    std::string work_type;
    std::string end; // Work_End_Date "dd/mm/yyyy"
    std::string depart_name;
    int days = 0; // whole days from begin to end, no day added
    std::string status; // "A" or "P"
    // the check of the employee's saved calculation ("รอตรวจสอบ", "ตรวจสอบแล้ว"),
    // or the reason of the last return ("ส่งคืน: ..."); empty without one
    std::string check;
};

// The 10 cells of a list row (column 0 the number from 1; dates with a
// leading apostrophe, as the list keeps them for a spreadsheet; the check last).
std::vector<std::string> Employee_Grid_Cells(const Employee_List_Row& row, int number);
const std::vector<std::string>& Employee_Grid_Titles();
const std::vector<int>& Employee_Grid_Widths();

// Ordered by department, employment type, first name. False with *error on a
// database error or without the right to calculate.
bool Search_Employees(
    const db::Database& db, const Employee_Search& search, std::vector<Employee_List_Row>* rows, std::string* error);

// The selected employee with the names of type and department and the reason
// for leaving (empty without a record).
struct Employee
{
    std::string sapid;
    std::string ssn;
    std::string prefix;
    std::string first_name;
    std::string last_name;
    std::string birth_day;
    std::string contract_begin; // Work_Begin_Date_Text
    std::string contract_end; // Work_End_Date_Text
    std::string work_type_code;
    std::string work_type_name;
    std::string depart_code;
    std::string depart_name;
    double money_rate = 0;
    std::string salary_text; // Money_Rate as shown ("18,500.00")
    std::string status;
    std::string reason;
};

// The employee's row with the names of type and department and the reason:
// the SELECT and FROM of it (EP_Emp_Main as m, the type as t, the department
// as d, the reason as r) for a WHERE to follow, and the reading of one row.
QString Employee_Select();
Employee Employee_Of(const QSqlQuery& row);

// Empty with *error empty: no such SAP ID. Empty with *error set: database error.
std::optional<Employee> Load_Employee(const db::Database& db, const std::string& sapid, std::string* error);

// The reasons for leaving of the reason combo, in alphabetical order.
bool Load_Reasons(const db::Database& db, std::vector<std::string>* reasons, std::string* error);

} // namespace velmora::calc
