#pragma once

#include "db/Database.h"

#include <QString>

namespace velmora::db {

struct LoginResult
{
    enum Status { Ok, NoSuchUser, WrongPassword, Error };
    Status status = Error;
    QString firstName;
    QString lastName;
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
// successful login.
LoginResult checkLogin(const Database& db, const QString& userName, const QString& password);

struct PasswordChangeResult
{
    enum Status { Changed, WrongOldPassword, Mismatch, EmptyNewPassword, Error };
    Status status = Error;
    QString error;
};

// Replaces the password of userName: the old one must match, the new one and
// its confirmation must be equal and not empty. The new password is stored hashed.
PasswordChangeResult changePassword(const Database& db, const QString& userName, const QString& oldPassword,
    const QString& newPassword, const QString& confirmation);

// Lengths of the user table's texts (characters).
inline constexpr int kUserNameLength = 50;
inline constexpr int kUserFirstNameLength = 120;
inline constexpr int kUserLastNameLength = 120;

// Adds a user (password hashed). Refuses an existing name, an empty name or
// password, and a text longer than its column.
bool addUser(const Database& db, const QString& userName, const QString& password, const QString& firstName,
    const QString& lastName, QString* error);
// The same inside a transaction the caller holds (no transaction of its own).
bool addUserWithin(const Database& db, const QString& userName, const QString& password, const QString& firstName,
    const QString& lastName, QString* error);

bool userExists(const Database& db, const QString& userName, QString* error);

} // namespace velmora::db
