#include "services/import/CodeTableSave.h"

namespace velmora::import {

CodeTableSave::CodeTableSave(const db::Database& db, int sheet, const QString& sheetName, const char* table,
    const char* codeColumn, const char* nameColumn, int maximum, const Progress& progress, QString* error,
    bool* databaseFault)
    : SheetSave(db, sheet, sheetName, false, RowCheck(table, {{1, codeColumn, false}, {2, nameColumn, false}}), maximum,
        progress, error, databaseFault)
    , m_table(QLatin1String(table))
    , m_code(QLatin1String(codeColumn))
    , m_name(QLatin1String(nameColumn))
{ }

bool CodeTableSave::prepareStatements(QString* error)
{
    return prepare(m_db, &m_find, QStringLiteral("SELECT 1 FROM %1 WHERE %2 = ?").arg(m_table, m_code),
               QStringLiteral("ค้นหา %1").arg(m_table), error)
        && prepare(m_db, &m_update, QStringLiteral("UPDATE %1 SET %2 = ? WHERE %3 = ?").arg(m_table, m_name, m_code),
            QStringLiteral("แก้ไข %1").arg(m_table), error)
        && prepare(m_db, &m_insert,
            QStringLiteral("INSERT INTO %1 (%2, %3) VALUES (?, ?)").arg(m_table, m_code, m_name),
            QStringLiteral("เพิ่ม %1").arg(m_table), error);
}

bool CodeTableSave::saveRow(const QStringList& r, int row, const QString& code)
{
    const QString name = trimmed(r.at(2));
    bool found = false;
    QString why;
    const bool ok = run(m_find, {code}, &why, &found)
        && (found ? run(m_update, {name, code}, &why) : run(m_insert, {code, name}, &why));
    if (!ok)
        return failInDatabase(whereRow(row), why);
    ++(found ? counts.updated : counts.inserted);
    return true;
}

} // namespace velmora::import
