#pragma once

#include "gui/common/FilterGroups.h"
#include "gui/common/ReportScreen.h"

namespace velmora::reports {

// Employees with the start and end of their contracts, by employment type,
// year or month of the contract end, and department.
class TfrmRep_Emp_Promise : public ReportScreen
{
    Q_OBJECT
public:
    explicit TfrmRep_Emp_Promise(app::Session& session, QWidget* parent = nullptr);

    // The screen's filters as they stand.
    ContractEndCriteria criteria() const;

public slots:
    void FormCreate();

protected:
    ExportOptions exportOptions() const override;

private:
    app::ChoiceFilter m_type;
    app::PeriodFilterBoxes m_endDate;
    app::ChoiceFilter m_department;
};

} // namespace velmora::reports
