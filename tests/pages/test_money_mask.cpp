#include "pages/PageLayout.h"

#include <gtest/gtest.h>

using velmora::print::formatValue;
using velmora::print::Money_Mask_Text;
using velmora::print::ValueFormat;

struct MaskCase
{
    double value;
    const char* mask; // "#,###.00"
    const char* amount; // amount text
};

class MoneyMask : public ::testing::TestWithParam<MaskCase>
{
};

TEST_P(MoneyMask, WritesThePatternAndTheAmountText)
{
    const MaskCase& c = GetParam();
    EXPECT_EQ(Money_Mask_Text(c.value).toStdString(), c.mask);
    EXPECT_EQ(formatValue(c.value, ValueFormat::MoneyMask).toStdString(), c.mask);
    EXPECT_EQ(formatValue(c.value, ValueFormat::AmountText).toStdString(), c.amount);
}

INSTANTIATE_TEST_SUITE_P(Amounts, MoneyMask,
    ::testing::Values(MaskCase {0.40, ".40", "0.40"}, MaskCase {0.5, ".50", "0.50"}, MaskCase {0.0, ".00", "0.00"},
        MaskCase {0.004, ".00", "0.00"}, MaskCase {0.996, "1.00", "1.00"}, MaskCase {0.995, ".99", "0.99"},
        MaskCase {1.0, "1.00", "1.00"}, MaskCase {-0.4, "-.40", "-0.40"}, MaskCase {999.995, "1,000.00", "1,000.00"},
        MaskCase {120000.0, "120,000.00", "120,000.00"}, MaskCase {19679.625, "19,679.63", "19,679.63"},
        MaskCase {23160.7330195023, "23,160.73", "23,160.73"}));

TEST(FormatValue, AsIsWritesWholeNumbersAndTextsAsTheyStand)
{
    EXPECT_EQ(formatValue(5, ValueFormat::AsIs), QStringLiteral("5"));
    EXPECT_EQ(formatValue(37.5, ValueFormat::AsIs), QStringLiteral("37.5"));
    EXPECT_EQ(formatValue(QStringLiteral("0004"), ValueFormat::AsIs), QStringLiteral("0004"));
    EXPECT_EQ(formatValue(QVariant(), ValueFormat::MoneyMask), QString());
}
