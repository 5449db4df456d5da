#include "db/Database.h"

#include "db/Prepared.h"
#include "db/PrivateFile.h"

#include "db/ThaiCollation.h"

#include <QAtomicInt>
#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlRecord>
#include <QUrl>
#include <QVariant>

namespace velmora::db {

namespace {
QAtomicInt g_connectionCounter;
QAtomicInt g_busyTimeout = 10000;

QString sqliteOptions(bool readOnly, bool uri)
{
    QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(g_busyTimeout.loadRelaxed());
    if (readOnly)
        options += QStringLiteral(";QSQLITE_OPEN_READONLY");
    if (uri)
        options += QStringLiteral(";QSQLITE_OPEN_URI");
    return options;
}

// Reads the schema list: fails when the file cannot be read at all (a WAL
// database whose shared-memory file cannot be created in a read-only folder).
bool canRead(const QSqlDatabase& db, QSqlError* error)
{
    QSqlQuery q(db);
    if (q.exec(QStringLiteral("SELECT COUNT(*) FROM sqlite_master")) && q.next())
        return true;
    *error = q.lastError();
    return false;
}

// Opens an existing SQLite file for reading only, when it cannot be opened
// for writing. With a read-only folder the shared-memory file of the WAL
// journal cannot be made; the file is then read as unchanging, which is safe
// only while no journal holds committed pages that the file lacks.
bool openForReading(QSqlDatabase& db, const QString& path, QSqlError* why = nullptr)
{
    db.close();
    db.setConnectOptions(sqliteOptions(true, false));
    QSqlError ignored;
    if (db.open() && canRead(db, why ? why : &ignored))
        return true;
    db.close();
    const QFileInfo wal(path + QStringLiteral("-wal"));
    if (wal.exists() && wal.size() > 0)
        return false;
    db.setConnectOptions(sqliteOptions(true, true));
    db.setDatabaseName(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString(QUrl::FullyEncoded)
        + QStringLiteral("?immutable=1"));
    return db.open() && canRead(db, &ignored);
}
} // namespace

void Database::setBusyTimeout(int milliseconds)
{
    g_busyTimeout.storeRelaxed(milliseconds);
}

int Database::busyTimeout()
{
    return g_busyTimeout.loadRelaxed();
}

Database::Database(QString url, QString connectionName, Backend backend)
    : m_url(std::move(url))
    , m_connectionName(std::move(connectionName))
    , m_dialect(backend)
{ }

Database::~Database()
{
    m_prepared.clear(); // kept statements go before their connection
    {
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(m_connectionName);
}

std::unique_ptr<Database> Database::open(const QString& url, QString* error)
{
    return openSpec(url, parseDatabaseUrl(url), error);
}

std::unique_ptr<Database> Database::openAs(
    const QString& url, const QString& login, const QString& password, QString* error)
{
    ConnectionSpec spec = parseDatabaseUrl(url);
    spec.user = login;
    spec.password = password;
    std::unique_ptr<Database> db = openSpec(url, spec, error);
    if (db)
        db->m_serverLogin = true;
    return db;
}

bool Database::takesServerLogin(const QString& url)
{
    const ConnectionSpec spec = parseDatabaseUrl(url);
    return spec.error.isEmpty() && spec.backend == Backend::Postgres && spec.user.isEmpty();
}

bool Database::serverRoles() const
{
    if (backend() != Backend::Postgres)
        return false;
    if (!m_serverRoles) {
        QSqlQuery q = query();
        m_serverRoles = q.exec(QStringLiteral("SELECT to_regproc('velmora_audit_append') IS NOT NULL")) && q.next()
            && q.value(0).toBool();
    }
    return *m_serverRoles;
}

std::unique_ptr<Database> Database::openSpec(const QString& url, const ConnectionSpec& spec, QString* error)
{
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
        if (spec.databaseName != QLatin1String(":memory:")) {
            QDir().mkpath(fi.absolutePath());
            // A new file is its owner's alone; the library gives its journal
            // files (-wal, -shm) the file's own mode.
            createPrivateFile(spec.databaseName, false);
        }
        db.setConnectOptions(sqliteOptions(false, false));
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
            *error = describeError(db.lastError());
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
    if (spec.backend == Backend::Sqlite && spec.databaseName != QLatin1String(":memory:")) {
        {
            QSqlQuery q(db);
            // Readers do not wait for a writer. Every commit reaches the disk
            // before the save is reported done: a power cut loses no payment
            // once the officer has seen "saved".
            q.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
            q.exec(QStringLiteral("PRAGMA synchronous=FULL"));
        }
        QSqlError readError;
        if (!canRead(db, &readError)) {
            if (!openForReading(db, spec.databaseName)) {
                if (error)
                    *error = describeError(readError);
                return nullptr;
            }
            // a new connection: its collation is registered anew
            if (!registerThaiCollation(db, error))
                return nullptr;
            result->m_readOnly = true;
        } else {
            // An SQLite file that cannot be written is opened for reading by
            // the library without a word; say so before the first write.
            const QFileInfo file(spec.databaseName);
            result->m_readOnly = file.exists() && !file.isWritable();
        }
    }
    return result;
}

std::unique_ptr<Database> Database::openSqliteForReading(const QString& path, QString* error)
{
    if (!QFileInfo(path).isFile()) {
        if (error)
            *error = QStringLiteral("ไม่พบแฟ้ม ") + path;
        return nullptr;
    }
    const QString name = QStringLiteral("velmora-%1").arg(g_connectionCounter.fetchAndAddOrdered(1));
    std::unique_ptr<Database> result(new Database(QStringLiteral("sqlite:") + path, name, Backend::Sqlite));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(path);
    QSqlError why;
    if (!openForReading(db, path, &why)) {
        if (error)
            *error = driverError(why.isValid() ? why : db.lastError());
        return nullptr;
    }
    if (!registerThaiCollation(db, error))
        return nullptr;
    result->m_readOnly = true;
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
        *error = purpose + QStringLiteral(": ") + failureOf(q);
    return false;
}

QString Database::failureOf(const QSqlQuery& q) const
{
    if (!connection().isOpen())
        return lostConnectionMessage();
    return describeError(q.lastError());
}

Prepared* Database::preparedOnce(const QString& sql, QString* error) const
{
    const auto found = m_prepared.find(sql);
    if (found != m_prepared.end())
        return found->second.get();
    auto q = std::make_unique<Prepared>();
    if (!q->prepare(*this, sql, error))
        return nullptr;
    return m_prepared.emplace(sql, std::move(q)).first->second.get();
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

QVariant Database::dateTimeValue(const QDateTime& time) const
{
    if (backend() == Backend::Sqlite)
        return time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    return time;
}

bool Database::hasTable(const QString& name) const
{
    QString ignored;
    return findTable(name, &ignored).value_or(false);
}

std::optional<bool> Database::findTable(const QString& name, QString* error) const
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
    if (!exec(q, QStringLiteral("ตรวจตาราง ") + name, error))
        return std::nullopt;
    return q.next();
}

Transaction::Transaction(const Database& db)
    : m_db(db.connection())
{
    const QString failed = QStringLiteral("เริ่มการบันทึกไม่ได้: ");
    if (db.readOnly()) {
        m_error = failed + readOnlyMessage();
        return;
    }
    if (!db.writeRefusal().isEmpty()) {
        m_error = failed + db.writeRefusal();
        return;
    }
    if (!m_db.isOpen()) {
        m_error = failed + lostConnectionMessage();
        return;
    }
    if (db.backend() == Backend::Sqlite) {
        QSqlQuery q(m_db);
        m_active = q.exec(QStringLiteral("BEGIN IMMEDIATE"));
        if (!m_active)
            m_error = failed + describeError(q.lastError());
        return;
    }
    m_active = m_db.transaction();
    if (!m_active)
        m_error = failed + describeError(m_db.lastError());
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
            *error = describeError(m_db.lastError());
        m_db.rollback();
        m_done = true;
        return false;
    }
    m_done = true;
    return true;
}

} // namespace velmora::db
