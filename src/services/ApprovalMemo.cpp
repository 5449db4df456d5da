#include "services/ApprovalMemo.h"

#include "db/Database.h"
#include "rules/Utility.h"
#include "services/Backup.h"
#include "services/CalculationChecks.h"
#include "services/CrashReport.h"
#include "services/OfficeSettings.h"
#include "services/ReportQueries.h"
#include "services/Rights.h"

#include <QJsonObject>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace velmora::reports {

namespace {

QString trimmed(const QString& s)
{
    return QString::fromStdString(Trim_Spaces(s.toStdString()));
}

QString quoted(const QString& s)
{
    return QStringLiteral("\"") + s + QStringLiteral("\"");
}

// The department of each saved calculation of the selection, in selection
// order; false after a database error.
bool readDepartments(const db::Database& db, const QStringList& sapIds, QStringList* departments, QString* error)
{
    QSqlQuery q = db.query();
    q.setForwardOnly(true);
    if (!q.prepare(QStringLiteral("SELECT Depart_Name FROM EP_mRec_Money_Chodchoy WHERE SapID = ?"))) {
        *error = QStringLiteral("การอ่านหน่วยงานของรายการที่เลือก: ") + q.lastError().text();
        return false;
    }
    for (const QString& sapId : sapIds) {
        q.bindValue(0, sapId);
        if (!db.exec(q, QStringLiteral("การอ่านหน่วยงานของ SAP ID ") + sapId, error))
            return false;
        if (!q.next()) {
            *error = QStringLiteral("ไม่พบผลการคำนวณที่บันทึกไว้ของ SAP ID %1 (อาจถูกยกเลิกไปแล้ว) "
                                    "กรุณากดแสดงข้อมูลใหม่อีกครั้ง")
                         .arg(sapId);
            return false;
        }
        const QString name = q.value(0).isNull() ? QString() : trimmed(q.value(0).toString());
        if (name.isEmpty()) {
            *error = QStringLiteral("ผลการคำนวณของ SAP ID %1 ไม่มีชื่อหน่วยงาน จึงพิมพ์บันทึกข้อความไม่ได้").arg(sapId);
            return false;
        }
        departments->append(name);
        q.finish();
    }
    return true;
}

// The memo gathers only checked calculations (every one while the office has
// turned the check off); false naming those that are not.
bool onlyChecked(const db::Database& db, const QStringList& sapIds, QString* error)
{
    bool fourEyes = true;
    if (!office::fourEyesRequired(db, &fourEyes, error))
        return false;
    if (!fourEyes)
        return true;
    QStringList waiting;
    for (const QString& sapId : sapIds) {
        checks::CheckRow row;
        if (!checks::readCheck(db, sapId, &row, error))
            return false;
        if (!checks::countsAsChecked(row, fourEyes))
            waiting << sapId;
    }
    if (waiting.isEmpty())
        return true;
    *error = QStringLiteral("บันทึกข้อความรวมเฉพาะรายการที่ตรวจสอบแล้ว: SAP ID %1 ยังไม่ได้ตรวจสอบ "
                            "ยังไม่ได้พิมพ์และยังไม่ได้บันทึกการพิมพ์")
                 .arg(waiting.join(QStringLiteral(", ")));
    return false;
}

} // namespace

ApprovalMemo prepareApprovalMemo(const db::Database& db, const ReportGrid& selection,
    const std::optional<QString>& department, const QString& routing)
{
    ApprovalMemo memo;
    if (!rights::allowed(db, rights::Action::PrintMemo, &memo.error))
        return memo;
    memo.count = selectedCount(selection);
    memo.totalText = selectionTotal(selection);
    const QStringList sapIds = selectedSapIds(selection);

    std::optional<QString> named;
    if (department) {
        named = trimmed(*department);
        QStringList known;
        if (!listDepartments(db, &known, &memo.error))
            return memo;
        bool found = false;
        for (const QString& name : known)
            found = found || trimmed(name) == *named;
        if (!found) {
            memo.error = QStringLiteral("ไม่พบหน่วยงาน %1 ในรายการหน่วยงาน กรุณาเลือกหน่วยงานจากรายการ").arg(quoted(*named));
            return memo;
        }
    }

    const crash::ActionInProgress action(QStringLiteral("memo-printed ") + sapIds.join(QLatin1Char(',')));
    if (!backup::backupBeforeAction(db, &memo.error))
        return memo;
    db::Transaction tx(db);
    if (!tx.active()) {
        memo.error = QStringLiteral("การบันทึกการพิมพ์บันทึกข้อความ: เริ่ม transaction ไม่ได้");
        return memo;
    }
    QStringList departments;
    if (!readDepartments(db, sapIds, &departments, &memo.error))
        return memo;
    QStringList distinct;
    for (const QString& name : departments)
        if (!distinct.contains(name))
            distinct << name;
    if (distinct.size() > 1) {
        memo.error = QStringLiteral("รายการที่เลือกมาจากหลายหน่วยงาน (%1) บันทึกข้อความหนึ่งฉบับต้องเป็นของหน่วยงานเดียว "
                                    "กรุณาเลือกเฉพาะรายการของหน่วยงานเดียวกัน ยังไม่ได้พิมพ์และยังไม่ได้บันทึกการพิมพ์")
                         .arg(distinct.join(QStringLiteral(", ")));
        return memo;
    }
    if (!distinct.isEmpty() && named && *named != distinct.first()) {
        memo.error = QStringLiteral("รายการที่เลือกเป็นของหน่วยงาน %1 ไม่ใช่หน่วยงาน %2 ที่ระบุไว้ "
                                    "ยังไม่ได้พิมพ์และยังไม่ได้บันทึกการพิมพ์")
                         .arg(quoted(distinct.first()), quoted(*named));
        return memo;
    }
    if (!onlyChecked(db, sapIds, &memo.error))
        return memo;
    memo.department = distinct.isEmpty() ? named.value_or(QString()) : distinct.first();
    const QJsonObject details {{QStringLiteral("amount"), memo.totalText},
        {QStringLiteral("department"), memo.department}, {QStringLiteral("routing"), routing}};
    if (!markMemoPrintedIn(db, sapIds, details, &memo.error))
        return memo;
    // the head is locked by this transaction: the row just written
    if (!audit::printedValueNow(db, &memo.printed, &memo.error))
        return memo;
    if (!tx.commit(&memo.error))
        return memo;
    memo.ok = true;
    return memo;
}

ListedSelection selectListedLines(const db::Database& db, const FundSourceCriteria& criteria, const QStringList& sapIds)
{
    ListedSelection r;
    if (!rights::allowed(db, rights::Action::PrintMemo, &r.error))
        return r;
    FundSourceResult result = queryFundSource(db, criteria);
    if (!result.ok) {
        r.error = result.error;
        return r;
    }
    const QSet<QString> wanted(sapIds.begin(), sapIds.end());
    QSet<QString> found;
    for (int row = 0; row < result.lines.size(); ++row) {
        if (wanted.contains(result.lines.at(row).sapId)) {
            markLine(result.grid, row);
            found.insert(result.lines.at(row).sapId);
        }
    }
    QStringList missing;
    for (const QString& id : wanted)
        if (!found.contains(id))
            missing << id;
    if (!missing.isEmpty()) {
        missing.sort();
        r.error = QStringLiteral("ไม่พบ SAP ID ในรายการเงินชดเชยแยกแหล่งเงิน: ") + missing.join(QStringLiteral(", "));
        return r;
    }
    r.selection = gatherSelection(result.grid, result.lines);
    r.ok = true;
    return r;
}

} // namespace velmora::reports
