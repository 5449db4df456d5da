// The outlook as the screen and the printed page show it (the table and the
// list of employees that could not be computed) and as its workbook holds it.

#include "services/OutlookService.h"

#include "rules/AmountText.h"

#include <QJsonObject>

namespace velmora::outlook {

namespace {

QString fromStd(const std::string& s)
{
    return QString::fromStdString(s);
}

} // namespace

QString Group_Caption(Outlook_Grouping by)
{
    return by == Outlook_Grouping::Department ? QStringLiteral("ส่วนงาน") : QStringLiteral("ประเภทการจ้าง");
}

QString Outlook_Title(const Outlook_Plan& plan)
{
    const QStringList labels = plan.period_labels();
    const QString span = labels.isEmpty() ? QString() : labels.first() + QStringLiteral(" ถึง ") + labels.last();
    if (plan.kind == Outlook_Kind::Age60)
        return QStringLiteral("ประมาณการเงินชดเชยพนักงานที่อายุครบ 60 ปี พ.ศ. %1 (ขึ้นเงินเดือนปีละ %2%)")
            .arg(span, fromStd(Amount_Text(plan.raise_hundredths / 100.0)));
    return QStringLiteral("ประมาณการเงินชดเชยพนักงานที่สิ้นสุดสัญญา เดือน %1").arg(span);
}

reports::ReportGrid Outlook_Grid(const Outlook_Result& r)
{
    reports::ReportGrid grid;
    const bool age60 = r.plan.kind == Outlook_Kind::Age60;
    grid.titles << QStringLiteral("ลำดับ")
                << (age60 ? QStringLiteral("ปีที่อายุครบ 60 ปี (พ.ศ.)") : QStringLiteral("เดือนที่สิ้นสุดสัญญา"));
    for (const QString& g : r.groups)
        grid.titles << g + QStringLiteral(" (คน)") << g + QStringLiteral(" (บาท)");
    grid.titles << QStringLiteral("รวม (คน)") << QStringLiteral("รวม (บาท)");
    auto cells = [](QStringList& row, const Outlook_Cell& c) {
        row << QString::number(c.count) << fromStd(Amount_Text(c.amount()));
    };
    for (int p = 0; p < r.periods.size(); ++p) {
        QStringList row {QString::number(p + 1), r.periods.at(p)};
        for (const Outlook_Cell& c : r.cells[std::size_t(p)])
            cells(row, c);
        cells(row, r.period_totals[std::size_t(p)]);
        grid.rows << row;
    }
    QStringList total {QString(), QStringLiteral("รวมทั้งสิ้น")};
    for (const Outlook_Cell& c : r.group_totals)
        cells(total, c);
    cells(total, r.grand);
    grid.rows << total;
    return grid;
}

reports::ReportGrid Refusal_Grid(const Outlook_Result& r)
{
    reports::ReportGrid grid;
    grid.titles = {QStringLiteral("ลำดับ"), QStringLiteral("SAP ID"), QStringLiteral("ชื่อ-นามสกุล"),
        Group_Caption(r.plan.by),
        r.plan.kind == Outlook_Kind::Age60 ? QStringLiteral("ปีที่อายุครบ 60 ปี") : QStringLiteral("เดือนที่สิ้นสุดสัญญา"),
        QStringLiteral("เหตุที่คำนวณไม่ได้")};
    int n = 0;
    for (const Outlook_Line& line : r.refused)
        grid.rows << QStringList {
            QString::number(++n), QLatin1Char('\'') + line.sapid, line.name, line.group, line.period, line.reason};
    if (grid.rows.isEmpty())
        grid = reports::ReportGrid::emptyResult(grid.titles);
    return grid;
}

bool Write_Outlook_Workbook(const Outlook_Result& r, const QString& path, QString* error)
{
    const reports::ReportGrid table = Outlook_Grid(r);
    const QString lastColumn = reports::columnLetters(table.columnCount());
    reports::ExportOptions o;
    o.sheetName = QString::fromUtf8(kOutlookSheet);
    o.titleRange = QStringLiteral("A1:") + lastColumn + QStringLiteral("1");
    o.title = Outlook_Title(r.plan);
    o.secondTitle =
        QStringLiteral("แยกตาม%1 %2")
            .arg(Group_Caption(r.plan.by), r.plan.department ? *r.plan.department : QStringLiteral("ทุกส่วนงาน"));
    o.lastStyledColumn = lastColumn;
    o.pageTexts = reports::PageTexts::SetB;
    o.widths = {6, 16};
    for (int c = 2; c < table.columnCount(); ++c)
        o.widths << (c % 2 == 0 ? 10 : 16);
    o.landscape = true;
    if (!r.periods.isEmpty()) {
        reports::ExportChart chart;
        chart.title = Outlook_Title(r.plan);
        chart.categoryColumn = 1;
        for (int g = 0; g < r.groups.size(); ++g) {
            chart.valueColumns << 3 + 2 * g; // the group's amount column
            chart.seriesNames << r.groups.at(g);
        }
        chart.firstRow = 0;
        chart.lastRow = int(r.periods.size()) - 1; // the grand total row stays out
        chart.categoryAxis =
            r.plan.kind == Outlook_Kind::Age60 ? QStringLiteral("ปี พ.ศ.") : QStringLiteral("เดือนที่สิ้นสุดสัญญา");
        chart.valueAxis = QStringLiteral("บาท");
        if (!chart.valueColumns.isEmpty())
            o.chart = chart;
    }

    reports::ExportOptions refused;
    refused.sheetName = QString::fromUtf8(kRefusalSheet);
    refused.titleRange = QStringLiteral("A1:F1");
    refused.title = QStringLiteral("พนักงานที่คำนวณไม่ได้ %1 คน").arg(r.refused.size());
    refused.lastStyledColumn = QStringLiteral("F");
    refused.pageTexts = reports::PageTexts::SetB;
    refused.widths = {6, 12, 28, 24, 14, 60};
    refused.landscape = true;
    return reports::exportGrids({{table, o}, {Refusal_Grid(r), refused}}, path, error);
}

QString Export_Outlook(
    const db::Database* db, const Outlook_Result& r, const reports::ExportTarget& target, QString* error)
{
    const Outlook_Plan& plan = r.plan;
    const bool age60 = plan.kind == Outlook_Kind::Age60;
    QJsonObject filters {{QStringLiteral("kind"), age60 ? QStringLiteral("age60") : QStringLiteral("contract-end")},
        {QStringLiteral("from"), r.periods.value(0)},
        {age60 ? QStringLiteral("years") : QStringLiteral("months"), plan.count},
        {QStringLiteral("by"),
            plan.by == Outlook_Grouping::Work_Type ? QStringLiteral("type") : QStringLiteral("department")},
        {QStringLiteral("refused"), static_cast<int>(r.refused.size())}};
    if (age60)
        filters.insert(QStringLiteral("raise"), QString::number(plan.raise_hundredths / 100.0, 'f', 2));
    if (plan.department)
        filters.insert(QStringLiteral("department"), *plan.department);
    const reports::ExportRecord record {
        Outlook_Title(plan), QString::fromUtf8(kOutlookSheet), filters, static_cast<int>(Outlook_Grid(r).rows.size())};
    return reports::exportWorkbook(
        db, record, QString::fromUtf8(kOutlookSheet),
        [&](const QString& path, QString* why) { return Write_Outlook_Workbook(r, path, why); }, target, error);
}

} // namespace velmora::outlook
