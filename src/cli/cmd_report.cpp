#include "cli/Command.h"
#include "cli/cmd_fund_source.h"
#include "cli/cmd_outlook.h"

#include "files/ReportGrid.h"
#include "files/XlsxExport.h"
#include "rules/ForecastRules.h"
#include "services/ReportExports.h"
#include "services/ReportQueries.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonObject>

#include <cstdio>

namespace velmora::cli {
namespace {

using namespace velmora::reports;

const QString synopsisText = QStringLiteral(
    "report contract-end [--type NAME] [--year YYYY | --month MM/YYYY] [--department NAME] [--xlsx OUT]\n"
    "       report received [--year YYYY | --month MM/YYYY] [--department NAME] [--xlsx OUT]\n"
    "       report forecast [--type NAME] [--department NAME] [--year BE-YEAR (default 2557)] [--xlsx OUT]\n"
    "       report fund-source --from DD/MM/YYYY --to DD/MM/YYYY [--source 2|3] [--department NAME] [--unprinted]"
    " [--xlsx OUT]\n"
    "       report outlook --kind contract-end|age60 [--months N | --years N] [--raise PCT] [--by department|type]"
    " [--department NAME] [--from MM/YYYY | --from BE-YEAR] [--xlsx OUT] [--pdf OUT]");

// The grid as CSV on stdout, or the export workbook at OUT.
int deliver(Context& c, const db::Database& database, const ReportResult& result, const ExportOptions& options,
    const QString& xlsx)
{
    if (!result.ok)
        return c.refuse(result.error);
    if (!result.found) {
        const QByteArray note = (notFoundMessage() + QLatin1Char('\n')).toUtf8();
        std::fwrite(note.constData(), 1, size_t(note.size()), stderr);
    }
    if (xlsx.isEmpty()) {
        writeCsv(
            result.grid, [](const QByteArray& line) { std::fwrite(line.constData(), 1, size_t(line.size()), stdout); });
        std::fflush(stdout);
        return Success;
    }
    QString error;
    const QJsonObject filters {{QStringLiteral("arguments"), QJsonArray::fromStringList(c.args())}};
    if (exportReport(&database, result.grid, options, filters, {xlsx, QString(), QDateTime()}, &error).isEmpty())
        return c.refuse(error);
    return Success;
}

bool periodOption(Context& c, const QCommandLineParser& p, PeriodFilter& filter, int& status)
{
    const bool year = p.isSet(QStringLiteral("year"));
    const bool month = p.isSet(QStringLiteral("month"));
    if (year && month) {
        status = c.usage(QStringLiteral("--year and --month exclude each other\nusage: velmora-cli ") + synopsisText);
        return false;
    }
    if (year)
        filter = {PeriodFilter::Year, p.value(QStringLiteral("year")), {}};
    else if (month)
        filter = {PeriodFilter::Month, {}, p.value(QStringLiteral("month"))};
    return true;
}

int runReport(Context& c)
{
    const QString which = c.args().value(1);
    if (which == QLatin1String("fund-source"))
        return runFundSourceReport(c);
    if (which == QLatin1String("outlook"))
        return runOutlookReport(c);
    const QCommandLineOption type(
        QStringLiteral("type"), QStringLiteral("employment type name"), QStringLiteral("NAME"));
    const QCommandLineOption department(
        QStringLiteral("department"), QStringLiteral("department name"), QStringLiteral("NAME"));
    const QCommandLineOption year(QStringLiteral("year"),
        QStringLiteral("year: Christian era (contract-end, received), Buddhist era (forecast)"),
        QStringLiteral("YEAR"));
    const QCommandLineOption month(
        QStringLiteral("month"), QStringLiteral("month and year, Christian era"), QStringLiteral("MM/YYYY"));
    const QCommandLineOption xlsx(QStringLiteral("xlsx"), QStringLiteral("export workbook"), QStringLiteral("OUT"));

    QCommandLineParser p;
    if (which == QLatin1String("contract-end"))
        p.addOptions({type, year, month, department, xlsx});
    else if (which == QLatin1String("received"))
        p.addOptions({year, month, department, xlsx});
    else if (which == QLatin1String("forecast"))
        p.addOptions({type, department, year, xlsx});
    else
        return c.usage(QStringLiteral("usage: velmora-cli ") + synopsisText);
    if (!c.parse(p, 1, synopsisText))
        return Usage;

    auto optional = [&p](const QCommandLineOption& o) -> std::optional<QString> {
        if (!p.isSet(o))
            return std::nullopt;
        return p.value(o);
    };
    const QString out = p.value(xlsx);

    if (which == QLatin1String("contract-end")) {
        ContractEndCriteria criteria;
        criteria.workType = optional(type);
        criteria.department = optional(department);
        int status = Success;
        if (!periodOption(c, p, criteria.endDate, status))
            return status;
        auto database = c.openDatabase();
        if (!database)
            return Refused;
        return deliver(c, *database, queryContractEnd(*database, criteria), contractEndExport(), out);
    }
    if (which == QLatin1String("received")) {
        ReceivedCriteria criteria;
        criteria.department = optional(department);
        int status = Success;
        if (!periodOption(c, p, criteria.period, status))
            return status;
        auto database = c.openDatabase();
        if (!database)
            return Refused;
        return deliver(c, *database, queryReceived(*database, criteria), receivedExport(), out);
    }
    ForecastCriteria criteria;
    criteria.workType = optional(type);
    criteria.department = optional(department);
    criteria.calcYear = p.isSet(year) ? p.value(year) : QString::number(kForecastDefaultYearBE);
    auto database = c.openDatabase();
    if (!database)
        return Refused;
    return deliver(c, *database, queryForecast(*database, criteria), forecastExport(), out);
}

const Registration report({QStringLiteral("report"),
    QStringLiteral("report contract-end|received|forecast|fund-source|outlook [options] [--xlsx OUT]"), false,
    runReport,
    // The outlook's printed page needs a GUI application.
    [](const QStringList& args) {
        return args.value(1) == QLatin1String("outlook")
            && (args.contains(QStringLiteral("--pdf")) || !args.filter(QStringLiteral("--pdf=")).isEmpty());
    }});

} // namespace
} // namespace velmora::cli
