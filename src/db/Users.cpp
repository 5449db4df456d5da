#include "db/Users.h"

#include "db/Statement.h"

#include "db/AuditLog.h"
#include "db/PasswordHash.h"
#include "db/Schema.h"

#include <QDateTime>
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

// The failures counted against a typed name are kept under this many characters.
constexpr int kFailureNameLength = 120;

// A refused login is recorded in a transaction of its own; the refusal stands
// even when the row cannot be written. `failure`: a wrong password or unknown
// name, counted against the name; one that reaches the limit is followed by
// the throttling's row.
void recordRefusal(const Database& db, const QString& typedName, const char* reason, bool failure = false)
{
    if (db.readOnly())
        return;
    const audit::Actor who = loginActor(typedName);
    Transaction tx(db);
    if (!tx.active())
        return;
    QString ignored;
    if (!audit::record(db, QLatin1String(audit::kind::kLoginRefused), QString(),
            QJsonObject {{QStringLiteral("user_name"), typedName}, {QStringLiteral("reason"), QLatin1String(reason)}},
            &ignored, &who))
        return;
    // A server login's wrong password never reaches the program: the server
    // refused the connection. Nothing is counted there.
    if (failure && !db.serverLogin()) {
        const std::optional<QDateTime> now = db.serverNow(&ignored);
        if (!now)
            return;
        const QString key = typedName.left(kFailureNameLength);
        // rows older than the window count no more
        if (!prepareAndRun(db, QStringLiteral("DELETE FROM EP_Login_Failure WHERE UserName = ? AND Failed_At < ?"),
                {key, db.dateTimeValue(now->addSecs(qint64 {-60} * kLoginFailureWindow))}, QStringLiteral("counting"),
                &ignored)
            || !prepareAndRun(db, QStringLiteral("INSERT INTO EP_Login_Failure (UserName, Failed_At) VALUES (?, ?)"),
                {key, db.dateTimeValue(*now)}, QStringLiteral("counting"), &ignored))
            return;
        QSqlQuery q = db.query();
        if (!prepareAndRun(db, q, QStringLiteral("SELECT COUNT(*) FROM EP_Login_Failure WHERE UserName = ?"), {key},
                QStringLiteral("counting"), &ignored)
            || !q.next())
            return;
        const int count = q.value(0).toInt();
        q.finish();
        // each failure that (again) reaches the limit starts a refusal
        if (count >= kLoginFailureLimit
            && !audit::record(db, QLatin1String(audit::kind::kLoginThrottled), QString(),
                QJsonObject {{QStringLiteral("user_name"), typedName}, {QStringLiteral("failures"), count},
                    {QStringLiteral("minutes"), kLoginRefusal}},
                &ignored, &who))
            return;
    }
    tx.commit(&ignored);
}

// True while the name is refused: the limit reached within the window and the
// last failure less than the refusal's minutes ago. *counted: the name's
// failures within the window.
bool throttled(const Database& db, const QString& typedName, int* counted)
{
    *counted = 0;
    if (db.readOnly())
        return false;
    QString ignored;
    const std::optional<QDateTime> now = db.serverNow(&ignored);
    if (!now)
        return false;
    QSqlQuery q = db.query();
    if (!prepareAndRun(db, q,
            QStringLiteral("SELECT COUNT(*), SUM(CASE WHEN Failed_At >= ? THEN 1 ELSE 0 END) FROM EP_Login_Failure"
                           " WHERE UserName = ? AND Failed_At >= ?"),
            {db.dateTimeValue(now->addSecs(qint64 {-60} * kLoginRefusal)), typedName.left(kFailureNameLength),
                db.dateTimeValue(now->addSecs(qint64 {-60} * kLoginFailureWindow))},
            QStringLiteral("counting"), &ignored)
        || !q.next())
        return false;
    *counted = q.value(0).toInt();
    return *counted >= kLoginFailureLimit && q.value(1).toInt() > 0;
}

bool readRoles(const Database& db, const QString& storedName, QStringList* roles, QString* error)
{
    QSqlQuery q = db.query();
    if (!prepareAndRun(db, q, QStringLiteral("SELECT Role_Name FROM EP_User_Role WHERE UserName = ?"), {storedName},
            QStringLiteral("อ่านบทบาทของผู้ใช้"), error))
        return false;
    QStringList found;
    while (q.next())
        found << q.value(0).toString();
    roles->clear();
    for (const QString& name : allRoleNames()) // in the roles' own order
        if (found.contains(name))
            *roles << name;
    return true;
}

