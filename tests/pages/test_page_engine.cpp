#include "pages/PageRenderer.h"
#include "pages/RequestPage.h"

#include "PdfText.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>
#include <QTemporaryDir>

using namespace velmora::print;

namespace {

QString U(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

RequestDocument longDocument()
{
    SavedCalculation c;
    c.SapID = QStringLiteral("99999999");
    c.Emp_Surname = U("ว่าที่ร้อยตรีหญิง");
    c.Emp_F_Name = U("สุพรรณิการ์ประภาพรรณ");
    c.Emp_L_Name = U("ศรีสวัสดิ์วงศ์ประเสริฐกุล");
    c.Date_Beg_Cal = QStringLiteral("17/10/2550");
    c.Date_End_Cal = QStringLiteral("30/09/2555");
    c.Date_Entry = QStringLiteral("18/09/2555");
    c.Depart_Code = QStringLiteral("05");
    c.Depart_Name = U("คณะวิทยาศาสตร์และเทคโนโลยีการเกษตรและอุตสาหกรรมอาหาร");
    c.Event_Out = U("เกษียณอายุงาน ตามข้อบังคับมหาวิทยาลัยกาวิลัน");
    c.No_Year = 24;
    c.No_Month = 11;
    c.No_Day = 30;
    c.N_T = 10;
    c.Last_Salary = 99999.99;
    c.His_Rec_Money = 888888.88;
    c.Net_Money_Recieve = 9999999.99;
    c.Fact_Month_Weigth = 11.48;
    c.Kv_Month_Weight = 48;
    RequestDocument d;
    d.calculation = c;
    EarlierPayment e {1, QStringLiteral("0123"), QStringLiteral("01/04/2548"), QStringLiteral("31/03/2556"), 24, 11, 30,
        10, 99999.99, 888888.88, 999999.99};
    d.earlier = {e, e};
    SavedPeriod p {U("พนักงานมหาวิทยาลัยประเภทเงินรายได้ของส่วนงาน"), QStringLiteral("17/10/2550"),
        QStringLiteral("30/09/2553"), 1234.56};
    d.periods = {p, p, p};
    return d;
}

} // namespace

TEST(PrintFace, IsAngsanaOrAnInstalledThaiSubstituteScaledDown)
{
    const PrintFace face = printFace();
    ASSERT_FALSE(face.family.isEmpty());
    if (face.family.startsWith(QLatin1String("Angsana"))) {
        EXPECT_EQ(face.scale, 1.0);
    } else {
        EXPECT_NEAR(face.scale, 0.67, 1e-9);
        EXPECT_TRUE(QFontDatabase::families(QFontDatabase::Thai).contains(face.family)) << face.family.toStdString();
    }
}

TEST(FittedFont, EveryTextOfAFullPageStaysInsideItsBox)
{
    QTemporaryDir dir;
    QPdfWriter writer(dir.filePath(QStringLiteral("fit.pdf")));
    writer.setResolution(600);
    const PageLayout page = buildRequestPage(longDocument());
    const PrintFace face = printFace();
    int texts = 0;
    for (const Item& i : page.items) {
        if (i.kind != Item::Kind::Text || i.text.isEmpty())
            continue;
        ++texts;
        const QFont f = fittedFont(i, face, &writer);
        const QFontMetricsF fm(f, &writer);
        const double boxDots = i.rect.width() * writer.resolution() / 25.4;
        EXPECT_LE(fm.horizontalAdvance(i.text), boxDots) << i.name.toStdString();
        EXPECT_LE(f.pointSizeF(), i.pointSize * face.scale + 1e-9) << i.name.toStdString();
        // the text's line fits the box's height too
        EXPECT_LE(fm.height(), i.rect.height() * writer.resolution() / 25.4 * 1.05) << i.name.toStdString();
    }
    EXPECT_GT(texts, 100);
}

TEST(FittedFont, ShrinksOnlyATextTooWideForItsBox)
{
    QImage device(100, 100, QImage::Format_RGB32);
    device.setDotsPerMeterX(11811); // 300 dpi
    device.setDotsPerMeterY(11811);
    const PrintFace face = printFace();
    Item shortText = Item::label(QStringLiteral("a"), 0, 0, 60, 14, U("บาท"));
    EXPECT_DOUBLE_EQ(fittedFont(shortText, face, &device).pointSizeF(), 14 * face.scale);
    Item longText = Item::label(QStringLiteral("b"), 0, 0, 10, 14, U("เงินชดเชยสุทธิที่ได้รับ(เงินชดเชย-เงินชดเชยที่เคยได้รับ)"));
    const QFont f = fittedFont(longText, face, &device);
    EXPECT_LT(f.pointSizeF(), 14 * face.scale);
    EXPECT_LE(QFontMetricsF(f, &device).horizontalAdvance(longText.text), 10 * 300 / 25.4);
}

TEST(FittedFont, AWrappingTextFitsWidthAndHeight)
{
    QImage device(100, 100, QImage::Format_RGB32);
    device.setDotsPerMeterX(11811);
    device.setDotsPerMeterY(11811);
    Item memo = Item::label(QStringLiteral("words"), 0, 0, 40, 16,
        U("(หนึ่งล้านสองแสนสามหมื่นสี่พันห้าร้อยหกสิบเจ็ดบาทแปดสิบเก้าสตางค์) "
          "จากกองทุนเงินชดเชย พนักงานมหาวิทยาลัยพ้นสภาพ"));
    memo.wrap = true;
    memo.rect.setHeight(12);
    const QFont f = fittedFont(memo, printFace(), &device);
    const QRectF need =
        QFontMetricsF(f, &device).boundingRect(QRectF(0, 0, 40 * 300 / 25.4, 1e6), Qt::TextWordWrap, memo.text);
    EXPECT_LE(need.height(), 12 * 300 / 25.4);
}

TEST(RenderPage, PlacesItemsInMillimetresFromThePaperCorner)
{
    // a 10 mm box at 20/30 mm of a band with 10 mm margins: paper 30..40 and 40..50 mm
    PageLayout page;
    page.items << Item::box(QStringLiteral("b"), 20, 30, 30, 40, 0.5);
    const double dpi = 254; // 10 dots per millimetre
    QImage image(2100, 2970, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    renderPage(painter, page, dpi);
    painter.end();
    auto dark = [&](int x, int y) { return qGray(image.pixel(x, y)) < 128; };
    EXPECT_TRUE(dark(300, 450)); // left edge at 30 mm
    EXPECT_TRUE(dark(400, 450)); // right edge at 40 mm
    EXPECT_TRUE(dark(350, 400)); // top edge at 40 mm
    EXPECT_TRUE(dark(350, 500)); // bottom edge at 50 mm
    EXPECT_FALSE(dark(350, 450)); // inside stays white
    EXPECT_FALSE(dark(200, 300)); // the band's corner itself is not drawn
}

TEST(WritePdf, TheRequestPageCarriesItsThaiTexts)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("request.pdf"));
    RequestDocument d = longDocument();
    d.calculation->Net_Money_Recieve = 120000;
    QString error;
    ASSERT_TRUE(writePdf(path, {buildRequestPage(d)}, &error)) << error.toStdString();
    if (qEnvironmentVariableIsSet("KEEP_PDF"))
        QFile::copy(path, qEnvironmentVariable("KEEP_PDF"));
    EXPECT_GT(QFileInfo(path).size(), 1000);
    const QString text = velmora::test::pdfText(path);
    ASSERT_FALSE(text.isEmpty()) << "pdftotext gave nothing";
    for (const char* expected : {"เอกสารขอรับเงินชดเชยพนักงาน", "ประวัติการรับเงินชดเชย", "ปัจจุบัน", "ประเภทบุคคลากร",
             "เหตุแห่งการออก", "วันที่บันทึกข้อมูล", "รวมระยะเวลาปฎิบัติงาน", "ได้จำนวนเท่าของเงินเดือนคือ", "คำนวณเงินชดเชยที่ได้",
             "เงินชดเชยสุทธิที่ได้รับ(เงินชดเชย-เงินชดเชยที่เคยได้รับ)", "อัตราส่วน", "มหาวิทยาลัยกาวิลัน", "รวมทั้งสิ้น", "สุพรรณิการ์ประภาพรรณ",
             "เกษียณอายุงาน", "120,000.00", "23,160.73", "96,839.27"})
        EXPECT_TRUE(velmora::test::pdfContains(text, U(expected))) << expected;
}

TEST(WritePdf, AnUnwritablePathIsAnError)
{
    QString error;
    EXPECT_FALSE(writePdf(QStringLiteral("/nonexistent-folder/x.pdf"), {PageLayout()}, &error));
    EXPECT_FALSE(error.isEmpty());
}

namespace {

// Without a window manager the maximised request alone left the preview at
// its default size (771 x 109 pixels, the page at 5 %).
TEST(PreviewWindow, FillsTheAvailableAreaOfTheScreen)
{
    QPrinter printer(QPrinter::HighResolution);
    QPrintPreviewDialog dialog(&printer);
    fillScreen(&dialog, nullptr);
    dialog.show();
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(dialog.size(), available.size());
    EXPECT_GE(dialog.width(), 640);
    EXPECT_GE(dialog.height(), 480);
    dialog.close();
}

} // namespace
