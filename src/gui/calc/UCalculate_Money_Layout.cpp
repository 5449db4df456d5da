// The three layers of the calculation screen, their controls, captions and
// places: the search, the calculation's frame around its six pages (the
// pages are in UCalculate_Money_Pages.cpp) and the print layer.

#include "gui/calc/UCalculate_Money.h"
#include "gui/calc/Widgets.h"
#include "gui/common/FilterGroups.h"
#include "gui/common/ScreenSupport.h"
#include "services/EmployeeService.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace velmora::calc {

using namespace widgets;

namespace {

QWidget* panel(QWidget* parent, const char* name)
{
    auto* p = app::make<QWidget>(parent, name);
    p->setAutoFillBackground(true);
    return p;
}

} // namespace

void TfrmCalculate_Money::buildSearchLayer()
{
    Panel1 = panel(this, "Panel1");

    Label5 = app::title(Panel1, "Label5", QStringLiteral("การคำนวณเงินชดเชย"), 1.8, "green");

    GroupBox1 = app::groupBox(Panel1, "GroupBox1", QStringLiteral("1. ค้นหาจ้อมูลโดย"));
    Label2 = label(GroupBox1, "Label2", QStringLiteral("ประเภทการจ้าง"));
    cmbWork_Type = app::make<QComboBox>(GroupBox1, "cmbWork_Type");
    cmbWork_Type->setEditable(true);
    cmbWork_Type->setMinimumWidth(180);

    const app::PeriodFilterBoxes contractEnd = app::periodFilter(
        GroupBox1, QStringLiteral("ปีที่ครบสัญญา"), "edtYear_Mon_Select", "99/9999;_", app::PeriodLayout::Stacked);
    GroupBox5 = contractEnd.box;
    RadioButton3 = contractEnd.all;
    RadioButton4 = contractEnd.year;
    edtYear_sel = contractEnd.yearBox;
    RadioButton5 = contractEnd.month;
    edtYear_Mon_Select = contractEnd.monthBox;

    const NameSearch search = nameSearch(GroupBox1);
    CheckBox1 = search.byName;
    edtFind_F_Name = search.name;
    btnShow_Data = search.show;
    btnExit_Form = search.exit;

    auto* criteria = new QGridLayout(GroupBox1);
    criteria->addWidget(Label2, 0, 0);
    criteria->addWidget(cmbWork_Type, 0, 1);
    criteria->addWidget(GroupBox5, 0, 2, 3, 1);
    criteria->addWidget(CheckBox1, 1, 0);
    criteria->addWidget(edtFind_F_Name, 1, 1);
    placeSearchButtons(criteria, btnShow_Data, btnExit_Form);

    StringGrid1 = foundList(Panel1, &GroupBox2, Employee_Grid_Widths());

    Label57 = label(Panel1, "Label57", QStringLiteral("เดือนปีที่ขอรับเงินชดเชย"));
    edtMMYYYY_Recieve1 = monthYearEdit(Panel1, "edtMMYYYY_Recieve1");
    edtMMYYYY_Recieve1->setMaximumWidth(80);
    btnCal_Money = button(Panel1, "btnCal_Money", QStringLiteral("3. คำนวณเงิน"));
    Label1 = label(Panel1, "Label1", QStringLiteral("พัฒนาโดย งานคลัง"));

    auto* start = new QHBoxLayout;
    start->addWidget(Label57);
    start->addWidget(edtMMYYYY_Recieve1);
    start->addWidget(btnCal_Money);
    start->addStretch();

    auto* column = new QVBoxLayout(Panel1);
    column->addWidget(Label5, 0, Qt::AlignHCenter);
    column->addWidget(GroupBox1);
    column->addWidget(GroupBox2, 1);
    column->addLayout(start);
    column->addWidget(Label1, 0, Qt::AlignRight);

    setTabOrder(cmbWork_Type, RadioButton3);
    setTabOrder(RadioButton3, RadioButton4);
    setTabOrder(RadioButton4, edtYear_sel);
    setTabOrder(edtYear_sel, RadioButton5);
    setTabOrder(RadioButton5, edtYear_Mon_Select);
    setTabOrder(edtYear_Mon_Select, CheckBox1);
    setTabOrder(CheckBox1, edtFind_F_Name);
    setTabOrder(edtFind_F_Name, btnShow_Data);
    setTabOrder(btnShow_Data, btnExit_Form);
    setTabOrder(btnExit_Form, StringGrid1);
    setTabOrder(StringGrid1, edtMMYYYY_Recieve1);
    setTabOrder(edtMMYYYY_Recieve1, btnCal_Money);
    app::eraNote(edtMMYYYY_Recieve1, app::Era::Christian);
    // Enter searches from the filters, calculates from the list or the month.
    app::setEnterButton(Panel1, btnShow_Data);
    app::setEnterButton(GroupBox2, btnCal_Money);
    app::setEnterButton(edtMMYYYY_Recieve1, btnCal_Money);
}

