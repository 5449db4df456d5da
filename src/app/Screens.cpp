#include "app/Screens.h"

#include "app/UChange_Password.h"
#include "app/uicore/ScreenRegistry.h"
#ifdef VELMORA_HAVE_CALC_UI
#include "calc/ui/UCalculate_Money.h"
#endif

namespace velmora::app {

void registerScreens(ScreenRegistry& registry)
{
    registry.add(QStringLiteral("ChangePassword1"),
                 [](Session& session) -> QWidget* { return new TfrmChange_Password(session); });
#ifdef VELMORA_HAVE_CALC_UI
    registry.add(QStringLiteral("N5"), [](Session& session) -> QWidget* { return new calc::TfrmCalculate_Money(session); });
#endif
}

} // namespace velmora::app
