#pragma once

// The two imports as services: a load turns the workbook into grid rows
// (texts exactly as the screen shows them), a save writes grid rows to the
// database. The screens and velmora-cli call the same functions.
//
// A save runs in one transaction: on any failure nothing of that save stays
// written, and the message names the sheet, row and column at fault. Grid rows
// whose key is empty are skipped and counted.

#include "db/Database.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace velmora::import {

// Grid rows without the title row: row i (from 0) is grid row i + 1 and came
// from workbook row i + 3. Column 0 holds the row number.
using GridRows = std::vector<QStringList>;

struct GridLayout
{
    QStringList titles;
    QList<int> widths; // pixels
};

// Employee workbook: four sheets.
struct EmployeeWorkbook
{
    QString dataMonth; // sheet 1, B1
    QString dataYear; // sheet 1, D1
    QStringList sheetNames;
    GridRows employees; // 14 columns
    GridRows reasons; // 3 columns: No., SapID, reason
    GridRows types; // 3 columns: No., code, name
    GridRows departs; // 3 columns: No., code, name
    QString sourcePath; // the workbook read, and SHA-256 of its bytes (audit log)
    QString sourceSha256;
};

const GridLayout& employeeGridLayout(); // StringGrid1
const GridLayout& reasonGridLayout(); // StringGrid2
const GridLayout& typeGridLayout(); // StringGrid3
const GridLayout& departGridLayout(); // StringGrid4

// Reads the four sheets. On failure *out is left as it was and *error names
// the sheet, row and column.
bool loadEmployeeWorkbook(const QString& path, EmployeeWorkbook* out, QString* error);

// Employment-history workbook: sheet 1.
struct HistoryWorkbook
{
    QString sheetName;
    GridRows periods; // 7 columns
    QString sourcePath; // the workbook read, and SHA-256 of its bytes (audit log)
    QString sourceSha256;
};

const GridLayout& historyGridLayout(); // StringGrid1 of the history screen

bool loadHistoryWorkbook(const QString& path, HistoryWorkbook* out, QString* error);

struct TableCounts
{
    int inserted = 0;
    int updated = 0;
    int unchanged = 0; // stored already with every value the same: not written
    int leftAlone = 0; // employees with a saved calculation (status not "A")
    int skipped = 0; // grid rows with an empty key
    // Rows stored although their SSN fails its check digit (ssnWarnings).
    QStringList warnings;
};

struct EmployeeSaveCounts
{
    TableCounts employees;
    TableCounts reasons;
    TableCounts types;
    TableCounts departs;
};

// position of maximum, per grid, as the progress bar shows it
using Progress = std::function<void(int position, int maximum)>;

bool saveEmployeeWorkbook(const db::Database& db, const EmployeeWorkbook& book, EmployeeSaveCounts* counts,
    QString* error, const Progress& progress = {});
bool saveHistoryWorkbook(const db::Database& db, const HistoryWorkbook& book, TableCounts* counts, QString* error,
    const Progress& progress = {});

// The load and the save in one pass, for the command line: each sheet is
// read row by row as its rows are saved, so memory does not grow with the
// rows. The messages (sheet, row, column), the counts, the all-or-nothing
// transaction and the row-by-row replay are those of a load and a save; where
// a workbook holds several faults, the first one met in reading order is
// named. A sheet that stores its rows out of order is read whole.
bool importEmployeeWorkbook(const db::Database& db, const QString& path, EmployeeSaveCounts* counts, QString* error);
bool importHistoryWorkbook(const db::Database& db, const QString& path, TableCounts* counts, QString* error);

// One line per row whose SSN (column 2) fails its check digit: the row is
// still stored, the workbook being the office's record, but the officer is to
// check it (a mistyped number hides an earlier payment). Row i of `rows` is
// workbook row i + 3; rows without a key are not saved and not named.
QStringList ssnWarnings(const GridRows& rows, int sheet, const QString& sheetName);
// The warnings of an employee save.
QStringList ssnWarnings(const EmployeeSaveCounts& counts);
// The line said before the warnings.
QString ssnWarningsHeading(int count);

// Lines for the completion message and the command line.
QStringList describeCounts(const EmployeeSaveCounts& counts);
QStringList describeCounts(const TableCounts& counts);

// The completion message of a save.
QString savedMessage();
// Said when the save is pressed before any workbook was loaded.
QString nothingToSaveMessage();
// True when a row holds any text beyond its running number (column 0); the
// grids of a screen with nothing loaded hold only blank rows.
bool hasData(const GridRows& rows);

} // namespace velmora::import
