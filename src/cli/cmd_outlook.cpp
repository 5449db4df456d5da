// The liability outlook on the command line; reached through `report outlook`.

#include "cli/cmd_outlook.h"

#include "files/ReportGrid.h"
#include "pages/OutlookPage.h"
#include "pages/PageRenderer.h"
#include "services/OutlookService.h"

#include <QCommandLineOption>
#include <QDateTime>

#include <cstdio>

namespace velmora::cli {

namespace {

using namespace velmora::outlook;

const QString kSynopsis = QStringLiteral(
    "report outlook --kind contract-end|age60 [--months N | --years N] [--raise PCT] [--by department|type] "
    "[--department NAME] [--from MM/YYYY | --from BE-YEAR] [--xlsx OUT] [--pdf OUT]");

} // namespace

int runOutlookReport(Context& c)
{
    const QCommandLineOption kind(
        QStringLiteral("kind"), QStringLiteral("contract-end or age60"), QStringLiteral("KIND"));
    const QCommandLineOption months(
        QStringLiteral("months"), QStringLiteral("months of contract ends (1-120, default 12)"), QStringLiteral("N"));
    const QCommandLineOption years(
        QStringLiteral("years"), QStringLiteral("years of 60th birthdays (1-40, default 10)"), QStringLiteral("N"));
    const QCommandLineOption raise(
        QStringLiteral("raise"), QStringLiteral("yearly raise in percent, 0-15 (default 5)"), QStringLiteral("PCT"));
    const QCommandLineOption by(
        QStringLiteral("by"), QStringLiteral("grouping: department or type"), QStringLiteral("department|type"));
    const QCommandLineOption department(
        QStringLiteral("department"), QStringLiteral("department name"), QStringLiteral("NAME"));
    const QCommandLineOption from(QStringLiteral("from"),
        QStringLiteral("first month MM/YYYY (Christian era) or first Buddhist-era year; default today's"),
        QStringLiteral("FROM"));
    const QCommandLineOption xlsx(QStringLiteral("xlsx"), QStringLiteral("export workbook"), QStringLiteral("OUT"));
    const QCommandLineOption pdf(QStringLiteral("pdf"), QStringLiteral("printable page"), QStringLiteral("OUT"));
    QCommandLineParser p;
    p.addOptions({kind, months, years, raise, by, department, from, xlsx, pdf});
    if (!c.parse(p, 1, kSynopsis))
        return Usage;
    const QString usage = QStringLiteral("\nusage: velmora-cli ") + kSynopsis;

    Outlook_Criteria criteria;
    const QString k = p.value(kind);
    if (k == QLatin1String("contract-end"))
        criteria.kind = Outlook_Kind::Contract_End;
    else if (k == QLatin1String("age60"))
        criteria.kind = Outlook_Kind::Age60;
    else
        return c.usage(QStringLiteral("--kind must be contract-end or age60") + usage);
    const bool age60 = criteria.kind == Outlook_Kind::Age60;
    if (p.isSet(age60 ? months : years))
        return c.usage((age60 ? QStringLiteral("--months goes with --kind contract-end")
                              : QStringLiteral("--years goes with --kind age60"))
            + usage);
    if (!age60 && p.isSet(raise))
        return c.usage(QStringLiteral("--raise goes with --kind age60") + usage);
    criteria.count = p.value(age60 ? years : months);
    criteria.raise = p.value(raise);
    criteria.from = p.value(from);
    if (p.isSet(by)) {
        const QString b = p.value(by);
        if (b == QLatin1String("department"))
            criteria.by = Outlook_Grouping::Department;
        else if (b == QLatin1String("type"))
            criteria.by = Outlook_Grouping::Work_Type;
        else
            return c.usage(QStringLiteral("--by must be department or type") + usage);
    }
    if (p.isSet(department))
        criteria.department = p.value(department);
    // The criteria are checked before the database is opened (today's date
    // only matters when no --from is given).
    const Outlook_Plan check = Check_Outlook_Criteria(criteria, QStringLiteral("01/01/2000"));
    if (!check.ok())
        return c.refuse(check.error);

    auto database = c.openDatabase();
    if (!database)
        return Refused;
    const Outlook_Result result = Run_Outlook(*database, criteria);
    if (!result.ok)
        return c.refuse(result.error);

    if (!result.refused.empty()) {
        c.errLine(QStringLiteral("พนักงานที่คำนวณไม่ได้ %1 คน:").arg(result.refused.size()));
        for (const Outlook_Line& l : result.refused)
            c.errLine(QStringLiteral("%1 %2 %3: %4").arg(l.sapid, l.name, l.period, l.reason));
    }
    QString error;
    if (p.isSet(xlsx)
        && Export_Outlook(database.get(), result, {p.value(xlsx), QString(), QDateTime()}, &error).isEmpty())
        return c.refuse(error);
    if (p.isSet(pdf) && !print::writePdf(p.value(pdf), print::buildOutlookPages(result), &error))
        return c.refuse(error);
    if (!p.isSet(xlsx) && !p.isSet(pdf)) {
        const QByteArray csv = reports::gridToCsv(Outlook_Grid(result));
        std::fwrite(csv.constData(), 1, size_t(csv.size()), stdout);
        std::fflush(stdout);
    }
    return Success;
}

} // namespace velmora::cli
