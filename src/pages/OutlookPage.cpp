#include "pages/OutlookPage.h"

#include "pages/PageRenderer.h"
#include "rules/AmountText.h"
#include "rules/ChartAxis.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace velmora::print {

namespace {

using namespace velmora::outlook;

constexpr double paperWidth = 297, paperHeight = 210, margin = 10;
constexpr double bandWidth = paperWidth - 2 * margin, bandHeight = paperHeight - 2 * margin;
constexpr double chartHeight = 92;
constexpr double rowSize = 14;
// The amount axis left of the chart's picture: its width and type size.
constexpr double axisWidth = 24, axisSize = 11;
const double rowHeight = lineHeightMm(rowSize);

QString amountText(double value)
{
    return QString::fromStdString(Amount_Text(value));
}

PageLayout blankPage()
{
    PageLayout page;
    page.paperMm = QSizeF(paperWidth, paperHeight);
    page.marginsMm = QMarginsF(margin, margin, margin, margin);
    return page;
}

// Columns of the table: period, group, people, amount.
const double colX[] = {0, 40, 180, 210};
const double colW[] = {40, 140, 30, 67};

void tableRow(PageLayout& page, int& n, double top, const QStringList& cells, bool bold)
{
    const Align align[] = {Align::Left, Align::Left, Align::Right, Align::Right};
    for (int c = 0; c < 4; ++c)
        page.items << Item::label(QStringLiteral("row%1_%2").arg(n).arg(c), colX[c] + 1, top, colW[c] - 2, rowSize,
            cells.value(c), align[c], bold);
    ++n;
}

} // namespace

QColor outlookGroupColour(int group)
{
    static const QColor palette[] = {QColor(31, 119, 180), QColor(255, 127, 14), QColor(44, 160, 44),
        QColor(214, 39, 40), QColor(148, 103, 189), QColor(140, 86, 75), QColor(227, 119, 194), QColor(127, 127, 127),
        QColor(188, 189, 34), QColor(23, 190, 207)};
    return palette[group % 10];
}

QImage drawOutlookChart(const Outlook_Result& r, const QSizeF& sizeMm, double dpi, OutlookChartFrame* frame)
{
    const auto px = [dpi](double mm) { return mm * dpi / 25.4; };
    QImage image(QSize(int(px(sizeMm.width())), int(px(sizeMm.height()))), QImage::Format_RGB32);
    image.setDotsPerMeterX(int(dpi / 0.0254));
    image.setDotsPerMeterY(int(dpi / 0.0254));
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const PrintFace face = printFace();
    QFont font(face.family);
    font.setPointSizeF(11 * face.scale);
    painter.setFont(font);
    const QFontMetricsF metrics(font, &image);

    double tallest = 0;
    for (const Outlook_Cell& c : r.period_totals)
        tallest = std::max(tallest, c.amount());
    const Amount_Axis axis = Amount_Axis_For(tallest);

    // Legend rows below the plot.
    const double legendRow = metrics.height() * 1.3;
    double legendWidth = 0;
    for (const QString& g : r.groups)
        legendWidth = std::max(legendWidth, metrics.horizontalAdvance(g) + px(8));
    const int perRow = std::max(1, int(image.width() / std::max(1.0, legendWidth)));
    const int legendRows = int((r.groups.size() + perRow - 1) / perRow);

    const double left = px(1);
    const double right = image.width() - px(2);
    const double plotTop = metrics.height();
    const double plotBottom = image.height() - legendRows * legendRow - metrics.height() * 2.2;
    const auto yOf = [&](double value) { return plotBottom - (plotBottom - plotTop) * value / axis.top; };
    if (frame)
        *frame = {plotTop * 25.4 / dpi, plotBottom * 25.4 / dpi, axis};

    painter.setPen(QPen(QColor(200, 200, 200), px(0.2)));
    for (double v : Axis_Values(axis))
        painter.drawLine(QPointF(left, yOf(v)), QPointF(right, yOf(v)));

    const int periods = int(r.periods.size());
    const double slot = periods > 0 ? (right - left) / periods : 0;
    const double barWidth = slot * 0.7;
    // Every k-th label, so that labels never overlap.
    double widest = 0;
    for (const QString& p : r.periods)
        widest = std::max(widest, metrics.horizontalAdvance(p));
    const int every = slot > 0 ? std::max(1, int(std::ceil((widest + px(2)) / slot))) : 1;
    for (int p = 0; p < periods; ++p) {
        const double x = left + slot * p + (slot - barWidth) / 2;
        double base = 0;
        for (int g = 0; g < r.groups.size(); ++g) {
            const double value = std::max(0.0, r.cells[std::size_t(p)][std::size_t(g)].amount());
            if (value <= 0)
                continue;
            const QRectF bar(QPointF(x, yOf(base + value)), QPointF(x + barWidth, yOf(base)));
            painter.fillRect(bar, outlookGroupColour(g));
            base += value;
        }
        if (p % every == 0) {
            painter.setPen(Qt::black);
            painter.drawText(QRectF(left + slot * p - slot * every / 2 + slot / 2, plotBottom + px(1), slot * every,
                                 metrics.height()),
                Qt::AlignHCenter | Qt::AlignTop, r.periods.at(p));
        }
    }
    painter.setPen(QPen(Qt::black, px(0.3)));
    painter.drawLine(QPointF(left, plotBottom), QPointF(right, plotBottom));
    painter.drawLine(QPointF(left, plotTop), QPointF(left, plotBottom));

    const double legendTop = plotBottom + metrics.height() * 2;
    for (int g = 0; g < r.groups.size(); ++g) {
        const int column = g % perRow, row = g / perRow;
        const double x = column * legendWidth;
        const double y = legendTop + row * legendRow;
        painter.fillRect(QRectF(x, y + metrics.height() * 0.2, px(4), metrics.height() * 0.6), outlookGroupColour(g));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(x + px(5), y, legendWidth - px(5), metrics.height()), Qt::AlignLeft | Qt::AlignVCenter,
            r.groups.at(g));
    }
    painter.end();
    return image;
}

