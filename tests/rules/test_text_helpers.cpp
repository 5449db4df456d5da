#include "rules/Utility.h"

#include <gtest/gtest.h>

#include <string>

using namespace velmora;

namespace {

struct Text_Case
{
    std::string input;
    std::string expected;
};

class Remove_Commas_Test : public ::testing::TestWithParam<Text_Case>
{
};

TEST_P(Remove_Commas_Test, LeavesOutEveryCommaOnly)
{
    EXPECT_EQ(Remove_Commas(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, Remove_Commas_Test,
    ::testing::Values(Text_Case {"25,000.50", "25000.50"}, Text_Case {"", "0"}, Text_Case {",,,", "0"},
        Text_Case {"1,000", "1000"}, Text_Case {"-1,000.00", "-1000.00"}, Text_Case {"1 234", "1 234"},
        Text_Case {"1,234,567.89", "1234567.89"}, Text_Case {" , ", "  "}, Text_Case {"สอง,พัน", "สองพัน"}));

struct Trim_Case
{
    std::string input;
    std::string left;
    std::string right;
    std::string both;
};

class Trim_Test : public ::testing::TestWithParam<Trim_Case>
{
};

TEST_P(Trim_Test, RemovesOnlyBlanksAtTheEnds)
{
    const auto& c = GetParam();
    EXPECT_EQ(Trim_Left_Spaces(c.input), c.left);
    EXPECT_EQ(Trim_Right_Spaces(c.input), c.right);
    EXPECT_EQ(Trim_Spaces(c.input), c.both);
}

INSTANTIATE_TEST_SUITE_P(Cases, Trim_Test,
    ::testing::Values(Trim_Case {"   ", "", "", ""}, Trim_Case {"", "", "", ""},
        Trim_Case {" a b ", "a b ", " a b", "a b"}, Trim_Case {"abc", "abc", "abc", "abc"},
        // Only the blank counts: tabs and line ends remain.
        Trim_Case {"\tx\t", "\tx\t", "\tx\t", "\tx\t"}, Trim_Case {" \t x \n ", "\t x \n ", " \t x \n", "\t x \n"},
        Trim_Case {"  ชื่อ  ", "ชื่อ  ", "  ชื่อ", "ชื่อ"}));

struct Right_Case
{
    std::string input;
    unsigned count;
    std::string expected;
};

class Right_Chars_Test : public ::testing::TestWithParam<Right_Case>
{
};

TEST_P(Right_Chars_Test, TakesTheLastCharacters)
{
    EXPECT_EQ(Right_Chars(GetParam().input, GetParam().count), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, Right_Chars_Test,
    ::testing::Values(Right_Case {"2560", 2, "60"}, Right_Case {"5", 2, "5"}, Right_Case {"005", 2, "05"},
        Right_Case {"abc", 0, ""}, Right_Case {"abc", 3, "abc"}, Right_Case {"abc", 65535, "abc"},
        Right_Case {"", 4, ""},
        // Characters, not bytes: ถ้วน is four code points of three bytes each.
        Right_Case {"บาทถ้วน", 2, "วน"}, Right_Case {"บาทถ้วน", 4, "ถ้วน"},
        Right_Case {"x"
                    "ก",
            1, "ก"}));

class Pad_Date_Text_Test : public ::testing::TestWithParam<Text_Case>
{
};

TEST_P(Pad_Date_Text_Test, ZeroFillsDayAndMonth)
{
    EXPECT_EQ(Pad_Date_Text(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, Pad_Date_Text_Test,
    ::testing::Values(Text_Case {"5/3/2560", "05/03/2560"}, Text_Case {"15/12/2560 10:30:00", "15/12/2560"},
        Text_Case {"5 / 3 /2560", "05/03/2560"}, Text_Case {"5/3/60", "05/03/60"},
        Text_Case {"05/03/2560", "05/03/2560"}, Text_Case {"30/12/1899", "30/12/1899"},
        // No slash: 00/00/ and the first four characters.
        Text_Case {"25600305", "00/00/2560"}, Text_Case {"", "00/00/"},
        // One slash only: no month, the year is what follows.
        Text_Case {"5/3", "05/00/3"}, Text_Case {"123/4/2560", "23/04/2560"}));

} // namespace

TEST(Split_Sap_Id_List_Test, ItemsTrimmedSkippedAndKeptOnce)
{
    using List = std::vector<std::string>;
    EXPECT_EQ(Split_Sap_Id_List("10000001,10000002"), (List {"10000001", "10000002"}));
    EXPECT_EQ(Split_Sap_Id_List(" 10000001 ,\t10000002\n"), (List {"10000001", "10000002"}));
    EXPECT_EQ(Split_Sap_Id_List(",,10000002,, ,10000001,10000002,"), (List {"10000002", "10000001"}));
    EXPECT_EQ(Split_Sap_Id_List(""), List {});
    EXPECT_EQ(Split_Sap_Id_List(" , "), List {});
    EXPECT_EQ(Split_Sap_Id_List("รหัส 1"), List {"รหัส 1"}); // blanks inside an item stay
}
