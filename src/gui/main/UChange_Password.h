#pragma once

#include <QWidget>

class QEvent;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace velmora::app {

struct Session;

// Replaces the logged-in user's password; after a change the program ends so
// that the user logs in again with the new one.
class TfrmChange_Password : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmChange_Password(Session& session, QWidget* parent = nullptr);

public slots:
    void FormCreate();
    void btnSave_DataClick();
    void btnExit_FormClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Enter in any of the three boxes moves on to the next control.
    bool edtOld_PasswordKeyPress(QObject* box, QEvent* event);

private:
    Session& m_session;

    QGroupBox* GroupBox3 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* edtOld_Password = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* edtNew_Password = nullptr;
    QLabel* Label4 = nullptr;
    QLineEdit* edtConf_Password = nullptr;
    QPushButton* btnSave_Data = nullptr;
    QPushButton* btnExit_Form = nullptr;
    QLabel* Label1 = nullptr;
};

} // namespace velmora::app
