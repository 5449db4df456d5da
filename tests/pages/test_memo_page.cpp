#include "PdfLayoutText.h"

#include "pages/MemoPage.h"
#include "pages/OrganisationSettings.h"
#include "pages/PageRenderer.h"

#include "rules/BahtText.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>

using namespace velmora;
using namespace velmora::print;

namespace {

struct Placement
{
    const char* name;
    double top;
    double left; // for right-aligned items: the right edge
    double size;
    bool right = false;
};

class MemoPlacement : public ::testing::TestWithParam<Placement>
{
};

TEST_P(MemoPlacement, ItemSitsWhereTheFormHasIt)
{
    const Placement p = GetParam();
    const PageLayout page = memoPageLayout({});
    const Item* item = page.find(QLatin1String(p.name));
    ASSERT_NE(item, nullptr) << p.name;
    EXPECT_DOUBLE_EQ(item->rect.top(), p.top) << p.name;
    EXPECT_DOUBLE_EQ(p.right ? item->rect.right() : item->rect.left(), p.left) << p.name;
    EXPECT_DOUBLE_EQ(item->pointSize, p.size) << p.name;
    EXPECT_EQ(item->align, p.right ? Align::Right : Align::Left) << p.name;
    EXPECT_LE(item->rect.right(), 180.0 + 1e-9) << p.name; // inside the band
}

INSTANTIATE_TEST_SUITE_P(Memo, MemoPlacement,
    ::testing::Values(Placement {"QRLabel22", 26.5, 125.9, 14}, Placement {"QRLabel55", 33.9, 125.9, 14},
        Placement {"QRLabel57", 41.3, 125.9, 14}, Placement {"QRLabel14", 50.8, 13.8, 16},
        Placement {"QRLabel8", 58.2, 13.8, 16}, Placement {"QRLabel21", 66.7, 13.8, 16},
        Placement {"QRLabel23", 82.5, 13.8, 16}, Placement {"QRLabel1", 82.5, 24.3, 16},
        Placement {"QRLabel9", 97.4, 24.3, 16}, Placement {"QRLabel10", 105.8, 13.8, 16},
        Placement {"QRLabel11", 105.8, 145.8, 16}, Placement {"QRLabel12", 105.8, 159.3, 16},
        Placement {"QRLabel13", 114.3, 13.8, 16}, Placement {"QRLabel18", 114.3, 133.9, 16, true},
        Placement {"QRLabel15", 114.3, 157.4, 16, true}, Placement {"QRLabel16", 114.3, 158.2, 16},
        Placement {"QRLabel17", 121.7, 13.8, 16}, Placement {"QRLabel35", 143.9, 112.2, 12},
        Placement {"QRLabel36", 152.4, 138.4, 12}, Placement {"QRLabel37", 160.9, 112.2, 12},
        Placement {"QRLabel2", 169.3, 138.9, 12}, Placement {"QRLabel3", 264.6, 10.6, 16},
        Placement {"QRLabel4", 264.6, 29.6, 14}, Placement {"QRLabel6", 264.6, 50.8, 14},
        Placement {"QRLabel5", 274.1, 29.6, 14}, Placement {"QRLabel7", 274.1, 50.8, 14}));

TEST(MemoPage, PaperMarginsSealAndWordsBox)
{
    const PageLayout page = memoPageLayout({});
    EXPECT_EQ(page.paperMm, QSizeF(210.0, 297.0));
    EXPECT_EQ(page.marginsMm, QMarginsF(15.0, 5.0, 15.0, 5.0));
    const Item* seal = page.find(QStringLiteral("QRImage1"));
    ASSERT_NE(seal, nullptr);
    EXPECT_EQ(seal->kind, Item::Kind::Picture);
    EXPECT_EQ(seal->rect, QRectF(76.5, 17.2, 28.3, 26.7));
    EXPECT_FALSE(seal->image.isNull());
    const Item* words = page.find(QStringLiteral("QRLabel17"));
    EXPECT_TRUE(words->wrap);
    EXPECT_DOUBLE_EQ(words->rect.width(), 149.5);
    EXPECT_DOUBLE_EQ(words->rect.height(), 19.3);
}

TEST(MemoPage, FixedTexts)
{
    const PageLayout page = memoPageLayout({});
    auto text = [&](const char* name) { return page.find(QLatin1String(name))->text; };
    EXPECT_EQ(text("QRLabel22"), QStringLiteral("สำนักงานอธิการบดี"));
    EXPECT_EQ(text("QRLabel55"), QStringLiteral("กองคลัง งานการเงิน"));
    EXPECT_EQ(text("QRLabel8"), QStringLiteral("วันที่ "));
    EXPECT_EQ(text("QRLabel21"),
        QStringLiteral("เรื่อง   ขออนุมัติเบิกเงินชดเชยของพนักงานมหาวิทยาลัย "
                       "กรณีพ้นสภาพจากการเป็นพนักงานมหาวิทยาลัย"));
    EXPECT_EQ(text("QRLabel23"), QStringLiteral("เรียน"));
    EXPECT_EQ(text("QRLabel1"), QStringLiteral("รองอธิการบดีฝ่ายการคลัง (ผ่านผู้อำนวยการกองคลัง)"));
    EXPECT_EQ(text("QRLabel9"),
        QStringLiteral(" เพื่อโปรดพิจารณาอนุมัติ   การเบิกเงินชดเชยของพนักงานมหาวิทยาลัย "
                       "ที่พ้นสภาพจากการเป็น"));
    EXPECT_EQ(text("QRLabel12"), QStringLiteral("ราย"));
    EXPECT_EQ(text("QRLabel18"), QStringLiteral("จำนวนเงิน"));
    EXPECT_EQ(text("QRLabel16"), QStringLiteral("บาท"));
    EXPECT_EQ(text("QRLabel36"), QStringLiteral("นักวิชาการเงินและบัญชี"));
    EXPECT_EQ(text("QRLabel2"), QStringLiteral("หัวหน้างานการเงิน"));
    EXPECT_EQ(text("QRLabel3"), QStringLiteral("อนุมัติแล้ว"));
    EXPECT_EQ(text("QRLabel4"), QStringLiteral("1. ต้นเรื่อง"));
    EXPECT_EQ(text("QRLabel5"), QStringLiteral("2. สำเนาแจ้ง"));
    EXPECT_EQ(text("QRLabel7"), QStringLiteral("งานการเงิน / งานบัญชี / งานงบประมาณ"));
    for (const char* set : {"QRLabel10", "QRLabel11", "QRLabel13", "QRLabel15", "QRLabel17", "QRLabel6"})
        EXPECT_TRUE(text(set).isEmpty()) << set;
}

struct RoutingCase
{
    MemoRouting routing;
    const char* department;
    const char* line;
};

class MemoRoutingLine : public ::testing::TestWithParam<RoutingCase>
{
};

TEST_P(MemoRoutingLine, GoesWhereTheChoiceSays)
{
    const RoutingCase c = GetParam();
    EXPECT_EQ(memoRoutingLine(c.routing, QString::fromUtf8(c.department)), QString::fromUtf8(c.line));
}

INSTANTIATE_TEST_SUITE_P(Memo, MemoRoutingLine,
    ::testing::Values(RoutingCase {MemoRouting::Payroll, "คณะแพทยศาสตร์", "ส่งคืน คณะแพทยศาสตร์  เพื่อ ประมวลผลผ่าน Payroll"},
        RoutingCase {MemoRouting::Payroll, "สำนักงานอธิการบดี", "ส่งคืน กองทรัพยากรบุคคล เพื่อ ประมวลผลผ่าน Payroll"},
        // only the exact name goes to human resources
        RoutingCase {MemoRouting::Payroll, "สำนักงานอธิการบดี ", "ส่งคืน สำนักงานอธิการบดี   เพื่อ ประมวลผลผ่าน Payroll"},
        RoutingCase {MemoRouting::Faculty, "สำนักงานอธิการบดี", "ส่งคืน สำนักงานอธิการบดี"},
        RoutingCase {MemoRouting::Faculty, "คณะแพทยศาสตร์", "ส่งคืน คณะแพทยศาสตร์"}));

TEST(MemoLines, BothReasonsKeepTheirSpaces)
{
    EXPECT_EQ(memoReasonLine(MemoReason::ContractEnd),
        QStringLiteral("พนักงานมหาวิทยาลัย  เนื่องจากครบกำหนดระยะเวลาการจ้างตามสัญญา  จำนวน  "));
    EXPECT_EQ(memoReasonLine(MemoReason::Retirement),
        QStringLiteral("พนักงานมหาวิทยาลัย  เนื่องจากเกษียณอายุงาน ตามข้อบังคับมหาวิทยาลัยกาวิลัน  จำนวน  "));
}

struct WordsCase
{
    const char* total;
    const char* words; // the Thai words of the amount
};

class MemoWords : public ::testing::TestWithParam<WordsCase>
{
};

TEST_P(MemoWords, TheTotalInThaiWordsBetweenParentheses)
{
    const WordsCase c = GetParam();
    EXPECT_EQ(memoWordsLine(QString::fromUtf8(c.total)),
        QStringLiteral(" (") + QString::fromUtf8(c.words) + QStringLiteral(") จากกองทุนเงินชดเชย พนักงานมหาวิทยาลัยพ้นสภาพ"));
}

INSTANTIATE_TEST_SUITE_P(Memo, MemoWords,
    ::testing::Values(WordsCase {"25,000.00", "สองหมื่นห้าพันบาทถ้วน"}, WordsCase {"0.00", "บาทถ้วน"},
        WordsCase {"99.99", "เก้าสิบเก้าบาทเก้าสิบเก้าสตางค์"},
        WordsCase {"12,345.67", "หนึ่งหมื่นสองพันสามร้อยสี่สิบห้าบาทหกสิบเจ็ดสตางค์"}, WordsCase {"1,001.00", "หนึ่งพันหนึ่งบาทถ้วน"},
        WordsCase {"0.21", "บาทยี่สิบเอ็ดสตางค์"}, WordsCase {"21,000,021.00", "ยี่สิบเอ็ดล้านยี่สิบเอ็ดบาทถ้วน"},
        WordsCase {"1,030,005.00", "หนึ่งล้านสามหมื่นห้าบาทถ้วน"}));

TEST(MemoPage, SetItems)
{
    MemoContent c;
    c.count = 3;
    c.department = QStringLiteral("คณะแพทยศาสตร์");
    c.totalText = QStringLiteral("25,000.00");
    const PageLayout page = buildMemoPage(c, {});
    EXPECT_EQ(page.find(QStringLiteral("QRLabel11"))->text, QStringLiteral("3"));
    EXPECT_EQ(page.find(QStringLiteral("QRLabel13"))->text, QStringLiteral("สังกัด คณะแพทยศาสตร์"));
    EXPECT_EQ(page.find(QStringLiteral("QRLabel15"))->text, QStringLiteral("25,000.00"));
    EXPECT_EQ(page.find(QStringLiteral("QRLabel10"))->text, memoReasonLine(MemoReason::ContractEnd));
    EXPECT_EQ(
        page.find(QStringLiteral("QRLabel6"))->text, QStringLiteral("ส่งคืน คณะแพทยศาสตร์  เพื่อ ประมวลผลผ่าน Payroll"));
    EXPECT_EQ(page.find(QStringLiteral("QRLabel57"))->text, QStringLiteral("โทร. "));
    EXPECT_EQ(page.find(QStringLiteral("QRLabel14"))->text, QStringLiteral("ที่ /"));
}

TEST(MemoPage, PdfCarriesTheTexts)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("memo.pdf"));
    MemoContent c;
    c.count = 3;
    c.department = QStringLiteral("คณะแพทยศาสตร์");
    c.totalText = QStringLiteral("25,000.00");
    c.reason = MemoReason::Retirement;
    OrganisationData org;
    org.telephone = QStringLiteral("0 5394 1234");
    org.referenceCode = QStringLiteral("อว 0701.5");
    org.preparerName = QStringLiteral("นางสาวพรทิพย์ ใจงาม");
    QString error;
    ASSERT_TRUE(writePdf(path, {buildMemoPage(c, org)}, &error)) << error.toStdString();
    const QString text = test::pdfLayoutText(path);
    ASSERT_FALSE(text.isEmpty());
    for (const QString& expected :
        {QStringLiteral("สำนักงานอธิการบดี"), QStringLiteral("กองคลังงานการเงิน"), QStringLiteral("โทร.05394 1234"),
            QStringLiteral("ที่อว0701.5/"), QStringLiteral("ขออนุมัติเบิกเงินชดเชยของพนักงานมหาวิทยาลัย"),
            QStringLiteral("เนื่องจากเกษียณอายุงานตามข้อบังคับมหาวิทยาลัยกาวิลันจำนวน3ราย"), QStringLiteral("สังกัดคณะแพทยศาสตร์"),
            QStringLiteral("25,000.00บาท"),
            QStringLiteral("(") + QString::fromStdString(Baht_Text(25000)) + QStringLiteral(")"),
            QStringLiteral("(สองหมื่นห้าพันบาทถ้วน)จากกองทุนเงินชดเชยพนักงานมหาวิทยาลัยพ้นสภาพ"),
            QStringLiteral("(นางสาวพรทิพย์ใจงาม)"), QStringLiteral("ส่งคืนคณะแพทยศาสตร์เพื่อประมวลผลผ่านPayroll"),
            QStringLiteral("งานการเงิน/งานบัญชี/งานงบประมาณ")})
        EXPECT_TRUE(test::pdfContains(text, expected)) << expected.toStdString();
}

