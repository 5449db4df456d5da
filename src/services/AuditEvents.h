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

// What an import changed, gathered by the import itself from the stored
// values it read (old) and the values it wrote (new), per key.
class ImportChanges
{
public:
    // The key columns (the first one is the SAP ID) and the logged columns.
    ImportChanges(QStringList keyColumns, QStringList valueColumns);

    // One logged column of a row written over: its place among the logged
    // columns, the stored value before and the value written, as texts.
    struct ColumnChange
    {
        int column = 0;
        QString old, now;
    };

    // One row written over: its key and the logged columns whose texts the
    // write changed. A key written twice keeps, for each column, its first
    // old value and its last new one.
    void note(const QStringList& key, std::vector<ColumnChange> changed);
    // The same from the full lists of old and written values, in the order of
    // the logged columns.
    void note(const QStringList& key, const QStringList& old, const QStringList& now);

    // A JSON array, sorted by key, of each row whose values differ:
    // {"changes": {column: {"new", "old"}}, "key" (when the key has more
    // than one column), "sapid"}.
    QByteArray rowsJson() const;

private:
    struct Change
    {
        QString joined; // the key's columns joined, for sorting
        QStringList key;
        std::vector<ColumnChange> columns;
    };
    QStringList m_keyColumns;
    QStringList m_valueColumns;
    std::vector<Change> m_rows; // in the order noted; a key written again is merged when written out
};

// SHA-256 of a file's bytes as 64 hex digits; empty when it cannot be read.
QString fileSha256(const QString& path);

// Writes an import's row: file name, SHA-256 of the workbook, counts
// {"inserted", "updated", "left_alone", "skipped"} per table, and the rows
// whose values changed.
bool recordImport(const db::Database& db, const QString& kind, const QString& path, const QString& sha256,
    const QJsonObject& counts, const ImportChanges& changes, QString* error);

} // namespace velmora::audit
