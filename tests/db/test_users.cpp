#include "db/PasswordHash.h"
#include "db/Users.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

using namespace velmora;
using db::LoginResult;
using db::PasswordChangeResult;

namespace {
void addUser(test::TestDatabase& t, const QString& name, const QString& password)
{
    QString error;
    ASSERT_TRUE(db::addUser(t.db(), name, password, QStringLiteral("สมหญิง"), QStringLiteral("ใจดี"), &error))
        << error.toStdString();
}
} // namespace

struct LoginCase
{
    const char* storedName;
    const char* storedPassword;
    const char* typedName;
    const char* typedPassword;
    LoginResult::Status expected;
};

class Login : public ::testing::TestWithParam<LoginCase>
{
};

TEST_P(Login, ComparesThePasswordExactly)
{
    const LoginCase& c = GetParam();
    test::TestDatabase t;
    addUser(t, QString::fromUtf8(c.storedName), QString::fromUtf8(c.storedPassword));
    const LoginResult r = db::checkLogin(t.db(), QString::fromUtf8(c.typedName), QString::fromUtf8(c.typedPassword));
    EXPECT_EQ(r.status, c.expected) << r.error.toStdString();
    if (c.expected == LoginResult::Ok) {
        EXPECT_EQ(r.firstName, QStringLiteral("สมหญิง"));
        EXPECT_EQ(r.lastName, QStringLiteral("ใจดี"));
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, Login,
    ::testing::Values(LoginCase {"somying", "Secret1", "somying", "Secret1", LoginResult::Ok},
        LoginCase {"somying", "Secret1", "somying", "secret1", LoginResult::WrongPassword},
        LoginCase {"somying", "Secret1", "somying", "Secret1 ", LoginResult::WrongPassword},
        LoginCase {"somying", "Secret1", "nobody", "Secret1", LoginResult::NoSuchUser},
        LoginCase {"o'brien", "it's'me", "o'brien", "it's'me", LoginResult::Ok},
        LoginCase {"o'brien", "it's'me", "o'brien", "' OR '1'='1", LoginResult::WrongPassword},
        LoginCase {"somying", "Secret1", "' OR '1'='1", "Secret1", LoginResult::NoSuchUser},
        LoginCase {"สมหญิง", "รหัสลับ", "สมหญิง", "รหัสลับ", LoginResult::Ok}));

TEST(Password, IsStoredAsASaltedHashNeverAsText)
{
    test::TestDatabase t;
    addUser(t, QStringLiteral("a"), QStringLiteral("pw"));
    addUser(t, QStringLiteral("b"), QStringLiteral("pw"));
    const QString ha = t.scalar(QStringLiteral("SELECT Upassword FROM EP_TR_User WHERE UserName = 'a'")).toString();
    const QString hb = t.scalar(QStringLiteral("SELECT Upassword FROM EP_TR_User WHERE UserName = 'b'")).toString();
    EXPECT_TRUE(db::isPasswordHash(ha));
    EXPECT_NE(ha, QStringLiteral("pw"));
    EXPECT_NE(ha, hb); // salted
}

TEST(Password, OldPlainTextLogsInAndIsThenHashed)
{
    test::TestDatabase t;
    t.exec(QStringLiteral("INSERT INTO EP_TR_User (UserName, Upassword, F_Name, L_Name) VALUES (?, ?, ?, ?)"),
        {QStringLiteral("vok"), QStringLiteral("Abc"), QStringLiteral("ก"), QStringLiteral("ข")});
    EXPECT_EQ(db::checkLogin(t.db(), QStringLiteral("vok"), QStringLiteral("abc")).status, LoginResult::WrongPassword);
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT Upassword FROM EP_TR_User")).toString(), QStringLiteral("Abc"));
    EXPECT_EQ(db::checkLogin(t.db(), QStringLiteral("vok"), QStringLiteral("Abc")).status, LoginResult::Ok);
    EXPECT_TRUE(db::isPasswordHash(t.scalar(QStringLiteral("SELECT Upassword FROM EP_TR_User")).toString()));
    EXPECT_EQ(db::checkLogin(t.db(), QStringLiteral("vok"), QStringLiteral("Abc")).status, LoginResult::Ok);
}

TEST(Password, AHashLikeTextTypedAsPasswordDoesNotMatchItsOwnHash)
{
    const QString stored = db::hashPassword(QStringLiteral("x"));
    EXPECT_FALSE(db::passwordMatches(stored, stored));
    EXPECT_TRUE(db::passwordMatches(stored, QStringLiteral("x")));
}

struct ChangeCase
{
    const char* oldTyped;
    const char* newPassword;
    const char* confirmation;
    PasswordChangeResult::Status expected;
};

class PasswordChange : public ::testing::TestWithParam<ChangeCase>
{
};

TEST_P(PasswordChange, FollowsTheRules)
{
    const ChangeCase& c = GetParam();
    test::TestDatabase t;
    addUser(t, QStringLiteral("o'hara"), QStringLiteral("old'pw"));
    const PasswordChangeResult r = db::changePassword(t.db(), QStringLiteral("o'hara"), QString::fromUtf8(c.oldTyped),
        QString::fromUtf8(c.newPassword), QString::fromUtf8(c.confirmation));
    EXPECT_EQ(r.status, c.expected) << r.error.toStdString();
    const bool changed = c.expected == PasswordChangeResult::Changed;
    EXPECT_EQ(db::checkLogin(t.db(), QStringLiteral("o'hara"), QStringLiteral("old'pw")).status,
        changed ? LoginResult::WrongPassword : LoginResult::Ok);
    if (changed) {
        EXPECT_EQ(
            db::checkLogin(t.db(), QStringLiteral("o'hara"), QString::fromUtf8(c.newPassword)).status, LoginResult::Ok);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, PasswordChange,
    ::testing::Values(ChangeCase {"old'pw", "new'pw", "new'pw", PasswordChangeResult::Changed},
        ChangeCase {"wrong", "new", "new", PasswordChangeResult::WrongOldPassword},
        ChangeCase {"OLD'PW", "new", "new", PasswordChangeResult::WrongOldPassword},
        ChangeCase {"old'pw", "New", "new", PasswordChangeResult::Mismatch},
        ChangeCase {"old'pw", "", "", PasswordChangeResult::EmptyNewPassword},
        ChangeCase {"old'pw", "รหัสใหม่", "รหัสใหม่", PasswordChangeResult::Changed}));

TEST(Users, AddingAnExistingNameIsRefused)
{
    test::TestDatabase t;
    addUser(t, QStringLiteral("a"), QStringLiteral("pw"));
    QString error;
    EXPECT_FALSE(db::addUser(t.db(), QStringLiteral("a"), QStringLiteral("pw2"), {}, {}, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(db::addUser(t.db(), QStringLiteral("b"), QString(), {}, {}, &error));
}

// An empty password never logs in, not even against an empty one stored by
// an older installation, nor against a stored hash of nothing.
TEST(Password, EmptyNeverMatches)
{
    test::TestDatabase t;
    t.exec(QStringLiteral("INSERT INTO EP_TR_User (UserName, Upassword, F_Name, L_Name) VALUES (?, ?, ?, ?)"),
        {QStringLiteral("blank"), QString(""), QStringLiteral("ก"), QStringLiteral("ข")});
    EXPECT_EQ(db::checkLogin(t.db(), QStringLiteral("blank"), QString()).status, LoginResult::WrongPassword);
    EXPECT_FALSE(db::passwordMatches(QString(), QString()));
    EXPECT_FALSE(db::passwordMatches(db::hashPassword(QString()), QString()));
    EXPECT_FALSE(db::passwordMatches(QStringLiteral("x"), QString()));
}

// Names longer than their columns get the same Thai message on every server
// (PostgreSQL would refuse them in its own English, SQLite would store them).
struct LengthCase
{
    const char* name;
    int userName;
    int firstName;
    int lastName;
    const char* word; // the field the message names; "" when accepted
};

class UserLengths : public ::testing::TestWithParam<LengthCase>
{
};

TEST_P(UserLengths, CheckedBeforeTheStatement)
{
    const LengthCase& c = GetParam();
    test::TestDatabase t;
    // Thai letters: one character each, three bytes in UTF-8.
    const QString user = QString(c.userName, QChar(0x0E01));
    QString error;
    const bool added = db::addUser(t.db(), user, QStringLiteral("pw"), QString(c.firstName, QChar(0x0E02)),
        QString(c.lastName, QChar(0x0E03)), &error);
    const QString word = QString::fromUtf8(c.word);
    EXPECT_EQ(added, word.isEmpty()) << error.toStdString();
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT COUNT(*) FROM EP_TR_User")).toInt(), added ? 1 : 0);
    if (!added) {
        EXPECT_TRUE(error.startsWith(word + QStringLiteral("ยาวเกินไป"))) << error.toStdString();
        EXPECT_FALSE(error.contains(QLatin1String("value too long"))) << error.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, UserLengths,
    ::testing::Values(LengthCase {"AllAtTheirLimits", 50, 120, 120, ""},
        LengthCase {"UserNameOneOver", 51, 1, 1, "ชื่อผู้ใช้"}, LengthCase {"FirstNameOneOver", 5, 121, 1, "ชื่อ"},
        LengthCase {"LastNameOneOver", 5, 1, 121, "นามสกุล"}),
    [](const ::testing::TestParamInfo<LengthCase>& info) { return std::string(info.param.name); });