QList<PageLayout> buildOutlookPages(const Outlook_Result& r)
{
    QList<PageLayout> pages;
    PageLayout page = blankPage();
    page.items << Item::label(QStringLiteral("Title"), 0, 0, bandWidth, 18, Outlook_Title(r.plan), Align::Center, true);
    page.items << Item::label(QStringLiteral("Subtitle"), 0, lineHeightMm(18), bandWidth, rowSize,
        QStringLiteral("แยกตาม%1 %2   รวม %3 คน  %4 บาท   คำนวณไม่ได้ %5 คน")
            .arg(Group_Caption(r.plan.by), r.plan.department ? *r.plan.department : QStringLiteral("ทุกส่วนงาน"))
            .arg(r.grand.count)
            .arg(amountText(r.grand.amount()))
            .arg(r.refused.size()),
        Align::Center);
    double y = lineHeightMm(18) + rowHeight + 2;
    OutlookChartFrame frame;
    page.items << Item::picture(QStringLiteral("Chart"), axisWidth, y, bandWidth - axisWidth, chartHeight,
        drawOutlookChart(r, QSizeF(bandWidth - axisWidth, chartHeight), 200, &frame));
    // The amount axis: its title above, a figure at each gridline.
    const double axisRow = lineHeightMm(axisSize);
    page.items << Item::label(QStringLiteral("AmountAxis"), 0, y + frame.plotTopMm - 1.5 * axisRow, axisWidth - 1.5,
        axisSize, QStringLiteral("บาท"), Align::Right, true);
    int tick = 0;
    for (double v : Axis_Values(frame.axis)) {
        const double at = frame.plotBottomMm - (frame.plotBottomMm - frame.plotTopMm) * v / frame.axis.top;
        page.items << Item::label(QStringLiteral("AmountTick%1").arg(tick++), 0, y + at - axisRow / 2,
            axisWidth - 1.5, axisSize, QString::fromStdString(Axis_Label(v)), Align::Right);
    }
    y += chartHeight + 3;

    int n = 0;
    auto heading = [&](const QStringList& titles) {
        page.items << Item::line(QStringLiteral("head%1").arg(n), 0, y, bandWidth, y);
        tableRow(page, n, y, titles, true);
        y += rowHeight;
        page.items << Item::line(QStringLiteral("head%1").arg(n), 0, y, bandWidth, y);
    };
    const QStringList titles = {
        r.plan.kind == Outlook_Kind::Age60 ? QStringLiteral("ปีที่อายุครบ 60 ปี") : QStringLiteral("เดือนที่สิ้นสุดสัญญา"),
        Group_Caption(r.plan.by), QStringLiteral("จำนวนคน"), QStringLiteral("จำนวนเงิน (บาท)")};
    auto room = [&](const QStringList& again) {
        if (y + rowHeight <= bandHeight)
            return;
        pages << page;
        page = blankPage();
        y = 0;
        if (!again.isEmpty())
            heading(again);
    };
    heading(titles);
    for (int p = 0; p < r.periods.size(); ++p) {
        const Outlook_Cell& total = r.period_totals[std::size_t(p)];
        if (total.count == 0)
            continue;
        for (int g = 0; g < r.groups.size(); ++g) {
            const Outlook_Cell& c = r.cells[std::size_t(p)][std::size_t(g)];
            if (c.count == 0)
                continue;
            room(titles);
            tableRow(
                page, n, y, {r.periods.at(p), r.groups.at(g), QString::number(c.count), amountText(c.amount())}, false);
            y += rowHeight;
        }
        room(titles);
        tableRow(page, n, y,
            {QString(), QStringLiteral("รวม ") + r.periods.at(p), QString::number(total.count),
                amountText(total.amount())},
            true);
        y += rowHeight;
    }
    room(titles);
    page.items << Item::line(QStringLiteral("total%1").arg(n), 0, y, bandWidth, y);
    tableRow(page, n, y,
        {QString(), QStringLiteral("รวมทั้งสิ้น"), QString::number(r.grand.count), amountText(r.grand.amount())}, true);
    y += rowHeight;
    page.items << Item::line(QStringLiteral("total%1").arg(n), 0, y, bandWidth, y, 0.4);

    if (!r.refused.empty()) {
        y += rowHeight / 2;
        room({});
        page.items << Item::label(QStringLiteral("Refused"), 0, y, bandWidth, rowSize,
            QStringLiteral("พนักงานที่คำนวณไม่ได้ %1 คน").arg(r.refused.size()), Align::Left, true);
        y += rowHeight;
        for (const Outlook_Line& l : r.refused) {
            room({});
            page.items << Item::label(QStringLiteral("refused%1").arg(n++), 0, y, bandWidth, rowSize,
                QStringLiteral("%1  %2  %3  %4: %5").arg(l.sapid, l.name, l.group, l.period, l.reason));
            y += rowHeight;
        }
    }
    pages << page;
    return pages;
}

} // namespace velmora::print
