#pragma once

#include "db/Database.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

namespace velmora::test {

// A database of its own for one test: a temporary SQLite file, or, when
// VELMORA_TEST_DB holds a PostgreSQL URL, a schema of its own on that server
// (dropped at the end), so tests can run side by side.
class TestDatabase
{
public:
    // withSchema: create the tables and installation data.
    explicit TestDatabase(bool withSchema = true);
    ~TestDatabase();

    db::Database& db() { return *m_db; }
    db::Database* operator->() { return m_db.get(); }
    // The URL of this test's database, for opening further connections.
    const QString& url() const { return m_url; }
    bool isPostgres() const { return m_db->backend() == db::Backend::Postgres; }

    // Opens one more connection on the same database (fails the test on error).
    std::unique_ptr<db::Database> openAnother() const;

    // Adds a user holding every role (test::kTesterLogin of CliRunner.h by default).
    void addLogin(
        const QString& name = QStringLiteral("tester"), const QString& password = QStringLiteral("tester-pw1"));
    // The password of an existing user stored with the tests' cheap hash (a
    // login of velmora-cli then costs no full hash).
    void cheapenPassword(const QString& name, const QString& password) const;

    // Runs one statement with values bound in order; fails the test on error.
    void exec(const QString& sql, const QVariantList& values = {}) const;
    // First column of the first row, or an invalid QVariant when no row.
    QVariant scalar(const QString& sql, const QVariantList& values = {}) const;

private:
    QTemporaryDir m_dir;
    QString m_url;
    QString m_schema;
    std::unique_ptr<db::Database> m_db;
};

// Every row of the tables, each table's rows in the order of all its columns
// ("NULL" apart from any text): two databases with the same rows dump alike.
QString dumpTables(const db::Database& database, const QStringList& tables);

} // namespace velmora::test
