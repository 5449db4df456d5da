#include "rules/NationalId.h"

#include <gtest/gtest.h>

#include <string>

using namespace velmora;

namespace {

struct Ssn_Case
{
    const char* what;
    std::string ssn;
    Ssn_Status expected;
};

class Ssn_Test : public ::testing::TestWithParam<Ssn_Case>
{
};

TEST_P(Ssn_Test, ChecksTheThirteenthDigit)
{
    const Ssn_Case& c = GetParam();
    EXPECT_EQ(Check_Ssn(c.ssn), c.expected) << c.what << ": " << c.ssn;
    // A number that fails always says why; a valid one says nothing.
    EXPECT_EQ(Ssn_Problem(Check_Ssn(c.ssn)).empty(), c.expected == Ssn_Status::Valid) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Numbers, Ssn_Test,
    ::testing::Values(
        // Real-shaped numbers whose sums leave every kind of check digit.
        Ssn_Case {"valid, check 8", "1101700230708", Ssn_Status::Valid},
        Ssn_Case {"valid, check 4", "3100100000014", Ssn_Status::Valid},
        Ssn_Case {"valid, check 7", "5709900112347", Ssn_Status::Valid},
        Ssn_Case {"valid, check 2", "3100100000022", Ssn_Status::Valid},
        Ssn_Case {"valid, sum leaves 1: check 0", "3100100000120", Ssn_Status::Valid},
        Ssn_Case {"valid, sum leaves 0: check 1", "1101700230741", Ssn_Status::Valid},
        Ssn_Case {"valid, sum leaves 10: check 1 too", "1101700230791", Ssn_Status::Valid},
        Ssn_Case {"blanks around, as a cell may hold them", "  1101700230708 ", Ssn_Status::Valid},
        // Mistyped: adjacent digits swapped, one digit wrong, the check digit wrong.
        Ssn_Case {"digits 1 and 2 swapped", "0110700230708", Ssn_Status::Wrong_Check_Digit},
        Ssn_Case {"digits 11 and 12 swapped", "1101700230078", Ssn_Status::Wrong_Check_Digit},
        Ssn_Case {"digits 12 and 13 swapped", "1101700230780", Ssn_Status::Wrong_Check_Digit},
        Ssn_Case {"digit 5 wrong", "1101000230708", Ssn_Status::Wrong_Check_Digit},
        Ssn_Case {"digit 13 wrong", "1101700230707", Ssn_Status::Wrong_Check_Digit},
        Ssn_Case {"the older demo numbers", "3100100000011", Ssn_Status::Wrong_Check_Digit},
        // The rule's blind spot: the third digit weighs 11.
        Ssn_Case {"digit 3 wrong goes unseen", "1191700230708", Ssn_Status::Valid},
        // Not 13 digits.
        Ssn_Case {"12 digits", "110170023070", Ssn_Status::Wrong_Length},
        Ssn_Case {"14 digits", "11017002307080", Ssn_Status::Wrong_Length},
        Ssn_Case {"one digit", "1", Ssn_Status::Wrong_Length}, Ssn_Case {"empty", "", Ssn_Status::Empty},
        Ssn_Case {"blanks only", "   ", Ssn_Status::Empty},
        // Formatted or not digits: refused, the earlier-payment search compares texts.
        Ssn_Case {"dashed as printed", "1-1017-00230-70-8", Ssn_Status::Not_Digits},
        Ssn_Case {"blanks between groups", "1 1017 00230 70 8", Ssn_Status::Not_Digits},
        Ssn_Case {"letter O for zero", "11O1700230708", Ssn_Status::Not_Digits},
        Ssn_Case {"Thai digits", "๑๑๐๑๗๐๐๒๓๐๗๐๘", Ssn_Status::Not_Digits},
        Ssn_Case {"a spreadsheet's number text", "1.1017E+12", Ssn_Status::Not_Digits},
        Ssn_Case {"tab inside", "1101700\t230708", Ssn_Status::Not_Digits}));

TEST(Ssn_Check_Digit, IsTheFormulaOfTheFirstTwelveDigits)
{
    // 13·1 + 12·1 + 11·0 + 10·1 + 9·7 + 8·0 + 7·0 + 6·2 + 5·3 + 4·0 + 3·7 + 2·0 = 146; 146 mod 11 = 3; 11 − 3 = 8
    EXPECT_EQ(Ssn_Check_Digit("110170023070"), 8);
    EXPECT_EQ(Ssn_Check_Digit("1101700230708"), 8); // a thirteenth digit is not read
    EXPECT_EQ(Ssn_Check_Digit("11017002307"), -1);
    EXPECT_EQ(Ssn_Check_Digit("11017002307x"), -1);
}

} // namespace
