#include "db/ReadSnapshot.h"

#include <QSqlQuery>

namespace velmora::db {

ReadSnapshot::ReadSnapshot(const Database& db)
    : m_db(db.connection())
    , m_backend(db.backend())
{
    const QString failed = QStringLiteral("เริ่มการอ่านข้อมูลไม่ได้: ");
    QSqlQuery q(m_db);
    if (m_backend == Backend::SqlServer && !q.exec(QStringLiteral("SET TRANSACTION ISOLATION LEVEL SERIALIZABLE"))) {
        m_error = failed + describeError(q.lastError());
        return;
    }
    if (!m_db.transaction()) {
        m_error = failed + describeError(m_db.lastError());
        return;
    }
    if (m_backend == Backend::Postgres
        && !q.exec(QStringLiteral("SET TRANSACTION ISOLATION LEVEL REPEATABLE READ, READ ONLY"))) {
        m_error = failed + describeError(q.lastError());
        m_db.rollback();
        return;
    }
    m_active = true;
}

ReadSnapshot::~ReadSnapshot()
{
    if (m_active)
        m_db.rollback(); // nothing was written
    if (m_backend == Backend::SqlServer) {
        QSqlQuery q(m_db);
        q.exec(QStringLiteral("SET TRANSACTION ISOLATION LEVEL READ COMMITTED"));
    }
}

} // namespace velmora::db
