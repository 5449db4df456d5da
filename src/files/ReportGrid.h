#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace velmora::reports {

// A result grid as the report screens show it: the column titles, then the
// rows of texts exactly as shown (apostrophes before identifiers and dates
// included; column 0 holds the row number from 1).
struct ReportGrid
{
    QStringList titles;
    QList<QStringList> rows;

    int columnCount() const { return int(titles.size()); }

    // The grid of a screen before any search: 5 columns, 4 rows, no text.
    static ReportGrid initial();
    // Titles and one blank data row: what a search that found nothing leaves.
    static ReportGrid emptyResult(const QStringList& titles);
};

// RFC 4180: fields separated by commas, lines ended by CRLF, a field holding a
// comma, a double quote, CR or LF put between double quotes with its quotes
// doubled. First line the titles, then every row, cells as the grid shows them.
QByteArray gridToCsv(const ReportGrid& grid);
// The same CSV handed over a line at a time (CRLF included), so that a caller
// writing a file or a pipe never holds the whole text.
void writeCsv(const ReportGrid& grid, const std::function<void(const QByteArray& line)>& write);

// The lines of that CSV made one row at a time, for a caller that has the rows
// one after another and never the whole grid: the titles, then each row,
// every line `columns` fields wide (a short row is filled with empty fields).
// The line handed to `write` is valid until the next call.
class CsvLines
{
public:
    CsvLines(int columns, std::function<void(const QByteArray& line)> write);
    void row(const QStringList& cells);

private:
    int m_columns;
    std::function<void(const QByteArray& line)> m_write;
    QByteArray m_line;
};

} // namespace velmora::reports
