// The main menu's item "การคำนวณเงินชดเชย" (N5) opens the calculation screen.

#include "CalcScreenTest.h"

#include "app/Screens.h"
#include "app/uicore/ScreenRegistry.h"
#include "calc/ui/URelease_Cal_Money_ChodChoy.h"

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
