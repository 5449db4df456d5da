#include "app/Screens.h"

#include "app/UChange_Password.h"
#include "app/uicore/ScreenRegistry.h"

#include <QApplication>
#ifdef VELMORA_HAVE_CALC_UI
#include "calc/ui/UCalculate_Money.h"
#include "calc/ui/URelease_Cal_Money_ChodChoy.h"
#endif
#ifdef VELMORA_HAVE_IMPORT_UI
#include "import/ui/UImp_Emp_Data.h"
#include "import/ui/UImp_Work_Type.h"
#endif
#ifdef VELMORA_HAVE_PRINT_UI
#include "reports/print/ui/UOrganisation_Settings.h"
#include "reports/print/ui/URep_Berg_Detail.h"
#endif
#ifdef VELMORA_HAVE_REPORTS_UI
#include "reports/ui/URep_Emp_Promise.h"
#include "reports/ui/URep_Forecast_Chod_Choy.h"
#include "reports/ui/URep_Recieve_Money_Chod.h"
#include "reports/ui/URep_Split_Money.h"
#endif

namespace velmora::app {

void registerScreens(ScreenRegistry& registry)
{
    registry.add(QStringLiteral("ChangePassword1"),
                 [](Session& session) -> QWidget* { return new TfrmChange_Password(session); });
#ifdef VELMORA_HAVE_IMPORT_UI
    registry.add(QStringLiteral("N23"), [](Session& s) -> QWidget* { return new import::TfrmImp_Emp_Data(s); });
    registry.add(QStringLiteral("N6"), [](Session& s) -> QWidget* { return new import::TfrmImp_Work_Type(s); });
#endif
#ifdef VELMORA_HAVE_CALC_UI
    registry.add(QStringLiteral("N5"), [](Session& session) -> QWidget* { return new calc::TfrmCalculate_Money(session); });
    registry.add(QStringLiteral("N10"),
                 [](Session& session) -> QWidget* { return new calc::TfrmRelease_Cal_Money_ChodChoy(session); });
#endif
#ifdef VELMORA_HAVE_REPORTS_UI
    registry.add(QStringLiteral("N4"), [](Session& s) -> QWidget* { return new reports::TfrmRep_Emp_Promise(s); });
    registry.add(QStringLiteral("N7"), [](Session& s) -> QWidget* { return new reports::TfrmRep_Recieve_Money_Chod(s); });
    registry.add(QStringLiteral("N13"), [](Session& s) -> QWidget* { return new reports::TfrmRep_Forecast_Chod_Choy(s); });
    registry.add(QStringLiteral("N15"), [](Session& s) -> QWidget* { return new reports::TfrmRep_Split_Money(s); });
#endif
#ifdef VELMORA_HAVE_PRINT_UI
    registry.add(QStringLiteral("N9"), [](Session& session) -> QWidget* { return new print::TfrmRep_Berg_Detail(session); });
    // A small dialog over the main window rather than a child window.
    registry.add(QStringLiteral("OrgSettings1"), [](Session& session) -> QWidget* {
        auto* dialog = new print::TfrmOrganisation_Settings(session, QApplication::activeWindow());
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->open();
        return nullptr;
    });
#endif
}

} // namespace velmora::app
