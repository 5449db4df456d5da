#pragma once

// The compensation-by-fund-source report: one line per employment period of
// every saved calculation with the share of the net that falls on the
// period's fund source, the marks the officer sets, the selection gathered
// from them, and the printed-memo marks of the saved calculations.

#include "files/ReportGrid.h"
#include "files/XlsxExport.h"
#include "services/ReportQueries.h"

#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace velmora::db {
class Database;
}

namespace velmora::reports {

struct FundSourceCriteria
{
    QString from; // first save date, dd/mm/yyyy, Buddhist era
    QString to; // last save date, same form
    std::optional<QString> sourceCode; // only periods of this code ("2", "3")
    std::optional<QString> department; // only this Depart_Name (blanks at both ends removed)
    bool unprintedOnly = false; // only calculations whose memo was never printed
};

// The columns of the result list.
enum FundSourceColumn {
    fsNo = 0,
    fsMark = 1,
    fsSapID = 2,
    fsName = 3,
    fsShare = 4,
    fsDateEntry = 5,
    fsDepart = 6,
    fsEventOut = 7,
    fsWorkType = 8,
    fsYears = 9,
    fsMonths = 10,
    fsDays = 11,
    fsBegin = 12,
    fsEnd = 13,
    fsLastSalary = 14,
    fsNT = 15,
    fsCheckState = 16, // the second pair of eyes: the calculation's state
    fsCheckedBy = 17 // and who checked it
};
inline constexpr int kFundSourceColumns = 18;

QStringList fundSourceTitles();
QList<int> fundSourceWidths(); // pixels; 0 keeps the grid's default
QStringList selectionTitles();
QList<int> selectionWidths();

// "ยอดรวมทั้งสิ้น": the caption of both total rows.
QString grandTotalCaption();
// "X": the mark of a marked line.
QString markText();

// What a line is paid from: one calculation's share of one side (university
// or unit). Two period lines of the same calculation and side show the same
// share, which is due once.
struct FundSourceLine
{
    QString sapId;
    bool university = false;
};

struct FundSourceResult
{
    bool ok = false; // false: `error` says why
    QString error;
    bool found = false; // false: titles and one blank row, no total row
    ReportGrid grid; // the lines, then the total row
    QList<FundSourceLine> lines; // one per line of the grid (not for the total row)
};

// An empty text when the date is a real calendar date "dd/mm/yyyy" with a
// Buddhist-era year, else the message.
QString checkSaveDate(const QString& date);
// "dd/mm/yyyy" to the key "yyyymmdd" the save dates are compared by.
QString saveDateKey(const QString& date);

// The search of the screen. The total row adds each (calculation, side) once.
// Each line shows its calculation's check and who checked it.
FundSourceResult queryFundSource(const db::Database& db, const FundSourceCriteria& criteria);

// The rows of that search as they come from the database, for a caller that
// writes them out and keeps none: first the titles, then each line with what
// it is paid from, then the last row (the total row, or the blank row of a
// search that found nothing). queryFundSource gathers the same rows into its
// grid. A cell list is valid only during the call.
class FundSourceRows
{
public:
    virtual ~FundSourceRows() = default;
    virtual void titles(const QStringList& titles) = 0;
    virtual void line(const QStringList& cells, const FundSourceLine& line) = 0;
    virtual void last(const QStringList& cells) = 0;
};

struct FundSourceRun
{
    bool ok = false; // false: `error` says why, and no row was handed over
    QString error;
    bool found = false; // false: the last row is the blank row
};

FundSourceRun runFundSource(const db::Database& db, const FundSourceCriteria& criteria, FundSourceRows& rows);

// Marks on the result list (column 1). A row without a SAP ID (the total row,
// the blank row of a search that found nothing) is never marked.
bool isMarkable(const ReportGrid& grid, int row);
void markAll(ReportGrid& grid);
void releaseAll(ReportGrid& grid);
void markLine(ReportGrid& grid, int row);
void releaseLine(ReportGrid& grid, int row);
void toggleLine(ReportGrid& grid, int row);

// The selection list from the marked lines, in list order: running number,
// SAP ID (with its apostrophe), name and amount, then the total row (empty,
// empty, "ยอดรวมทั้งสิ้น", the total). A marked line whose calculation and side
// were already taken is left out, so no share is counted twice.
ReportGrid gatherSelection(const ReportGrid& list, const QList<FundSourceLine>& lines);

// The selected lines of a selection list (every row but the total row).
int selectedCount(const ReportGrid& selection);
// Their SAP IDs without the apostrophe.
QStringList selectedSapIds(const ReportGrid& selection);
// The total row's amount text ("0.00" when the list has no total row).
QString selectionTotal(const ReportGrid& selection);

// Is_Print_doc := 'Y' for every SAP ID, in one transaction (all or nothing),
// with the audit-log row (the SAP IDs and `memo`: amount, department, routing).
bool markMemoPrinted(
    const db::Database& db, const QStringList& sapIds, QString* error, const QJsonObject& memo = QJsonObject());
// The marks and the row inside the caller's open transaction (nothing for no
// SAP ID).
bool markMemoPrintedIn(const db::Database& db, const QStringList& sapIds, const QJsonObject& memo, QString* error);

// Export values of the two lists. departmentTitle: "หน่วยงาน ทั้งหมด" or
// "หน่วยงาน " + the department, the second title line of both.
QString departmentTitle(const std::optional<QString>& department);
ExportOptions fundSourceExport(const QString& secondTitle);
ExportOptions selectionExport(const QString& secondTitle);

} // namespace velmora::reports
