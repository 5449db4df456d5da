#include "db/Database.h"

#include "db/Prepared.h"

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
QAtomicInt g_busyTimeout = 10000;

QString driverError(const QSqlError& e)
{
    QString text = e.text().trimmed();
    if (text.isEmpty())
        text = e.databaseText().trimmed();
    return text;
}

enum class Cause { Unknown, Busy, ReadOnly, DiskFull, FileAccess, ConnectionLost };

// SQLite gives its result code (primary in the low byte of an extended code),
// PostgreSQL its SQLSTATE.
Cause causeOf(const QSqlError& e)
{
    const QString code = e.nativeErrorCode();
    bool numeric = false;
    const int n = code.toInt(&numeric);
    if (numeric && code.size() < 5) {
        switch (n & 0xff) {
        case 5: // SQLITE_BUSY
        case 6: // SQLITE_LOCKED
            return Cause::Busy;
        case 8: // SQLITE_READONLY
            return Cause::ReadOnly;
        case 13: // SQLITE_FULL
            return Cause::DiskFull;
        case 10: // SQLITE_IOERR
        case 14: // SQLITE_CANTOPEN
            return Cause::FileAccess;
        default:
            return Cause::Unknown;
        }
    }
    if (code == QLatin1String("25006")) // read_only_sql_transaction
        return Cause::ReadOnly;
    if (code == QLatin1String("53100")) // disk_full
        return Cause::DiskFull;
    if (code == QLatin1String("55P03") || code == QLatin1String("40P01")) // lock_not_available, deadlock
        return Cause::Busy;
    if (code.startsWith(QLatin1String("08")) || code.startsWith(QLatin1String("57P")))
        return Cause::ConnectionLost;
    // libpq's own words when the session is gone (no SQLSTATE comes with them).
    const QString text = e.databaseText() + e.driverText();
    for (const char* lost : {"server closed the connection", "no connection to the server", "terminating connection",
             "could not receive data from server", "could not send data to server"}) {
        if (text.contains(QLatin1String(lost), Qt::CaseInsensitive))
            return Cause::ConnectionLost;
    }
    return Cause::Unknown;
}

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
bool openForReading(QSqlDatabase& db, const QString& path)
{
    db.close();
    db.setConnectOptions(sqliteOptions(true, false));
    QSqlError ignored;
    if (db.open() && canRead(db, &ignored))
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

QString readOnlyMessage()
{
    return QStringLiteral("ฐานข้อมูลนี้เปิดได้เพื่ออ่านอย่างเดียว (แฟ้ม โฟลเดอร์ หรือไดรฟ์ที่เก็บไม่อนุญาตให้เขียน) "
                          "จึงบันทึกหรือแก้ไขข้อมูลไม่ได้ ไม่มีข้อมูลใดถูกบันทึก: ขอสิทธิ์เขียนจากผู้ดูแลเครื่อง "
                          "หรือย้ายฐานข้อมูลไปไว้ในโฟลเดอร์ที่เขียนได้ แล้วทำรายการใหม่");
}

QString busyMessage()
{
    return QStringLiteral("ผู้ใช้อื่นกำลังบันทึกข้อมูลลงฐานข้อมูลนานเกิน %1 วินาที จึงยังบันทึกรายการนี้ไม่ได้ "
                          "ไม่มีข้อมูลใดถูกบันทึก: รอสักครู่แล้วทำรายการนี้ใหม่ "
                          "ถ้ายังไม่ได้ ให้ตรวจว่ามีการนำเข้าข้อมูลหรือโปรแกรมที่ค้างอยู่บนเครื่องอื่นหรือไม่")
        .arg(qMax(1, g_busyTimeout.loadRelaxed() / 1000));
}

QString describeError(const QSqlError& error)
{
    QString text = driverError(error);
    QString advice;
    switch (causeOf(error)) {
    case Cause::Busy:
        advice = busyMessage();
        break;
    case Cause::ReadOnly:
        advice = readOnlyMessage();
        break;
    case Cause::DiskFull:
        advice = QStringLiteral("พื้นที่ดิสก์ที่เก็บฐานข้อมูลเต็ม: ลบแฟ้มที่ไม่ใช้ให้มีที่ว่าง แล้วทำรายการใหม่");
        break;
    case Cause::FileAccess:
        advice = QStringLiteral("อ่านหรือเขียนแฟ้มฐานข้อมูลไม่ได้: ตรวจว่าแฟ้ม โฟลเดอร์ และไดรฟ์ที่เก็บยังอยู่ "
                                "มีที่ว่าง และมีสิทธิ์เขียน");
        break;
    case Cause::ConnectionLost:
        advice = QStringLiteral("การติดต่อกับเครื่องแม่ข่ายฐานข้อมูลขาดหาย: ตรวจเครือข่ายและเครื่องแม่ข่าย แล้วทำรายการใหม่");
        break;
    case Cause::Unknown:
        break;
    }
    // Qt leaves the error empty when the connection is no longer open.
    if (text.isEmpty())
        return QStringLiteral("ฐานข้อมูลไม่แจ้งสาเหตุ การติดต่อกับฐานข้อมูลอาจขาดหาย: ตรวจเครือข่ายและเครื่องแม่ข่าย "
                              "แล้วทำรายการใหม่");
    return advice.isEmpty() ? text : advice + QStringLiteral(" (") + text + QLatin1Char(')');
}

void Database::setBusyTimeout(int milliseconds)
{
    g_busyTimeout.storeRelaxed(milliseconds);
}

int Database::busyTimeout()
{
    return g_busyTimeout.loadRelaxed();
}

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

QString lostConnectionMessage()
{
    return QStringLiteral("ไม่ได้ติดต่อกับฐานข้อมูลอยู่ (การติดต่อขาดหาย): ตรวจเครือข่ายและเครื่องแม่ข่าย แล้วทำรายการใหม่");
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
    if (!m_db.isOpen()) {
        m_error = failed
            + QStringLiteral("ไม่ได้ติดต่อกับฐานข้อมูลอยู่ (การติดต่อขาดหาย): ตรวจเครือข่ายและเครื่องแม่ข่าย "
                             "แล้วทำรายการใหม่");
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
