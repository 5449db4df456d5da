#include "rules/BahtText.h"

#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>
#include <string>

using namespace velmora;

namespace {

struct Baht_Case
{
    double amount;
    std::string words;
};

class Baht_Text_Test : public ::testing::TestWithParam<Baht_Case>
{
};

TEST_P(Baht_Text_Test, WritesTheAmountInWords)
{
    EXPECT_EQ(Baht_Text(GetParam().amount), GetParam().words) << GetParam().amount;
}

INSTANTIATE_TEST_SUITE_P(WorkedExamples, Baht_Text_Test,
    ::testing::Values(Baht_Case {0, "บาทถ้วน"}, Baht_Case {21, "ยี่สิบเอ็ดบาทถ้วน"}, Baht_Case {1001, "หนึ่งพันหนึ่งบาทถ้วน"},
        Baht_Case {21000021, "ยี่สิบเอ็ดล้านยี่สิบเอ็ดบาทถ้วน"}, Baht_Case {12345.67, "หนึ่งหมื่นสองพันสามร้อยสี่สิบห้าบาทหกสิบเจ็ดสตางค์"},
        Baht_Case {0.21, "บาทยี่สิบเอ็ดสตางค์"}, Baht_Case {1.01, "หนึ่งบาทหนึ่งสตางค์"}, Baht_Case {101, "หนึ่งร้อยหนึ่งบาทถ้วน"},
        Baht_Case {111, "หนึ่งร้อยสิบเอ็ดบาทถ้วน"}, Baht_Case {11000000, "สิบเอ็ดล้านบาทถ้วน"},
        Baht_Case {1000000000000.0, "หนึ่งล้านล้านบาทถ้วน"}));

INSTANTIATE_TEST_SUITE_P(EdgeCases, Baht_Text_Test,
    ::testing::Values(Baht_Case {10, "สิบบาทถ้วน"}, Baht_Case {20, "ยี่สิบบาทถ้วน"}, Baht_Case {11, "สิบเอ็ดบาทถ้วน"},
        Baht_Case {1, "หนึ่งบาทถ้วน"}, Baht_Case {10000000, "สิบล้านบาทถ้วน"}, Baht_Case {1000000, "หนึ่งล้านบาทถ้วน"},
        Baht_Case {0.01, "บาทหนึ่งสตางค์"}, Baht_Case {0.11, "บาทสิบเอ็ดสตางค์"}, Baht_Case {0.2, "บาทยี่สิบสตางค์"},
        Baht_Case {25000, "สองหมื่นห้าพันบาทถ้วน"}, Baht_Case {120000, "หนึ่งแสนสองหมื่นบาทถ้วน"},
        Baht_Case {96840.5, "เก้าหมื่นหกพันแปดร้อยสี่สิบบาทห้าสิบสตางค์"},
        // After a zero tens digit a units 1 is หนึ่ง, also below the millions.
        Baht_Case {1000001, "หนึ่งล้านหนึ่งบาทถ้วน"}, Baht_Case {1000011, "หนึ่งล้านสิบเอ็ดบาทถ้วน"},
        Baht_Case {9999999.99, "เก้าล้านเก้าแสนเก้าหมื่นเก้าพันเก้าร้อยเก้าสิบเก้าบาทเก้าสิบเก้าสตางค์"},
        Baht_Case {20000000.5, "ยี่สิบล้านบาทห้าสิบสตางค์"},
        Baht_Case {9999999999999.0,
            "เก้าล้านเก้าแสนเก้าหมื่นเก้าพันเก้าร้อยเก้าสิบเก้าล้าน"
            "เก้าแสนเก้าหมื่นเก้าพันเก้าร้อยเก้าสิบเก้าบาทถ้วน"}));

// Amounts the documents never carry: the wording chosen for them.
INSTANTIATE_TEST_SUITE_P(DefinedBeyondTheDocuments, Baht_Text_Test,
    ::testing::Values(
        // Negative: ลบ before the words of the absolute value, none for a zero.
        Baht_Case {-21.5, "ลบยี่สิบเอ็ดบาทห้าสิบสตางค์"}, Baht_Case {-1000000, "ลบหนึ่งล้านบาทถ้วน"}, Baht_Case {-0.0, "บาทถ้วน"},
        Baht_Case {-0.004, "บาทถ้วน"},
        // Ten million million and more: ล้าน repeats, never a garbled digit.
        Baht_Case {10000000000000.0, "สิบล้านล้านบาทถ้วน"},
        Baht_Case {12345678901234.0,
            "สิบสองล้านสามแสนสี่หมื่นห้าพันหกร้อยเจ็ดสิบแปดล้าน"
            "เก้าแสนหนึ่งพันสองร้อยสามสิบสี่บาทถ้วน"},
        Baht_Case {1e18, "หนึ่งล้านล้านล้านบาทถ้วน"}, Baht_Case {21000021000000.0, "ยี่สิบเอ็ดล้านยี่สิบเอ็ดล้านบาทถ้วน"},
        // Satang rounding to 100 carries one baht; to 0 it is ถ้วน.
        Baht_Case {0.999, "หนึ่งบาทถ้วน"}, Baht_Case {1.996, "สองบาทถ้วน"},
        // 9.995 is held just below: 99.4999... satang.
        Baht_Case {9.995, "เก้าบาทเก้าสิบเก้าสตางค์"}, Baht_Case {999999.999, "หนึ่งล้านบาทถ้วน"}, Baht_Case {0.004, "บาทถ้วน"},
        Baht_Case {5.001, "ห้าบาทถ้วน"},
        // An exact half satang goes to the even neighbour.
        Baht_Case {0.125, "บาทสิบสองสตางค์"}, Baht_Case {0.375, "บาทสามสิบแปดสตางค์"}));

TEST(Baht_Text, EveryAmountInTheDocumentsRangeHasAWordForEachSatang)
{
    // The fraction is rounded, not cut: every two-decimal figure keeps its satang.
    const char* const words[] = {"", "หนึ่ง", "สอง", "สาม", "สี่", "ห้า", "หก", "เจ็ด", "แปด", "เก้า"};
    for (int satang = 1; satang < 100; ++satang) {
        const double amount = 12345 + satang / 100.0;
        const int tens = satang / 10;
        const int units = satang % 10;
        std::string expected = "หนึ่งหมื่นสองพันสามร้อยสี่สิบห้าบาท";
        if (tens == 1)
            expected += "สิบ";
        else if (tens == 2)
            expected += "ยี่สิบ";
        else if (tens > 2)
            expected += std::string(words[tens]) + "สิบ";
        expected += units == 1 ? (tens > 0 ? "เอ็ด" : "หนึ่ง") : words[units];
        expected += "สตางค์";
        EXPECT_EQ(Baht_Text(amount), expected) << satang;
    }
}

TEST(Baht_Text, RefusesNonFiniteAmounts)
{
    EXPECT_THROW(Baht_Text(std::numeric_limits<double>::quiet_NaN()), std::invalid_argument);
    EXPECT_THROW(Baht_Text(std::numeric_limits<double>::infinity()), std::invalid_argument);
    EXPECT_THROW(Baht_Text(-std::numeric_limits<double>::infinity()), std::invalid_argument);
}

struct Power_Case
{
    int base;
    unsigned exponent;
    double expected;
};

class Int_Power_Test : public ::testing::TestWithParam<Power_Case>
{
};

TEST_P(Int_Power_Test, MultipliesBaseExponentTimes)
{
    EXPECT_EQ(Int_Power(GetParam().base, static_cast<std::uint8_t>(GetParam().exponent)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, Int_Power_Test,
    ::testing::Values(Power_Case {10, 0, 1.0}, Power_Case {10, 1, 10.0}, Power_Case {10, 6, 1000000.0},
        Power_Case {10, 15, 1e15}, Power_Case {2, 10, 1024.0}, Power_Case {-3, 3, -27.0}, Power_Case {0, 0, 1.0},
        Power_Case {0, 5, 0.0}));

} // namespace
