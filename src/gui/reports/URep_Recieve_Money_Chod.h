#pragma once

#include "gui/common/ReportScreen.h"

class QComboBox;
class QGroupBox;
class QLineEdit;
class QRadioButton;

namespace velmora::reports {

// The saved compensation calculations, by year or month of receipt and department.
class TfrmRep_Recieve_Money_Chod : public ReportScreen
{
    Q_OBJECT
public:
    explicit TfrmRep_Recieve_Money_Chod(app::Session& session, QWidget* parent = nullptr);

    ReceivedCriteria criteria() const;

public slots:
    void FormCreate();
    void btnShow_DataClick();

protected:
    ExportOptions exportOptions() const override;

private:
    QLabel* Label5 = nullptr;
    QLabel* Label1 = nullptr;
    QGroupBox* GroupBox5 = nullptr;
    QRadioButton* RadioButton3 = nullptr;
    QRadioButton* RadioButton4 = nullptr;
    QLineEdit* edtYear_sel = nullptr;
    QRadioButton* RadioButton5 = nullptr;
    QLineEdit* edtMMYYYY_sel = nullptr;
    QGroupBox* GroupBox6 = nullptr;
    QRadioButton* RadioButton6 = nullptr;
    QRadioButton* RadioButton7 = nullptr;
    QComboBox* cmbDapart_Name = nullptr;
};

} // namespace velmora::reports
