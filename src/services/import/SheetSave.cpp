#include "services/import/SheetSave.h"

#include "db/Schema.h"
#include "services/import/SsnWarnings.h"

#include <QSet>

#include <cmath>

namespace velmora::import {

bool prepare(const db::Database& db, Statement* s, const QString& sql, const QString& purpose, QString* error)
{
    s->purpose = purpose;
    QString why;
    if (!s->query.prepare(db, sql, &why)) {
        *error = msg::databaseFailure(purpose, why);
        return false;
    }
    return true;
}

bool run(Statement& s, const QVariantList& values, QString* error, bool* found, QVariantList* columns, int columnCount)
{
    s.query.bindAll(values);
    if (!s.query.exec(s.purpose, error))
        return false;
    if (found) {
        *found = s.query.next();
        if (*found && columns) {
            columns->clear();
            for (int c = 0; c < columnCount; ++c)
                *columns << s.query.value(c);
        }
    }
    s.query.finish();
    return true;
}

bool runWrite(Statement& s, const QVariantList& values, QString* error, int* affected)
{
    s.query.bindAll(values);
    if (!s.query.exec(s.purpose, error))
        return false;
    *affected = s.query.rowsAffected();
    s.query.finish();
    return true;
}

bool fastPath(const db::Database& db)
{
    return db.backend() == db::Backend::Sqlite || db.backend() == db::Backend::Postgres;
}

RowCheck::RowCheck(const char* table, std::initializer_list<ColumnRule> rules, int salaryColumn)
    : m_salaryColumn(salaryColumn)
{
    for (const ColumnRule& rule : rules)
        m_limits.emplace_back(rule, db::textColumnLength(table, rule.column));
}

bool RowCheck::check(const QStringList& r, int sheet, const QString& sheetName, int row, QString* error) const
{
    for (const auto& [rule, maximum] : m_limits) {
        const QString& shown = r.at(rule.gridColumn);
        if (maximum > 0 && shown.size() > maximum) { // else the trimmed text fits too
            const QString value = rule.asShown ? shown : trimmed(shown);
            if (value.size() > maximum) {
                *error = msg::textTooLong(msg::where(sheet, sheetName, row, rule.gridColumn), value, maximum);
                return false;
            }
        }
    }
    if (m_salaryColumn > 0) {
        const QString& shown = r.at(m_salaryColumn);
        const auto salary = Parse_Number(Remove_Commas(trimmed(shown).toStdString()));
        if (salary && !(std::fabs(*salary) < db::kMoneyLimit)) {
            *error = msg::amountNotStorable(msg::where(sheet, sheetName, row, m_salaryColumn), shown);
            return false;
        }
    }
    return true;
}

bool SheetSave::flushInserts()
{
    QString why;
    int failedRow = 0;
    return !m_batch || m_batch->flush(&why, &failedRow) || failInDatabase(whereRow(failedRow), why);
}

bool SheetSave::prepareSearch(const QString& select, const QString& findOne, const QString& purpose, QString* error)
{
    QString why;
    if (m_fast && !m_reader.prepare(m_db, select, QStringLiteral("SapID"), &why)) {
        *error = msg::databaseFailure(purpose, why);
        return false;
    }
    return m_fast || prepare(m_db, &m_find, findOne, purpose, error);
}

bool SheetSave::failInDatabase(const QString& where, const QString& why)
{
    *m_error = msg::databaseFailure(where, why);
    *m_databaseFault = true;
    return false;
}

QStringList SheetSave::keysOf(const std::vector<QStringList>& chunk)
{
    QStringList keys;
    QSet<QString> seen;
    keys.reserve(static_cast<qsizetype>(chunk.size()));
    for (const QStringList& r : chunk) {
        const QString key = trimmed(r.at(1));
        if (!key.isEmpty() && !seen.contains(key)) {
            seen.insert(key);
            keys << key;
        }
    }
    return keys;
}

bool SheetSave::drain()
{
    if (m_chunk.empty())
        return true;
    if (m_fast && (!flushInserts() || !readStored(m_chunk)))
        return false;
    for (const QStringList& r : m_chunk) {
        const int row = kFirstRow + m_done;
        const QString key = trimmed(r.at(1));
        if (key.isEmpty()) {
            ++counts.skipped; // a row without a key is not saved
        } else {
            if (!m_check.check(r, m_sheet, m_sheetName, row, m_error) || !saveRow(r, row, key))
                return false;
            const QString warning = m_ssnInColumn2 ? ssnWarning(m_sheet, m_sheetName, row, r) : QString();
            if (!warning.isEmpty())
                counts.warnings << warning;
        }
        ++m_done;
        if (m_progress)
            m_progress(m_done, m_maximum);
    }
    m_chunk.clear();
    return true;
}

} // namespace velmora::import
