#include "services/OutlookService.h"

#include "db/Database.h"
#include "db/SqlValues.h"
#include "rules/AmountText.h"
#include "rules/ServicePeriod.h"
#include "rules/Utility.h"
#include "services/CalculationService.h"
#include "services/ReportQueries.h"

#include <QCollator>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>
#include <cmath>
#include <map>
#include <unordered_map>

namespace velmora::outlook {

namespace {

constexpr int buddhistOffset = 543;

QString fromStd(const std::string& s)
{
    return QString::fromStdString(s);
}

QString groupName(Outlook_Grouping by, const QString& department, const QString& workType)
{
    if (by == Outlook_Grouping::Department)
        return department.isEmpty() ? QStringLiteral("(ไม่ระบุส่วนงาน)") : department;
    return workType.isEmpty() ? QStringLiteral("(ไม่ระบุประเภทการจ้าง)") : workType;
}

// A whole number of at most four digits, blanks around allowed.
std::optional<int> smallNumber(const QString& text)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,4}$"));
    const QString t = text.trimmed();
    if (!digits.match(t).hasMatch())
        return std::nullopt;
    return t.toInt();
}

// An amount as shown, in hundredths of a baht (the shown text is exact to
// two decimals, so the sum of the hundredths is the sum of the shown amounts).
std::int64_t satangOf(const std::string& shown)
{
    return std::llround(Parse_Number(shown).value_or(0) * 100.0);
}

} // namespace

QString Group_Caption(Outlook_Grouping by)
{
    return by == Outlook_Grouping::Department ? QStringLiteral("ส่วนงาน") : QStringLiteral("ประเภทการจ้าง");
}

std::optional<int> Parse_Raise(const QString& text, QString* error)
{
    static const QRegularExpression number(QStringLiteral("^([0-9]{1,2})(\\.([0-9]{1,2}))?$"));
    const QString t = text.trimmed();
    const auto m = number.match(t);
    int hundredths = -1;
    if (m.hasMatch()) {
        QString decimals = m.captured(3);
        while (decimals.size() < 2)
            decimals += QLatin1Char('0');
        hundredths = m.captured(1).toInt() * 100 + decimals.toInt();
    }
    if (hundredths < 0 || hundredths > 1500) {
        if (error)
            *error =
                QStringLiteral("อัตราการขึ้นเงินเดือนต่อปีต้องเป็นตัวเลข 0 ถึง 15 (ร้อยละ) ทศนิยมไม่เกิน 2 ตำแหน่ง: \"%1\"").arg(text);
        return std::nullopt;
    }
    return hundredths;
}

QStringList Outlook_Plan::period_labels() const
{
    QStringList labels;
    for (int i = 0; i < count; ++i) {
        if (kind == Outlook_Kind::Age60) {
            labels << QString::number(first_year + i);
        } else {
            const int index = first_year * 12 + (first_month - 1) + i;
            labels << QStringLiteral("%1/%2").arg(index % 12 + 1, 2, 10, QLatin1Char('0')).arg(index / 12);
        }
    }
    return labels;
}

