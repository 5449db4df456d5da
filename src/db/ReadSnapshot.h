#pragma once

#include "db/Database.h"

#include <QString>

namespace velmora::db {

// Scope guard of a read that sees every table as it stood at one moment,
// whatever others write meanwhile (a backup, a copy): SQLite's read
// transaction on its write-ahead journal, PostgreSQL's repeatable read, SQL
// Server's serializable (its repeatable read would let rows added to a table
// not yet read slip in). Writes nothing; ends with the scope.
class ReadSnapshot
{
public:
    explicit ReadSnapshot(const Database& db);
    ~ReadSnapshot();
    ReadSnapshot(const ReadSnapshot&) = delete;
    ReadSnapshot& operator=(const ReadSnapshot&) = delete;

    bool active() const { return m_active; }
    const QString& error() const { return m_error; }

private:
    QSqlDatabase m_db;
    Backend m_backend;
    QString m_error;
    bool m_active = false;
};

} // namespace velmora::db
