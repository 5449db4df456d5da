// Login on the main window's panel: messages, focus, what a success shows,
// and names or passwords holding an apostrophe.

#include "AppTestSupport.h"

#include "db/LocalAddress.h"
#include "db/PasswordHash.h"
#include "db/Users.h"
#include "services/ServerSetup.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QStatusBar>
#include <QTest>
#include <QUrl>

namespace velmora::test {
namespace {

const QString kNoName = QStringLiteral("กรุณาใส่ชื่อผู้ใช้ด้วย");
const QString kNoPassword = QStringLiteral("กรุณาใส่รหัสผ่านด้วย");
const QString kUnknownUser = QStringLiteral("ไม่พบชื่อผู้ใช้ในระบบ กรุณาใส่ชื่อใหม่");
const QString kWrongPassword = QStringLiteral("รหัสผ่านไม่ถูกต้อง กรุณาใส่รหัสผ่านใหม่");

class LoginTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        addUser(QStringLiteral("somchai"), QStringLiteral("Pass123"), QStringLiteral("สมชาย"), QStringLiteral("ใจดี"));
        addUser(QStringLiteral("o'brien"), QStringLiteral("it's"), QStringLiteral("แพท"), QStringLiteral("โอ'ไบรอัน"));
        start();
        ASSERT_FALSE(window->endRequested()) << prompter.shown.join(QLatin1Char('|')).toStdString();
        showAndActivate(window.get());
    }

    void expectStillAtLogin()
    {
        EXPECT_FALSE(window->loggedIn());
        EXPECT_TRUE(child<QWidget>("Panel1")->isVisible());
        EXPECT_FALSE(child<QStatusBar>("StatusBar1")->isVisible());
        EXPECT_FALSE(child<QAction>("N1")->isVisible());
        EXPECT_TRUE(session.Login_User_Name.isEmpty());
    }
};

struct RefusedCase
{
    const char* label;
    const char* name;
    const char* password;
    const QString* message;
    const char* focused;
};

class RefusedLoginTest : public LoginTest, public ::testing::WithParamInterface<RefusedCase>
{
};

TEST_P(RefusedLoginTest, ShowsItsMessageFocusesTheBoxAndLeavesBoxesAsTyped)
{
    const RefusedCase& c = GetParam();
    const QString name = QString::fromUtf8(c.name);
    const QString password = QString::fromUtf8(c.password);
    login(name, password);
    EXPECT_EQ(prompter.shown, QStringList {*c.message});
    EXPECT_EQ(QApplication::focusWidget(), child<QWidget>(c.focused));
    EXPECT_EQ(child<QLineEdit>("edtName")->text(), name);
    EXPECT_EQ(child<QLineEdit>("edtPassword")->text(), password);
    // a refused password is selected: retyping replaces it (before, the new
    // text went after the old)
    if (c.focused == std::string("edtPassword")) {
        EXPECT_EQ(child<QLineEdit>("edtPassword")->selectedText(), password);
    }
    expectStillAtLogin();
}

