#include "rules/AmountText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>

using namespace velmora;

namespace {

struct Amount_Case
{
    double value;
    std::string shown; // Amount_Text
    std::string written; // Round2_Text
};

class Amount_Text_Test : public ::testing::TestWithParam<Amount_Case>
{
};

TEST_P(Amount_Text_Test, RoundsHalvesAwayFromZeroOnTheExactValue)
{
    EXPECT_EQ(Amount_Text(GetParam().value), GetParam().shown);
    EXPECT_EQ(Round2_Text(GetParam().value), GetParam().written);
}

INSTANTIATE_TEST_SUITE_P(Cases, Amount_Text_Test,
    ::testing::Values(Amount_Case {25000, "25,000.00", "25000.00"}, Amount_Case {0, "0.00", "0.00"},
        Amount_Case {100, "100.00", "100.00"}, Amount_Case {1000, "1,000.00", "1000.00"},
        Amount_Case {999.5, "999.50", "999.50"},
        // Exact binary ties go away from zero.
        Amount_Case {19679.625, "19,679.63", "19679.63"},
        Amount_Case {17000.0 * 1.05 * 1.05 * 1.05, "19,679.63", "19679.63"}, Amount_Case {0.125, "0.13", "0.13"},
        Amount_Case {0.375, "0.38", "0.38"}, Amount_Case {-0.125, "-0.13", "-0.13"},
        // Decimal-looking ties that the double holds just below or above.
        Amount_Case {1.005, "1.00", "1.00"}, Amount_Case {2.675, "2.67", "2.67"}, Amount_Case {0.015, "0.01", "0.01"},
        Amount_Case {0.005, "0.01", "0.01"}, Amount_Case {0.025, "0.03", "0.03"}, // held as 0.0250000000000000013878
        Amount_Case {999.995, "1,000.00", "1000.00"}, Amount_Case {1234567.891, "1,234,567.89", "1234567.89"},
        Amount_Case {999999.999, "1,000,000.00", "1000000.00"},
        // Negatives carry a leading minus; a negative that rounds to zero does not.
        Amount_Case {-1234.5, "-1,234.50", "-1234.50"}, Amount_Case {-1000000, "-1,000,000.00", "-1000000.00"},
        Amount_Case {-0.0, "0.00", "0.00"}, Amount_Case {-0.004, "0.00", "0.00"},
        Amount_Case {-0.005, "-0.01", "-0.01"}, Amount_Case {5e-324, "0.00", "0.00"},
        // Whole numbers beyond 2^53 are printed digit for digit.
        Amount_Case {1e15, "1,000,000,000,000,000.00", "1000000000000000.00"},
        Amount_Case {9007199254740992.0, "9,007,199,254,740,992.00", "9007199254740992.00"},
        Amount_Case {1e20, "100,000,000,000,000,000,000.00", "100000000000000000000.00"},
        Amount_Case {-1e20, "-100,000,000,000,000,000,000.00", "-100000000000000000000.00"}));

TEST(Amount_Text, NonFiniteCannotPassAsAnAmount)
{
    const double values[] = {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
        -std::numeric_limits<double>::infinity()};
    for (double v : values) {
        EXPECT_FALSE(Parse_Number(Amount_Text(v)).has_value()) << Amount_Text(v);
        EXPECT_FALSE(Parse_Number(Round2_Text(v)).has_value()) << Round2_Text(v);
    }
}

TEST(Amount_Text, ReadsBackAsTheRoundedValue)
{
    // A sum of shown amounts is the sum of the rounded values.
    EXPECT_EQ(*Parse_Number(Amount_Text(19679.625)), 19679.63);
    EXPECT_EQ(*Parse_Number(Amount_Text(-1234.567)), -1234.57);
    EXPECT_EQ(*Parse_Number(Amount_Text(2.675)), 2.67);
}

struct Shortest_Case
{
    double value;
    std::string expected;
};

class Shortest_Number_Text_Test : public ::testing::TestWithParam<Shortest_Case>
{
};

TEST_P(Shortest_Number_Text_Test, FifteenSignificantDigitsNoTrailingZeros)
{
    EXPECT_EQ(Shortest_Number_Text(GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, Shortest_Number_Text_Test,
    ::testing::Values(Shortest_Case {59.48, "59.48"}, Shortest_Case {48, "48"}, Shortest_Case {19.3, "19.3"},
        Shortest_Case {66.67, "66.67"}, Shortest_Case {80.7, "80.7"}, Shortest_Case {0.1 + 0.2, "0.3"},
        Shortest_Case {11.48 + 48.0, "59.48"}, Shortest_Case {1.0 / 3.0, "0.333333333333333"},
        Shortest_Case {100, "100"}, Shortest_Case {0, "0"}, Shortest_Case {-0.0, "0"}, Shortest_Case {-2.5, "-2.5"},
        Shortest_Case {1e16, "1e+16"}));

struct Parse_Case
{
    std::string text;
    std::optional<double> expected;
};

class Parse_Number_Test : public ::testing::TestWithParam<Parse_Case>
{
};

TEST_P(Parse_Number_Test, ReadsShownAmountsOnly)
{
    const auto result = Parse_Number(GetParam().text);
    ASSERT_EQ(result.has_value(), GetParam().expected.has_value()) << GetParam().text;
    if (result) {
        EXPECT_EQ(*result, *GetParam().expected) << GetParam().text;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, Parse_Number_Test,
    ::testing::Values(Parse_Case {"25,000.00", 25000.0}, Parse_Case {"-1,000.50", -1000.5},
        Parse_Case {"19679.63", 19679.63}, Parse_Case {"12", 12.0}, Parse_Case {".5", 0.5}, Parse_Case {"5.", 5.0},
        Parse_Case {"-0.00", 0.0},
        // Empty (or only commas) is "0" once the commas are gone.
        Parse_Case {"", 0.0}, Parse_Case {",,,", 0.0}, Parse_Case {"1 234", std::nullopt},
        Parse_Case {" 12", std::nullopt}, Parse_Case {"12 ", std::nullopt}, Parse_Case {"abc", std::nullopt},
        Parse_Case {"1.2.3", std::nullopt}, Parse_Case {"+5", std::nullopt}, Parse_Case {"-", std::nullopt},
        Parse_Case {".", std::nullopt}, Parse_Case {"--1", std::nullopt}, Parse_Case {"1-", std::nullopt},
        Parse_Case {"1e5", std::nullopt}, Parse_Case {"0x10", std::nullopt}, Parse_Case {"inf", std::nullopt},
        Parse_Case {"nan", std::nullopt}, Parse_Case {"๑๒", std::nullopt},
        Parse_Case {std::string(400, '9'), std::nullopt}));

TEST(Parse_Number, NegativeZeroReadsAsZero)
{
    EXPECT_FALSE(std::signbit(*Parse_Number("-0")));
}

} // namespace
