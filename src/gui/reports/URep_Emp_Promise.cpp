#include "gui/reports/URep_Emp_Promise.h"
#include "gui/common/DateText.h"

#include "gui/common/ScreenParts.h"
#include "services/ReportExports.h"

#include "gui/common/Session.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QVBoxLayout>

namespace velmora::reports {

TfrmRep_Emp_Promise::TfrmRep_Emp_Promise(app::Session& session, QWidget* parent)
    : ReportScreen(session, parent)
{
    setObjectName(QStringLiteral("frmRep_Emp_Promise"));
    setWindowTitle(QStringLiteral("รายงานรายชื่อผู้ครบสัญญา"));
    auto* layout = new QVBoxLayout(this);

    Label5 = makeLabel("Label5", QStringLiteral("รายข้อมูลการครบสัญญา บุคลากร ม.กาวิลัน"));
    Label5->setAlignment(Qt::AlignCenter);
    Label5->setStyleSheet(QStringLiteral("color: green; font-size: 16pt; font-weight: bold;"));
    layout->addWidget(Label5);

    auto* filters = new QHBoxLayout;
    GroupBox4 = groupBox(this, "GroupBox4", QStringLiteral("ประเภทการจ้าง"));
    RadioButton1 = radio(GroupBox4, "RadioButton1", QStringLiteral("ทั้งหมด"));
    RadioButton2 = radio(GroupBox4, "RadioButton2", QStringLiteral("เฉพาะ"));
    cmbWork_Type = choiceBox(GroupBox4, "cmbWork_Type");
    GroupBox5 = groupBox(this, "GroupBox5", QStringLiteral("ปีที่ครบสัญญา"));
    RadioButton3 = radio(GroupBox5, "RadioButton3", QStringLiteral("ทั้งหมด"));
    RadioButton4 = radio(GroupBox5, "RadioButton4", QStringLiteral("เฉพาะปี"));
    edtYear_sel = editBox(GroupBox5, "edtYear_sel");
    RadioButton5 = radio(GroupBox5, "RadioButton5", QStringLiteral("เฉพาะเดือนปี"));
    edtYear_Mon_Select = monthYearBox(GroupBox5, "edtYear_Mon_Select");
    eraNote(edtYear_sel, Era::Christian);
    eraNote(edtYear_Mon_Select, Era::Christian);
    GroupBox6 = groupBox(this, "GroupBox6", QStringLiteral("หน่วยวงาน"));
    RadioButton6 = radio(GroupBox6, "RadioButton6", QStringLiteral("ทั้งหมด"));
    RadioButton7 = radio(GroupBox6, "RadioButton7", QStringLiteral("เฉพาะ"));
    cmbDapart_Name = choiceBox(GroupBox6, "cmbDapart_Name");
    filters->addWidget(GroupBox4);
    filters->addWidget(GroupBox5);
    filters->addWidget(GroupBox6);
    layout->addLayout(filters);

    auto* buttons = new QHBoxLayout;
    btnShow_Data = makeButton("btnShow_Data", QStringLiteral("แสดงข้อมูล"));
    btnExit_Form = makeButton("btnExit_Form", QStringLiteral("กลับสู่เมนูหลัก"));
    Button1 = makeButton("Button1", QStringLiteral("Export Ms Excel"));
    buttons->addWidget(btnShow_Data);
    buttons->addWidget(Button1);
    buttons->addStretch();
    buttons->addWidget(btnExit_Form);
    layout->addLayout(buttons);

    layout->addWidget(makeGrid(), 1);
    Label1 = makeLabel("Label1", QStringLiteral("Develop By Ostrel"));
    layout->addWidget(Label1);

    connect(btnShow_Data, &QPushButton::clicked, this, &TfrmRep_Emp_Promise::btnShow_DataClick);
    connect(btnExit_Form, &QPushButton::clicked, this, &TfrmRep_Emp_Promise::btnExit_FormClick);
    connect(Button1, &QPushButton::clicked, this, &TfrmRep_Emp_Promise::Button1Click);
    FormCreate();
}

void TfrmRep_Emp_Promise::FormCreate()
{
    RadioButton1->setChecked(true);
    RadioButton3->setChecked(true);
    RadioButton6->setChecked(true);
    const app::DefaultDates dates = app::defaultDates(m_session.Server_Date_Text, m_session.Server_Date_Text_BE);
    edtYear_sel->setText(dates.year);
    edtYear_Mon_Select->setText(dates.monthYear);
    fillChoices(cmbWork_Type, true);
    fillChoices(cmbDapart_Name, false);
}

ContractEndCriteria TfrmRep_Emp_Promise::criteria() const
{
    ContractEndCriteria c;
    if (RadioButton2->isChecked())
        c.workType = cmbWork_Type->currentText();
    if (RadioButton4->isChecked())
        c.endDate = {PeriodFilter::Year, edtYear_sel->text(), {}};
    else if (RadioButton5->isChecked())
        c.endDate = {PeriodFilter::Month, {}, edtYear_Mon_Select->text()};
    if (RadioButton7->isChecked())
        c.department = cmbDapart_Name->currentText();
    return c;
}

void TfrmRep_Emp_Promise::btnShow_DataClick()
{
    if (!m_session.db)
        return;
    showResult(queryContractEnd(*m_session.db, criteria()));
}

ExportOptions TfrmRep_Emp_Promise::exportOptions() const
{
    return contractEndExport();
}

} // namespace velmora::reports