Outlook_Plan Check_Outlook_Criteria(const Outlook_Criteria& c, const QString& today)
{
    Outlook_Plan plan;
    plan.kind = c.kind;
    plan.by = c.by;
    plan.department = c.department;
    const bool age60 = c.kind == Outlook_Kind::Age60;

    if (c.count.trimmed().isEmpty()) {
        plan.count = age60 ? kDefaultYears : kDefaultMonths;
    } else {
        const auto n = smallNumber(c.count);
        const int max = age60 ? kMaxYears : kMaxMonths;
        if (!n || *n < 1 || *n > max) {
            plan.error = age60 ? QStringLiteral("จำนวนปีต้องเป็นตัวเลข 1 ถึง %1: \"%2\"").arg(max).arg(c.count)
                               : QStringLiteral("จำนวนเดือนต้องเป็นตัวเลข 1 ถึง %1: \"%2\"").arg(max).arg(c.count);
            return plan;
        }
        plan.count = *n;
    }

    if (age60 && !c.raise.trimmed().isEmpty()) {
        const auto r = Parse_Raise(c.raise, &plan.error);
        if (!r)
            return plan;
        plan.raise_hundredths = *r;
    }

    const QString from = c.from.trimmed();
    if (from.isEmpty()) {
        const auto parts = Parse_Date_Text(Pad_Date_Text(Trim_Spaces(today.toStdString())), Year_Era::Christian);
        if (!parts) {
            plan.error = QStringLiteral("อ่านวันที่ปัจจุบันของเครื่องแม่ข่ายไม่ได้: \"%1\"").arg(today);
            return plan;
        }
        plan.first_month = parts->month;
        plan.first_year = age60 ? parts->year + buddhistOffset : parts->year;
    } else if (age60) {
        const auto year = smallNumber(from);
        if (year && *year >= 1900 && *year < 2400) {
            plan.error = QStringLiteral("ปีเริ่มต้นต้องเป็นปีพุทธศักราช เช่น %1 (ไม่ใช่คริสต์ศักราช): \"%2\"")
                             .arg(*year + buddhistOffset)
                             .arg(c.from);
            return plan;
        }
        if (!year || *year < 2400 || *year > 2999) {
            plan.error = QStringLiteral("ปีเริ่มต้นไม่ถูกต้อง: \"%1\" (ต้องเป็นปีพุทธศักราช 4 หลัก เช่น 2570)").arg(c.from);
            return plan;
        }
        plan.first_year = *year;
    } else {
        static const QRegularExpression month(QStringLiteral("^(0[1-9]|1[0-2])/([0-9]{4})$"));
        const auto m = month.match(from);
        const int year = m.hasMatch() ? m.captured(2).toInt() : 0;
        if (m.hasMatch() && year >= 2400 && year <= 2999) {
            plan.error = QStringLiteral("เดือนเริ่มต้นต้องใช้ปีคริสต์ศักราช เช่น %1/%2 (ไม่ใช่พุทธศักราช): \"%3\"")
                             .arg(m.captured(1))
                             .arg(year - buddhistOffset)
                             .arg(c.from);
            return plan;
        }
        if (!m.hasMatch() || year < 1900 || year > 2399) {
            plan.error =
                QStringLiteral("เดือนเริ่มต้นไม่ถูกต้อง: \"%1\" (ต้องเป็น ดด/ปปปป ปีเป็นคริสต์ศักราช เช่น 01/2027)").arg(c.from);
            return plan;
        }
        plan.first_month = m.captured(1).toInt();
        plan.first_year = year;
    }
    if (!age60 && (plan.first_year * 12 + plan.first_month - 1 + plan.count - 1) / 12 > 2399) {
        plan.error = QStringLiteral("ช่วงเดือนเกินปีคริสต์ศักราช 2399");
        return plan;
    }
    return plan;
}

Employee_Calculation Calculate_Employee(
    const db::Database& db, const std::string& sapid, const std::string& requestMonth)
{
    Employee_Calculation e;
    if (!calc::Load_Calculation_Input(db, sapid, requestMonth, std::nullopt, std::nullopt, &e.input, &e.reason)) {
        if (e.reason.empty())
            e.reason = "อ่านข้อมูลการคำนวณไม่ได้";
        return e;
    }
    e.result = calc::Run_Calculation(e.input);
    if (!e.result.ok())
        e.reason = e.result.error;
    return e;
}

