#include "gui/reports/URep_Emp_Promise.h"

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

TfrmRep_Emp_Promise::TfrmRep_Emp_Promise(app::Session& session, QWidget* parent)
    : ReportScreen(session, parent)
{
    setObjectName(QStringLiteral("frmRep_Emp_Promise"));
    setWindowTitle(QStringLiteral("รายงานรายชื่อผู้ครบสัญญา"));
    QVBoxLayout* layout = beginScreen(QStringLiteral("รายข้อมูลการครบสัญญา บุคลากร ม.กาวิลัน"), "green");

    auto* filters = new QHBoxLayout;
    m_type = app::workTypeFilter(this, QStringLiteral("ประเภทการจ้าง"));
    m_endDate = app::periodFilter(this, QStringLiteral("ปีที่ครบสัญญา"), "edtYear_Mon_Select", app::kMonthYearMask);
    m_department = app::departmentFilter(this);
    filters->addWidget(m_type.box);
    filters->addWidget(m_endDate.box);
    filters->addWidget(m_department.box);
    layout->addLayout(filters);
    layout->addLayout(buttonRow());
    layout->addWidget(makeGrid(reportColumnWidths(), 100), 1);
    layout->addWidget(makeLabel("Label1", QStringLiteral("Develop By Ostrel")));
    setSearch([this](const db::Database& db) { return queryContractEnd(db, criteria()); });
    FormCreate();
}

void TfrmRep_Emp_Promise::FormCreate()
{
    m_type.all->setChecked(true);
    m_department.all->setChecked(true);
    const app::DefaultDates dates = app::defaultDates(m_session.Server_Date_Text, m_session.Server_Date_Text_BE);
    m_endDate.setDefaults(dates.year, dates.monthYear);
    fillChoices(m_type.choice, true);
    fillChoices(m_department.choice, false);
}

ContractEndCriteria TfrmRep_Emp_Promise::criteria() const
{
    return {m_type.chosen(), m_endDate.period(), m_department.chosen()};
}

ExportOptions TfrmRep_Emp_Promise::exportOptions() const
{
    return contractEndExport();
}

} // namespace velmora::reports
