#include "pages/RequestPage.h"

#include <gtest/gtest.h>

using namespace velmora::print;

namespace {

QString U(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

SavedCalculation workedExample()
{
    SavedCalculation c;
    c.SapID = QStringLiteral("10000001");
    c.Emp_Surname = U("นาง");
    c.Emp_F_Name = U("สมศรี");
    c.Emp_L_Name = U("ใจดี");
    c.Date_Beg_Cal = QStringLiteral("17/10/2550");
    c.Date_End_Cal = QStringLiteral("30/09/2555");
    c.Date_Entry = QStringLiteral("18/09/2555");
    c.Depart_Code = QStringLiteral("05");
    c.Depart_Name = U("คณะวิทยาศาสตร์");
    c.Event_Out = U("ครบกำหนดระยะเวลาการจ้างตามสัญญา");
    c.Total_Day = 1811;
    c.No_Year = 4;
    c.No_Month = 11;
    c.No_Day = 15;
    c.N_T = 6;
    c.Last_Salary = 20000.0;
    c.Net_Money_Recieve = 120000.0;
    c.Fact_Month_Weigth = 11.48;
    c.Kv_Month_Weight = 48;
    return c;
}

QString textOf(const PageLayout& page, const QString& name)
{
    const Item* i = page.find(name);
    EXPECT_NE(i, nullptr) << name.toStdString();
    return i ? i->text : QString();
}

PageLayout pageOf(const SavedCalculation& c, QList<EarlierPayment> earlier = {}, QList<SavedPeriod> periods = {})
{
    RequestDocument d;
    d.calculation = c;
    d.earlier = std::move(earlier);
    d.periods = std::move(periods);
    return buildRequestPage(d);
}

EarlierPayment earlierPayment(int order, const char* depart, double salary, int times, double net)
{
    EarlierPayment e;
    e.N_Order = order;
    e.Depart_Code = QLatin1String(depart);
    e.Date_Beg_Cal = QStringLiteral("01/04/2548");
    e.Date_End_Cal = QStringLiteral("31/03/2556");
    e.No_Year = 5;
    e.No_Month = 5;
    e.No_Day = 15;
    e.N_T = times;
    e.Last_Salary = salary;
    e.Net_Money_Recieve = net;
    return e;
}

SavedPeriod period(const char* type, const char* begin, const char* end, double months)
{
    return SavedPeriod {U(type), QLatin1String(begin), QLatin1String(end), months};
}

} // namespace

struct SplitCase
{
    double fact, kv, net;
    const char *factText, *kvText, *totalText;
};

class SplitBlock : public ::testing::TestWithParam<SplitCase>
{
};

TEST_P(SplitBlock, PrintsTheSharesOfTheStoredMonthWeights)
{
    const SplitCase& s = GetParam();
    SavedCalculation c = workedExample();
    c.Fact_Month_Weigth = s.fact;
    c.Kv_Month_Weight = s.kv;
    c.Net_Money_Recieve = s.net;
    const PageLayout page = pageOf(c);
    EXPECT_EQ(textOf(page, QStringLiteral("Fact_Share")).toStdString(), s.factText);
    EXPECT_EQ(textOf(page, QStringLiteral("Kv_Share")).toStdString(), s.kvText);
    EXPECT_EQ(textOf(page, QStringLiteral("Total_Share")).toStdString(), s.totalText);
}

INSTANTIATE_TEST_SUITE_P(Cases, SplitBlock,
    ::testing::Values(
        // the screen showed 23,160.00 and 96,840.00 from rounded percentages
        SplitCase {11.48, 48, 120000.0, "23,160.73", "96,839.27", "120,000.00"},
        SplitCase {30, 10, 10000.0, "7,500.00", "2,500.00", "10,000.00"},
        SplitCase {0, 65.48, 90000.0, ".00", "90,000.00", "90,000.00"}, SplitCase {1, 0, 0.40, ".40", ".00", ".40"},
        // no split defined: never a division by zero
        SplitCase {0, 0, 10000.0, "0.00", "0.00", "0.00"}));

TEST(SplitNet, WeightsAddingToZeroGiveNoSplit)
{
    const Split s = splitNet(0, 0, 5000);
    EXPECT_FALSE(s.defined);
    EXPECT_EQ(s.fact, 0.0);
    EXPECT_EQ(s.kv, 0.0);
    EXPECT_TRUE(splitNet(0, 1, 5000).defined);
}

TEST(RequestPage, NetBelowOneBahtPrintsWithoutLeadingZeroInSummaryAndSplit)
{
    SavedCalculation c = workedExample();
    c.Net_Money_Recieve = 0.40;
    c.Last_Salary = 0.40;
    c.N_T = 1;
    c.His_Rec_Money = 0;
    const PageLayout page = pageOf(c);
    EXPECT_EQ(textOf(page, QStringLiteral("Net_Money_Recieve")), QStringLiteral(".40"));
    EXPECT_EQ(textOf(page, QStringLiteral("Last_Salary")), QStringLiteral(".40"));
    EXPECT_EQ(textOf(page, QStringLiteral("Money_Cal")), QStringLiteral(".40"));
    EXPECT_EQ(textOf(page, QStringLiteral("His_Rec_Money")), QStringLiteral(".00"));
    EXPECT_EQ(textOf(page, QStringLiteral("Total_Share")), QStringLiteral(".40"));
}

TEST(RequestPage, EmployeeAndSummaryFieldsComeFromTheSavedRow)
{
    const PageLayout page = pageOf(workedExample());
    EXPECT_EQ(textOf(page, QStringLiteral("Full_Name")), U("นางสมศรี ใจดี"));
    EXPECT_EQ(textOf(page, QStringLiteral("SapID")), QStringLiteral("10000001"));
    EXPECT_EQ(textOf(page, QStringLiteral("Date_Beg_Cal")), QStringLiteral("17/10/2550"));
    EXPECT_EQ(textOf(page, QStringLiteral("Date_End_Cal")), QStringLiteral("30/09/2555"));
    EXPECT_EQ(textOf(page, QStringLiteral("Depart_Name")), U("คณะวิทยาศาสตร์"));
    EXPECT_EQ(textOf(page, QStringLiteral("Event_Out")), U("ครบกำหนดระยะเวลาการจ้างตามสัญญา"));
    EXPECT_EQ(textOf(page, QStringLiteral("Date_Entry")), QStringLiteral("18/09/2555"));
    // the summary's service prints as stored integers, not zero-padded
    EXPECT_EQ(textOf(page, QStringLiteral("No_Year")), QStringLiteral("4"));
    EXPECT_EQ(textOf(page, QStringLiteral("No_Month")), QStringLiteral("11"));
    EXPECT_EQ(textOf(page, QStringLiteral("No_Day")), QStringLiteral("15"));
    EXPECT_EQ(textOf(page, QStringLiteral("N_T")), QStringLiteral("6"));
    EXPECT_EQ(textOf(page, QStringLiteral("Last_Salary")), QStringLiteral("20,000.00"));
    EXPECT_EQ(textOf(page, QStringLiteral("Money_Cal")), QStringLiteral("120,000.00"));
    EXPECT_EQ(textOf(page, QStringLiteral("Net_Money_Recieve")), QStringLiteral("120,000.00"));
}

TEST(RequestPage, ThreeEarlierPaymentsPrintTheFirstTwo)
{
    const QList<EarlierPayment> earlier = {earlierPayment(1, "01", 15000, 6, 90000),
        earlierPayment(2, "02", 0.4, 1, 0.4), earlierPayment(3, "03", 30000, 8, 240000)};
    const PageLayout page = pageOf(workedExample(), earlier);
    EXPECT_EQ(textOf(page, QStringLiteral("Hist1_Depart_Code")), QStringLiteral("01"));
    EXPECT_EQ(textOf(page, QStringLiteral("Hist1_Date_Beg_Cal")), QStringLiteral("01/04/2548"));
    EXPECT_EQ(textOf(page, QStringLiteral("Hist1_Date_End_Cal")), QStringLiteral("31/03/2556"));
    EXPECT_EQ(textOf(page, QStringLiteral("Hist1_No_Year")), QStringLiteral("5"));
    EXPECT_EQ(textOf(page, QStringLiteral("Hist1_N_T")), QStringLiteral("6"));
    EXPECT_EQ(textOf(page, QStringLiteral("Hist1_Last_Salary")), QStringLiteral("15,000.00"));
    EXPECT_EQ(textOf(page, QStringLiteral("Hist1_Money_Cal")), QStringLiteral("90,000.00"));
    EXPECT_EQ(textOf(page, QStringLiteral("Hist1_His_Rec_Money")), QStringLiteral("0.00"));
    EXPECT_EQ(textOf(page, QStringLiteral("Hist1_Net_Money_Recieve")), QStringLiteral("90,000.00"));
    // the table's amounts are amount texts: a leading zero below one baht
    EXPECT_EQ(textOf(page, QStringLiteral("Hist2_Depart_Code")), QStringLiteral("02"));
    EXPECT_EQ(textOf(page, QStringLiteral("Hist2_Last_Salary")), QStringLiteral("0.40"));
    EXPECT_EQ(textOf(page, QStringLiteral("Hist2_Net_Money_Recieve")), QStringLiteral("0.40"));
    for (int row : {3, 4})
        for (const char* col : {"Depart_Code", "Date_Beg_Cal", "N_T", "Last_Salary", "Net_Money_Recieve"})
            EXPECT_EQ(textOf(page, QStringLiteral("Hist%1_%2").arg(row).arg(QLatin1String(col))), QString())
                << row << col;
}

TEST(RequestPage, NoEarlierPaymentsLeaveTheHistoryTableEmpty)
{
    const PageLayout page = pageOf(workedExample());
    for (const Item& i : page.items) {
        if (i.name.startsWith(QLatin1String("Hist"))) {
            EXPECT_TRUE(i.text.isEmpty()) << i.name.toStdString();
        }
    }
}

TEST(RequestPage, FourPeriodsPrintTheFirstThreeAndTotalAllFour)
{
    const QList<SavedPeriod> periods = {
        period("พนักงานส่วนงาน", "17/10/2550", "30/09/2551", 11.48),
        period("พนักงานมหาวิทยาลัย", "01/01/2550", "05/04/2552", 27.17),
        period("พนักงานมหาวิทยาลัย", "17/10/2550", "30/09/2553", 37.5),
        period("พนักงานส่วนงาน", "01/10/2553", "30/09/2554", 12),
    };
    const PageLayout page = pageOf(workedExample(), {}, periods);
    EXPECT_EQ(textOf(page, QStringLiteral("Cur1_Work_Type")), U("พนักงานส่วนงาน"));
    EXPECT_EQ(textOf(page, QStringLiteral("Cur1_Date_B_cal")), QStringLiteral("17/10/2550"));
    EXPECT_EQ(textOf(page, QStringLiteral("Cur1_Date_E_Cal")), QStringLiteral("30/09/2551"));
    EXPECT_EQ(textOf(page, QStringLiteral("Cur1_Years")), QStringLiteral("0000"));
    EXPECT_EQ(textOf(page, QStringLiteral("Cur1_Months")), QStringLiteral("11"));
    EXPECT_EQ(textOf(page, QStringLiteral("Cur1_Days")), QStringLiteral("15"));
    EXPECT_EQ(textOf(page, QStringLiteral("Cur1_Sum_Month_Weight")), QStringLiteral("11.48"));
    // two years, three months and five days, zero-padded as the service-period function gives them
    EXPECT_EQ(textOf(page, QStringLiteral("Cur2_Years")), QStringLiteral("0002"));
    EXPECT_EQ(textOf(page, QStringLiteral("Cur2_Months")), QStringLiteral("03"));
    EXPECT_EQ(textOf(page, QStringLiteral("Cur2_Days")), QStringLiteral("05"));
    EXPECT_EQ(textOf(page, QStringLiteral("Cur3_Years")), QStringLiteral("0002"));
    EXPECT_EQ(textOf(page, QStringLiteral("Cur3_Months")), QStringLiteral("11"));
    EXPECT_EQ(textOf(page, QStringLiteral("Cur3_Days")), QStringLiteral("15"));
    // the months as stored, in plain number form
    EXPECT_EQ(textOf(page, QStringLiteral("Cur3_Sum_Month_Weight")), QStringLiteral("37.5"));
    EXPECT_EQ(page.find(QStringLiteral("Cur4_Work_Type")), nullptr);
    // 11.48 + 27.17 + 37.5 + 12
    EXPECT_EQ(textOf(page, QStringLiteral("Sum_Month_Total")), QStringLiteral("88.15"));
}

TEST(RequestPage, NoPeriodsPrintZeroMonthsTotal)
{
    EXPECT_EQ(textOf(pageOf(workedExample()), QStringLiteral("Sum_Month_Total")), QStringLiteral("0.00"));
}

TEST(RequestPage, APeriodEndingBeforeItsStartLeavesItsLengthEmpty)
{
    const PageLayout page = pageOf(workedExample(), {}, {period("พนักงานส่วนงาน", "01/10/2551", "30/09/2550", 0)});
    EXPECT_EQ(textOf(page, QStringLiteral("Cur1_Date_B_cal")), QStringLiteral("01/10/2551"));
    EXPECT_EQ(textOf(page, QStringLiteral("Cur1_Years")), QString());
    EXPECT_EQ(textOf(page, QStringLiteral("Cur1_Months")), QString());
    EXPECT_EQ(textOf(page, QStringLiteral("Cur1_Days")), QString());
}

TEST(RequestPage, NoSavedCalculationGivesAnEmptyPage)
{
    RequestDocument d;
    d.periods = {period("พนักงานส่วนงาน", "17/10/2550", "30/09/2551", 11.48)};
    const PageLayout page = buildRequestPage(d);
    EXPECT_TRUE(page.items.isEmpty());
    EXPECT_EQ(page.paperMm, QSizeF(210, 297));
}

TEST(RequestPage, RefillingEmptiesWhatAnEarlierPrintSet)
{
    PageLayout layout = requestPageLayout();
    fillRequestSetItems(layout, {earlierPayment(1, "01", 15000, 6, 90000)},
        {period("พนักงานส่วนงาน", "17/10/2550", "30/09/2551", 11.48)});
    fillRequestSetItems(layout, {}, {});
    EXPECT_EQ(textOf(layout, QStringLiteral("Hist1_Depart_Code")), QString());
    EXPECT_EQ(textOf(layout, QStringLiteral("Cur1_Work_Type")), QString());
    EXPECT_EQ(textOf(layout, QStringLiteral("Sum_Month_Total")), QStringLiteral("0.00"));
}

// The layout as data: each item's text or column, position and font.
struct LayoutCase
{
    const char* name;
    double left, top;
    double width; // < 0: not checked
    double pointSize;
    bool bold;
    Align align;
    const char* text; // fixed text, or nullptr
    const char* column;
    ValueFormat format;
};

class RequestLayout : public ::testing::TestWithParam<LayoutCase>
{
};

TEST_P(RequestLayout, PlacesTheItem)
{
    const LayoutCase& c = GetParam();
    const PageLayout layout = requestPageLayout();
    const Item* i = layout.find(QLatin1String(c.name));
    ASSERT_NE(i, nullptr) << c.name;
    EXPECT_EQ(i->kind, Item::Kind::Text);
    EXPECT_NEAR(i->rect.left(), c.left, 1e-9) << c.name;
    EXPECT_NEAR(i->rect.top(), c.top, 1e-9) << c.name;
    if (c.width >= 0) {
        EXPECT_NEAR(i->rect.width(), c.width, 1e-9) << c.name;
    }
    EXPECT_EQ(i->pointSize, c.pointSize) << c.name;
    EXPECT_EQ(i->bold, c.bold) << c.name;
    EXPECT_EQ(i->align, c.align) << c.name;
    if (c.text) {
        EXPECT_EQ(i->text, U(c.text)) << c.name;
    }
    EXPECT_EQ(i->column, QLatin1String(c.column ? c.column : "")) << c.name;
    EXPECT_EQ(i->format, c.format) << c.name;
}

constexpr Align L = Align::Left, C = Align::Center, R = Align::Right;
constexpr ValueFormat AS = ValueFormat::AsIs, MM = ValueFormat::MoneyMask;

INSTANTIATE_TEST_SUITE_P(Items, RequestLayout,
    ::testing::Values(LayoutCase {"lblTitle", 66.7, 3.2, -1, 20, true, C, "เอกสารขอรับเงินชดเชยพนักงาน", nullptr, AS},
        LayoutCase {"lblName", 2.1, 15.9, -1, 14, false, L, "ชื่อ-นามสกุล", nullptr, AS},
        LayoutCase {"Full_Name", 22.2, 15.9, 59.5, 14, false, L, nullptr, "Full_Name", AS},
        LayoutCase {"lblSapID", 84.7, 15.9, -1, 14, false, L, "SAP ID", nullptr, AS},
        LayoutCase {"SapID", 98.4, 15.9, -1, 14, false, L, nullptr, "SapID", AS},
        LayoutCase {"lblDate_Beg_Cal", 128.1, 15.9, -1, 14, false, L, "วันที่เริ่มปฎิบัติงาน", nullptr, AS},
        LayoutCase {"Date_Beg_Cal", 155.6, 15.9, -1, 14, false, L, nullptr, "Date_Beg_Cal", AS},
        LayoutCase {"lblDepart", 2.1, 24.3, -1, 14, false, L, "หน่วยงาน", nullptr, AS},
        LayoutCase {"Depart_Name", 20.1, 24.3, -1, 14, false, L, nullptr, "Depart_Name", AS},
        LayoutCase {"lblDate_End_Cal", 128.1, 24.3, -1, 14, false, L, "วันที่ครบสัญญา", nullptr, AS},
        LayoutCase {"Date_End_Cal", 152.4, 24.3, -1, 14, false, L, nullptr, "Date_End_Cal", AS},
        LayoutCase {"lblHistory", 2.1, 32.8, -1, 14, false, L, "ประวัติการรับเงินชดเชย", nullptr, AS},
        LayoutCase {"Hist1_Depart_Code", 4.0, 55.0, -1, 12, false, L, "", nullptr, AS},
        LayoutCase {"Hist2_Date_Beg_Cal", 23.3, 63.5, -1, 12, false, L, "", nullptr, AS},
        LayoutCase {"Hist3_Last_Salary", 105.8, 72.0, -1, 12, false, R, "", nullptr, AS},
        LayoutCase {"Hist4_Net_Money_Recieve", 166.1, 80.4, -1, 12, false, R, "", nullptr, AS},
        LayoutCase {"lblCurrent", 2.1, 99.5, -1, 14, false, L, "ปัจจุบัน", nullptr, AS},
        LayoutCase {"hCur_Work_Type", 3.6, 111.0, -1, 14, false, C, "ประเภทบุคคลากร", nullptr, AS},
        LayoutCase {"Cur1_Work_Type", 4.0, 122.8, -1, 14, false, L, "", nullptr, AS},
        LayoutCase {"Cur2_Years", 127.0, 131.2, -1, 12, false, L, "", nullptr, AS},
        LayoutCase {"Cur3_Sum_Month_Weight", 168.0, 139.7, -1, 12, false, R, "", nullptr, AS},
        LayoutCase {"lblTotal_Month", 151.3, 149.2, -1, 14, false, L, "รวม", nullptr, AS},
        LayoutCase {"Sum_Month_Total", 172.5, 149.2, -1, 12, false, R, "", nullptr, AS},
        LayoutCase {"lblSummary", 2.1, 160.9, -1, 14, false, L, "สรุป", nullptr, AS},
        LayoutCase {"lblEvent_Out", 49.7, 159.8, -1, 14, false, L, "เหตุแห่งการออก", nullptr, AS},
        LayoutCase {"Event_Out", 74.1, 159.8, -1, 14, false, L, nullptr, "Event_Out", AS},
        LayoutCase {"lblDate_Entry", 139.7, 159.8, -1, 14, false, L, "วันที่บันทึกข้อมูล", nullptr, AS},
        LayoutCase {"Date_Entry", 165.1, 159.8, -1, 14, false, L, nullptr, "Date_Entry", AS},
        LayoutCase {"lblService", 6.3, 168.3, -1, 14, false, L, "รวมระยะเวลาปฎิบัติงาน", nullptr, AS},
        LayoutCase {"No_Year", 40.2, 168.3, 7.7, 14, false, C, nullptr, "No_Year", AS},
        LayoutCase {"lblYear", 48.7, 168.3, -1, 14, false, L, "ปี", nullptr, AS},
        LayoutCase {"No_Month", 52.9, 168.3, 7.7, 14, false, C, nullptr, "No_Month", AS},
        LayoutCase {"lblMonth", 63.5, 168.3, -1, 14, false, L, "เดือน", nullptr, AS},
        LayoutCase {"No_Day", 72.0, 168.3, 7.7, 14, false, C, nullptr, "No_Day", AS},
        LayoutCase {"lblDay", 80.4, 168.3, -1, 14, false, L, "วัน", nullptr, AS},
        LayoutCase {"lblN_T", 94.2, 168.3, -1, 14, false, L, "ได้จำนวนเท่าของเงินเดือนคือ", nullptr, AS},
        LayoutCase {"N_T", 137.6, 168.3, 7.7, 14, false, C, nullptr, "N_T", AS},
        LayoutCase {"lblTimes", 147.1, 168.3, -1, 14, false, L, "เท่า", nullptr, AS},
        LayoutCase {"lblLast_Salary", 6.3, 175.7, -1, 14, false, L, "เงินเดือนเดือนสุดท้าย", nullptr, AS},
        LayoutCase {"Last_Salary", 37.0, 175.7, 22.5, 14, false, R, nullptr, "Last_Salary", MM},
        LayoutCase {"lblBaht1", 63.5, 175.7, -1, 14, false, L, "บาท", nullptr, AS},
        LayoutCase {"lblMoney_Cal", 94.2, 175.7, -1, 14, false, L, "คำนวณเงินชดเชยที่ได้", nullptr, AS},
        LayoutCase {"Money_Cal", 131.2, 175.7, 41.5, 14, false, R, nullptr, "Money_Cal", MM},
        LayoutCase {"lblBaht2", 176.7, 174.6, -1, 14, false, L, "บาท", nullptr, AS},
        LayoutCase {"lblHis_Rec_Money", 6.3, 183.1, -1, 14, false, L, "เงินชดเชยที่เคยได้รับ", nullptr, AS},
        LayoutCase {"His_Rec_Money", 37.0, 183.1, 22.5, 14, false, R, nullptr, "His_Rec_Money", MM},
        LayoutCase {"lblBaht3", 62.4, 183.1, -1, 14, false, L, "บาท", nullptr, AS},
        LayoutCase {
            "lblNet", 72.0, 183.1, -1, 14, false, L, "เงินชดเชยสุทธิที่ได้รับ(เงินชดเชย-เงินชดเชยที่เคยได้รับ)", nullptr, AS},
        LayoutCase {"Net_Money_Recieve", 147.1, 183.1, 27.8, 14, false, R, nullptr, "Net_Money_Recieve", MM},
        LayoutCase {"lblBaht4", 177.8, 183.1, -1, 14, false, L, "บาท", nullptr, AS},
        LayoutCase {"lblSplit", 2.1, 190.5, -1, 14, false, L, "อัตราส่วน", nullptr, AS},
        LayoutCase {"lblSplitAmount", 143.9, 202.1, -1, 14, false, L, "จำนวนเงิน", nullptr, AS},
        LayoutCase {"lblFact", 8.5, 211.7, -1, 14, false, L, "ส่วนงาน", nullptr, AS},
        LayoutCase {"Fact_Share", 136.5, 211.7, 36.2, 14, false, R, nullptr, "Fact_Share", MM},
        LayoutCase {"lblKv", 7.4, 221.2, -1, 14, false, L, "มหาวิทยาลัยกาวิลัน", nullptr, AS},
        LayoutCase {"Kv_Share", 136.5, 221.2, 36.2, 14, false, R, nullptr, "Kv_Share", MM},
        LayoutCase {"lblTotal_Share", 94.2, 230.7, -1, 14, false, L, "รวมทั้งสิ้น", nullptr, AS},
        LayoutCase {"Total_Share", 136.5, 230.7, 36.2, 14, false, R, nullptr, "Total_Share", MM}));

struct ShapeCase
{
    const char* name;
    Item::Kind kind;
    double x1, y1, x2, y2;
};

class RequestShapes : public ::testing::TestWithParam<ShapeCase>
{
};

TEST_P(RequestShapes, DrawsTheRuleOrBox)
{
    const ShapeCase& s = GetParam();
    const PageLayout layout = requestPageLayout();
    const Item* i = layout.find(QLatin1String(s.name));
    ASSERT_NE(i, nullptr) << s.name;
    EXPECT_EQ(i->kind, s.kind);
    EXPECT_NEAR(i->rect.left(), s.x1, 1e-9);
    EXPECT_NEAR(i->rect.top(), s.y1, 1e-9);
    EXPECT_NEAR(i->rect.right(), s.x2, 1e-9);
    EXPECT_NEAR(i->rect.bottom(), s.y2, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Shapes, RequestShapes,
    ::testing::Values(ShapeCase {"TitleBox", Item::Kind::Box, 1.1, 2.1, 188.7, 14.0},
        ShapeCase {"Frame", Item::Kind::Box, 1.1, 8.5, 188.7, 275.5},
        ShapeCase {"HistoryBox", Item::Kind::Box, 1.1, 31.8, 188.7, 98.7},
        ShapeCase {"HistoryTable", Item::Kind::Box, 3.2, 40.2, 186.6, 96.6},
        ShapeCase {"HistoryRule87.8", Item::Kind::Line, 3.2, 87.8, 186.6, 87.8},
        ShapeCase {"CurrentTable", Item::Kind::Box, 3.2, 106.9, 186.6, 156.9},
        ShapeCase {"CurrentRule148.2", Item::Kind::Line, 3.2, 148.2, 186.6, 148.2},
        ShapeCase {"SummaryRule", Item::Kind::Line, 1.1, 157.7, 188.7, 157.7},
        ShapeCase {"SplitTable", Item::Kind::Box, 5.3, 201.1, 179.1, 240.5},
        ShapeCase {"SplitCol", Item::Kind::Line, 113.2, 201.1, 113.2, 240.5},
        ShapeCase {"SplitRule229.7", Item::Kind::Line, 5.3, 229.7, 179.1, 229.7}));

TEST(RequestLayoutPaper, IsA4PortraitWithTenMillimetreMargins)
{
    const PageLayout layout = requestPageLayout();
    EXPECT_EQ(layout.paperMm, QSizeF(210, 297));
    EXPECT_EQ(layout.marginsMm, QMarginsF(10, 10, 10, 10));
    // the band is 190 mm wide: nothing reaches past it
    for (const Item& i : layout.items) {
        EXPECT_LE(i.rect.right(), 190.0) << i.name.toStdString();
        EXPECT_LE(i.rect.bottom(), 277.0) << i.name.toStdString();
    }
}
