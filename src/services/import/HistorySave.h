#pragma once

// The employment-history workbook into EP_Work_Histry: periods of
// employment, each known by employee number, type code and first day,
// updated (unless stored exactly so) or inserted; the audit log names the
// columns an update changed.

#include "services/AuditEvents.h"
#include "services/import/SheetSave.h"

#include <QHash>
#include <QSet>

namespace velmora::import {

class HistorySave final : public SheetSave
{
public:
    HistorySave(const db::Database& db, const QString& sheetName, bool fast, int maximum, const Progress& progress,
        QString* error, bool* databaseFault, audit::ImportChanges* changes);

    bool prepareStatements(QString* error);

private:
    static QString periodKey(const QString& a, const QString& b, const QString& c)
    {
        return a + QChar(0x1F) + b + QChar(0x1F) + c;
    }

    // The stored periods of the chunk's employees: SSN, type name and last day.
    bool readStored(const std::vector<QStringList>& chunk) override;
    bool saveRow(const QStringList& r, int row, const QString& sapId) override;

    audit::ImportChanges* m_changes;
    db::BatchInsert m_insert;
    Statement m_update;
    QHash<QString, QVariantList> m_stored; // the periods of the chunk's employees, and those written since
    // Periods this import inserted (on the fast path, within the chunk): not
    // stored before it, so the log names no change of theirs.
    QSet<QString> m_insertedHere;
};

// The changes a history import logs: keyed by SAP ID, type code and first
// day; the columns an update writes besides the key.
audit::ImportChanges historyChanges();

} // namespace velmora::import
