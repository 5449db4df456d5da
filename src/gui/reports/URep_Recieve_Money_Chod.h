#pragma once

#include "gui/common/FilterGroups.h"
#include "gui/common/ReportScreen.h"

namespace velmora::reports {

// The saved compensation calculations, by year or month of receipt and department.
class TfrmRep_Recieve_Money_Chod : public ReportScreen
{
    Q_OBJECT
public:
    explicit TfrmRep_Recieve_Money_Chod(app::Session& session, QWidget* parent = nullptr);

    ReceivedCriteria criteria() const;

public slots:
    void FormCreate();

protected:
    ExportOptions exportOptions() const override;

private:
    app::PeriodFilterBoxes m_period;
    app::ChoiceFilter m_department;
};

} // namespace velmora::reports
