#include "pages/RequestPage.h"

#include "pages/PrintedMark.h"

#include "rules/AmountText.h"
#include "rules/FundSourceRules.h"
#include "rules/ServicePeriod.h"
#include "rules/Utility.h"

namespace velmora::print {

namespace {

using VF = ValueFormat;

constexpr double kTable = 12; // table cells and headings
constexpr double kText = 14; // everything else
constexpr double kPad = 0.8; // a cell's text keeps this far from its rules

struct Column
{
    const char* name;
    double left;
    double right;
    Align align;
};

// Earlier-payment table: columns across, in millimetres of the band.
const Column kHistoryColumns[] = {
    {"Depart_Code", 3.2, 22.5, Align::Left},
    {"Date_Beg_Cal", 22.5, 40.2, Align::Left},
    {"Date_End_Cal", 40.2, 59.5, Align::Left},
    {"No_Year", 59.5, 68.8, Align::Left},
    {"No_Month", 68.8, 80.7, Align::Left},
    {"No_Day", 80.7, 94.2, Align::Left},
    {"N_T", 94.2, 105.0, Align::Left},
    {"Last_Salary", 105.0, 122.8, Align::Right},
    {"Money_Cal", 122.8, 143.9, Align::Right},
    {"His_Rec_Money", 143.9, 165.3, Align::Right},
    {"Net_Money_Recieve", 165.3, 186.6, Align::Right},
};
const double kHistoryRowTops[kHistoryRows] = {55.0, 63.5, 72.0, 80.4};

// Current periods table.
const Column kPeriodColumns[] = {
    {"Work_Type", 3.2, 89.2, Align::Left},
    {"Date_B_cal", 89.2, 106.9, Align::Left},
    {"Date_E_Cal", 106.9, 126.2, Align::Left},
    {"Years", 126.2, 137.6, Align::Left},
    {"Months", 137.6, 151.6, Align::Left},
    {"Days", 151.6, 167.2, Align::Left},
    {"Sum_Month_Weight", 167.2, 186.6, Align::Right},
};
const double kPeriodRowTops[kPeriodRows] = {122.8, 131.2, 139.7};

QString T(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

// A heading centred over the columns from `left` to `right`.
Item heading(const QString& name, double left, double right, double top, const char* text, double size = kTable)
{
    return Item::label(name, left + kPad / 2, top, right - left - kPad, size, T(text), Align::Center);
}

Item cell(const QString& name, const Column& c, double top, double size = kTable)
{
    Item i = Item::label(name, c.left + kPad, top, c.right - c.left - 2 * kPad, size, QString(), c.align);
    return i;
}

void addTitleAndEmployee(QList<Item>& items)
{
    items << Item::box(QStringLiteral("Frame"), 1.1, 8.5, 188.7, 275.5);
    // the title box is filled white over the frame's top edge
    items << Item::box(QStringLiteral("TitleBox"), 1.1, 2.1, 188.7, 14.0, 0.3, true);
    items << Item::label(
        QStringLiteral("lblTitle"), 66.7, 3.2, 56.4, 20, T("เอกสารขอรับเงินชดเชยพนักงาน"), Align::Center, true);

    items << Item::label(QStringLiteral("lblName"), 2.1, 15.9, 20.1, kText, T("ชื่อ-นามสกุล"));
    items << Item::field(QStringLiteral("Full_Name"), 22.2, 15.9, 59.5, kText, QStringLiteral("Full_Name"));
    items << Item::label(QStringLiteral("lblSapID"), 84.7, 15.9, 13.7, kText, T("SAP ID"));
    items << Item::field(QStringLiteral("SapID"), 98.4, 15.9, 29.7, kText, QStringLiteral("SapID"));
    items << Item::label(QStringLiteral("lblDate_Beg_Cal"), 128.1, 15.9, 27.5, kText, T("วันที่เริ่มปฎิบัติงาน"));
    items << Item::field(QStringLiteral("Date_Beg_Cal"), 155.6, 15.9, 33.1, kText, QStringLiteral("Date_Beg_Cal"));

    items << Item::label(QStringLiteral("lblDepart"), 2.1, 24.3, 18.0, kText, T("หน่วยงาน"));
    items << Item::field(QStringLiteral("Depart_Name"), 20.1, 24.3, 108.0, kText, QStringLiteral("Depart_Name"));
    items << Item::label(QStringLiteral("lblDate_End_Cal"), 128.1, 24.3, 24.3, kText, T("วันที่ครบสัญญา"));
    items << Item::field(QStringLiteral("Date_End_Cal"), 152.4, 24.3, 36.3, kText, QStringLiteral("Date_End_Cal"));
}

void addHistory(QList<Item>& items)
{
    items << Item::box(QStringLiteral("HistoryBox"), 1.1, 31.8, 188.7, 98.7);
    items << Item::label(QStringLiteral("lblHistory"), 2.1, 32.8, 80.0, kText, T("ประวัติการรับเงินชดเชย"));

    const double top = 40.2, headBottom = 54.0, bottom = 96.6, mid = 47.1;
    items << Item::box(QStringLiteral("HistoryTable"), 3.2, top, 186.6, bottom);
    for (double y : {54.0, 62.4, 70.9, 79.4, 87.8})
        items << Item::line(QStringLiteral("HistoryRule%1").arg(y), 3.2, y, 186.6, y);
    // the spanning headings ("วันที่", "ระยะเวลาปฎิบัติงาน") sit over a half rule
    items << Item::line(QStringLiteral("HistoryHeadRule"), 22.5, mid, 94.2, mid);
    for (const Column& c : kHistoryColumns) {
        if (c.left <= 3.2)
            continue;
        const bool sub = c.left == 40.2 || c.left == 68.8 || c.left == 80.7;
        items << Item::line(QStringLiteral("HistoryCol%1").arg(c.left), c.left, sub ? mid : top, c.left, bottom);
    }

    const double line1 = 41.0, line2 = 47.8, single = 44.4;
    items << heading(QStringLiteral("hHist_Depart_Code"), 3.2, 22.5, single, "รหัสหน่วยงาน");
    items << heading(QStringLiteral("hHist_Date"), 22.5, 59.5, line1, "วันที่");
    items << heading(QStringLiteral("hHist_Date_Beg_Cal"), 22.5, 40.2, line2, "เริ่มปฎิบัติงาน");
    items << heading(QStringLiteral("hHist_Date_End_Cal"), 40.2, 59.5, line2, "ครบสัญญา");
    items << heading(QStringLiteral("hHist_Service"), 59.5, 94.2, line1, "ระยะเวลาปฎิบัติงาน");
    items << heading(QStringLiteral("hHist_No_Year"), 59.5, 68.8, line2, "ปี");
    items << heading(QStringLiteral("hHist_No_Month"), 68.8, 80.7, line2, "เดือน");
    items << heading(QStringLiteral("hHist_No_Day"), 80.7, 94.2, line2, "วัน");
    items << heading(QStringLiteral("hHist_N_T1"), 94.2, 105.0, line1, "จำนวน");
    items << heading(QStringLiteral("hHist_N_T2"), 94.2, 105.0, line2, "เท่า");
    items << heading(QStringLiteral("hHist_Last_Salary1"), 105.0, 122.8, line1, "เงินเดือน");
    items << heading(QStringLiteral("hHist_Last_Salary2"), 105.0, 122.8, line2, "เดือนสุดท้าย");
    items << heading(QStringLiteral("hHist_Money_Cal1"), 122.8, 143.9, line1, "เงินชดเชย");
    items << heading(QStringLiteral("hHist_Money_Cal2"), 122.8, 143.9, line2, "ที่คำนวณได้");
    items << heading(QStringLiteral("hHist_His_Rec_Money1"), 143.9, 165.3, line1, "ประวัติรับ");
    items << heading(QStringLiteral("hHist_His_Rec_Money2"), 143.9, 165.3, line2, "เงินชดเชย");
    items << heading(QStringLiteral("hHist_Net1"), 165.3, 186.6, line1, "จำนวนเงิน");
    items << heading(QStringLiteral("hHist_Net2"), 165.3, 186.6, line2, "ได้รับสุทธิ");
    Q_UNUSED(headBottom);

    for (int r = 0; r < kHistoryRows; ++r)
        for (const Column& c : kHistoryColumns)
            items << cell(QStringLiteral("Hist%1_%2").arg(r + 1).arg(QLatin1String(c.name)), c, kHistoryRowTops[r]);
}

void addCurrent(QList<Item>& items)
{
    items << Item::label(QStringLiteral("lblCurrent"), 2.1, 99.5, 40.0, kText, T("ปัจจุบัน"));

    const double top = 106.9, rowsBottom = 148.2, bottom = 156.9, mid = 114.3;
    items << Item::box(QStringLiteral("CurrentTable"), 3.2, top, 186.6, bottom);
    for (double y : {121.7, 130.2, 138.6, 148.2})
        items << Item::line(QStringLiteral("CurrentRule%1").arg(y), 3.2, y, 186.6, y);
    items << Item::line(QStringLiteral("CurrentHeadRule"), 126.2, mid, 167.2, mid);
    for (const Column& c : kPeriodColumns) {
        if (c.left <= 3.2)
            continue;
        const bool sub = c.left == 137.6 || c.left == 151.6;
        items << Item::line(QStringLiteral("CurrentCol%1").arg(c.left), c.left, sub ? mid : top, c.left, rowsBottom);
    }

    const double line1 = 107.8, line2 = 114.9;
    items << heading(QStringLiteral("hCur_Work_Type"), 3.2, 89.2, 111.0, "ประเภทบุคคลากร", kText);
    items << heading(QStringLiteral("hCur_Date_B_cal"), 89.2, 106.9, 111.6, "เริ่มปฎิบัติงาน");
    items << heading(QStringLiteral("hCur_Date_E_Cal"), 106.9, 126.2, 111.6, "วันที่ครบ");
    items << heading(QStringLiteral("hCur_Service"), 126.2, 167.2, line1, "ระยะเวลาปฎิบัติงาน");
    items << heading(QStringLiteral("hCur_Years"), 126.2, 137.6, line2, "ปี");
    items << heading(QStringLiteral("hCur_Months"), 137.6, 151.6, line2, "เดือน");
    items << heading(QStringLiteral("hCur_Days"), 151.6, 167.2, line2, "วัน");
    items << heading(QStringLiteral("hCur_Sum_Month_Weight1"), 167.2, 186.6, line1, "จำนวนเดือน");
    items << heading(QStringLiteral("hCur_Sum_Month_Weight2"), 167.2, 186.6, line2, "ทั้งสิ้น");

    for (int r = 0; r < kPeriodRows; ++r)
        for (const Column& c : kPeriodColumns) {
            const bool typeName = QLatin1String(c.name) == QLatin1String("Work_Type");
            items << cell(QStringLiteral("Cur%1_%2").arg(r + 1).arg(QLatin1String(c.name)), c, kPeriodRowTops[r],
                typeName ? kText : kTable);
        }

    items << Item::label(QStringLiteral("lblTotal_Month"), 151.3, 149.2, 15.9, kText, T("รวม"));
    items << Item::label(
        QStringLiteral("Sum_Month_Total"), 172.5, 149.2, 186.6 - kPad - 172.5, kTable, QString(), Align::Right);
}

void addSummary(QList<Item>& items)
{
    items << Item::line(QStringLiteral("SummaryRule"), 1.1, 157.7, 188.7, 157.7);

    items << Item::label(QStringLiteral("lblSummary"), 2.1, 160.9, 47.0, kText, T("สรุป"));
    items << Item::label(QStringLiteral("lblEvent_Out"), 49.7, 159.8, 24.4, kText, T("เหตุแห่งการออก"));
    items << Item::field(QStringLiteral("Event_Out"), 74.1, 159.8, 65.6, kText, QStringLiteral("Event_Out"));
    items << Item::label(QStringLiteral("lblDate_Entry"), 139.7, 159.8, 25.4, kText, T("วันที่บันทึกข้อมูล"));
    items << Item::field(QStringLiteral("Date_Entry"), 165.1, 159.8, 23.6, kText, QStringLiteral("Date_Entry"));

    const double y2 = 168.3;
    items << Item::label(QStringLiteral("lblService"), 6.3, y2, 33.9, kText, T("รวมระยะเวลาปฎิบัติงาน"));
    items << Item::field(
        QStringLiteral("No_Year"), 40.2, y2, 7.7, kText, QStringLiteral("No_Year"), VF::AsIs, Align::Center);
    items << Item::label(QStringLiteral("lblYear"), 48.7, y2, 4.2, kText, T("ปี"));
    items << Item::field(
        QStringLiteral("No_Month"), 52.9, y2, 7.7, kText, QStringLiteral("No_Month"), VF::AsIs, Align::Center);
    items << Item::label(QStringLiteral("lblMonth"), 63.5, y2, 8.5, kText, T("เดือน"));
    items << Item::field(
        QStringLiteral("No_Day"), 72.0, y2, 7.7, kText, QStringLiteral("No_Day"), VF::AsIs, Align::Center);
    items << Item::label(QStringLiteral("lblDay"), 80.4, y2, 13.8, kText, T("วัน"));
    items << Item::label(QStringLiteral("lblN_T"), 94.2, y2, 43.4, kText, T("ได้จำนวนเท่าของเงินเดือนคือ"));
    items << Item::field(QStringLiteral("N_T"), 137.6, y2, 7.7, kText, QStringLiteral("N_T"), VF::AsIs, Align::Center);
    items << Item::label(QStringLiteral("lblTimes"), 147.1, y2, 12.0, kText, T("เท่า"));

    const double y3 = 175.7;
    items << Item::label(QStringLiteral("lblLast_Salary"), 6.3, y3, 30.7, kText, T("เงินเดือนเดือนสุดท้าย"));
    items << Item::field(QStringLiteral("Last_Salary"), 37.0, y3, 22.5, kText, QStringLiteral("Last_Salary"),
        VF::MoneyMask, Align::Right);
    items << Item::label(QStringLiteral("lblBaht1"), 63.5, y3, 10.0, kText, T("บาท"));
    items << Item::label(QStringLiteral("lblMoney_Cal"), 94.2, y3, 37.0, kText, T("คำนวณเงินชดเชยที่ได้"));
    items << Item::field(
        QStringLiteral("Money_Cal"), 131.2, y3, 41.5, kText, QStringLiteral("Money_Cal"), VF::MoneyMask, Align::Right);
    items << Item::label(QStringLiteral("lblBaht2"), 176.7, 174.6, 10.0, kText, T("บาท"));

    const double y4 = 183.1;
    items << Item::label(QStringLiteral("lblHis_Rec_Money"), 6.3, y4, 30.7, kText, T("เงินชดเชยที่เคยได้รับ"));
    items << Item::field(QStringLiteral("His_Rec_Money"), 37.0, y4, 22.5, kText, QStringLiteral("His_Rec_Money"),
        VF::MoneyMask, Align::Right);
    items << Item::label(QStringLiteral("lblBaht3"), 62.4, y4, 9.6, kText, T("บาท"));
    items << Item::label(
        QStringLiteral("lblNet"), 72.0, y4, 75.1, kText, T("เงินชดเชยสุทธิที่ได้รับ(เงินชดเชย-เงินชดเชยที่เคยได้รับ)"));
    items << Item::field(QStringLiteral("Net_Money_Recieve"), 147.1, y4, 27.8, kText,
        QStringLiteral("Net_Money_Recieve"), VF::MoneyMask, Align::Right);
    items << Item::label(QStringLiteral("lblBaht4"), 177.8, y4, 10.0, kText, T("บาท"));
}

void addSplit(QList<Item>& items)
{
    items << Item::label(QStringLiteral("lblSplit"), 2.1, 190.5, 40.0, kText, T("อัตราส่วน"));
    items << Item::box(QStringLiteral("SplitTable"), 5.3, 201.1, 179.1, 240.5);
    items << Item::line(QStringLiteral("SplitCol"), 113.2, 201.1, 113.2, 240.5);
    for (double y : {210.6, 220.1, 229.7})
        items << Item::line(QStringLiteral("SplitRule%1").arg(y), 5.3, y, 179.1, y);
    items << Item::label(QStringLiteral("lblSplitAmount"), 143.9, 202.1, 35.0, kText, T("จำนวนเงิน"));
    items << Item::label(QStringLiteral("lblFact"), 8.5, 211.7, 104.0, kText, T("ส่วนงาน"));
    items << Item::field(QStringLiteral("Fact_Share"), 136.5, 211.7, 36.2, kText, QStringLiteral("Fact_Share"),
        VF::MoneyMask, Align::Right);
    items << Item::label(QStringLiteral("lblKv"), 7.4, 221.2, 105.0, kText, T("มหาวิทยาลัยกาวิลัน"));
    items << Item::field(
        QStringLiteral("Kv_Share"), 136.5, 221.2, 36.2, kText, QStringLiteral("Kv_Share"), VF::MoneyMask, Align::Right);
    items << Item::label(QStringLiteral("lblTotal_Share"), 94.2, 230.7, 18.5, kText, T("รวมทั้งสิ้น"));
    items << Item::field(QStringLiteral("Total_Share"), 136.5, 230.7, 36.2, kText, QStringLiteral("Total_Share"),
        VF::MoneyMask, Align::Right);
}

QString amountText(double v)
{
    return QString::fromStdString(Amount_Text(v));
}

} // namespace

Split splitNet(double factMonths, double kvMonths, double net)
{
    const Net_Split s = Split_Net(factMonths, kvMonths, net);
    return Split {s.fact, s.kv, s.defined};
}

PageLayout requestPageLayout()
{
    PageLayout layout;
    layout.marginsMm = QMarginsF(10.0, 10.0, 10.0, 10.0);
    addTitleAndEmployee(layout.items);
    addHistory(layout.items);
    addCurrent(layout.items);
    addSummary(layout.items);
    addSplit(layout.items);
    return layout;
}

DataRow requestDataRow(const SavedCalculation& c)
{
    DataRow row;
    row[QStringLiteral("SapID")] = c.SapID;
    row[QStringLiteral("Emp_Surname")] = c.Emp_Surname;
    row[QStringLiteral("Emp_F_Name")] = c.Emp_F_Name;
    row[QStringLiteral("Emp_L_Name")] = c.Emp_L_Name;
    row[QStringLiteral("Full_Name")] = QString::fromStdString(
        Full_Name(c.Emp_Surname.toStdString(), c.Emp_F_Name.toStdString(), c.Emp_L_Name.toStdString()));
    row[QStringLiteral("Date_Beg_Cal")] = c.Date_Beg_Cal;
    row[QStringLiteral("Date_End_Cal")] = c.Date_End_Cal;
    row[QStringLiteral("Date_Entry")] = c.Date_Entry;
    row[QStringLiteral("Depart_Code")] = c.Depart_Code;
    row[QStringLiteral("Depart_Name")] = c.Depart_Name;
    row[QStringLiteral("Event_Out")] = c.Event_Out;
    row[QStringLiteral("Total_Day")] = c.Total_Day;
    row[QStringLiteral("No_Year")] = c.No_Year;
    row[QStringLiteral("No_Month")] = c.No_Month;
    row[QStringLiteral("No_Day")] = c.No_Day;
    row[QStringLiteral("N_T")] = c.N_T;
    row[QStringLiteral("Last_Salary")] = c.Last_Salary;
    row[QStringLiteral("Money_Cal")] = c.N_T * c.Last_Salary;
    row[QStringLiteral("His_Rec_Money")] = c.His_Rec_Money;
    row[QStringLiteral("Net_Money_Recieve")] = c.Net_Money_Recieve;
    row[QStringLiteral("Fact_Month_Weigth")] = c.Fact_Month_Weigth;
    row[QStringLiteral("Kv_Month_Weight")] = c.Kv_Month_Weight;
    const Split s = splitNet(c.Fact_Month_Weigth, c.Kv_Month_Weight, c.Net_Money_Recieve);
    row[QStringLiteral("Fact_Share")] = s.fact;
    row[QStringLiteral("Kv_Share")] = s.kv;
    row[QStringLiteral("Total_Share")] = s.fact + s.kv;
    return row;
}

void fillRequestSetItems(PageLayout& layout, const QList<EarlierPayment>& earlier, const QList<SavedPeriod>& periods)
{
    // every set item starts empty, so nothing of an earlier print stays
    for (Item& i : layout.items)
        if (i.kind == Item::Kind::Text && i.column.isEmpty()
            && (i.name.startsWith(QLatin1String("Hist")) || i.name.startsWith(QLatin1String("Cur"))
                || i.name == QLatin1String("Sum_Month_Total")))
            i.text.clear();

    // only the first two earlier payments are printed; rows 3 and 4 stay empty
    for (int r = 0; r < kHistoryPrinted && r < earlier.size(); ++r) {
        const EarlierPayment& e = earlier.at(r);
        auto set = [&](const char* column, const QString& text) {
            layout.setText(QStringLiteral("Hist%1_%2").arg(r + 1).arg(QLatin1String(column)), text);
        };
        set("Depart_Code", e.Depart_Code);
        set("Date_Beg_Cal", e.Date_Beg_Cal);
        set("Date_End_Cal", e.Date_End_Cal);
        set("No_Year", QString::number(e.No_Year));
        set("No_Month", QString::number(e.No_Month));
        set("No_Day", QString::number(e.No_Day));
        set("N_T", QString::number(e.N_T));
        set("Last_Salary", amountText(e.Last_Salary));
        set("Money_Cal", amountText(e.N_T * e.Last_Salary));
        set("His_Rec_Money", amountText(e.His_Rec_Money));
        set("Net_Money_Recieve", amountText(e.Net_Money_Recieve));
    }

    // the first three periods are printed; the total adds every period
    double total = 0;
    for (qsizetype r = 0; r < periods.size(); ++r) {
        const SavedPeriod& p = periods.at(r);
        total += p.Sum_Month_Weight;
        if (r >= kPeriodRows)
            continue;
        auto set = [&](const char* column, const QString& text) {
            layout.setText(QStringLiteral("Cur%1_%2").arg(r + 1).arg(QLatin1String(column)), text);
        };
        set("Work_Type", p.Work_Type);
        set("Date_B_cal", p.Date_B_cal);
        set("Date_E_Cal", p.Date_E_Cal);
        // a period whose dates cannot be counted (an end before its start)
        // leaves its years, months and days empty rather than print a false length
        const Year_Month_Day_Result ymd =
            Try_Cal_Year_Month_Day(p.Date_B_cal.toStdString(), p.Date_E_Cal.toStdString());
        if (ymd.ok() && ymd.text.size() == 8) {
            set("Years", QString::fromStdString(ymd.text.substr(0, 4)));
            set("Months", QString::fromStdString(ymd.text.substr(4, 2)));
            set("Days", QString::fromStdString(ymd.text.substr(6, 2)));
        }
        set("Sum_Month_Weight", QString::fromStdString(Shortest_Number_Text(p.Sum_Month_Weight)));
    }
    layout.setText(QStringLiteral("Sum_Month_Total"), amountText(total));
}

PageLayout buildRequestPage(const RequestDocument& document)
{
    PageLayout layout = requestPageLayout();
    fillRequestSetItems(layout, document.earlier, document.periods);
    if (!document.calculation)
        return bindPage(layout, std::nullopt);
    const SavedCalculation& c = *document.calculation;
    PageLayout page = bindPage(layout, requestDataRow(c));
    // no split is defined when both month weights are 0: the shares print as
    // 0.00 instead of a division by zero
    if (!splitNet(c.Fact_Month_Weigth, c.Kv_Month_Weight, c.Net_Money_Recieve).defined)
        for (const char* name : {"Fact_Share", "Kv_Share", "Total_Share"})
            page.setText(QLatin1String(name), QStringLiteral("0.00"));
    addPrintedMark(page, document.printed, QStringLiteral("Frame"));
    return page;
}

} // namespace velmora::print
