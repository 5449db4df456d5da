#include "pages/MemoPage.h"

#include "pages/PrintedMark.h"

#include "rules/AmountText.h"
#include "rules/BahtText.h"

namespace velmora::print {

namespace {

constexpr double kBandWidth = 180.0; // A4 less 15 mm on each side
const QString kDots = QStringLiteral("............................"); // 28 dots

// A left-aligned label reaching at most to `right`.
Item at(const char* name, double left, double top, double right, double size, const QString& text = QString())
{
    return Item::label(QLatin1String(name), left, top, right - left, size, text);
}

// A right-aligned label whose right edge is at `right`.
Item rightAt(const char* name, double right, double top, double width, double size, const QString& text = QString())
{
    return Item::label(QLatin1String(name), right - width, top, width, size, text, Align::Right);
}

QString signatureLine(const QString& name)
{
    return kDots + QStringLiteral("(") + name + QStringLiteral(")");
}

} // namespace

QString presidentOfficeName()
{
    return QStringLiteral("สำนักงานอธิการบดี");
}

QString memoReasonLine(MemoReason reason)
{
    if (reason == MemoReason::Retirement)
        return QStringLiteral("พนักงานมหาวิทยาลัย  เนื่องจากเกษียณอายุงาน ตามข้อบังคับมหาวิทยาลัยกาวิลัน  จำนวน  ");
    return QStringLiteral("พนักงานมหาวิทยาลัย  เนื่องจากครบกำหนดระยะเวลาการจ้างตามสัญญา  จำนวน  ");
}

QString memoRoutingLine(MemoRouting routing, const QString& department)
{
    if (routing == MemoRouting::Faculty)
        return QStringLiteral("ส่งคืน ") + department;
    if (department == presidentOfficeName())
        return QStringLiteral("ส่งคืน กองทรัพยากรบุคคล เพื่อ ประมวลผลผ่าน Payroll");
    return QStringLiteral("ส่งคืน ") + department + QStringLiteral("  เพื่อ ประมวลผลผ่าน Payroll");
}

QString memoWordsLine(const QString& totalText)
{
    const double total = Parse_Number(totalText.toStdString()).value_or(0.0);
    return QStringLiteral(" (") + QString::fromStdString(Baht_Text(total)) + QStringLiteral(")")
        + QStringLiteral(" จากกองทุนเงินชดเชย พนักงานมหาวิทยาลัยพ้นสภาพ");
}

MemoContent memoContent(const reports::ApprovalMemo& memo, MemoRouting routing, MemoReason reason)
{
    MemoContent content;
    content.count = memo.count;
    content.department = memo.department;
    content.totalText = memo.totalText;
    content.printed = memo.printed;
    content.routing = routing;
    content.reason = reason;
    return content;
}

PageLayout memoPageLayout(const OrganisationData& org)
{
    PageLayout page;
    page.paperMm = QSizeF(210.0, 297.0);
    page.marginsMm = QMarginsF(15.0, 5.0, 15.0, 5.0);
    QList<Item>& items = page.items;

    items << Item::picture(QStringLiteral("QRImage1"), 76.5, 17.2, 28.3, 26.7, sealPicture(org));
    items << at("QRLabel22", 125.9, 26.5, kBandWidth, 14, QStringLiteral("สำนักงานอธิการบดี"));
    items << at("QRLabel55", 125.9, 33.9, kBandWidth, 14, QStringLiteral("กองคลัง งานการเงิน"));
    items << at("QRLabel57", 125.9, 41.3, kBandWidth, 14, QStringLiteral("โทร. ") + org.telephone);
    items << at("QRLabel14", 13.8, 50.8, 120.0, 16, QStringLiteral("ที่ ") + org.referenceCode + QStringLiteral("/"));
    items << at("QRLabel8", 13.8, 58.2, 120.0, 16, QStringLiteral("วันที่ "));
    items << at("QRLabel21", 13.8, 66.7, kBandWidth, 16,
        QStringLiteral("เรื่อง   ขออนุมัติเบิกเงินชดเชยของพนักงานมหาวิทยาลัย "
                       "กรณีพ้นสภาพจากการเป็นพนักงานมหาวิทยาลัย"));
    items << at("QRLabel23", 13.8, 82.5, 24.3, 16, QStringLiteral("เรียน"));
    items << at("QRLabel1", 24.3, 82.5, kBandWidth, 16, QStringLiteral("รองอธิการบดีฝ่ายการคลัง (ผ่านผู้อำนวยการกองคลัง)"));
    items << at("QRLabel9", 24.3, 97.4, kBandWidth, 16,
        QStringLiteral(" เพื่อโปรดพิจารณาอนุมัติ   การเบิกเงินชดเชยของพนักงานมหาวิทยาลัย "
                       "ที่พ้นสภาพจากการเป็น"));
    items << at("QRLabel10", 13.8, 105.8, 145.8, 16);
    items << at("QRLabel11", 145.8, 105.8, 159.3, 16);
    items << at("QRLabel12", 159.3, 105.8, kBandWidth, 16, QStringLiteral("ราย"));
    items << at("QRLabel13", 13.8, 114.3, 110.0, 16);
    items << rightAt("QRLabel18", 133.9, 114.3, 22.0, 16, QStringLiteral("จำนวนเงิน"));
    items << rightAt("QRLabel15", 157.4, 114.3, 23.5, 16);
    items << at("QRLabel16", 158.2, 114.3, kBandWidth, 16, QStringLiteral("บาท"));
    Item words = Item::label(QStringLiteral("QRLabel17"), 13.8, 121.7, 149.5, 16, QString());
    words.rect.setHeight(19.3);
    words.wrap = true;
    items << words;
    items << at("QRLabel35", 112.2, 143.9, kBandWidth, 12, signatureLine(org.preparerName));
    items << at("QRLabel36", 138.4, 152.4, kBandWidth, 12, QStringLiteral("นักวิชาการเงินและบัญชี"));
    items << at("QRLabel37", 112.2, 160.9, kBandWidth, 12, signatureLine(org.sectionHeadName));
    items << at("QRLabel2", 138.9, 169.3, kBandWidth, 12, QStringLiteral("หัวหน้างานการเงิน"));
    items << at("QRLabel3", 10.6, 264.6, 29.6, 16, QStringLiteral("อนุมัติแล้ว"));
    items << at("QRLabel4", 29.6, 264.6, 50.8, 14, QStringLiteral("1. ต้นเรื่อง"));
    items << at("QRLabel6", 50.8, 264.6, kBandWidth, 14);
    items << at("QRLabel5", 29.6, 274.1, 50.8, 14, QStringLiteral("2. สำเนาแจ้ง"));
    items << at("QRLabel7", 50.8, 274.1, kBandWidth, 14, QStringLiteral("งานการเงิน / งานบัญชี / งานงบประมาณ"));
    return page;
}

PageLayout buildMemoPage(const MemoContent& content, const OrganisationData& organisation)
{
    PageLayout page = memoPageLayout(organisation);
    page.setText(QStringLiteral("QRLabel10"), memoReasonLine(content.reason));
    page.setText(QStringLiteral("QRLabel11"), QString::number(content.count));
    page.setText(QStringLiteral("QRLabel13"), QStringLiteral("สังกัด ") + content.department);
    page.setText(QStringLiteral("QRLabel15"), content.totalText);
    page.setText(QStringLiteral("QRLabel17"), memoWordsLine(content.totalText));
    page.setText(QStringLiteral("QRLabel6"), memoRoutingLine(content.routing, content.department));
    addPrintedMark(page, content.printed);
    return page;
}

} // namespace velmora::print
