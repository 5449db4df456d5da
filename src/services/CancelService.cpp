#include "services/CancelService.h"

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

std::vector<std::string> Saved_Grid_Cells(const Saved_List_Row& row, int number)
{
    return {std::to_string(number), row.sapid, row.full_name, "'" + row.begin, "'" + row.end, row.depart_code,
        row.depart_name, std::to_string(row.total_days), Amount_Text(row.net)};
}

const std::vector<std::string>& Saved_Grid_Titles()
{
    static const std::vector<std::string> titles = {"No. ", "SAP ID ", "ชื่อ-นามสกุล", "วันที่เริ่มคำนวณ", "วันที่สิ้นสุดสัญญา",
        "รหัสส่วนงาน", "ส่วนงาน(คณะ)", "จำนวนวัน", "จำนนวนเงินที่ได้รับ"};
    return titles;
}

const std::vector<int>& Saved_Grid_Widths()
{
    static const std::vector<int> widths = {50, 80, 140, 100, 100, 80, 120, 100, 100};
    return widths;
}

bool Search_Saved_Calculations(
    const db::Database& db, const Saved_Search& search, std::vector<Saved_List_Row>* rows, std::string* error)
{
    if (!rights::allowed(db, rights::Action::Report, error))
        return false;
    QString statement = QStringLiteral("SELECT SapID, Emp_Surname, Emp_F_Name, Emp_L_Name, Date_Beg_Cal, Date_End_Cal,"
                                       " Depart_Code, Depart_Name, Total_Day, Net_Money_Recieve"
                                       " FROM EP_mRec_Money_Chodchoy WHERE (SapID IS NOT NULL)");
    QVariantList values;
    if (search.by_first_name) {
        // The typed text is a bound value; "%" or "_" inside it keep their
        // pattern meaning, as they would when typed into any search.
        statement += QStringLiteral(" AND (Emp_F_Name LIKE ?)");
        values << QVariant(QLatin1Char('%') + Q(search.first_name_part) + QLatin1Char('%'));
    }
    // First names in Thai dictionary order, the same on every server.
    statement += QStringLiteral(" ORDER BY %1, SapID").arg(db.dialect().thaiOrder(QStringLiteral("Emp_F_Name")));
    QSqlQuery q = db.query();
    if (!Exec(db, q, statement, values, "ค้นหารายการคำนวณเงินชดเชย", error))
        return false;
    rows->clear();
    while (q.next()) {
        Saved_List_Row r;
        r.sapid = Text(q.value(0));
        r.full_name = Full_Name(Text(q.value(1)), Text(q.value(2)), Text(q.value(3)));
        r.begin = Text(q.value(4));
        r.end = Text(q.value(5));
        r.depart_code = Text(q.value(6));
        r.depart_name = Text(q.value(7));
        r.total_days = Integer(q.value(8));
        r.net = Number(q.value(9));
        rows->push_back(std::move(r));
    }
    return true;
}

bool Cancel_Within(const db::Database& db, const std::string& sapid, bool withHistory, const char* kind,
    const QJsonObject& extra, std::string* error)
{
    const crash::ActionInProgress action(QStringLiteral("calculation-cancelled ") + QString::fromStdString(sapid));
    const std::string id = Trim_Spaces(sapid);
    const QVariantList key = {Q(id)};

    // A SAP ID without a saved calculation (cancelled meanwhile in another
    // window, or mistyped) is refused before anything is written.
    QSqlQuery existing = db.query();
    if (!Exec(db, existing, QStringLiteral("SELECT COUNT(*) FROM EP_mRec_Money_Chodchoy WHERE SapID = ?"), key,
            "ตรวจรายการเงินชดเชย", error))
        return false;
    if (!existing.next() || Integer(existing.value(0)) == 0) {
        if (error)
            *error = "ไม่พบรายการคำนวณเงินชดเชยของ SAP ID " + id + " " + kMessage_Nothing_To_Cancel;
        return false;
    }

    // Every figure of what goes, written before it goes (same transaction).
    {
        QJsonObject removed;
        QString why;
        if (!audit::cancelledDetails(db, Q(id), withHistory, &removed, &why)) {
            if (error)
                *error = S(why);
            return false;
        }
        for (auto it = extra.constBegin(); it != extra.constEnd(); ++it)
            removed.insert(it.key(), it.value());
        if (!audit::record(db, QLatin1String(kind), Q(id), removed, &why)) {
            if (error)
                *error = S(why);
            return false;
        }
    }

    struct Step
    {
        const char* statement;
        const char* purpose;
    };
    std::vector<Step> steps = {
        {"DELETE FROM EP_mRec_Money_Chodchoy WHERE SapID = ?", "ลบรายการเงินชดเชย"},
        {"DELETE FROM EP_mRec_Money_Detail WHERE SapID = ?", "ลบรายละเอียดช่วงการทำงาน"},
        {"DELETE FROM EP_mRep_Rec_Money WHERE Main_SapID = ?", "ลบประวัติการได้รับเงินชดเชย"},
        {"DELETE FROM EP_Calc_Check WHERE SapID = ?", "ลบสถานะการตรวจสอบ"},
    };
    for (const Step& s : steps) {
        QSqlQuery q = db.query();
        if (!Exec(db, q, QString::fromUtf8(s.statement), key, s.purpose, error))
            return false;
    }
    QSqlQuery status = db.query();
    if (!Exec(db, status,
            QStringLiteral("UPDATE EP_Emp_Main SET Emp_RecMChod_Status = ? WHERE (SapID = ?)"
                           " AND (Emp_RecMChod_Status = ?)"),
            {QStringLiteral("A"), Q(id), QStringLiteral("P")}, "บันทึกสถานะพนักงาน", error))
        return false;
    if (withHistory) {
        QSqlQuery q = db.query();
        if (!Exec(db, q, QStringLiteral("DELETE FROM EP_Work_Histry WHERE (SapID = ?)"), key, "ลบประวัติการทำงาน", error))
            return false;
    }
    return true;
}

bool Cancel_Calculation(const db::Database& db, const std::string& sapid, bool withHistory, std::string* error)
{
    const std::string id = Trim_Spaces(sapid);
    if (id.empty()) {
        if (error)
            *error = kMessage_Nothing_To_Cancel;
        return false;
    }
    // Who may cancel depends on whether the calculation counts as checked.
    QString why;
    const std::optional<bool> checked = checks::countsAsChecked(db, Q(id), &why);
    if (!checked) {
        if (error)
            *error = S(why);
        return false;
    }
    const rights::Action action = *checked ? rights::Action::CancelChecked : rights::Action::CancelUnchecked;
    if (!rights::allowed(db, action, error, Q(id)))
        return false;

    db::Transaction tx(db);
    if (!Began(tx, "ยกเลิกการคำนวณไม่ได้: ", error))
        return false;
    // checked by another user meanwhile: the cancel needs the checker's right now
    const std::optional<bool> now = checks::countsAsChecked(db, Q(id), &why);
    if (now && *now != *checked && !rights::mayDo(rights::Action::CancelChecked)) {
        if (error)
            *error = S(rights::refusalMessage(rights::Action::CancelChecked));
        return false;
    }
    return Cancel_Within(db, id, withHistory, audit::kind::kCalculationCancelled, {}, error)
        && Committed(tx, "ยกเลิกการคำนวณไม่สำเร็จ: ", error);
}

} // namespace velmora::calc