TEST(OrganisationSettings, RoundTripAndTheBuiltInSeal)
{
    QTemporaryDir dir;
    const OrganisationSettings settings(dir.filePath(QStringLiteral("s.ini")));
    const OrganisationData empty = settings.load();
    EXPECT_TRUE(empty.telephone.isEmpty());
    EXPECT_FALSE(sealPicture(empty).isNull());

    QImage own(40, 30, QImage::Format_RGB32);
    own.fill(Qt::red);
    const QString sealPath = dir.filePath(QStringLiteral("seal.png"));
    ASSERT_TRUE(own.save(sealPath));
    OrganisationData d;
    d.sealPath = sealPath;
    d.telephone = QStringLiteral("0 5394 1234");
    d.referenceCode = QStringLiteral("อว 0701.5");
    d.preparerName = QStringLiteral("นางสาวพรทิพย์ ใจงาม");
    d.sectionHeadName = QStringLiteral("นายสมศักดิ์ มั่นคง");
    ASSERT_TRUE(settings.save(d));
    const OrganisationData back = OrganisationSettings(dir.filePath(QStringLiteral("s.ini"))).load();
    EXPECT_EQ(back.sealPath, d.sealPath);
    EXPECT_EQ(back.telephone, d.telephone);
    EXPECT_EQ(back.referenceCode, d.referenceCode);
    EXPECT_EQ(back.preparerName, d.preparerName);
    EXPECT_EQ(back.sectionHeadName, d.sectionHeadName);
    EXPECT_EQ(sealPicture(back).size(), QSize(40, 30));
    EXPECT_EQ(memoPageLayout(back).find(QStringLiteral("QRImage1"))->image.size(), QSize(40, 30));

    // a picture that cannot be read: the built-in seal
    d.sealPath = dir.filePath(QStringLiteral("missing.png"));
    EXPECT_EQ(sealPicture(d).size(), defaultSeal().size());
}

} // namespace
