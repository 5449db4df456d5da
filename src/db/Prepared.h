#pragma once

// A statement prepared once on a connection and run many times with its
// values bound by position: the statement of the bulk paths (imports, the
// audit log's row). On SQLite it runs on the connection's own library handle,
// with texts bound as UTF-8 and read back from UTF-8, values bound and read
// as the Qt driver binds and reads them (a null or null-text value is NULL,
// a text is a text, numbers are numbers), so the stored rows are the same;
// it skips the driver's per-value work (a placeholder name formatted and a
// variant copied for every value, every text turned into UTF-16 and back).
// On the other servers it is a QSqlQuery.

#include "db/Database.h"

#include <QByteArray>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

#include <memory>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace velmora::db {

// The library handle of an SQLite connection (null on the other servers).
sqlite3* sqliteHandle(const Database& db);

// True when a bound value reaches the server as NULL, as the Qt drivers send
// it: no value, or a null text, bytes, date or time (a grid cell never filled).
bool bindsNull(const QVariant& v);

class Prepared
{
public:
    Prepared() = default;
    ~Prepared();
    Prepared(const Prepared&) = delete;
    Prepared& operator=(const Prepared&) = delete;
    Prepared(Prepared&& other) noexcept;
    Prepared& operator=(Prepared&& other) noexcept;

    // Prepares `sql` on the connection (forward only); false with the
    // driver's text (describeError) in *error.
    bool prepare(const Database& db, const QString& sql, QString* error);
    bool isPrepared() const { return m_stmt || m_query; }

    // Binds the value of placeholder `index` (from 0) for the next run.
    void bind(int index, const QVariant& value);
    void bindAll(const QVariantList& values);
    // Binds a text given as UTF-8 (a long text already in UTF-8, as JSON is).
    void bindUtf8(int index, const QByteArray& utf8);

    // Runs the statement with the values bound; on failure *error holds
    // "purpose: driver text" as Database::exec gives it.
    bool exec(const QString& purpose, QString* error);
    // The same with the driver's text alone in *error.
    bool run(QString* error);
    // The next row of a run; false at the end or on a failure (failed()).
    bool next();
    QVariant value(int column) const;
    // A text column as UTF-8 (null for NULL), without a trip through UTF-16
    // on SQLite.
    QByteArray utf8(int column) const;
    // Rows a write changed.
    int rowsAffected() const;
    // Ends the run (the rows not read are dropped).
    void finish();
    // The failure of the last run or fetch, if any (describeError text).
    QString failure() const;

private:
    void finalize();
    QSqlError nativeError(const char* what, int code) const;

    const Database* m_db = nullptr;
    // SQLite
    QSqlDatabase m_connection; // to know when it was closed under the statement
    sqlite3* m_handle = nullptr;
    sqlite3_stmt* m_stmt = nullptr;
    std::vector<QByteArray> m_texts; // the UTF-8 of the texts bound, kept until the run
    bool m_active = false; // stepped onto a row, not yet reset
    bool m_lost = false; // the connection was closed under the statement
    bool m_rowWaiting = false; // exec() stepped onto the first row, next() not yet called
    int m_changes = 0;
    QSqlError m_error;
    // other servers
    std::unique_ptr<QSqlQuery> m_query;
};

} // namespace velmora::db
