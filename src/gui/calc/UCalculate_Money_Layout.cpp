// The controls of the calculation screen, their captions, masks and places.

#include "gui/calc/UCalculate_Money.h"
#include "gui/calc/Widgets.h"
#include "gui/common/FilterGroups.h"
#include "gui/common/ScreenSupport.h"
#include "rules/WorkHistory.h"
#include "services/EmployeeService.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace velmora::calc {

using namespace widgets;

namespace {

const QString kNext = QStringLiteral("ถัดไป ==>");
const QString kBack = QStringLiteral("<== ย้อนกลับ");

void colour(QWidget* w, const char* foreground, const char* background = nullptr)
{
    QString css = QStringLiteral("color: %1;").arg(QLatin1String(foreground));
    if (background)
        css += QStringLiteral(" background-color: %1;").arg(QLatin1String(background));
    w->setStyleSheet(css);
}

QWidget* panel(QWidget* parent, const char* name)
{
    auto* p = app::make<QWidget>(parent, name);
    p->setAutoFillBackground(true);
    return p;
}

// A row of "next" and "back" buttons at the foot of a page.
QHBoxLayout* pageButtons(QPushButton* back, QPushButton* next)
{
    auto* row = new QHBoxLayout;
    row->addStretch();
    if (back)
        row->addWidget(back);
    if (next)
        row->addWidget(next);
    return row;
}

} // namespace

void TfrmCalculate_Money::buildSearchLayer()
{
    Panel1 = panel(this, "Panel1");

    Label5 = label(Panel1, "Label5", QStringLiteral("การคำนวณเงินชดเชย"));
    app::scaleFont(Label5, 1.8, true);
    colour(Label5, "green");

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

    CheckBox1 = app::make<QCheckBox>(GroupBox1, "CheckBox1", QStringLiteral("ชื่อ"));
    edtFind_F_Name = edit(GroupBox1, "edtFind_F_Name", false);
    btnShow_Data = button(GroupBox1, "btnShow_Data", QStringLiteral("แสดงข้อมูล"));
    btnExit_Form = button(GroupBox1, "btnExit_Form", QStringLiteral("กลับสู่เมนูหลัก"));

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
}

