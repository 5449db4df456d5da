#pragma once

// An SQLite database file as a whole: copied page by page while others keep
// working, checked by the library's own checks, and held alone while it is
// replaced.

#include "db/Database.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

struct sqlite3;

namespace velmora::db {

// Copies the database of `source` page by page into the new file `target`
// (the library's online backup). The copy is the snapshot of the read
// transaction the caller holds open on `source`, whatever other connections
// write meanwhile. The file is left in rollback-journal mode, with no side
// file, and written through to the disk. `progress(pagesDone, pagesTotal)`.
bool copySqliteDatabase(const Database& source, const QString& target,
    const std::function<void(qint64, qint64)>& progress, QString* error);

// The library's check of the whole file: {"ok"} or the problems it lists;
// `quick` skips the comparison of every index with its table. No value, with
// *error, when the check cannot run at all.
std::optional<QStringList> checkSqliteDatabase(const Database& db, bool quick, QString* error);
// The same quick check of the database file at `path` on a read-only
// connection of its own, so that it may run on another thread (beside a copy
// of the same file, say): it sees the file as last committed.
std::optional<QStringList> quickCheckSqliteFile(const QString& path, QString* error);

// Holds an SQLite database file alone while it is replaced: its write-ahead
// journal folded into the file and removed, and an exclusive lock that keeps
// every other connection out until release().
class SqliteFileHold
{
public:
    SqliteFileHold() = default;
    ~SqliteFileHold();
    SqliteFileHold(const SqliteFileHold&) = delete;
    SqliteFileHold& operator=(const SqliteFileHold&) = delete;

    enum class Outcome {
        Held, // alone, with no side file
        InUse, // another connection keeps the file open
        Unreadable // the library cannot use the file (damaged or no database)
    };
    // Waits up to waitMs for other connections; *error says why on failure.
    Outcome take(const QString& path, int waitMs, QString* error);
    void release();

private:
    sqlite3* m_handle = nullptr;
};

} // namespace velmora::db
