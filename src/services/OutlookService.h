#pragma once

// The liability outlook: the compensation falling due per month (contracts
// ending, computed by the calculation itself) or per Buddhist-era year
// (staff reaching 60, by the forecast), per department or employment type.

#include "files/ReportGrid.h"
#include "files/XlsxExport.h"
#include "rules/Calculation.h"
#include "services/EmployeeService.h"
#include "services/ReportExports.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velmora::db {
class Database;
}

namespace velmora::outlook {

enum class Outlook_Kind { Contract_End, Age60 };
enum class Outlook_Grouping { Department, Work_Type };

inline constexpr int kDefaultMonths = 12;
inline constexpr int kDefaultYears = 10;
inline constexpr int kMaxMonths = 120;
inline constexpr int kMaxYears = 40;

// What the officer chose, as typed; empty texts take the defaults.
struct Outlook_Criteria
{
    Outlook_Kind kind = Outlook_Kind::Contract_End;
    QString count; // months (1-120) or years (1-40); empty: 12 months or 10 years
    QString raise; // yearly raise in percent, 0-15, two decimals; empty: 5 (age 60 only)
    QString from; // first month "mm/yyyy" (Christian era) or first year (Buddhist era); empty: today's
    Outlook_Grouping by = Outlook_Grouping::Department;
    std::optional<QString> department; // only this department name
};

// The criteria read and checked; error holds the Thai message when one is wrong.
struct Outlook_Plan
{
    QString error;
    bool ok() const { return error.isEmpty(); }
    Outlook_Kind kind = Outlook_Kind::Contract_End;
    int count = 0;
    int raise_hundredths = 500; // 500: 5.00 percent
    int first_month = 0; // 1-12 (contract end)
    int first_year = 0; // Christian era (contract end) or Buddhist era (age 60)
    Outlook_Grouping by = Outlook_Grouping::Department;
    std::optional<QString> department;

    double yearly_raise() const { return raise_hundredths / 10000.0; }
    // The labels of the periods in order: "mm/yyyy" or the Buddhist-era year.
    QStringList period_labels() const;
};

// today: "dd/mm/yyyy" Christian era (the server's date), used when no first
// month or year is given.
Outlook_Plan Check_Outlook_Criteria(const Outlook_Criteria& criteria, const QString& today);

// Parses a yearly raise in percent ("5", "3.25"): 0-15, at most two
// decimals. The hundredths of a percent, or the Thai message.
std::optional<int> Parse_Raise(const QString& text, QString* error);

// One employee's calculation for a request month, as `calc SAPID --month`
// computes it: the stored salary and reason, the periods and the earlier
// payments, the four steps. ok false: reason holds the calculation's own
// Thai message (or the database error).
struct Employee_Calculation
{
    calc::Calculation_Input input;
    calc::Calculation result;
    std::string reason;
    bool ok() const { return reason.empty(); }
};
Employee_Calculation Calculate_Employee(
    const db::Database& db, const std::string& sapid, const std::string& requestMonth);

// An employee whose contract ends inside the outlook, with the request month
// of the calculation: the contract-end month, "mm/yyyy" Christian era.
struct Due_Employee
{
    calc::Employee employee; // as Load_Employee reads it
    std::string request_month;
    int period = 0; // index of the outlook's period
};

struct Outlook_Line;

// The employees with status "A" (of the plan's department) whose stored
// contract end falls inside the plan's months; those whose end date cannot be
// read go to *refused with the reason. False with *error on a database error.
bool Find_Contract_Ends(const db::Database& db, const Outlook_Plan& plan, std::vector<Due_Employee>* due,
    std::vector<Outlook_Line>* refused, QString* error);

// The calculation of every due employee, each exactly as Calculate_Employee
// gives it, the rows of all of them read in a few statements (periods, the
// saved calculations of the same people, the bracket table) instead of four
// statements per employee. False with *error on a database error.
bool Calculate_Due(const db::Database& db, const std::vector<Due_Employee>& due,
    std::vector<Employee_Calculation>* calculations, QString* error);

struct Outlook_Cell
{
    int count = 0;
    std::int64_t satang = 0; // the shown amounts added, in hundredths of a baht
    double amount() const { return double(satang) / 100.0; }
};

// An employee in the outlook: counted, or refused with the reason.
struct Outlook_Line
{
    QString sapid;
    QString name;
    QString group;
    QString period; // the period label; empty when the date could not be read
    QString amount_text; // as the calculation or the forecast shows it
    QString reason; // empty: counted
};

struct Outlook_Result
{
    bool ok = false;
    QString error;
    Outlook_Plan plan;
    QStringList periods; // labels in order
    QStringList groups; // group names, sorted
    std::vector<std::vector<Outlook_Cell>> cells; // [period][group]
    std::vector<Outlook_Cell> period_totals;
    std::vector<Outlook_Cell> group_totals;
    Outlook_Cell grand;
    std::vector<Outlook_Line> counted; // in the order computed
    std::vector<Outlook_Line> refused;
};

// Runs the outlook. Errors in the criteria or the database leave ok false
// with the Thai message in error.
Outlook_Result Run_Outlook(const db::Database& db, const Outlook_Criteria& criteria);
// The same on criteria already checked.
Outlook_Result Run_Outlook(const db::Database& db, const Outlook_Plan& plan);

// The table as the screen shows it: one row per period, a count and an amount
// column per group, the totals of the period, and "รวมทั้งสิ้น" last.
reports::ReportGrid Outlook_Grid(const Outlook_Result& result);
// The employees that could not be computed, with the reason.
reports::ReportGrid Refusal_Grid(const Outlook_Result& result);
// "ประมาณการเงินชดเชย ..." with the kind, the periods and the raise.
QString Outlook_Title(const Outlook_Plan& plan);
QString Group_Caption(Outlook_Grouping by); // "ส่วนงาน" / "ประเภทการจ้าง"

// The export workbook: the table with a native stacked-column chart of the
// groups' amounts per period beside it (A4 landscape), and a second sheet with
// the employees that could not be computed.
bool Write_Outlook_Workbook(const Outlook_Result& result, const QString& path, QString* error);
// The export of the screen and of `report outlook --xlsx`: the workbook
// written through the logged export procedure (reports::exportWorkbook), its
// audit-log row naming the outlook's title, its criteria as filters, the file
// and the table's row count. The path written, or empty with *error set.
QString Export_Outlook(
    const db::Database* db, const Outlook_Result& result, const reports::ExportTarget& target, QString* error);
inline constexpr const char* kOutlookSheet = "ประมาณการ";
inline constexpr const char* kRefusalSheet = "คำนวณไม่ได้";

} // namespace velmora::outlook