namespace {

// The totals of the counted lines per period and group.
void Total(Outlook_Result& r, const std::vector<int>& periodOf, const std::vector<std::int64_t>& satangOfLine)
{
    QStringList groups;
    for (const Outlook_Line& line : r.counted)
        if (!groups.contains(line.group))
            groups << line.group;
    QCollator collator(QLocale(QLocale::Thai, QLocale::Thailand));
    std::sort(groups.begin(), groups.end(),
        [&collator](const QString& a, const QString& b) { return collator.compare(a, b) < 0; });
    r.groups = groups;
    std::map<QString, int> groupIndex;
    for (int g = 0; g < groups.size(); ++g)
        groupIndex[groups.at(g)] = g;

    const std::size_t periods = std::size_t(r.periods.size());
    r.cells.assign(periods, std::vector<Outlook_Cell>(std::size_t(groups.size())));
    r.period_totals.assign(periods, {});
    r.group_totals.assign(std::size_t(groups.size()), {});
    r.grand = {};
    for (std::size_t i = 0; i < r.counted.size(); ++i) {
        const std::size_t p = std::size_t(periodOf[i]);
        const std::size_t g = std::size_t(groupIndex[r.counted[i].group]);
        for (Outlook_Cell* cell : {&r.cells[p][g], &r.period_totals[p], &r.group_totals[g], &r.grand}) {
            cell->count += 1;
            cell->satang += satangOfLine[i];
        }
    }
}

void Contract_End(const db::Database& db, Outlook_Result& r)
{
    std::vector<Due_Employee> due;
    if (!Find_Contract_Ends(db, r.plan, &due, &r.refused, &r.error))
        return;
    std::vector<Employee_Calculation> calculations;
    if (!Calculate_Due(db, due, &calculations, &r.error))
        return;
    std::vector<int> periodOf;
    std::vector<std::int64_t> satang;
    for (std::size_t i = 0; i < due.size(); ++i) {
        const calc::Employee& e = due[i].employee;
        Outlook_Line line;
        line.sapid = fromStd(e.sapid);
        line.name = fromStd(calc::Full_Name(e.prefix, e.first_name, e.last_name));
        line.group = groupName(r.plan.by, fromStd(e.depart_name), fromStd(e.work_type_name));
        line.period = r.periods.at(due[i].period);
        const Employee_Calculation& c = calculations[i];
        if (!c.ok()) {
            line.reason = fromStd(c.reason);
            r.refused.push_back(line);
            continue;
        }
        line.amount_text = fromStd(c.result.money.net_text);
        r.counted.push_back(line);
        periodOf.push_back(due[i].period);
        satang.push_back(satangOf(c.result.money.net_text));
    }
    Total(r, periodOf, satang);
    r.ok = true;
}

void Age60(const db::Database& db, Outlook_Result& r)
{
    const Outlook_Plan& plan = r.plan;
    reports::ForecastCriteria criteria;
    criteria.department = plan.department;
    criteria.calcYear = QString::number(plan.first_year);
    criteria.yearlyRaise = plan.yearly_raise();
    std::vector<reports::ForecastEmployee> employees;
    if (!reports::loadForecast(db, criteria, &employees, &r.error))
        return;
    std::vector<int> periodOf;
    std::vector<std::int64_t> satang;
    for (const reports::ForecastEmployee& e : employees) {
        Outlook_Line line;
        line.sapid = e.sapId;
        line.name = e.fullName;
        line.group = groupName(plan.by, e.departName, e.workType);
        if (!e.result.ok()) {
            line.reason = fromStd(e.result.error);
            r.refused.push_back(line);
            continue;
        }
        const int period = e.result.year_60 - plan.first_year;
        if (period < 0 || period >= plan.count)
            continue;
        const std::string shown = Amount_Text(e.result.amount);
        line.period = r.periods.at(period);
        line.amount_text = fromStd(shown);
        r.counted.push_back(line);
        periodOf.push_back(period);
        satang.push_back(satangOf(shown));
    }
    Total(r, periodOf, satang);
    r.ok = true;
}

} // namespace

bool Find_Contract_Ends(const db::Database& db, const Outlook_Plan& plan, std::vector<Due_Employee>* due,
    std::vector<Outlook_Line>* refused, QString* error)
{
    // The row of Load_Employee, for every employee that may be calculated.
    QString sql =
        calc::Employee_Select() + QStringLiteral(" WHERE (m.SapID IS NOT NULL) AND (m.Emp_RecMChod_Status = ?)");
    QVariantList values {QStringLiteral("A")};
    if (plan.department) {
        sql += QStringLiteral(" AND (d.Dapart_Name = ?)");
        values << fromStd(Trim_Spaces(plan.department->toStdString()));
    }
    sql += QStringLiteral(" ORDER BY m.SapID");
    QSqlQuery q = db.query();
    q.setForwardOnly(true);
    q.prepare(sql);
    for (const QVariant& v : values)
        q.addBindValue(v);
    if (!db.exec(q, QStringLiteral("การค้นหาพนักงานที่สิ้นสุดสัญญา"), error))
        return false;
    const int first = plan.first_year * 12 + plan.first_month - 1;
    const QStringList labels = plan.period_labels();
    due->clear();
    while (q.next()) {
        calc::Employee e = calc::Employee_Of(q);
        const auto parts = Parse_Date_Text(Pad_Date_Text(Trim_Spaces(e.contract_end)), Year_Era::Christian);
        if (!parts) {
            Outlook_Line line;
            line.sapid = fromStd(e.sapid);
            line.name = fromStd(calc::Full_Name(e.prefix, e.first_name, e.last_name));
            line.group = groupName(plan.by, fromStd(e.depart_name), fromStd(e.work_type_name));
            line.reason = QStringLiteral("อ่านวันที่สิ้นสุดสัญญาไม่ได้: \"%1\"").arg(fromStd(e.contract_end));
            refused->push_back(line);
            continue;
        }
        const int period = parts->year * 12 + parts->month - 1 - first;
        if (period < 0 || period >= plan.count)
            continue;
        Due_Employee d;
        d.employee = std::move(e);
        d.request_month = labels.at(period).toStdString();
        d.period = period;
        due->push_back(std::move(d));
    }
    return true;
}

