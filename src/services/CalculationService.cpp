#include "services/CalculationService.h"

#include "db/SqlValues.h"
#include "rules/AmountText.h"
#include "rules/Utility.h"
#include "services/AuditEvents.h"
#include "services/CalculationChecks.h"
#include "services/CrashReport.h"
#include "services/Rights.h"

#include <QSqlError>

#include <QSqlQuery>
#include <QVariant>

namespace velmora::calc {

using namespace sql;

namespace {

double Read_Back(const std::string& shown, double fallback)
{
    return Parse_Number(shown).value_or(fallback);
}

} // namespace

bool Load_Work_Periods(
    const db::Database& db, const std::string& sapid, std::vector<Work_Period>* periods, std::string* error)
{
    const db::Dialect& d = db.dialect();
    const QString begin = QStringLiteral("Work_B_Date");
    QSqlQuery q = db.query();
    if (!Exec(db, q,
            QStringLiteral("SELECT Work_Type_Code, Work_Type, Work_B_Date, Work_E_Date FROM EP_Work_Histry"
                           " WHERE SapID = ? ORDER BY %1, %2, %3, Work_E_Date, Work_Type_Code")
                .arg(d.substring(begin, 7, 4), d.substring(begin, 4, 2), d.substring(begin, 1, 2)),
            {Q(sapid)}, "อ่านประวัติการทำงาน", error))
        return false;
    periods->clear();
    while (q.next())
        periods->push_back({Text(q.value(0)), Text(q.value(1)), Text(q.value(2)), Text(q.value(3))});
    return true;
}

bool Add_Work_Period(const db::Database& db, const std::string& sapid, const std::string& ssn,
    const std::string& typeText, const std::string& begin, const std::string& end, std::string* error)
{
    if (!rights::allowed(db, rights::Action::Calculate, error, Q(sapid)))
        return false;
    const New_Period p = Check_New_Period(typeText, begin, end);
    if (!p.ok()) {
        if (error)
            *error = p.error;
        return false;
    }
    // A period that overlaps a stored one would count that service twice.
    std::vector<Work_Period> stored;
    if (!Load_Work_Periods(db, sapid, &stored, error))
        return false;
    if (const int at = Find_Overlap_With(stored, p.period); at >= 0) {
        if (error)
            *error = Added_Overlap_Message(p.period, stored[static_cast<std::size_t>(at)]);
        return false;
    }
    return Exec(db,
        QStringLiteral("INSERT INTO EP_Work_Histry (SapID, SSN, Work_Type_Code, Work_Type, Work_B_Date,"
                       " Work_E_Date) VALUES (?, ?, ?, ?, ?, ?)"),
        {Q(sapid), Q(ssn), Q(p.period.code), Q(p.period.type_name), Q(p.period.begin), Q(p.period.end)},
        "บันทึกประวัติการทำงาน", error);
}

int Delete_Work_Period(const db::Database& db, const std::string& sapid, const std::string& code,
    const std::string& begin, const std::string& end, std::string* error)
{
    if (code.empty()) {
        if (error)
            *error = "ไม่มีข้อมูลที่ต้องการลบ";
        return -1;
    }
    if (!rights::allowed(db, rights::Action::Calculate, error, Q(sapid)))
        return -1;
    QSqlQuery q = db.query();
    if (!Exec(db, q,
            QStringLiteral("DELETE FROM EP_Work_Histry WHERE (SapID = ?) AND (Work_Type_Code = ?)"
                           " AND (Work_B_Date = ?) AND (Work_E_Date = ?)"),
            {Q(sapid), Q(code), Q(begin), Q(end)}, "ลบประวัติการทำงาน", error))
        return -1;
    return q.numRowsAffected();
}

QString Earlier_Records_Select(const db::Dialect& d, const QString& where)
{
    const QString month = QStringLiteral("MMYYYY_Recieve");
    return QStringLiteral("SELECT SapID, SSN, MMYYYY_Recieve, Depart_Code, Depart_Name, Date_Beg_Cal, Date_End_Cal,"
                          " Total_Day, No_Year, No_Month, No_Day, N_T, Last_Salary, His_Rec_Money,"
                          " Net_Money_Recieve FROM EP_mRec_Money_Chodchoy WHERE %1 ORDER BY %2, %3, SapID")
        .arg(where, d.substring(month, 4, 4), d.substring(month, 1, 2));
}

Earlier_Record Earlier_Record_Of(const QSqlQuery& q)
{
    Earlier_Record r;
    r.sapid = Text(q.value(0));
    r.ssn = Text(q.value(1));
    r.request_month = Text(q.value(2));
    r.depart_code = Text(q.value(3));
    r.depart_name = Text(q.value(4));
    r.start = Text(q.value(5));
    r.end = Text(q.value(6));
    r.total_days = Integer(q.value(7));
    r.years = Integer(q.value(8));
    r.months = Integer(q.value(9));
    r.days = Integer(q.value(10));
    r.multiplier = Integer(q.value(11));
    r.last_salary = Number(q.value(12));
    r.paid_before = Number(q.value(13));
    r.net = Number(q.value(14));
    return r;
}

bool Load_Person_Records(
    const db::Database& db, const std::string& ssn, std::vector<Earlier_Record>* records, std::string* error)
{
    records->clear();
    if (Trim_Spaces(ssn).empty())
        return true; // no identity-card number: nobody is the same person
    QSqlQuery q = db.query();
    if (!Exec(db, q, Earlier_Records_Select(db.dialect(), QStringLiteral("SSN = ?")), {Q(ssn)},
            "อ่านประวัติการได้รับเงินชดเชย", error))
        return false;
    while (q.next())
        records->push_back(Earlier_Record_Of(q));
    return true;
}

bool Load_Brackets(const db::Database& db, std::vector<Bracket>* brackets, std::string* error)
{
    QSqlQuery q = db.query();
    if (!Exec(db, q, QStringLiteral("SELECT No_B_Y, No_E_Y, N_Money FROM EP_TR_Cal_Money"), {},
            "อ่านตารางการคำนวณเงินชดเชย", error))
        return false;
    brackets->clear();
    while (q.next())
        brackets->push_back({Integer(q.value(0)), Integer(q.value(1)), Integer(q.value(2))});
    return true;
}

bool Load_Calculation_Input(const db::Database& db, const std::string& sapid, const std::string& requestMonth,
    const std::optional<std::string>& salaryText, const std::optional<std::string>& reason, Calculation_Input* input,
    std::string* error)
{
    return rights::allowed(db, rights::Action::Calculate, error, Q(sapid))
        && Gather_Calculation_Input(db, sapid, requestMonth, salaryText, reason, input, error);
}

bool Gather_Calculation_Input(const db::Database& db, const std::string& sapid, const std::string& requestMonth,
    const std::optional<std::string>& salaryText, const std::optional<std::string>& reason, Calculation_Input* input,
    std::string* error)
{
    std::string message;
    const std::optional<Employee> e = Load_Employee(db, sapid, &message);
    if (!e) {
        if (error)
            *error = message.empty() ? "ไม่พบข้อมูลพนักงานรหัส SAP ID " + sapid : message;
        return false;
    }
    if (e->status != "A") {
        if (error)
            *error = kMessage_Already_Calculated;
        return false;
    }
    Calculation_Input in;
    in.sapid = e->sapid;
    in.ssn = e->ssn;
    in.prefix = e->prefix;
    in.first_name = e->first_name;
    in.last_name = e->last_name;
    in.birth_day = e->birth_day;
    in.work_type_name = e->work_type_name;
    in.contract_begin = e->contract_begin;
    in.contract_end = e->contract_end;
    in.depart_code = e->depart_code;
    in.depart_name = e->depart_name;
    in.salary_text = salaryText ? *salaryText : e->salary_text;
    in.reason = reason ? *reason : e->reason;
    in.request_month = requestMonth;
    if (!Load_Work_Periods(db, sapid, &in.periods, error) || !Load_Person_Records(db, in.ssn, &in.person_records, error)
        || !Load_Brackets(db, &in.brackets, error))
        return false;
    *input = std::move(in);
    return true;
}

bool Save_Calculation(const db::Database& db, const Calculation_Input& in, const Calculation& c,
    const std::string& dateEntry, std::string* error)
{
    return rights::allowed(db, rights::Action::SaveCalculation, error, Q(in.sapid))
        && Record_Calculation(db, in, c, dateEntry, error);
}

bool Record_Calculation(const db::Database& db, const Calculation_Input& in, const Calculation& c,
    const std::string& dateEntry, std::string* error)
{
    const crash::ActionInProgress action(QStringLiteral("calculation-saved ") + QString::fromStdString(in.sapid));
    if (c.periods.empty()) {
        if (error)
            *error = kMessage_Save_No_Periods;
        return false;
    }
    if (!c.ok()) {
        if (error)
            *error = c.error;
        return false;
    }
    std::vector<Work_Period> periods;
    for (const Period_Row& row : c.periods)
        periods.push_back({row.code, row.type_name, row.begin, row.end});
    if (const auto [a, b] = Find_Overlap(periods); a >= 0) {
        if (error)
            *error = Stored_Overlap_Message(periods[static_cast<std::size_t>(a)], periods[static_cast<std::size_t>(b)]);
        return false;
    }

    db::Transaction tx(db);
    if (!Began(tx, "บันทึกข้อมูลไม่ได้: ", error))
        return false;
    // First the status, and only while it is still "A": on a shared server the
    // row stays locked until this transaction ends, so a second officer saving
    // the same employee waits here and then finds "P".
    QSqlQuery status = db.query();
    if (!Exec(db, status,
            QStringLiteral(
                "UPDATE EP_Emp_Main SET Emp_RecMChod_Status = ? WHERE SapID = ? AND Emp_RecMChod_Status = ?"),
            {QStringLiteral("P"), Q(in.sapid), QStringLiteral("A")}, "บันทึกสถานะพนักงาน", error))
        return false;
    if (status.numRowsAffected() != 1) {
        if (error)
            *error = kMessage_Already_Calculated;
        return false;
    }
    QSqlQuery existing = db.query();
    if (!Exec(db, existing, QStringLiteral("SELECT 1 FROM EP_mRec_Money_Chodchoy WHERE SapID = ?"), {Q(in.sapid)},
            "ตรวจรายการเงินชดเชย", error))
        return false;
    if (existing.next()) {
        if (error)
            *error = kMessage_Already_Calculated;
        return false;
    }

    const Split& s = c.split;
    if (!Exec(db,
            QStringLiteral("INSERT INTO EP_mRec_Money_Chodchoy (SapID, SSN, MMYYYY_Recieve, Date_Entry,"
                           " Date_Beg_Cal, Date_End_Cal, Total_Day, No_Year, No_Month, No_Day, Last_Salary, N_T,"
                           " Emp_Surname, Emp_F_Name, Emp_L_Name, Fact_No_Date, Fact_Per_Cent, KV_No_Date,"
                           " KV_Per_Cent, His_Rec_Money, Net_Money_Recieve, Depart_Code, Depart_Name, Rec_Status,"
                           " Event_Out, Fact_Month_Weigth, Kv_Month_Weight)"
                           " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
            {Q(in.sapid), Q(in.ssn), Q(in.request_month), Q(dateEntry), Q(c.span.start), Q(c.span.end),
                c.span_figures.total_days, c.service.current.years, c.service.current.months, c.service.current.days,
                c.salary, c.money.multiplier, Q(in.prefix), Q(in.first_name), Q(in.last_name), s.department.days,
                s.department.percent, s.university.days, s.university.percent, c.money.paid_earlier, c.money.net,
                Q(in.depart_code), Q(in.depart_name), QStringLiteral("FC"), Q(in.reason),
                Read_Back(s.department.months_text, s.department.months),
                Read_Back(s.university.months_text, s.university.months)},
            "บันทึกรายการเงินชดเชย", error))
        return false;

    for (const Period_Row& p : c.periods) {
        if (!Exec(db,
                QStringLiteral("INSERT INTO EP_mRec_Money_Detail (SapID, Work_Type_Code, Date_B_cal, Date_E_Cal,"
                               " Sum_Day, Sum_Month, Sum_Month_Weight) VALUES (?, ?, ?, ?, ?, ?, ?)"),
                {Q(in.sapid), Q(p.code), Q(p.calc_begin), Q(p.end), p.total_days, p.whole_months, p.weight},
                "บันทึกรายละเอียดช่วงการทำงาน", error))
            return false;
    }

    for (const Earlier_Row& e : c.earlier) {
        const Earlier_Record& r = e.record;
        if (!Exec(db,
                QStringLiteral("INSERT INTO EP_mRep_Rec_Money (Main_SapID, SapID, N_Order, MMYYYY_Recieve,"
                               " Depart_Code, Depart_Name, Date_Beg_Cal, Date_End_Cal, Total_Day, No_Year,"
                               " No_Month, No_Day, N_T, Last_Salary, His_Rec_Money, Net_Money_Recieve)"
                               " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                {Q(in.sapid), Q(r.sapid), e.number, Q(r.request_month), Q(r.depart_code), Q(r.depart_name), Q(r.start),
                    Q(r.end), r.total_days, r.years, r.months, r.days, r.multiplier,
                    Read_Back(e.last_salary_text, r.last_salary), Read_Back(e.paid_before_text, r.paid_before),
                    Read_Back(e.net_text, r.net)},
                "บันทึกประวัติการได้รับเงินชดเชย", error))
            return false;
    }

    if (!audit::recordJson(db, QLatin1String(audit::kind::kCalculationSaved), Q(in.sapid),
            audit::calculationSavedDetails(in, c), error))
        return false;
    {
        QString why;
        if (!checks::recordSavedWithin(db, Q(in.sapid), &why)) {
            if (error)
                *error = S(why);
            return false;
        }
    }

    return Committed(tx, "บันทึกข้อมูลไม่สำเร็จ: ", error);
}

std::optional<std::string> Server_Date_Text_BE(const db::Database& db, std::string* error)
{
    QString message;
    const auto now = db.serverNow(&message);
    if (!now) {
        if (error)
            *error = S(message);
        return std::nullopt;
    }
    const QDate d = now->date();
    return S(d.toString(QStringLiteral("dd/MM/")) + QString::number(d.year() + 543));
}

} // namespace velmora::calc
