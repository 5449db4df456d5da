#pragma once

#include "rules/Calculation.h"

#include <QList>
#include <QWidget>

#include <functional>
#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTableView;

namespace velmora::app {
struct Session;
}
namespace velmora::print {
struct PageLayout;
}

namespace velmora::calc {

// The calculation screen: find the employees whose contract ends, pick one,
// walk the six pages from basic data to the split of the net amount, save.
// Three layers laid over each other: the search (Panel1), the calculation
// (Panel2) and the print layer (Panel3). The values travel from page to page
// as control texts; every rule and every statement lives in the calculation
// services, the screen only reads its controls and shows what they return.
// The layers are built in UCalculate_Money_Layout.cpp, the six pages in
// UCalculate_Money_Pages.cpp; the search, the page moves and the print layer
// act here, the steps behind pages 2 to 6 in UCalculate_Money_Steps.cpp.
class TfrmCalculate_Money : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmCalculate_Money(app::Session& session, QWidget* parent = nullptr);

    // Shows the request document's page: the print preview, from which the
    // officer prints, unless a test replaces it. Unset when the program is
    // built without the printed pages; the print button then stays disabled.
    std::function<void(const QList<print::PageLayout>&)> showPreview;

public slots:
    void FormCreate();

    // Search layer.
    void btnShow_DataClick();
    void btnExit_FormClick();
    void btnCal_MoneyClick();

    // Calculation layer: page moves.
    void btnNext1Click();
    void btnNext2Click();
    void btnNext3Click();
    void btnNext4Click();
    void btnNext5Click();
    void btnReturn2Click();
    // Also the handler of btnReturn4 and btnReturn5.
    void btnReturn3Click();
    void btnExit2Click();

    // Work-history page.
    void btnAdd_Work_HistryClick();
    void btnClose_Work_HistryClick();
    void btnSave_Work_HistryClick();
    void btnDelete_Work_HistryClick();
    void btnDisplay_Work_HistryClick();

    // Page 6.
    void btnSave_AllClick();

    // Print layer.
    void Button1Click();
    void btnPrint_AnnexClick();
    void Button2Click();

private:
    void buildSearchLayer();
    void buildCalcLayer();
    QWidget* buildPage1();
    QWidget* buildPage2();
    QWidget* buildPage3();
    QWidget* buildPage4();
    QWidget* buildPage5();
    QWidget* buildPage6();
    void buildPrintLayer();
    void connectHandlers();
    // The values of the calculation layer as the save records them.
    Calculation_Input inputFromControls() const;

    // The search layer shows only while neither other layer is shown.
    void showLayer(QWidget* panel, bool visible);

    // Reports a failed database step; false when there was one.
    bool reportError(const QString& error);
    void inform(const char* message);

    // Empties every value of the calculation layer before a new employee.
    void clearCalculation();
    void showSsnCheck(const std::string& ssn);
    // The figures of this step and the later ones no longer follow from what
    // the earlier pages show (steps: 0 periods shown, 1 earlier records,
    // 2 service, 3 money, 4 split).
    void invalidateFrom(int step);
    // False, with a message, when the step before `step` has not been run on
    // what the pages show now.
    bool stepReady(int step);

    app::Session& m_session;

    // The figures the pages show, filled in turn by the steps: the period
    // rows of page 2, the earlier records of page 3, the service of page 4,
    // the money of page 5 and the split of page 6.
    Calculation m_calc;
    // The last step whose figures follow from the pages before it; -1 none.
    int m_stepsDone = -1;

    // Layers.
    QWidget* Panel1 = nullptr;
    QWidget* Panel2 = nullptr;
    QWidget* Panel3 = nullptr;

    // Search layer.
    QLabel* Label5 = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QLabel* Label2 = nullptr;
    QComboBox* cmbWork_Type = nullptr;
    QGroupBox* GroupBox5 = nullptr;
    QRadioButton* RadioButton3 = nullptr;
    QRadioButton* RadioButton4 = nullptr;
    QLineEdit* edtYear_sel = nullptr;
    QRadioButton* RadioButton5 = nullptr;
    QLineEdit* edtYear_Mon_Select = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QLineEdit* edtFind_F_Name = nullptr;
    QPushButton* btnShow_Data = nullptr;
    QPushButton* btnExit_Form = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QTableView* StringGrid1 = nullptr;
    QLabel* Label57 = nullptr;
    QLineEdit* edtMMYYYY_Recieve1 = nullptr;
    QPushButton* btnCal_Money = nullptr;
    QLabel* Label1 = nullptr;

    // Calculation layer: frame and basic data.
    QGroupBox* GroupBox3 = nullptr;
    QLabel* Label60 = nullptr;
    QGroupBox* GroupBox4 = nullptr;
    QLineEdit* edtFull_Name2 = nullptr;
    QLineEdit* edtWork_Type2 = nullptr;
    QLineEdit* edtWork_Begin_Date_Text2 = nullptr;
    QLineEdit* edtWork_End_Date_Text2 = nullptr;
    QLineEdit* edtDepart_Code2 = nullptr;
    QLineEdit* edtDapart_Name2 = nullptr;
    QGroupBox* GroupBox6 = nullptr;
    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet1 = nullptr;
    QWidget* TabSheet2 = nullptr;
    QWidget* TabSheet3 = nullptr;
    QWidget* TabSheet4 = nullptr;
    QWidget* TabSheet5 = nullptr;
    QWidget* TabSheet6 = nullptr;
    QLabel* Label27 = nullptr;
    QLabel* Label25 = nullptr;
    QLabel* Label26 = nullptr;
    QPushButton* btnExit2 = nullptr;

