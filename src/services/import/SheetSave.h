#pragma once

// What every sheet's save shares: the statements it runs, the check of each
// row's values against the schema before anything is written, and the base
// of the savers (services/import/*Save.h), which takes the grid rows of one
// sheet a chunk at a time, reads the stored rows of a chunk's keys together,
// counts and reports progress, and hands each row with a key to its saver.

#include "db/BatchInsert.h"
#include "db/Database.h"
#include "db/Prepared.h"
#include "files/ImportMessages.h"
#include "services/ImportJobs.h"
#include "services/import/SheetReader.h" // trimmed, kFirstRow
#include "services/import/StoredRows.h"

#include <QString>
#include <QStringList>
#include <QVariantList>

#include <initializer_list>
#include <utility>
#include <vector>

namespace velmora::import {

struct Statement
{
    db::Prepared query;
    QString purpose;
};

bool prepare(const db::Database& db, Statement* s, const QString& sql, const QString& purpose, QString* error);

// Runs the statement with the values; for a search, tells whether a row came
// back and gives its columns.
bool run(Statement& s, const QVariantList& values, QString* error, bool* found = nullptr,
    QVariantList* columns = nullptr, int columnCount = 0);

// Runs a write; *affected tells how many rows it changed.
bool runWrite(Statement& s, const QVariantList& values, QString* error, int* affected);

// Servers whose text equality is exact (byte for byte), so that a search can
// be answered from a list of the keys read beforehand, and inserts can be sent
// many rows to a statement. Elsewhere each row is searched and written alone.
bool fastPath(const db::Database& db);

struct ColumnRule
{
    int gridColumn; // also the workbook column
    const char* column; // in the table
    bool asShown; // written as the grid shows it, not trimmed
};

// Every value a save would write, against the schema's lengths and the money
// range, before the row is written: the same refusal on every server (SQLite
// itself would store any of them).
class RowCheck
{
public:
    RowCheck(const char* table, std::initializer_list<ColumnRule> rules, int salaryColumn = 0);

    bool check(const QStringList& r, int sheet, const QString& sheetName, int row, QString* error) const;

private:
    std::vector<std::pair<ColumnRule, int>> m_limits; // each rule with its column's length
    int m_salaryColumn;
};

// One sheet saved as its grid rows come, a chunk at a time: on the fast path
// the stored rows of a chunk's keys are read together before its rows are
// written, so that nothing grows with the sheet.
class SheetSave
{
public:
    static constexpr size_t kChunk = StoredReader::kKeys;

    SheetSave(const db::Database& db, int sheet, const QString& sheetName, bool fast, RowCheck check, int maximum,
        const Progress& progress, QString* error, bool* databaseFault, bool ssnInColumn2 = false)
        : m_db(db)
        , m_sheet(sheet)
        , m_sheetName(sheetName)
        , m_fast(fast)
        , m_check(std::move(check))
        , m_maximum(maximum)
        , m_progress(progress)
        , m_error(error)
        , m_databaseFault(databaseFault)
        , m_ssnInColumn2(ssnInColumn2)
    { }
    virtual ~SheetSave() = default;
    SheetSave(const SheetSave&) = delete;
    SheetSave& operator=(const SheetSave&) = delete;

    bool take(const QStringList& r)
    {
        m_chunk.push_back(r);
        return m_chunk.size() < kChunk || drain();
    }
    bool finish() { return drain() && flushInserts(); }

    TableCounts counts;

protected:
    // Fast path: reads the stored rows of the chunk's keys (the inserts
    // waiting, which those keys may repeat, are sent before).
    virtual bool readStored(const std::vector<QStringList>& chunk) = 0;
    // A row with a key (column 1, blanks trimmed) whose values passed the check.
    virtual bool saveRow(const QStringList& r, int row, const QString& key) = 0;

    // Sends the rows waiting in the sheet's batch insert, if it has one.
    bool flushInserts();

    // Prepares the search for stored rows: on the fast path `select` (key
    // column first) read by chunks of keys, else `findOne` row by row.
    bool prepareSearch(const QString& select, const QString& findOne, const QString& purpose, QString* error);

    bool fail(const QString& message)
    {
        *m_error = message;
        return false;
    }
    bool failInDatabase(const QString& where, const QString& why);
    QString whereRow(int row) const { return msg::whereRow(m_sheet, m_sheetName, row); }
    QString where(int row, int column) const { return msg::where(m_sheet, m_sheetName, row, column); }
    // The chunk's keys (blanks trimmed), each once, empty ones left out.
    static QStringList keysOf(const std::vector<QStringList>& chunk);

    const db::Database& m_db;
    const int m_sheet;
    const QString& m_sheetName;
    const bool m_fast;
    const RowCheck m_check;
    db::BatchInsert* m_batch = nullptr; // set by a sheet that inserts in batches
    Statement m_find; // row by row
    StoredReader m_reader; // fast path

private:
    bool drain();

    const int m_maximum;
    const Progress& m_progress;
    QString* m_error;
    bool* m_databaseFault;
    const bool m_ssnInColumn2; // the sheet's rows carry an SSN to check
    std::vector<QStringList> m_chunk;
    int m_done = 0;
};

} // namespace velmora::import