bool Calculate_Due(const db::Database& db, const std::vector<Due_Employee>& due,
    std::vector<Employee_Calculation>* calculations, QString* error)
{
    using calc::sql::Text;
    calculations->assign(due.size(), {});
    if (due.empty())
        return true;
    std::unordered_map<std::string, std::vector<calc::Work_Period>> periods;
    std::unordered_map<std::string, std::vector<calc::Earlier_Record>> records;
    for (const Due_Employee& d : due) {
        periods[d.employee.sapid];
        if (!Trim_Spaces(d.employee.ssn).empty()) // no identity-card number: nobody is the same person
            records[d.employee.ssn];
    }
    const db::Dialect& dialect = db.dialect();

    // Every period, in Load_Work_Periods' order within each employee.
    const QString begin = QStringLiteral("Work_B_Date");
    QSqlQuery q = db.query();
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT SapID, Work_Type_Code, Work_Type, Work_B_Date, Work_E_Date FROM EP_Work_Histry"
                             " ORDER BY SapID, %1, %2, %3, Work_E_Date, Work_Type_Code")
                  .arg(dialect.substring(begin, 7, 4), dialect.substring(begin, 4, 2), dialect.substring(begin, 1, 2)));
    if (!db.exec(q, QStringLiteral("อ่านประวัติการทำงาน"), error))
        return false;
    while (q.next()) {
        const auto it = periods.find(Text(q.value(0)));
        if (it != periods.end())
            it->second.push_back({Text(q.value(1)), Text(q.value(2)), Text(q.value(3)), Text(q.value(4))});
    }
    q.finish();

    // Every saved calculation, in Load_Person_Records' order within each person.
    if (!records.empty()) {
        q.prepare(calc::Earlier_Records_Select(dialect, QStringLiteral("SSN IS NOT NULL")));
        if (!db.exec(q, QStringLiteral("อ่านประวัติการได้รับเงินชดเชย"), error))
            return false;
        while (q.next()) {
            const auto it = records.find(Text(q.value(1)));
            if (it != records.end())
                it->second.push_back(calc::Earlier_Record_Of(q));
        }
        q.finish();
    }

    std::vector<calc::Bracket> brackets;
    std::string message;
    if (!calc::Load_Brackets(db, &brackets, &message)) {
        *error = fromStd(message);
        return false;
    }

    for (std::size_t i = 0; i < due.size(); ++i) {
        const calc::Employee& e = due[i].employee;
        Employee_Calculation& c = (*calculations)[i];
        if (e.status != "A") {
            c.reason = calc::kMessage_Already_Calculated;
            continue;
        }
        // The input as Load_Calculation_Input gathers it: stored salary and reason.
        calc::Calculation_Input& in = c.input;
        in.sapid = e.sapid;
        in.ssn = e.ssn;
        in.prefix = e.prefix;
        in.first_name = e.first_name;
        in.last_name = e.last_name;
        in.birth_day = e.birth_day;
        in.work_type_name = e.work_type_name;
        in.contract_begin = e.contract_begin;
        in.contract_end = e.contract_end;
        in.depart_code = e.depart_code;
        in.depart_name = e.depart_name;
        in.salary_text = e.salary_text;
        in.reason = e.reason;
        in.request_month = due[i].request_month;
        in.periods = periods[e.sapid];
        if (!Trim_Spaces(e.ssn).empty())
            in.person_records = records[e.ssn];
        in.brackets = brackets;
        c.result = calc::Run_Calculation(in);
        if (!c.result.ok())
            c.reason = c.result.error;
    }
    return true;
}

Outlook_Result Run_Outlook(const db::Database& db, const Outlook_Plan& plan)
{
    Outlook_Result r;
    r.plan = plan;
    if (!plan.ok()) {
        r.error = plan.error;
        return r;
    }
    r.periods = plan.period_labels();
    if (plan.kind == Outlook_Kind::Age60)
        Age60(db, r);
    else
        Contract_End(db, r);
    return r;
}

Outlook_Result Run_Outlook(const db::Database& db, const Outlook_Criteria& criteria)
{
    QString today;
    if (criteria.from.trimmed().isEmpty()) {
        QString error;
        const auto now = db.serverNow(&error);
        if (!now) {
            Outlook_Result r;
            r.error = error;
            return r;
        }
        today = now->date().toString(QStringLiteral("dd/MM/yyyy"));
    }
    return Run_Outlook(db, Check_Outlook_Criteria(criteria, today));
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