void TfrmCalculate_Money::buildCalcLayer()
{
    Panel2 = panel(this, "Panel2");

    GroupBox3 = app::groupBox(Panel2, "GroupBox3", QStringLiteral("การคำนวณเงินชดเชย"));
    Label60 = label(GroupBox3, "Label60", QStringLiteral("การคำนวณเงินชดเชย"));
    app::scaleFont(Label60, 1.5, true);
    colour(Label60, "green");

    GroupBox4 = app::groupBox(GroupBox3, "GroupBox4", QStringLiteral("ข้อมูลหลัก"));
    edtFull_Name2 = edit(GroupBox4, "edtFull_Name2", true);
    edtWork_Type2 = edit(GroupBox4, "edtWork_Type2", true);
    edtWork_Begin_Date_Text2 = edit(GroupBox4, "edtWork_Begin_Date_Text2", true);
    edtWork_End_Date_Text2 = edit(GroupBox4, "edtWork_End_Date_Text2", true);
    edtDepart_Code2 = edit(GroupBox4, "edtDepart_Code2", true);
    edtDapart_Name2 = edit(GroupBox4, "edtDapart_Name2", true);
    auto* basic = new QGridLayout(GroupBox4);
    basic->addWidget(caption(GroupBox4, QStringLiteral("ชื่อ-นามสกุล")), 0, 0);
    basic->addWidget(edtFull_Name2, 0, 1);
    basic->addWidget(caption(GroupBox4, QStringLiteral("ประเภทการจ้าง")), 0, 2);
    basic->addWidget(edtWork_Type2, 0, 3);
    basic->addWidget(caption(GroupBox4, QStringLiteral("วันที่เริ่มปฎิบัติงาน")), 1, 0);
    basic->addWidget(edtWork_Begin_Date_Text2, 1, 1);
    basic->addWidget(caption(GroupBox4, QStringLiteral("วันที่สิ้นสุดสัญญา")), 1, 2);
    basic->addWidget(edtWork_End_Date_Text2, 1, 3);
    basic->addWidget(caption(GroupBox4, QStringLiteral("รหัสส่วนงาน")), 2, 0);
    basic->addWidget(edtDepart_Code2, 2, 1);
    basic->addWidget(caption(GroupBox4, QStringLiteral("ส่วนงาน(คณะ)")), 2, 2);
    basic->addWidget(edtDapart_Name2, 2, 3);

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

QWidget* TfrmCalculate_Money::buildPage1()
{
    TabSheet1 = new QWidget;
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));

    edtSurname1 = edit(TabSheet1, "edtSurname1", true);
    edtF_Name1 = edit(TabSheet1, "edtF_Name1", true);
    edtL_Name1 = edit(TabSheet1, "edtL_Name1", true);
    edtEmp_BirthDay1 = edit(TabSheet1, "edtEmp_BirthDay1", true);
    edtSapID2 = edit(TabSheet1, "edtSapID2", true);
    edtSSN2 = edit(TabSheet1, "edtSSN2", true);
    edtMoney_Rate2 = edit(TabSheet1, "edtMoney_Rate2", false);
    edtMoney_Rate2->setAlignment(Qt::AlignRight);
    cmbEvent_out2 = app::make<QComboBox>(TabSheet1, "cmbEvent_out2");
    cmbEvent_out2->setEditable(true);
    cmbEvent_out2->setInsertPolicy(QComboBox::NoInsert);
    cmbEvent_out2->setMinimumWidth(260);

    auto* person = new QGridLayout;
    person->addWidget(caption(TabSheet1, QStringLiteral("คำนำหน้า")), 0, 0);
    person->addWidget(edtSurname1, 0, 1);
    person->addWidget(caption(TabSheet1, QStringLiteral("ชื่อ")), 1, 0);
    person->addWidget(edtF_Name1, 1, 1);
    person->addWidget(caption(TabSheet1, QStringLiteral("นามสกุล")), 2, 0);
    person->addWidget(edtL_Name1, 2, 1);
    person->addWidget(caption(TabSheet1, QStringLiteral("วันเดือนปีเกิด")), 3, 0);
    person->addWidget(edtEmp_BirthDay1, 3, 1);
    person->addWidget(caption(TabSheet1, QStringLiteral("SAP ID")), 4, 0);
    person->addWidget(edtSapID2, 4, 1);
    person->addWidget(caption(TabSheet1, QStringLiteral("SSN ID")), 5, 0);
    person->addWidget(edtSSN2, 5, 1);
    person->addWidget(caption(TabSheet1, QStringLiteral("เงินเเดือน ๆ สุดท้าย")), 6, 0);
    person->addWidget(edtMoney_Rate2, 6, 1);
    person->addWidget(caption(TabSheet1, QStringLiteral("บาท")), 6, 2);
    person->addWidget(caption(TabSheet1, QStringLiteral("เหตุแห่งการออก")), 7, 0);
    person->addWidget(cmbEvent_out2, 7, 1, 1, 2);
    person->setRowStretch(8, 1);

    GroupBox7 = app::groupBox(TabSheet1, "GroupBox7", QStringLiteral("การรับเงินชดเชย"));
    ListBox2 = app::make<QListWidget>(GroupBox7, "ListBox2");
    ListBox2->addItems({
        QStringLiteral("1. เกษียณอายุงาน (ข้อ 57 (2) )"),
        QStringLiteral("2. ถูกสั่งให้ออก กรณีไม่ผ่านการประเมินผลการ"),
        QStringLiteral("    ปฎิบัติงาน ผลการประเมินต่ำกว่าเป้าหมายหรือ"),
        QStringLiteral("    มาตรฐานการปฎิบัติงาน หรือไปรับราชการทหาร"),
        QStringLiteral("3. ครบกำหนดระยะเวลาการจ้างตามสัญญา "),
        QStringLiteral("    (ข้อ 57(6)) ยกเว้น พนักงานมหาวิทยาลัยที่บรรจุ"),
        QStringLiteral("    หลังวันที่ 1 มกราคม 2557"),
        QStringLiteral("4. ถูกสั่งให้ออก กรณี เจ็บป่วยจนไม่สามารถปฎิบัติ"),
        QStringLiteral("    งานของตนได้สม่ำเสมอ ขาดคุณสมบัติหรือมี"),
        QStringLiteral("    ลักษณะต้องห้ามการเป็นพนักงานมหาวิทยาลัย "),
        QStringLiteral("    ถูกยุบเลิกตำแหน่งหรือยุบเลิกส่วนงานที่ปฎิบัติอยู่ "),
        QStringLiteral("    ถูกจำคุกโดยคำพิพากษาถึงที่สุดให้จำคุกกรณีความ"),
        QStringLiteral("    ผิดที่ทำโดยประมาทหรือความผิดรหุโทษ ถูกตรวจ"),
        QStringLiteral("    สอบว่าผิดวินัยร้ายแรงแต่ผลการสอบสวนไม่อาจ"),
        QStringLiteral("   ลงโทษวินัยอย่างร้ายแรงได (ข้อ 59)"),
    });
    ListBox2->setEnabled(false);
    auto* rules = new QVBoxLayout(GroupBox7);
    rules->addWidget(ListBox2);

    btnNext1 = button(TabSheet1, "btnNext1", kNext);

    auto* top = new QHBoxLayout;
    top->addLayout(person, 1);
    top->addWidget(GroupBox7, 1);
    auto* page = new QVBoxLayout(TabSheet1);
    page->addLayout(top, 1);
    page->addLayout(pageButtons(nullptr, btnNext1));
    return TabSheet1;
}

