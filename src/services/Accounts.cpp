#include "services/Accounts.h"

#include "db/AuditLog.h"
#include "db/Database.h"
#include "db/Statement.h"
#include "services/ServerSetup.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QSqlQuery>
#include <QVariant>

namespace velmora::accounts {

using rights::Action;
using rights::Role;

namespace {

QList<Role> rolesOf(const QStringList& names)
{
    QList<Role> roles;
    for (const QString& n : names)
        if (const std::optional<Role> r = rights::roleNamed(n))
            roles << *r;
    return roles;
}

QString fullNameOf(const db::UserAccount& a)
{
    return (a.firstName + QLatin1Char(' ') + a.lastName).trimmed();
}

QString noSuchUser(const QString& name)
{
    return QStringLiteral("ไม่พบชื่อผู้ใช้ในระบบ: ") + name;
}

// Runs `change` and its audit row in one transaction.
bool inTransaction(const db::Database& db, const std::function<bool(QString*)>& change, QString* error)
{
    db::Transaction tx(db);
    if (!tx.active()) {
        if (error)
            *error = tx.error();
        return false;
    }
    return change(error) && tx.commit(error);
}

// The user must exist; false with the message otherwise.
std::optional<db::UserAccount> existing(const db::Database& db, const QString& name, QString* error)
{
    QString why;
    std::optional<db::UserAccount> a = db::readUserAccount(db, name, &why);
    if (!a && error)
        *error = why.isEmpty() ? noSuchUser(name) : why;
    return a;
}

// Refuses a change after which no enabled user would hold the administrator's role.
bool keepsAnAdministrator(
    const db::Database& db, const db::UserAccount& before, bool stillAdministrator, QString* error)
{
    const QString admin = rights::roleName(Role::Administrator);
    const bool wasAdministrator = before.enabled && before.roles.contains(admin);
    if (!wasAdministrator || stillAdministrator)
        return true;
    const int others = db::enabledHolders(db, admin, before.userName, error);
    if (others < 0)
        return false;
    if (others == 0) {
        if (error)
            *error = QStringLiteral("ต้องมีผู้ดูแลระบบ (administrator) ที่ใช้งานได้อย่างน้อยหนึ่งคน: "
                                    "%1 เป็นผู้ดูแลระบบคนสุดท้าย จึงเปลี่ยนไม่ได้")
                         .arg(before.userName);
        return false;
    }
    return true;
}

bool record(const db::Database& db, const char* kind, const QJsonObject& details, QString* error)
{
    return audit::record(db, QLatin1String(kind), QString(), details, error);
}

// Adds the user, roles and state with the user-added row (the caller's transaction).
bool addWithin(const db::Database& db, const QString& userName, const QString& fullName, const QList<Role>& roles,
    const QString& password, QString* error)
{
    const QString problem = passwordProblem(userName, password);
    if (!problem.isEmpty()) {
        if (error)
            *error = problem;
        return false;
    }
    QString first;
    QString last;
    splitFullName(fullName, &first, &last);
    return db::addUserWithin(db, userName, password, first, last, error)
        && db::storeUserRoles(db, userName, rights::roleNames(roles), error)
        && db::storeUserState(db, userName, true, false, error)
        && server::addLogin(db, userName, password, rights::roleNames(roles), error)
        && record(db, audit::kind::kUserAdded,
            {{QStringLiteral("user_name"), userName}, {QStringLiteral("full_name"), fullName.trimmed()},
                {QStringLiteral("roles"), QJsonArray::fromStringList(rights::roleNames(roles))}},
            error);
}

} // namespace

QString passwordProblem(const QString& userName, const QString& password)
{
    const auto length = password.toUcs4().size();
    if (length < kPasswordMinLength || length > kPasswordMaxLength)
        return QStringLiteral("รหัสผ่านต้องยาว %1 ถึง %2 ตัวอักษร (ที่ใส่มา %3 ตัวอักษร)")
            .arg(kPasswordMinLength)
            .arg(kPasswordMaxLength)
            .arg(length);
    if (password.compare(userName.trimmed(), Qt::CaseInsensitive) == 0)
        return QStringLiteral("รหัสผ่านต้องไม่ใช่ชื่อผู้ใช้");
    return {};
}

QString loginMessage(db::LoginResult::Status status)
{
    switch (status) {
    case db::LoginResult::NoSuchUser:
        return QStringLiteral("ไม่พบชื่อผู้ใช้ในระบบ กรุณาใส่ชื่อใหม่");
    case db::LoginResult::WrongPassword:
        return QStringLiteral("รหัสผ่านไม่ถูกต้อง กรุณาใส่รหัสผ่านใหม่");
    case db::LoginResult::Disabled:
        return QStringLiteral("ผู้ใช้นี้ถูกระงับการใช้งาน กรุณาติดต่อผู้ดูแลระบบ");
    case db::LoginResult::Throttled:
        return QStringLiteral("ใส่รหัสผ่านผิดครบ %1 ครั้งภายใน %2 นาที ชื่อผู้ใช้นี้จึงถูกระงับการเข้าสู่ระบบ %3 นาที "
                              "กรุณาลองใหม่ภายหลัง")
            .arg(db::kLoginFailureLimit)
            .arg(db::kLoginFailureWindow)
            .arg(db::kLoginRefusal);
    case db::LoginResult::Ok:
    case db::LoginResult::Error:
        break;
    }
    return {};
}

QString serverLoginRefusal(const QString& driverText)
{
    // The server tells no unknown name from a wrong password, on purpose.
    if (driverText.contains(QLatin1String("password authentication failed")))
        return loginMessage(db::LoginResult::WrongPassword);
    if (driverText.contains(QLatin1String("is not permitted to log in")))
        return loginMessage(db::LoginResult::Disabled);
    return {};
}

LoginOutcome logIn(const db::Database& db, const QString& userName, const QString& password, bool recordLogin)
{
    LoginOutcome out;
    out.result = db::checkLogin(db, userName, password, recordLogin);
    if (out.result.status == db::LoginResult::Error) {
        out.message = out.result.error;
        return out;
    }
    out.message = loginMessage(out.result.status);
    if (out.ok())
        rights::setLogin({out.result.userName, rolesOf(out.result.roles)});
    return out;
}

void splitFullName(const QString& fullName, QString* firstName, QString* lastName)
{
    const QString t = fullName.simplified();
    const qsizetype blank = t.indexOf(QLatin1Char(' '));
    *firstName = blank < 0 ? t : t.left(blank);
    *lastName = blank < 0 ? QString() : t.mid(blank + 1);
}

bool listAccounts(const db::Database& db, std::vector<Account>* accounts, QString* error)
{
    if (!rights::allowed(db, Action::ListUsers, error))
        return false;
    std::vector<db::UserAccount> stored;
    if (!db::listUserAccounts(db, &stored, error))
        return false;
    accounts->clear();
    for (const db::UserAccount& a : stored)
        accounts->push_back({a.userName, fullNameOf(a), rolesOf(a.roles), a.enabled, a.mustChangePassword});
    return true;
}

bool anyAccount(const db::Database& db, bool* present, QString* error)
{
    QSqlQuery q = db.query();
    if (!db::prepareAndRun(
            db, q, QStringLiteral("SELECT COUNT(*) FROM EP_TR_User"), {}, QStringLiteral("นับผู้ใช้"), error))
        return false;
    *present = q.next() && q.value(0).toInt() > 0;
    return true;
}

bool addFirstAccount(
    const db::Database& db, const QString& userName, const QString& fullName, const QString& password, QString* error)
{
    return inTransaction(
        db,
        [&](QString* why) {
            bool present = false;
            if (!anyAccount(db, &present, why))
                return false;
            if (present) {
                if (why)
                    *why = QStringLiteral("ฐานข้อมูลนี้มีผู้ใช้อยู่แล้ว: ผู้ดูแลระบบเพิ่มผู้ใช้ด้วย velmora-cli --login ชื่อ user add");
                return false;
            }
            return addWithin(db, userName, fullName, rights::allRoles(), password, why);
        },
        error);
}

namespace {

// A user holds at least one role.
bool rolesGiven(const QList<Role>& roles, QString* error)
{
    if (!roles.isEmpty())
        return true;
    if (error)
        *error = QStringLiteral("กรุณาระบุบทบาทของผู้ใช้อย่างน้อยหนึ่งบทบาท");
    return false;
}

} // namespace

bool addAccount(const db::Database& db, const QString& userName, const QString& fullName, const QList<Role>& roles,
    const QString& password, QString* error)
{
    if (!rights::allowed(db, Action::ManageUsers, error) || !rolesGiven(roles, error))
        return false;
    return inTransaction(
        db, [&](QString* why) { return addWithin(db, userName, fullName, roles, password, why); }, error);
}

bool setAccountEnabled(const db::Database& db, const QString& userName, bool enabled, QString* error)
{
    if (!rights::allowed(db, Action::ManageUsers, error))
        return false;
    return inTransaction(
        db,
        [&](QString* why) {
            const std::optional<db::UserAccount> a = existing(db, userName, why);
            if (!a || (!enabled && !keepsAnAdministrator(db, *a, false, why)))
                return false;
            return db::storeUserState(db, a->userName, enabled, a->mustChangePassword, why)
                && server::setLoginEnabled(db, a->userName, enabled, why)
                && record(db, enabled ? audit::kind::kUserEnabled : audit::kind::kUserDisabled,
                    {{QStringLiteral("user_name"), a->userName}}, why);
        },
        error);
}

bool setAccountRoles(const db::Database& db, const QString& userName, const QList<Role>& roles, QString* error)
{
    if (!rights::allowed(db, Action::ManageUsers, error) || !rolesGiven(roles, error))
        return false;
    return inTransaction(
        db,
        [&](QString* why) {
            const std::optional<db::UserAccount> a = existing(db, userName, why);
            if (!a || !keepsAnAdministrator(db, *a, roles.contains(Role::Administrator), why))
                return false;
            const QStringList names = rights::roleNames(roles);
            return db::storeUserRoles(db, a->userName, names, why)
                && server::setLoginRoles(db, a->userName, names, why)
                && record(db, audit::kind::kRolesChanged,
                    {{QStringLiteral("user_name"), a->userName},
                        {QStringLiteral("old"), QJsonArray::fromStringList(a->roles)},
                        {QStringLiteral("new"), QJsonArray::fromStringList(names)}},
                    why);
        },
        error);
}

bool resetAccountPassword(const db::Database& db, const QString& userName, const QString& password, QString* error)
{
    if (!rights::allowed(db, Action::ManageUsers, error))
        return false;
    return inTransaction(
        db,
        [&](QString* why) {
            const std::optional<db::UserAccount> a = existing(db, userName, why);
            if (!a)
                return false;
            const QString problem = passwordProblem(a->userName, password);
            if (!problem.isEmpty()) {
                if (why)
                    *why = problem;
                return false;
            }
            return db::storeUserPassword(db, a->userName, password, why)
                && db::storeUserState(db, a->userName, a->enabled, true, why)
                && server::setLoginPassword(db, a->userName, password, why)
                && record(db, audit::kind::kPasswordReset, {{QStringLiteral("user_name"), a->userName}}, why);
        },
        error);
}

db::PasswordChangeResult changeOwnPassword(
    const db::Database& db, const QString& oldPassword, const QString& newPassword, const QString& confirmation)
{
    db::PasswordChangeResult result;
    if (!rights::allowed(db, Action::ChangeOwnPassword, &result.error))
        return result;
    return db::changePassword(db, rights::currentLogin().user, oldPassword, newPassword, confirmation, passwordProblem);
}

} // namespace velmora::accounts
