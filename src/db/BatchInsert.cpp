#include "db/BatchInsert.h"


namespace velmora::db {

BatchInsert::BatchInsert(
    const Database& db, QString table, QStringList columns, int rowsPerStatement, QString purpose)
    : m_db(db)
    , m_table(std::move(table))
    , m_columns(std::move(columns))
    , m_rows(rowsPerStatement < 1 ? 1 : rowsPerStatement)
    , m_purpose(std::move(purpose))
{
    m_pending.reserve(m_rows * m_columns.size());
}

bool BatchInsert::add(const QVariantList& values, int tag, QString* why, int* firstTag)
{
    if (m_pending.isEmpty())
        m_firstTag = tag;
    m_pending += values;
    if (m_pending.size() >= m_rows * m_columns.size())
        return flush(why, firstTag);
    return true;
}

bool BatchInsert::flush(QString* why, int* firstTag)
{
    if (m_pending.isEmpty())
        return true;
    const int rows = static_cast<int>(m_pending.size() / m_columns.size());
    Prepared* q = nullptr;
    if (rows == m_rows) {
        if (!m_full)
            m_full = prepareFor(rows, why);
        q = m_full.get();
    } else {
        m_last = prepareFor(rows, why);
        q = m_last.get();
    }
    *firstTag = m_firstTag;
    if (!q)
        return false;
    for (qsizetype i = 0; i < m_pending.size(); ++i)
        q->bind(static_cast<int>(i), m_pending[i]);
    if (!q->exec(m_purpose, why))
        return false;
    q->finish();
    m_pending.clear();
    return true;
}

std::unique_ptr<Prepared> BatchInsert::prepareFor(int rows, QString* why) const
{
    const QString one = QLatin1Char('(')
        + QStringList(QList<QString>(m_columns.size(), QStringLiteral("?"))).join(QLatin1Char(',')) + QLatin1Char(')');
    const QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES ").arg(m_table, m_columns.join(QStringLiteral(", ")))
        + QStringList(QList<QString>(rows, one)).join(QLatin1Char(','));
    auto q = std::make_unique<Prepared>();
    QString error;
    if (!q->prepare(m_db, sql, &error)) {
        *why = m_purpose + QStringLiteral(": ") + error;
        return nullptr;
    }
    return q;
}

} // namespace velmora::db
