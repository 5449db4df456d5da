#pragma once

// The rows a save finds already stored: read 500 keys at a time, compared
// with what the save would write (a row stored exactly so is not written
// again), and their values as the audit log shows them when a save changes
// them.

#include "db/Database.h"
#include "db/Prepared.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>

#include <functional>

namespace velmora::import {

// The rows already stored for some keys: `select` names the key column first,
// then the columns wanted; 500 keys to a run. On PostgreSQL the statement is
// prepared afresh for each run: the server would otherwise keep the plan it
// chose for the first runs of an import, made while the table was still
// empty (a scan of the whole table), and scan the growing table for every
// later run. And within the import's transaction the server is told that
// reading by an index costs little more than reading in order (as on any
// solid-state disk or cached table): with its default for spinning disks it
// scans all 50,000 employees for each 500 keys, three times slower than
// their 500 index entries (measured 10.5 ms against 3.9 ms a run). SQLite
// plans by the index whatever the table holds.
class StoredReader
{
public:
    static constexpr int kKeys = 500;

    bool prepare(const db::Database& db, const QString& select, const QString& keyColumn, QString* why);
    bool read(const db::Database& db, const QStringList& keys, const std::function<void(const db::Prepared&)>& onRow,
        QString* why);

private:
    bool prepared(const db::Database& db, QString* why) { return m_query.prepare(db, m_sql, why); }

    QString m_sql;
    db::Prepared m_query;
};

// True when the stored columns hold exactly what an update would write, so
// the update would change nothing: NULL where it would write NULL, else the
// same text; `money` names a column compared as a number (-1 for none).
bool sameValues(const QVariantList& stored, const QVariantList& written, qsizetype money = -1);

// Values written, in the form a read would give them back (NULL as a null value).
QVariantList asStored(QVariantList values);

// A value as the audit log shows it: NULL as "", money with two decimals.
QString loggedText(const QVariant& v, bool money);

} // namespace velmora::import
