#include "files/XlsxExport.h"

#include <xlsxwriter.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <map>

namespace velmora::reports {

namespace {

// Colours as 0xRRGGBB.
constexpr lxw_color_t titleBlue = 0x0C058F; // 12, 5, 143
constexpr lxw_color_t headingBlue = 0x9BCDE6; // 155, 205, 230
constexpr lxw_color_t white = 0xFFFFFF;

// Margins are given in points; the file keeps inches.
constexpr double pointsPerInch = 72.0;
constexpr double marginLeft = 20, marginRight = 20, marginTop = 70, marginBottom = 45;
constexpr double marginHeader = 20, marginFooter = 20;
constexpr uint8_t paperA4 = 9;

constexpr double titleSize = 16, subtitleSize = 14, rowSize = 12;
// Row heights that fit the font sizes above.
constexpr double titleHeight = 21, subtitleHeight = 18.75, rowHeight = 15.75;

} // namespace

namespace {

// The formats of one workbook, made on first use.
class Formats
{
public:
    explicit Formats(lxw_workbook* wb)
        : m_wb(wb)
    { }

    lxw_format* title()
    {
        if (!m_title) {
            m_title = workbook_add_format(m_wb);
            format_set_align(m_title, LXW_ALIGN_CENTER_ACROSS);
            format_set_font_color(m_title, titleBlue);
            format_set_font_size(m_title, titleSize);
        }
        return m_title;
    }
    lxw_format* titleRange()
    {
        if (!m_titleRange) {
            m_titleRange = workbook_add_format(m_wb);
            format_set_align(m_titleRange, LXW_ALIGN_CENTER_ACROSS);
        }
        return m_titleRange;
    }
    // A2 when it is also inside the title range gets the centring too.
    lxw_format* subtitle(bool centred)
    {
        lxw_format*& f = m_subtitle[centred];
        if (!f) {
            f = workbook_add_format(m_wb);
            format_set_font_color(f, titleBlue);
            format_set_font_size(f, subtitleSize);
            if (centred)
                format_set_align(f, LXW_ALIGN_CENTER_ACROSS);
        }
        return f;
    }
    lxw_format* rowFont()
    {
        if (!m_row) {
            m_row = workbook_add_format(m_wb);
            format_set_font_size(m_row, rowSize);
        }
        return m_row;
    }
    lxw_format* heading(bool styled)
    {
        if (!styled)
            return rowFont();
        if (!m_heading) {
            m_heading = workbook_add_format(m_wb);
            format_set_font_size(m_heading, rowSize);
            format_set_font_color(m_heading, titleBlue);
            format_set_bg_color(m_heading, headingBlue);
            format_set_pattern(m_heading, LXW_PATTERN_SOLID);
            format_set_align(m_heading, LXW_ALIGN_CENTER);
            format_set_left(m_heading, LXW_BORDER_THIN);
            format_set_right(m_heading, LXW_BORDER_THIN);
            format_set_top(m_heading, LXW_BORDER_THIN);
            format_set_bottom(m_heading, LXW_BORDER_THIN);
        }
        return m_heading;
    }
    // A data cell: white fill when written, vertical rules inside the styled
    // columns, the top rule on the first data row, the bottom rule on the last.
    lxw_format* data(bool filled, bool bordered, bool top, bool bottom, CellNumber number)
    {
        const int key = (filled ? 1 : 0) | (bordered ? 2 : 0) | (bordered && top ? 4 : 0) | (bordered && bottom ? 8 : 0)
            | (number == CellNumber::Amount ? 16 : 0);
        lxw_format*& f = m_data[key];
        if (!f) {
            f = workbook_add_format(m_wb);
            format_set_font_size(f, rowSize);
            if (filled) {
                format_set_bg_color(f, white);
                format_set_pattern(f, LXW_PATTERN_SOLID);
            }
            if (bordered) {
                format_set_left(f, LXW_BORDER_THIN);
                format_set_right(f, LXW_BORDER_THIN);
                if (top)
                    format_set_top(f, LXW_BORDER_THIN);
                if (bottom)
                    format_set_bottom(f, LXW_BORDER_THIN);
            }
            if (number == CellNumber::Amount)
                format_set_num_format(f, "#,##0.00");
        }
        return f;
    }

private:
    lxw_workbook* m_wb;
    lxw_format* m_title = nullptr;
    lxw_format* m_titleRange = nullptr;
    lxw_format* m_subtitle[2] = {nullptr, nullptr};
    lxw_format* m_row = nullptr;
    lxw_format* m_heading = nullptr;
    std::map<int, lxw_format*> m_data;
};

QString excelHeaderFooter(const QString& left, const QString& right)
{
    QString s;
    if (!left.isEmpty())
        s += QStringLiteral("&L") + left;
    if (!right.isEmpty())
        s += QStringLiteral("&R") + right;
    return s;
}

// "A1:I1" to first and last column numbers (1-based).
bool parseRowOneRange(const QString& range, int& first, int& last)
{
    static const QRegularExpression re(QStringLiteral("^([A-Z]{1,2})1:([A-Z]{1,2})1$"));
    const auto m = re.match(range);
    if (!m.hasMatch())
        return false;
    first = columnNumber(m.captured(1));
    last = columnNumber(m.captured(2));
    return first > 0 && last >= first;
}

QString lxwText(lxw_error e)
{
    return QString::fromUtf8(lxw_strerror(e));
}

} // namespace

PageTextSet pageTextSet(PageTexts set)
{
    if (set == PageTexts::SetA)
        return {QStringLiteral("Page &P From &N"), QStringLiteral("(Emp001)"), QStringLiteral("Develop By Ostrel"),
            QStringLiteral("&D &T")};
    return {QStringLiteral("วันที่พิมพ์ &D &T"), QStringLiteral("หน้า &P จากทั้งหมด &N"), QStringLiteral("Develop By Pelvo"),
        QString()};
}

namespace {

bool addChart(lxw_workbook* wb, lxw_worksheet* ws, const ReportGrid& grid, const ExportOptions& options,
    const QByteArray& sheetName)
{
    const ExportChart& spec = *options.chart;
    lxw_chart* chart = workbook_add_chart(wb, LXW_CHART_COLUMN_STACKED);
    if (!chart)
        return false;
    const lxw_row_t first = lxw_row_t(4 + spec.firstRow);
    const lxw_row_t last = lxw_row_t(4 + spec.lastRow);
    for (int i = 0; i < spec.valueColumns.size(); ++i) {
        const lxw_col_t column = lxw_col_t(spec.valueColumns.at(i));
        lxw_chart_series* series = chart_add_series(chart, nullptr, nullptr);
        if (!series)
            return false;
        chart_series_set_categories(
            series, sheetName.constData(), first, lxw_col_t(spec.categoryColumn), last, lxw_col_t(spec.categoryColumn));
        chart_series_set_values(series, sheetName.constData(), first, column, last, column);
        if (i < spec.seriesNames.size())
            chart_series_set_name(series, spec.seriesNames.at(i).toUtf8().constData());
        else
            chart_series_set_name_range(series, sheetName.constData(), 3, column);
    }
    if (!spec.title.isEmpty())
        chart_title_set_name(chart, spec.title.toUtf8().constData());
    if (!spec.categoryAxis.isEmpty())
        chart_axis_set_name(chart->x_axis, spec.categoryAxis.toUtf8().constData());
    if (!spec.valueAxis.isEmpty())
        chart_axis_set_name(chart->y_axis, spec.valueAxis.toUtf8().constData());
    chart_axis_set_num_format(chart->y_axis, "#,##0");
    chart_legend_set_position(chart, LXW_CHART_LEGEND_BOTTOM);
    lxw_chart_options placement = {};
    placement.x_scale = 2.0;
    placement.y_scale = 1.6;
    return worksheet_insert_chart_opt(ws, 3, lxw_col_t(grid.columnCount() + 1), chart, &placement) == LXW_NO_ERROR;
}

bool writeSheet(lxw_workbook* wb, const ReportGrid& grid, const ExportOptions& options, QString* error)
{
    auto fail = [error](const QString& text) {
        if (error)
            *error = text;
        return false;
    };
    const int columns = grid.columnCount();
    if (columns < 1 || columns > 256)
        return fail(QStringLiteral("ตารางต้องมี 1 ถึง 256 คอลัมน์"));
    const int lastStyled = columnNumber(options.lastStyledColumn);
    int titleFirst = 0, titleLast = 0;
    if (lastStyled == 0 || !parseRowOneRange(options.titleRange, titleFirst, titleLast))
        return fail(QStringLiteral("ค่าการส่งออกไม่ถูกต้อง"));
    const QByteArray sheetName = options.sheetName.toUtf8();
    lxw_worksheet* ws = workbook_add_worksheet(wb, sheetName.isEmpty() ? nullptr : sheetName.constData());
    if (!ws)
        return fail(QStringLiteral("ชื่อแผ่นงานไม่ถูกต้อง: ") + options.sheetName);
    Formats formats(wb);

    // Title block: the title centred across its range in row 1.
    worksheet_set_row(ws, 0, titleHeight, nullptr);
    const QByteArray title = options.title.toUtf8();
    for (int c = titleFirst; c <= titleLast; ++c) {
        if (c == 1)
            worksheet_write_string(ws, 0, 0, title.constData(), formats.title());
        else
            worksheet_write_blank(ws, 0, lxw_col_t(c - 1), formats.titleRange());
    }
    if (titleFirst != 1)
        worksheet_write_string(ws, 0, 0, title.constData(), formats.title());
    const bool a2Centred = false; // the title range is in row 1 only
    worksheet_set_row(ws, 1, subtitleHeight, nullptr);
    if (!options.secondTitle.isEmpty())
        worksheet_write_string(ws, 1, 0, options.secondTitle.toUtf8().constData(), formats.subtitle(a2Centred));
    else
        worksheet_write_blank(ws, 1, 0, formats.subtitle(a2Centred));
    worksheet_set_row(ws, 2, subtitleHeight, nullptr);
    worksheet_write_blank(ws, 2, 0, formats.subtitle(a2Centred));

    // Heading row 4: every grid title; colours and borders up to the last styled column.
    worksheet_set_row(ws, 3, rowHeight, formats.rowFont());
    const int headingColumns = std::max(columns, lastStyled);
    for (int c = 0; c < headingColumns; ++c) {
        lxw_format* f = formats.heading(c < lastStyled);
        const QString text = c < columns ? grid.titles.at(c) : QString();
        if (text.isEmpty())
            worksheet_write_blank(ws, 3, lxw_col_t(c), f);
        else
            worksheet_write_string(ws, 3, lxw_col_t(c), text.toUtf8().constData(), f);
    }

    // Data from row 5.
    const int rows = int(grid.rows.size());
    for (int i = 0; i < rows; ++i) {
        const lxw_row_t r = lxw_row_t(4 + i);
        worksheet_set_row(ws, r, rowHeight, formats.rowFont());
        const QStringList& cells = grid.rows.at(i);
        const bool top = i == 0;
        const bool bottom = i == rows - 1;
        for (int c = 0; c < headingColumns; ++c) {
            const bool written = c < columns;
            const bool bordered = c < lastStyled;
            if (!written) {
                worksheet_write_blank(
                    ws, r, lxw_col_t(c), formats.data(false, bordered, top, bottom, CellNumber::None));
                continue;
            }
            QString text = c < cells.size() ? cells.at(c) : QString();
            double value = 0;
            CellNumber kind = CellNumber::None;
            if (text.startsWith(QLatin1Char('\'')))
                text.remove(0, 1); // stored as text, without the apostrophe
            else
                kind = numberKind(text, value);
            lxw_format* f = formats.data(true, bordered, top, bottom, kind);
            lxw_error e;
            if (kind != CellNumber::None)
                e = worksheet_write_number(ws, r, lxw_col_t(c), value, f);
            else if (text.isEmpty())
                e = worksheet_write_blank(ws, r, lxw_col_t(c), f);
            else
                e = worksheet_write_string(ws, r, lxw_col_t(c), text.toUtf8().constData(), f);
            if (e != LXW_NO_ERROR)
                return fail(
                    QStringLiteral("เขียนแถว %1 คอลัมน์ %2 ไม่ได้: ").arg(r + 1).arg(columnLetters(c + 1)) + lxwText(e));
        }
    }

    // Print layout.
    const PageTextSet texts = pageTextSet(options.pageTexts);
    lxw_header_footer_options headerOptions = {};
    headerOptions.margin = marginHeader / pointsPerInch;
    lxw_header_footer_options footerOptions = {};
    footerOptions.margin = marginFooter / pointsPerInch;
    const QByteArray header = excelHeaderFooter(texts.leftHeader, texts.rightHeader).toUtf8();
    const QByteArray footer = excelHeaderFooter(texts.leftFooter, texts.rightFooter).toUtf8();
    worksheet_set_header_opt(ws, header.constData(), &headerOptions);
    worksheet_set_footer_opt(ws, footer.constData(), &footerOptions);
    worksheet_set_margins(ws, marginLeft / pointsPerInch, marginRight / pointsPerInch, marginTop / pointsPerInch,
        marginBottom / pointsPerInch);
    if (options.landscape)
        worksheet_set_landscape(ws);
    else
        worksheet_set_portrait(ws);
    worksheet_set_paper(ws, paperA4);
    // Page order stays "down, then over" and the first page number automatic:
    // both are the file's defaults.

    for (int c = 0; c < options.widths.size() && c < 256; ++c)
        worksheet_set_column(ws, lxw_col_t(c), lxw_col_t(c), options.widths.at(c), nullptr);
    worksheet_repeat_rows(ws, 0, 3);

    if (options.chart && !addChart(wb, ws, grid, options, sheetName))
        return fail(QStringLiteral("สร้างกราฟในแผ่นงานไม่ได้: ") + options.sheetName);
    return true;
}

} // namespace

bool exportGrid(const ReportGrid& grid, const ExportOptions& options, const QString& path, QString* error)
{
    return exportGrids({{grid, options}}, path, error);
}

bool exportGrids(const QList<std::pair<ReportGrid, ExportOptions>>& sheets, const QString& path, QString* error)
{
    auto fail = [error](const QString& text) {
        if (error)
            *error = text;
        return false;
    };
    for (const auto& [grid, options] : sheets) {
        const int lastStyled = columnNumber(options.lastStyledColumn);
        int titleFirst = 0, titleLast = 0;
        if (grid.columnCount() < 1 || grid.columnCount() > 256)
            return fail(QStringLiteral("ตารางต้องมี 1 ถึง 256 คอลัมน์"));
        if (lastStyled == 0 || !parseRowOneRange(options.titleRange, titleFirst, titleLast))
            return fail(QStringLiteral("ค่าการส่งออกไม่ถูกต้อง"));
    }
    const QByteArray file = QFile::encodeName(path);
    lxw_workbook_options wbOptions = {};
    wbOptions.constant_memory = LXW_TRUE; // rows are written in order
    const QByteArray tmpDir = QFile::encodeName(QDir::tempPath());
    wbOptions.tmpdir = const_cast<char*>(tmpDir.constData());
    lxw_workbook* wb = workbook_new_opt(file.constData(), &wbOptions);
    if (!wb)
        return fail(QStringLiteral("สร้างไฟล์ไม่ได้: ") + path);
    // Closing also frees the workbook; an early return still closes it.
    struct Closer
    {
        lxw_workbook* wb;
        bool closed = false;
        lxw_error close()
        {
            closed = true;
            return workbook_close(wb);
        }
        ~Closer()
        {
            if (!closed)
                workbook_close(wb);
        }
    } closer {wb};

    for (const auto& [grid, options] : sheets) {
        if (!writeSheet(wb, grid, options, error))
            return false;
    }

    const lxw_error e = closer.close();
    if (e != LXW_NO_ERROR)
        return fail(QStringLiteral("บันทึกไฟล์ไม่ได้: ") + path + QStringLiteral(" (") + lxwText(e) + QLatin1Char(')'));
    return true;
}

} // namespace velmora::reports
