// The second pair of eyes from a shell: `verify`, `return` and the office's
// `four-eyes` setting.

#include "cli/Command.h"

#include "services/CalculationChecks.h"
#include "services/OfficeSettings.h"

namespace velmora::cli {
namespace {

const QString kVerifySynopsis = QStringLiteral("verify SAPID[,SAPID...]");
const QString kReturnSynopsis = QStringLiteral("return SAPID --reason TEXT");
const QString kFourEyesSynopsis = QStringLiteral("four-eyes on|off");

int runVerify(Context& c)
{
    QCommandLineParser p;
    if (!c.parse(p, 1, kVerifySynopsis))
        return Usage;
    auto database = c.openDatabase(Context::Use::Writing);
    if (!database)
        return Refused;
    int checked = 0;
    QString error;
    if (!checks::verifyCalculations(*database, p.positionalArguments().at(0).split(QLatin1Char(',')), &checked, &error))
        return c.refuse(error);
    c.outLine(QStringLiteral("ตรวจสอบแล้ว %1 รายการ").arg(checked));
    return Success;
}

int runReturn(Context& c)
{
    QCommandLineParser p;
    const QCommandLineOption reason(
        QStringLiteral("reason"), QStringLiteral("why it goes back to the officer"), QStringLiteral("TEXT"));
    p.addOption(reason);
    if (!c.parse(p, 1, kReturnSynopsis))
        return Usage;
    if (!p.isSet(reason))
        return c.usage(QStringLiteral("--reason is required\nusage: velmora-cli ") + kReturnSynopsis);
    auto database = c.openDatabase(Context::Use::Writing);
    if (!database)
        return Refused;
    const QString sapid = p.positionalArguments().at(0);
    QString error;
    if (!checks::returnCalculations(*database, {sapid}, p.value(reason), &error))
        return c.refuse(error);
    c.outLine(QStringLiteral("ส่งคืนแล้ว SAP ID %1: สถานะพนักงานกลับเป็น A").arg(sapid.trimmed()));
    return Success;
}

int runFourEyes(Context& c)
{
    QCommandLineParser p;
    if (!c.parse(p, 1, kFourEyesSynopsis))
        return Usage;
    const QString value = p.positionalArguments().at(0);
    if (value != QLatin1String("on") && value != QLatin1String("off"))
        return c.usage(QStringLiteral("usage: velmora-cli ") + kFourEyesSynopsis);
    auto database = c.openDatabase(Context::Use::Writing);
    if (!database)
        return Refused;
    QString error;
    if (!office::setFourEyesRequired(*database, value == QLatin1String("on"), &error))
        return c.refuse(error);
    c.outLine(value == QLatin1String("on") ? QStringLiteral("ต้องตรวจสอบก่อนพิมพ์บันทึกข้อความ: เปิด")
                                           : QStringLiteral("ต้องตรวจสอบก่อนพิมพ์บันทึกข้อความ: ปิด"));
    return Success;
}

const Registration verify({QStringLiteral("verify"), kVerifySynopsis, false, runVerify});
const Registration giveBack({QStringLiteral("return"), kReturnSynopsis, false, runReturn});
const Registration fourEyes({QStringLiteral("four-eyes"), kFourEyesSynopsis, false, runFourEyes});

} // namespace
} // namespace velmora::cli
