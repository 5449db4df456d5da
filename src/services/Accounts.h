#pragma once

// The office's accounts: logging in, the users an administrator adds,
// disables, enables, gives roles and new passwords, and the user's own
// password change. Every password set here keeps the password rules; at least
// one enabled administrator always remains. Each change writes its audit row
// in the same transaction.

#include "db/Users.h"
#include "services/Rights.h"

#include <QList>
#include <QString>

#include <vector>

namespace velmora::db {
class Database;
}

namespace velmora::accounts {

// A password is 8 to 10 characters (the password screen takes 10) and not the
// user's name.
inline constexpr int kPasswordMinLength = 8;
inline constexpr int kPasswordMaxLength = 10;
// The Thai message for a password that breaks the rules; empty when it keeps them.
QString passwordProblem(const QString& userName, const QString& password);

// What the login screen (and the command line) says for a refused login.
QString loginMessage(db::LoginResult::Status status);

// What to say when the server refused a server login's connection (a wrong
// password or name, a disabled login): the login screen's line; empty when
// the connection failed for another cause.
QString serverLoginRefusal(const QString& driverText);

struct LoginOutcome
{
    db::LoginResult result;
    QString message; // the refusal's message, or the database error
    bool ok() const { return result.status == db::LoginResult::Ok; }
};

// Checks the name and password (db::checkLogin); when they hold, the user
// (as stored) with the roles held becomes the login of this process.
// recordLogin: as db::checkLogin.
LoginOutcome logIn(const db::Database& db, const QString& userName, const QString& password, bool recordLogin = true);

// One user as the users screen and `user list` show it.
struct Account
{
    QString userName;
    QString fullName; // first name, a blank, last name
    QList<rights::Role> roles;
    bool enabled = true;
    bool mustChangePassword = false;
};

// "ชื่อ นามสกุล" to the first and the last name (split at the first blank).
void splitFullName(const QString& fullName, QString* firstName, QString* lastName);

bool listAccounts(const db::Database& db, std::vector<Account>* accounts, QString* error);
// Whether the database holds any user (the command line's init needs no
// login on a database without one).
bool anyAccount(const db::Database& db, bool* present, QString* error);

// The first user of a database without users, with every role; no login is
// needed, and it is refused once any user exists.
bool addFirstAccount(
    const db::Database& db, const QString& userName, const QString& fullName, const QString& password, QString* error);

// The administrator's changes (user-added, user-disabled, user-enabled,
// roles-changed, password-reset). A reset makes the user choose a new password
// at the next login.
bool addAccount(const db::Database& db, const QString& userName, const QString& fullName,
    const QList<rights::Role>& roles, const QString& password, QString* error);
bool setAccountEnabled(const db::Database& db, const QString& userName, bool enabled, QString* error);
bool setAccountRoles(const db::Database& db, const QString& userName, const QList<rights::Role>& roles, QString* error);
bool resetAccountPassword(const db::Database& db, const QString& userName, const QString& password, QString* error);

// The logged-in user's own password, as the password screen changes it.
db::PasswordChangeResult changeOwnPassword(
    const db::Database& db, const QString& oldPassword, const QString& newPassword, const QString& confirmation);

} // namespace velmora::accounts
