#pragma once

#include "db/Dialect.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

#include <memory>
#include <optional>

namespace velmora::db {

// One open connection, made from a URL:
//   sqlite:PATH                       embedded database file (created if absent)
//   postgresql://user:pw@host:port/db PostgreSQL (?host=DIR for a socket folder,
//                                     ?schema=NAME for a schema other than public)
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

    QSqlDatabase connection() const;
    const Dialect& dialect() const { return m_dialect; }
    Backend backend() const { return m_dialect.backend(); }
    const QString& url() const { return m_url; }

    // A fresh query object on this connection.
    QSqlQuery query() const;

    // Runs a prepared statement with the given values bound in order; on
    // failure *error holds the purpose and the driver's text.
    bool exec(QSqlQuery& q, const QString& purpose, QString* error) const;

    // The server's current local date and time (the start-up "server date").
    std::optional<QDateTime> serverNow(QString* error) const;

    // True if a table of this name exists (names compared regardless of case).
    bool hasTable(const QString& name) const;

private:
    Database(QString url, QString connectionName, Backend backend);

    QString m_url;
    QString m_connectionName;
    Dialect m_dialect;
};

// Scope guard: begins a transaction, rolls it back unless commit() succeeded.
class Transaction
{
public:
    explicit Transaction(const Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    bool active() const { return m_active; }
    bool commit(QString* error = nullptr);

private:
    QSqlDatabase m_db;
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
