#include "pages/PrintedMark.h"

namespace velmora::print {

QString printedMarkText(const audit::PrintedValue& value)
{
    return QStringLiteral("ลำดับบันทึกตรวจสอบ %1 ค่าตรวจสอบ %2").arg(value.seq).arg(value.hex);
}

void addPrintedMark(PageLayout& page, const audit::PrintedValue& value, const QString& frame)
{
    if (value.seq <= 0)
        return;
    QRectF area(0, 0, page.paperMm.width() - page.marginsMm.left() - page.marginsMm.right(),
        page.paperMm.height() - page.marginsMm.top() - page.marginsMm.bottom());
    if (const Item* box = frame.isEmpty() ? nullptr : page.find(frame)) {
        constexpr double kInsideMm = 1.0; // clear of the box's rule
        area = box->rect.adjusted(kInsideMm, kInsideMm, -kInsideMm, -kInsideMm);
    }
    const double height = lineHeightMm(kPrintedMarkSize);
    page.items << Item::label(QLatin1String(kPrintedMarkItem), area.left(), area.bottom() - height, area.width(),
        kPrintedMarkSize, printedMarkText(value), Align::Right);
}

} // namespace velmora::print
