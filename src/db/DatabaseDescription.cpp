#include "db/DatabaseDescription.h"

#include "db/Database.h"

#include <QStringList>

namespace velmora::db {

QString describeDatabase(const QString& url)
{
    const ConnectionSpec spec = parseDatabaseUrl(url);
    if (!spec.error.isEmpty())
        return spec.error;
    switch (spec.backend) {
    case Backend::Sqlite:
        return QStringLiteral("SQLite: ") + spec.databaseName;
    case Backend::Postgres: {
        QString text = QStringLiteral("PostgreSQL: ") + spec.databaseName;
        if (!spec.host.isEmpty())
            text += QStringLiteral(" ที่ ") + spec.host + (spec.port > 0 ? QStringLiteral(":%1").arg(spec.port) : QString());
        if (!spec.user.isEmpty())
            text += QStringLiteral(" (ผู้ใช้ ") + spec.user + QLatin1Char(')');
        if (!spec.schema.isEmpty())
            text += QStringLiteral(" schema ") + spec.schema;
        return text;
    }
    case Backend::SqlServer:
        break;
    }
    // The connection string's parts but its password.
    QStringList kept;
    for (const QString& part : spec.databaseName.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString key = part.section(QLatin1Char('='), 0, 0).trimmed().toUpper();
        if (key != QLatin1String("PWD") && key != QLatin1String("PASSWORD"))
            kept << part.trimmed();
    }
    return QStringLiteral("SQL Server (ODBC): ") + kept.join(QStringLiteral("; "));
}

} // namespace velmora::db
