#include "files/ReportGrid.h"

#include <algorithm>

namespace velmora::reports {

ReportGrid ReportGrid::initial()
{
    ReportGrid g;
    g.titles = QStringList(5, QString());
    for (int i = 0; i < 4; ++i)
        g.rows.append(QStringList(5, QString()));
    return g;
}

ReportGrid ReportGrid::emptyResult(const QStringList& titles)
{
    ReportGrid g;
    g.titles = titles;
    g.rows.append(QStringList(titles.size(), QString()));
    return g;
}

namespace {

bool needsQuotes(char c)
{
    return c == ',' || c == '"' || c == '\r' || c == '\n';
}

// The most bytes a field of `units` UTF-16 code units takes: three a unit
// (a quote, doubled, takes two; a pair of surrogates four) and two quotes.
qsizetype fieldRoom(qsizetype units)
{
    return 3 * units + 2;
}

// Writes the field at p, as UTF-8, quoted when it holds a comma, a quote, CR
// or LF; returns the end. Code units that are not surrogates are encoded
// here in the one pass that also looks for those four characters; a text
// with a surrogate (a character beyond U+FFFF, or a broken one) goes through
// QString::toUtf8, so every text is written as toUtf8 writes it.
char* writeField(char* p, const QString& text)
{
    char* const start = p;
    bool quote = false;
    for (const QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u < 0x80) {
            quote = quote || needsQuotes(char(u));
            *p++ = char(u);
        } else if (u < 0x800) {
            *p++ = char(0xC0 | (u >> 6));
            *p++ = char(0x80 | (u & 0x3F));
        } else if (u >= 0xD800 && u <= 0xDFFF) {
            const QByteArray utf8 = text.toUtf8();
            p = std::copy(utf8.cbegin(), utf8.cend(), start);
            quote = std::any_of(utf8.cbegin(), utf8.cend(), needsQuotes);
            break;
        } else {
            *p++ = char(0xE0 | (u >> 12));
            *p++ = char(0x80 | ((u >> 6) & 0x3F));
            *p++ = char(0x80 | (u & 0x3F));
        }
    }
    if (!quote)
        return p;
    // Quoted in place: from the back, each quote doubled, a quote at both ends.
    char* const end = p + std::count(start, p, '"') + 2;
    char* to = end - 1;
    *to-- = '"';
    for (char* from = p - 1; from >= start; --from) {
        *to-- = *from;
        if (*from == '"')
            *to-- = '"';
    }
    *to = '"';
    return end;
}

// The line of `cells` at the end of `out`, `columns` fields and CRLF.
void appendLine(QByteArray& out, const QStringList& cells, int columns)
{
    const qsizetype start = out.size();
    qsizetype room = columns + 2;
    for (int c = 0; c < columns && c < cells.size(); ++c)
        room += fieldRoom(cells.at(c).size());
    out.resize(start + room);
    char* p = out.data() + start;
    for (int c = 0; c < columns; ++c) {
        if (c > 0)
            *p++ = ',';
        if (c < cells.size())
            p = writeField(p, cells.at(c));
    }
    *p++ = '\r';
    *p++ = '\n';
    out.resize(p - out.constData());
}

} // namespace

QByteArray gridToCsv(const ReportGrid& grid)
{
    QByteArray out;
    writeCsv(grid, [&](const QByteArray& line) { out += line; });
    return out;
}

void writeCsv(const ReportGrid& grid, const std::function<void(const QByteArray& line)>& write)
{
    CsvLines lines(grid.columnCount(), write);
    lines.row(grid.titles);
    for (const QStringList& row : grid.rows)
        lines.row(row);
}

CsvLines::CsvLines(int columns, std::function<void(const QByteArray& line)> write)
    : m_columns(columns)
    , m_write(std::move(write))
{
    m_line.reserve(256);
}

void CsvLines::row(const QStringList& cells)
{
    m_line.resize(0); // keeps its capacity
    appendLine(m_line, cells, m_columns);
    m_write(m_line);
}

} // namespace velmora::reports
