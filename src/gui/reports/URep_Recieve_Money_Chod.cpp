#include "gui/reports/URep_Recieve_Money_Chod.h"

#include "gui/common/DateText.h"
#include "gui/common/Session.h"
#include "services/ReportExports.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QTableView>
#include <QVBoxLayout>

namespace velmora::reports {

TfrmRep_Recieve_Money_Chod::TfrmRep_Recieve_Money_Chod(app::Session& session, QWidget* parent)
    : ReportScreen(session, parent)
{
    setObjectName(QStringLiteral("frmRep_Recieve_Money_Chod"));
    setWindowTitle(QStringLiteral("รายการสรุปเงิน"));
    QVBoxLayout* layout = beginScreen(QStringLiteral("รายงานเงินชดเชยที่ได้รับ"), "purple");

    auto* filters = new QHBoxLayout;
    m_period = app::periodFilter(this, QStringLiteral("ปีที่บันทึก"), "edtMMYYYY_sel", app::kMonthYearMask);
    m_department = app::departmentFilter(this);
    filters->addWidget(m_period.box);
    filters->addWidget(m_department.box);
    layout->addLayout(filters);
    layout->addLayout(buttonRow());
    layout->addWidget(makeGrid(reportColumnWidths(), 100), 1);
    layout->addWidget(makeLabel("Label1", QStringLiteral("Develop By Ostrel")));
    setSearch([this](const db::Database& db) { return queryReceived(db, criteria()); });
    FormCreate();
}

void TfrmRep_Recieve_Money_Chod::FormCreate()
{
    m_department.all->setChecked(true);
    const app::DefaultDates dates = app::defaultDates(m_session.Server_Date_Text, m_session.Server_Date_Text_BE);
    m_period.setDefaults(dates.year, dates.monthYear);
    fillChoices(m_department.choice, false);
}

ReceivedCriteria TfrmRep_Recieve_Money_Chod::criteria() const
{
    return {m_period.period(), m_department.chosen()};
}

ExportOptions TfrmRep_Recieve_Money_Chod::exportOptions() const
{
    return receivedExport();
}

} // namespace velmora::reports
