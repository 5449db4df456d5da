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

void appendQuoted(QByteArray& out, const QByteArray& utf8)
{
    out += '"';
    for (char c : utf8) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

// The field as UTF-8, quoted when it holds a comma, a quote, CR or LF. Code
// units that are not surrogates are encoded here in the one pass that also
// looks for those four characters; a text with a surrogate (a character
// beyond U+FFFF, or a broken one) goes through QString::toUtf8, so every text
// is written as toUtf8 writes it.
void appendField(QByteArray& out, const QString& text)
{
    const qsizetype start = out.size();
    out.resize(start + 3 * text.size());
    char* p = out.data() + start;
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
            out.resize(start);
            const QByteArray utf8 = text.toUtf8();
            if (std::any_of(utf8.begin(), utf8.end(), needsQuotes))
                appendQuoted(out, utf8);
            else
                out += utf8;
            return;
        } else {
            *p++ = char(0xE0 | (u >> 12));
            *p++ = char(0x80 | ((u >> 6) & 0x3F));
            *p++ = char(0x80 | (u & 0x3F));
        }
    }
    out.resize(p - out.constData());
    if (!quote)
        return;
    // Quoted in place: from the back, each quote doubled, a quote at both ends.
    const qsizetype end = out.size();
    const qsizetype doubled = std::count(out.cbegin() + start, out.cend(), '"');
    out.resize(end + doubled + 2);
    char* d = out.data();
    qsizetype to = out.size() - 1;
    d[to--] = '"';
    for (qsizetype from = end - 1; from >= start; --from) {
        d[to--] = d[from];
        if (d[from] == '"')
            d[to--] = '"';
    }
    d[to] = '"';
}

void appendLine(QByteArray& out, const QStringList& cells, int columns)
{
    for (int c = 0; c < columns; ++c) {
        if (c > 0)
            out += ',';
        if (c < cells.size())
            appendField(out, cells.at(c));
    }
    out += "\r\n";
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
