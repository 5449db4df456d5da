#include "gui/system/UUsers.h"

#include "gui/common/GridModel.h"
#include "gui/common/Prompter.h"
#include "gui/common/ScreenSupport.h"
#include "gui/common/Session.h"
#include "gui/common/Widgets.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace velmora::users {

namespace {

QLineEdit* passwordEdit(QWidget* parent, const char* name)
{
    QLineEdit* edit = app::lineEdit(parent, name);
    edit->setMaxLength(accounts::kPasswordMaxLength);
    app::makePasswordBox(edit);
    return edit;
}

QString yesNo(bool value)
{
    return value ? QStringLiteral("ใช่") : QStringLiteral("ไม่");
}

} // namespace

TfrmUsers::TfrmUsers(app::Session& session, QWidget* parent)
    : QWidget(parent)
    , m_session(session)
{
    setObjectName(QStringLiteral("frmUsers"));
    setWindowTitle(QStringLiteral("ผู้ใช้งานระบบ"));

    auto* root = new QVBoxLayout(this);
    root->addWidget(app::heading(this, "Label5", QStringLiteral("ผู้ใช้งานระบบ"), "navy"));
    m_model = new reports::GridModel(this);
    grdUsers = app::gridView(this, "grdUsers", m_model, true);
    app::keepColumnWidths(grdUsers, {120, 220, 320, 80, 120});
    root->addWidget(grdUsers, 1);

    auto* GroupBox1 = app::groupBox(this, "GroupBox1", QStringLiteral("ข้อมูลผู้ใช้"));
    auto* form = new QGridLayout(GroupBox1);
    edtUser_Name = app::lineEdit(GroupBox1, "edtUser_Name");
    edtFull_Name = app::lineEdit(GroupBox1, "edtFull_Name");
    edtNew_Password = passwordEdit(GroupBox1, "edtNew_Password");
    edtConf_Password = passwordEdit(GroupBox1, "edtConf_Password");
    form->addWidget(new QLabel(QStringLiteral("ชื่อผู้ใช้"), GroupBox1), 0, 0);
    form->addWidget(edtUser_Name, 0, 1);
    form->addWidget(new QLabel(QStringLiteral("ชื่อ-นามสกุล"), GroupBox1), 0, 2);
    form->addWidget(edtFull_Name, 0, 3);
    auto* roles = new QHBoxLayout;
    for (rights::Role r : rights::allRoles()) {
        auto* box = new QCheckBox(
            rights::roleTitle(r) + QStringLiteral(" (") + rights::roleName(r) + QLatin1Char(')'), GroupBox1);
        box->setObjectName(QStringLiteral("chkRole_") + rights::roleName(r));
        m_roleBoxes.insert(r, box);
        roles->addWidget(box);
    }
    roles->addStretch(1);
    form->addWidget(new QLabel(QStringLiteral("บทบาท"), GroupBox1), 1, 0);
    form->addLayout(roles, 1, 1, 1, 3);
    form->addWidget(new QLabel(QStringLiteral("รหัสผ่านใหม่"), GroupBox1), 2, 0);
    form->addWidget(edtNew_Password, 2, 1);
    form->addWidget(new QLabel(QStringLiteral("ยืนยันรหัสผ่านใหม่"), GroupBox1), 2, 2);
    form->addWidget(edtConf_Password, 2, 3);
    root->addWidget(GroupBox1);

    auto* buttons = new QHBoxLayout;
    btnAdd_User = app::button(this, "btnAdd_User", QStringLiteral("เพิ่มผู้ใช้"));
    btnSave_Roles = app::button(this, "btnSave_Roles", QStringLiteral("บันทึกบทบาท"));
    btnDisable_User = app::button(this, "btnDisable_User", QStringLiteral("ระงับการใช้งาน"));
    btnEnable_User = app::button(this, "btnEnable_User", QStringLiteral("เปิดใช้งาน"));
    btnReset_Password = app::button(this, "btnReset_Password", QStringLiteral("ตั้งรหัสผ่านใหม่"));
    btnExit_Form = app::button(this, "btnExit_Form", QStringLiteral("กลับสู่เมนูหลัก"));
    app::setEnterButton(this, btnAdd_User);
    for (QPushButton* b : {btnAdd_User, btnSave_Roles, btnDisable_User, btnEnable_User, btnReset_Password}) {
        b->setEnabled(rights::mayDo(rights::Action::ManageUsers));
        buttons->addWidget(b);
    }
    buttons->addStretch(1);
    buttons->addWidget(btnExit_Form);
    root->addLayout(buttons);

    connect(grdUsers->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &TfrmUsers::rowChosen);
    connect(btnAdd_User, &QPushButton::clicked, this, &TfrmUsers::btnAdd_UserClick);
    connect(btnSave_Roles, &QPushButton::clicked, this, &TfrmUsers::btnSave_RolesClick);
    connect(btnDisable_User, &QPushButton::clicked, this, &TfrmUsers::btnDisable_UserClick);
    connect(btnEnable_User, &QPushButton::clicked, this, &TfrmUsers::btnEnable_UserClick);
    connect(btnReset_Password, &QPushButton::clicked, this, &TfrmUsers::btnReset_PasswordClick);
    connect(btnExit_Form, &QPushButton::clicked, this, &TfrmUsers::btnExit_FormClick);
    btnShow_DataClick();
}

