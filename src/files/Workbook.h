#pragma once

// Reading workbooks: one interface for .xlsx and .xls. Sheets are taken by
// position, cells by row and column (both counted from 1 as the officers count
// them). A workbook is untrusted input: every reader refuses what it cannot
// give exactly, with a message naming the sheet, row and column.

#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace velmora::import {

// A day as a spreadsheet counts it. Kept apart from QDate because the
// spreadsheet calendar has a 29/02/1900 (day 60) that no real calendar has.
struct SheetDate
{
    int year = 0;
    int month = 0;
    int day = 0;
};

// Day number to day as spreadsheets count them: day 0 is 30/12/1899, days 1 to
// 59 are 01/01/1900 to 28/02/1900, day 60 is the spreadsheets' 29/02/1900 and
// from day 61 (01/03/1900) on the count follows the real calendar. A time of day
// (the fraction) is dropped. Nothing before day 0 or after 31/12/9999.
std::optional<SheetDate> dateFromSerial(double serial);
// The inverse for real dates (not the 29/02/1900 of day 60).
std::optional<double> serialFromDate(int year, int month, int day);

struct Cell
{
    enum class Kind : unsigned char { Empty, Text, Number, Date, Bool, Error, Unreadable };

    Kind kind = Kind::Empty;
    double number = 0; // Number, Date (day number), Bool (0 or 1)
    QString text; // Text, Error (#N/A ...), Unreadable (why)

    static Cell makeText(QString t) { return {Kind::Text, 0, std::move(t)}; }
    static Cell makeNumber(double v) { return {Kind::Number, v, {}}; }
    static Cell makeDate(double serial) { return {Kind::Date, serial, {}}; }
};

class Worksheet
{
public:
    QString name;
    // rows[r - 1][c - 1]; rows and cells not stored are empty.
    std::vector<std::vector<Cell>> rows;

    const Cell& cell(int row, int column) const;
    int rowCount() const { return static_cast<int>(rows.size()); }
};

// One row of a sheet as it is read: its number (from 1) and its cells
// (cells[c - 1]; places not stored are empty). The cells may be moved from.
// Returning false stops the reading; the sink then sets *error itself.
using RowSink = std::function<bool(int row, std::vector<Cell>& cells, QString* error)>;

class Workbook
{
public:
    virtual ~Workbook() = default;
    virtual int sheetCount() const = 0;
    // Sheet `index` counted from 1. On failure returns false with a message.
    virtual bool readSheet(int index, Worksheet& out, QString* error) = 0;
    // The same sheet handed over row by row, in the order the file stores
    // them (a row number may come again: its later cells go over the earlier
    // ones), without keeping the sheet. *sheetName is set before the first row.
    virtual bool readRows(int index, QString* sheetName, const RowSink& sink, QString* error);
};

// Limits beyond any real workbook of the finance office.
struct WorkbookLimits
{
    qint64 maxFileBytes = 100LL * 1024 * 1024;
    // One uncompressed part of an .xlsx other than a sheet or the shared
    // strings (relationships, workbook, styles). Sheets and shared strings are
    // streamed and bounded by rows, cells, strings and the ratio below.
    qint64 maxPartBytes = 200LL * 1024 * 1024;
    int maxRows = 1048576; // the most a spreadsheet sheet holds
    int maxColumns = 16384;
    qint64 maxCells = 5000000; // cell places kept for one sheet by readSheet
    qint64 maxSharedStrings = 5000000;
    // An .xlsx part may inflate to at most this many times its compressed
    // size (past the first maxInflateFloor bytes): a deflated run of spaces
    // inflates about a thousandfold, the sheets of real workbooks two- to
    // fifteenfold.
    int maxInflateRatio = 200;
    qint64 maxInflateFloor = 8LL * 1024 * 1024;
    // Elements nested deeper than this are refused (real parts nest about six).
    int maxDepth = 256;
    // Not used any more: every sheet is streamed in one pass. Kept so that
    // callers setting it still build.
    qint64 splitAbove = 4LL * 1024 * 1024;
};

// Opens FILE as .xlsx or .xls, told apart by their first bytes. The file is only
// read, never written. On failure returns null and a Thai message.
std::unique_ptr<Workbook> openWorkbook(
    const QString& path, QString* error, const WorkbookLimits& limits = WorkbookLimits());

// Column letters of a column number: 1 gives A, 27 gives AA.
QString columnName(int column);

} // namespace velmora::import
