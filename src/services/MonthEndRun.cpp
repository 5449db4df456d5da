#include "services/MonthEndRun.h"

#include "db/SqlValues.h"
#include "rules/Utility.h"
#include "services/Backup.h"
#include "services/CalculationService.h"
#include "services/CrashReport.h"
#include "services/Rights.h"

#include <QSqlQuery>
#include <QVariant>

#include <set>
#include <unordered_map>

namespace velmora::run {

using namespace calc::sql;

namespace {

// Binds and runs; *error as Run gives it.
bool Exec(const db::Database& db, QSqlQuery& q, const QString& statement, const QVariantList& values,
    const char* purpose, std::string* error)
{
    q.prepare(statement);
    for (const QVariant& v : values)
        q.addBindValue(v);
    return Run(db, q, purpose, error);
}

bool Exists(const db::Database& db, const QString& statement, const QVariant& value, const char* purpose, bool* found,
    std::string* error)
{
    QSqlQuery q = db.query();
    if (!Exec(db, q, statement, {value}, purpose, error))
        return false;
    *found = q.next();
    return true;
}

const char* const kEmployeeColumns =
    "SELECT EP_Emp_Main.SapID, EP_Emp_Main.Surname, EP_Emp_Main.F_Name, EP_Emp_Main.L_Name, EP_TR_Depart.Dapart_Name"
    " FROM EP_Emp_Main LEFT JOIN EP_TR_Depart ON EP_Emp_Main.Depart_Code = EP_TR_Depart.Depart_Code";

Chosen Chosen_From(const QSqlQuery& q)
{
    return {Text(q.value(0)), calc::Full_Name(Text(q.value(1)), Text(q.value(2)), Text(q.value(3))), Text(q.value(4)),
        true};
}

bool By_Contract_End(const db::Database& db, const Run_Choice& choice, std::vector<Chosen>* chosen, std::string* error)
{
    if (!choice.department.empty()) {
        bool found = false;
        if (!Exists(db, QStringLiteral("SELECT 1 FROM EP_TR_Depart WHERE Dapart_Name = ?"), Q(choice.department),
                "ตรวจชื่อส่วนงาน", &found, error))
            return false;
        if (!found) {
            *error = "ไม่พบส่วนงานชื่อ \"" + choice.department + "\"";
            return false;
        }
    }
    if (!choice.work_type.empty()) {
        bool found = false;
        if (!Exists(db, QStringLiteral("SELECT 1 FROM EP_TR_Work_Type WHERE Work_Type_Code = ?"), Q(choice.work_type),
                "ตรวจประเภทการจ้าง", &found, error))
            return false;
        if (!found) {
            *error = "ไม่พบประเภทการจ้างรหัส \"" + choice.work_type + "\"";
            return false;
        }
    }
    QString sql = QLatin1String(kEmployeeColumns)
        + QStringLiteral(" WHERE (EP_Emp_Main.SapID IS NOT NULL) AND (%1 = ?)")
              .arg(db.dialect().substring(QStringLiteral("EP_Emp_Main.Work_End_Date_Text"), 4, 7));
    QVariantList values {Q(choice.ends_month)};
    if (!choice.department.empty()) {
        sql += QStringLiteral(" AND (EP_TR_Depart.Dapart_Name = ?)");
        values << Q(choice.department);
    }
    if (!choice.work_type.empty()) {
        sql += QStringLiteral(" AND (EP_Emp_Main.Work_Type_Code = ?)");
        values << Q(choice.work_type);
    }
    sql += QStringLiteral(" ORDER BY EP_Emp_Main.Depart_Code, EP_Emp_Main.Work_Type_Code, EP_Emp_Main.F_Name,"
                          " EP_Emp_Main.SapID");
    QSqlQuery q = db.query();
    if (!Exec(db, q, sql, values, "ค้นหาพนักงานที่ครบสัญญา", error))
        return false;
    while (q.next())
        chosen->push_back(Chosen_From(q));
    if (chosen->empty()) {
        *error = "ไม่พบพนักงานที่ครบสัญญาในเดือน " + choice.ends_month;
        if (!choice.department.empty())
            *error += " ส่วนงาน " + choice.department;
        if (!choice.work_type.empty())
            *error += " ประเภทการจ้างรหัส " + choice.work_type;
        return false;
    }
    return true;
}

bool By_List(const db::Database& db, const Run_Choice& choice, std::vector<Chosen>* chosen, std::string* error)
{
    std::vector<std::string> ids;
    std::set<std::string> seen;
    for (const std::string& raw : choice.sapids) {
        const std::string id = Trim_Spaces(raw);
        if (!id.empty() && seen.insert(id).second)
            ids.push_back(id);
    }
    // one query per few hundred IDs, every ID a bound value
    std::unordered_map<std::string, Chosen> found;
    constexpr std::size_t kChunk = 400;
    for (std::size_t from = 0; from < ids.size(); from += kChunk) {
        const std::size_t to = std::min(ids.size(), from + kChunk);
        QStringList marks;
        QVariantList values;
        for (std::size_t i = from; i < to; ++i) {
            marks << QStringLiteral("?");
            values << Q(ids[i]);
        }
        QSqlQuery q = db.query();
        if (!Exec(db, q,
                QLatin1String(kEmployeeColumns)
                    + QStringLiteral(" WHERE EP_Emp_Main.SapID IN (%1)").arg(marks.join(QLatin1Char(','))),
                values, "ค้นหาพนักงานตาม SAP ID", error))
            return false;
        while (q.next()) {
            Chosen c = Chosen_From(q);
            found.emplace(c.sapid, c);
        }
    }
    for (const std::string& id : ids) {
        const auto it = found.find(id);
        chosen->push_back(it != found.end() ? it->second : Chosen {id, {}, {}, false});
    }
    return true;
}

Run_Line Refused(const Chosen& e, std::string reason)
{
    Run_Line line;
    line.sapid = e.sapid;
    line.name = e.name;
    line.department = e.department;
    line.state = Line_State::Refused;
    line.reason = std::move(reason);
    return line;
}

} // namespace

std::string Check_Run_Choice(const Run_Choice& choice)
{
    std::string month = calc::Check_Request_Month(choice.request_month);
    if (!month.empty())
        return month;
    if (!choice.sapids.empty()) {
        for (const std::string& id : choice.sapids)
            if (!Trim_Spaces(id).empty())
                return {};
        return "กรุณาระบุ SAP ID ของพนักงานที่ต้องการประมวลผลอย่างน้อยหนึ่งรายการ";
    }
    if (choice.ends_month.empty())
        return "กรุณาระบุเดือนปีที่ครบสัญญา หรือรายการ SAP ID ของพนักงานที่ต้องการประมวลผล";
    if (!calc::Check_Request_Month(choice.ends_month).empty())
        return "เดือนปีที่ครบสัญญาไม่ถูกต้อง: \"" + choice.ends_month + "\" (ต้องเป็น ดด/ปปปป ปีเป็นคริสต์ศักราช เช่น 09/2012)";
    return {};
}

bool Choose_Run_Employees(
    const db::Database& db, const Run_Choice& choice, std::vector<Chosen>* chosen, std::string* error)
{
    chosen->clear();
    *error = Check_Run_Choice(choice);
    if (!error->empty())
        return false;
    return choice.sapids.empty() ? By_Contract_End(db, choice, chosen, error) : By_List(db, choice, chosen, error);
}

Run_Line Preview_Line(const db::Database& db, const Chosen& employee, const std::string& requestMonth)
{
    if (!employee.found)
        return Refused(employee, kMessage_No_Employee);
    Run_Line line;
    line.sapid = employee.sapid;
    line.name = employee.name;
    line.department = employee.department;
    std::string error;
    if (!calc::Gather_Calculation_Input(
            db, employee.sapid, requestMonth, std::nullopt, std::nullopt, &line.input, &error))
        return Refused(employee, error);
    line.calculation = calc::Run_Calculation(line.input);
    if (!line.calculation.ok())
        return Refused(employee, line.calculation.error);
    line.state = Line_State::Ready;
    return line;
}

bool Preview_Run(const db::Database& db, const Run_Choice& choice, Run_Preview* preview, std::string* error)
{
    if (!rights::allowed(db, rights::Action::PreviewRun, error))
        return false;
    std::vector<Chosen> chosen;
    if (!Choose_Run_Employees(db, choice, &chosen, error))
        return false;
    Run_Preview p;
    p.request_month = choice.request_month;
    p.lines.reserve(chosen.size());
    for (const Chosen& e : chosen)
        p.lines.push_back(Preview_Line(db, e, choice.request_month));
    *preview = std::move(p);
    return true;
}

bool Save_Run_Line(const db::Database& db, const Run_Line& line, const std::string& dateEntry, std::string* error)
{
    return calc::Record_Calculation(db, line.input, line.calculation, dateEntry, error);
}

Save_Outcome Save_Run(
    const db::Database& db, Run_Preview& preview, const std::vector<bool>& marks, const Save_Control& control)
{
    Save_Outcome outcome;
    std::vector<std::size_t> chosen;
    for (std::size_t i = 0; i < preview.lines.size() && i < marks.size(); ++i)
        if (marks[i] && preview.lines[i].state == Line_State::Ready)
            chosen.push_back(i);
    if (chosen.empty())
        return outcome;
    // one right for the whole save; each line is then written as the wizard writes it
    if (!rights::allowed(db, rights::Action::SaveCalculation, &outcome.error)) {
        outcome.stopped = true;
        return outcome;
    }
    const crash::ActionInProgress action(QStringLiteral("run --save %1 lines of %2")
                                             .arg(chosen.size())
                                             .arg(QString::fromStdString(preview.request_month)));
    QString notCopied;
    if (!backup::backupBeforeAction(db, &notCopied)) {
        outcome.error = notCopied.toStdString();
        outcome.stopped = true;
        return outcome;
    }
    const std::optional<std::string> dateEntry = calc::Server_Date_Text_BE(db, &outcome.error);
    if (!dateEntry) {
        outcome.stopped = true;
        return outcome;
    }
    const int total = static_cast<int>(chosen.size());
    for (int done = 0; done < total; ++done) {
        if (control.go_on && !control.go_on(done, total)) {
            outcome.stopped = true;
            return outcome;
        }
        Run_Line& line = preview.lines[chosen[static_cast<std::size_t>(done)]];
        std::string error;
        if (Save_Run_Line(db, line, *dateEntry, &error)) {
            line.state = Line_State::Saved;
            ++outcome.saved;
            continue;
        }
        line.state = Line_State::Refused;
        line.reason = error;
        ++outcome.refused;
        const bool savedByAnother = error == calc::kMessage_Already_Calculated;
        if (!savedByAnother && control.go_on_after_failure && !control.go_on_after_failure(line)) {
            outcome.stopped = done + 1 < total;
            return outcome;
        }
    }
    if (control.go_on)
        control.go_on(total, total);
    return outcome;
}

reports::ReportGrid Run_Report_Grid(const std::vector<Run_Line>& lines)
{
    const auto row = [](const std::vector<std::string>& cells) {
        QStringList r;
        for (const std::string& c : cells)
            r << Q(c);
        return r;
    };
    reports::ReportGrid grid;
    grid.titles = row(Run_Grid_Titles());
    int n = 0;
    for (const Run_Line& l : lines)
        grid.rows << row(Run_Grid_Cells(l, ++n));
    grid.rows << row(Run_Total_Cells(Compute_Run_Totals(lines)));
    return grid;
}

reports::ExportOptions Run_Export_Options(const std::string& requestMonth)
{
    reports::ExportOptions o;
    o.sheetName = QStringLiteral("Month Run");
    o.titleRange = QStringLiteral("A1:O1");
    o.title = QStringLiteral("ประมวลผลเงินชดเชยประจำเดือน ") + Q(requestMonth);
    o.lastStyledColumn = QStringLiteral("O");
    o.pageTexts = reports::PageTexts::SetA;
    o.widths = {5, 11, 24, 22, 24, 20, 8};
    return o;
}

std::vector<bool> Ready_Marks(const Run_Preview& preview)
{
    std::vector<bool> marks;
    marks.reserve(preview.lines.size());
    for (const Run_Line& l : preview.lines)
        marks.push_back(l.state == Line_State::Ready);
    return marks;
}

} // namespace velmora::run
