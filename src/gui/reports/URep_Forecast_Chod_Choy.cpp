#include "gui/reports/URep_Forecast_Chod_Choy.h"

#include "gui/common/ScreenParts.h"
#include "rules/ForecastRules.h"
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

TfrmRep_Forecast_Chod_Choy::TfrmRep_Forecast_Chod_Choy(app::Session& session, QWidget* parent)
    : ReportScreen(session, parent)
{
    setObjectName(QStringLiteral("frmRep_Forecast_Chod_Choy"));
    setWindowTitle(QStringLiteral("ประมาณการเงินชดเชย"));
    auto* layout = new QVBoxLayout(this);

    Label5 = makeLabel("Label5", QStringLiteral("รายงานประมาณการเงินชดเชย"));
    Label5->setAlignment(Qt::AlignCenter);
    Label5->setStyleSheet(QStringLiteral("color: navy; font-size: 16pt; font-weight: bold;"));
    layout->addWidget(Label5);

    auto* filters = new QHBoxLayout;
    GroupBox4 = groupBox(this, "GroupBox4", QStringLiteral("ประเภทการจ้าง"));
    RadioButton1 = radio(GroupBox4, "RadioButton1", QStringLiteral("ทั้งหมด"));
    RadioButton2 = radio(GroupBox4, "RadioButton2", QStringLiteral("เฉพาะ"));
    cmbWork_Type = choiceBox(GroupBox4, "cmbWork_Type");
    GroupBox6 = groupBox(this, "GroupBox6", QStringLiteral("หน่วยวงาน"));
    RadioButton6 = radio(GroupBox6, "RadioButton6", QStringLiteral("ทั้งหมด"));
    RadioButton7 = radio(GroupBox6, "RadioButton7", QStringLiteral("เฉพาะ"));
    cmbDapart_Name = choiceBox(GroupBox6, "cmbDapart_Name");
    filters->addWidget(GroupBox4);
    filters->addWidget(GroupBox6);
    Label2 = makeLabel("Label2", QStringLiteral("ปีที่คำนวณ"));
    edtYear_Cal = new QLineEdit(this);
    edtYear_Cal->setObjectName(QStringLiteral("edtYear_Cal"));
    edtYear_Cal->setMaximumWidth(90);
    filters->addWidget(Label2);
    filters->addWidget(edtYear_Cal);
    layout->addLayout(filters);
    eraNote(edtYear_Cal, Era::Buddhist);

    auto* buttons = new QHBoxLayout;
    btnShow_Data = makeButton("btnShow_Data", QStringLiteral("แสดงข้อมูล"));
    btnExit_Form = makeButton("btnExit_Form", QStringLiteral("กลับสู่เมนูหลัก"));
    Button1 = makeButton("Button1", QStringLiteral("Export Ms Excel"));
    buttons->addWidget(btnShow_Data);
    buttons->addWidget(Button1);
    buttons->addStretch();
    buttons->addWidget(btnExit_Form);
    layout->addLayout(buttons);

    GroupBox2 = groupBox(this, "GroupBox2", QStringLiteral("รายการผลการคำนวณ"));
    auto* resultLayout = new QVBoxLayout(GroupBox2);
    resultLayout->addWidget(makeGrid());
    layout->addWidget(GroupBox2, 1);
    Label1 = makeLabel("Label1", QStringLiteral("Develop By Ostrel"));
    layout->addWidget(Label1);

    connect(btnShow_Data, &QPushButton::clicked, this, &TfrmRep_Forecast_Chod_Choy::btnShow_DataClick);
    connect(btnExit_Form, &QPushButton::clicked, this, &TfrmRep_Forecast_Chod_Choy::btnExit_FormClick);
    connect(Button1, &QPushButton::clicked, this, &TfrmRep_Forecast_Chod_Choy::Button1Click);
    FormCreate();
}

void TfrmRep_Forecast_Chod_Choy::FormCreate()
{
    // The employment-type filter is on from the start.
    RadioButton2->setChecked(true);
    RadioButton6->setChecked(true);
    fillChoices(cmbWork_Type, true);
    fillChoices(cmbDapart_Name, false);
    edtYear_Cal->setText(QString::number(kForecastDefaultYearBE));
}

ForecastCriteria TfrmRep_Forecast_Chod_Choy::criteria() const
{
    ForecastCriteria c;
    if (RadioButton2->isChecked())
        c.workType = cmbWork_Type->currentText();
    if (RadioButton7->isChecked())
        c.department = cmbDapart_Name->currentText();
    c.calcYear = edtYear_Cal->text();
    return c;
}

void TfrmRep_Forecast_Chod_Choy::btnShow_DataClick()
{
    if (!m_session.db)
        return;
    showResult(queryForecast(*m_session.db, criteria()));
}

ExportOptions TfrmRep_Forecast_Chod_Choy::exportOptions() const
{
    return forecastExport();
}

} // namespace velmora::reports
