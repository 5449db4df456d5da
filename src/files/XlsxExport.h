#pragma once

#include "files/ReportGrid.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <utility>

namespace velmora::reports {

// The two sets of printed page header and footer texts (&P page, &N pages,
// &D print date, &T print time).
enum class PageTexts { SetA, SetB };

struct PageTextSet
{
    QString leftHeader, rightHeader, leftFooter, rightFooter;
};
PageTextSet pageTextSet(PageTexts set);

// A native stacked-column chart over the exported table, placed to the right
// of it: one series per value column, its values in the data rows firstRow to
// lastRow (grid rows counted from 0), the categories in categoryColumn.
struct ExportChart
{
    QString title;
    int categoryColumn = 1;
    QList<int> valueColumns;
    QStringList seriesNames; // one per value column; empty: the column titles
    int firstRow = 0;
    int lastRow = 0;
    QString categoryAxis;
    QString valueAxis;
};

// The fixed values each report gives its export.
struct ExportOptions
{
    QString sheetName;
    QString titleRange; // "A1:I1": the title is centred across it
    QString title; // cell A1
    QString secondTitle; // cell A2; empty for none
    QString lastStyledColumn; // heading colours and borders reach this column ("G")
    PageTexts pageTexts = PageTexts::SetA;
    QList<double> widths; // columns from A, in characters
    // The report's name at the head of a new export file's name (the sheet
    // name when empty), so that each report's files can be told apart.
    QString fileName;
    bool landscape = false;
    std::optional<ExportChart> chart;
};

// Column number (1 = A) to its letters, "A" to "IV"; empty outside 1..256.
QString columnLetters(int column);

// How a grid text is written to a workbook: as text, or as a number that reads
// back the same when shown: a whole number without leading zeros (at most 15
// digits, so it stays exact), a decimal without trailing zeros, or an amount
// with separators and two decimals (written with the amount format). *value
// is set for a number.
enum class CellNumber { None, Plain, Amount };
CellNumber numberKind(const QString& text, double& value);
// Letters to the column number; 0 when they name none of 1..256.
int columnNumber(const QString& letters);

// Writes the grid into a new workbook at `path`: the title block, the titles
// as a coloured heading in row 4, the rows from row 5 with vertical rules, and
// an A4 portrait print layout repeating rows 1 to 4 on every page. A cell text
// starting with an apostrophe is stored as text without it; a text that is a
// plain number as the grid writes it (123, 10,000.00, 59.48) is stored as that
// number, shown the same way; any other text is stored as it stands.
// On failure returns false with *error set.
bool exportGrid(const ReportGrid& grid, const ExportOptions& options, const QString& path, QString* error);

// Several grids, one worksheet each, in the order given, into one workbook.
bool exportGrids(const QList<std::pair<ReportGrid, ExportOptions>>& sheets, const QString& path, QString* error);

// A path in `folder` that no file has yet: "<base> yyyy-MM-dd HHmmss.xlsx",
// then " (2)", " (3)", ... before the extension.
QString uniqueExportPath(const QString& folder, const QString& baseName, const QDateTime& now);

// Writes a new file in `folder` through `write` (given a temporary path in
// that folder), then names it as uniqueExportPath does, never replacing a
// file; returns the path, or an empty text with *error set (nothing left
// behind).
QString writeNewExportFile(const QString& folder, const QString& baseName, const QDateTime& now,
    const std::function<bool(const QString& path, QString* error)>& write, QString* error);

// Exports into a new file in `folder` (never replacing one); returns
// the path written, or an empty text with *error set.
QString exportGridToNewFile(
    const ReportGrid& grid, const ExportOptions& options, const QString& folder, const QDateTime& now, QString* error);

} // namespace velmora::reports
