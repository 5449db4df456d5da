#pragma once

// Sheet 1 of the employee workbook into EP_Emp_Main: a new employee is
// inserted, a stored one with status "A" is updated (unless it holds every
// value already), one with a saved calculation is left alone; the audit log
// names the columns an update changed.

#include "services/AuditEvents.h"
#include "services/import/SheetSave.h"

#include <QHash>
#include <QSet>

namespace velmora::import {

// An employee as stored: the status and the ten columns an update writes,
// in the order of the update. The dates come back as the server's text, which
// is the text the save binds (SQLite keeps what it was given; PostgreSQL shows
// a timestamp as "yyyy-mm-dd hh:mm:ss").
struct StoredRow
{
    QString status;
    QVariantList values;
};

class EmployeeSave final : public SheetSave
{
public:
    EmployeeSave(const db::Database& db, const QString& sheetName, bool fast, int maximum, const Progress& progress,
        QString* error, bool* databaseFault, audit::ImportChanges* changes);

    bool prepareStatements(QString* error);

private:
    bool readStored(const std::vector<QStringList>& chunk) override;
    bool saveRow(const QStringList& r, int row, const QString& sapId) override;
    // The logged columns whose texts the write changes (money compared by
    // its two-decimal text, written only when the amounts differ).
    void noteChange(const QString& sapId, const QVariantList& old, const QVariantList& now);

    audit::ImportChanges* m_changes;
    db::BatchInsert m_insert;
    Statement m_update;
    QHash<QString, StoredRow> m_stored; // the keys of the chunk, and those written since
    // Employees this import inserted (on the fast path, within the chunk):
    // not stored before it, so the log names no change of theirs.
    QSet<QString> m_insertedHere;
};

// The changes an employee import logs: keyed by SAP ID, the columns an
// update writes that the audit log names.
audit::ImportChanges employeeChanges();

} // namespace velmora::import
