#pragma once

// Who may do what. Four roles, several per user; every guarded action names
// the roles that may do it in one table (Rights.cpp). A service asks
// `allowed` once before it reads or writes; a refusal writes nothing but its
// audit row and gives the Thai line naming the role(s) needed. The screens ask
// `mayDo` only to enable or disable their menu items and buttons.

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <string>

namespace velmora::db {
class Database;
}

namespace velmora::rights {

enum class Role { Administrator, Officer, Checker, Auditor };

// The four roles in the order they are listed.
const QList<Role>& allRoles();
// The stored and command-line name ("administrator", "officer", "checker", "auditor").
QString roleName(Role role);
// The Thai name (ผู้ดูแลระบบ, เจ้าหน้าที่การเงิน, ผู้ตรวจสอบ, ผู้ตรวจสอบภายใน).
QString roleTitle(Role role);
std::optional<Role> roleNamed(const QString& name);
// "officer,checker" (blanks around the names allowed) to the roles, each once;
// false with the Thai message naming the unknown name, or for an empty list.
bool parseRoles(const QString& list, QList<Role>* roles, QString* error);
QStringList roleNames(const QList<Role>& roles);
// "เจ้าหน้าที่การเงิน (officer), ผู้ตรวจสอบ (checker)"
QString rolesText(const QList<Role>& roles);

// One value per guarded action.
enum class Action {
    ImportEmployees,
    ImportHistory,
    Calculate, // compute a calculation, edit the work history it reads
    SaveCalculation, // the wizard's save, calc --save, the month-end save
    PreviewRun, // the month-end run before its save
    CancelUnchecked, // cancel a saved calculation nobody has checked yet
    CancelChecked, // cancel a checked one
    CheckCalculation,
    ReturnCalculation,
    PrintMemo, // fund-source marking and the approval memo
    Report, // every report and list
    Export, // every export to a workbook
    PrintPage, // every printed page
    ReadAuditTrail,
    VerifyAuditTrail,
    ListUsers,
    ManageUsers, // users and roles
    OrganisationSettings,
    FourEyesSetting,
    Backup,
    Restore,
    CopyDatabase,
    ChangeOwnPassword,
    LogOut,
};

// The action's stable name in the audit trail ("save-calculation").
QString actionName(Action action);
// What the action is, in Thai, for the refusal line.
QString actionTitle(Action action);
// The roles that may do it; empty: every logged-in user.
const QList<Role>& rolesFor(Action action);

// The user logged in to this process (the desktop's login, the command
// line's --login) and the roles they hold.
struct Login
{
    QString user;
    QList<Role> roles;

    bool active() const { return !user.isEmpty(); }
    bool holds(Role role) const { return roles.contains(role); }
};

// Sets the login of this process; the audit trail's actor then names the user
// (its origin and machine stay as they are).
void setLogin(const Login& login);
Login currentLogin();

// Whether the logged-in user may do the action; nothing is written.
bool mayDo(Action action);
// "ไม่มีสิทธิ์<action>: ต้องเป็นผู้ตรวจสอบ (checker)"; the line a refusal gives.
QString refusalMessage(Action action);

// The one check of a service: true when the logged-in user may do the action.
// Otherwise false with refusalMessage in *error, after the refusal's audit row
// (kind action-refused: the action, the roles it needs, the user's roles) is
// written in a transaction of its own; on a database that can only be read
// nothing is written. `sapid` names the employee the action was about.
bool allowed(const db::Database& db, Action action, QString* error, const QString& sapid = QString());
bool allowed(const db::Database& db, Action action, std::string* error, const QString& sapid = QString());

// A refusal for another cause than the roles (a checker checking their own
// calculation): the audit row with `reason`, and `message` in *error. Always false.
bool refuse(const db::Database& db, Action action, const QString& reason, const QString& message, QString* error,
    const QString& sapid = QString());

} // namespace velmora::rights
