#include "db/SqliteFile.h"

#include "db/FileReplace.h"
#include "db/Prepared.h"
#include "db/PrivateFile.h"

#include <QFile>
#include <QSqlQuery>

#include <sqlite3.h>

namespace velmora::db {

namespace {

QString messageOf(sqlite3* handle, int rc)
{
    const char* text = handle ? sqlite3_errmsg(handle) : sqlite3_errstr(rc);
    return QString::fromUtf8(text ? text : sqlite3_errstr(rc));
}

// Runs one statement without rows on a library handle.
int run(sqlite3* handle, const char* sql)
{
    return sqlite3_exec(handle, sql, nullptr, nullptr, nullptr);
}

// Pages copied per step: small enough for a progress bar that moves, large
// enough that the steps cost nothing.
constexpr int kPagesPerStep = 4096;

} // namespace

bool copySqliteDatabase(const Database& source, const QString& target,
    const std::function<void(qint64, qint64)>& progress, QString* error)
{
    sqlite3* from = sqliteHandle(source);
    if (!from) {
        if (error)
            *error = QStringLiteral("not an SQLite connection");
        return false;
    }
    sqlite3* to = nullptr;
    // a copy of the database is as private as the database
    if (!createPrivateFile(target, false, error))
        return false;
    const QByteArray name = QFile::encodeName(target);
    int rc = sqlite3_open_v2(name.constData(), &to, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    auto fail = [&](const QString& what) {
        if (error)
            *error = what;
        sqlite3_close(to);
        return false;
    };
    if (rc != SQLITE_OK)
        return fail(messageOf(to, rc));
    // The file is new and removed on failure: no journal is needed while it
    // fills, and it is synced once at the end.
    run(to, "PRAGMA journal_mode=OFF");
    run(to, "PRAGMA synchronous=OFF");
    sqlite3_backup* backup = sqlite3_backup_init(to, "main", from, "main");
    if (!backup)
        return fail(messageOf(to, sqlite3_errcode(to)));
    // A step that finds the database busy (another connection writing it
    // this moment) is tried again, for up to about ten seconds.
    int waits = 0;
    do {
        rc = sqlite3_backup_step(backup, kPagesPerStep);
        if ((rc == SQLITE_BUSY || rc == SQLITE_LOCKED) && waits < 500) {
            ++waits;
            sqlite3_sleep(20);
            rc = SQLITE_OK;
            continue;
        }
        if (progress)
            progress(sqlite3_backup_pagecount(backup) - sqlite3_backup_remaining(backup),
                sqlite3_backup_pagecount(backup));
    } while (rc == SQLITE_OK);
    sqlite3_backup_finish(backup);
    if (rc != SQLITE_DONE)
        return fail(QString::fromUtf8(sqlite3_errstr(rc)));
    // The copied header says write-ahead journal, as the source's does: the
    // copy stands alone in rollback-journal mode instead.
    rc = run(to, "PRAGMA journal_mode=DELETE");
    if (rc != SQLITE_OK)
        return fail(messageOf(to, rc));
    rc = sqlite3_close(to);
    to = nullptr;
    if (rc != SQLITE_OK)
        return fail(QString::fromUtf8(sqlite3_errstr(rc)));
    return syncFile(target, error);
}

std::optional<QStringList> checkSqliteDatabase(const Database& db, bool quick, QString* error)
{
    QSqlQuery q = db.query();
    if (!q.exec(quick ? QStringLiteral("PRAGMA quick_check") : QStringLiteral("PRAGMA integrity_check"))) {
        if (error)
            *error = driverError(q.lastError());
        return std::nullopt;
    }
    QStringList lines;
    while (q.next())
        lines << q.value(0).toString();
    if (lines.isEmpty()) {
        if (error)
            *error = driverError(q.lastError());
        return std::nullopt;
    }
    return lines;
}

std::optional<QStringList> quickCheckSqliteFile(const QString& path, QString* error)
{
    sqlite3* handle = nullptr;
    const QByteArray name = QFile::encodeName(path);
    int rc = sqlite3_open_v2(name.constData(), &handle, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* statement = nullptr;
    if (rc == SQLITE_OK) {
        sqlite3_busy_timeout(handle, 10000);
        rc = sqlite3_prepare_v2(handle, "PRAGMA quick_check", -1, &statement, nullptr);
    }
    QStringList lines;
    while (rc == SQLITE_OK || rc == SQLITE_ROW) {
        rc = sqlite3_step(statement);
        if (rc == SQLITE_ROW)
            lines << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
    }
    const QString why = messageOf(handle, rc);
    sqlite3_finalize(statement);
    sqlite3_close(handle);
    if (rc != SQLITE_DONE || lines.isEmpty()) {
        if (error)
            *error = why;
        return std::nullopt;
    }
    return lines;
}

SqliteFileHold::~SqliteFileHold()
{
    release();
}

SqliteFileHold::Outcome SqliteFileHold::take(const QString& path, int waitMs, QString* error)
{
    release();
    const QByteArray name = QFile::encodeName(path);
    int rc = sqlite3_open_v2(name.constData(), &m_handle, SQLITE_OPEN_READWRITE, nullptr);
    auto outcomeOf = [&](int code) {
        if (error)
            *error = messageOf(m_handle, code);
        release();
        const int primary = code & 0xff;
        return primary == SQLITE_BUSY || primary == SQLITE_LOCKED ? Outcome::InUse : Outcome::Unreadable;
    };
    if (rc != SQLITE_OK)
        return outcomeOf(rc);
    sqlite3_busy_timeout(m_handle, waitMs);
    // Leaving the write-ahead journal folds it into the file and removes it
    // with its shared-memory file; the library refuses while another
    // connection has the file open.
    sqlite3_stmt* stmt = nullptr;
    rc = sqlite3_prepare_v2(m_handle, "PRAGMA journal_mode=DELETE", -1, &stmt, nullptr);
    if (rc == SQLITE_OK) {
        rc = sqlite3_step(stmt);
        const bool left = rc == SQLITE_ROW
            && qstrcmp(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)), "delete") == 0;
        sqlite3_finalize(stmt);
        if (rc == SQLITE_ROW)
            rc = left ? SQLITE_OK : SQLITE_BUSY; // the mode stays when the file is in use
    }
    if (rc != SQLITE_OK)
        return outcomeOf(rc);
    // The exclusive lock keeps out every connection opened from now on.
    rc = run(m_handle, "BEGIN EXCLUSIVE");
    if (rc != SQLITE_OK)
        return outcomeOf(rc);
    return Outcome::Held;
}

void SqliteFileHold::release()
{
    if (!m_handle)
        return;
    run(m_handle, "ROLLBACK");
    sqlite3_close(m_handle);
    m_handle = nullptr;
}

} // namespace velmora::db