INSTANTIATE_TEST_SUITE_P(Cases, RefusedLoginTest,
    ::testing::Values(RefusedCase {"EmptyName", "", "Pass123", &kNoName, "edtName"},
        RefusedCase {"EmptyBoth", "", "", &kNoName, "edtName"},
        RefusedCase {"EmptyPassword", "somchai", "", &kNoPassword, "edtPassword"},
        RefusedCase {"UnknownUser", "somsak", "Pass123", &kUnknownUser, "edtName"},
        RefusedCase {"NameNotTrimmed", "somchai ", "Pass123", &kUnknownUser, "edtName"},
        RefusedCase {"PasswordCase", "somchai", "pass123", &kWrongPassword, "edtPassword"},
        RefusedCase {"PasswordNotTrimmed", "somchai", "Pass123 ", &kWrongPassword, "edtPassword"},
        RefusedCase {"InjectionInName", "x' OR '1'='1", "Pass123", &kUnknownUser, "edtName"},
        RefusedCase {"InjectionInPassword", "somchai", "' OR '1'='1", &kWrongPassword, "edtPassword"},
        RefusedCase {"ApostropheNameWrongPassword", "o'brien", "its", &kWrongPassword, "edtPassword"},
        RefusedCase {"BlankName", " ", "x", &kUnknownUser, "edtName"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(LoginTest, SuccessShowsMenuAndStatusBarAndHidesThePanel)
{
    login(QStringLiteral("somchai"), QStringLiteral("Pass123"));
    EXPECT_TRUE(prompter.shown.isEmpty()) << prompter.shown.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(window->loggedIn());
    EXPECT_EQ(session.Login_User_Name, QStringLiteral("somchai"));
    EXPECT_EQ(child<QLabel>("StatusPanel0")->text(), QStringLiteral("User :somchai"));
    EXPECT_EQ(child<QLabel>("StatusPanel1")->text(), QStringLiteral("ผู้ใช้งาน :สมชาย ใจดี"));
    EXPECT_EQ(child<QLabel>("StatusPanel2")->text(), QStringLiteral("IP Address :192.0.2.7"));
    EXPECT_EQ(child<QLabel>("StatusPanel3")->text(), QStringLiteral("Server IT: Ravek_SALARY"));
    EXPECT_FALSE(child<QWidget>("Panel1")->isVisible());
    EXPECT_TRUE(child<QStatusBar>("StatusBar1")->isVisible());
    for (const char* name : {"N1", "N2", "N3", "N11", "NExit"})
        EXPECT_TRUE(child<QAction>(name)->isVisible()) << name;
    EXPECT_TRUE(window->windowState() & Qt::WindowMaximized);
}

TEST_F(LoginTest, NameAndPasswordWithApostrophesLogIn)
{
    login(QStringLiteral("o'brien"), QStringLiteral("it's"));
    EXPECT_TRUE(prompter.shown.isEmpty()) << prompter.shown.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(session.Login_User_Name, QStringLiteral("o'brien"));
    EXPECT_EQ(child<QLabel>("StatusPanel0")->text(), QStringLiteral("User :o'brien"));
    EXPECT_EQ(child<QLabel>("StatusPanel1")->text(), QStringLiteral("ผู้ใช้งาน :แพท โอ'ไบรอัน"));
}

TEST_F(LoginTest, ThaiUserNameLogsIn)
{
    addUser(QStringLiteral("สมหญิง"), QStringLiteral("รหัสลับ"), QStringLiteral("สมหญิง"), QStringLiteral("รักเรียน"));
    login(QStringLiteral("สมหญิง"), QStringLiteral("รหัสลับ"));
    EXPECT_TRUE(prompter.shown.isEmpty());
    EXPECT_EQ(session.Login_User_Name, QStringLiteral("สมหญิง"));
}

TEST_F(LoginTest, SecondTryAfterAWrongPasswordSucceeds)
{
    login(QStringLiteral("somchai"), QStringLiteral("wrong"));
    EXPECT_EQ(prompter.shown, QStringList {kWrongPassword});
    retype(child<QLineEdit>("edtPassword"), QStringLiteral("Pass123"));
    child<QPushButton>("btnOK")->click();
    EXPECT_EQ(prompter.shown.size(), 1);
    EXPECT_TRUE(window->loggedIn());
}

TEST_F(LoginTest, UnknownAddressLeavesThePanelWithTheCaptionOnly)
{
    session.localAddress = [] { return QString(); };
    login(QStringLiteral("somchai"), QStringLiteral("Pass123"));
    EXPECT_EQ(child<QLabel>("StatusPanel2")->text(), QStringLiteral("IP Address :"));
}

TEST_F(LoginTest, AddressComesFromTheComputerByDefault)
{
    session.localAddress = nullptr;
    login(QStringLiteral("somchai"), QStringLiteral("Pass123"));
    EXPECT_EQ(child<QLabel>("StatusPanel2")->text(),
        QStringLiteral("IP Address :") + QString::fromStdString(velmora::Local_IP_Address()));
}

TEST_F(LoginTest, LegacyPlainTextPasswordLogsInAndIsThenStoredHashed)
{
    tdb.exec(QStringLiteral("INSERT INTO EP_TR_User (UserName, Upassword, F_Name, L_Name) VALUES (?, ?, ?, ?)"),
        {QStringLiteral("vok"), QStringLiteral("Old Pw"), QStringLiteral("วอก"), QStringLiteral("เก่า")});
    login(QStringLiteral("vok"), QStringLiteral("old pw"));
    EXPECT_EQ(prompter.shown, QStringList {kWrongPassword});
    EXPECT_EQ(tdb.scalar(QStringLiteral("SELECT Upassword FROM EP_TR_User WHERE UserName = ?"), {QStringLiteral("vok")})
                  .toString(),
        QStringLiteral("Old Pw"));

    retype(child<QLineEdit>("edtPassword"), QStringLiteral("Old Pw"));
    child<QPushButton>("btnOK")->click();
    EXPECT_TRUE(window->loggedIn());
    const QString stored =
        tdb.scalar(QStringLiteral("SELECT Upassword FROM EP_TR_User WHERE UserName = ?"), {QStringLiteral("vok")})
            .toString();
    EXPECT_NE(stored, QStringLiteral("Old Pw"));
    EXPECT_TRUE(db::isPasswordHash(stored));
    EXPECT_EQ(db::checkLogin(tdb.db(), QStringLiteral("vok"), QStringLiteral("Old Pw")).status, db::LoginResult::Ok);
}

TEST_F(LoginTest, EnterMovesFromNameToPasswordToOk)
{
    auto* name = child<QLineEdit>("edtName");
    auto* password = child<QLineEdit>("edtPassword");
    name->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), name);
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), password);
    QTest::keyClick(password, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(QApplication::focusWidget(), child<QPushButton>("btnOK"));
    // Enter only moved the focus: nothing was checked.
    EXPECT_TRUE(prompter.shown.isEmpty());
}

