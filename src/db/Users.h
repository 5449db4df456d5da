#pragma once

#include "db/Database.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace velmora::db {

// The stored names of the four roles (EP_User_Role.Role_Name), in the order
// services/Rights lists its roles: administrator, officer, checker, auditor.
const QStringList& allRoleNames();

// Wrong passwords for one typed name: kLoginFailureLimit of them within
// kLoginFailureWindow minutes refuse that name until kLoginRefusal minutes
// have passed since the last one, counted in EP_Login_Failure by the
// server's clock (every process and machine sees the same count).
inline constexpr int kLoginFailureLimit = 5;
inline constexpr int kLoginFailureWindow = 15;
inline constexpr int kLoginRefusal = 5;

struct LoginResult
{
    enum Status { Ok, NoSuchUser, WrongPassword, Disabled, Throttled, Error };
    Status status = Error;
    QString userName; // Ok: the name as stored
    QString firstName;
    QString lastName;
    QStringList roles; // Ok: the stored role names
    bool mustChangePassword = false; // Ok: a password reset awaits the user's own
    QString error; // driver text when status is Error
    // Ok, but the old plain-text password could not be replaced by its hash:
    // what happened and how to widen the password column.
    QString notice;
};

// What to tell the officer when the password column cannot hold a hash: the
// column's width and the statement that widens it.
QString passwordColumnAdvice(const Database& db);

// Finds the user by name (the server's own comparison decides letter case) and
// checks the password exactly. A password still stored in plain text by an
// older installation is compared as text and replaced by its hash at a
// successful login. A throttled name is refused before anything else is
// looked at, whether or not it exists; a wrong password or an unknown name is
// counted against the name typed (the one that reaches the limit writes the
// throttling's audit row too); a disabled user is refused after the password
// matched. A successful login clears the name's count and, with
// `recordLogin`, writes its login row (the command line's logins are not
// written: each action's row names the user).
LoginResult checkLogin(const Database& db, const QString& userName, const QString& password, bool recordLogin = true);

struct PasswordChangeResult
{
    // Weak: the new password breaks `rule` (its message in error).
    enum Status { Changed, WrongOldPassword, Mismatch, EmptyNewPassword, Weak, Error };
    Status status = Error;
    QString error;
};

// Replaces the password of userName: the old one must match, the new one and
// its confirmation must be equal and not empty, and `rule`, when given, must
// find nothing wrong with it (it returns the message, or nothing). The new
// password is stored hashed; a reset's demand for a new password is met.
PasswordChangeResult changePassword(const Database& db, const QString& userName, const QString& oldPassword,
    const QString& newPassword, const QString& confirmation,
    const std::function<QString(const QString& userName, const QString& newPassword)>& rule = {});

// Lengths of the user table's texts (characters).
inline constexpr int kUserNameLength = 50;
inline constexpr int kUserFirstNameLength = 120;
inline constexpr int kUserLastNameLength = 120;

// Adds a user (password hashed) holding `roles` (stored role names). Refuses
// an existing name, an empty name or password, and a text longer than its
// column.
bool addUser(const Database& db, const QString& userName, const QString& password, const QString& firstName,
    const QString& lastName, QString* error, const QStringList& roles = {});
// The same inside a transaction the caller holds (no transaction of its own).
bool addUserWithin(const Database& db, const QString& userName, const QString& password, const QString& firstName,
    const QString& lastName, QString* error);

bool userExists(const Database& db, const QString& userName, QString* error);

// One user as the users screen and `user list` show it. A user without a row
// in EP_User_State is enabled and need not change the password.
struct UserAccount
{
    QString userName;
    QString firstName;
    QString lastName;
    QStringList roles; // stored role names
    bool enabled = true;
    bool mustChangePassword = false;
};

// Every user, by name. False on a database error.
bool listUserAccounts(const Database& db, std::vector<UserAccount>* accounts, QString* error);
// The user of this name (the server's comparison); none with *error empty
// when there is no such user.
std::optional<UserAccount> readUserAccount(const Database& db, const QString& userName, QString* error);

// The writes of the users' services, inside the caller's transaction.
bool storeUserRoles(const Database& db, const QString& userName, const QStringList& roles, QString* error);
bool storeUserState(const Database& db, const QString& userName, bool enabled, bool mustChangePassword, QString* error);
// The password, hashed.
bool storeUserPassword(const Database& db, const QString& userName, const QString& password, QString* error);
// How many enabled users hold the role, leaving out `except`; -1 on a database error.
int enabledHolders(const Database& db, const QString& roleName, const QString& except, QString* error);

} // namespace velmora::db
