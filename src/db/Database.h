#pragma once

#include "db/Dialect.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>

#include <map>
#include <memory>
#include <optional>

namespace velmora::db {

class Prepared;
struct ConnectionSpec;

// One open connection, made from a URL:
//   sqlite:PATH                       embedded database file (created if absent)
//   postgresql://user:pw@host:port/db PostgreSQL (?host=DIR for a socket folder,
//                                     ?schema=NAME for a schema other than public)
//   postgresql://host:port/db         PostgreSQL where each user is a server login:
//                                     the login's name and password open it (openAs)
//   odbc:CONNECTION-STRING            SQL Server through ODBC (FreeTDS, ...)
class Database
{
public:
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Opens a new connection; on failure returns null and sets *error to the
    // driver's text. Each call makes its own connection (tests open two).
    static std::unique_ptr<Database> open(const QString& url, QString* error);
    // The same, connecting as the server login `login` with `password`
    // instead of the URL's user: the server checks the password.
    static std::unique_ptr<Database> openAs(
        const QString& url, const QString& login, const QString& password, QString* error);
    // A PostgreSQL URL that names no user: the login opens the connection.
    static bool takesServerLogin(const QString& url);
    // Opens an SQLite file for reading only, writing nothing in it or beside
    // it (a backup being checked). Null with *error when it cannot be read.
    static std::unique_ptr<Database> openSqliteForReading(const QString& path, QString* error);

    QSqlDatabase connection() const;
    const Dialect& dialect() const { return m_dialect; }
    Backend backend() const { return m_dialect.backend(); }
    const QString& url() const { return m_url; }

    // A fresh query object on this connection.
    QSqlQuery query() const;

    // Runs a prepared statement with the given values bound in order; on
    // failure *error holds the purpose and the driver's text.
    bool exec(QSqlQuery& q, const QString& purpose, QString* error) const;
    // Why a statement of this connection failed (describeError, or that the
    // connection is gone).
    QString failureOf(const QSqlQuery& q) const;

    // A statement run on every save (the audit log's), prepared on this
    // connection once and kept until the connection closes: the server
    // parses and plans it once. Null with the driver's text in *error when it
    // cannot be prepared. Bind every value before each run; read its rows to
    // the end or call finish() before the next statement of the transaction.
    // A kept statement stays valid when its tables change (both servers
    // re-plan it).
    Prepared* preparedOnce(const QString& sql, QString* error) const;

    // The server's current local date and time (the start-up "server date").
    std::optional<QDateTime> serverNow(QString* error) const;
    // A date-time as a date-time column of this server stores and compares it
    // (SQLite: the text "yyyy-MM-dd HH:mm:ss", which sorts as the time does).
    QVariant dateTimeValue(const QDateTime& time) const;

    // True if a table of this name exists (names compared regardless of case).
    bool hasTable(const QString& name) const;
    // The same, telling a failed check (no value, *error set) from an absent table.
    std::optional<bool> findTable(const QString& name, QString* error) const;

    // True when this connection was opened by openAs: the server itself
    // checked the login's password.
    bool serverLogin() const { return m_serverLogin; }
    // True on a PostgreSQL database set up for server roles (server-setup):
    // audit rows are then added only by the server's own function. Asked of
    // the server once per connection.
    bool serverRoles() const;
    // Asks again at the next serverRoles() (after server-setup ran on it).
    void recheckServerRoles() const { m_serverRoles.reset(); }

    // True when the database could only be opened for reading (a read-only
    // file, folder or drive): reading works, every writing transaction is
    // refused with readOnlyMessage().
    bool readOnly() const { return m_readOnly; }

    // From now on every writing transaction on this connection is refused
    // with this message (damage found in the database file); empty while
    // writes are allowed. A state of the connection, as its kept statements.
    void refuseWrites(const QString& message) const { m_writeRefusal = message; }
    const QString& writeRefusal() const { return m_writeRefusal; }

    // How long an SQLite connection opened from now on waits for another
    // connection's write before giving up (milliseconds; 10 s by default).
    static void setBusyTimeout(int milliseconds);
    static int busyTimeout();

private:
    Database(QString url, QString connectionName, Backend backend);
    static std::unique_ptr<Database> openSpec(const QString& url, const ConnectionSpec& spec, QString* error);

    QString m_url;
    QString m_connectionName;
    Dialect m_dialect;
    bool m_readOnly = false;
    bool m_serverLogin = false;
    mutable std::optional<bool> m_serverRoles;
    mutable QString m_writeRefusal;
    mutable std::map<QString, std::unique_ptr<Prepared>> m_prepared;
};

// The driver's own text of an error (its message, else the database's).
QString driverError(const QSqlError& error);
// The driver's text of an error, preceded by what the officer can do about it
// when the cause is known (another user's long write, a read-only or full
// disk, a lost server).
QString describeError(const QSqlError& error);
// The connection was closed under a statement (the text of a lost connection).
QString lostConnectionMessage();
// A write refused because the database can only be read.
QString readOnlyMessage();
// The wait for another user's write ran out.
QString busyMessage();

// Scope guard of every writing transaction: begins it, rolls it back unless
// commit() succeeded. On SQLite the transaction takes the write lock at once
// (BEGIN IMMEDIATE), so that a writer that reads first waits for another
// connection's write (up to the busy timeout) instead of failing on its first
// write. A read-only database refuses it.
class Transaction
{
public:
    explicit Transaction(const Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    bool active() const { return m_active; }
    // Why the transaction could not begin: a Thai message with the cause.
    const QString& error() const { return m_error; }
    bool commit(QString* error = nullptr);

private:
    QSqlDatabase m_db;
    QString m_error;
    bool m_active = false;
    bool m_done = false;
};

// Parses a database URL into the parts the Qt driver wants; exposed for tests.
struct ConnectionSpec
{
    Backend backend = Backend::Sqlite;
    QString driver; // QSQLITE, QPSQL, QODBC
    QString databaseName; // file, database, or ODBC connection string
    QString host;
    int port = -1;
    QString user;
    QString password;
    QString schema; // PostgreSQL: ?schema=NAME sets the search path
    QString error; // non-empty when the URL cannot be used
};
ConnectionSpec parseDatabaseUrl(const QString& url);

} // namespace velmora::db
