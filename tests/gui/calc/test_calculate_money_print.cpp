// The print layer of the calculation screen: after a save, the request
// document of the saved calculation, read back from the database.

#include "CalcScreenTest.h"

#include "pages/PageLayout.h"

#include <QPushButton>

namespace velmora::test {
namespace {

class PrintLayerTest : public CalcScreenTest
{
public:
    PrintLayerTest()
    {
        screen->showPreview = [this](const QList<print::PageLayout>& pages) { previews << pages; };
    }
    QString pageText(int page, const char* item)
    {
        const print::Item* found = previews.at(page).at(0).find(QLatin1String(item));
        EXPECT_NE(found, nullptr) << item;
        return found ? found->text : QString();
    }
    QList<QList<print::PageLayout>> previews;
};

TEST_F(PrintLayerTest, PrintIsOffUntilASave)
{
    EXPECT_FALSE(child<QPushButton>("Button1")->isEnabled());
}

TEST_F(PrintLayerTest, PrintAfterSaveShowsTheSavedCalculation)
{
    startCalculation(QStringLiteral("10000001"));
    nextThrough(5);
    click("btnSave_All");
    ASSERT_TRUE(layerShown("Panel3"));
    ASSERT_TRUE(child<QPushButton>("Button1")->isEnabled());

    // The database, not the screen, is what is printed.
    tdb.exec(QStringLiteral("UPDATE EP_mRec_Money_Chodchoy SET Event_Out = ? WHERE SapID = ?"),
        {QStringLiteral("เกษียณอายุงาน"), QStringLiteral("10000001")});
    click("Button1");
    ASSERT_EQ(previews.size(), 1);
    ASSERT_EQ(previews[0].size(), 1);
    EXPECT_EQ(pageText(0, "SapID"), QStringLiteral("10000001"));
    EXPECT_EQ(pageText(0, "Event_Out"), QStringLiteral("เกษียณอายุงาน"));
    EXPECT_EQ(pageText(0, "Net_Money_Recieve"), QStringLiteral("120,000.00"));
    // The split from the stored month weights 11.48 and 48.
    EXPECT_EQ(pageText(0, "Fact_Share"), QStringLiteral("23,160.73"));
    EXPECT_EQ(pageText(0, "Kv_Share"), QStringLiteral("96,839.27"));
    EXPECT_EQ(pageText(0, "Cur1_Date_B_cal"), QStringLiteral("17/10/2550"));
    EXPECT_EQ(pageText(0, "Cur2_Years"), QStringLiteral("0004"));
    EXPECT_EQ(pageText(0, "Sum_Month_Total"), QStringLiteral("59.48"));
    EXPECT_TRUE(prompter.messages.size() == 1) << prompter.messages.join(" | ").toStdString();

    click("Button2");
    EXPECT_FALSE(layerShown("Panel3"));
}

// Any text item of the pages holding exactly this text.
bool printed(const QList<print::PageLayout>& pages, const QString& text)
{
    for (const print::PageLayout& page : pages)
        for (const print::Item& item : page.items)
            if (item.kind == print::Item::Kind::Text && item.text == text)
                return true;
    return false;
}

// Next to the request document, the annex of the same saved rows.
TEST_F(PrintLayerTest, AnnexAfterSaveExplainsTheSavedCalculation)
{
    EXPECT_FALSE(child<QPushButton>("btnPrint_Annex")->isEnabled());
    startCalculation(QStringLiteral("10000001"));
    nextThrough(5);
    click("btnSave_All");
    ASSERT_TRUE(child<QPushButton>("btnPrint_Annex")->isEnabled());
    click("btnPrint_Annex");
    ASSERT_EQ(previews.size(), 1);
    ASSERT_GE(previews[0].size(), 1);
    EXPECT_NE(previews[0][0].find(QStringLiteral("lblAnnexTitle")), nullptr);
    EXPECT_TRUE(printed(previews[0], QStringLiteral("23,160.73")));
    EXPECT_TRUE(printed(previews[0], QStringLiteral("96,839.27")));
    EXPECT_TRUE(printed(previews[0], QStringLiteral("จำนวนเงินที่ได้รับสุทธิ 120,000.00 บาท (หนึ่งแสนสองหมื่นบาทถ้วน)")));
}

} // namespace
} // namespace velmora::test
