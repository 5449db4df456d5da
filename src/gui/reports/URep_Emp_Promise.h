#pragma once

#include "gui/common/ReportScreen.h"

class QComboBox;
class QGroupBox;
class QLineEdit;
class QRadioButton;

namespace velmora::reports {

// Employees with the start and end of their contracts, by employment type,
// year or month of the contract end, and department.
class TfrmRep_Emp_Promise : public ReportScreen
{
    Q_OBJECT
public:
    explicit TfrmRep_Emp_Promise(app::Session& session, QWidget* parent = nullptr);

    // The screen's filters as they stand.
    ContractEndCriteria criteria() const;

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
    QGroupBox* GroupBox5 = nullptr;
    QRadioButton* RadioButton3 = nullptr;
    QRadioButton* RadioButton4 = nullptr;
    QLineEdit* edtYear_sel = nullptr;
    QRadioButton* RadioButton5 = nullptr;
    QLineEdit* edtYear_Mon_Select = nullptr;
    QGroupBox* GroupBox6 = nullptr;
    QRadioButton* RadioButton6 = nullptr;
    QRadioButton* RadioButton7 = nullptr;
    QComboBox* cmbDapart_Name = nullptr;
};

} // namespace velmora::reports
