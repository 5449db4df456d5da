#pragma once

#include <QString>
#include <QStringList>

namespace velmora::db {

enum class Backend { Sqlite, Postgres, SqlServer };

// The name of the Thai collation registered on every SQLite connection.
inline constexpr const char* kSqliteThaiCollation = "THAI";

// What differs between the database servers we support, and nothing more.
// Every expression returned here is built from column names and literals of
// the program itself; values always travel as bound parameters.
class Dialect
{
public:
    explicit Dialect(Backend backend)
        : m_backend(backend)
    { }

    Backend backend() const { return m_backend; }
    QString name() const;

    // a || b (SQLite, PostgreSQL) or a + b (SQL Server)
    QString concat(const QStringList& parts) const;
    // SUBSTRING(expr, start, length), characters counted from 1
    QString substring(const QString& expr, int start, int length) const;
    // A query returning one row with the server's current local date-time in C_Date.
    QString currentDateTimeQuery() const;
    // A date-time column read as its text "yyyy-MM-dd HH:mm:ss.zzz" (SQLite
    // keeps the text as written): a driver's date-time value costs a look at
    // the computer's time zone for every row.
    QString dateTimeText(const QString& column) const;
    // Column types of the schema.
    QString textType(int length) const;
    QString integerType() const;
    QString moneyType() const; // decimal amounts of baht, two decimals
    QString realType() const; // percentages and months with a fraction
    QString dateTimeType() const;
    // Text without a length limit (JSON details of the audit log).
    QString longTextType() const;
    // Case-insensitive LIKE prefix/containment is the server's own; this gives
    // the operator that matches the server's default comparison.
    QString likeOperator() const { return QStringLiteral("LIKE"); }

    // An ORDER BY key that sorts a Thai text column in Thai dictionary order
    // (a leading vowel เ แ โ ใ ไ sorts by the consonant after it): the
    // collation registered on each SQLite connection, the ICU collation
    // "th-TH-x-icu" on PostgreSQL, Thai_CI_AS on SQL Server.
    QString thaiOrder(const QString& expr) const;

    // A query with two bound values, table and column name, that returns the
    // declared length of that text column in the current schema (no row, or
    // null, when the server keeps none, as SQLite).
    QString textLengthQuery() const;
    // The statement that widens a text column to `length` characters; empty
    // where column lengths are not enforced (SQLite).
    QString widenTextColumn(const QString& table, const QString& column, int length) const;

private:
    Backend m_backend;
};

} // namespace velmora::db
