#include "services/import/HistorySave.h"

namespace velmora::import {

HistorySave::HistorySave(const db::Database& db, const QString& sheetName, bool fast, int maximum,
    const Progress& progress, QString* error, bool* databaseFault, audit::ImportChanges* changes)
    : SheetSave(db, 1, sheetName, fast,
        RowCheck("EP_Work_Histry",
            {{1, "SapID", false}, {2, "SSN", false}, {3, "Work_Type_Code", false}, {4, "Work_Type", false},
                {5, "Work_B_Date", false}, {6, "Work_E_Date", false}}),
        maximum, progress, error, databaseFault, true)
    , m_changes(changes)
    , m_insert(db, QStringLiteral("EP_Work_Histry"),
          {QStringLiteral("SapID"), QStringLiteral("SSN"), QStringLiteral("Work_Type_Code"),
              QStringLiteral("Work_Type"), QStringLiteral("Work_B_Date"), QStringLiteral("Work_E_Date")},
          fast ? 200 : 1, QStringLiteral("เพิ่มประวัติการจ้าง"))
{
    m_batch = &m_insert;
}

bool HistorySave::prepareStatements(QString* error)
{
    return prepareSearch(
               QStringLiteral(
                   "SELECT SapID, Work_Type_Code, Work_B_Date, SSN, Work_Type, Work_E_Date FROM EP_Work_Histry"),
               QStringLiteral("SELECT SSN, Work_Type, Work_E_Date FROM EP_Work_Histry WHERE SapID = ? "
                              "AND Work_Type_Code = ? AND Work_B_Date = ?"),
               QStringLiteral("ค้นหาประวัติการจ้าง"), error)
        && prepare(m_db, &m_update,
            QStringLiteral("UPDATE EP_Work_Histry SET SSN = ?, Work_Type_Code = ?, Work_Type = ?, "
                           "Work_B_Date = ?, Work_E_Date = ? "
                           "WHERE SapID = ? AND Work_Type_Code = ? AND Work_B_Date = ?"),
            QStringLiteral("แก้ไขประวัติการจ้าง"), error);
}

bool HistorySave::readStored(const std::vector<QStringList>& chunk)
{
    m_stored.clear();
    m_insertedHere.clear();
    QString why;
    return m_reader.read(
               m_db, keysOf(chunk),
               [&](const db::Prepared& q) {
                   m_stored.insert(periodKey(q.value(0).toString(), q.value(1).toString(), q.value(2).toString()),
                       {q.value(3), q.value(4), q.value(5)});
               },
               &why)
        || failInDatabase(QStringLiteral("ค้นหาประวัติการจ้าง"), why);
}

bool HistorySave::saveRow(const QStringList& r, int row, const QString& sapId)
{
    const QString ssn = trimmed(r.at(2));
    const QString code = trimmed(r.at(3));
    const QString typeName = trimmed(r.at(4));
    const QString begin = trimmed(r.at(5));
    const QString end = trimmed(r.at(6));
    const QVariantList values = {ssn, typeName, end};
    QString why;
    bool found = false;
    QVariantList known;
    const QString key = m_fast ? periodKey(sapId, code, begin) : QString();
    if (m_fast) {
        const auto it = m_stored.constFind(key);
        found = it != m_stored.constEnd();
        if (found)
            known = *it;
    } else if (!run(m_find, {sapId, code, begin}, &why, &found, &known, 3)) {
        return failInDatabase(whereRow(row), why);
    }
    if (found && m_fast && sameValues(known, values)) {
        ++counts.unchanged;
    } else if (found) {
        if (!flushInserts())
            return false;
        if (!run(m_update, {ssn, code, typeName, begin, end, sapId, code, begin}, &why))
            return failInDatabase(whereRow(row), why);
        QStringList before, after;
        for (qsizetype c = 0; c < values.size(); ++c) {
            before << loggedText(known.value(c), false);
            after << loggedText(values.at(c), false);
        }
        if (!m_insertedHere.contains(periodKey(sapId, code, begin)))
            m_changes->note({sapId, code, begin}, before, after);
        if (m_fast)
            m_stored[key] = asStored(values);
        ++counts.updated;
    } else {
        int failedRow = row;
        if (!m_insert.add({sapId, ssn, code, typeName, begin, end}, row, &why, &failedRow))
            return failInDatabase(whereRow(failedRow), why);
        if (m_fast)
            m_stored.insert(key, asStored(values));
        m_insertedHere.insert(periodKey(sapId, code, begin));
        ++counts.inserted;
    }
    return true;
}

audit::ImportChanges historyChanges()
{
    return audit::ImportChanges(
        {QStringLiteral("SapID"), QStringLiteral("Work_Type_Code"), QStringLiteral("Work_B_Date")},
        {QStringLiteral("SSN"), QStringLiteral("Work_Type"), QStringLiteral("Work_E_Date")});
}

} // namespace velmora::import
