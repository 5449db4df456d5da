#include "PdfLayoutText.h"
#include "PdfText.h"

#include "pages/OutlookPage.h"
#include "pages/PageRenderer.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

using namespace velmora;
using namespace velmora::outlook;
using namespace velmora::print;

namespace {

Outlook_Cell Cell(int count, std::int64_t satang)
{
    Outlook_Cell c;
    c.count = count;
    c.satang = satang;
    return c;
}

// A result as the service leaves it: periods x groups, totals, refusals.
Outlook_Result Sample(int periods, const std::vector<std::vector<Outlook_Cell>>& cells)
{
    Outlook_Result r;
    r.ok = true;
    r.plan.kind = Outlook_Kind::Age60;
    r.plan.count = periods;
    r.plan.first_year = 2569;
    r.plan.raise_hundredths = 325;
    r.periods = r.plan.period_labels();
    r.groups = {QStringLiteral("พนักงานมหาวิทยาลัย"), QStringLiteral("พนักงานส่วนงาน")};
    r.cells = cells;
    r.period_totals.assign(std::size_t(periods), {});
    r.group_totals.assign(2, {});
    for (std::size_t p = 0; p < cells.size(); ++p)
        for (std::size_t g = 0; g < 2; ++g)
            for (Outlook_Cell* t : {&r.period_totals[p], &r.group_totals[g], &r.grand}) {
                t->count += cells[p][g].count;
                t->satang += cells[p][g].satang;
            }
    Outlook_Line refused;
    refused.sapid = QStringLiteral("00000207");
    refused.name = QStringLiteral("นายช ทดสอบ");
    refused.group = QStringLiteral("พนักงานมหาวิทยาลัย");
    refused.reason = QStringLiteral("อ่านวันเดือนปีเกิดไม่ได้");
    r.refused.push_back(refused);
    return r;
}

QString PdfInfo(const QString& path)
{
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {path});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

TEST(OutlookPage, LandscapePageWithTheTableTotalsAndRefusals)
{
    const Outlook_Result r =
        Sample(3, {{Cell(2, 22050000), Cell(1, 13600000)}, {Cell(0, 0), Cell(0, 0)}, {Cell(1, 12345678), Cell(0, 0)}});
    const QList<PageLayout> pages = buildOutlookPages(r);
    ASSERT_EQ(pages.size(), 1);
    EXPECT_EQ(pages.first().paperMm, QSizeF(297, 210));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("outlook.pdf"));
    QString error;
    ASSERT_TRUE(writePdf(path, pages, &error)) << error.toStdString();
    const QString info = PdfInfo(path);
    EXPECT_TRUE(info.contains(QStringLiteral("842 x 595 pts (A4)"))) << info.toStdString();

    const QString text = test::pdfLayoutText(path); // one printed line stays one line
    for (const QString& expected :
        {QStringLiteral("ประมาณการเงินชดเชยพนักงานที่อายุครบ 60 ปี พ.ศ. 2569 ถึง 2571 (ขึ้นเงินเดือนปีละ 3.25%)"),
            QStringLiteral("2569 พนักงานมหาวิทยาลัย 2 220,500.00"), QStringLiteral("2569 พนักงานส่วนงาน 1 136,000.00"),
            QStringLiteral("รวม 2569 3 356,500.00"), QStringLiteral("2571 พนักงานมหาวิทยาลัย 1 123,456.78"),
            QStringLiteral("รวมทั้งสิ้น 4 479,956.78"), QStringLiteral("พนักงานที่คำนวณไม่ได้ 1 คน"),
            QStringLiteral("00000207 นายช ทดสอบ"), QStringLiteral("อ่านวันเดือนปีเกิดไม่ได้")})
        EXPECT_TRUE(test::pdfContains(text, expected)) << expected.toStdString();
    // A period without anyone has no line.
    EXPECT_FALSE(text.contains(QStringLiteral("รวม2570"))) << text.toStdString();

    // The amount axis left of the chart, in whole baht with separators, its
    // title above the top figure: each figure a printed line of its own.
    const QStringList lines = test::pdfLayoutLines(path);
    qsizetype last = -1;
    for (const QString& expected : {QStringLiteral("บาท"), QStringLiteral("400,000"), QStringLiteral("300,000"),
             QStringLiteral("200,000"), QStringLiteral("100,000"), QStringLiteral("0")}) {
        const qsizetype at = lines.indexOf(test::thaiPlain(expected), last + 1);
        EXPECT_GT(at, last) << expected.toStdString() << " in\n" << lines.join(QLatin1Char('\n')).toStdString();
        last = std::max(last, at);
    }
}

TEST(OutlookPage, ManyLinesContinueOnFurtherPagesUnderTheHeading)
{
    std::vector<std::vector<Outlook_Cell>> cells;
    for (int p = 0; p < 40; ++p)
        cells.push_back({Cell(1, 100000 + p), Cell(2, 200000)});
    const Outlook_Result r = Sample(40, cells);
    const QList<PageLayout> pages = buildOutlookPages(r);
    ASSERT_GE(pages.size(), 3);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("outlook.pdf"));
    QString error;
    ASSERT_TRUE(writePdf(path, pages, &error)) << error.toStdString();
    const QString text = test::pdfText(path);
    // Every period's total is printed once, the heading on every page.
    for (int p = 0; p < 40; ++p)
        EXPECT_TRUE(test::pdfContains(text, QStringLiteral("รวม %1 3").arg(2569 + p))) << p;
    EXPECT_EQ(text.count(test::thaiPlain(QStringLiteral("จำนวนเงิน (บาท)"))), int(pages.size())) << text.toStdString();
    for (const PageLayout& page : pages)
        for (const Item& item : page.items)
            EXPECT_LE(item.rect.bottom(), 190.0 + 1e-9) << item.name.toStdString();
}

// The chart's blocks stand in proportion to the amounts: one period, the
// first group three times the second.
TEST(OutlookChart, BlocksAreStackedInProportion)
{
    const Outlook_Result r = Sample(1, {{Cell(1, 30000000), Cell(1, 10000000)}});
    const QImage image = drawOutlookChart(r, QSizeF(200, 100), 100);
    ASSERT_FALSE(image.isNull());
    int first = 0, second = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb px = image.pixel(x, y);
            first += px == outlookGroupColour(0).rgb();
            second += px == outlookGroupColour(1).rgb();
        }
    ASSERT_GT(second, 0);
    const double ratio = double(first) / second;
    EXPECT_NEAR(ratio, 3.0, 0.3);
}

} // namespace
