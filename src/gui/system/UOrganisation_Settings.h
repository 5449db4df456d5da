#pragma once

// The organisation's own data for the approval memo (seal picture, telephone,
// document reference code, the two signatories), edited by an administrator
// from the System menu and kept in the program's settings; and the office's
// second pair of eyes ("ต้องตรวจสอบก่อนพิมพ์บันทึกข้อความ"), kept in the database.

#include "pages/OrganisationSettings.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace velmora::app {
struct Session;
}

namespace velmora::print {

class TfrmOrganisation_Settings : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmOrganisation_Settings(app::Session& session, QWidget* parent = nullptr);

    // The data as the dialog holds it now.
    OrganisationData data() const;

public slots:
    void btnChoose_SealClick();
    void btnDefault_SealClick();
    void btnSaveClick();

private:
    void showSeal();

    app::Session& m_session;
    QString m_sealPath;

    QLabel* imgSeal = nullptr;
    QPushButton* btnChoose_Seal = nullptr;
    QPushButton* btnDefault_Seal = nullptr;
    QLineEdit* edtTelephone = nullptr;
    QLineEdit* edtReference_Code = nullptr;
    QLineEdit* edtPreparer_Name = nullptr;
    QLineEdit* edtSection_Head_Name = nullptr;
    QCheckBox* chkFour_Eyes = nullptr;
    bool m_fourEyes = true; // as read when the dialog opened
    QPushButton* btnSave = nullptr;
    QPushButton* btnCancel = nullptr;
};

} // namespace velmora::print
