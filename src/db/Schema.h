#pragma once

#include "db/Database.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace velmora::db {

// The version this program works with; the start-up check refuses any other.
inline constexpr const char* kSchemaVersion = "8.0";

// CREATE TABLE statements of every table, in the dialect's column types.
QStringList schemaStatements(const Dialect& dialect);

// The length a text column holds, as declared (0 when TABLE.COLUMN is not a
// text column). SQLite stores any length; the others refuse more, so values
// are checked against this before they are written, the same on every server.
int textColumnLength(const char* table, const char* column);

// A money column (NUMERIC(18,2)) holds amounts below this, in either sign.
inline constexpr double kMoneyLimit = 1e16;

// Reasons for leaving installed with a new database.
QStringList installReasons();

// The declared width of EP_TR_User.Upassword: room for a salted hash.
inline constexpr int kPasswordColumnLength = 200;
// The longest hash this program stores; a narrower column cannot hold it.
inline constexpr int kPasswordHashLength = 128;

// The tables of the original installation, and the tables this program adds
// beyond them (an addition is put in the list of Schema.cpp with its columns).
QStringList originalTables();
QStringList addedTables();

// What a column holds, as the schema declares it. A date-time bound by the
// program is kept by SQLite as Qt writes one ("2007-10-17T00:00:00.000"); a
// time read from the server's clock (the audit log's) as SQLite's own
// datetime() gives it ("2026-12-09 10:00:00"). The other servers keep both
// as date-times.
enum class ColumnKind { Text, Integer, Money, Real, DateTime, ClockTime, LongText };

struct ColumnDescription
{
    QString name;
    ColumnKind kind;
};

struct TableDescription
{
    QString name;
    std::vector<ColumnDescription> columns;
};

// Every table of the program with its columns in their declared order: the
// original tables, then the added ones, in the order they are created.
std::vector<TableDescription> programTables();

// Creates one table of the program with its primary key (and its other
// indexes when `withIndexes`), in the dialect's column types and without
// installation data, inside the caller's open transaction.
bool createProgramTable(const Database& db, const QString& table, bool withIndexes, QString* error);
// The other indexes of a table created without them: built once its rows are
// in, which costs far less than keeping them up to date row by row.
bool createProgramIndexes(const Database& db, const QString& table, QString* error);

// Creates the tables and installation data (version, service-year brackets,
// reasons for leaving) in one transaction only in a database with none of
// the tables; *created tells whether it did. A database that lacks some of
// the original tables is refused (false, *error names them): nothing is
// created in it, so no installation data can slip into a working database.
// A database with every original table of version kSchemaVersion gets the
// added tables it lacks, and a password column too narrow for a hash is
// widened where the server allows it (Users reports it where it does not).
// Any other version is left as it is for the version check.
bool ensureSchema(const Database& db, QString* error, bool* created = nullptr);

// The version row, as text ("8.0"); empty when the table has no row.
// Returns false (with *error) only when the query itself fails.
bool readVersion(const Database& db, QString* version, QString* error);

// The start-up version check: true when the version row reads exactly
// kSchemaVersion; else false with *message "Invalid Version " + CR +
// "Pressent Version Is : " + the version read (or the driver's text).
bool checkVersion(const Database& db, QString* message);

// The declared width of the password column; 0 where the server keeps none.
int passwordColumnLength(const Database& db);

} // namespace velmora::db
