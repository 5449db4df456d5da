#include "pages/AnnexPage.h"

#include "pages/PrintedMark.h"
#include "pages/RequestPage.h"
#include "rules/AmountText.h"
#include "rules/BahtText.h"
#include "rules/ServicePeriod.h"
#include "rules/WorkHistory.h"

#include <cmath>

namespace velmora::print {

namespace {

QString Q(const std::string& text)
{
    return QString::fromStdString(text);
}

QString amount(double v)
{
    return Q(Amount_Text(v));
}

QString shortest(double v)
{
    return Q(Shortest_Number_Text(v));
}

QString service(const calc::Service& s)
{
    return QStringLiteral("%1 ปี %2 เดือน %3 วัน").arg(s.years).arg(s.months).arg(s.days);
}

// One row of the annex: a heading, a paragraph line, or a table row whose
// cells sit in the given columns (millimetres from the band's left).
struct Row
{
    enum class Kind { Heading, Text, Table, TableHead } kind = Kind::Text;
    QStringList cells;
    const QList<double>* columns = nullptr; // left edges, the last entry the right edge
    bool rightFromColumn2 = false; // figures right-aligned from the third cell on
};

const QList<double> kPeriodColumns = {0, 8, 40, 62, 84, 100, 112, 126, 140, 158, 188};
const QList<double> kEarlierColumns = {0, 8, 30, 50, 98, 110, 132, 158, 188};
const QList<double> kSplitColumns = {0, 50, 80, 110, 140, 188};

// The period's figures by the same rule the calculation used: the period from
// its stored calculation start, which is already raised to the floor date.
struct Period_Figures
{
    calc::Period_Row row;
    bool floor_applied = false; // work began before the floor date
    bool before_floor = false; // the whole period lies before the floor date
};

Period_Figures periodFigures(const SavedPeriod& p)
{
    Period_Figures f;
    const std::string begin = p.Date_B_cal.toStdString();
    const std::string end = p.Date_E_Cal.toStdString();
    const bool atFloor = begin == calc::kFloor_Date;
    f.before_floor = atFloor && calc::Days_Inclusive(begin, end) < 0;
    if (!f.before_floor)
        f.row = calc::Build_Period_Row({p.Work_Type_Code.toStdString(), p.Work_Type.toStdString(), begin, end});
    f.row.code = p.Work_Type_Code.toStdString();
    f.floor_applied = atFloor && (f.before_floor || p.Sum_Day > calc::Days_Inclusive(begin, end));
    return f;
}

// "45 วัน เป็น 1 เดือน 15 วัน" for each carry the service rule makes of a sum.
QStringList carryTexts(const calc::Service& sum)
{
    QStringList out;
    const calc::Service days = calc::Carry({0, 0, sum.days});
    if (days.months > 0)
        out << QStringLiteral("%1 วัน เป็น %2 เดือน %3 วัน").arg(sum.days).arg(days.months).arg(days.days);
    const int months = sum.months + days.months;
    const calc::Service years = calc::Carry({0, months, 0});
    if (years.years > 0)
        out << QStringLiteral("%1 เดือน เป็น %2 ปี %3 เดือน").arg(months).arg(years.years).arg(years.months);
    return out;
}

QList<Row> annexRows(const AnnexDocument& document)
{
    QList<Row> rows;
    if (!document.request.calculation)
        return rows;
    const SavedCalculation& c = *document.request.calculation;
    const auto heading = [&](const QString& text) { rows << Row {Row::Kind::Heading, {text}, nullptr, false}; };
    const auto text = [&](const QString& t) { rows << Row {Row::Kind::Text, {t}, nullptr, false}; };
    const auto table = [&](const QStringList& cells, const QList<double>& columns, bool head = false) {
        rows << Row {head ? Row::Kind::TableHead : Row::Kind::Table, cells, &columns, true};
    };

    text(QStringLiteral("ชื่อ-นามสกุล %1   SAP ID %2   หน่วยงาน %3 %4")
             .arg(c.Emp_Surname + c.Emp_F_Name + QLatin1Char(' ') + c.Emp_L_Name, c.SapID, c.Depart_Code,
                 c.Depart_Name));
    text(QStringLiteral("เดือนปีที่ขอรับเงินชดเชย %1   เหตุแห่งการออก %2   วันที่บันทึกข้อมูล %3")
             .arg(c.MMYYYY_Recieve, c.Event_Out, c.Date_Entry));

    // 1. the periods
    heading(QStringLiteral("1. ช่วงการทำงานที่คำนวณ (นับวันรวมวันแรกและวันสุดท้าย; งานก่อน %1 ไม่นับระยะเวลา)")
                .arg(QLatin1String(calc::kFloor_Date)));
    table({QStringLiteral("ที่"), QStringLiteral("ประเภท"), QStringLiteral("เริ่มคำนวณ"), QStringLiteral("สิ้นสุด"),
              QStringLiteral("จำนวนวัน"), QStringLiteral("ปี"), QStringLiteral("เดือน"), QStringLiteral("วัน"),
              QStringLiteral("เดือนเต็ม"), QStringLiteral("จำนวนเดือน")},
        kPeriodColumns, true);
    calc::Service sum;
    std::vector<calc::Period_Row> periodRows;
    QStringList notes;
    double totalWeight = 0;
    int n = 0;
    for (const SavedPeriod& p : document.request.periods) {
        ++n;
        const Period_Figures f = periodFigures(p);
        periodRows.push_back(f.row);
        sum.years += f.row.years;
        sum.months += f.row.months;
        sum.days += f.row.days;
        totalWeight += p.Sum_Month_Weight;
        const bool counted = !f.before_floor && f.row.error.empty();
        table({QString::number(n), p.Work_Type_Code + QLatin1Char(' ') + p.Work_Type, p.Date_B_cal, p.Date_E_Cal,
                  QString::number(p.Sum_Day), counted ? Q(f.row.years_text) : QStringLiteral("0"),
                  counted ? Q(f.row.months_text) : QStringLiteral("0"),
                  counted ? Q(f.row.days_text) : QStringLiteral("0"), QString::number(p.Sum_Month),
                  shortest(p.Sum_Month_Weight)},
            kPeriodColumns);
        if (f.before_floor)
            notes << QStringLiteral("ช่วงที่ %1 สิ้นสุดก่อน %2 จึงไม่นับระยะเวลา (นับเฉพาะจำนวนวัน)")
                         .arg(n)
                         .arg(QLatin1String(calc::kFloor_Date));
        else if (f.floor_applied)
            notes << QStringLiteral("ช่วงที่ %1 เริ่มงานก่อน %2 จึงเริ่มนับระยะเวลาที่ %2; จำนวน %3 วันนับจากวันเริ่มงานเดิม")
                         .arg(n)
                         .arg(QLatin1String(calc::kFloor_Date))
                         .arg(p.Sum_Day);
    }
    table({QString(), QString(), QString(), QString(), QString(), QString(), QString(), QString(),
              QStringLiteral("รวม"), amount(totalWeight)},
        kPeriodColumns);
    for (const QString& note : notes)
        text(note);
    text(QStringLiteral("เดือนเต็ม = ปี × 12 + เดือน และอีก 1 เมื่อวันเกิน 15; จำนวนเดือนคิดเศษของเดือนเป็นทศนิยม 2 ตำแหน่ง"));

    // 2. the span
    heading(QStringLiteral("2. ช่วงคำนวณ"));
    const Year_Month_Day_Result span =
        Try_Cal_Year_Month_Day(c.Date_Beg_Cal.toStdString(), c.Date_End_Cal.toStdString());
    QString spanText = QStringLiteral("วันที่เริ่มคำนวณ %1 ถึงวันที่ %2 จำนวนวันทั้งหมด %3 วัน")
                           .arg(c.Date_Beg_Cal, c.Date_End_Cal)
                           .arg(c.Total_Day);
    if (span.ok() && span.text.size() == 8)
        spanText += QStringLiteral(" (%1 ปี %2 เดือน %3 วัน)")
                        .arg(Q(span.text.substr(0, 4)), Q(span.text.substr(4, 2)), Q(span.text.substr(6, 2)));
    text(spanText);

    // 3. service
    heading(QStringLiteral("3. ระยะเวลาปฎิบัติงาน"));
    std::vector<calc::Earlier_Row> earlierRows;
    for (const EarlierPayment& e : document.request.earlier) {
        calc::Earlier_Record r;
        r.sapid = e.SapID.toStdString();
        r.request_month = e.MMYYYY_Recieve.toStdString();
        r.depart_code = e.Depart_Code.toStdString();
        r.depart_name = e.Depart_Name.toStdString();
        r.start = e.Date_Beg_Cal.toStdString();
        r.end = e.Date_End_Cal.toStdString();
        r.total_days = e.Total_Day;
        r.years = e.No_Year;
        r.months = e.No_Month;
        r.days = e.No_Day;
        r.multiplier = e.N_T;
        r.last_salary = e.Last_Salary;
        r.paid_before = e.His_Rec_Money;
        r.net = e.Net_Money_Recieve;
        calc::Earlier_Row row = calc::Build_Earlier_Rows({r}).front();
        row.number = e.N_Order;
        earlierRows.push_back(row);
    }
    const calc::Service_Totals totals = calc::Compute_Service_Totals(periodRows, earlierRows);
    const auto carried = [&](const QString& label, const calc::Service& raw, const calc::Service& result) {
        QString line = label + QStringLiteral(" ผลรวม ") + service(raw);
        const QStringList carries = carryTexts(raw);
        if (!carries.isEmpty())
            line += QStringLiteral(" (") + carries.join(QStringLiteral(", ")) + QStringLiteral(")");
        line += QStringLiteral(" = ") + service(result);
        text(line);
    };
    carried(QStringLiteral("ระยะเวลาของการคำนวณนี้ (รวมทุกช่วง)"), sum, totals.current);
    calc::Service earlierSum;
    for (const calc::Earlier_Row& e : earlierRows) {
        earlierSum.years += e.record.years;
        earlierSum.months += e.record.months;
        earlierSum.days += e.record.days;
    }
    carried(QStringLiteral("ระยะเวลาที่เคยรับเงินชดเชย"), earlierSum, totals.earlier);
    const calc::Service both {totals.earlier.years + totals.current.years,
        totals.earlier.months + totals.current.months, totals.earlier.days + totals.current.days};
    carried(QStringLiteral("รวมระยะเวลาที่ต้องนำไปคำนวณ เงินชดเชย"), both, totals.total);
    text(QStringLiteral("(วันเกิน 30 วันปัดเป็นเดือนละ 30 วัน เดือนเกิน 11 เดือนปัดเป็นปีละ 12 เดือน)"));

    // 4. the multiplier
    heading(QStringLiteral("4. จำนวนเท่าของเงินเดือน"));
    text(QStringLiteral("ไม่ถึง 120 วัน ได้ 0 เท่า; ตั้งแต่ 120 วันแต่ไม่ถึง 365 วัน ได้ 1 เท่า; ตั้งแต่ 365 วันขึ้นไป "
                        "ใช้ตารางตามจำนวนปีรวม"));
    const int years = totals.total.years;
    const int chosen = calc::Choose_Multiplier(c.Total_Day, years, document.brackets);
    if (c.Total_Day < 120)
        text(QStringLiteral("จำนวนวันทั้งหมด %1 วัน ไม่ถึง 120 วัน: ได้ 0 เท่า").arg(c.Total_Day));
    else if (c.Total_Day < 365)
        text(QStringLiteral("จำนวนวันทั้งหมด %1 วัน ตั้งแต่ 120 วันแต่ไม่ถึง 365 วัน: ได้ 1 เท่า").arg(c.Total_Day));
    else
        text(QStringLiteral("จำนวนวันทั้งหมด %1 วัน ตั้งแต่ 365 วันขึ้นไป: ใช้ตารางกับจำนวนปีรวม %2 ปี").arg(c.Total_Day).arg(years));
    int chosenRow = -1;
    if (c.Total_Day >= 365)
        for (std::size_t i = 0; i < document.brackets.size(); ++i)
            if (years >= document.brackets[i].from_years && years < document.brackets[i].to_years)
                chosenRow = static_cast<int>(i); // the last matching row wins, as in the calculation
    const std::vector<std::string> bracketLines = calc::Bracket_List_Lines(document.brackets);
    for (std::size_t i = 0; i < bracketLines.size(); ++i) {
        const bool mark =
            (i == 0 && c.Total_Day >= 120 && c.Total_Day < 365) || (i > 0 && static_cast<int>(i) - 1 == chosenRow);
        text((mark ? QStringLiteral(">> ") : QStringLiteral("     ")) + Q(bracketLines[i])
            + (mark ? QStringLiteral("   << ใช้แถวนี้") : QString()));
    }
    text(QStringLiteral("จำนวนเท่า ของเงินชดเชยได้ %1 เท่า").arg(c.N_T));
    if (chosen != c.N_T)
        text(QStringLiteral("หมายเหตุ: ตารางปัจจุบันให้ %1 เท่า ต่างจากที่บันทึกไว้ (ตารางถูกแก้ไขหลังการบันทึก)").arg(chosen));

    // 5. the money
    heading(QStringLiteral("5. เงินชดเชย"));
    text(QStringLiteral("เงินเดือนสุดท้าย %1 บาท × %2 เท่า = %3 บาท")
             .arg(amount(c.Last_Salary))
             .arg(c.N_T)
             .arg(amount(c.N_T * c.Last_Salary)));
    if (document.request.earlier.isEmpty()) {
        text(QStringLiteral("ไม่มีประวัติการรับเงินชดเชย: หัก 0.00 บาท"));
    } else {
        text(QStringLiteral("เงินชดเชยที่เคยได้รับ:"));
        table({QStringLiteral("ครั้ง"), QStringLiteral("SAP ID"), QStringLiteral("เดือนปี"), QStringLiteral("ระยะเวลา"),
                  QStringLiteral("เท่า"), QStringLiteral("เงินเดือน"), QStringLiteral("เงินชดเชย"),
                  QStringLiteral("ได้รับสุทธิ")},
            kEarlierColumns, true);
        for (const calc::Earlier_Row& e : earlierRows)
            table({QString::number(e.number), Q(e.record.sapid), Q(e.record.request_month),
                      service({e.record.years, e.record.months, e.record.days}), QString::number(e.record.multiplier),
                      Q(e.last_salary_text), Q(e.compensation_text), Q(e.net_text)},
                kEarlierColumns);
        const calc::Earlier_Row& last = earlierRows.back();
        text(QStringLiteral("หักเฉพาะครั้งล่าสุด (ครั้งที่ %1 SAP ID %2 เดือน %3) %4 บาท")
                 .arg(last.number)
                 .arg(Q(last.record.sapid), Q(last.record.request_month), amount(c.His_Rec_Money)));
        text(QStringLiteral("เพราะระยะเวลาของทุกครั้งก่อนถูกนับรวมในการคำนวณครั้งนี้แล้ว และเงินครั้งล่าสุดก็คำนวณจาก"
                            "ระยะเวลาที่รวมครั้งก่อน ๆ ไว้แล้ว"));
    }
    text(QStringLiteral("เงินชดเชยสุทธิ = %1 - %2 = %3 บาท")
             .arg(amount(c.N_T * c.Last_Salary), amount(c.His_Rec_Money), amount(c.Net_Money_Recieve)));

    // 6. the split
    heading(QStringLiteral("6. อัตราส่วนระหว่างส่วนงานและมหาวิทยาลัย"));
    table({QString(), QStringLiteral("จำนวนวัน"), QStringLiteral("จำนวนเดือน"), QStringLiteral("อัตราส่วน(%)"),
              QStringLiteral("จำนวนเงิน")},
        kSplitColumns, true);
    const Split s = splitNet(c.Fact_Month_Weigth, c.Kv_Month_Weight, c.Net_Money_Recieve);
    table({QStringLiteral("ส่วนงาน"), QString::number(c.Fact_No_Date), shortest(c.Fact_Month_Weigth),
              shortest(c.Fact_Per_Cent), amount(s.fact)},
        kSplitColumns);
    table({QStringLiteral("มหาวิทยาลัยกาวิลัน"), QString::number(c.KV_No_Date), shortest(c.Kv_Month_Weight),
              shortest(c.KV_Per_Cent), amount(s.kv)},
        kSplitColumns);
    table({QStringLiteral("รวมทั้งสิ้น"), QString::number(c.Fact_No_Date + c.KV_No_Date),
              shortest(c.Fact_Month_Weigth + c.Kv_Month_Weight), QString(), amount(s.fact + s.kv)},
        kSplitColumns);
    if (s.defined)
        text(QStringLiteral("จำนวนเงินของแต่ละฝ่าย = เงินชดเชยสุทธิ × จำนวนเดือนของฝ่าย ÷ จำนวนเดือนรวม %1")
                 .arg(shortest(c.Fact_Month_Weigth + c.Kv_Month_Weight)));
    else
        text(QStringLiteral("ไม่มีจำนวนเดือนทั้งสองฝ่าย จึงไม่มีการแบ่งจำนวนเงิน"));

    heading(QStringLiteral("จำนวนเงินที่ได้รับสุทธิ %1 บาท (%2)")
                .arg(amount(c.Net_Money_Recieve), Q(Baht_Text(c.Net_Money_Recieve))));

    // the second pair of eyes: who saved, who checked
    const checks::CheckRow& k = document.check;
    const auto who = [](const QString& name, const QString& when) {
        return name.isEmpty() ? QStringLiteral("-")
            : when.isEmpty()  ? name
                              : name + QStringLiteral(" (") + when + QLatin1Char(')');
    };
    text(QStringLiteral("ผู้บันทึก %1   ผู้ตรวจสอบ %2")
             .arg(who(k.savedBy, k.savedAt),
                 k.state == checks::State::Checked ? who(k.checkedBy, k.checkedAt)
                                                   : checks::shownState(k, document.fourEyes)));
    return rows;
}

constexpr double kTitleSize = 18;
constexpr double kTextSize = 13;
constexpr double kTableSize = 12;
constexpr double kBottom = 270; // the band ends at 277 mm; the last line stays above

} // namespace

QStringList annexLines(const AnnexDocument& document)
{
    QStringList lines;
    for (const Row& r : annexRows(document))
        lines << r.cells.join(QLatin1Char(' '));
    return lines;
}

QList<PageLayout> buildAnnexPages(const AnnexDocument& document)
{
    QList<PageLayout> pages;
    const QList<Row> rows = annexRows(document);
    if (rows.isEmpty())
        return pages;
    const QString sapId = document.request.calculation->SapID;
    int counter = 0;
    const auto name = [&counter] { return QStringLiteral("annex%1").arg(++counter); };
    PageLayout page;
    double y = 0;
    const auto newPage = [&] {
        if (!page.items.isEmpty())
            pages << page;
        page = PageLayout();
        page.marginsMm = QMarginsF(10.0, 10.0, 10.0, 10.0);
        const QString title = pages.isEmpty() ? QStringLiteral("เอกสารแนบการคำนวณเงินชดเชย")
                                              : QStringLiteral("เอกสารแนบการคำนวณเงินชดเชย (ต่อ) SAP ID ") + sapId;
        page.items << Item::label(QStringLiteral("lblAnnexTitle"), 0, 0, 190, kTitleSize, title, Align::Center, true);
        y = lineHeightMm(kTitleSize) + 2;
        page.items << Item::line(QStringLiteral("AnnexTitleRule"), 0, y - 1, 190, y - 1, 0.3);
    };
    newPage();
    for (const Row& r : rows) {
        const double size = r.kind == Row::Kind::Heading ? kTextSize
            : r.kind == Row::Kind::Text                  ? kTextSize
                                                         : kTableSize;
        const double height = lineHeightMm(size) + (r.kind == Row::Kind::Heading ? 2 : 0.4);
        if (y + height > kBottom)
            newPage();
        if (r.kind == Row::Kind::Heading) {
            y += 1.5;
            page.items << Item::label(name(), 0, y, 190, size, r.cells.value(0), Align::Left, true);
        } else if (r.kind == Row::Kind::Text) {
            page.items << Item::label(name(), 2, y, 188, size, r.cells.value(0));
        } else {
            const QList<double>& cols = *r.columns;
            for (int i = 0; i < r.cells.size() && i + 1 < cols.size(); ++i) {
                const bool right = r.kind == Row::Kind::Table && i >= 2;
                page.items << Item::label(name(), cols[i] + 0.8, y, cols[i + 1] - cols[i] - 1.6, size, r.cells[i],
                    r.kind == Row::Kind::TableHead ? Align::Center : (right ? Align::Right : Align::Left),
                    r.kind == Row::Kind::TableHead);
            }
            if (r.kind == Row::Kind::TableHead)
                page.items << Item::line(name(), cols.first(), y + height, cols.last(), y + height, 0.2);
        }
        y += height;
    }
    pages << page;
    for (PageLayout& p : pages)
        addPrintedMark(p, document.request.printed);
    return pages;
}

QList<PageLayout> buildCalculationPrint(const AnnexDocument& document)
{
    QList<PageLayout> pages {buildRequestPage(document.request)};
    pages << buildAnnexPages(document);
    return pages;
}

} // namespace velmora::print
