#pragma once

#include "gui/common/FilterGroups.h"
#include "gui/common/ReportScreen.h"

class QLineEdit;

namespace velmora::reports {

// The compensation each listed employee would receive at the age of 60.
class TfrmRep_Forecast_Chod_Choy : public ReportScreen
{
    Q_OBJECT
public:
    explicit TfrmRep_Forecast_Chod_Choy(app::Session& session, QWidget* parent = nullptr);

    ForecastCriteria criteria() const;

public slots:
    void FormCreate();

protected:
    ExportOptions exportOptions() const override;

private:
    app::ChoiceFilter m_type;
    app::ChoiceFilter m_department;
    QLineEdit* edtYear_Cal = nullptr;
};

} // namespace velmora::reports
