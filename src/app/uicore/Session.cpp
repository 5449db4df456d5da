#include "app/uicore/Session.h"

#include "app/uicore/DateText.h"

namespace velmora::app {

QDateTime Session::machineNow() const
{
    return localNow ? localNow() : QDateTime::currentDateTime();
}

QString Session::machineDateSeparator() const
{
    return dateSeparator.isEmpty() ? systemDateSeparator() : dateSeparator;
}

} // namespace velmora::app