TEST_F(LoginTest, StartsWithTheFocusInTheNameBox)
{
    EXPECT_EQ(QApplication::focusWidget(), child<QLineEdit>("edtName"));
}

TEST_F(LoginTest, PasswordBoxHidesWhatIsTyped)
{
    EXPECT_EQ(child<QLineEdit>("edtPassword")->echoMode(), QLineEdit::Password);
    EXPECT_EQ(child<QLineEdit>("edtName")->echoMode(), QLineEdit::Normal);
}

TEST_F(LoginTest, DatabaseErrorIsShownAndTheWindowStaysAtLogin)
{
    QSqlQuery drop = tdb->query(); // DDL: PostgreSQL cannot prepare it
    ASSERT_TRUE(drop.exec(QStringLiteral("DROP TABLE EP_TR_User")));
    login(QStringLiteral("somchai"), QStringLiteral("Pass123"));
    ASSERT_EQ(prompter.shown.size(), 1);
    EXPECT_NE(prompter.shown.first(), kUnknownUser);
    EXPECT_FALSE(prompter.shown.first().isEmpty());
    expectStillAtLogin();
    EXPECT_EQ(child<QLineEdit>("edtName")->text(), QStringLiteral("somchai"));
}

TEST_F(LoginTest, CancelEndsTheProgram)
{
    child<QPushButton>("btnCancel")->click();
    EXPECT_EQ(endRequests, 1);
}

} // namespace
} // namespace velmora::test

namespace velmora::test {
namespace {

// After Enter has walked from the name to the password to OK, Enter on the
// focused OK logs in, as pressing it would.
TEST_F(LoginTest, EnterOnTheFocusedOkLogsIn)
{
    auto* name = child<QLineEdit>("edtName");
    auto* password = child<QLineEdit>("edtPassword");
    name->setFocus();
    typeText(name, QStringLiteral("somchai"));
    QTest::keyClick(name, Qt::Key_Return);
    typeText(password, QStringLiteral("Pass123"));
    QTest::keyClick(password, Qt::Key_Return);
    ASSERT_EQ(QApplication::focusWidget(), child<QPushButton>("btnOK"));
    QTest::keyClick(child<QPushButton>("btnOK"), Qt::Key_Return);
    EXPECT_TRUE(window->loggedIn());
    EXPECT_TRUE(prompter.shown.isEmpty());
}


// On a PostgreSQL database set up for server roles, a URL without a user: the
// window starts without a connection, and the name and password typed open it
// (the server checks the password).
class ServerLoginTest : public MainWindowTest
{
protected:
    void TearDown() override
    {
        if (tdb.isPostgres())
            tdb.exec(QStringLiteral("DO $$ BEGIN IF EXISTS (SELECT 1 FROM pg_roles WHERE rolname = '%1') THEN "
                                    "DROP ROLE %1; END IF; END $$")
                         .arg(name));
    }
    const QString name = QStringLiteral("gui") + QString::number(QRandomGenerator::global()->bounded(100000000));
};

TEST_F(ServerLoginTest, TheLoginOpensTheConnectionAndAWrongPasswordIsRefusedByTheServer)
{
    if (!tdb.isPostgres())
        GTEST_SKIP() << "server logins exist only on PostgreSQL (VELMORA_TEST_DB)";
    QString error;
    ASSERT_TRUE(server::setUp(tdb.db(), name, QStringLiteral("gui-pw-12"), &error)) << error.toStdString();
    QUrl url(tdb.url());
    url.setUserName(QString());
    start(url.toString());
    EXPECT_FALSE(window->endRequested()) << prompter.shown.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(prompter.shown.isEmpty()) << prompter.shown.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(session.db, nullptr);

    login(name, QStringLiteral("not-it-12"));
    EXPECT_EQ(prompter.shown, QStringList {kWrongPassword});
    EXPECT_FALSE(window->loggedIn());
    EXPECT_EQ(session.db, nullptr);

    login(name, QStringLiteral("gui-pw-12"));
    EXPECT_EQ(prompter.shown.size(), 1) << prompter.shown.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(window->loggedIn());
    ASSERT_NE(session.db, nullptr);
    EXPECT_TRUE(session.db->serverLogin());
    EXPECT_FALSE(session.Server_Date_Text.isEmpty());
    // the login's own row, written by the server under the server's login
    EXPECT_EQ(tdb.scalar(QStringLiteral("SELECT User_Name FROM EP_Audit_Log WHERE Event_Kind = 'login'")).toString(),
        name);
}

} // namespace
} // namespace velmora::test
