#include "services/EmployeeService.h"

#include "db/SqlValues.h"
#include "rules/AmountText.h"
#include "rules/Calculation.h"
#include "rules/Utility.h"
#include "services/CalculationChecks.h"
#include "services/OfficeSettings.h"
#include "services/Rights.h"

#include <QSqlQuery>
#include <QVariant>

namespace velmora::calc {

using namespace sql;

namespace {

// LIKE pattern for "starts with": the typed text matches itself only.
QString Starts_With_Pattern(const std::string& text)
{
    QString pattern;
    for (const QChar c : Q(text)) {
        if (c == QLatin1Char('!') || c == QLatin1Char('%') || c == QLatin1Char('_') || c == QLatin1Char('['))
            pattern += QLatin1Char('!');
        pattern += c;
    }
    return pattern + QLatin1Char('%');
}

} // namespace

std::vector<std::string> Employee_Grid_Cells(const Employee_List_Row& row, int number)
{
    return {std::to_string(number), row.sapid, row.full_name, "'" + row.begin, row.work_type, "'" + row.end,
        row.depart_name, std::to_string(row.days), row.status, row.check};
}

const std::vector<std::string>& Employee_Grid_Titles()
{
    static const std::vector<std::string> titles = {"No. ", "SAP ID ", "ชื่อ-นามสกุล", "วันที่ปฏิบัติงานในม.กาวิลัน",
        "ประเภทการจ้าง", "วันที่สิ้นสุดสัญญา", "ส่วนงาน(คณะ)", "จำนวนวัน", "Record Status(A=ปกติ P=ประมวลผลเงินชดเชยแล้ว",
        "ผลการตรวจสอบ"};
    return titles;
}

const std::vector<int>& Employee_Grid_Widths()
{
    static const std::vector<int> widths = {50, 80, 140, 100, 100, 80, 120, 100, 100, 160};
    return widths;
}

bool Search_Employees(
    const db::Database& db, const Employee_Search& search, std::vector<Employee_List_Row>* rows, std::string* error)
{
    if (!rights::allowed(db, rights::Action::Calculate, error))
        return false;
    bool fourEyes = true;
    {
        QString why;
        if (!office::fourEyesRequired(db, &fourEyes, &why)) {
            if (error)
                *error = S(why);
            return false;
        }
    }
    const db::Dialect& d = db.dialect();
    QString sql = QStringLiteral(
        "SELECT EP_Emp_Main.SapID, EP_Emp_Main.Surname, EP_Emp_Main.F_Name, EP_Emp_Main.L_Name,"
        " EP_Emp_Main.Work_Begin_Date, EP_Emp_Main.Work_End_Date, EP_Emp_Main.Emp_RecMChod_Status,"
        " EP_TR_Depart.Dapart_Name, EP_TR_Work_Type.Work_Type, EP_Calc_Check.Check_State, EP_Calc_Check.Reason"
        " FROM ((EP_Emp_Main LEFT JOIN EP_TR_Work_Type ON EP_Emp_Main.Work_Type_Code = EP_TR_Work_Type.Work_Type_Code)"
        " LEFT JOIN EP_TR_Depart ON EP_Emp_Main.Depart_Code = EP_TR_Depart.Depart_Code)"
        " LEFT JOIN EP_Calc_Check ON EP_Calc_Check.SapID = EP_Emp_Main.SapID"
        " WHERE (EP_Emp_Main.SapID IS NOT NULL) AND (EP_TR_Work_Type.Work_Type = ?)");
    QVariantList values {Q(Trim_Spaces(search.work_type))};
    if (search.end_filter == Employee_Search::End_Filter::Year) {
        sql += QStringLiteral(" AND (%1 = ?)").arg(d.substring(QStringLiteral("EP_Emp_Main.Work_End_Date_Text"), 7, 4));
        values << Q(search.year);
    } else if (search.end_filter == Employee_Search::End_Filter::Month) {
        sql += QStringLiteral(" AND (%1 = ?)").arg(d.substring(QStringLiteral("EP_Emp_Main.Work_End_Date_Text"), 4, 7));
        values << Q(search.month_year);
    }
    if (search.by_first_name) {
        sql += QStringLiteral(" AND (EP_Emp_Main.F_Name LIKE ? ESCAPE '!')");
        values << Starts_With_Pattern(search.first_name);
    }
    sql += QStringLiteral(" ORDER BY EP_Emp_Main.Depart_Code, EP_Emp_Main.Work_Type_Code, %1, EP_Emp_Main.SapID")
               .arg(d.thaiOrder(QStringLiteral("EP_Emp_Main.F_Name")));

    QSqlQuery q = db.query();
    if (!Exec(db, q, sql, values, "ค้นหาพนักงาน", error))
        return false;
    rows->clear();
    while (q.next()) {
        Employee_List_Row row;
        row.sapid = Text(q.value(0));
        row.full_name = Full_Name(Text(q.value(1)), Text(q.value(2)), Text(q.value(3)));
        const QDate begin = Date_Of(q.value(4));
        const QDate end = Date_Of(q.value(5));
        row.begin = S(begin.toString(QStringLiteral("dd/MM/yyyy")));
        row.end = S(end.toString(QStringLiteral("dd/MM/yyyy")));
        row.days = begin.isValid() && end.isValid() ? static_cast<int>(qAbs(begin.daysTo(end))) : 0;
        row.status = Text(q.value(6));
        row.depart_name = Text(q.value(7));
        row.work_type = Text(q.value(8));
        if (!q.value(9).isNull()) {
            checks::CheckRow check;
            check.state = checks::stateOf(q.value(9).toString());
            check.reason = q.value(10).toString();
            row.check = S(checks::shownState(check, fourEyes));
        }
        rows->push_back(std::move(row));
    }
    return true;
}

QString Employee_Select()
{
    return QStringLiteral(
        "SELECT m.SapID, m.SSN, m.Surname, m.F_Name, m.L_Name, m.Emp_BirthDay, m.Work_Begin_Date_Text,"
        " m.Work_End_Date_Text, m.Work_Type_Code, t.Work_Type, m.Depart_Code, d.Dapart_Name, m.Money_Rate,"
        " m.Emp_RecMChod_Status, r.Event_out"
        " FROM ((EP_Emp_Main m LEFT JOIN EP_TR_Work_Type t ON m.Work_Type_Code = t.Work_Type_Code)"
        " LEFT JOIN EP_TR_Depart d ON m.Depart_Code = d.Depart_Code)"
        " LEFT JOIN EP_Reason_out r ON r.SapID = m.SapID");
}

Employee Employee_Of(const QSqlQuery& q)
{
    Employee e;
    e.sapid = Text(q.value(0));
    e.ssn = Text(q.value(1));
    e.prefix = Text(q.value(2));
    e.first_name = Text(q.value(3));
    e.last_name = Text(q.value(4));
    e.birth_day = Text(q.value(5));
    e.contract_begin = Text(q.value(6));
    e.contract_end = Text(q.value(7));
    e.work_type_code = Text(q.value(8));
    e.work_type_name = Text(q.value(9));
    e.depart_code = Text(q.value(10));
    e.depart_name = Text(q.value(11));
    e.money_rate = Number(q.value(12));
    e.salary_text = Amount_Text(e.money_rate);
    e.status = Text(q.value(13));
    e.reason = Text(q.value(14));
    return e;
}

std::optional<Employee> Load_Employee(const db::Database& db, const std::string& sapid, std::string* error)
{
    if (error)
        error->clear();
    QSqlQuery q = db.query();
    if (!Exec(db, q, Employee_Select() + QStringLiteral(" WHERE m.SapID = ?"), {Q(sapid)}, "อ่านข้อมูลพนักงาน", error))
        return std::nullopt;
    if (!q.next())
        return std::nullopt;
    return Employee_Of(q);
}

bool Load_Reasons(const db::Database& db, std::vector<std::string>* reasons, std::string* error)
{
    QSqlQuery q = db.query();
    if (!Exec(db, q,
            QStringLiteral("SELECT Event_Out FROM EP_TR_Event_Out ORDER BY %1")
                .arg(db.dialect().thaiOrder(QStringLiteral("Event_Out"))),
            {}, "อ่านเหตุแห่งการออก", error))
        return false;
    reasons->clear();
    while (q.next())
        reasons->push_back(Text(q.value(0)));
    return true;
}

} // namespace velmora::calc
