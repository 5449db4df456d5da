#include "app/Screens.h"

#include "app/UChange_Password.h"
#include "app/uicore/ScreenRegistry.h"

namespace velmora::app {

void registerScreens(ScreenRegistry& registry)
{
    registry.add(QStringLiteral("ChangePassword1"),
                 [](Session& session) -> QWidget* { return new TfrmChange_Password(session); });
}

} // namespace velmora::app
