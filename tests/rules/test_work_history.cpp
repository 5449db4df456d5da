#include "rules/WorkHistory.h"

#include <gtest/gtest.h>

using namespace velmora::calc;

namespace {

struct Row_Case
{
    const char* begin;
    const char* end;
    const char* calc_begin;
    int total_days;
    const char* years;
    const char* months;
    const char* days;
    int whole_months;
    const char* weight;
};

class Period_Row_Test : public testing::TestWithParam<Row_Case>
{
};

TEST_P(Period_Row_Test, ShowsEveryColumn)
{
    const Row_Case& c = GetParam();
    const Period_Row row = Build_Period_Row({"2", "พนักงานมหาวิทยาลัย", c.begin, c.end});
    ASSERT_EQ(row.error, "");
    EXPECT_EQ(row.begin, c.begin);
    EXPECT_EQ(row.calc_begin, c.calc_begin);
    EXPECT_EQ(row.end, c.end);
    EXPECT_EQ(row.total_days, c.total_days);
    EXPECT_EQ(row.total_days_text, std::to_string(c.total_days));
    EXPECT_EQ(row.years_text, c.years);
    EXPECT_EQ(row.months_text, c.months);
    EXPECT_EQ(row.days_text, c.days);
    EXPECT_EQ(row.whole_months, c.whole_months);
    EXPECT_EQ(row.whole_months_text, std::to_string(c.whole_months));
    EXPECT_EQ(row.weight_text, c.weight);
}

INSTANTIATE_TEST_SUITE_P(Periods, Period_Row_Test,
    testing::Values(
        // The worked example's two periods.
        Row_Case {"01/10/2549", "30/09/2551", "17/10/2550", 731, "0000", "11", "15", 11, "11.48"},
        Row_Case {"01/10/2551", "30/09/2555", "01/10/2551", 1461, "0004", "00", "00", 48, "48.00"},
        // Days counted from the real start (2008's leap day included), figures from the floor date.
        Row_Case {"01/10/2549", "30/09/2553", "17/10/2550", 1461, "0002", "11", "15", 35, "35.48"},
        // 365 days that count as 0 years 11 months 30 days.
        Row_Case {"17/10/2550", "15/10/2551", "17/10/2550", 365, "0000", "11", "30", 12, "11.97"},
        // A start on or after the floor date is kept.
        Row_Case {"18/10/2550", "17/10/2551", "18/10/2550", 366, "0001", "00", "00", 12, "12.00"},
        Row_Case {"16/10/2550", "16/10/2551", "17/10/2550", 367, "0001", "00", "00", 12, "12.00"},
        // Fifteen days add nothing to the whole months, sixteen add one.
        Row_Case {"01/06/2551", "15/06/2551", "01/06/2551", 15, "0000", "00", "15", 0, "0.50"},
        Row_Case {"01/06/2551", "16/06/2551", "01/06/2551", 16, "0000", "00", "16", 1, "0.53"},
        // Months above twelve before the carry.
        Row_Case {"01/01/2551", "31/12/2552", "01/01/2551", 731, "0002", "00", "00", 24, "24.00"},
        // Thousands separators in the months with fraction.
        Row_Case {"01/01/2551", "31/12/2651", "01/01/2551", 36890, "0101", "00", "00", 1212, "1,212.00"}));

TEST(Period_Row, PeriodWhollyBeforeTheFloorDateCountsNothing)
{
    const Period_Row row = Build_Period_Row({"3", "พนักงานส่วนงาน", "01/01/2549", "31/12/2549"});
    EXPECT_EQ(row.error, "");
    EXPECT_TRUE(row.before_floor);
    EXPECT_EQ(row.calc_begin, "17/10/2550");
    EXPECT_EQ(row.total_days, 365);
    EXPECT_EQ(row.years_text + row.months_text + row.days_text, "00000000");
    EXPECT_EQ(row.whole_months, 0);
    EXPECT_EQ(row.weight_text, "0.00");
    EXPECT_EQ(row.weight, 0.0);
}

TEST(Period_Row, PeriodEndingOnTheFloorDateCountsOneDay)
{
    const Period_Row row = Build_Period_Row({"3", "", "01/10/2550", "17/10/2550"});
    EXPECT_EQ(row.error, "");
    EXPECT_FALSE(row.before_floor);
    EXPECT_EQ(row.total_days, 17);
    EXPECT_EQ(row.days_text, "01");
}

TEST(Period_Row, StoredDatesThatCannotBeUsedAreReported)
{
    for (const auto& [begin, end] : std::vector<std::pair<const char*, const char*>> {
             {"1/10/2550", "30/09/2551"}, {"01/10/2550", "31/09/2551"}, {"01/10/2552", "30/09/2551"}, {"", ""}}) {
        const Period_Row row = Build_Period_Row({"2", "", begin, end});
        EXPECT_NE(row.error, "") << begin << " " << end;
        EXPECT_EQ(row.weight_text, "") << begin << " " << end;
    }
}

TEST(Period_Grid, CellsInColumnOrder)
{
    const Period_Row row = Build_Period_Row({"3", "พนักงานส่วนงาน", "01/10/2549", "30/09/2551"});
    const std::vector<std::string> expected = {
        "2", "3", "พนักงานส่วนงาน", "01/10/2549", "17/10/2550", "30/09/2551", "731", "0000", "11", "15", "11", "11.48"};
    EXPECT_EQ(Period_Grid_Cells(row, 2), expected);
    EXPECT_EQ(Period_Grid_Titles().size(), 12u);
    EXPECT_EQ(Period_Grid_Widths().size(), 12u);
}

TEST(Calc_Span, FromFirstCalculationStartToLastEnd)
{
    const auto rows = Build_Period_Rows({{"3", "", "01/10/2549", "30/09/2551"}, {"2", "", "01/10/2551", "30/09/2553"},
        {"2", "", "01/10/2553", "30/09/2555"}});
    const Calc_Span span = Build_Calc_Span(rows, "01/01/2540", "31/12/2560");
    EXPECT_EQ(span.start, "17/10/2550");
    EXPECT_EQ(span.end, "30/09/2555");
}

TEST(Calc_Span, EndIsThatOfThePeriodStartingLast)
{
    // Rows come ordered by start: a long first period does not set the end.
    const auto rows = Build_Period_Rows({{"2", "", "01/01/2551", "31/12/2556"}, {"3", "", "01/01/2552", "31/12/2552"}});
    EXPECT_EQ(Build_Calc_Span(rows, "", "").end, "31/12/2552");
}

TEST(Calc_Span, WithoutPeriodsTheContractDatesRaisedToTheFloor)
{
    EXPECT_EQ(Build_Calc_Span({}, "01/10/2549", "30/09/2555").start, "17/10/2550");
    EXPECT_EQ(Build_Calc_Span({}, "01/10/2549", "30/09/2555").end, "30/09/2555");
    EXPECT_EQ(Build_Calc_Span({}, "01/10/2552", "30/09/2555").start, "01/10/2552");
}

TEST(Days_Inclusive, BothDaysCountedInTheChristianCalendar)
{
    EXPECT_EQ(Days_Inclusive("01/01/2551", "31/01/2551"), 31);
    EXPECT_EQ(Days_Inclusive("01/02/2551", "01/03/2551"), 30); // 2008: 29 February
    EXPECT_EQ(Days_Inclusive("01/02/2552", "01/03/2552"), 29);
    EXPECT_EQ(Days_Inclusive("17/10/2550", "30/09/2555"), 1811);
    EXPECT_EQ(Days_Inclusive("05/05/2555", "05/05/2555"), 1);
    EXPECT_EQ(Days_Inclusive("06/05/2555", "05/05/2555"), -1);
    EXPECT_EQ(Days_Inclusive("xx/05/2555", "05/05/2555"), -1);
}

struct New_Period_Case
{
    const char* type;
    const char* begin;
    const char* end;
    const char* error; // "" when accepted; else the start of the message
};

class New_Period_Test : public testing::TestWithParam<New_Period_Case>
{
};

TEST_P(New_Period_Test, Checked)
{
    const New_Period_Case& c = GetParam();
    const New_Period p = Check_New_Period(c.type, c.begin, c.end);
    if (*c.error == 0) {
        EXPECT_TRUE(p.ok()) << p.error;
    } else {
        EXPECT_EQ(p.error.rfind(c.error, 0), 0u) << p.error;
    }
}

INSTANTIATE_TEST_SUITE_P(Entry, New_Period_Test,
    testing::Values(New_Period_Case {"2 พนักงานมหาวิทยาลัย", "01/10/2551", "30/09/2555", ""},
        New_Period_Case {"3 พนักงานส่วนงาน", "01/10/2549", "17/10/2550", ""}, // ends on the floor date
        New_Period_Case {"2 พนักงานมหาวิทยาลัย", "  /  /    ", "30/09/2555", "กรุณาใส่ข้อมูลวันที่เริ่มปฎิบัติงาน"},
        New_Period_Case {"2 พนักงานมหาวิทยาลัย", "", "30/09/2555", "กรุณาใส่ข้อมูลวันที่เริ่มปฎิบัติงาน"},
        New_Period_Case {"2 พนักงานมหาวิทยาลัย", "01/10/2551", "  /  /    ", "กรุณาใส่ข้อมูลวันที่สิันสุดสัญญา"},
        New_Period_Case {"2 พนักงานมหาวิทยาลัย", "01/10/2551", "__/__/____", "กรุณาใส่ข้อมูลวันที่สิันสุดสัญญา"},
        New_Period_Case {"2 พนักงานมหาวิทยาลัย", "01/10/25  ", "30/09/2555", "วันที่เริ่มปฎิบัติงานไม่ถูกต้อง"},
        New_Period_Case {"2 พนักงานมหาวิทยาลัย", "31/09/2551", "30/09/2555", "วันที่เริ่มปฎิบัติงานไม่ถูกต้อง"},
        New_Period_Case {"2 พนักงานมหาวิทยาลัย", "01/10/2551", "29/02/2556", "วันที่สิ้นสุดสัญญาไม่ถูกต้อง"},
        New_Period_Case {"2 พนักงานมหาวิทยาลัย", "01/10/2551", "29/02/2555", ""}, // 2012 is a leap year
        New_Period_Case {"2 พนักงานมหาวิทยาลัย", "01/10/2008", "30/09/2555", "วันที่เริ่มปฎิบัติงานต้องใช้ปีพุทธศักราช"},
        New_Period_Case {"2 พนักงานมหาวิทยาลัย", "01/10/2551", "30/09/2012", "วันที่สิ้นสุดสัญญาต้องใช้ปีพุทธศักราช"},
        New_Period_Case {"2 พนักงานมหาวิทยาลัย", "01/10/2555", "30/09/2551", "วันที่สิ้นสุดสัญญาต้องไม่อยู่ก่อนวันที่เริ่มปฎิบัติงาน"},
        New_Period_Case {"3 พนักงานส่วนงาน", "01/01/2549", "16/10/2550", "วันที่สิ้นสุดสัญญาต้องไม่อยู่ก่อนวันที่ 17/10/2550"},
        New_Period_Case {"", "01/10/2551", "30/09/2555", "กรุณาเลือกประเภทสภานภาพ"},
        New_Period_Case {"4 อื่น ๆ", "01/10/2551", "30/09/2555", "กรุณาเลือกประเภทสภานภาพ"}));

TEST(New_Period, CodeAndTypeNameTakenFromTheComboText)
{
    const New_Period p = Check_New_Period("3   พนักงานส่วนงาน  ", "01/10/2551", "30/09/2555");
    ASSERT_TRUE(p.ok());
    EXPECT_EQ(p.period.code, "3");
    EXPECT_EQ(p.period.type_name, "พนักงานส่วนงาน");
    EXPECT_EQ(p.period.begin, "01/10/2551");
    EXPECT_EQ(p.period.end, "30/09/2555");
}

struct Overlap_Case
{
    const char* a_begin;
    const char* a_end;
    const char* b_begin;
    const char* b_end;
    bool overlap;
};

TEST(Period_Overlap, SharingOneDayIsAnOverlap)
{
    for (const Overlap_Case& c : {Overlap_Case {"01/10/2551", "30/09/2555", "01/10/2555", "30/09/2556", false},
             Overlap_Case {"01/10/2551", "30/09/2555", "30/09/2555", "30/09/2556", true},
             Overlap_Case {"01/10/2555", "30/09/2556", "01/10/2551", "30/09/2555", false},
             Overlap_Case {"01/01/2552", "31/12/2552", "01/10/2551", "30/09/2555", true}, // inside
             Overlap_Case {"01/01/2540", "31/12/2560", "01/10/2551", "30/09/2555", true}, // around
             Overlap_Case {"29/02/2551", "29/02/2551", "29/02/2551", "01/03/2551", true}, // leap day
             Overlap_Case {"31/12/2550", "01/01/2551", "02/01/2551", "05/01/2551", false},
             Overlap_Case {"xx/10/2551", "30/09/2555", "01/10/2551", "30/09/2555", false}, // unreadable
             Overlap_Case {"30/09/2555", "01/10/2551", "01/10/2551", "30/09/2555", false}}) { // reversed
        const Work_Period a {"2", "", c.a_begin, c.a_end};
        const Work_Period b {"3", "", c.b_begin, c.b_end};
        EXPECT_EQ(Periods_Overlap(a, b), c.overlap) << c.a_begin << "-" << c.a_end << " " << c.b_begin;
        EXPECT_EQ(Periods_Overlap(b, a), c.overlap) << c.a_begin << "-" << c.a_end << " " << c.b_begin;
    }
}

TEST(Period_Overlap, TheFirstOverlappingPairIsNamed)
{
    const std::vector<Work_Period> periods = {{"3", "พนักงานส่วนงาน", "01/10/2549", "30/09/2551"},
        {"2", "พนักงานมหาวิทยาลัย", "01/10/2551", "30/09/2555"}, {"2", "พนักงานมหาวิทยาลัย", "01/10/2554", "30/09/2556"}};
    EXPECT_EQ(Find_Overlap(periods), (std::pair<int, int> {1, 2}));
    EXPECT_EQ(Find_Overlap({periods[0], periods[1]}), (std::pair<int, int> {-1, -1}));
    EXPECT_EQ(Find_Overlap_With({periods[0], periods[1]}, periods[2]), 1);
    EXPECT_EQ(Stored_Overlap_Message(periods[1], periods[2]),
        "ประวัติการทำงานมีช่วงเวลาทับกัน: 2 พนักงานมหาวิทยาลัย 01/10/2551 - 30/09/2555 และ 2 พนักงานมหาวิทยาลัย "
        "01/10/2554 - 30/09/2556 อายุงานจะถูกนับซ้ำ กรุณาแก้ไขประวัติการทำงานก่อนบันทึก");
}

} // namespace
