#include "cli/Command.h"

#include "services/CancelService.h"

namespace velmora::cli {
namespace {

int runCancel(Context& c)
{
    QCommandLineParser p;
    const QCommandLineOption withHistory(
        QStringLiteral("with-history"), QStringLiteral("also delete the employee's work-history periods"));
    p.addOption(withHistory);
    const QString synopsis = QStringLiteral("cancel SAPID [--with-history]");
    if (!c.parse(p, 1, synopsis))
        return Usage;

    auto database = c.openDatabase(Context::Use::Writing);
    if (!database)
        return Refused;
    const QString sapid = p.positionalArguments().at(0);
    std::string error;
    if (!calc::Cancel_Calculation(*database, sapid.toStdString(), p.isSet(withHistory), &error))
        return c.refuse(QString::fromStdString(error));
    c.outLine(QString::fromUtf8(calc::kMessage_Cancelled));
    return Success;
}

const Registration reg({QStringLiteral("cancel"), QStringLiteral("cancel SAPID [--with-history]"), false, runCancel});

} // namespace
} // namespace velmora::cli
