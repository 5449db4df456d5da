// The main menu's item "การคำนวณเงินชดเชย" (N5) opens the calculation screen.

#include "CalcScreenTest.h"

#include "app/Screens.h"
#include "app/uicore/ScreenRegistry.h"

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
