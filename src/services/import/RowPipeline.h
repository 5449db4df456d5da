#pragma once

// How grid rows reach a sheet's save: from the grids of a loaded workbook, or
// from the workbook itself, read on a thread of its own while this one saves
// and handed over in reading order through a bounded queue.

#include "files/Workbook.h"
#include "services/ImportJobs.h"
#include "services/import/SheetRows.h"
#include "services/import/SheetSave.h"

#include <QString>
#include <QStringList>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <vector>

namespace velmora::import {

// Where a save takes the grid rows of each sheet from: the grids of a loaded
// workbook, or the workbook itself, read as its rows are saved.
struct RowSource
{
    // Hands the rows of sheet `sheet` (from 1) to `take`; *name is set first.
    // A failure of reading is told in *error.
    std::function<Streamed(int sheet, QString* name, const RowTaker& take, QString* error)> rows;
    // The rows of a sheet as the progress counts them (0 when not known).
    std::function<int(int sheet)> count;
    // Where a failure of reading is reported.
    QString* readError = nullptr;
    // The rows are read on a thread of their own while the save runs on this
    // one (a workbook read from its file; loaded grids are at hand already).
    bool reading = false;
};

// The loaded grids, sheet 1 first, with their sheets' names.
RowSource gridSource(const std::vector<const GridRows*>& grids, const QStringList& names);

// The workbook read sheet by sheet as it is saved; `dataMonth` when sheet 1
// holds the month and year of the data in its first row.
RowSource streamSource(Workbook& book, const SheetShape* const shapes[], bool dataMonth, QString* error);

// Rows handed from the thread reading a workbook to the thread saving them,
// in reading order, a few hundred at a time; at most kHeld rows wait.
class RowQueue
{
public:
    static constexpr size_t kBatch = 256;
    static constexpr size_t kHeld = 8 * kBatch;

    // False when the saving side wants no more rows.
    bool push(std::vector<QStringList>& batch);
    // Reading ended (the rows pushed are all there are).
    void close();
    // Saving ended early: the reading side stops at its next push.
    void halt();
    // The rows waiting, or false once reading ended and all were taken.
    bool take(std::vector<QStringList>& out);

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<QStringList> m_rows;
    bool m_closed = false;
    bool m_halted = false;
};

// Hands a sheet's rows to a save; false when reading or saving failed (the
// message is set) or when the sheet must be read whole (*unordered). A
// workbook read from its file is read on a thread of its own while this one
// saves: the messages stay those of the rows in reading order (a row the save
// refuses comes before a later fault of reading; a fault of reading is told
// once every row before it is saved).
bool feed(const RowSource& source, int sheet, QString* name, SheetSave& save, bool* unordered);

} // namespace velmora::import
