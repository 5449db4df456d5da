#pragma once

#include "db/Database.h"
#include "files/XlsxExport.h"

#include <QDateTime>
#include <QJsonObject>

namespace velmora::reports {

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

// The one export procedure of every report and list: writes the workbook and
// the audit-log row of the export (the report's title, `filters`, the file and
// the row count) in one transaction; when the row cannot be written the file
// is removed again. Without a database (db null) only the workbook is written.
// Returns the path written, or an empty text with *error set.
QString exportReport(const db::Database* db, const ReportGrid& grid, const ExportOptions& options,
    const QJsonObject& filters, const ExportTarget& target, QString* error);

} // namespace velmora::reports