QWidget* TfrmCalculate_Money::buildPage2()
{
    TabSheet2 = new QWidget;
    TabSheet2->setObjectName(QStringLiteral("TabSheet2"));

    GroupBox15 = app::groupBox(TabSheet2, "GroupBox15", QStringLiteral("สถานภาพการทำงาน"));
    StringGrid2 = grid(GroupBox15, "StringGrid2", Period_Grid_Widths());
    btnAdd_Work_Histry = button(GroupBox15, "btnAdd_Work_Histry", QStringLiteral("เพิ่มข้อมูล"));
    btnDelete_Work_Histry = button(GroupBox15, "btnDelete_Work_Histry", QStringLiteral("ลบข้อมูล"));
    auto* gridButtons = new QHBoxLayout;
    gridButtons->addWidget(btnAdd_Work_Histry);
    gridButtons->addWidget(btnDelete_Work_Histry);
    gridButtons->addStretch();
    auto* history = new QVBoxLayout(GroupBox15);
    history->addWidget(StringGrid2, 1);
    history->addLayout(gridButtons);

    GroupBox16 = app::groupBox(TabSheet2, "GroupBox16", QString());
    cmbWork_Type2 = app::make<QComboBox>(GroupBox16, "cmbWork_Type2");
    cmbWork_Type2->setEditable(true);
    cmbWork_Type2->setInsertPolicy(QComboBox::NoInsert);
    cmbWork_Type2->setMinimumWidth(200);
    edtWork_B_Date2 = dateEdit(GroupBox16, "edtWork_B_Date2");
    edtWork_E_Date2 = dateEdit(GroupBox16, "edtWork_E_Date2");
    Label63 = label(GroupBox16, "Label63", QStringLiteral("รูปแบบที่บันทึก dd/mm/yyyy (ปีเป็นพุทธศักราช) เช่น 01/10/2550"));
    colour(Label63, "magenta");
    btnSave_Work_Histry = button(GroupBox16, "btnSave_Work_Histry", QStringLiteral("บันทึกข้อมูล"));
    btnClose_Work_Histry = button(GroupBox16, "btnClose_Work_Histry", QStringLiteral("ปิด"));
    btnDisplay_Work_Histry = button(GroupBox16, "btnDisplay_Work_Histry", QString());
    btnDisplay_Work_Histry->setVisible(false);
    auto* entry = new QGridLayout(GroupBox16);
    entry->addWidget(caption(GroupBox16, QStringLiteral("ประเภทสภานภาพ")), 0, 0);
    entry->addWidget(cmbWork_Type2, 0, 1);
    entry->addWidget(caption(GroupBox16, QStringLiteral("วันที่เริ่มปฎิบัติงาน")), 1, 0);
    entry->addWidget(edtWork_B_Date2, 1, 1);
    entry->addWidget(caption(GroupBox16, QStringLiteral("วันที่สิ้นสุดสัญญา")), 2, 0);
    entry->addWidget(edtWork_E_Date2, 2, 1);
    entry->addWidget(Label63, 3, 0, 1, 2);
    auto* entryButtons = new QHBoxLayout;
    entryButtons->addWidget(btnSave_Work_Histry);
    entryButtons->addWidget(btnClose_Work_Histry);
    entryButtons->addWidget(btnDisplay_Work_Histry);
    entryButtons->addStretch();
    entry->addLayout(entryButtons, 4, 0, 1, 2);

    btnReturn2 = button(TabSheet2, "btnReturn2", kBack);
    btnNext2 = button(TabSheet2, "btnNext2", kNext);

    auto* body = new QHBoxLayout;
    body->addWidget(GroupBox15, 3);
    body->addWidget(GroupBox16, 1);
    lblPeriod_Overlap = label(TabSheet2, "lblPeriod_Overlap", QString());
    colour(lblPeriod_Overlap, "red");
    lblPeriod_Overlap->setWordWrap(true);
    lblPeriod_Overlap->setVisible(false);
    auto* page = new QVBoxLayout(TabSheet2);
    page->addWidget(lblPeriod_Overlap);
    page->addLayout(body, 1);
    page->addLayout(pageButtons(btnReturn2, btnNext2));

    setTabOrder(cmbWork_Type2, edtWork_B_Date2);
    setTabOrder(edtWork_B_Date2, edtWork_E_Date2);
    setTabOrder(edtWork_E_Date2, btnSave_Work_Histry);
    app::eraNote(edtWork_B_Date2, app::Era::Buddhist);
    app::eraNote(edtWork_E_Date2, app::Era::Buddhist);
    return TabSheet2;
}

