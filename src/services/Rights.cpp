#include "services/Rights.h"

#include "db/AuditLog.h"
#include "db/Database.h"
#include "db/Users.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QMutex>

#include <map>

namespace velmora::rights {

namespace {

using R = Role;

struct ActionRow
{
    const char* name;
    const char* title; // "ไม่มีสิทธิ์" + title
    QList<Role> roles; // empty: every logged-in user
};

// The one table of who may do what.
const std::map<Action, ActionRow>& table()
{
    static const std::map<Action, ActionRow> rows = {
        {Action::ImportEmployees, {"import-employees", "นำเข้าข้อมูลพนักงาน", {R::Officer}}},
        {Action::ImportHistory, {"import-history", "นำเข้าประวัติการจ้าง", {R::Officer}}},
        {Action::Calculate, {"calculate", "คำนวณเงินชดเชย", {R::Officer}}},
        {Action::SaveCalculation, {"save-calculation", "บันทึกการคำนวณเงินชดเชย", {R::Officer}}},
        {Action::PreviewRun, {"preview-run", "ประมวลผลเงินชดเชยประจำเดือน", {R::Officer}}},
        {Action::CancelUnchecked, {"cancel-unchecked", "ยกเลิกการคำนวณที่ยังไม่ได้ตรวจสอบ", {R::Officer}}},
        {Action::CancelChecked, {"cancel-checked", "ยกเลิกการคำนวณที่ตรวจสอบแล้ว", {R::Checker}}},
        {Action::CheckCalculation, {"check-calculation", "ตรวจสอบการคำนวณเงินชดเชย", {R::Checker}}},
        {Action::ReturnCalculation, {"return-calculation", "ส่งคืนการคำนวณเงินชดเชย", {R::Checker}}},
        {Action::PrintMemo, {"print-memo", "พิมพ์บันทึกข้อความขออนุมัติ", {R::Checker}}},
        {Action::Report, {"report", "ดูรายงาน", {R::Officer, R::Checker, R::Auditor}}},
        {Action::Export, {"export", "ส่งออกรายงาน", {R::Officer, R::Checker, R::Auditor}}},
        {Action::PrintPage, {"print-page", "พิมพ์เอกสาร", {R::Officer, R::Checker, R::Auditor}}},
        {Action::ReadAuditTrail, {"read-audit-trail", "ดูประวัติการใช้งาน", {R::Auditor, R::Administrator}}},
        {Action::VerifyAuditTrail,
            {"verify-audit-trail", "ตรวจสอบความครบถ้วนของประวัติการใช้งาน", {R::Auditor, R::Administrator}}},
        {Action::ListUsers, {"list-users", "ดูรายชื่อผู้ใช้งานระบบ", {R::Administrator, R::Auditor}}},
        {Action::ManageUsers, {"manage-users", "จัดการผู้ใช้งานระบบและบทบาท", {R::Administrator}}},
        {Action::OrganisationSettings, {"organisation-settings", "แก้ไขข้อมูลหน่วยงาน", {R::Administrator}}},
        {Action::FourEyesSetting, {"four-eyes-setting", "เปลี่ยนการตั้งค่าการตรวจสอบก่อนพิมพ์บันทึกข้อความ", {R::Administrator}}},
        {Action::Backup, {"backup", "สำรองข้อมูล", {R::Administrator, R::Officer}}},
        {Action::Restore, {"restore", "กู้คืนข้อมูล", {R::Administrator}}},
        {Action::CopyDatabase, {"copy-database", "คัดลอกข้อมูลไปยังฐานข้อมูลอื่น", {R::Administrator}}},
        {Action::ChangeOwnPassword, {"change-own-password", "เปลี่ยนรหัสผ่าน", {}}},
        {Action::LogOut, {"log-out", "ออกจากระบบ", {}}},
    };
    return rows;
}

const ActionRow& rowOf(Action action)
{
    return table().at(action);
}

QMutex g_loginLock;
Login g_login;

} // namespace

const QList<Role>& allRoles()
{
    static const QList<Role> roles = {R::Administrator, R::Officer, R::Checker, R::Auditor};
    return roles;
}

QString roleName(Role role)
{
    // the names stored in EP_User_Role, in the order of allRoles()
    return db::allRoleNames().at(static_cast<int>(role));
}

QString roleTitle(Role role)
{
    switch (role) {
    case R::Administrator:
        return QStringLiteral("ผู้ดูแลระบบ");
    case R::Officer:
        return QStringLiteral("เจ้าหน้าที่การเงิน");
    case R::Checker:
        return QStringLiteral("ผู้ตรวจสอบ");
    case R::Auditor:
        return QStringLiteral("ผู้ตรวจสอบภายใน");
    }
    return {};
}

std::optional<Role> roleNamed(const QString& name)
{
    for (Role r : allRoles())
        if (roleName(r) == name)
            return r;
    return std::nullopt;
}

bool parseRoles(const QString& list, QList<Role>* roles, QString* error)
{
    QList<Role> out;
    for (const QString& part : list.split(QLatin1Char(','))) {
        const QString name = part.trimmed();
        if (name.isEmpty())
            continue;
        const std::optional<Role> r = roleNamed(name);
        if (!r) {
            if (error)
                *error = QStringLiteral("ไม่รู้จักบทบาท \"%1\" (บทบาทที่มี: %2)")
                             .arg(name, roleNames(allRoles()).join(QStringLiteral(", ")));
            return false;
        }
        if (!out.contains(*r))
            out << *r;
    }
    if (out.isEmpty()) {
        if (error)
            *error = QStringLiteral("กรุณาระบุบทบาทอย่างน้อยหนึ่งบทบาท (%1)")
                         .arg(roleNames(allRoles()).join(QStringLiteral(", ")));
        return false;
    }
    *roles = out;
    return true;
}

QStringList roleNames(const QList<Role>& roles)
{
    QStringList names;
    for (Role r : allRoles()) // always in the table's order
        if (roles.contains(r))
            names << roleName(r);
    return names;
}

QString rolesText(const QList<Role>& roles)
{
    QStringList parts;
    for (Role r : allRoles())
        if (roles.contains(r))
            parts << QStringLiteral("%1 (%2)").arg(roleTitle(r), roleName(r));
    return parts.join(QStringLiteral(", "));
}

QString actionName(Action action)
{
    return QLatin1String(rowOf(action).name);
}

QString actionTitle(Action action)
{
    return QString::fromUtf8(rowOf(action).title);
}

const QList<Role>& rolesFor(Action action)
{
    return rowOf(action).roles;
}

void setLogin(const Login& login)
{
    {
        QMutexLocker lock(&g_loginLock);
        g_login = login;
    }
    audit::Actor actor = audit::currentActor();
    actor.user = login.user;
    audit::setActor(actor);
}

Login currentLogin()
{
    QMutexLocker lock(&g_loginLock);
    return g_login;
}

bool mayDo(Action action)
{
    const Login login = currentLogin();
    if (!login.active())
        return false;
    const QList<Role>& needed = rolesFor(action);
    if (needed.isEmpty())
        return true;
    for (Role r : needed)
        if (login.holds(r))
            return true;
    return false;
}

QString refusalMessage(Action action)
{
    if (!currentLogin().active())
        return QStringLiteral("ไม่มีสิทธิ์%1: ยังไม่ได้เข้าสู่ระบบ").arg(actionTitle(action));
    QStringList needed;
    for (Role r : rolesFor(action))
        needed << QStringLiteral("%1 (%2)").arg(roleTitle(r), roleName(r));
    return QStringLiteral("ไม่มีสิทธิ์%1: ต้องเป็น%2").arg(actionTitle(action), needed.join(QStringLiteral(" หรือ ")));
}

namespace {

// The refusal's row, in a transaction of its own; the refusal stands even when
// the row cannot be written.
void recordRefusal(const db::Database& db, Action action, const QString& reason, const QString& sapid)
{
    if (db.readOnly())
        return;
    const Login login = currentLogin();
    QJsonObject details {{QStringLiteral("action"), actionName(action)},
        {QStringLiteral("needs"), QJsonArray::fromStringList(roleNames(rolesFor(action)))},
        {QStringLiteral("roles"), QJsonArray::fromStringList(roleNames(login.roles))}};
    if (!reason.isEmpty())
        details.insert(QStringLiteral("reason"), reason);
    QString ignored;
    audit::recordAround(
        db, QLatin1String(audit::kind::kActionRefused), sapid, details, [](QString*) { return true; }, &ignored);
}

} // namespace

bool allowed(const db::Database& db, Action action, QString* error, const QString& sapid)
{
    if (mayDo(action))
        return true;
    recordRefusal(db, action, QString(), sapid);
    if (error)
        *error = refusalMessage(action);
    return false;
}

bool allowed(const db::Database& db, Action action, std::string* error, const QString& sapid)
{
    QString message;
    if (allowed(db, action, &message, sapid))
        return true;
    if (error)
        *error = message.toStdString();
    return false;
}

bool refuse(const db::Database& db, Action action, const QString& reason, const QString& message, QString* error,
    const QString& sapid)
{
    recordRefusal(db, action, reason, sapid);
    if (error)
        *error = message;
    return false;
}

} // namespace velmora::rights
