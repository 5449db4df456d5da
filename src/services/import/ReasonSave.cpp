#include "services/import/ReasonSave.h"

namespace velmora::import {

ReasonSave::ReasonSave(const db::Database& db, const QString& sheetName, bool fast, int maximum,
    const Progress& progress, QString* error, bool* databaseFault)
    : SheetSave(db, 2, sheetName, fast, RowCheck("EP_Reason_out", {{1, "SapID", false}, {2, "Event_out", false}}),
        maximum, progress, error, databaseFault)
    , m_insert(db, QStringLiteral("EP_Reason_out"), {QStringLiteral("SapID"), QStringLiteral("Event_out")},
          fast ? 200 : 1, QStringLiteral("เพิ่มเหตุแห่งการออก"))
{
    m_batch = &m_insert;
}

bool ReasonSave::prepareStatements(QString* error)
{
    return prepareSearch(QStringLiteral("SELECT SapID, Event_out FROM EP_Reason_out"),
               QStringLiteral("SELECT 1 FROM EP_Reason_out WHERE SapID = ?"), QStringLiteral("ค้นหาเหตุแห่งการออก"), error)
        && prepare(m_db, &m_update, QStringLiteral("UPDATE EP_Reason_out SET Event_out = ? WHERE SapID = ?"),
            QStringLiteral("แก้ไขเหตุแห่งการออก"), error);
}

bool ReasonSave::readStored(const std::vector<QStringList>& chunk)
{
    m_stored.clear();
    QString why;
    return m_reader.read(
               m_db, keysOf(chunk), [&](const db::Prepared& q) { m_stored.insert(q.value(0).toString(), q.value(1)); },
               &why)
        || failInDatabase(QStringLiteral("ค้นหาเหตุแห่งการออก"), why);
}

bool ReasonSave::saveRow(const QStringList& r, int row, const QString& sapId)
{
    const QString reason = trimmed(r.at(2));
    QString why;
    if (!m_fast) {
        bool found = false;
        int failedRow = row; // one row to an insert here: it runs at once
        const bool ok = run(m_find, {sapId}, &why, &found)
            && (found ? run(m_update, {reason, sapId}, &why) : m_insert.add({sapId, reason}, row, &why, &failedRow));
        if (!ok)
            return failInDatabase(whereRow(row), why);
        ++(found ? counts.updated : counts.inserted);
        return true;
    }
    const auto it = m_stored.constFind(sapId);
    const bool found = it != m_stored.constEnd();
    if (found && sameValues({*it}, {reason})) {
        ++counts.unchanged;
        return true;
    }
    if (found) {
        if (!flushInserts())
            return false;
        if (!run(m_update, {reason, sapId}, &why))
            return failInDatabase(whereRow(row), why);
        ++counts.updated;
    } else {
        int failedRow = row;
        if (!m_insert.add({sapId, reason}, row, &why, &failedRow))
            return failInDatabase(whereRow(failedRow), why);
        ++counts.inserted;
    }
    m_stored[sapId] = asStored({reason}).value(0);
    return true;
}

} // namespace velmora::import
