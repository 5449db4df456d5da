// The rules shared by the calculation, the request document and the
// fund-source list: which side pays a code, the two splits of the net, the
// save-date filter, the half-even rounding and the full name.

#include "rules/AmountText.h"
#include "rules/Calculation.h"
#include "rules/FundSourceRules.h"
#include "rules/Utility.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(FundSide, OneMappingForTheSplitAndTheFundSource)
{
    struct Case
    {
        const char* code;
        Fund_Side side;
        bool university; // the fund-source list's side
    };
    const Case cases[] = {
        {"3", Fund_Side::Department, false},
        {"2", Fund_Side::University, true},
        {"4", Fund_Side::Neither, false},
        {"", Fund_Side::Neither, false},
        {"02", Fund_Side::Neither, false},
        {"2 ", Fund_Side::Neither, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Fund_Side_Of_Code(c.code), c.side) << '"' << c.code << '"';
        EXPECT_EQ(Is_University_Fund(c.code), c.university) << '"' << c.code << '"';
    }
}

// The calculation's split counts code "3" for the department, "2" for the
// university and nothing else; the fund-source list puts a code of neither
// side on the unit's share.
TEST(FundSide, CalculationSplitAndFundSourceTreatAnotherCodeTheirOwnWay)
{
    calc::Period_Row unit, university, other;
    unit.code = "3";
    unit.total_days = 100;
    unit.weight = 2;
    university.code = "2";
    university.total_days = 50;
    university.weight = 1;
    other.code = "4";
    other.total_days = 400;
    other.weight = 13;
    const calc::Split s = calc::Compute_Split({unit, university, other}, 3000);
    EXPECT_EQ(s.department.days, 100);
    EXPECT_EQ(s.university.days, 50);
    EXPECT_EQ(s.total_months_text, "3");
    EXPECT_EQ(Amount_Text(Fund_Source_Share(3000, 2, 1, "4")), "2,000.00");
}

// Both splits agree on ordinary figures, and on no months at all.
TEST(NetSplit, BothSplitsAgreeOnOrdinaryFigures)
{
    const Net_Split s = Split_Net(11.48, 48, 120000);
    EXPECT_TRUE(s.defined);
    EXPECT_EQ(Amount_Text(s.fact), "23,160.73");
    EXPECT_EQ(Amount_Text(s.kv), "96,839.27");
    EXPECT_EQ(Amount_Text(Fund_Source_Share(120000, 11.48, 48, "3")), "23,160.73");
    EXPECT_EQ(Amount_Text(Fund_Source_Share(120000, 11.48, 48, "2")), "96,839.27");

    const Net_Split none = Split_Net(0, 0, 5000);
    EXPECT_FALSE(none.defined);
    EXPECT_EQ(none.fact, 0.0);
    EXPECT_EQ(none.kv, 0.0);
    EXPECT_EQ(Fund_Source_Share(5000, 0, 0, "2"), 0.0);
}

// Found by a random search over nets and months of two decimals: the exact
// shares end in half a satang, and the double and the extended-precision
// computation fall on different sides of it. Each document keeps its own.
TEST(NetSplit, RequestPageAndFundSourceListDifferOnAHalfSatang)
{
    struct Case
    {
        double net, fact, kv;
        const char* requestFact;
        const char* requestKv;
        const char* listFact; // code "3"
        const char* listKv; // code "2"
    };
    const Case cases[] = {
        // 98,913.95 x 120.78 / 146.52 = 81,537.175 exactly
        {98913.95, 25.74, 120.78, "17,376.77", "81,537.17", "17,376.77", "81,537.18"},
        {323269.05, 140.58, 13.86, "294,257.73", "29,011.33", "294,257.72", "29,011.32"},
        {86526.45, 58.27, 291.35, "14,421.08", "72,105.38", "14,421.07", "72,105.38"},
    };
    for (const Case& c : cases) {
        const Net_Split s = Split_Net(c.fact, c.kv, c.net);
        EXPECT_EQ(Amount_Text(s.fact), c.requestFact) << c.net;
        EXPECT_EQ(Amount_Text(s.kv), c.requestKv) << c.net;
        EXPECT_EQ(Amount_Text(Fund_Source_Share(c.net, c.fact, c.kv, "3")), c.listFact) << c.net;
        EXPECT_EQ(Amount_Text(Fund_Source_Share(c.net, c.fact, c.kv, "2")), c.listKv) << c.net;
    }
}

TEST(SaveDate, FormAndKey)
{
    EXPECT_EQ(Check_Save_Date("15/03/2567"), "");
    EXPECT_EQ(Save_Date_Key("15/03/2567"), "25670315");
    EXPECT_EQ(Save_Date_Key("01/12/2566"), "25661201");
    for (const char* bad :
        {"", "1/03/2567", "15-03-2567", "15/03/67", "15/03/2567 ", "aa/bb/cccc", "15/03/2567\n", "๑๕/๐๓/๒๕๖๗"}) {
        EXPECT_EQ(Check_Save_Date(bad),
            std::string("วันที่ไม่ถูกต้อง: \"") + bad + "\" (ต้องเป็น วว/ดด/ปปปป ปีพุทธศักราช เช่น 01/03/2567)")
            << bad;
    }
    EXPECT_EQ(Save_Date_Key("15/03"), "0315");
}

TEST(RoundHalfEven, HalvesGoToTheEvenNumber)
{
    const std::pair<double, int> cases[] = {
        {0.5, 0}, {1.5, 2}, {2.5, 2}, {3.5, 4}, {2.4999, 2}, {2.5001, 3}, {-0.5, 0}, {-1.5, -2}, {-2.5, -2}, {7.0, 7}};
    for (const auto& [value, expected] : cases)
        EXPECT_EQ(Round_Half_Even(value), expected) << value;
}

TEST(FullName, PrefixJoinedFirstNameSpaceLastName)
{
    EXPECT_EQ(Full_Name("นาย", "สมชาย", "ใจดี"), "นายสมชาย ใจดี");
    EXPECT_EQ(Full_Name("", "O'Brien", "Smith"), "O'Brien Smith");
    EXPECT_EQ(Full_Name("", "", ""), " ");
    EXPECT_EQ(calc::Full_Name("นาง", "มาลี", "ศรีสุข"), "นางมาลี ศรีสุข");
}

} // namespace
} // namespace velmora
