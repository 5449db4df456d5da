#include "files/ReportGrid.h"

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

void appendField(QByteArray& out, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    const bool quote = utf8.contains(',') || utf8.contains('"') || utf8.contains('\r') || utf8.contains('\n');
    if (!quote) {
        out += utf8;
        return;
    }
    out += '"';
    for (char c : utf8) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

void appendLine(QByteArray& out, const QStringList& cells, int columns)
{
    for (int c = 0; c < columns; ++c) {
        if (c > 0)
            out += ',';
        appendField(out, c < cells.size() ? cells.at(c) : QString());
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
    QByteArray line;
    const int columns = grid.columnCount();
    line.reserve(256);
    appendLine(line, grid.titles, columns);
    write(line);
    for (const QStringList& row : grid.rows) {
        line.resize(0); // keeps its capacity
        appendLine(line, row, columns);
        write(line);
    }
}

} // namespace velmora::reports
