#include "services/CalculationChecks.h"

#include "db/AuditLog.h"
#include "db/Database.h"
#include "db/Statement.h"
#include "rules/AmountText.h"
#include "rules/Utility.h"
#include "services/CancelService.h"
#include "services/OfficeSettings.h"
#include "services/Rights.h"

#include <QDateTime>
#include <QJsonObject>
#include <QSet>
#include <QSqlQuery>
#include <QVariant>

namespace velmora::checks {

namespace {

const QString kCheckColumns =
    QStringLiteral("k.Check_State, k.Saved_By, k.Saved_At, k.Checked_By, k.Checked_At, k.Reason");

// The check columns of a row, from `first` on (kCheckColumns' order).
CheckRow checkOf(const QSqlQuery& q, int first)
{
    CheckRow r;
    r.stored = !q.value(first).isNull();
    r.state = stateOf(q.value(first).toString());
    r.savedBy = q.value(first + 1).toString();
    r.savedAt = shownTime(q.value(first + 2));
    r.checkedBy = q.value(first + 3).toString();
    r.checkedAt = shownTime(q.value(first + 4));
    r.reason = q.value(first + 5).toString();
    return r;
}

QString codeOf(State state)
{
    switch (state) {
    case State::Waiting:
        return QStringLiteral("W");
    case State::Checked:
        return QStringLiteral("C");
    case State::Returned:
        return QStringLiteral("R");
    }
    return {};
}

// One SAP ID to check or return, as read inside the transaction.
struct Target
{
    QString sapid;
    CheckRow row;
    QVariant savedAt; // as stored, kept by a return
    double net = 0;
};

// Every SAP ID once, blanks removed, in the order given.
QStringList distinctIds(const QStringList& sapids)
{
    QStringList ids;
    QSet<QString> seen;
    for (const QString& s : sapids) {
        const QString id = s.trimmed();
        if (!id.isEmpty() && !seen.contains(id)) {
            seen.insert(id);
            ids << id;
        }
    }
    return ids;
}

enum class Problem { None, Refused, Own };

// Reads the saved calculation and the check of each SAP ID; the first that
// cannot be checked or returned gives the problem and its message.
bool readTargets(const db::Database& db, const QStringList& ids, std::vector<Target>* targets, Problem* problem,
    QString* message, QString* problemId, QString* error)
{
    QSqlQuery q = db.query();
    q.setForwardOnly(true);
    if (!q.prepare(QStringLiteral("SELECT c.Net_Money_Recieve, %1 FROM EP_mRec_Money_Chodchoy c"
                                  " LEFT JOIN EP_Calc_Check k ON k.SapID = c.SapID WHERE c.SapID = ?")
                       .arg(kCheckColumns))) {
        if (error)
            *error = db.failureOf(q);
        return false;
    }
    const QString me = rights::currentLogin().user;
    *problem = Problem::None;
    targets->clear();
    targets->reserve(static_cast<size_t>(ids.size()));
    for (const QString& id : ids) {
        *problemId = id;
        q.bindValue(0, id);
        if (!db.exec(q, QStringLiteral("อ่านรายการคำนวณของ SAP ID ") + id, error))
            return false;
        if (!q.next()) {
            *problem = Problem::Refused;
            *message = QStringLiteral("ไม่พบรายการคำนวณเงินชดเชยที่บันทึกไว้ของ SAP ID %1").arg(id);
            return true;
        }
        Target t;
        t.sapid = id;
        t.net = q.value(0).toDouble();
        t.row = checkOf(q, 1);
        t.savedAt = q.value(3);
        q.finish();
        if (t.row.state == State::Checked) {
            *problem = Problem::Refused;
            *message = QStringLiteral("SAP ID %1 ตรวจสอบแล้วโดย %2").arg(id, t.row.checkedBy);
            return true;
        }
        if (!t.row.savedBy.isEmpty() && t.row.savedBy.compare(me, Qt::CaseInsensitive) == 0) {
            *problem = Problem::Own;
            *message = QStringLiteral("SAP ID %1 บันทึกโดย %2: ผู้บันทึกตรวจสอบหรือส่งคืนการคำนวณของตนเองไม่ได้ "
                                      "ต้องให้ผู้ตรวจสอบคนอื่น")
                           .arg(id, t.row.savedBy);
            return true;
        }
        targets->push_back(std::move(t));
    }
    return true;
}

// The checks or returns of `ids`: the targets read and `write` run in one
// transaction; a problem rolls everything back and is reported afterwards (a
// checker's own calculation with its refusal's row).
bool actOn(const db::Database& db, rights::Action action, const QStringList& sapids,
    const std::function<bool(const std::vector<Target>&, const QVariant& now, QString*)>& write, QString* error)
{
    const QStringList ids = distinctIds(sapids);
    if (ids.isEmpty()) {
        if (error)
            *error = QStringLiteral("กรุณาระบุ SAP ID ของรายการที่ต้องการ%1").arg(rights::actionTitle(action));
        return false;
    }
    Problem problem = Problem::None;
    QString message;
    QString problemId;
    {
        db::Transaction tx(db);
        if (!tx.active()) {
            if (error)
                *error = tx.error();
            return false;
        }
        std::vector<Target> targets;
        if (!readTargets(db, ids, &targets, &problem, &message, &problemId, error))
            return false;
        if (problem == Problem::None) {
            QString why;
            const std::optional<QDateTime> now = db.serverNow(&why);
            if (!now) {
                if (error)
                    *error = why;
                return false;
            }
            return write(targets, db.dateTimeValue(*now), error) && tx.commit(error);
        }
    }
    if (problem == Problem::Own)
        return rights::refuse(db, action, QStringLiteral("own-calculation"), message, error, problemId);
    if (error)
        *error = message;
    return false;
}

} // namespace

QString stateTitle(State state)
{
    switch (state) {
    case State::Waiting:
        return QStringLiteral("รอตรวจสอบ");
    case State::Checked:
        return QStringLiteral("ตรวจสอบแล้ว");
    case State::Returned:
        return QStringLiteral("ส่งคืน");
    }
    return {};
}

State stateOf(const QString& code)
{
    if (code == QLatin1String("C"))
        return State::Checked;
    if (code == QLatin1String("R"))
        return State::Returned;
    return State::Waiting;
}

QString shownTime(const QVariant& value)
{
    if (value.isNull())
        return {};
    QDateTime t;
    if (value.metaType().id() == QMetaType::QDateTime)
        t = value.toDateTime();
    else
        t = QDateTime::fromString(value.toString().left(19).replace(QLatin1Char('T'), QLatin1Char(' ')),
            QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!t.isValid())
        return value.toString();
    return t.toString(QStringLiteral("dd/MM/")) + QString::number(t.date().year() + 543)
        + t.toString(QStringLiteral(" HH:mm"));
}

QString shownState(const CheckRow& row, bool fourEyes)
{
    if (row.state == State::Returned)
        return stateTitle(State::Returned) + QStringLiteral(": ") + row.reason;
    if (row.state == State::Waiting && !fourEyes)
        return QStringLiteral("ไม่ต้องตรวจสอบ");
    return stateTitle(row.state);
}

bool countsAsChecked(const CheckRow& row, bool fourEyes)
{
    return row.state == State::Checked || (row.state == State::Waiting && !fourEyes);
}

bool readCheck(const db::Database& db, const QString& sapid, CheckRow* row, QString* error)
{
    QSqlQuery q = db.query();
    if (!db::prepareAndRun(db, q, QStringLiteral("SELECT %1 FROM EP_Calc_Check k WHERE k.SapID = ?").arg(kCheckColumns),
            {sapid}, QStringLiteral("อ่านสถานะการตรวจสอบ"), error))
        return false;
    *row = q.next() ? checkOf(q, 0) : CheckRow {};
    return true;
}

std::optional<bool> countsAsChecked(const db::Database& db, const QString& sapid, QString* error)
{
    CheckRow row;
    bool fourEyes = true;
    if (!readCheck(db, sapid, &row, error) || !office::fourEyesRequired(db, &fourEyes, error))
        return std::nullopt;
    return countsAsChecked(row, fourEyes);
}

bool recordSavedWithin(const db::Database& db, const QString& sapid, QString* error)
{
    const std::optional<QDateTime> now = db.serverNow(error);
    if (!now)
        return false;
    const QString purpose = QStringLiteral("บันทึกสถานะการตรวจสอบ");
    return db::prepareAndRun(db, QStringLiteral("DELETE FROM EP_Calc_Check WHERE SapID = ?"), {sapid}, purpose, error)
        && db::prepareAndRun(db,
            QStringLiteral("INSERT INTO EP_Calc_Check (SapID, Check_State, Saved_By, Saved_At) VALUES (?, ?, ?, ?)"),
            {sapid, codeOf(State::Waiting), rights::currentLogin().user, db.dateTimeValue(*now)}, purpose, error);
}

bool listPending(const db::Database& db, std::vector<Pending>* pending, QString* error)
{
    if (!rights::allowed(db, rights::Action::CheckCalculation, error))
        return false;
    QSqlQuery q = db.query();
    if (!db::prepareAndRun(db, q,
            QStringLiteral("SELECT c.SapID, c.Emp_Surname, c.Emp_F_Name, c.Emp_L_Name, c.Depart_Name, c.MMYYYY_Recieve,"
                           " c.Net_Money_Recieve, %1 FROM EP_mRec_Money_Chodchoy c"
                           " LEFT JOIN EP_Calc_Check k ON k.SapID = c.SapID"
                           " WHERE (k.Check_State IS NULL OR k.Check_State = ?) ORDER BY %2, c.SapID")
                .arg(kCheckColumns, db.dialect().thaiOrder(QStringLiteral("c.Emp_F_Name"))),
            {codeOf(State::Waiting)}, QStringLiteral("อ่านรายการที่รอตรวจสอบ"), error))
        return false;
    pending->clear();
    while (q.next()) {
        const CheckRow row = checkOf(q, 7);
        pending->push_back({q.value(0).toString(),
            QString::fromStdString(Full_Name(q.value(1).toString().toStdString(), q.value(2).toString().toStdString(),
                q.value(3).toString().toStdString())),
            q.value(4).toString(), q.value(5).toString(), QString::fromStdString(Amount_Text(q.value(6).toDouble())),
            row.savedBy, row.savedAt});
    }
    return true;
}

bool verifyCalculations(const db::Database& db, const QStringList& sapids, int* checked, QString* error)
{
    if (checked)
        *checked = 0;
    if (!rights::allowed(db, rights::Action::CheckCalculation, error))
        return false;
    const QString me = rights::currentLogin().user;
    return actOn(
        db, rights::Action::CheckCalculation, sapids,
        [&](const std::vector<Target>& targets, const QVariant& now, QString* why) {
            QSqlQuery update = db.query();
            QSqlQuery insert = db.query();
            for (auto [q, sql] : {std::pair {&update,
                                      "UPDATE EP_Calc_Check SET Check_State = ?, Checked_By = ?, Checked_At = ?"
                                      " WHERE SapID = ?"},
                     std::pair {&insert,
                         "INSERT INTO EP_Calc_Check (SapID, Check_State, Checked_By, Checked_At) VALUES (?, ?, ?, "
                         "?)"}}) {
                if (!q->prepare(QString::fromLatin1(sql))) {
                    if (why)
                        *why = db.failureOf(*q);
                    return false;
                }
            }
            for (const Target& t : targets) {
                QSqlQuery& q = t.row.stored ? update : insert;
                const QVariantList values = t.row.stored ? QVariantList {codeOf(State::Checked), me, now, t.sapid}
                                                         : QVariantList {t.sapid, codeOf(State::Checked), me, now};
                for (int i = 0; i < values.size(); ++i)
                    q.bindValue(i, values.at(i));
                if (!db.exec(q, QStringLiteral("บันทึกการตรวจสอบของ SAP ID ") + t.sapid, why)
                    || !audit::record(db, QLatin1String(audit::kind::kCalculationChecked), t.sapid,
                        QJsonObject {{QStringLiteral("saved_by"), t.row.savedBy},
                            {QStringLiteral("net"), QString::fromStdString(Amount_Text(t.net))}},
                        why))
                    return false;
            }
            if (checked)
                *checked = static_cast<int>(targets.size());
            return true;
        },
        error);
}

bool returnCalculations(const db::Database& db, const QStringList& sapids, const QString& reason, QString* error)
{
    if (!rights::allowed(db, rights::Action::ReturnCalculation, error))
        return false;
    const QString why = reason.trimmed();
    if (why.isEmpty()) {
        if (error)
            *error = QStringLiteral("กรุณาระบุเหตุผลที่ส่งคืน");
        return false;
    }
    if (why.toUcs4().size() > 255) {
        if (error)
            *error = QStringLiteral("เหตุผลที่ส่งคืนยาวได้ไม่เกิน 255 ตัวอักษร");
        return false;
    }
    const QString me = rights::currentLogin().user;
    return actOn(
        db, rights::Action::ReturnCalculation, sapids,
        [&](const std::vector<Target>& targets, const QVariant& now, QString* failure) {
            for (const Target& t : targets) {
                std::string message;
                if (!calc::Cancel_Within(db, t.sapid.toStdString(), false, audit::kind::kCalculationReturned,
                        QJsonObject {{QStringLiteral("reason"), why}, {QStringLiteral("saved_by"), t.row.savedBy}},
                        &message)) {
                    if (failure)
                        *failure = QString::fromStdString(message);
                    return false;
                }
                if (!db::prepareAndRun(db,
                        QStringLiteral("INSERT INTO EP_Calc_Check (SapID, Check_State, Saved_By, Saved_At, Checked_By,"
                                       " Checked_At, Reason) VALUES (?, ?, ?, ?, ?, ?, ?)"),
                        {t.sapid, codeOf(State::Returned), t.row.savedBy, t.savedAt, me, now, why},
                        QStringLiteral("บันทึกการส่งคืน"), failure))
                    return false;
            }
            return true;
        },
        error);
}

} // namespace velmora::checks
