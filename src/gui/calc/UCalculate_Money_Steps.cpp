// Pages 2 to 6 of the calculation screen: the work history, the four steps
// behind the "next" buttons, and the save.

#include "gui/calc/UCalculate_Money.h"

#include "gui/calc/Widgets.h"
#include "gui/common/Prompter.h"
#include "gui/common/Session.h"
#include "rules/AmountText.h"
#include "rules/Utility.h"
#include "services/CalculationService.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>

namespace velmora::calc {

using namespace widgets;

namespace {

// The step before this one was not run on what the pages show now (a page
// reached through its tab, or an earlier page changed since).
const char* const kMessage_Step_Order = "ยังไม่ได้คำนวณหน้าก่อนหน้านี้ กรุณากดปุ่ม \"ถัดไป ==>\" ตามลำดับหน้า";
const char* const kMessage_Save_Incomplete = "ยังไม่สามารถบันทึกข้อมูลได้\rกรุณาคำนวณให้ครบทุกหน้าก่อน";

QString number(int value)
{
    return QString::number(value);
}

} // namespace

bool TfrmCalculate_Money::stepReady(int step)
{
    if (m_stepsDone >= step - 1)
        return true;
    inform(kMessage_Step_Order);
    return false;
}

// ---- Work history (page 2) ----

void TfrmCalculate_Money::btnDisplay_Work_HistryClick()
{
    resetGrid(StringGrid2, qsList(Period_Grid_Titles()));
    m_calc.periods.clear();
    invalidateFrom(0);

    Calculation_Input input = inputFromControls();
    std::string error;
    if (!Load_Work_Periods(*m_session.db, input.sapid, &input.periods, &error)) {
        reportError(qs(error));
        return;
    }
    Step_Periods(input, &m_calc);
    // Overlapping stored periods (from an import) would count service twice:
    // warned here, refused at the save.
    const auto [first, second] = Find_Overlap(input.periods);
    lblPeriod_Overlap->setText(first >= 0 ? qs(Stored_Overlap_Message(input.periods[size_t(first)],
                                                                     input.periods[size_t(second)]))
                                          : QString());
    lblPeriod_Overlap->setVisible(first >= 0);
    QList<QStringList> shown;
    for (size_t i = 0; i < m_calc.periods.size(); ++i)
        shown << qsList(Period_Grid_Cells(m_calc.periods[i], int(i) + 1));
    showRows(StringGrid2, shown);
    edtCal_Beg_Date2->setText(qs(m_calc.span.start));
    edtCal_End_Date2->setText(qs(m_calc.span.end));
    m_stepsDone = 0;
}

void TfrmCalculate_Money::btnAdd_Work_HistryClick()
{
    edtWork_B_Date2->clear();
    edtWork_E_Date2->clear();
    GroupBox16->setVisible(true);
    edtWork_B_Date2->setFocus();
}

void TfrmCalculate_Money::btnClose_Work_HistryClick()
{
    GroupBox16->setVisible(false);
}

void TfrmCalculate_Money::btnSave_Work_HistryClick()
{
    const std::string typeText = us(cmbWork_Type2->currentText());
    const std::string begin = us(maskedText(edtWork_B_Date2));
    const std::string end = us(maskedText(edtWork_E_Date2));
    // Checked before the question, so that nothing is asked about a period
    // that could not be written.
    const New_Period checked = Check_New_Period(typeText, begin, end);
    if (!checked.ok()) {
        inform(checked.error.c_str());
        return;
    }
    if (!m_session.prompter->confirm(this, QStringLiteral("ยืนยันการบันทึกข้อมูล ")))
        return;
    std::string error;
    if (!Add_Work_Period(*m_session.db, us(edtSapID2->text()), us(edtSSN2->text()), typeText, begin, end, &error)) {
        reportError(qs(error));
        return;
    }
    GroupBox16->setVisible(false);
    btnDisplay_Work_HistryClick();
}

void TfrmCalculate_Money::btnDelete_Work_HistryClick()
{
    const int row = selectedRow(StringGrid2);
    const QString code = cellText(StringGrid2, row, 1);
    if (code.isEmpty()) {
        inform("ไม่มีข้อมูลที่ต้องการลบ");
        return;
    }
    if (!m_session.prompter->confirm(this, QStringLiteral("ยืนยันการลบข้อมูล ")))
        return;
    std::string error;
    if (Delete_Work_Period(*m_session.db, us(edtSapID2->text()), us(code), us(cellText(StringGrid2, row, 3)),
            us(cellText(StringGrid2, row, 5)), &error)
        < 0) {
        reportError(qs(error));
        return;
    }
    btnDisplay_Work_HistryClick();
}

// ---- Step 1: earlier compensation records ----

void TfrmCalculate_Money::btnNext2Click()
{
    // The periods shown are those the last display read (stepsDone is -1 only
    // while none is shown).
    const std::string rowsError = Check_Period_Rows(m_calc.periods);
    if (!rowsError.empty() && m_calc.periods.empty()) {
        inform(rowsError.c_str());
        return;
    }
    if (!stepReady(1))
        return;
    if (!rowsError.empty()) {
        inform(rowsError.c_str());
        return;
    }

    Calculation_Input input = inputFromControls();
    std::string error;
    if (!Load_Person_Records(*m_session.db, input.ssn, &input.person_records, &error)) {
        reportError(qs(error));
        return;
    }
    Step_Earlier(input, &m_calc);

    QList<QStringList> shown;
    for (const Earlier_Row& row : m_calc.earlier)
        shown << qsList(Earlier_Grid_Cells(row));
    showRows(StringGrid3, shown, 0);
    m_stepsDone = 1;
    PageControl1->setCurrentWidget(TabSheet3);
}

// ---- Step 2: service totals ----

void TfrmCalculate_Money::btnNext3Click()
{
    if (!stepReady(2))
        return;
    const std::string error = Step_Service(&m_calc);
    if (!error.empty()) {
        inform(error.c_str());
        return;
    }
    const Span_Figures& figures = m_calc.span_figures;
    Label27->setText(qs(figures.label27));
    Label25->setText(qs(figures.label25));
    const Service_Totals& s = m_calc.service;
    edtPart_Year2->setText(number(s.earlier.years));
    edtPart_M2->setText(number(s.earlier.months));
    edtPart_D2->setText(number(s.earlier.days));
    edtTotal_day2->setText(number(figures.total_days));
    edtCal_Y2->setText(number(s.current.years));
    edtCal_M2->setText(number(s.current.months));
    edtCal_D2->setText(number(s.current.days));
    edtTotal_Year2->setText(number(s.total.years));
    edtTotal_M2->setText(number(s.total.months));
    edtTotal_D2->setText(number(s.total.days));
    m_stepsDone = 2;
    PageControl1->setCurrentWidget(TabSheet4);
}

// ---- Step 3: multiplier and money ----

void TfrmCalculate_Money::btnNext4Click()
{
    if (!stepReady(3))
        return;
    Calculation_Input input = inputFromControls();
    std::string error;
    if (!Load_Brackets(*m_session.db, &input.brackets, &error)) {
        reportError(qs(error));
        return;
    }
    error = Step_Money(input, &m_calc);
    if (!error.empty()) {
        inform(error.c_str());
        return;
    }
    edtN_Money2->setText(number(m_calc.money.multiplier));
    edtCal_Sum_M2->setText(qs(m_calc.money.compensation_text));
    edtHis_Rec_Money->setText(qs(m_calc.money.paid_earlier_text));
    edtSum_Rec_Money2->setText(qs(m_calc.money.net_text));
    m_stepsDone = 3;
    PageControl1->setCurrentWidget(TabSheet5);
}

// ---- Step 4: the split ----

void TfrmCalculate_Money::btnNext5Click()
{
    if (!stepReady(4))
        return;
    PageControl1->setCurrentWidget(TabSheet6);
    edtTotal_day6->setText(edtTotal_day2->text());
    edtCal_Sum_M6->setText(edtSum_Rec_Money2->text());

    Step_Split(&m_calc);
    const Split& s = m_calc.split;
    edtTotal_Month6->setText(qs(s.total_months_text));
    edtSum_Month_Fact6->setText(qs(s.department.months_text));
    edtSum_Month_KV6->setText(qs(s.university.months_text));
    edtSum_Day_Fact6->setText(number(s.department.days));
    edtSum_Day_KV6->setText(number(s.university.days));
    edtPer_Fact6->setText(qs(s.department.percent_text));
    edtPer_KV6->setText(qs(s.university.percent_text));
    edtSum_Money_Fact6->setText(qs(s.department.amount_text));
    edtSum_Money_KV6->setText(qs(s.university.amount_text));
    m_stepsDone = 4;
}

// ---- Save ----

Calculation_Input TfrmCalculate_Money::inputFromControls() const
{
    Calculation_Input in;
    in.sapid = us(edtSapID2->text());
    in.ssn = us(edtSSN2->text());
    in.prefix = us(edtSurname1->text());
    in.first_name = us(edtF_Name1->text());
    in.last_name = us(edtL_Name1->text());
    in.birth_day = us(edtEmp_BirthDay1->text());
    in.work_type_name = us(edtWork_Type2->text());
    in.contract_begin = us(edtWork_Begin_Date_Text2->text());
    in.contract_end = us(edtWork_End_Date_Text2->text());
    in.depart_code = us(edtDepart_Code2->text());
    in.depart_name = us(edtDapart_Name2->text());
    in.salary_text = us(edtMoney_Rate2->text());
    in.reason = us(cmbEvent_out2->currentText());
    in.request_month = us(maskedText(edtMMYYYY_Recieve1));
    return in;
}

void TfrmCalculate_Money::btnSave_AllClick()
{
    if (cellText(StringGrid2, 0, 1).isEmpty()) {
        inform(kMessage_Save_No_Periods);
        return;
    }
    if (m_stepsDone < 4) {
        inform(kMessage_Save_Incomplete);
        return;
    }
    // The reason may have been emptied on page 1 after it was left.
    if (Trim_Spaces(us(cmbEvent_out2->currentText())).empty()) {
        PageControl1->setCurrentWidget(TabSheet1);
        inform(kMessage_No_Reason);
        return;
    }
    if (!m_session.prompter->confirm(this, QStringLiteral("ยืนยันการบันทึกข้อมูล ")))
        return;
    std::string error;
    if (!Save_Calculation(*m_session.db, inputFromControls(), m_calc, us(m_session.Server_Date_Text_BE), &error)) {
        reportError(qs(error));
        return;
    }
    showLayer(Panel2, false);
    btnShow_DataClick();
    m_session.prompter->inform(this, QStringLiteral("ทำการบันทึกข้อมูลเรียบร้อยแล้ว"));
    // The saved calculation can now be printed (when the printed pages are built).
    Button1->setEnabled(static_cast<bool>(showPreview));
    btnPrint_Annex->setEnabled(static_cast<bool>(showPreview));
    showLayer(Panel3, true);
}

} // namespace velmora::calc
