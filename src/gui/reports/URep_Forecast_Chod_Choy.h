#pragma once

#include "gui/common/ReportScreen.h"

class QComboBox;
class QGroupBox;
class QLineEdit;
class QRadioButton;

namespace velmora::reports {

// The compensation each listed employee would receive at the age of 60.
class TfrmRep_Forecast_Chod_Choy : public ReportScreen
{
    Q_OBJECT
public:
    explicit TfrmRep_Forecast_Chod_Choy(app::Session& session, QWidget* parent = nullptr);

    ForecastCriteria criteria() const;

public slots:
    void FormCreate();
    void btnShow_DataClick();

protected:
    ExportOptions exportOptions() const override;

private:
    QLabel* Label5 = nullptr;
    QLabel* Label1 = nullptr;
    QGroupBox* GroupBox4 = nullptr;
    QRadioButton* RadioButton1 = nullptr;
    QRadioButton* RadioButton2 = nullptr;
    QComboBox* cmbWork_Type = nullptr;
    QGroupBox* GroupBox6 = nullptr;
    QRadioButton* RadioButton6 = nullptr;
    QRadioButton* RadioButton7 = nullptr;
    QComboBox* cmbDapart_Name = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* edtYear_Cal = nullptr;
    QGroupBox* GroupBox2 = nullptr;
};

} // namespace velmora::reports
