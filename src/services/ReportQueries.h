#pragma once

#include "files/ReportGrid.h"
#include "rules/ForecastRules.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace velmora::db {
class Database;
}

namespace velmora::reports {

// "ไม่พบข้อมูลที่ต้องการ": what a report screen says after a search that found nothing.
QString notFoundMessage();

// The end-date / receipt-period choice of a report.
struct PeriodFilter
{
    enum Kind { Any, Year, Month };
    Kind kind = Any;
    QString year; // four digits, when kind is Year
    QString monthYear; // mm/yyyy, when kind is Month
};

// The year and month-and-year filters take Christian-era years; a year above
// this is a Buddhist-era year typed by mistake.
inline constexpr int kBuddhistEraFloor = 2400;

// An empty text when the chosen year or month-and-year is one (Christian
// era), else the message for the officer, which names the era wanted.
QString checkPeriodFilter(const PeriodFilter& filter);

// The refusal of a forecast calculation year, which is Buddhist era.
QString forecastYearMessage(const QString& typed);

// The result of a report search.
struct ReportResult
{
    bool ok = false; // false: `error` tells why (bad input or a database failure)
    QString error;
    bool found = false; // false: the grid holds the titles and one blank row
    ReportGrid grid;
};

// Contract-end employees.
struct ContractEndCriteria
{
    std::optional<QString> workType; // only this employment type name
    PeriodFilter endDate; // year or month of Work_End_Date_Text
    std::optional<QString> department; // only this department name
};
QStringList contractEndTitles();
ReportResult queryContractEnd(const db::Database& db, const ContractEndCriteria& criteria);

// Saved compensation calculations.
struct ReceivedCriteria
{
    PeriodFilter period; // year or month of MMYYYY_Recieve
    std::optional<QString> department; // Depart_Name as typed, blanks included
};
QStringList receivedTitles();
ReportResult queryReceived(const db::Database& db, const ReceivedCriteria& criteria);

// Compensation forecast to the age of 60.
struct ForecastCriteria
{
    std::optional<QString> workType;
    std::optional<QString> department;
    QString calcYear; // Buddhist era, as typed
    double yearlyRaise = kForecastYearlyRaise; // 0.05 is 5 percent
};
QStringList forecastTitles();
ReportResult queryForecast(const db::Database& db, const ForecastCriteria& criteria);

// One employee of the forecast with the names the grid shows.
struct ForecastEmployee
{
    QString sapId;
    QString fullName;
    QString departCode;
    QString departName; // empty: no such department
    QString typeCode;
    QString workType; // empty: no such employment type
    Forecast_Input input;
    Forecast_Result result;
};
// The forecast of every listed employee in the grid's order: what the grid
// shows, and what the outlook totals per year. ok false with *error on a bad
// year or a database error.
bool loadForecast(
    const db::Database& db, const ForecastCriteria& criteria, std::vector<ForecastEmployee>* rows, QString* error);

// The choice lists of the screens, in the order the screens list them.
bool listWorkTypes(const db::Database& db, QStringList* names, QString* error);
bool listDepartments(const db::Database& db, QStringList* names, QString* error);

// Grid column widths in pixels, shared by the three screens (columns 0 to 8).
QList<int> reportColumnWidths();

} // namespace velmora::reports
