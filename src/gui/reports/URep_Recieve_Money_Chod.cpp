#include "gui/reports/URep_Recieve_Money_Chod.h"
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

TfrmRep_Recieve_Money_Chod::TfrmRep_Recieve_Money_Chod(app::Session& session, QWidget* parent)
    : ReportScreen(session, parent)
{
    setObjectName(QStringLiteral("frmRep_Recieve_Money_Chod"));
    setWindowTitle(QStringLiteral("รายการสรุปเงิน"));
    auto* layout = new QVBoxLayout(this);

    Label5 = makeLabel("Label5", QStringLiteral("รายงานเงินชดเชยที่ได้รับ"));
    Label5->setAlignment(Qt::AlignCenter);
    Label5->setStyleSheet(QStringLiteral("color: purple; font-size: 16pt; font-weight: bold;"));
    layout->addWidget(Label5);

    auto* filters = new QHBoxLayout;
    GroupBox5 = groupBox(this, "GroupBox5", QStringLiteral("ปีที่บันทึก"));
    RadioButton3 = radio(GroupBox5, "RadioButton3", QStringLiteral("ทั้งหมด"));
    RadioButton4 = radio(GroupBox5, "RadioButton4", QStringLiteral("เฉพาะปี"));
    edtYear_sel = editBox(GroupBox5, "edtYear_sel");
    RadioButton5 = radio(GroupBox5, "RadioButton5", QStringLiteral("เฉพาะเดือนปี"));
    edtMMYYYY_sel = monthYearBox(GroupBox5, "edtMMYYYY_sel");
    eraNote(edtYear_sel, Era::Christian);
    eraNote(edtMMYYYY_sel, Era::Christian);
    GroupBox6 = groupBox(this, "GroupBox6", QStringLiteral("หน่วยวงาน"));
    RadioButton6 = radio(GroupBox6, "RadioButton6", QStringLiteral("ทั้งหมด"));
    RadioButton7 = radio(GroupBox6, "RadioButton7", QStringLiteral("เฉพาะ"));
    cmbDapart_Name = choiceBox(GroupBox6, "cmbDapart_Name");
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

    connect(btnShow_Data, &QPushButton::clicked, this, &TfrmRep_Recieve_Money_Chod::btnShow_DataClick);
    connect(btnExit_Form, &QPushButton::clicked, this, &TfrmRep_Recieve_Money_Chod::btnExit_FormClick);
    connect(Button1, &QPushButton::clicked, this, &TfrmRep_Recieve_Money_Chod::Button1Click);
    FormCreate();
}

void TfrmRep_Recieve_Money_Chod::FormCreate()
{
    RadioButton3->setChecked(true);
    RadioButton6->setChecked(true);
    const app::DefaultDates dates = app::defaultDates(m_session.Server_Date_Text, m_session.Server_Date_Text_BE);
    edtYear_sel->setText(dates.year);
    edtMMYYYY_sel->setText(dates.monthYear);
    fillChoices(cmbDapart_Name, false);
}

ReceivedCriteria TfrmRep_Recieve_Money_Chod::criteria() const
{
    ReceivedCriteria c;
    if (RadioButton4->isChecked())
        c.period = {PeriodFilter::Year, edtYear_sel->text(), {}};
    else if (RadioButton5->isChecked())
        c.period = {PeriodFilter::Month, {}, edtMMYYYY_sel->text()};
    if (RadioButton7->isChecked())
        c.department = cmbDapart_Name->currentText();
    return c;
}

void TfrmRep_Recieve_Money_Chod::btnShow_DataClick()
{
    if (!m_session.db)
        return;
    showResult(queryReceived(*m_session.db, criteria()));
}

ExportOptions TfrmRep_Recieve_Money_Chod::exportOptions() const
{
    return receivedExport();
}

} // namespace velmora::reports
