// The six pages of the calculation, in the order the officer walks them:
// 1 the employee and the salary, 2 the work history, 3 the earlier
// compensation, 4 the service, 5 the money, 6 the split and the save.
// Their steps are in UCalculate_Money_Steps.cpp.

#include "gui/calc/UCalculate_Money.h"
#include "gui/calc/Widgets.h"
#include "gui/common/ScreenSupport.h"
#include "rules/WorkHistory.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <initializer_list>

namespace velmora::calc {

using namespace widgets;

namespace {

const QString kNext = QStringLiteral("ถัดไป ==>");
const QString kBack = QStringLiteral("<== ย้อนกลับ");
const QString kBaht = QStringLiteral("บาท");

QWidget* sheet(const char* name)
{
    auto* page = new QWidget;
    page->setObjectName(QLatin1String(name));
    return page;
}

// A red note above a page, hidden until there is something to say.
QLabel* ssnNote(QWidget* page, const char* name)
{
    QLabel* note = app::label(page, name, QString());
    app::colour(note, "red");
    note->setWordWrap(true);
    note->setVisible(false);
    return note;
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

QWidget* TfrmCalculate_Money::buildPage1()
{
    TabSheet1 = sheet("TabSheet1");

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
    place(person, 0, 0, QStringLiteral("คำนำหน้า"), edtSurname1);
    place(person, 1, 0, QStringLiteral("ชื่อ"), edtF_Name1);
    place(person, 2, 0, QStringLiteral("นามสกุล"), edtL_Name1);
    place(person, 3, 0, QStringLiteral("วันเดือนปีเกิด"), edtEmp_BirthDay1);
    place(person, 4, 0, QStringLiteral("SAP ID"), edtSapID2);
    place(person, 5, 0, QStringLiteral("SSN ID"), edtSSN2);
    place(person, 6, 0, QStringLiteral("เงินเเดือน ๆ สุดท้าย"), edtMoney_Rate2, kBaht);
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
    lblSsn_Check1 = ssnNote(TabSheet1, "lblSsn_Check1");

    auto* top = new QHBoxLayout;
    top->addLayout(person, 1);
    top->addWidget(GroupBox7, 1);
    auto* page = new QVBoxLayout(TabSheet1);
    page->addWidget(lblSsn_Check1);
    page->addLayout(top, 1);
    page->addLayout(pageButtons(nullptr, btnNext1));
    app::setEnterButton(TabSheet1, btnNext1);
    return TabSheet1;
}

QWidget* TfrmCalculate_Money::buildPage2()
{
    TabSheet2 = sheet("TabSheet2");

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
    app::colour(Label63, "magenta");
    btnSave_Work_Histry = button(GroupBox16, "btnSave_Work_Histry", QStringLiteral("บันทึกข้อมูล"));
    btnClose_Work_Histry = button(GroupBox16, "btnClose_Work_Histry", QStringLiteral("ปิด"));
    btnDisplay_Work_Histry = button(GroupBox16, "btnDisplay_Work_Histry", QString());
    btnDisplay_Work_Histry->setVisible(false);
    auto* entry = new QGridLayout(GroupBox16);
    place(entry, 0, 0, QStringLiteral("ประเภทสภานภาพ"), cmbWork_Type2);
    place(entry, 1, 0, QStringLiteral("วันที่เริ่มปฎิบัติงาน"), edtWork_B_Date2);
    place(entry, 2, 0, QStringLiteral("วันที่สิ้นสุดสัญญา"), edtWork_E_Date2);
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
    app::colour(lblPeriod_Overlap, "red");
    lblPeriod_Overlap->setWordWrap(true);
    lblPeriod_Overlap->setVisible(false);
    auto* page = new QVBoxLayout(TabSheet2);
    page->addWidget(lblPeriod_Overlap);
    page->addLayout(body, 1);
    page->addLayout(pageButtons(btnReturn2, btnNext2));

    app::setEnterButton(TabSheet2, btnNext2);
    app::setEnterButton(GroupBox16, btnSave_Work_Histry);
    setTabOrder(cmbWork_Type2, edtWork_B_Date2);
    setTabOrder(edtWork_B_Date2, edtWork_E_Date2);
    setTabOrder(edtWork_E_Date2, btnSave_Work_Histry);
    app::eraNote(edtWork_B_Date2, app::Era::Buddhist);
    app::eraNote(edtWork_E_Date2, app::Era::Buddhist);
    return TabSheet2;
}

QWidget* TfrmCalculate_Money::buildPage3()
{
    TabSheet3 = sheet("TabSheet3");
    GroupBox17 = app::groupBox(TabSheet3, "GroupBox17", QStringLiteral("การได้รับเงินชดเชย"));
    StringGrid3 = grid(GroupBox17, "StringGrid3", earlierGridWidths());
    auto* earlier = new QVBoxLayout(GroupBox17);
    earlier->addWidget(StringGrid3);

    btnReturn3 = button(TabSheet3, "btnReturn3", kBack);
    btnNext3 = button(TabSheet3, "btnNext3", kNext);
    lblSsn_Check3 = ssnNote(TabSheet3, "lblSsn_Check3");
    auto* page = new QVBoxLayout(TabSheet3);
    page->addWidget(lblSsn_Check3);
    page->addWidget(GroupBox17, 1);
    app::setEnterButton(TabSheet3, btnNext3);
    page->addLayout(pageButtons(btnReturn3, btnNext3));
    return TabSheet3;
}

QWidget* TfrmCalculate_Money::buildPage4()
{
    TabSheet4 = sheet("TabSheet4");
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
    const auto count = [this](const char* name) { return figure(GroupBox11, name, 70); };
    edtTotal_day2 = count("edtTotal_day2");
    edtCal_Y2 = count("edtCal_Y2");
    edtCal_M2 = count("edtCal_M2");
    edtCal_D2 = count("edtCal_D2");
    edtPart_Year2 = count("edtPart_Year2");
    edtPart_M2 = count("edtPart_M2");
    edtPart_D2 = count("edtPart_D2");
    edtTotal_Year2 = count("edtTotal_Year2");
    edtTotal_M2 = count("edtTotal_M2");
    edtTotal_D2 = count("edtTotal_D2");

    auto* service = new QGridLayout(GroupBox11);
    service->addWidget(caption(GroupBox11, QStringLiteral("จำนวนวันทั้งหมด")), 0, 0);
    service->addWidget(edtTotal_day2, 0, 1);
    auto* daysNote = new QHBoxLayout;
    daysNote->addWidget(caption(GroupBox11, QStringLiteral("วัน")));
    daysNote->addWidget(caption(GroupBox11, QStringLiteral("(การคำนวณระยะเวลาปฎิบัติงาน ใช้วันที่สิ้นสุดสัญญาเป็นตัวคำนวณ)")));
    daysNote->addStretch();
    service->addLayout(daysNote, 0, 2, 1, 6);
    // a row of years, months and days under its title
    const auto addRow = [&](int row, QLabel* title, QLineEdit* y, QLineEdit* m, QLineEdit* d) {
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
    app::setEnterButton(TabSheet4, btnNext4);
    return TabSheet4;
}

QWidget* TfrmCalculate_Money::buildPage5()
{
    TabSheet5 = sheet("TabSheet5");

    GroupBox12 = app::groupBox(TabSheet5, "GroupBox12", QStringLiteral("ตารางการคำนวณเงินชดเชย"));
    ListBox1 = app::make<QListWidget>(GroupBox12, "ListBox1");
    auto* brackets = new QVBoxLayout(GroupBox12);
    brackets->addWidget(ListBox1);

    edtN_Money2 = figure(TabSheet5, "edtN_Money2", 140);
    edtCal_Sum_M2 = figure(TabSheet5, "edtCal_Sum_M2", 140);
    edtHis_Rec_Money = figure(TabSheet5, "edtHis_Rec_Money", 140);
    edtSum_Rec_Money2 = figure(TabSheet5, "edtSum_Rec_Money2", 140);
    Label23 = label(TabSheet5, "Label23", QStringLiteral("จำนวนเงินชดเชยที่ได้รับ = จำนวนเท่า X เงินเดือนสุดท้าย"));

    auto* money = new QGridLayout;
    place(money, 0, 0, QStringLiteral("จำนวนเท่า ของเงินชดเชยได้"), edtN_Money2, QStringLiteral("เท่า"));
    money->addWidget(Label23, 1, 0, 1, 3);
    place(money, 2, 0, QStringLiteral("สรุปจำนวนเงินชดเชยที่ได้"), edtCal_Sum_M2, kBaht);
    place(money, 3, 0, QStringLiteral("เงินชดเชยรวมที่เคยได้รับ"), edtHis_Rec_Money, kBaht);
    place(money, 4, 0, QStringLiteral("ยอดเงินรับสุทธิ"), edtSum_Rec_Money2, kBaht);
    money->setRowStretch(5, 1);

    btnReturn5 = button(TabSheet5, "btnReturn5", kBack);
    btnNext5 = button(TabSheet5, "btnNext5", kNext);
    auto* body = new QHBoxLayout;
    body->addWidget(GroupBox12, 1);
    body->addLayout(money, 1);
    auto* page = new QVBoxLayout(TabSheet5);
    page->addLayout(body, 1);
    page->addLayout(pageButtons(btnReturn5, btnNext5));
    app::setEnterButton(TabSheet5, btnNext5);
    return TabSheet5;
}

QWidget* TfrmCalculate_Money::buildPage6()
{
    TabSheet6 = sheet("TabSheet6");
    const auto amount = [this](const char* name) { return figure(TabSheet6, name, 140); };
    edtTotal_day6 = amount("edtTotal_day6");
    edtTotal_Month6 = amount("edtTotal_Month6");
    edtCal_Sum_M6 = amount("edtCal_Sum_M6");
    edtSum_Day_Fact6 = amount("edtSum_Day_Fact6");
    edtSum_Month_Fact6 = amount("edtSum_Month_Fact6");
    edtPer_Fact6 = amount("edtPer_Fact6");
    edtSum_Money_Fact6 = amount("edtSum_Money_Fact6");
    edtSum_Day_KV6 = amount("edtSum_Day_KV6");
    edtSum_Month_KV6 = amount("edtSum_Month_KV6");
    edtPer_KV6 = amount("edtPer_KV6");
    edtSum_Money_KV6 = amount("edtSum_Money_KV6");
    btnSave_All = button(TabSheet6, "btnSave_All", QStringLiteral("บันทึกข้อมูล"));

    auto* totals = new QGridLayout;
    place(totals, 0, 0, QStringLiteral("จำนวนวันทั้งสิ้น"), edtTotal_day6);
    place(totals, 1, 0, QStringLiteral("จำนวนเดือนทั้งสิ้น"), edtTotal_Month6);
    place(totals, 2, 0, QStringLiteral("จำนวนเงินที่ได้รับทั้งสิ้น"), edtCal_Sum_M6);

    // the department's and the university's share, one row each
    auto* split = new QGridLayout;
    const QString heads[] = {QStringLiteral("จำนวนวัน"), QStringLiteral("จำนวนเดือน"), QStringLiteral("อัตราส่วน(%)"),
        QStringLiteral("จำนวนเงิน")};
    for (int c = 0; c < 4; ++c)
        split->addWidget(caption(TabSheet6, heads[c]), 0, c + 1);
    const auto share = [&](int row, const QString& who, std::initializer_list<QLineEdit*> figures) {
        split->addWidget(caption(TabSheet6, who), row, 0);
        int c = 1;
        for (QLineEdit* f : figures)
            split->addWidget(f, row, c++);
    };
    share(1, QStringLiteral("ส่วนงาน"), {edtSum_Day_Fact6, edtSum_Month_Fact6, edtPer_Fact6, edtSum_Money_Fact6});
    share(2, QStringLiteral("มหาวิทยาลัย"), {edtSum_Day_KV6, edtSum_Month_KV6, edtPer_KV6, edtSum_Money_KV6});

    auto* body = new QHBoxLayout;
    body->addLayout(totals);
    body->addSpacing(24);
    body->addLayout(split);
    body->addStretch();
    auto* page = new QVBoxLayout(TabSheet6);
    page->addLayout(body);
    page->addStretch();
    page->addLayout(pageButtons(nullptr, btnSave_All));
    app::setEnterButton(TabSheet6, btnSave_All);
    return TabSheet6;
}

} // namespace velmora::calc
