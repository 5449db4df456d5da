#include "db/Users.h"

#include "db/Statement.h"

#include "db/AuditLog.h"
#include "db/PasswordHash.h"
#include "db/Schema.h"

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
    if (!prepareAndRun(db, q,
            QStringLiteral("SELECT UserName, Upassword, F_Name, L_Name FROM EP_TR_User WHERE UserName = ?"), {userName},
            QStringLiteral("reading the user"), error))
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
    return prepareAndRun(db, QStringLiteral("UPDATE EP_TR_User SET Upassword = ? WHERE UserName = ?"),
        {hashPassword(password), storedUserName}, QStringLiteral("storing the password"), error);
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

QString passwordColumnAdvice(const Database& db)
{
    const int length = passwordColumnLength(db);
    if (length <= 0 || length >= kPasswordHashLength)
        return {};
    return QStringLiteral("ช่องรหัสผ่าน EP_TR_User.Upassword กว้างเพียง %1 ตัวอักษร แคบเกินกว่าจะเก็บรหัสผ่านแบบเข้ารหัส "
                          "(ต้องการอย่างน้อย %2) ให้ผู้ดูแลฐานข้อมูลขยายด้วยคำสั่ง: %3")
        .arg(length)
        .arg(kPasswordHashLength)
        .arg(db.dialect().widenTextColumn(
            QStringLiteral("EP_TR_User"), QStringLiteral("Upassword"), kPasswordColumnLength));
}

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
        // if the server refuses the update, and says why.
        QString failure;
        if (!storePassword(db, row.userName, password, &failure))
            result.notice = QStringLiteral("เข้าสู่ระบบได้ แต่เก็บรหัสผ่านแบบเข้ารหัสไม่ได้ (") + failure + QStringLiteral(") ")
                + passwordColumnAdvice(db);
    }
    const audit::Actor who = loginActor(userName);
    // A read-only database (a copy on a read-only share) can be read but holds
    // no new row: the login there is not logged, and nothing else can change.
    if (!db.readOnly()
        && !audit::recordAround(
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
    Transaction tx(db);
    if (!tx.active()) {
        result.error = tx.error();
        return result;
    }
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
    // Read before the store: after a refused statement PostgreSQL answers
    // nothing more in this transaction.
    const QString advice = passwordColumnAdvice(db);
    if (!storePassword(db, row.userName, newPassword, &result.error)) {
        result.error += QLatin1Char(' ') + advice;
        result.status = PasswordChangeResult::Error;
        return result;
    }
    if (!audit::record(db, QLatin1String(audit::kind::kPasswordChanged), QString(),
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

bool addUserWithin(const Database& db, const QString& userName, const QString& password, const QString& firstName,
    const QString& lastName, QString* error)
{
    if (userName.isEmpty() || password.isEmpty()) {
        if (error)
            *error = QStringLiteral("ต้องระบุชื่อผู้ใช้และรหัสผ่าน");
        return false;
    }
    // The columns' lengths, checked here so that every server gives the same answer.
    const struct
    {
        const QString& text;
        int length;
        const char* what;
    } fields[] = {{userName, kUserNameLength, "ชื่อผู้ใช้"}, {firstName, kUserFirstNameLength, "ชื่อ"},
        {lastName, kUserLastNameLength, "นามสกุล"}};
    for (const auto& f : fields) {
        const auto characters = f.text.toUcs4().size();
        if (characters > f.length) {
            if (error)
                *error = QStringLiteral("%1ยาวเกินไป: ยาวได้ไม่เกิน %2 ตัวอักษร (ที่ใส่มา %3 ตัวอักษร)")
                             .arg(QString::fromUtf8(f.what))
                             .arg(f.length)
                             .arg(characters);
            return false;
        }
    }
    UserRow row;
    if (!findUser(db, userName, &row, error))
        return false;
    if (row.found) {
        if (error)
            *error = QStringLiteral("มีชื่อผู้ใช้นี้ในระบบแล้ว: ") + userName;
        return false;
    }
    return prepareAndRun(db,
        QStringLiteral("INSERT INTO EP_TR_User (UserName, Upassword, F_Name, L_Name) VALUES (?, ?, ?, ?)"),
        {userName, hashPassword(password), firstName, lastName}, QStringLiteral("เพิ่มผู้ใช้"), error);
}

bool addUser(const Database& db, const QString& userName, const QString& password, const QString& firstName,
    const QString& lastName, QString* error)
{
    Transaction tx(db);
    if (!tx.active()) {
        if (error)
            *error = tx.error();
        return false;
    }
    return addUserWithin(db, userName, password, firstName, lastName, error) && tx.commit(error);
}

} // namespace velmora::db
