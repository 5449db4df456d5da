#include "db/Database.h"

#include "db/ThaiCollation.h"

#include <QAtomicInt>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlRecord>
#include <QUrl>
#include <QUrlQuery>
#include <QVariant>

namespace velmora::db {

namespace {
QAtomicInt g_connectionCounter;

QString driverError(const QSqlError& e)
{
    QString text = e.text().trimmed();
    if (text.isEmpty())
        text = e.databaseText().trimmed();
    return text;
}
} // namespace

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

Database::Database(QString url, QString connectionName, Backend backend)
    : m_url(std::move(url))
    , m_connectionName(std::move(connectionName))
    , m_dialect(backend)
{ }

Database::~Database()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(m_connectionName);
}

std::unique_ptr<Database> Database::open(const QString& url, QString* error)
{
    const ConnectionSpec spec = parseDatabaseUrl(url);
    if (!spec.error.isEmpty()) {
        if (error)
            *error = spec.error;
        return nullptr;
    }
    if (!QSqlDatabase::isDriverAvailable(spec.driver)) {
        if (error)
            *error = QStringLiteral("database driver %1 is not installed").arg(spec.driver);
        return nullptr;
    }
    const QString name = QStringLiteral("velmora-%1").arg(g_connectionCounter.fetchAndAddOrdered(1));
    std::unique_ptr<Database> result(new Database(url, name, spec.backend));
    QSqlDatabase db = QSqlDatabase::addDatabase(spec.driver, name);
    if (spec.backend == Backend::Sqlite) {
        const QFileInfo fi(spec.databaseName);
        if (spec.databaseName != QLatin1String(":memory:"))
            QDir().mkpath(fi.absolutePath());
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
    }
    db.setDatabaseName(spec.databaseName);
    if (!spec.host.isEmpty())
        db.setHostName(spec.host);
    if (spec.port > 0)
        db.setPort(spec.port);
    if (!spec.user.isEmpty())
        db.setUserName(spec.user);
    if (!spec.password.isEmpty())
        db.setPassword(spec.password);
    if (spec.backend == Backend::Postgres)
        db.setConnectOptions(QStringLiteral("connect_timeout=10"));
    if (!db.open()) {
        if (error)
            *error = driverError(db.lastError());
        return nullptr;
    }
    // Thai names sort in dictionary order (Dialect::thaiOrder).
    if (spec.backend == Backend::Sqlite && !registerThaiCollation(db, error))
        return nullptr;
    if (!spec.schema.isEmpty()) {
        // The name was checked to be a plain identifier; it cannot be bound.
        QSqlQuery q(db);
        if (!q.exec(QStringLiteral("SET search_path TO ") + spec.schema)) {
            if (error)
                *error = driverError(q.lastError());
            return nullptr;
        }
    }
    if (spec.backend == Backend::Sqlite) {
        QSqlQuery q(db);
        // Faster and still durable enough for a desktop program: the journal
        // survives a crash of the program, though not of the machine's power.
        q.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
        q.exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
    }
    return result;
}

QSqlDatabase Database::connection() const
{
    return QSqlDatabase::database(m_connectionName, false);
}

QSqlQuery Database::query() const
{
    QSqlQuery q(connection());
    q.setForwardOnly(true);
    return q;
}

bool Database::exec(QSqlQuery& q, const QString& purpose, QString* error) const
{
    if (q.exec())
        return true;
    if (error)
        *error = purpose + QStringLiteral(": ") + driverError(q.lastError());
    return false;
}

std::optional<QDateTime> Database::serverNow(QString* error) const
{
    QSqlQuery q = query();
    if (!q.exec(m_dialect.currentDateTimeQuery()) || !q.next()) {
        if (error)
            *error = driverError(q.lastError());
        return std::nullopt;
    }
    const QVariant v = q.value(0);
    QDateTime dt;
    if (v.metaType().id() == QMetaType::QDateTime)
        dt = v.toDateTime();
    else {
        QString text = v.toString().trimmed();
        text.replace(QLatin1Char(' '), QLatin1Char('T'));
        dt = QDateTime::fromString(text.left(19), Qt::ISODate);
    }
    if (!dt.isValid()) {
        if (error)
            *error = QStringLiteral("the server's date cannot be read: ") + v.toString();
        return std::nullopt;
    }
    return dt;
}

bool Database::hasTable(const QString& name) const
{
    QSqlQuery q = query();
    switch (backend()) {
    case Backend::Sqlite:
        q.prepare(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND lower(name) = lower(?)"));
        break;
    case Backend::Postgres:
        q.prepare(QStringLiteral("SELECT 1 FROM information_schema.tables WHERE table_schema = current_schema() "
                                 "AND lower(table_name) = lower(?)"));
        break;
    case Backend::SqlServer:
        q.prepare(QStringLiteral("SELECT 1 FROM INFORMATION_SCHEMA.TABLES WHERE TABLE_NAME = ?"));
        break;
    }
    q.addBindValue(name);
    return q.exec() && q.next();
}

Transaction::Transaction(const Database& db)
    : m_db(db.connection())
{
    m_active = m_db.transaction();
}

Transaction::~Transaction()
{
    if (m_active && !m_done)
        m_db.rollback();
}

bool Transaction::commit(QString* error)
{
    if (!m_active || m_done) {
        if (error)
            *error = QStringLiteral("no transaction is open");
        return false;
    }
    if (!m_db.commit()) {
        if (error)
            *error = driverError(m_db.lastError());
        m_db.rollback();
        m_done = true;
        return false;
    }
    m_done = true;
    return true;
}

} // namespace velmora::db