QWidget* TfrmCalculate_Money::buildPage3()
{
    TabSheet3 = new QWidget;
    TabSheet3->setObjectName(QStringLiteral("TabSheet3"));
    GroupBox17 = app::groupBox(TabSheet3, "GroupBox17", QStringLiteral("การได้รับเงินชดเชย"));
    StringGrid3 = grid(GroupBox17, "StringGrid3", earlierGridWidths());
    auto* earlier = new QVBoxLayout(GroupBox17);
    earlier->addWidget(StringGrid3);

    btnReturn3 = button(TabSheet3, "btnReturn3", kBack);
    btnNext3 = button(TabSheet3, "btnNext3", kNext);
    auto* page = new QVBoxLayout(TabSheet3);
    page->addWidget(GroupBox17, 1);
    page->addLayout(pageButtons(btnReturn3, btnNext3));
    return TabSheet3;
}

QWidget* TfrmCalculate_Money::buildPage4()
{
    TabSheet4 = new QWidget;
    TabSheet4->setObjectName(QStringLiteral("TabSheet4"));
    const QString floorNote = QStringLiteral("(ถ้าปฎิบัติงานก่อน  17 ตุลาคม 2550 ให้ใช้ 17/10/2007)");

    GroupBox18 = app::groupBox(TabSheet4, "GroupBox18", floorNote);
    edtCal_Beg_Date2 = edit(GroupBox18, "edtCal_Beg_Date2", true);
    edtCal_End_Date2 = edit(GroupBox18, "edtCal_End_Date2", true);
    auto* span = new QHBoxLayout(GroupBox18);
    span->addWidget(caption(GroupBox18, QStringLiteral("วันที่เริ่มคำนวณ")));
    span->addWidget(edtCal_Beg_Date2);
    span->addWidget(caption(GroupBox18, QStringLiteral("วันที่สิ้นสุดการคำนวณ")));
    span->addWidget(edtCal_End_Date2);
    span->addStretch();

    GroupBox11 = app::groupBox(TabSheet4, "GroupBox11", QStringLiteral("การคำนวณระยะเวลาปฎิบัติงาน ") + floorNote);
    auto figure = [this](const char* name) {
        QLineEdit* e = edit(GroupBox11, name, true);
        e->setMaximumWidth(70);
        e->setAlignment(Qt::AlignRight);
        return e;
    };
    edtTotal_day2 = figure("edtTotal_day2");
    edtCal_Y2 = figure("edtCal_Y2");
    edtCal_M2 = figure("edtCal_M2");
    edtCal_D2 = figure("edtCal_D2");
    edtPart_Year2 = figure("edtPart_Year2");
    edtPart_M2 = figure("edtPart_M2");
    edtPart_D2 = figure("edtPart_D2");
    edtTotal_Year2 = figure("edtTotal_Year2");
    edtTotal_M2 = figure("edtTotal_M2");
    edtTotal_D2 = figure("edtTotal_D2");

    auto* service = new QGridLayout(GroupBox11);
    service->addWidget(caption(GroupBox11, QStringLiteral("จำนวนวันทั้งหมด")), 0, 0);
    service->addWidget(edtTotal_day2, 0, 1);
    auto* daysNote = new QHBoxLayout;
    daysNote->addWidget(caption(GroupBox11, QStringLiteral("วัน")));
    daysNote->addWidget(caption(GroupBox11, QStringLiteral("(การคำนวณระยะเวลาปฎิบัติงาน ใช้วันที่สิ้นสุดสัญญาเป็นตัวคำนวณ)")));
    daysNote->addStretch();
    service->addLayout(daysNote, 0, 2, 1, 6);
    auto addRow = [&](int row, QLabel* title, QLineEdit* y, QLineEdit* m, QLineEdit* d) {
        service->addWidget(title, row, 0);
        service->addWidget(y, row, 1);
        service->addWidget(caption(GroupBox11, QStringLiteral("ปี")), row, 2);
        service->addWidget(m, row, 3);
        service->addWidget(caption(GroupBox11, QStringLiteral("เดือน")), row, 4);
        service->addWidget(d, row, 5);
        service->addWidget(caption(GroupBox11, QStringLiteral("วัน")), row, 6);
    };
    addRow(1, caption(GroupBox11, QStringLiteral("คำนวณระยะเวลาในการปฎิบัติงาน")), edtCal_Y2, edtCal_M2, edtCal_D2);
    addRow(2, caption(GroupBox11, QStringLiteral("ระยะเวลา (ที่เคยรับเงินชดเชยในอดีต)")), edtPart_Year2, edtPart_M2,
        edtPart_D2);
    QLabel* totalTitle = caption(GroupBox11, QStringLiteral("รวมระยะเวลาที่ต้องนำไปคำนวณ เงินชดเชย"));
    app::scaleFont(totalTitle, 1.0, true);
    addRow(3, totalTitle, edtTotal_Year2, edtTotal_M2, edtTotal_D2);
    service->setColumnStretch(7, 1);

    btnReturn4 = button(TabSheet4, "btnReturn4", kBack);
    btnNext4 = button(TabSheet4, "btnNext4", kNext);
    auto* page = new QVBoxLayout(TabSheet4);
    page->addWidget(GroupBox18);
    page->addWidget(GroupBox11);
    page->addStretch();
    page->addLayout(pageButtons(btnReturn4, btnNext4));
    return TabSheet4;
}

