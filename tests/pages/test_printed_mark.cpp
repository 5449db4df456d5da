// The small print of the audit trail on every page of the three documents:
// on the band's last line, clear of every other item, at its own size, and
// read back from the PDF as printed.

#include "PdfText.h"

#include "pages/AnnexPage.h"
#include "pages/MemoPage.h"
#include "pages/PageRenderer.h"
#include "pages/PrintedMark.h"
#include "pages/RequestPage.h"

#include <gtest/gtest.h>

#include <QPdfWriter>
#include <QTemporaryDir>

#include <functional>

using namespace velmora;
using namespace velmora::print;

namespace {

RequestDocument requestDocument(const audit::PrintedValue& printed)
{
    SavedCalculation c;
    c.SapID = QStringLiteral("10000001");
    c.Emp_F_Name = QStringLiteral("สมชาย");
    c.Date_Beg_Cal = QStringLiteral("17/10/2550");
    c.Date_End_Cal = QStringLiteral("30/09/2555");
    c.Total_Day = 1810;
    c.N_T = 6;
    c.Last_Salary = 20000;
    c.Net_Money_Recieve = 120000;
    c.Fact_Month_Weigth = 59.5;
    c.Kv_Month_Weight = 0;
    RequestDocument d;
    d.calculation = c;
    d.earlier = {EarlierPayment {1, QStringLiteral("05"), QStringLiteral("01/04/2548"), QStringLiteral("31/03/2550"), 2,
        0, 0, 1, 15000, 15000, 15000}};
    // enough periods to carry the annex onto a second page
    for (int i = 0; i < 40; ++i)
        d.periods << SavedPeriod {QStringLiteral("พนักงานมหาวิทยาลัย"), QStringLiteral("17/10/2550"),
            QStringLiteral("30/09/2555"), 59.5, QStringLiteral("2"), 1810, 59};
    d.printed = printed;
    return d;
}

using Build = std::function<QList<PageLayout>(const audit::PrintedValue&)>;

struct Document_Case
{
    const char* name;
    Build build;
    int min_pages;
};

QList<PageLayout> requestPages(const audit::PrintedValue& v)
{
    return {buildRequestPage(requestDocument(v))};
}

QList<PageLayout> annexPages(const audit::PrintedValue& v)
{
    AnnexDocument d;
    d.request = requestDocument(v);
    d.brackets = {{1, 3, 3}};
    return buildAnnexPages(d);
}

QList<PageLayout> memoPages(const audit::PrintedValue& v)
{
    reports::ApprovalMemo memo;
    memo.count = 2;
    memo.department = QStringLiteral("คณะวิทยาศาสตร์");
    memo.totalText = QStringLiteral("240,000.00");
    memo.printed = v;
    return {buildMemoPage(memoContent(memo, MemoRouting::Payroll, MemoReason::ContractEnd), OrganisationData())};
}

QRectF extent(const Item& i)
{
    return i.kind == Item::Kind::Line ? QRectF(i.rect.topLeft(), i.rect.bottomRight()).normalized() : i.rect;
}

class Printed_Mark : public testing::TestWithParam<Document_Case>
{
};

const audit::PrintedValue kPaper {4711, QStringLiteral("0123456789abcdef")};

TEST_P(Printed_Mark, EveryPageCarriesItOnTheLastLineClearOfTheRest)
{
    const QList<PageLayout> pages = GetParam().build(kPaper);
    ASSERT_GE(pages.size(), GetParam().min_pages);
    QTemporaryDir dir;
    QPdfWriter writer(dir.filePath(QStringLiteral("fit.pdf")));
    writer.setResolution(600);
    const PrintFace face = printFace();
    for (const PageLayout& page : pages) {
        const Item* mark = page.find(QLatin1String(kPrintedMarkItem));
        ASSERT_NE(mark, nullptr);
        EXPECT_EQ(mark->text, QStringLiteral("ลำดับบันทึกตรวจสอบ 4711 ค่าตรวจสอบ 0123456789abcdef"));
        const QRectF band(QPointF(0, 0), page.paperMm - QSizeF(page.marginsMm.left() + page.marginsMm.right(),
                                                            page.marginsMm.top() + page.marginsMm.bottom()));
        EXPECT_TRUE(band.contains(mark->rect)) << "the mark leaves the band";
        // on the band's last line, or on the last inside the frame that runs to the foot
        EXPECT_GT(mark->rect.bottom(), band.bottom() - 3.5);
        // printed at its own size: the text is not shrunk to fit
        EXPECT_DOUBLE_EQ(fittedFont(*mark, face, &writer).pointSizeF(), kPrintedMarkSize * face.scale);
        for (const Item& other : page.items) {
            if (&other == mark || (other.kind == Item::Kind::Text && other.text.isEmpty()))
                continue;
            // inside a box, clear of its rules
            if (other.kind == Item::Kind::Box && other.rect.adjusted(0.5, 0.5, -0.5, -0.5).contains(mark->rect))
                continue;
            EXPECT_FALSE(extent(other).intersects(mark->rect))
                << other.name.toStdString() << " runs into the mark at " << extent(other).bottom() << " mm";
        }
    }
    const QString pdf = dir.filePath(QStringLiteral("document.pdf"));
    QString error;
    ASSERT_TRUE(writePdf(pdf, pages, &error)) << error.toStdString();
    const QString text = test::pdfText(pdf);
    EXPECT_TRUE(test::pdfContains(text, QStringLiteral("ลำดับบันทึกตรวจสอบ 4711 ค่าตรวจสอบ 0123456789abcdef")));
    EXPECT_EQ(text.count(QStringLiteral("4711")), pages.size()) << "one mark a page";
    EXPECT_EQ(text.count(QStringLiteral("0123456789abcdef")), pages.size());
}

TEST_P(Printed_Mark, AnEmptyTrailPrintsNone)
{
    for (const PageLayout& page : GetParam().build({}))
        EXPECT_EQ(page.find(QLatin1String(kPrintedMarkItem)), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Documents, Printed_Mark,
    testing::Values(Document_Case {"Request", requestPages, 1}, Document_Case {"Annex", annexPages, 2},
        Document_Case {"Memo", memoPages, 1}),
    [](const testing::TestParamInfo<Document_Case>& info) { return std::string(info.param.name); });

} // namespace
