#include "gui/main/Screens.h"

#include "gui/common/ScreenRegistry.h"
#include "gui/main/UChange_Password.h"

#include "gui/calc/UCalculate_Money.h"
#include "gui/calc/UCheck_Calculation.h"
#include "gui/calc/URelease_Cal_Money_ChodChoy.h"
#include "gui/import/UImp_Emp_Data.h"
#include "gui/import/UImp_Work_Type.h"
#include "gui/reports/URep_Berg_Detail.h"
#include "gui/reports/URep_Emp_Promise.h"
#include "gui/reports/URep_Forecast_Chod_Choy.h"
#include "gui/reports/URep_Outlook.h"
#include "gui/reports/URep_Recieve_Money_Chod.h"
#include "gui/reports/URep_Split_Money.h"
#include "gui/run/URun_Month_End.h"
#include "gui/system/UAudit_Trail.h"
#include "gui/system/UBackup.h"
#include "gui/system/UOrganisation_Settings.h"
#include "gui/system/UUsers.h"
#include <QApplication>

namespace velmora::app {

void registerScreens(ScreenRegistry& registry)
{
    registry.add(QStringLiteral("ChangePassword1"),
        [](Session& session) -> QWidget* { return new TfrmChange_Password(session); });
    registry.add(QStringLiteral("N23"), [](Session& s) -> QWidget* { return new import::TfrmImp_Emp_Data(s); });
    registry.add(QStringLiteral("N6"), [](Session& s) -> QWidget* { return new import::TfrmImp_Work_Type(s); });
    registry.add(
        QStringLiteral("N5"), [](Session& session) -> QWidget* { return new calc::TfrmCalculate_Money(session); });
    registry.add(
        QStringLiteral("NRun1"), [](Session& session) -> QWidget* { return new run::TfrmRun_Month_End(session); });
    registry.add(QStringLiteral("N10"),
        [](Session& session) -> QWidget* { return new calc::TfrmRelease_Cal_Money_ChodChoy(session); });
    registry.add(QStringLiteral("N4"), [](Session& s) -> QWidget* { return new reports::TfrmRep_Emp_Promise(s); });
    registry.add(
        QStringLiteral("N7"), [](Session& s) -> QWidget* { return new reports::TfrmRep_Recieve_Money_Chod(s); });
    registry.add(
        QStringLiteral("N13"), [](Session& s) -> QWidget* { return new reports::TfrmRep_Forecast_Chod_Choy(s); });
    registry.add(QStringLiteral("N15"), [](Session& s) -> QWidget* { return new reports::TfrmRep_Split_Money(s); });
    registry.add(QStringLiteral("N16"), [](Session& s) -> QWidget* { return new reports::TfrmRep_Outlook(s); });
    registry.add(
        QStringLiteral("N9"), [](Session& session) -> QWidget* { return new print::TfrmRep_Berg_Detail(session); });
    registry.add(QStringLiteral("AuditTrail1"), [](Session& s) -> QWidget* { return new audit::TfrmAudit_Trail(s); });
    registry.add(QStringLiteral("Users1"), [](Session& s) -> QWidget* { return new users::TfrmUsers(s); });
    registry.add(QStringLiteral("NCheck1"), [](Session& s) -> QWidget* { return new calc::TfrmCheck_Calculation(s); });
    registry.add(QStringLiteral("Backup1"),
        [](Session& s) -> QWidget* { return new backup::TfrmBackup(s, backup::TfrmBackup::Mode::Backup); });
    registry.add(QStringLiteral("Restore1"),
        [](Session& s) -> QWidget* { return new backup::TfrmBackup(s, backup::TfrmBackup::Mode::Restore); });
    // A small dialog over the main window rather than a child window.
    registry.add(QStringLiteral("OrgSettings1"), [](Session& session) -> QWidget* {
        auto* dialog = new print::TfrmOrganisation_Settings(session, QApplication::activeWindow());
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->open();
        return nullptr;
    });
}

} // namespace velmora::app
