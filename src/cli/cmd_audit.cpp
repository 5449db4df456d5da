#include "cli/Command.h"

#include "db/AuditLog.h"
#include "files/ReportGrid.h"
#include "services/AuditView.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

namespace velmora::cli {
namespace {

const QString kSynopsis = QStringLiteral("audit list [--from DD/MM/YYYY] [--to DD/MM/YYYY] [--user NAME] [--kind KIND] "
                                         "[--sapid ID] [--json] | audit verify [--printed SEQ:HEX]");

int runList(Context& c, const QCommandLineParser& p)
{
    audit::Filter filter;
    for (const char* name : {"from", "to"}) {
        const QString option = QLatin1String(name);
        if (!p.isSet(option))
            continue;
        const std::optional<QDate> day = audit::parseFilterDate(p.value(option));
        if (!day)
            return c.usage(QStringLiteral("--%1: a date DD/MM/YYYY is wanted, not %2").arg(option, p.value(option)));
        (option == QLatin1String("from") ? filter.from : filter.to) = day;
    }
    filter.user = p.value(QStringLiteral("user"));
    filter.kind = p.value(QStringLiteral("kind"));
    filter.sapid = p.value(QStringLiteral("sapid"));

    auto database = c.openDatabase();
    if (!database)
        return Refused;
    std::vector<audit::Entry> entries;
    QString error;
    if (!audit::listAuditTrail(*database, filter, false, &entries, &error))
        return c.refuse(error);
    if (p.isSet(QStringLiteral("json"))) {
        QJsonArray rows;
        for (const audit::Entry& e : entries)
            rows.append(audit::entryJson(e));
        c.out(QString::fromUtf8(QJsonDocument(rows).toJson(QJsonDocument::Indented)));
        return Success;
    }
    const QByteArray csv = reports::gridToCsv(audit::entryGrid(entries));
    std::fwrite(csv.constData(), 1, size_t(csv.size()), stdout);
    std::fflush(stdout);
    return Success;
}

// The small print of a document against the trail as it is now.
int runVerifyPrinted(Context& c, const QString& printed)
{
    QString why;
    const std::optional<audit::PrintedValue> value = audit::parsePrintedValue(printed, &why);
    if (!value)
        return c.usage(QStringLiteral("--printed: ") + why);
    auto database = c.openDatabase();
    if (!database)
        return Refused;
    const audit::VerifyResult r = audit::verifyPrintedTrail(*database, *value);
    if (!r.ok)
        return c.refuse(QStringLiteral("ค่าที่พิมพ์บนเอกสาร %1 ไม่ตรงกับประวัติการใช้งาน: %2")
                            .arg(audit::printedText(*value), r.problem));
    c.outLine(QStringLiteral("ok printed %1: ค่าที่พิมพ์บนเอกสารตรงกับประวัติการใช้งาน").arg(audit::printedText(*value)));
    return Success;
}

int runVerify(Context& c)
{
    auto database = c.openDatabase();
    if (!database)
        return Refused;
    const audit::VerifyResult r = audit::verifyAuditTrail(*database);
    if (!r.ok)
        return c.refuse(r.problem);
    qint64 seq = 0;
    QString chain;
    QString error;
    if (!audit::chainHead(*database, &seq, &chain, &error))
        return c.refuse(error);
    c.outLine(QStringLiteral("ok %1").arg(r.count));
    if (seq > 0)
        c.outLine(QStringLiteral("latest %1 %2").arg(seq).arg(chain));
    return Success;
}

int runAudit(Context& c)
{
    QCommandLineParser p;
    p.addOptions({{QStringLiteral("from"), QStringLiteral("first day"), QStringLiteral("DD/MM/YYYY")},
        {QStringLiteral("to"), QStringLiteral("last day"), QStringLiteral("DD/MM/YYYY")},
        {QStringLiteral("user"), QStringLiteral("user name"), QStringLiteral("NAME")},
        {QStringLiteral("kind"), QStringLiteral("event kind"), QStringLiteral("KIND")},
        {QStringLiteral("sapid"), QStringLiteral("SAP ID"), QStringLiteral("ID")},
        {QStringLiteral("json"), QStringLiteral("JSON instead of CSV")},
        {QStringLiteral("printed"), QStringLiteral("the small print of a document"), QStringLiteral("SEQ:HEX")}});
    if (!c.parse(p, 1, kSynopsis))
        return Usage;
    const QString action = p.positionalArguments().at(0);
    const bool printed = p.isSet(QStringLiteral("printed"));
    if (action == QLatin1String("verify"))
        return printed ? runVerifyPrinted(c, p.value(QStringLiteral("printed"))) : runVerify(c);
    if (printed)
        return c.usage(QStringLiteral("--printed belongs to audit verify"));
    if (action == QLatin1String("list"))
        return runList(c, p);
    return c.usage(QStringLiteral("usage: velmora-cli ") + kSynopsis);
}

const Registration reg({QStringLiteral("audit"), kSynopsis, false, runAudit});

} // namespace
} // namespace velmora::cli
