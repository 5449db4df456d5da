#include "gui/calc/UCalculate_Money.h"
#include "gui/common/DateText.h"

#include "gui/calc/Widgets.h"
#include "gui/common/Prompter.h"
#include "gui/common/ScreenSupport.h"
#include "gui/common/Session.h"
#include "pages/AnnexPage.h"
#include "pages/PageRenderer.h"
#include "pages/RequestPage.h"
#include "rules/Calculation.h"
#include "rules/NationalId.h"
#include "rules/Utility.h"
#include "services/CalculationService.h"
#include "services/EmployeeService.h"
#include "services/SavedCalculations.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>

namespace velmora::calc {

using namespace widgets;

TfrmCalculate_Money::TfrmCalculate_Money(app::Session& session, QWidget* parent)
    : QWidget(parent)
    , m_session(session)
{
    setObjectName(QStringLiteral("frmCalculate_Money"));
    setWindowTitle(QStringLiteral("frmCalculate_Money"));

    showPreview = [this](const QList<print::PageLayout>& pages) {
        print::preview(this, pages, QStringLiteral("เอกสารขอรับเงินชดเชยพนักงาน"));
    };
    buildSearchLayer();
    buildCalcLayer();
    buildPrintLayer();

    // The three layers lie over each other in one place.
    auto* layers = new QGridLayout(this);
    layers->setContentsMargins(0, 0, 0, 0);
    layers->addWidget(Panel1, 0, 0);
    layers->addWidget(Panel2, 0, 0);
    layers->addWidget(Panel3, 0, 0);

    connectHandlers();
    FormCreate();
}

void TfrmCalculate_Money::connectHandlers()
{
    auto on = [this](QPushButton* b, void (TfrmCalculate_Money::*handler)()) {
        connect(b, &QPushButton::clicked, this, handler);
    };
    on(btnShow_Data, &TfrmCalculate_Money::btnShow_DataClick);
    on(btnExit_Form, &TfrmCalculate_Money::btnExit_FormClick);
    on(btnCal_Money, &TfrmCalculate_Money::btnCal_MoneyClick);
    on(btnNext1, &TfrmCalculate_Money::btnNext1Click);
    on(btnNext2, &TfrmCalculate_Money::btnNext2Click);
    on(btnNext3, &TfrmCalculate_Money::btnNext3Click);
    on(btnNext4, &TfrmCalculate_Money::btnNext4Click);
    on(btnNext5, &TfrmCalculate_Money::btnNext5Click);
    on(btnReturn2, &TfrmCalculate_Money::btnReturn2Click);
    on(btnReturn3, &TfrmCalculate_Money::btnReturn3Click);
    on(btnReturn4, &TfrmCalculate_Money::btnReturn3Click);
    on(btnReturn5, &TfrmCalculate_Money::btnReturn3Click);
    on(btnExit2, &TfrmCalculate_Money::btnExit2Click);
    on(btnAdd_Work_Histry, &TfrmCalculate_Money::btnAdd_Work_HistryClick);
    on(btnClose_Work_Histry, &TfrmCalculate_Money::btnClose_Work_HistryClick);
    on(btnSave_Work_Histry, &TfrmCalculate_Money::btnSave_Work_HistryClick);
    on(btnDelete_Work_Histry, &TfrmCalculate_Money::btnDelete_Work_HistryClick);
    on(btnDisplay_Work_Histry, &TfrmCalculate_Money::btnDisplay_Work_HistryClick);
    on(btnSave_All, &TfrmCalculate_Money::btnSave_AllClick);
    on(Button1, &TfrmCalculate_Money::Button1Click);
    on(btnPrint_Annex, &TfrmCalculate_Money::btnPrint_AnnexClick);
    on(Button2, &TfrmCalculate_Money::Button2Click);
    // A changed salary makes the money of page 5 and the split of page 6 stale.
    connect(edtMoney_Rate2, &QLineEdit::textEdited, this, [this] { invalidateFrom(3); });
}

void TfrmCalculate_Money::FormCreate()
{
    GroupBox16->setVisible(false);
    showLayer(Panel2, false);
    showLayer(Panel3, false);
    // Nothing saved yet: nothing to print.
    Button1->setEnabled(false);
    btnPrint_Annex->setEnabled(false);

    RadioButton5->setChecked(true);

    const app::DefaultDates dates = app::defaultDates(m_session.Server_Date_Text, m_session.Server_Date_Text_BE);
    edtMMYYYY_Recieve1->setText(dates.requestMonth);
    edtYear_sel->setText(dates.year);
    edtYear_Mon_Select->setText(dates.monthYear);

    cmbWork_Type->clear();
    cmbWork_Type->addItems({QStringLiteral("พนักงานมหาวิทยาลัย"), QStringLiteral("พนักงานส่วนงาน")});
    cmbWork_Type->setCurrentIndex(0);
    cmbWork_Type2->clear();
    cmbWork_Type2->addItems({QStringLiteral("2 พนักงานมหาวิทยาลัย"), QStringLiteral("3 พนักงานส่วนงาน")});
    cmbWork_Type2->setCurrentIndex(0);

    resetGrid(StringGrid1, qsList(Employee_Grid_Titles()));
    resetGrid(StringGrid2, qsList(Period_Grid_Titles()));
    resetGrid(StringGrid3, qsList(Earlier_Grid_Titles()));

    edtFind_F_Name->clear();

    ListBox1->clear();
    cmbEvent_out2->clear();
    if (!m_session.db)
        return;
    std::vector<Bracket> brackets;
    std::string error;
    if (!Load_Brackets(*m_session.db, &brackets, &error)) {
        reportError(qs(error));
        return;
    }
    ListBox1->addItems(qsList(Bracket_List_Lines(brackets)));

    std::vector<std::string> reasons;
    if (!Load_Reasons(*m_session.db, &reasons, &error)) {
        reportError(qs(error));
        return;
    }
    cmbEvent_out2->addItems(qsList(reasons));
    cmbEvent_out2->setCurrentIndex(-1);
    cmbEvent_out2->setEditText(QString());
}

void TfrmCalculate_Money::showLayer(QWidget* panel, bool visible)
{
    panel->setVisible(visible);
    Panel1->setVisible(Panel2->isHidden() && Panel3->isHidden());
}

bool TfrmCalculate_Money::reportError(const QString& error)
{
    if (error.isEmpty())
        return true;
    m_session.prompter->inform(this, error);
    return false;
}

void TfrmCalculate_Money::inform(const char* message)
{
    m_session.prompter->inform(this, QString::fromUtf8(message));
}

void TfrmCalculate_Money::btnShow_DataClick()
{
    resetGrid(StringGrid1, qsList(Employee_Grid_Titles()));

    Employee_Search search;
    search.work_type = us(cmbWork_Type->currentText());
    if (RadioButton4->isChecked())
        search.end_filter = Employee_Search::End_Filter::Year;
    else if (RadioButton5->isChecked())
        search.end_filter = Employee_Search::End_Filter::Month;
    else
        search.end_filter = Employee_Search::End_Filter::All;
    search.year = us(edtYear_sel->text());
    search.month_year = us(maskedText(edtYear_Mon_Select));
    search.by_first_name = CheckBox1->isChecked();
    search.first_name = us(edtFind_F_Name->text());

    std::vector<Employee_List_Row> rows;
    std::string error;
    if (!Search_Employees(*m_session.db, search, &rows, &error)) {
        reportError(qs(error));
        return;
    }
    QList<QStringList> shown;
    for (size_t i = 0; i < rows.size(); ++i)
        shown << qsList(Employee_Grid_Cells(rows[i], int(i) + 1));
    showRows(StringGrid1, shown);
}

void TfrmCalculate_Money::btnExit_FormClick()
{
    app::closeScreen(this);
}

void TfrmCalculate_Money::btnCal_MoneyClick()
{
    const int row = selectedRow(StringGrid1);
    const QString sapid = cellText(StringGrid1, row, 1);
    if (sapid.isEmpty()) {
        inform("ไม่มีรายการที่ต้งคำนวณเงินชดเชย");
        return;
    }
    if (cellText(StringGrid1, row, 8) != QLatin1String("A")) {
        inform(kMessage_Already_Calculated);
        return;
    }
    // The request month is compared with the saved months and saved as typed:
    // it must be a real month.
    const std::string monthError = Check_Request_Month(us(maskedText(edtMMYYYY_Recieve1)));
    if (!monthError.empty()) {
        inform(monthError.c_str());
        edtMMYYYY_Recieve1->setFocus();
        return;
    }

    std::string error;
    const std::optional<Employee> employee = Load_Employee(*m_session.db, us(sapid), &error);
    if (!error.empty()) {
        reportError(qs(error));
        return;
    }
    if (!employee) {
        inform("ไม่มีรายการที่ต้งคำนวณเงินชดเชย");
        return;
    }
    // The list may be older than a save made in another window.
    if (employee->status != "A") {
        inform(kMessage_Already_Calculated);
        return;
    }

    clearCalculation();
    cmbEvent_out2->setEditText(qs(employee->reason));
    edtFull_Name2->setText(qs(Full_Name(employee->prefix, employee->first_name, employee->last_name)));
    edtWork_Type2->setText(cellText(StringGrid1, row, 4));
    edtWork_Begin_Date_Text2->setText(qs(employee->contract_begin));
    edtWork_End_Date_Text2->setText(qs(employee->contract_end));
    edtDepart_Code2->setText(qs(employee->depart_code));
    edtDapart_Name2->setText(cellText(StringGrid1, row, 6));
    edtSapID2->setText(qs(employee->sapid));
    edtSSN2->setText(qs(employee->ssn));
    showSsnCheck(employee->ssn);
    edtMoney_Rate2->setText(qs(employee->salary_text));
    edtSurname1->setText(qs(employee->prefix));
    edtF_Name1->setText(qs(employee->first_name));
    edtL_Name1->setText(qs(employee->last_name));
    edtEmp_BirthDay1->setText(qs(employee->birth_day));

    GroupBox16->setVisible(false);
    showLayer(Panel2, true);
    PageControl1->setCurrentWidget(TabSheet1);
    app::focusFirstControl(TabSheet1); // the keyboard goes on from page 1
}

// A number that fails its check digit is shown in red on page 1 and on the
// earlier-payment page, which it searches: a mistyped one finds nothing there.
void TfrmCalculate_Money::showSsnCheck(const std::string& ssn)
{
    const Ssn_Status status = Check_Ssn(ssn); // a missing number finds nothing either
    const bool bad = status != Ssn_Status::Valid;
    const QString problem = qs(kSsn_Check_Note) + QStringLiteral(": ") + qs(Ssn_Problem(status));
    lblSsn_Check1->setText(bad ? problem + QStringLiteral(" (") + qs(ssn) + QLatin1Char(')') : QString());
    lblSsn_Check3->setText(bad ? problem
                                   + QStringLiteral(" เงินชดเชยที่เคยได้รับค้นหาด้วยเลขนี้ ถ้าเลขผิด "
                                                    "รายการที่เคยได้รับภายใต้รหัสพนักงานอื่นจะไม่ปรากฏที่นี่")
                               : QString());
    lblSsn_Check1->setVisible(bad);
    lblSsn_Check3->setVisible(bad);
}

void TfrmCalculate_Money::clearCalculation()
{
    for (QLineEdit* e : {edtFull_Name2, edtWork_Type2, edtWork_Begin_Date_Text2, edtWork_End_Date_Text2,
             edtDepart_Code2, edtDapart_Name2, edtSurname1, edtF_Name1, edtL_Name1, edtEmp_BirthDay1, edtSapID2,
             edtSSN2, edtMoney_Rate2, edtCal_Beg_Date2, edtCal_End_Date2, edtTotal_day2, edtCal_Y2, edtCal_M2,
             edtCal_D2, edtPart_Year2, edtPart_M2, edtPart_D2, edtTotal_Year2, edtTotal_M2, edtTotal_D2, edtN_Money2,
             edtCal_Sum_M2, edtHis_Rec_Money, edtSum_Rec_Money2, edtTotal_day6, edtTotal_Month6, edtCal_Sum_M6,
             edtSum_Day_Fact6, edtSum_Month_Fact6, edtPer_Fact6, edtSum_Money_Fact6, edtSum_Day_KV6, edtSum_Month_KV6,
             edtPer_KV6, edtSum_Money_KV6})
        e->clear();
    Label27->clear();
    Label25->clear();
    lblSsn_Check1->hide();
    lblSsn_Check3->hide();
    resetGrid(StringGrid2, qsList(Period_Grid_Titles()));
    resetGrid(StringGrid3, qsList(Earlier_Grid_Titles()));
    m_calc = Calculation();
    m_stepsDone = -1;
}

void TfrmCalculate_Money::invalidateFrom(int step)
{
    if (m_stepsDone >= step)
        m_stepsDone = step - 1;
}

void TfrmCalculate_Money::btnNext1Click()
{
    const std::string error = Step_Officer_Inputs(inputFromControls(), &m_calc);
    if (!error.empty()) {
        inform(error.c_str());
        if (error != kMessage_No_Reason)
            edtMoney_Rate2->setFocus();
        return;
    }
    btnDisplay_Work_HistryClick();
    PageControl1->setCurrentWidget(TabSheet2);
}

void TfrmCalculate_Money::btnReturn2Click()
{
    PageControl1->setCurrentIndex(PageControl1->currentIndex() - 1);
}

void TfrmCalculate_Money::btnReturn3Click()
{
    PageControl1->setCurrentIndex(PageControl1->currentIndex() - 1);
}

void TfrmCalculate_Money::btnExit2Click()
{
    showLayer(Panel2, false);
}

void TfrmCalculate_Money::Button1Click()
{
    // Everything on the page is read back from what the save wrote, by the SAP
    // ID still shown on the screen.
    print::RequestDocument document;
    QString error;
    if (!print::readRequestDocument(*m_session.db, edtSapID2->text(), &document, &error)) {
        reportError(error);
        return;
    }
    if (showPreview)
        showPreview({print::buildRequestPage(document)});
}

// The annex of the saved calculation, from the same rows as the request document.
void TfrmCalculate_Money::btnPrint_AnnexClick()
{
    print::AnnexDocument document;
    QString error;
    if (!print::readAnnexDocument(*m_session.db, edtSapID2->text(), &document, &error)) {
        reportError(error);
        return;
    }
    if (showPreview)
        showPreview(print::buildAnnexPages(document));
}

void TfrmCalculate_Money::Button2Click()
{
    showLayer(Panel3, false);
}

} // namespace velmora::calc
