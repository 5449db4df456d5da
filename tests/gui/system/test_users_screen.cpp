// The users screen: an administrator adds, gives roles and sets passwords
// under the password rules, and can never leave the office without an
// enabled administrator; an auditor only reads the list.

#include "gui/common/Prompter.h"
#include "gui/common/Session.h"
#include "gui/system/UUsers.h"
#include "services/Rights.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

namespace velmora::test {
namespace {

using rights::Role;

class UsersScreen : public ::testing::Test
{
protected:
    UsersScreen()
    {
        t.addLogin(QStringLiteral("admin1"), QStringLiteral("admin1-pw"));
        session.db = &t.db();
        session.prompter = &prompter;
    }
    ~UsersScreen() override { rights::setLogin({QStringLiteral("tester"), rights::allRoles()}); }

    template <typename T>
    T* child(const char* name)
    {
        T* found = screen->findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    void open(const QList<Role>& roles)
    {
        rights::setLogin({QStringLiteral("admin1"), roles});
        screen = std::make_unique<users::TfrmUsers>(session);
    }
    void fill(const QString& name, const QString& password, const QList<Role>& roles)
    {
        child<QLineEdit>("edtUser_Name")->setText(name);
        child<QLineEdit>("edtFull_Name")->setText(QStringLiteral("สมศรี มีสุข"));
        child<QLineEdit>("edtNew_Password")->setText(password);
        child<QLineEdit>("edtConf_Password")->setText(password);
        for (Role r : rights::allRoles())
            child<QCheckBox>(qPrintable(QStringLiteral("chkRole_") + rights::roleName(r)))
                ->setChecked(roles.contains(r));
    }
    const accounts::Account* account(const QString& name) const
    {
        for (const accounts::Account& a : screen->accounts())
            if (a.userName == name)
                return &a;
        return nullptr;
    }

    TestDatabase t;
    app::ScriptedPrompter prompter;
    app::Session session;
    std::unique_ptr<users::TfrmUsers> screen;
};

TEST_F(UsersScreen, AnAdministratorManagesTheOfficeAndKeepsAnAdministratorAnAuditorReads)
{
    open({Role::Administrator});
    ASSERT_NE(account(QStringLiteral("admin1")), nullptr);

    // the password rules, then a user with two roles
    fill(QStringLiteral("somsri"), QStringLiteral("short"), {Role::Officer});
    child<QPushButton>("btnAdd_User")->click();
    EXPECT_TRUE(prompter.messages.last().contains(QStringLiteral("8 ถึง 10"))) << prompter.messages.last().toStdString();
    EXPECT_EQ(account(QStringLiteral("somsri")), nullptr);
    fill(QStringLiteral("somsri"), QStringLiteral("somsri-12"), {Role::Officer, Role::Checker});
    child<QPushButton>("btnAdd_User")->click();
    EXPECT_EQ(prompter.messages.last(), QStringLiteral("บันทึกข้อมูลเรียบร้อยแล้ว"));
    ASSERT_NE(account(QStringLiteral("somsri")), nullptr);
    EXPECT_EQ(account(QStringLiteral("somsri"))->roles, (QList<Role> {Role::Officer, Role::Checker}));
    EXPECT_EQ(account(QStringLiteral("somsri"))->fullName, QStringLiteral("สมศรี มีสุข"));

    // a reset makes her choose her own password at the next login
    fill(QStringLiteral("somsri"), QStringLiteral("temp-pass1"), {Role::Officer, Role::Checker});
    child<QPushButton>("btnReset_Password")->click();
    EXPECT_TRUE(account(QStringLiteral("somsri"))->mustChangePassword);
    EXPECT_TRUE(db::checkLogin(t.db(), QStringLiteral("somsri"), QStringLiteral("temp-pass1")).mustChangePassword);

    // the last enabled administrator can neither lose the role nor be disabled
    auto* grid = child<QTableView>("grdUsers");
    grid->setCurrentIndex(grid->model()->index(0, 0)); // admin1, first by name
    EXPECT_EQ(child<QLineEdit>("edtUser_Name")->text(), QStringLiteral("admin1"));
    child<QCheckBox>("chkRole_administrator")->setChecked(false);
    child<QPushButton>("btnSave_Roles")->click();
    EXPECT_TRUE(prompter.messages.last().contains(QStringLiteral("ผู้ดูแลระบบคนสุดท้าย")));
    child<QPushButton>("btnDisable_User")->click();
    EXPECT_TRUE(prompter.messages.last().contains(QStringLiteral("ผู้ดูแลระบบคนสุดท้าย")));
    EXPECT_TRUE(account(QStringLiteral("admin1"))->enabled);
    EXPECT_TRUE(account(QStringLiteral("admin1"))->roles.contains(Role::Administrator));

    // once another administrator exists, the first may be disabled, and cannot log in
    fill(QStringLiteral("somsri"), QString(), {Role::Administrator});
    child<QPushButton>("btnSave_Roles")->click();
    child<QLineEdit>("edtUser_Name")->setText(QStringLiteral("admin1"));
    child<QPushButton>("btnDisable_User")->click();
    EXPECT_FALSE(account(QStringLiteral("admin1"))->enabled);
    EXPECT_EQ(db::checkLogin(t.db(), QStringLiteral("admin1"), QStringLiteral("admin1-pw")).status,
        db::LoginResult::Disabled);

    // an auditor reads the list and changes nothing
    open({Role::Auditor});
    EXPECT_NE(account(QStringLiteral("admin1")), nullptr);
    for (const char* name : {"btnAdd_User", "btnSave_Roles", "btnDisable_User", "btnEnable_User", "btnReset_Password"})
        EXPECT_FALSE(child<QPushButton>(name)->isEnabled()) << name;
}

} // namespace
} // namespace velmora::test
