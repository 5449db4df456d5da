#pragma once

#include "db/Database.h"

#include <QString>
#include <QStringList>

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

// Creates the tables and installation data (version, service-year brackets,
// reasons for leaving) in one transaction when the database has no tables yet.
// An existing database is used as it is. Returns false with *error set on failure;
// *created tells whether anything was created.
bool ensureSchema(const Database& db, QString* error, bool* created = nullptr);

// The version row, as text ("8.0"); empty when the table has no row.
// Returns false (with *error) only when the query itself fails.
bool readVersion(const Database& db, QString* version, QString* error);

} // namespace velmora::db
