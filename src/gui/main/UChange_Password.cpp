#include "gui/main/UChange_Password.h"

#include "db/Users.h"
#include "gui/common/Prompter.h"
#include "gui/common/ScreenSupport.h"
#include "gui/common/Session.h"
#include "gui/common/Widgets.h"
#include "services/Accounts.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace velmora::app {

namespace {

QLineEdit* makePasswordEdit(QWidget* parent, const char* name)
{
    QLineEdit* edit = lineEdit(parent, name);
    edit->setMaxLength(10);
    makePasswordBox(edit);
    return edit;
}

} // namespace

TfrmChange_Password::TfrmChange_Password(Session& session, QWidget* parent)
    : QWidget(parent)
    , m_session(session)
{
    setObjectName(QStringLiteral("frmChange_Password"));
    setWindowTitle(QStringLiteral("frmChange_Password"));

    GroupBox3 = make<QGroupBox>(this, "GroupBox3");
    Label5 = label(GroupBox3, "Label5", QStringLiteral("การเปลี่ยนแปลงรหัสผ่าน"));
    scaleFont(Label5, 1.4, true);
    auto* titleLayout = new QHBoxLayout(GroupBox3);
    titleLayout->addWidget(Label5, 0, Qt::AlignCenter);

    Label2 = label(this, "Label2", QStringLiteral("รหัสผ่านเดิม"));
    edtOld_Password = makePasswordEdit(this, "edtOld_Password");
    Label3 = label(this, "Label3", QStringLiteral("รหัสผ่านใหม่"));
    edtNew_Password = makePasswordEdit(this, "edtNew_Password");
    Label4 = label(this, "Label4", QStringLiteral("ยืนยันรหัสผ่านใหม่"));
    edtConf_Password = makePasswordEdit(this, "edtConf_Password");
    btnSave_Data = make<QPushButton>(this, "btnSave_Data", QStringLiteral("บันทึกข้อมูล"));
    btnExit_Form = make<QPushButton>(this, "btnExit_Form", QStringLiteral("กลับสู่เมนูหลัก"));
    Label1 = label(this, "Label1", QStringLiteral("พัฒนาโดย งานคลัง"));

    auto* form = new QGridLayout;
    form->addWidget(Label2, 0, 0);
    form->addWidget(edtOld_Password, 0, 1);
    form->addWidget(Label3, 1, 0);
    form->addWidget(edtNew_Password, 1, 1);
    form->addWidget(Label4, 2, 0);
    form->addWidget(edtConf_Password, 2, 1);
    form->setColumnMinimumWidth(1, 160);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnSave_Data);
    buttons->addWidget(btnExit_Form);
    form->addLayout(buttons, 3, 1);

    auto* column = new QVBoxLayout(this);
    column->addWidget(GroupBox3);
    column->addSpacing(16);
    auto* centred = new QHBoxLayout;
    centred->addStretch();
    centred->addLayout(form);
    centred->addStretch();
    column->addLayout(centred);
    column->addStretch();
    column->addWidget(Label1, 0, Qt::AlignRight);

    setTabOrder(edtOld_Password, edtNew_Password);
    setTabOrder(edtNew_Password, edtConf_Password);
    setTabOrder(edtConf_Password, btnSave_Data);
    setTabOrder(btnSave_Data, btnExit_Form);
    // Enter on a focused button presses it (Enter in the boxes moves on).
    for (QPushButton* b : {btnSave_Data, btnExit_Form})
        b->setAutoDefault(true);
    for (QLineEdit* e : {edtOld_Password, edtNew_Password, edtConf_Password})
        e->installEventFilter(this);
    connect(btnSave_Data, &QPushButton::clicked, this, &TfrmChange_Password::btnSave_DataClick);
    connect(btnExit_Form, &QPushButton::clicked, this, &TfrmChange_Password::btnExit_FormClick);

    FormCreate();
    setFocusProxy(edtOld_Password);
}

void TfrmChange_Password::FormCreate()
{
    edtOld_Password->clear();
    edtNew_Password->clear();
    edtConf_Password->clear();
}

bool TfrmChange_Password::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == edtOld_Password || watched == edtNew_Password || watched == edtConf_Password) {
        if (edtOld_PasswordKeyPress(watched, event))
            return true;
    }
    return QWidget::eventFilter(watched, event);
}

bool TfrmChange_Password::edtOld_PasswordKeyPress(QObject* box, QEvent* event)
{
    if (!isEnterKeyPress(event))
        return false;
    pressTab(static_cast<QWidget*>(box));
    return true;
}

void TfrmChange_Password::btnSave_DataClick()
{
    Prompter& prompter = *m_session.prompter;
    if (!prompter.confirm(this, QStringLiteral("ยืนยันการบันทึกข้อมูล ")))
        return;
    if (!m_session.db) {
        prompter.inform(this, QStringLiteral("ไม่สามารถติดต่อฐานข้อมูลได้"));
        return;
    }

    const db::PasswordChangeResult result = accounts::changeOwnPassword(
        *m_session.db, edtOld_Password->text(), edtNew_Password->text(), edtConf_Password->text());
    switch (result.status) {
    case db::PasswordChangeResult::WrongOldPassword:
        prompter.inform(this, QStringLiteral("รหัสผ่านเดิมไม่ถูกต้อง"));
        focusForRetyping(edtOld_Password);
        return;
    case db::PasswordChangeResult::Mismatch:
        prompter.inform(this, QStringLiteral("รหัสผ่านและรหัสยืนยันไม่เหมือนกัน กรุณาใส่ใหม่"));
        edtNew_Password->clear();
        edtConf_Password->clear();
        focusForRetyping(edtNew_Password);
        return;
    case db::PasswordChangeResult::EmptyNewPassword:
        // An empty password could never log in again.
        prompter.inform(this, QStringLiteral("กรุณาใส่รหัสผ่านใหม่ด้วย"));
        focusForRetyping(edtNew_Password);
        return;
    case db::PasswordChangeResult::Weak:
        prompter.inform(this, result.error);
        edtNew_Password->clear();
        edtConf_Password->clear();
        focusForRetyping(edtNew_Password);
        return;
    case db::PasswordChangeResult::Error:
        prompter.inform(this, result.error);
        return;
    case db::PasswordChangeResult::Changed:
        break;
    }

    prompter.inform(this,
        QStringLiteral("ทำการเปลี่ยนแปลงรหัสผ่านให้แล้ว โปรแกรมจะปิดตัวเองเพื่อให้") + QLatin1Char('\r')
            + QStringLiteral("เข้าระบบใหม่ (Login)"));
    if (m_session.endProgram)
        m_session.endProgram();
}

void TfrmChange_Password::btnExit_FormClick()
{
    closeScreen(this);
}

} // namespace velmora::app
