// The password change screen: confirmation, messages, focus, boxes, and the
// end of the program after a change.

#include "AppTestSupport.h"

#include "db/PasswordHash.h"
#include "db/Users.h"
#include "gui/main/UChange_Password.h"
#include "support/Wait.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>

namespace velmora::test {
namespace {

const QString kConfirm = QStringLiteral("ยืนยันการบันทึกข้อมูล ");
const QString kWrongOld = QStringLiteral("รหัสผ่านเดิมไม่ถูกต้อง");
const QString kMismatch = QStringLiteral("รหัสผ่านและรหัสยืนยันไม่เหมือนกัน กรุณาใส่ใหม่");
const QString kEmptyNew = QStringLiteral("กรุณาใส่รหัสผ่านใหม่ด้วย");
const QString kChanged = QStringLiteral("ทำการเปลี่ยนแปลงรหัสผ่านให้แล้ว โปรแกรมจะปิดตัวเองเพื่อให้\rเข้าระบบใหม่ (Login)");

// The screen opened from the menu of a logged-in main window.
class ChangePasswordTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        addUser(QStringLiteral("somchai"), QStringLiteral("Pass123"), QStringLiteral("สมชาย"), QStringLiteral("ใจดี"));
        logInAndOpen(QStringLiteral("somchai"), QStringLiteral("Pass123"));
    }

    void logInAndOpen(const QString& name, const QString& password)
    {
        start();
        ASSERT_FALSE(window->endRequested());
        showAndActivate(window.get());
        login(name, password);
        ASSERT_TRUE(window->loggedIn()) << prompter.shown.join(QLatin1Char('|')).toStdString();
        prompter.clear();
        child<QAction>("ChangePassword1")->trigger();
        const QList<QMdiSubWindow*> subs = window->mdiArea()->subWindowList();
        ASSERT_FALSE(subs.isEmpty());
        screen = subs.last()->widget();
        ASSERT_NE(screen, nullptr);
        oldBox = screen->findChild<QLineEdit*>(QStringLiteral("edtOld_Password"));
        newBox = screen->findChild<QLineEdit*>(QStringLiteral("edtNew_Password"));
        confBox = screen->findChild<QLineEdit*>(QStringLiteral("edtConf_Password"));
        save = screen->findChild<QPushButton*>(QStringLiteral("btnSave_Data"));
        ASSERT_TRUE(oldBox && newBox && confBox && save);
    }

    void fill(const QString& oldPw, const QString& newPw, const QString& conf)
    {
        retype(oldBox, oldPw);
        retype(newBox, newPw);
        retype(confBox, conf);
    }

    QString storedPassword(const QString& user)
    {
        return tdb.scalar(QStringLiteral("SELECT Upassword FROM EP_TR_User WHERE UserName = ?"), {user}).toString();
    }

    QWidget* screen = nullptr;
    QLineEdit* oldBox = nullptr;
    QLineEdit* newBox = nullptr;
    QLineEdit* confBox = nullptr;
    QPushButton* save = nullptr;
};

TEST_F(ChangePasswordTest, OpensWithEmptyHiddenBoxesOfTenCharacters)
{
    EXPECT_EQ(screen->windowTitle(), QStringLiteral("frmChange_Password"));
    for (QLineEdit* box : {oldBox, newBox, confBox}) {
        EXPECT_TRUE(box->text().isEmpty());
        EXPECT_EQ(box->echoMode(), QLineEdit::Password);
        typeText(box, QStringLiteral("abcdefghijkl"));
        EXPECT_EQ(box->text(), QStringLiteral("abcdefghij"));
    }
    EXPECT_EQ(screen->findChild<QLabel*>(QStringLiteral("Label5"))->text(), QStringLiteral("การเปลี่ยนแปลงรหัสผ่าน"));
    EXPECT_EQ(save->text(), QStringLiteral("บันทึกข้อมูล"));
    EXPECT_EQ(screen->findChild<QPushButton*>(QStringLiteral("btnExit_Form"))->text(), QStringLiteral("กลับสู่เมนูหลัก"));
}

TEST_F(ChangePasswordTest, CancelledConfirmationChangesNothing)
{
    const QString before = storedPassword(QStringLiteral("somchai"));
    prompter.confirmAnswers = {false};
    fill(QStringLiteral("Pass123"), QStringLiteral("New1"), QStringLiteral("New1"));
    save->click();
    EXPECT_EQ(prompter.shown, QStringList {kConfirm});
    EXPECT_EQ(storedPassword(QStringLiteral("somchai")), before);
    EXPECT_EQ(endRequests, 0);
    EXPECT_EQ(newBox->text(), QStringLiteral("New1"));
}

TEST_F(ChangePasswordTest, WrongOldPasswordLeavesBoxesAsTypedAndFocusesOld)
{
    fill(QStringLiteral("pass123"), QStringLiteral("New1"), QStringLiteral("New1"));
    save->click();
    EXPECT_EQ(prompter.shown, (QStringList {kConfirm, kWrongOld}));
    EXPECT_EQ(oldBox->text(), QStringLiteral("pass123"));
    EXPECT_EQ(newBox->text(), QStringLiteral("New1"));
    EXPECT_EQ(confBox->text(), QStringLiteral("New1"));
    EXPECT_EQ(QApplication::focusWidget(), oldBox);
    EXPECT_EQ(oldBox->selectedText(), QStringLiteral("pass123")); // retyping replaces it
    EXPECT_EQ(endRequests, 0);
}

