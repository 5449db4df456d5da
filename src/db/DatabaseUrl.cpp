// A database URL read into the parts the Qt driver wants.

#include "db/Database.h"

#include <QRegularExpression>
#include <QUrl>
#include <QUrlQuery>

namespace velmora::db {

ConnectionSpec parseDatabaseUrl(const QString& url)
{
    ConnectionSpec spec;
    const QString trimmed = url.trimmed();
    if (trimmed.startsWith(QLatin1String("sqlite:"), Qt::CaseInsensitive)) {
        QString path = trimmed.mid(7);
        if (path.startsWith(QLatin1String("//")))
            path = path.mid(2);
        spec.backend = Backend::Sqlite;
        spec.driver = QStringLiteral("QSQLITE");
        spec.databaseName = path;
        if (path.isEmpty())
            spec.error = QStringLiteral("sqlite: URL without a file path");
        return spec;
    }
    if (trimmed.startsWith(QLatin1String("odbc:"), Qt::CaseInsensitive)) {
        spec.backend = Backend::SqlServer;
        spec.driver = QStringLiteral("QODBC");
        spec.databaseName = trimmed.mid(5);
        if (spec.databaseName.isEmpty())
            spec.error = QStringLiteral("odbc: URL without a connection string");
        return spec;
    }
    if (trimmed.startsWith(QLatin1String("postgresql://"), Qt::CaseInsensitive)
        || trimmed.startsWith(QLatin1String("postgres://"), Qt::CaseInsensitive)) {
        const QUrl u(trimmed, QUrl::StrictMode);
        if (!u.isValid()) {
            spec.error = QStringLiteral("malformed PostgreSQL URL: ") + u.errorString();
            return spec;
        }
        spec.backend = Backend::Postgres;
        spec.driver = QStringLiteral("QPSQL");
        spec.host = u.host();
        spec.port = u.port(-1);
        spec.user = u.userName(QUrl::FullyDecoded);
        spec.password = u.password(QUrl::FullyDecoded);
        spec.databaseName = u.path(QUrl::FullyDecoded).mid(1);
        const QUrlQuery q(u);
        if (q.hasQueryItem(QStringLiteral("host"))) // a socket folder
            spec.host = q.queryItemValue(QStringLiteral("host"), QUrl::FullyDecoded);
        if (q.hasQueryItem(QStringLiteral("schema"))) {
            spec.schema = q.queryItemValue(QStringLiteral("schema"), QUrl::FullyDecoded);
            static const QRegularExpression plainName(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]{0,62}$"));
            if (!plainName.match(spec.schema).hasMatch())
                spec.error = QStringLiteral("schema name must be letters, digits and underscores: ") + spec.schema;
        }
        if (spec.databaseName.isEmpty())
            spec.error = QStringLiteral("PostgreSQL URL without a database name");
        return spec;
    }
    // A plain file path, as officers and the sqlite3 tool give it, is an
    // SQLite database file. Anything with a scheme of its own is refused.
    if (!trimmed.isEmpty() && !trimmed.contains(QLatin1String("://"))) {
        spec.backend = Backend::Sqlite;
        spec.driver = QStringLiteral("QSQLITE");
        spec.databaseName = trimmed;
        return spec;
    }
    spec.error =
        QStringLiteral("unknown database URL (use sqlite:PATH, a file path, postgresql://... or odbc:...): ") + url;
    return spec;
}

} // namespace velmora::db