    // Page 1.
    QLineEdit* edtSurname1 = nullptr;
    QLineEdit* edtF_Name1 = nullptr;
    QLineEdit* edtL_Name1 = nullptr;
    QLineEdit* edtEmp_BirthDay1 = nullptr;
    QLineEdit* edtSapID2 = nullptr;
    QLineEdit* edtSSN2 = nullptr;
    QLineEdit* edtMoney_Rate2 = nullptr;
    QComboBox* cmbEvent_out2 = nullptr;
    QGroupBox* GroupBox7 = nullptr;
    QListWidget* ListBox2 = nullptr;
    QPushButton* btnNext1 = nullptr;

    // Page 2.
    QGroupBox* GroupBox15 = nullptr;
    QTableView* StringGrid2 = nullptr;
    QPushButton* btnAdd_Work_Histry = nullptr;
    QPushButton* btnDelete_Work_Histry = nullptr;
    QGroupBox* GroupBox16 = nullptr;
    QComboBox* cmbWork_Type2 = nullptr;
    QLineEdit* edtWork_B_Date2 = nullptr;
    QLineEdit* edtWork_E_Date2 = nullptr;
    QLabel* Label63 = nullptr;
    // Shown above the period grid while stored periods overlap.
    QLabel* lblPeriod_Overlap = nullptr;
    // Red notes on pages 1 and 3 when the employee's SSN fails its check digit.
    QLabel* lblSsn_Check1 = nullptr;
    QLabel* lblSsn_Check3 = nullptr;
    QPushButton* btnSave_Work_Histry = nullptr;
    QPushButton* btnClose_Work_Histry = nullptr;
    QPushButton* btnDisplay_Work_Histry = nullptr;
    QPushButton* btnReturn2 = nullptr;
    QPushButton* btnNext2 = nullptr;

    // Page 3.
    QGroupBox* GroupBox17 = nullptr;
    QTableView* StringGrid3 = nullptr;
    QPushButton* btnReturn3 = nullptr;
    QPushButton* btnNext3 = nullptr;

    // Page 4.
    QGroupBox* GroupBox18 = nullptr;
    QLineEdit* edtCal_Beg_Date2 = nullptr;
    QLineEdit* edtCal_End_Date2 = nullptr;
    QGroupBox* GroupBox11 = nullptr;
    QLineEdit* edtTotal_day2 = nullptr;
    QLineEdit* edtCal_Y2 = nullptr;
    QLineEdit* edtCal_M2 = nullptr;
    QLineEdit* edtCal_D2 = nullptr;
    QLineEdit* edtPart_Year2 = nullptr;
    QLineEdit* edtPart_M2 = nullptr;
    QLineEdit* edtPart_D2 = nullptr;
    QLineEdit* edtTotal_Year2 = nullptr;
    QLineEdit* edtTotal_M2 = nullptr;
    QLineEdit* edtTotal_D2 = nullptr;
    QPushButton* btnReturn4 = nullptr;
    QPushButton* btnNext4 = nullptr;

    // Page 5.
    QGroupBox* GroupBox12 = nullptr;
    QListWidget* ListBox1 = nullptr;
    QLineEdit* edtN_Money2 = nullptr;
    QLabel* Label23 = nullptr;
    QLineEdit* edtCal_Sum_M2 = nullptr;
    QLineEdit* edtHis_Rec_Money = nullptr;
    QLineEdit* edtSum_Rec_Money2 = nullptr;
    QPushButton* btnReturn5 = nullptr;
    QPushButton* btnNext5 = nullptr;

    // Page 6.
    QLineEdit* edtTotal_day6 = nullptr;
    QLineEdit* edtTotal_Month6 = nullptr;
    QLineEdit* edtCal_Sum_M6 = nullptr;
    QLineEdit* edtSum_Day_Fact6 = nullptr;
    QLineEdit* edtSum_Month_Fact6 = nullptr;
    QLineEdit* edtPer_Fact6 = nullptr;
    QLineEdit* edtSum_Money_Fact6 = nullptr;
    QLineEdit* edtSum_Day_KV6 = nullptr;
    QLineEdit* edtSum_Month_KV6 = nullptr;
    QLineEdit* edtPer_KV6 = nullptr;
    QLineEdit* edtSum_Money_KV6 = nullptr;
    QPushButton* btnSave_All = nullptr;

    // Print layer.
    QGroupBox* GroupBox23 = nullptr;
    QLabel* Label59 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* btnPrint_Annex = nullptr;
    QPushButton* Button2 = nullptr;
};

} // namespace velmora::calc
