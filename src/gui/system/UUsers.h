#pragma once

// The users of the office ("ผู้ใช้งานระบบ", System menu): the list with each
// user's roles and state; an administrator adds a user, gives roles, disables
// or enables one and sets a new password (the user then chooses their own at
// the next login). An auditor sees the list. Every change is the accounts
// service's, which velmora-cli user calls too.

#include "services/Accounts.h"

#include <QMap>
#include <QWidget>

#include <vector>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QTableView;

namespace velmora::app {
struct Session;
}
namespace velmora::reports {
class GridModel;
}

namespace velmora::users {

class TfrmUsers : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmUsers(app::Session& session, QWidget* parent = nullptr);

    const std::vector<accounts::Account>& accounts() const { return m_accounts; }

public slots:
    void btnShow_DataClick();
    void rowChosen();
    void btnAdd_UserClick();
    void btnSave_RolesClick();
    void btnDisable_UserClick();
    void btnEnable_UserClick();
    void btnReset_PasswordClick();
    void btnExit_FormClick();

private:
    QList<rights::Role> chosenRoles() const;
    // The two password boxes, equal and filled; none after saying why.
    std::optional<QString> newPassword();
    // Says the outcome of a change and shows the list again.
    void done(bool ok, const QString& error);

    app::Session& m_session;
    std::vector<accounts::Account> m_accounts;
    reports::GridModel* m_model = nullptr;

    QTableView* grdUsers = nullptr;
    QLineEdit* edtUser_Name = nullptr;
    QLineEdit* edtFull_Name = nullptr;
    QMap<rights::Role, QCheckBox*> m_roleBoxes; // chkRole_<name>
    QLineEdit* edtNew_Password = nullptr;
    QLineEdit* edtConf_Password = nullptr;
    QPushButton* btnAdd_User = nullptr;
    QPushButton* btnSave_Roles = nullptr;
    QPushButton* btnDisable_User = nullptr;
    QPushButton* btnEnable_User = nullptr;
    QPushButton* btnReset_Password = nullptr;
    QPushButton* btnExit_Form = nullptr;
};

} // namespace velmora::users
