#pragma once

// Every table of the program copied from one database into another, table by
// table, on any pair of servers (a server's backup into an SQLite file, the
// move of an SQLite database to a server), with the count and a checksum of
// each table's rows on both sides. The tables and their columns are the
// schema's own (db::programTables).

#include "db/AuditLog.h"
#include "db/Database.h"

#include <QString>

#include <functional>
#include <vector>

namespace velmora::backup {

// How far a long step got: its Thai caption, and done of total (rows or pages).
using StepProgress = std::function<void(const QString& step, qint64 done, qint64 total)>;

// One table's row count and checksum. The checksum is the same for the same
// rows on every server, in any order: each row's values written in one form
// per column kind (money with two decimals, a date-time as
// "yyyy-MM-dd HH:mm:ss", NULL apart from any text), hashed, and the hashes
// summed.
struct TableFigures
{
    QString table;
    qint64 rows = 0;
    QString checksum; // 64 hex digits
};

// Copies the rows of every table of the program from `source`, read inside
// the caller's db::ReadSnapshot, into the same tables of `target`, inside the
// caller's open transaction on `target`. Each value is written as the program
// itself would write it on the target's server, so that the target reads back
// the same texts and figures (a date-time's text included: the audit chain
// hashes it). *figures gets the source's figures, from the rows as read.
bool copyTables(const db::Database& source, const db::Database& target, std::vector<TableFigures>* figures,
    const StepProgress& progress, QString* error);

// The figures of every table of the program as `db` holds them.
bool tableFigures(
    const db::Database& db, std::vector<TableFigures>* figures, const StepProgress& progress, QString* error);

// The same, the audit log's figures taken in the same read as the walk of
// its chain (*verified): one read of its rows instead of two.
bool verifiedFigures(const db::Database& db, std::vector<TableFigures>* figures, audit::VerifyResult* verified,
    const StepProgress& progress, QString* error);

// The number of rows of one table; false with the Thai message on failure.
bool countRows(const db::Database& db, const QString& table, qint64* rows, QString* error);

// The tables whose figures differ between the two lists (same order), as
// "TABLE: N rows / M rows" or "TABLE: checksum"; empty when all agree.
QStringList compareFigures(const std::vector<TableFigures>& source, const std::vector<TableFigures>& target);

} // namespace velmora::backup