// Enabled and must-change of a user; a user without a row is enabled.
bool readState(const Database& db, const QString& storedName, bool* enabled, bool* mustChange, QString* error)
{
    QSqlQuery q = db.query();
    if (!prepareAndRun(db, q,
            QStringLiteral("SELECT Is_Enabled, Must_Change_Password FROM EP_User_State WHERE UserName = ?"),
            {storedName}, QStringLiteral("อ่านสถานะของผู้ใช้"), error))
        return false;
    *enabled = true;
    *mustChange = false;
    if (q.next()) {
        *enabled = q.value(0).toString() != QLatin1String("N");
        *mustChange = q.value(1).toString() == QLatin1String("Y");
    }
    return true;
}

} // namespace

const QStringList& allRoleNames()
{
    static const QStringList names = {QStringLiteral("administrator"), QStringLiteral("officer"),
        QStringLiteral("checker"), QStringLiteral("auditor")};
    return names;
}

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

LoginResult checkLogin(const Database& db, const QString& userName, const QString& password, bool recordLogin)
{
    LoginResult result;
    int failures = 0;
    // On a server login the server checked the password when it let the
    // connection in; the program's row, state and roles still decide.
    const bool serverChecked = db.serverLogin();
    if (!serverChecked && throttled(db, userName, &failures)) {
        recordRefusal(db, userName, "throttled");
        result.status = LoginResult::Throttled;
        return result;
    }
    UserRow row;
    if (!findUser(db, userName, &row, &result.error)) {
        result.status = LoginResult::Error;
        return result;
    }
    if (!row.found) {
        recordRefusal(db, userName, "no-such-user", true);
        result.status = LoginResult::NoSuchUser;
        return result;
    }
    if (!serverChecked && !passwordMatches(row.password, password)) {
        recordRefusal(db, userName, "wrong-password", true);
        result.status = LoginResult::WrongPassword;
        return result;
    }
    bool enabled = true;
    if (!readState(db, row.userName, &enabled, &result.mustChangePassword, &result.error)
        || !readRoles(db, row.userName, &result.roles, &result.error)) {
        result.status = LoginResult::Error;
        return result;
    }
    if (!enabled) {
        recordRefusal(db, userName, "disabled");
        result.status = LoginResult::Disabled;
        return result;
    }
    if (!serverChecked && !isPasswordHash(row.password)) {
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
    // The name's failures are forgotten with the login's row.
    const auto forget = [&](QString* error) {
        if (serverChecked)
            return true;
        return prepareAndRun(db, QStringLiteral("DELETE FROM EP_Login_Failure WHERE UserName = ?"),
            {userName.left(kFailureNameLength)}, QStringLiteral("ล้างการนับรหัสผ่านผิด"), error);
    };
    if (!db.readOnly() && recordLogin
        && !audit::recordAround(db, QLatin1String(audit::kind::kLogin), QString(),
            QJsonObject {{QStringLiteral("user_name"), userName}}, forget, &result.error, &who)) {
        result.status = LoginResult::Error;
        return result;
    }
    if (!db.readOnly() && !recordLogin && failures > 0) {
        Transaction tx(db);
        QString ignored;
        if (tx.active() && forget(&ignored))
            tx.commit(&ignored);
    }
    result.status = LoginResult::Ok;
    result.userName = row.userName;
    result.firstName = row.firstName;
    result.lastName = row.lastName;
    return result;
}

PasswordChangeResult changePassword(const Database& db, const QString& userName, const QString& oldPassword,
    const QString& newPassword, const QString& confirmation,
    const std::function<QString(const QString&, const QString&)>& rule)
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
    if (rule) {
        result.error = rule(row.userName, newPassword);
        if (!result.error.isEmpty()) {
            result.status = PasswordChangeResult::Weak;
            return result;
        }
    }
    // Read before the store: after a refused statement PostgreSQL answers
    // nothing more in this transaction.
    const QString advice = passwordColumnAdvice(db);
    // On a server login the server's function stores the login's password,
    // the program's hash of it and the end of a reset's demand, for this login only.
    const bool onServer = db.serverLogin() && db.serverRoles();
    const bool stored = onServer
        ? prepareAndRun(db, QStringLiteral("SELECT velmora_own_password(?, ?)"),
              {newPassword, hashPassword(newPassword)}, QStringLiteral("storing the password"), &result.error)
        : storePassword(db, row.userName, newPassword, &result.error);
    if (!stored) {
        if (!onServer)
            result.error += QLatin1Char(' ') + advice;
        result.status = PasswordChangeResult::Error;
        return result;
    }
    if ((!onServer
            && !prepareAndRun(db, QStringLiteral("UPDATE EP_User_State SET Must_Change_Password = 'N' WHERE UserName = ?"),
                {row.userName}, QStringLiteral("บันทึกสถานะของผู้ใช้"), &result.error))
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
    const QString& lastName, QString* error, const QStringList& roles)
{
    Transaction tx(db);
    if (!tx.active()) {
        if (error)
            *error = tx.error();
        return false;
    }
    return addUserWithin(db, userName, password, firstName, lastName, error)
        && (roles.isEmpty() || storeUserRoles(db, userName, roles, error)) && tx.commit(error);
}

bool listUserAccounts(const Database& db, std::vector<UserAccount>* accounts, QString* error)
{
    QSqlQuery q = db.query();
    if (!prepareAndRun(db, q,
            QStringLiteral("SELECT u.UserName, u.F_Name, u.L_Name, s.Is_Enabled, s.Must_Change_Password"
                           " FROM EP_TR_User u LEFT JOIN EP_User_State s ON s.UserName = u.UserName"
                           " ORDER BY u.UserName"),
            {}, QStringLiteral("อ่านรายชื่อผู้ใช้"), error))
        return false;
    std::vector<UserAccount> out;
    while (q.next()) {
        UserAccount a;
        a.userName = q.value(0).toString();
        a.firstName = q.value(1).toString();
        a.lastName = q.value(2).toString();
        a.enabled = q.value(3).toString() != QLatin1String("N");
        a.mustChangePassword = q.value(4).toString() == QLatin1String("Y");
        out.push_back(a);
    }
    for (UserAccount& a : out)
        if (!readRoles(db, a.userName, &a.roles, error))
            return false;
    *accounts = std::move(out);
    return true;
}

std::optional<UserAccount> readUserAccount(const Database& db, const QString& userName, QString* error)
{
    UserRow row;
    if (!findUser(db, userName, &row, error) || !row.found)
        return std::nullopt;
    UserAccount a;
    a.userName = row.userName;
    a.firstName = row.firstName;
    a.lastName = row.lastName;
    if (!readState(db, row.userName, &a.enabled, &a.mustChangePassword, error)
        || !readRoles(db, row.userName, &a.roles, error))
        return std::nullopt;
    return a;
}

bool storeUserRoles(const Database& db, const QString& userName, const QStringList& roles, QString* error)
{
    if (!prepareAndRun(db, QStringLiteral("DELETE FROM EP_User_Role WHERE UserName = ?"), {userName},
            QStringLiteral("บันทึกบทบาทของผู้ใช้"), error))
        return false;
    for (const QString& role : roles) {
        if (!prepareAndRun(db, QStringLiteral("INSERT INTO EP_User_Role (UserName, Role_Name) VALUES (?, ?)"),
                {userName, role}, QStringLiteral("บันทึกบทบาทของผู้ใช้"), error))
            return false;
    }
    return true;
}

bool storeUserState(const Database& db, const QString& userName, bool enabled, bool mustChangePassword, QString* error)
{
    const QString purpose = QStringLiteral("บันทึกสถานะของผู้ใช้");
    return prepareAndRun(db, QStringLiteral("DELETE FROM EP_User_State WHERE UserName = ?"), {userName}, purpose, error)
        && prepareAndRun(db,
            QStringLiteral("INSERT INTO EP_User_State (UserName, Is_Enabled, Must_Change_Password) VALUES (?, ?, ?)"),
            {userName, enabled ? QStringLiteral("Y") : QStringLiteral("N"),
                mustChangePassword ? QStringLiteral("Y") : QStringLiteral("N")},
            purpose, error);
}

bool storeUserPassword(const Database& db, const QString& userName, const QString& password, QString* error)
{
    const QString advice = passwordColumnAdvice(db);
    if (storePassword(db, userName, password, error))
        return true;
    if (error && !advice.isEmpty())
        *error += QLatin1Char(' ') + advice;
    return false;
}

int enabledHolders(const Database& db, const QString& roleName, const QString& except, QString* error)
{
    QSqlQuery q = db.query();
    if (!prepareAndRun(db, q,
            QStringLiteral(
                "SELECT COUNT(*) FROM EP_User_Role r LEFT JOIN EP_User_State s ON s.UserName = r.UserName"
                " WHERE r.Role_Name = ? AND r.UserName <> ? AND (s.Is_Enabled IS NULL OR s.Is_Enabled <> 'N')"),
            {roleName, except}, QStringLiteral("นับผู้ดูแลระบบ"), error)
        || !q.next())
        return -1;
    return q.value(0).toInt();
}

} // namespace velmora::db
