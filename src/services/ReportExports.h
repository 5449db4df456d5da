#pragma once

#include "db/Database.h"
#include "files/XlsxExport.h"

#include <QDateTime>
#include <QJsonObject>

#include <functional>

namespace velmora::reports {

// The export values the report lists share: the sheet "Emp Pro", `title` in
// A1 centred across `titleRange`, the heading styled up to `lastStyledColumn`,
// the page texts and the column widths (characters, from A).
ExportOptions reportSheetExport(const QString& title, const QString& titleRange, const QString& lastStyledColumn,
    PageTexts pageTexts, const QList<double>& widths);

// The fixed export values of each report.
ExportOptions contractEndExport();
ExportOptions receivedExport();
ExportOptions forecastExport();

// Where an export goes: exactly `path` when it is given (the command line's
// --xlsx OUT), else a new file in `folder` named from the title and `now`.
struct ExportTarget
{
    QString path;
    QString folder;
    QDateTime now;
};

// What the audit-log row of an export names besides the file written.
struct ExportRecord
{
    QString report; // the report's title
    QString sheet;
    QJsonObject filters;
    int rows = 0;
};

// The one export procedure of every report and list: writes the workbook
// through `write` (given the path to write) and the audit-log row of the
// export (`record` and the file) in one transaction; when the row cannot be
// written the file is removed again. Without a database (db null) only the
// workbook is written. `baseName` names a new file in target.folder. Returns
// the path written, or an empty text with *error set.
QString exportWorkbook(const db::Database* db, const ExportRecord& record, const QString& baseName,
    const std::function<bool(const QString& path, QString* error)>& write, const ExportTarget& target, QString* error);

// exportWorkbook for one report grid: the record names the report's title,
// `filters` and the grid's row count.
QString exportReport(const db::Database* db, const ReportGrid& grid, const ExportOptions& options,
    const QJsonObject& filters, const ExportTarget& target, QString* error);

} // namespace velmora::reports
