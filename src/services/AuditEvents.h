#pragma once

// The details each money-changing action writes into the audit log
// (db/AuditLog.h), gathered inside the action's own transaction.

#include "db/AuditLog.h"
#include "rules/Calculation.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <string>
#include <vector>

namespace velmora::audit {

// Calculation saved: the whole calculation as `calc --json` prints it
// (month, span, service, multiplier, salary, paid earlier, net, shares,
// periods and earlier payments), as compact JSON text for recordJson().
QByteArray calculationSavedDetails(const calc::Calculation_Input& input, const calc::Calculation& calculation);

// Calculation cancelled: reads, before the deletes, every column of the
// summary, detail and earlier-payment rows of this SAP ID and, when the work
// history goes too, its periods. Runs inside the cancel's transaction.
bool cancelledDetails(
    const db::Database& db, const QString& sapid, bool withHistory, QJsonObject* details, QString* error);

// The stored values of some columns of a table, per key, read before and
// after an import so that the log names what the import changed.
struct RowSnapshot
{
    QString table;
    QStringList keyColumns; // the first one is the SAP ID
    QStringList valueColumns;
    QHash<QString, QString> rows; // joined key -> the values as text, joined by U+001F

    // Reads the rows of these SAP IDs (500 to a statement).
    bool read(const db::Database& db, const QStringList& sapids, QString* error);
    QStringList keysOf(const QStringList& sapids) const;
};

RowSnapshot employeeSnapshot(); // EP_Emp_Main
RowSnapshot historySnapshot(); // EP_Work_Histry, by SAP ID, type code and first day

// For each key stored before and after whose values differ: {"sapid", "key",
// "changes": {column: {"old", "new"}}}.
QJsonArray changedRows(const RowSnapshot& before, const RowSnapshot& after);

// The SAP IDs of grid rows (column 1, blanks trimmed), without repeats or empties.
QStringList gridSapids(const std::vector<QStringList>& rows);

// SHA-256 of a file's bytes as 64 hex digits; empty when it cannot be read.
QString fileSha256(const QString& path);

// Writes an import's row: file name, SHA-256 of the workbook, counts
// {"inserted", "updated", "left_alone", "skipped"} per table, and the rows
// whose values changed (re-reading the keys of `before` now).
bool recordImport(const db::Database& db, const QString& kind, const QString& path, const QString& sha256,
    const QJsonObject& counts, const RowSnapshot& before, QString* error);

} // namespace velmora::audit