QWidget* TfrmCalculate_Money::buildPage5()
{
    TabSheet5 = new QWidget;
    TabSheet5->setObjectName(QStringLiteral("TabSheet5"));

    GroupBox12 = app::groupBox(TabSheet5, "GroupBox12", QStringLiteral("ตารางการคำนวณเงินชดเชย"));
    ListBox1 = app::make<QListWidget>(GroupBox12, "ListBox1");
    auto* brackets = new QVBoxLayout(GroupBox12);
    brackets->addWidget(ListBox1);

    auto amount = [this](const char* name) {
        QLineEdit* e = edit(TabSheet5, name, true);
        e->setAlignment(Qt::AlignRight);
        e->setMaximumWidth(140);
        return e;
    };
    edtN_Money2 = amount("edtN_Money2");
    edtCal_Sum_M2 = amount("edtCal_Sum_M2");
    edtHis_Rec_Money = amount("edtHis_Rec_Money");
    edtSum_Rec_Money2 = amount("edtSum_Rec_Money2");
    Label23 = label(TabSheet5, "Label23", QStringLiteral("จำนวนเงินชดเชยที่ได้รับ = จำนวนเท่า X เงินเดือนสุดท้าย"));

    auto* money = new QGridLayout;
    money->addWidget(caption(TabSheet5, QStringLiteral("จำนวนเท่า ของเงินชดเชยได้")), 0, 0);
    money->addWidget(edtN_Money2, 0, 1);
    money->addWidget(caption(TabSheet5, QStringLiteral("เท่า")), 0, 2);
    money->addWidget(Label23, 1, 0, 1, 3);
    money->addWidget(caption(TabSheet5, QStringLiteral("สรุปจำนวนเงินชดเชยที่ได้")), 2, 0);
    money->addWidget(edtCal_Sum_M2, 2, 1);
    money->addWidget(caption(TabSheet5, QStringLiteral("บาท")), 2, 2);
    money->addWidget(caption(TabSheet5, QStringLiteral("เงินชดเชยรวมที่เคยได้รับ")), 3, 0);
    money->addWidget(edtHis_Rec_Money, 3, 1);
    money->addWidget(caption(TabSheet5, QStringLiteral("บาท")), 3, 2);
    money->addWidget(caption(TabSheet5, QStringLiteral("ยอดเงินรับสุทธิ")), 4, 0);
    money->addWidget(edtSum_Rec_Money2, 4, 1);
    money->addWidget(caption(TabSheet5, QStringLiteral("บาท")), 4, 2);
    money->setRowStretch(5, 1);

    btnReturn5 = button(TabSheet5, "btnReturn5", kBack);
    btnNext5 = button(TabSheet5, "btnNext5", kNext);
    auto* body = new QHBoxLayout;
    body->addWidget(GroupBox12, 1);
    body->addLayout(money, 1);
    auto* page = new QVBoxLayout(TabSheet5);
    page->addLayout(body, 1);
    page->addLayout(pageButtons(btnReturn5, btnNext5));
    return TabSheet5;
}