void TfrmUsers::btnShow_DataClick()
{
    if (!m_session.db)
        return;
    QString error;
    std::vector<accounts::Account> list;
    if (!accounts::listAccounts(*m_session.db, &list, &error)) {
        m_session.prompter->inform(this, error);
        return;
    }
    m_accounts = std::move(list);
    reports::ReportGrid grid;
    grid.titles = {QStringLiteral("ชื่อผู้ใช้"), QStringLiteral("ชื่อ-นามสกุล"), QStringLiteral("บทบาท"),
        QStringLiteral("ใช้งานได้"), QStringLiteral("ต้องเปลี่ยนรหัสผ่าน")};
    for (const accounts::Account& a : m_accounts)
        grid.rows << QStringList {
            a.userName, a.fullName, rights::rolesText(a.roles), yesNo(a.enabled), yesNo(a.mustChangePassword)};
    m_model->setGrid(grid);
}

void TfrmUsers::rowChosen()
{
    const int row = grdUsers->currentIndex().row();
    if (row < 0 || row >= static_cast<int>(m_accounts.size()))
        return;
    const accounts::Account& a = m_accounts[static_cast<size_t>(row)];
    edtUser_Name->setText(a.userName);
    edtFull_Name->setText(a.fullName);
    for (auto it = m_roleBoxes.cbegin(); it != m_roleBoxes.cend(); ++it)
        it.value()->setChecked(a.roles.contains(it.key()));
}

QList<rights::Role> TfrmUsers::chosenRoles() const
{
    QList<rights::Role> roles;
    for (auto it = m_roleBoxes.cbegin(); it != m_roleBoxes.cend(); ++it)
        if (it.value()->isChecked())
            roles << it.key();
    return roles;
}

std::optional<QString> TfrmUsers::newPassword()
{
    if (edtNew_Password->text().isEmpty()) {
        m_session.prompter->inform(this, QStringLiteral("กรุณาใส่รหัสผ่านใหม่ด้วย"));
        app::focusForRetyping(edtNew_Password);
        return std::nullopt;
    }
    if (edtNew_Password->text() != edtConf_Password->text()) {
        m_session.prompter->inform(this, QStringLiteral("รหัสผ่านและรหัสยืนยันไม่เหมือนกัน กรุณาใส่ใหม่"));
        edtNew_Password->clear();
        edtConf_Password->clear();
        app::focusForRetyping(edtNew_Password);
        return std::nullopt;
    }
    return edtNew_Password->text();
}

void TfrmUsers::done(bool ok, const QString& error)
{
    if (!ok) {
        m_session.prompter->inform(this, error);
        return;
    }
    edtNew_Password->clear();
    edtConf_Password->clear();
    m_session.prompter->inform(this, QStringLiteral("บันทึกข้อมูลเรียบร้อยแล้ว"));
    btnShow_DataClick();
}

void TfrmUsers::btnAdd_UserClick()
{
    const std::optional<QString> password = newPassword();
    if (!password || !m_session.db)
        return;
    QString error;
    done(accounts::addAccount(
             *m_session.db, edtUser_Name->text().trimmed(), edtFull_Name->text(), chosenRoles(), *password, &error),
        error);
}

void TfrmUsers::btnSave_RolesClick()
{
    if (!m_session.db)
        return;
    QString error;
    done(accounts::setAccountRoles(*m_session.db, edtUser_Name->text().trimmed(), chosenRoles(), &error), error);
}

void TfrmUsers::btnDisable_UserClick()
{
    if (!m_session.db
        || !m_session.prompter->confirm(
            this, QStringLiteral("ยืนยันการระงับการใช้งานของ ") + edtUser_Name->text().trimmed()))
        return;
    QString error;
    done(accounts::setAccountEnabled(*m_session.db, edtUser_Name->text().trimmed(), false, &error), error);
}

void TfrmUsers::btnEnable_UserClick()
{
    if (!m_session.db)
        return;
    QString error;
    done(accounts::setAccountEnabled(*m_session.db, edtUser_Name->text().trimmed(), true, &error), error);
}

void TfrmUsers::btnReset_PasswordClick()
{
    const std::optional<QString> password = newPassword();
    if (!password || !m_session.db)
        return;
    QString error;
    done(accounts::resetAccountPassword(*m_session.db, edtUser_Name->text().trimmed(), *password, &error), error);
}

void TfrmUsers::btnExit_FormClick()
{
    app::closeScreen(this);
}

} // namespace velmora::users
