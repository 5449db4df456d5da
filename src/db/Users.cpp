#include "db/Users.h"

#include "db/AuditLog.h"
#include "db/PasswordHash.h"

#include <QSqlError>
#include <QVariant>

namespace velmora::db {

namespace {

struct UserRow
{
    bool found = false;
    QString userName;
    QString password;
    QString firstName;
    QString lastName;
};

bool findUser(const Database& db, const QString& userName, UserRow* row, QString* error)
{
    QSqlQuery q = db.query();
    q.prepare(QStringLiteral("SELECT UserName, Upassword, F_Name, L_Name FROM EP_TR_User WHERE UserName = ?"));
    q.addBindValue(userName);
    if (!db.exec(q, QStringLiteral("reading the user"), error))
        return false;
    row->found = q.next();
    if (row->found) {
        row->userName = q.value(0).toString();
        row->password = q.value(1).toString();
        row->firstName = q.value(2).toString();
        row->lastName = q.value(3).toString();
    }
    return true;
}

bool storePassword(const Database& db, const QString& storedUserName, const QString& password, QString* error)
{
    QSqlQuery q = db.query();
    q.prepare(QStringLiteral("UPDATE EP_TR_User SET Upassword = ? WHERE UserName = ?"));
    q.addBindValue(hashPassword(password));
    q.addBindValue(storedUserName);
    return db.exec(q, QStringLiteral("storing the password"), error);
}

// The audit actor of a login: the name as typed.
audit::Actor loginActor(const QString& typedName)
{
    audit::Actor a = audit::currentActor();
    a.user = typedName;
    return a;
}

// A refused login is recorded in a transaction of its own; the refusal stands
// even when the row cannot be written.
void recordRefusal(const Database& db, const QString& typedName, const char* reason)
{
    const audit::Actor who = loginActor(typedName);
    QString ignored;
    audit::recordAround(
        db, QLatin1String(audit::kind::kLoginRefused), QString(),
        QJsonObject {{QStringLiteral("user_name"), typedName}, {QStringLiteral("reason"), QLatin1String(reason)}},
        [](QString*) { return true; }, &ignored, &who);
}

} // namespace

LoginResult checkLogin(const Database& db, const QString& userName, const QString& password)
{
    LoginResult result;
    UserRow row;
    if (!findUser(db, userName, &row, &result.error)) {
        result.status = LoginResult::Error;
        return result;
    }
    if (!row.found) {
        recordRefusal(db, userName, "no-such-user");
        result.status = LoginResult::NoSuchUser;
        return result;
    }
    if (!passwordMatches(row.password, password)) {
        recordRefusal(db, userName, "wrong-password");
        result.status = LoginResult::WrongPassword;
        return result;
    }
    if (!isPasswordHash(row.password)) {
        // Replace an old plain-text password by its hash; the login stands even
        // if the server refuses the update.
        QString ignored;
        storePassword(db, row.userName, password, &ignored);
    }
    const audit::Actor who = loginActor(userName);
    if (!audit::recordAround(
            db, QLatin1String(audit::kind::kLogin), QString(), QJsonObject {{QStringLiteral("user_name"), userName}},
            [](QString*) { return true; }, &result.error, &who)) {
        result.status = LoginResult::Error;
        return result;
    }
    result.status = LoginResult::Ok;
    result.firstName = row.firstName;
    result.lastName = row.lastName;
    return result;
}

PasswordChangeResult changePassword(const Database& db, const QString& userName, const QString& oldPassword,
    const QString& newPassword, const QString& confirmation)
{
    PasswordChangeResult result;
    UserRow row;
    if (!findUser(db, userName, &row, &result.error)) {
        result.status = PasswordChangeResult::Error;
        return result;
    }
    if (!row.found || !passwordMatches(row.password, oldPassword)) {
        result.status = PasswordChangeResult::WrongOldPassword;
        return result;
    }
    if (newPassword != confirmation) {
        result.status = PasswordChangeResult::Mismatch;
        return result;
    }
    // An empty password could never log in again: refuse it.
    if (newPassword.isEmpty()) {
        result.status = PasswordChangeResult::EmptyNewPassword;
        return result;
    }
    Transaction tx(db);
    if (!storePassword(db, row.userName, newPassword, &result.error)
        || !audit::record(db, QLatin1String(audit::kind::kPasswordChanged), QString(),
            QJsonObject {{QStringLiteral("user_name"), row.userName}}, &result.error)
        || !tx.commit(&result.error)) {
        result.status = PasswordChangeResult::Error;
        return result;
    }
    result.status = PasswordChangeResult::Changed;
    return result;
}

bool userExists(const Database& db, const QString& userName, QString* error)
{
    UserRow row;
    if (!findUser(db, userName, &row, error))
        return false;
    return row.found;
}

bool addUser(const Database& db, const QString& userName, const QString& password, const QString& firstName,
    const QString& lastName, QString* error)
{
    if (userName.isEmpty() || password.isEmpty()) {
        if (error)
            *error = QStringLiteral("ต้องระบุชื่อผู้ใช้และรหัสผ่าน");
        return false;
    }
    UserRow row;
    if (!findUser(db, userName, &row, error))
        return false;
    if (row.found) {
        if (error)
            *error = QStringLiteral("มีชื่อผู้ใช้นี้ในระบบแล้ว: ") + userName;
        return false;
    }
    QSqlQuery q = db.query();
    q.prepare(QStringLiteral("INSERT INTO EP_TR_User (UserName, Upassword, F_Name, L_Name) VALUES (?, ?, ?, ?)"));
    q.addBindValue(userName);
    q.addBindValue(hashPassword(password));
    q.addBindValue(firstName);
    q.addBindValue(lastName);
    return db.exec(q, QStringLiteral("adding the user"), error);
}

} // namespace velmora::db