QWidget* TfrmCalculate_Money::buildPage6()
{
    TabSheet6 = new QWidget;
    TabSheet6->setObjectName(QStringLiteral("TabSheet6"));
    auto figure = [this](const char* name) {
        QLineEdit* e = edit(TabSheet6, name, true);
        e->setAlignment(Qt::AlignRight);
        e->setMaximumWidth(140);
        return e;
    };
    edtTotal_day6 = figure("edtTotal_day6");
    edtTotal_Month6 = figure("edtTotal_Month6");
    edtCal_Sum_M6 = figure("edtCal_Sum_M6");
    edtSum_Day_Fact6 = figure("edtSum_Day_Fact6");
    edtSum_Month_Fact6 = figure("edtSum_Month_Fact6");
    edtPer_Fact6 = figure("edtPer_Fact6");
    edtSum_Money_Fact6 = figure("edtSum_Money_Fact6");
    edtSum_Day_KV6 = figure("edtSum_Day_KV6");
    edtSum_Month_KV6 = figure("edtSum_Month_KV6");
    edtPer_KV6 = figure("edtPer_KV6");
    edtSum_Money_KV6 = figure("edtSum_Money_KV6");
    btnSave_All = button(TabSheet6, "btnSave_All", QStringLiteral("บันทึกข้อมูล"));

    auto* totals = new QGridLayout;
    totals->addWidget(caption(TabSheet6, QStringLiteral("จำนวนวันทั้งสิ้น")), 0, 0);
    totals->addWidget(edtTotal_day6, 0, 1);
    totals->addWidget(caption(TabSheet6, QStringLiteral("จำนวนเดือนทั้งสิ้น")), 1, 0);
    totals->addWidget(edtTotal_Month6, 1, 1);
    totals->addWidget(caption(TabSheet6, QStringLiteral("จำนวนเงินที่ได้รับทั้งสิ้น")), 2, 0);
    totals->addWidget(edtCal_Sum_M6, 2, 1);

    auto* split = new QGridLayout;
    split->addWidget(caption(TabSheet6, QStringLiteral("จำนวนวัน")), 0, 1);
    split->addWidget(caption(TabSheet6, QStringLiteral("จำนวนเดือน")), 0, 2);
    split->addWidget(caption(TabSheet6, QStringLiteral("อัตราส่วน(%)")), 0, 3);
    split->addWidget(caption(TabSheet6, QStringLiteral("จำนวนเงิน")), 0, 4);
    split->addWidget(caption(TabSheet6, QStringLiteral("ส่วนงาน")), 1, 0);
    split->addWidget(edtSum_Day_Fact6, 1, 1);
    split->addWidget(edtSum_Month_Fact6, 1, 2);
    split->addWidget(edtPer_Fact6, 1, 3);
    split->addWidget(edtSum_Money_Fact6, 1, 4);
    split->addWidget(caption(TabSheet6, QStringLiteral("มหาวิทยาลัย")), 2, 0);
    split->addWidget(edtSum_Day_KV6, 2, 1);
    split->addWidget(edtSum_Month_KV6, 2, 2);
    split->addWidget(edtPer_KV6, 2, 3);
    split->addWidget(edtSum_Money_KV6, 2, 4);

    auto* body = new QHBoxLayout;
    body->addLayout(totals);
    body->addSpacing(24);
    body->addLayout(split);
    body->addStretch();
    auto* page = new QVBoxLayout(TabSheet6);
    page->addLayout(body);
    page->addStretch();
    page->addLayout(pageButtons(nullptr, btnSave_All));
    return TabSheet6;
}

void TfrmCalculate_Money::buildPrintLayer()
{
    Panel3 = panel(this, "Panel3");
    GroupBox23 = app::groupBox(Panel3, "GroupBox23", QString());
    Label59 = label(GroupBox23, "Label59", QStringLiteral("การพิมพ์เอกสารขอรับเงินชดเชย"));
    app::scaleFont(Label59, 1.6, true);
    colour(Label59, "green", "lightblue");
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
