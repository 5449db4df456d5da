// The outlook run: the employees falling due in the plan's periods, each
// computed (the calculation for contracts ending, the forecast for age 60),
// and the totals per period and group. The criteria are read in
// OutlookCriteria.cpp, the grids and the workbook made in OutlookExport.cpp.

#include "services/OutlookService.h"

#include "db/Database.h"
#include "db/SqlValues.h"
#include "rules/AmountText.h"
#include "rules/ServicePeriod.h"
#include "rules/Utility.h"
#include "services/CalculationService.h"
#include "services/ReportQueries.h"
#include "services/Rights.h"

#include <QCollator>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>
#include <cmath>
#include <map>
#include <unordered_map>

namespace velmora::outlook {

namespace {

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

// An amount as shown, in hundredths of a baht (the shown text is exact to
// two decimals, so the sum of the hundredths is the sum of the shown amounts).
std::int64_t satangOf(const std::string& shown)
{
    return std::llround(Parse_Number(shown).value_or(0) * 100.0);
}

} // namespace

Employee_Calculation Calculate_Employee(
    const db::Database& db, const std::string& sapid, const std::string& requestMonth)
{
    Employee_Calculation e;
    if (!calc::Gather_Calculation_Input(db, sapid, requestMonth, std::nullopt, std::nullopt, &e.input, &e.reason)) {
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
        // The input as Gather_Calculation_Input gathers it: stored salary and reason.
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
    if (!rights::allowed(db, rights::Action::Report, &r.error))
        return r;
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

} // namespace velmora::outlook
