#pragma once

#include "gui/common/FilterGroups.h"

// Cancelling a saved calculation ("การยกเลิกการคำนวณเงินชดเชย"): lists the
// saved calculations and removes the chosen one, so that the employee can be
// calculated again.

#include <QWidget>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableView;

namespace velmora::app {
struct Session;
}

namespace velmora::calc {

class TfrmRelease_Cal_Money_ChodChoy : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmRelease_Cal_Money_ChodChoy(app::Session& session, QWidget* parent = nullptr);

public slots:
    void FormCreate();
    void btnShow_DataClick();
    void btnCancel_BergClick();
    void btnExit_FormClick();

private:
    app::Session& m_session;

    QLabel* Label5 = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QPushButton* btnShow_Data = nullptr;
    QPushButton* btnExit_Form = nullptr;
    // shown with its defaults; the list does not use it
    app::PeriodFilterBoxes m_received;
    QCheckBox* CheckBox1 = nullptr;
    QLineEdit* edtFind_F_Name = nullptr;
    QCheckBox* CheckBox2 = nullptr;
    QLabel* Label2 = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QTableView* StringGrid1 = nullptr;
    QPushButton* btnCancel_Berg = nullptr;
    QCheckBox* CheckBox3 = nullptr;
    QLabel* Label1 = nullptr;
};

} // namespace velmora::calc
