#include "db/Statement.h"

#include <QSqlError>

namespace velmora::db {

bool prepareAndRun(const Database& db, QSqlQuery& q, const QString& sql, const QVariantList& values,
    const QString& purpose, QString* error)
{
    q.setForwardOnly(true);
    if (!q.prepare(sql)) {
        if (error)
            *error = purpose + QStringLiteral(": ") + q.lastError().text();
        return false;
    }
    for (const QVariant& v : values)
        q.addBindValue(v);
    return db.exec(q, purpose, error);
}

bool prepareAndRun(
    const Database& db, const QString& sql, const QVariantList& values, const QString& purpose, QString* error)
{
    QSqlQuery q = db.query();
    return prepareAndRun(db, q, sql, values, purpose, error);
}

} // namespace velmora::db