TEST_F(ChangePasswordTest, MismatchClearsNewAndConfirmationAndFocusesNew)
{
    fill(QStringLiteral("Pass123"), QStringLiteral("abc"), QStringLiteral("ABC"));
    save->click();
    EXPECT_EQ(prompter.shown, (QStringList {kConfirm, kMismatch}));
    EXPECT_EQ(oldBox->text(), QStringLiteral("Pass123"));
    EXPECT_TRUE(newBox->text().isEmpty());
    EXPECT_TRUE(confBox->text().isEmpty());
    EXPECT_EQ(QApplication::focusWidget(), newBox);
    EXPECT_EQ(
        db::checkLogin(tdb.db(), QStringLiteral("somchai"), QStringLiteral("Pass123")).status, db::LoginResult::Ok);
}

TEST_F(ChangePasswordTest, EmptyNewPasswordIsRefused)
{
    fill(QStringLiteral("Pass123"), QString(), QString());
    save->click();
    EXPECT_EQ(prompter.shown, (QStringList {kConfirm, kEmptyNew}));
    EXPECT_EQ(QApplication::focusWidget(), newBox);
    EXPECT_EQ(endRequests, 0);
    EXPECT_EQ(
        db::checkLogin(tdb.db(), QStringLiteral("somchai"), QStringLiteral("Pass123")).status, db::LoginResult::Ok);
}

TEST_F(ChangePasswordTest, SuccessEndsTheProgramAndOnlyTheNewPasswordLogsIn)
{
    fill(QStringLiteral("Pass123"), QStringLiteral("ใหม่'9xyz"), QStringLiteral("ใหม่'9xyz"));
    save->click();
    EXPECT_EQ(prompter.shown, (QStringList {kConfirm, kChanged}));
    EXPECT_EQ(endRequests, 1);
    EXPECT_TRUE(db::isPasswordHash(storedPassword(QStringLiteral("somchai"))));

    // The next start of the program.
    prompter.clear();
    start();
    login(QStringLiteral("somchai"), QStringLiteral("Pass123"));
    EXPECT_EQ(prompter.shown, QStringList {QStringLiteral("รหัสผ่านไม่ถูกต้อง กรุณาใส่รหัสผ่านใหม่")});
    EXPECT_FALSE(window->loggedIn());
    prompter.clear();
    login(QStringLiteral("somchai"), QStringLiteral("ใหม่'9xyz"));
    EXPECT_TRUE(prompter.shown.isEmpty());
    EXPECT_TRUE(window->loggedIn());
}

TEST_F(ChangePasswordTest, EnterMovesThroughTheBoxesToSave)
{
    oldBox->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), oldBox);
    QTest::keyClick(oldBox, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), newBox);
    QTest::keyClick(newBox, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), confBox);
    QTest::keyClick(confBox, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), save);
    EXPECT_TRUE(prompter.shown.isEmpty());
    // Enter on the focused save button presses it: the confirmation is asked.
    QTest::keyClick(save, Qt::Key_Return);
    EXPECT_EQ(prompter.shown.value(0), QStringLiteral("ยืนยันการบันทึกข้อมูล "));
}

TEST_F(ChangePasswordTest, BackToMenuClosesTheWindowWithoutWriting)
{
    const QString before = storedPassword(QStringLiteral("somchai"));
    fill(QStringLiteral("Pass123"), QStringLiteral("New1"), QStringLiteral("New1"));
    screen->findChild<QPushButton*>(QStringLiteral("btnExit_Form"))->click();
    VELMORA_WAIT_UNTIL(window->mdiArea()->subWindowList().isEmpty());
    EXPECT_EQ(storedPassword(QStringLiteral("somchai")), before);
    EXPECT_TRUE(prompter.shown.isEmpty());
}

// A user whose password an older installation stored in plain text.
class LegacyChangePasswordTest : public ChangePasswordTest
{
protected:
    void SetUp() override
    {
        tdb.exec(QStringLiteral("INSERT INTO EP_TR_User (UserName, Upassword, F_Name, L_Name) VALUES (?, ?, ?, ?)"),
            {QStringLiteral("o'neil"), QStringLiteral("it's ok"), QStringLiteral("โอ"), QStringLiteral("นีล")});
        logInAndOpen(QStringLiteral("o'neil"), QStringLiteral("it's ok"));
    }
};

TEST_F(LegacyChangePasswordTest, ApostrophesInNameAndPasswordsWork)
{
    fill(QStringLiteral("it's ok"), QStringLiteral("x'y'z-1234"), QStringLiteral("x'y'z-1234"));
    save->click();
    EXPECT_EQ(prompter.shown, (QStringList {kConfirm, kChanged}));
    EXPECT_EQ(
        db::checkLogin(tdb.db(), QStringLiteral("o'neil"), QStringLiteral("x'y'z-1234")).status, db::LoginResult::Ok);
    EXPECT_EQ(db::checkLogin(tdb.db(), QStringLiteral("o'neil"), QStringLiteral("it's ok")).status,
        db::LoginResult::WrongPassword);
}

} // namespace
} // namespace velmora::test
