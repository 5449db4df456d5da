#pragma once

// The audit log as the viewer and `velmora-cli audit list` show it.

#include "db/AuditLog.h"
#include "files/ReportGrid.h"

#include <QDate>
#include <QJsonObject>
#include <QString>

#include <optional>
#include <vector>

namespace velmora::audit {

// The rows of the trail matching the filter, for the viewer and `audit list`
// (auditor, administrator).
bool listAuditTrail(
    const db::Database& db, const Filter& filter, bool newestFirst, std::vector<Entry>* entries, QString* error);
// The walk of the whole chain (auditor, administrator); a refusal gives ok
// false with its message in problem.
VerifyResult verifyAuditTrail(const db::Database& db);
// The check of a document's small print against the trail (the same rights).
VerifyResult verifyPrintedTrail(const db::Database& db, const PrintedValue& value);

// "DD/MM/YYYY"; a year from 2400 is read as Buddhist era. Empty when not a date.
std::optional<QDate> parseFilterDate(const QString& text);

// One row as a JSON object: seq, time, user, origin, machine, kind, sapid,
// details (the stored object), chain.
QJsonObject entryJson(const Entry& entry);

// The rows as the command line's CSV: the stored values, details as JSON text.
reports::ReportGrid entryGrid(const std::vector<Entry>& entries);

// The rows as the viewer lists them: number, time (dd/mm/yyyy Buddhist era),
// user, origin, machine, event in Thai, SAP ID, a one-line summary.
reports::ReportGrid viewerGrid(const std::vector<Entry>& entries);

// The details of a row in Thai, one fact a line, for an officer to read.
QString readableDetails(const Entry& entry);

} // namespace velmora::audit
