#include "gui/common/Session.h"

#include "gui/common/DateText.h"

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