void TfrmCalculate_Money::buildCalcLayer()
{
    Panel2 = panel(this, "Panel2");

    GroupBox3 = app::groupBox(Panel2, "GroupBox3", QStringLiteral("การคำนวณเงินชดเชย"));
    Label60 = app::title(GroupBox3, "Label60", QStringLiteral("การคำนวณเงินชดเชย"), 1.5, "green");

    GroupBox4 = app::groupBox(GroupBox3, "GroupBox4", QStringLiteral("ข้อมูลหลัก"));
    edtFull_Name2 = edit(GroupBox4, "edtFull_Name2", true);
    edtWork_Type2 = edit(GroupBox4, "edtWork_Type2", true);
    edtWork_Begin_Date_Text2 = edit(GroupBox4, "edtWork_Begin_Date_Text2", true);
    edtWork_End_Date_Text2 = edit(GroupBox4, "edtWork_End_Date_Text2", true);
    edtDepart_Code2 = edit(GroupBox4, "edtDepart_Code2", true);
    edtDapart_Name2 = edit(GroupBox4, "edtDapart_Name2", true);
    auto* basic = new QGridLayout(GroupBox4);
    place(basic, 0, 0, QStringLiteral("ชื่อ-นามสกุล"), edtFull_Name2);
    place(basic, 0, 2, QStringLiteral("ประเภทการจ้าง"), edtWork_Type2);
    place(basic, 1, 0, QStringLiteral("วันที่เริ่มปฎิบัติงาน"), edtWork_Begin_Date_Text2);
    place(basic, 1, 2, QStringLiteral("วันที่สิ้นสุดสัญญา"), edtWork_End_Date_Text2);
    place(basic, 2, 0, QStringLiteral("รหัสส่วนงาน"), edtDepart_Code2);
    place(basic, 2, 2, QStringLiteral("ส่วนงาน(คณะ)"), edtDapart_Name2);

    GroupBox6 = app::groupBox(GroupBox3, "GroupBox6", QStringLiteral("รายการคำนวณ"));
    PageControl1 = app::make<QTabWidget>(GroupBox6, "PageControl1");
    PageControl1->addTab(buildPage1(), QStringLiteral("1. ข้อมูลเริ่มต้นคำนวณ"));
    PageControl1->addTab(buildPage2(), QStringLiteral("2.ประวัติการทำงานที่ต้องคำนวณ"));
    PageControl1->addTab(buildPage3(), QStringLiteral("3.ประวัติการได้รับเงินชดเชย"));
    PageControl1->addTab(buildPage4(), QStringLiteral("4.คำนวณระยะเวลา"));
    PageControl1->addTab(buildPage5(), QStringLiteral("5. คำนวณเงินชดเชย"));
    PageControl1->addTab(buildPage6(), QStringLiteral("6.บันทึกข้อมูล"));
    auto* pages = new QVBoxLayout(GroupBox6);
    pages->addWidget(PageControl1);
    // A page reached by "next" takes the keyboard at its first control.
    connect(PageControl1, &QTabWidget::currentChanged, this,
        [this] { app::focusFirstControl(PageControl1->currentWidget()); });

    Label27 = label(GroupBox3, "Label27", QString());
    Label25 = label(GroupBox3, "Label25", QString());
    Label26 = label(GroupBox3, "Label26", QStringLiteral("(ถ้าปฎิบัติงานก่อน  17 ตุลาคม 2550 ให้ใช้ 17/10/2007)"));
    btnExit2 = button(GroupBox3, "btnExit2", QStringLiteral("ออก"));

    auto* foot = new QHBoxLayout;
    auto* notes = new QVBoxLayout;
    notes->addWidget(Label27);
    notes->addWidget(Label25);
    notes->addWidget(Label26);
    foot->addLayout(notes, 1);
    foot->addWidget(btnExit2, 0, Qt::AlignBottom);

    auto* column = new QVBoxLayout(GroupBox3);
    column->addWidget(Label60, 0, Qt::AlignHCenter);
    column->addWidget(GroupBox4);
    column->addWidget(GroupBox6, 1);
    column->addLayout(foot);

    auto* outer = new QVBoxLayout(Panel2);
    outer->addWidget(GroupBox3);
}

void TfrmCalculate_Money::buildPrintLayer()
{
    Panel3 = panel(this, "Panel3");
    GroupBox23 = app::groupBox(Panel3, "GroupBox23", QString());
    Label59 = app::title(GroupBox23, "Label59", QStringLiteral("การพิมพ์เอกสารขอรับเงินชดเชย"), 1.6, "green", "lightblue");
    Label59->setAlignment(Qt::AlignCenter);
    Button1 = button(GroupBox23, "Button1", QStringLiteral("พิมพ์รายละเอียดการเบิกเงินชดเชย"));
    btnPrint_Annex = button(GroupBox23, "btnPrint_Annex", QStringLiteral("พิมพ์เอกสารแนบการคำนวณ"));
    Button2 = button(GroupBox23, "Button2", QStringLiteral("ออก"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(btnPrint_Annex);
    buttons->addWidget(Button2);
    buttons->addStretch();
    auto* column = new QVBoxLayout(GroupBox23);
    column->addWidget(Label59);
    column->addLayout(buttons);

    auto* outer = new QVBoxLayout(Panel3);
    outer->addStretch();
    outer->addWidget(GroupBox23);
    outer->addStretch();
}

} // namespace velmora::calc
