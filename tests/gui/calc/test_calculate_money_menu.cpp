// The main menu's item "การคำนวณเงินชดเชย" (N5) opens the calculation screen.

#include "CalcScreenTest.h"

#include "gui/calc/URelease_Cal_Money_ChodChoy.h"
#include "gui/common/ScreenRegistry.h"
#include "gui/main/Screens.h"

namespace velmora::test {
namespace {

TEST_F(CalcScreenTest, MenuItemN5OpensANewCalculationScreen)
{
    app::ScreenRegistry registry;
    app::registerScreens(registry);
    ASSERT_TRUE(registry.has(QStringLiteral("N5")));
    std::unique_ptr<QWidget> first(registry.create(QStringLiteral("N5"), session));
    std::unique_ptr<QWidget> second(registry.create(QStringLiteral("N5"), session));
    ASSERT_NE(first, nullptr);
    EXPECT_NE(first.get(), second.get());
    EXPECT_NE(qobject_cast<calc::TfrmCalculate_Money*>(first.get()), nullptr);
    EXPECT_EQ(first->windowTitle(), QStringLiteral("frmCalculate_Money"));
}

} // namespace
} // namespace velmora::test

namespace velmora::test {
namespace {

// "การยกเลิกคำนวณเงินชดเชย" (N10) opens the cancelling screen; it is one of the
// screens made hidden at start-up.
TEST_F(CalcScreenTest, MenuItemN10OpensTheCancellingScreen)
{
    app::ScreenRegistry registry;
    app::registerScreens(registry);
    ASSERT_TRUE(registry.has(QStringLiteral("N10")));
    std::unique_ptr<QWidget> screen10(registry.create(QStringLiteral("N10"), session));
    ASSERT_NE(qobject_cast<calc::TfrmRelease_Cal_Money_ChodChoy*>(screen10.get()), nullptr);
    EXPECT_EQ(screen10->windowTitle(), QStringLiteral("frmRelease_Cal_Money_ChodChoy"));
    EXPECT_TRUE(app::precreatedScreenItems().contains(QStringLiteral("N10")));
}

} // namespace
} // namespace velmora::test

namespace velmora::test {
namespace {

// Every menu command of the full program opens its own screen, titled with the
// screen's caption where one is fixed.
TEST_F(CalcScreenTest, EveryBuiltMenuCommandOpensItsScreen)
{
    app::ScreenRegistry registry;
    app::registerScreens(registry);
    const QList<QPair<QString, QString>> expected = {
        {QStringLiteral("N23"), QStringLiteral("frmImp_Emp_Data")},
        {QStringLiteral("N6"), QStringLiteral("frmImp_Work_Type")},
        {QStringLiteral("N5"), QStringLiteral("frmCalculate_Money")},
        {QStringLiteral("N10"), QStringLiteral("frmRelease_Cal_Money_ChodChoy")},
        {QStringLiteral("NRun1"), QStringLiteral("frmRun_Month_End")},
        {QStringLiteral("N4"), QString()},
        {QStringLiteral("N7"), QString()},
        {QStringLiteral("N9"), QString()},
        {QStringLiteral("N13"), QString()},
        {QStringLiteral("N15"), QString()},
        {QStringLiteral("ChangePassword1"), QStringLiteral("frmChange_Password")},
    };
    for (const auto& [item, title] : expected) {
        ASSERT_TRUE(registry.has(item)) << item.toStdString();
        std::unique_ptr<QWidget> screen(registry.create(item, session));
        ASSERT_NE(screen, nullptr) << item.toStdString();
        if (title.isEmpty()) { // the report screens' captions are their Thai titles
            EXPECT_FALSE(screen->windowTitle().isEmpty()) << item.toStdString();
        } else {
            EXPECT_EQ(screen->windowTitle(), title) << item.toStdString();
        }
    }
    EXPECT_TRUE(registry.has(QStringLiteral("OrgSettings1")));
}

} // namespace
} // namespace velmora::test
