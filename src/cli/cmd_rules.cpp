#include "cli/Command.h"

#include "rules/AmountText.h"
#include "rules/BahtText.h"
#include "rules/ServicePeriod.h"

namespace velmora::cli {
namespace {

int runBaht(Context& c)
{
    QCommandLineParser p;
    const QString synopsis = QStringLiteral("baht AMOUNT");
    if (!c.parse(p, 1, synopsis))
        return Usage;
    const QString text = p.positionalArguments().at(0);
    const auto amount = Parse_Number(text.toStdString());
    if (!amount)
        return c.refuse(QStringLiteral("จำนวนเงินไม่ถูกต้อง: ") + text);
    c.outLine(QString::fromStdString(Baht_Text(*amount)));
    return Success;
}

int runPeriod(Context& c)
{
    QCommandLineParser p;
    const QString synopsis = QStringLiteral("period START END   (dd/mm/yyyy, Buddhist era)");
    if (!c.parse(p, 2, synopsis))
        return Usage;
    const std::string start = p.positionalArguments().at(0).toStdString();
    const std::string end = p.positionalArguments().at(1).toStdString();
    const Service_Period_Result r = Service_Period(start, end);
    if (!r.period)
        return c.refuse(QString::fromStdString(r.error));
    const Service_Period_Value& v = *r.period;
    c.outLine(
        QStringLiteral("%1 %2 %3 %4")
            .arg(QString::fromStdString(v.text.substr(0, 4)), QString::fromStdString(v.text.substr(4, 2)),
                QString::fromStdString(v.text.substr(6, 2)), QString::fromStdString(Round2_Text(v.month_weight))));
    return Success;
}

const Registration baht({QStringLiteral("baht"), QStringLiteral("baht AMOUNT"), false, runBaht});
const Registration period({QStringLiteral("period"), QStringLiteral("period START END"), false, runPeriod});

} // namespace
} // namespace velmora::cli
