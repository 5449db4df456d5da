#include "services/import/SheetRows.h"

#include "services/AuditEvents.h"
#include "services/ImportJobs.h"

namespace velmora::import {

namespace {

// The grid row of workbook row `row` (from 3); *end when its column A reads
// as empty text, which ends the sheet's data.
bool gridRow(const SheetReader& in, int row, const SheetShape& shape, QStringList* out, bool* end)
{
    QString key;
    if (!in.text(row, 1, &key))
        return false;
    *end = key.isEmpty();
    if (*end)
        return true;
    QStringList cells;
    cells.reserve(shape.columns);
    cells << QString::number(row - kFirstRow + 1) << key;
    if (!shape.fill(in, row, cells))
        return false;
    while (cells.size() < shape.columns)
        cells << QString();
    *out = std::move(cells);
    return true;
}

// The grid of a sheet read whole: rows from row 3 to the first whose column A
// reads as empty text; an empty sheet leaves one empty grid row.
bool gridOf(const Worksheet& sheet, int index, const SheetShape& shape, GridRows* out, QString* error)
{
    out->clear();
    for (int row = kFirstRow;; ++row) {
        const std::vector<Cell>* cells = row <= sheet.rowCount() ? &sheet.rows[static_cast<size_t>(row - 1)] : nullptr;
        const SheetReader in {cells, index, sheet.name, error};
        QStringList grid;
        bool end = false;
        if (!gridRow(in, row, shape, &grid, &end))
            return false;
        if (end)
            break;
        out->push_back(std::move(grid));
    }
    if (out->empty())
        out->push_back(QStringList(QList<QString>(shape.columns)));
    return true;
}

} // namespace

Streamed streamGrid(Workbook& book, int index, const SheetShape& shape, QString* sheetName,
    const std::function<bool(const SheetReader&, int row)>& top, const RowTaker& take, QString* error)
{
    int last = 0;
    int expected = kFirstRow;
    bool ended = false, unordered = false, any = false;
    QStringList grid;
    const bool ok = book.readRows(
        index, sheetName,
        [&](int row, std::vector<Cell>& cells, QString* why) {
            if (row <= last) {
                unordered = true;
                return false;
            }
            last = row;
            if (ended)
                return true;
            const SheetReader in {&cells, index, *sheetName, why};
            if (row < kFirstRow)
                return !top || top(in, row);
            if (row > expected) { // the rows between are empty: the data ended
                ended = true;
                return true;
            }
            bool end = false;
            if (!gridRow(in, row, shape, &grid, &end))
                return false;
            if (end) {
                ended = true;
                return true;
            }
            ++expected;
            any = true;
            return take(grid);
        },
        error);
    if (unordered)
        return Streamed::Unordered;
    if (!ok)
        return Streamed::Failed;
    if (!any && !take(QStringList(QList<QString>(shape.columns))))
        return Streamed::Failed;
    return Streamed::Done;
}

std::unique_ptr<Workbook> openWith(const QString& path, int sheetsWanted, QString* error)
{
    auto book = openWorkbook(path, error);
    if (!book)
        return nullptr;
    if (book->sheetCount() < sheetsWanted) {
        *error = msg::tooFewSheets(path, book->sheetCount(), sheetsWanted);
        return nullptr;
    }
    return book;
}

bool loadEmployeeWorkbook(const QString& path, EmployeeWorkbook* out, QString* error)
{
    auto book = openWith(path, 4, error);
    if (!book)
        return false;
    EmployeeWorkbook result;
    Worksheet sheet;
    if (!book->readSheet(1, sheet, error))
        return false;
    result.sheetNames << sheet.name;
    {
        const std::vector<Cell>* top = sheet.rowCount() >= 1 ? &sheet.rows.front() : nullptr;
        if (!readDataMonth({top, 1, sheet.name, error}, &result.dataMonth, &result.dataYear)
            || !gridOf(sheet, 1, kEmployeeShape, &result.employees, error))
            return false;
    }
    GridRows* targets[] = {&result.reasons, &result.types, &result.departs};
    for (int index = 2; index <= 4; ++index) {
        if (!book->readSheet(index, sheet, error))
            return false;
        result.sheetNames << sheet.name;
        if (!gridOf(sheet, index, kCodeShape, targets[index - 2], error))
            return false;
    }
    result.sourcePath = path;
    result.sourceSha256 = audit::fileSha256(path);
    *out = std::move(result);
    return true;
}

bool loadHistoryWorkbook(const QString& path, HistoryWorkbook* out, QString* error)
{
    auto book = openWith(path, 1, error);
    if (!book)
        return false;
    HistoryWorkbook result;
    Worksheet sheet;
    if (!book->readSheet(1, sheet, error))
        return false;
    result.sheetName = sheet.name;
    if (!gridOf(sheet, 1, kPeriodShape, &result.periods, error))
        return false;
    result.sourcePath = path;
    result.sourceSha256 = audit::fileSha256(path);
    *out = std::move(result);
    return true;
}

} // namespace velmora::import
