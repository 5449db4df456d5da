#include "gui/reports/URep_Forecast_Chod_Choy.h"

#include "gui/common/Session.h"
#include "gui/common/Widgets.h"
#include "rules/ForecastRules.h"
#include "services/ReportExports.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableView>
#include <QVBoxLayout>

namespace velmora::reports {

TfrmRep_Forecast_Chod_Choy::TfrmRep_Forecast_Chod_Choy(app::Session& session, QWidget* parent)
    : ReportScreen(session, parent)
{
    setObjectName(QStringLiteral("frmRep_Forecast_Chod_Choy"));
    setWindowTitle(QStringLiteral("ประมาณการเงินชดเชย"));
    QVBoxLayout* layout = beginScreen(QStringLiteral("รายงานประมาณการเงินชดเชย"), "navy");

    auto* filters = new QHBoxLayout;
    m_type = app::workTypeFilter(this, QStringLiteral("ประเภทการจ้าง"));
    m_department = app::departmentFilter(this);
    filters->addWidget(m_type.box);
    filters->addWidget(m_department.box);
    filters->addWidget(makeLabel("Label2", QStringLiteral("ปีที่คำนวณ")));
    edtYear_Cal = app::lineEdit(this, "edtYear_Cal");
    edtYear_Cal->setMaximumWidth(90);
    filters->addWidget(edtYear_Cal);
    layout->addLayout(filters);
    app::eraNote(edtYear_Cal, app::Era::Buddhist);
    layout->addLayout(buttonRow());

    auto* results = app::groupBox(this, "GroupBox2", QStringLiteral("รายการผลการคำนวณ"));
    (new QVBoxLayout(results))->addWidget(makeGrid(reportColumnWidths(), 100));
    layout->addWidget(results, 1);
    layout->addWidget(makeLabel("Label1", QStringLiteral("Develop By Ostrel")));
    setSearch([this](const db::Database& db) { return queryForecast(db, criteria()); });
    FormCreate();
}

void TfrmRep_Forecast_Chod_Choy::FormCreate()
{
    // The employment-type filter is on from the start.
    m_type.one->setChecked(true);
    m_department.all->setChecked(true);
    fillChoices(m_type.choice, true);
    fillChoices(m_department.choice, false);
    edtYear_Cal->setText(QString::number(kForecastDefaultYearBE));
}

ForecastCriteria TfrmRep_Forecast_Chod_Choy::criteria() const
{
    ForecastCriteria c;
    c.workType = m_type.chosen();
    c.department = m_department.chosen();
    c.calcYear = edtYear_Cal->text();
    return c;
}

ExportOptions TfrmRep_Forecast_Chod_Choy::exportOptions() const
{
    return forecastExport();
}

} // namespace velmora::reports
