#include "cli/Command.h"
#include "cli/cmd_fund_source.h"

#include "pages/AnnexPage.h"
#include "pages/PageRenderer.h"
#include "pages/RequestPage.h"
#include "services/SavedCalculations.h"

#include <QCommandLineOption>

namespace velmora::cli {
namespace {

const QString kSynopsis =
    QStringLiteral("print request SAPID --pdf OUT | print detail SAPID --pdf OUT | print annex SAPID --pdf OUT"
                   " | print memo ... --pdf OUT");

// The request document (after a calculation) and the disbursement detail page
// are one page: both read the saved calculation of the SAP ID.
int runRequestPage(Context& c, const QString& sapId, const QString& out)
{
    auto database = c.openDatabase();
    if (!database)
        return Refused;
    print::RequestDocument document;
    QString error;
    if (!print::readRequestDocument(*database, sapId, &document, &error))
        return c.refuse(error);
    if (!document.calculation)
        return c.refuse(QStringLiteral("ไม่พบข้อมูลการคำนวณเงินชดเชยของ SAP ID ") + sapId);
    if (!print::writePdf(out, {print::buildRequestPage(document)}, &error))
        return c.refuse(error);
    return Success;
}

// The calculation annex of a saved calculation: the same rows as the request document.
int runAnnexPage(Context& c, const QString& sapId, const QString& out)
{
    auto database = c.openDatabase();
    if (!database)
        return Refused;
    print::AnnexDocument document;
    QString error;
    if (!print::readAnnexDocument(*database, sapId, &document, &error))
        return c.refuse(error);
    if (!document.request.calculation)
        return c.refuse(QStringLiteral("ไม่พบข้อมูลการคำนวณเงินชดเชยของ SAP ID ") + sapId);
    if (!print::writePdf(out, print::buildAnnexPages(document), &error))
        return c.refuse(error);
    return Success;
}

int runPrint(Context& c)
{
    if (c.args().value(1) == QLatin1String("memo"))
        return runMemoPrint(c);
    QCommandLineParser p;
    const QCommandLineOption pdf(QStringLiteral("pdf"), QStringLiteral("the PDF file to write"), QStringLiteral("OUT"));
    p.addOption(pdf);
    if (!c.parse(p, -1, kSynopsis))
        return Usage;
    const QStringList args = p.positionalArguments();
    if (args.isEmpty())
        return c.usage(QStringLiteral("usage: velmora-cli ") + kSynopsis);
    const QString& what = args.first();
    if (what == QLatin1String("request") || what == QLatin1String("detail") || what == QLatin1String("annex")) {
        if (args.size() != 2 || !p.isSet(pdf) || p.value(pdf).isEmpty())
            return c.usage(QStringLiteral("usage: velmora-cli print ") + what + QStringLiteral(" SAPID --pdf OUT"));
        if (what == QLatin1String("annex"))
            return runAnnexPage(c, args.at(1), p.value(pdf));
        return runRequestPage(c, args.at(1), p.value(pdf));
    }
    return c.usage(QStringLiteral("usage: velmora-cli ") + kSynopsis);
}

const Registration print({QStringLiteral("print"), kSynopsis, true, runPrint});

} // namespace
} // namespace velmora::cli
