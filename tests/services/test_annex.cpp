#include "CalcTestData.h"
#include "support/PdfLayoutText.h"

#include "pages/AnnexPage.h"
#include "pages/PageRenderer.h"
#include "pages/RequestPage.h"
#include "services/CalculationService.h"
#include "services/SavedCalculations.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

using namespace velmora;
using velmora::test::Test_Employee;
using velmora::test::TestDatabase;

namespace {

void Calculate_And_Save(TestDatabase& t, const std::string& sapid)
{
    calc::Calculation_Input in;
    std::string error;
    ASSERT_TRUE(calc::Load_Calculation_Input(t.db(), sapid, "10/2012", std::nullopt, std::nullopt, &in, &error))
        << error;
    const calc::Calculation c = calc::Run_Calculation(in);
    ASSERT_TRUE(c.ok()) << c.error;
    ASSERT_TRUE(calc::Save_Calculation(t.db(), in, c, "09/12/2569", &error)) << error;
}

// The employee of the worked example, and 20000002 who was paid 6 x 15,000.00
// in 03/2011 under SAP ID 20000001 (3 years 5 months 15 days).
void Add_Both(TestDatabase& t)
{
    test::Add_Worked_Example(t);
    Test_Employee e;
    e.sapid = QStringLiteral("20000002");
    e.ssn = QStringLiteral("3100100000066");
    e.firstName = QStringLiteral("วิชัย");
    e.salary = 30000.0;
    test::Add_Employee(t, e);
    test::Add_Period(
        t, e.sapid, e.ssn, QStringLiteral("2"), QStringLiteral("01/04/2551"), QStringLiteral("30/09/2555"));
    test::Add_Saved(t, QStringLiteral("20000001"), e.ssn, QStringLiteral("03/2011"), 3, 5, 15, 6, 15000.0);
    Calculate_And_Save(t, "10000001");
    Calculate_And_Save(t, "20000002");
}

struct Printed
{
    QString annex;
    QString request;
};

Printed Print(TestDatabase& t, const QString& sapid, const QTemporaryDir& dir)
{
    print::AnnexDocument document;
    QString error;
    EXPECT_TRUE(print::readAnnexDocument(t.db(), sapid, &document, &error)) << error.toStdString();
    const QString annexPath = dir.filePath(sapid + QStringLiteral("-annex.pdf"));
    const QString requestPath = dir.filePath(sapid + QStringLiteral("-request.pdf"));
    EXPECT_TRUE(print::writePdf(annexPath, print::buildAnnexPages(document), &error)) << error.toStdString();
    EXPECT_TRUE(print::writePdf(requestPath, {print::buildRequestPage(document.request)}, &error))
        << error.toStdString();
    return {test::pdfLayoutText(annexPath), test::pdfText(requestPath)};
}

// Every figure the request document prints of these items is on the annex too.
void Expect_Agreement(TestDatabase& t, const QString& sapid, const Printed& printed)
{
    print::AnnexDocument document;
    QString error;
    ASSERT_TRUE(print::readAnnexDocument(t.db(), sapid, &document, &error));
    const print::PageLayout request = print::buildRequestPage(document.request);
    for (const char* name : {"SapID", "Full_Name", "Date_Beg_Cal", "Date_End_Cal", "Event_Out", "Date_Entry", "N_T",
             "Last_Salary", "Money_Cal", "His_Rec_Money", "Net_Money_Recieve", "Fact_Share", "Kv_Share", "Total_Share",
             "Sum_Month_Total", "Cur1_Date_B_cal", "Cur1_Date_E_Cal", "Cur1_Sum_Month_Weight", "Hist1_Date_Beg_Cal"}) {
        const print::Item* item = request.find(QLatin1String(name));
        ASSERT_NE(item, nullptr) << name;
        if (item->text.isEmpty())
            continue;
        EXPECT_TRUE(test::pdfContains(printed.request, item->text)) << name;
        EXPECT_TRUE(test::pdfContains(printed.annex, item->text)) << name << ": " << item->text.toStdString();
    }
}

TEST(Calculation_Annex, WorkedExampleReadsBackAndAgreesWithTheRequestDocument)
{
    TestDatabase t;
    Add_Both(t);
    QTemporaryDir dir;
    const Printed printed = Print(t, QStringLiteral("10000001"), dir);
    ASSERT_FALSE(printed.annex.isEmpty());
    for (const char* text : {"เอกสารแนบการคำนวณเงินชดเชย", "17/10/2550", "30/09/2551", "731", "0000", "11.48",
             "ช่วงที่ 1 เริ่มงานก่อน 17/10/2550 จึงเริ่มนับระยะเวลาที่ 17/10/2550; จำนวน 731 วันนับจากวันเริ่มงานเดิม",
             "วันที่เริ่มคำนวณ 17/10/2550 ถึงวันที่ 30/09/2555 จำนวนวันทั้งหมด 1811 วัน (0004 ปี 11 เดือน 15 วัน)",
             "ระยะเวลาของการคำนวณนี้ (รวมทุกช่วง) ผลรวม 4 ปี 11 เดือน 15 วัน = 4 ปี 11 เดือน 15 วัน",
             "รวมระยะเวลาที่ต้องนำไปคำนวณ เงินชดเชย ผลรวม 4 ปี 11 เดือน 15 วัน = 4 ปี 11 เดือน 15 วัน",
             "จำนวนวันทั้งหมด 1811 วัน ตั้งแต่ 365 วันขึ้นไป: ใช้ตารางกับจำนวนปีรวม 4 ปี",
             ">> ครบ 3  ปี   ไม่ครบ  6    ปี ได้   6    เท่า   << ใช้แถวนี้",
             "เงินเดือนสุดท้าย 20,000.00 บาท × 6 เท่า = 120,000.00 บาท", "ไม่มีประวัติการรับเงินชดเชย: หัก 0.00 บาท",
             "เงินชดเชยสุทธิ = 120,000.00 - 0.00 = 120,000.00 บาท", "ส่วนงาน 731 11.48 19.3 23,160.73",
             "มหาวิทยาลัยกาวิลัน 1461 48 80.7 96,839.27", "รวมทั้งสิ้น 2192 59.48 120,000.00",
             "จำนวนเงินที่ได้รับสุทธิ 120,000.00 บาท (หนึ่งแสนสองหมื่นบาทถ้วน)"})
        EXPECT_TRUE(test::pdfContains(printed.annex, QString::fromUtf8(text))) << text;
    // the fixed 120-day line is not the one used
    EXPECT_FALSE(test::pdfContains(printed.annex, QStringLiteral(">> 120")));
    Expect_Agreement(t, QStringLiteral("10000001"), printed);
}

TEST(Calculation_Annex, EarlierPaymentIsDeductedAndExplained)
{
    TestDatabase t;
    Add_Both(t);
    QTemporaryDir dir;
    const Printed printed = Print(t, QStringLiteral("20000002"), dir);
    ASSERT_FALSE(printed.annex.isEmpty());
    for (const char* text : {"1 20000001 03/2011 3 ปี 5 เดือน 15 วัน 6 15,000.00 90,000.00 90,000.00",
             "ระยะเวลาของการคำนวณนี้ (รวมทุกช่วง) ผลรวม 4 ปี 6 เดือน 0 วัน = 4 ปี 6 เดือน 0 วัน",
             "ระยะเวลาที่เคยรับเงินชดเชย ผลรวม 3 ปี 5 เดือน 15 วัน = 3 ปี 5 เดือน 15 วัน",
             "รวมระยะเวลาที่ต้องนำไปคำนวณ เงินชดเชย ผลรวม 7 ปี 11 เดือน 15 วัน = 7 ปี 11 เดือน 15 วัน",
             ">> ครบ 6  ปี   ไม่ครบ  10    ปี ได้   8    เท่า   << ใช้แถวนี้",
             "เงินเดือนสุดท้าย 30,000.00 บาท × 8 เท่า = 240,000.00 บาท",
             "หักเฉพาะครั้งล่าสุด (ครั้งที่ 1 SAP ID 20000001 เดือน 03/2011) 90,000.00 บาท",
             "เงินชดเชยสุทธิ = 240,000.00 - 90,000.00 = 150,000.00 บาท",
             "จำนวนเงินที่ได้รับสุทธิ 150,000.00 บาท (หนึ่งแสนห้าหมื่นบาทถ้วน)"})
        EXPECT_TRUE(test::pdfContains(printed.annex, QString::fromUtf8(text))) << text;
    Expect_Agreement(t, QStringLiteral("20000002"), printed);
}

// Carries written out, a period wholly before the floor date, no split.
TEST(Calculation_Annex, CarriesAndPeriodsBeforeTheFloorDate)
{
    print::AnnexDocument d;
    print::SavedCalculation c;
    c.SapID = QStringLiteral("1");
    c.Date_Beg_Cal = QStringLiteral("17/10/2550");
    c.Date_End_Cal = QStringLiteral("22/02/2556");
    c.Total_Day = 300;
    c.N_T = 1;
    c.Last_Salary = 10000;
    c.Net_Money_Recieve = 10000;
    d.request.calculation = c;
    // type name, calculation start, end, months with fraction, code, days, whole months
    const auto period = [](const char* type, const char* begin, const char* end, double weight, const char* code,
                            int days, int months) {
        return print::SavedPeriod {QString::fromUtf8(type), QLatin1String(begin), QLatin1String(end), weight,
            QLatin1String(code), days, months};
    };
    d.request.periods = {
        period("ก", "17/10/2550", "30/09/2550", 0, "2", 400, 0),
        period("ก", "01/01/2556", "23/01/2556", 0.74, "2", 23, 1),
        period("ข", "01/02/2556", "22/02/2556", 0.79, "9", 22, 1),
    };
    d.brackets = {{1, 3, 3}};
    const QString all = print::annexLines(d).join(QLatin1Char('\n'));
    for (const char* text :
        {"ระยะเวลาของการคำนวณนี้ (รวมทุกช่วง) ผลรวม 0 ปี 0 เดือน 45 วัน (45 วัน เป็น 1 เดือน 15 วัน) = 0 ปี 1 เดือน 15 วัน",
            "ช่วงที่ 1 สิ้นสุดก่อน 17/10/2550 จึงไม่นับระยะเวลา (นับเฉพาะจำนวนวัน)",
            "จำนวนวันทั้งหมด 300 วัน ตั้งแต่ 120 วันแต่ไม่ถึง 365 วัน: ได้ 1 เท่า",
            ">> 120  วัน    ไม่ครบ   12  เดือน  ได้  1 เท่า   << ใช้แถวนี้", "ไม่มีจำนวนเดือนทั้งสองฝ่าย จึงไม่มีการแบ่งจำนวนเงิน",
            "1 2 ก 17/10/2550 30/09/2550 400 0 0 0 0 0"})
        EXPECT_TRUE(all.contains(QString::fromUtf8(text))) << text << "\n" << all.toStdString();
    EXPECT_FALSE(all.contains(QStringLiteral("ช่วงที่ 2 เริ่มงานก่อน")));
    // no saved calculation: no annex page
    EXPECT_TRUE(print::buildAnnexPages(print::AnnexDocument()).isEmpty());
}

} // namespace
