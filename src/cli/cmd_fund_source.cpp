// The fund-source report and the approval memo on the command line; reached
// through `report fund-source` and `print memo`.

#include "cli/cmd_fund_source.h"

#include "files/XlsxExport.h"
#include "pages/MemoPage.h"
#include "pages/OrganisationSettings.h"
#include "pages/PageRenderer.h"
#include "rules/Utility.h"
#include "services/ApprovalMemo.h"
#include "services/FundSource.h"
#include "services/ReportExports.h"

#include <QCommandLineOption>
#include <QJsonArray>
#include <QSet>

#include <cstdio>

namespace velmora::cli {

namespace {

using namespace velmora::reports;

const QString kReportSynopsis = QStringLiteral(
    "report fund-source --from DD/MM/YYYY --to DD/MM/YYYY [--source 2|3] [--department NAME] [--unprinted] "
    "[--xlsx OUT]");
const QString kMemoSynopsis = QStringLiteral(
    "print memo --from DD/MM/YYYY --to DD/MM/YYYY [--source 2|3] [--unprinted] --sapids A,B [--department NAME] "
    "[--routing payroll|faculty] [--reason contract|retire] --pdf OUT");

const QCommandLineOption kFrom(
    QStringLiteral("from"), QStringLiteral("first save date (Buddhist era)"), QStringLiteral("DD/MM/YYYY"));
const QCommandLineOption kTo(
    QStringLiteral("to"), QStringLiteral("last save date (Buddhist era)"), QStringLiteral("DD/MM/YYYY"));
const QCommandLineOption kSource(
    QStringLiteral("source"), QStringLiteral("fund source: 2 university, 3 unit"), QStringLiteral("2|3"));
const QCommandLineOption kUnprinted(
    QStringLiteral("unprinted"), QStringLiteral("only calculations whose memo was never printed"));
const QCommandLineOption kDepartment(
    QStringLiteral("department"), QStringLiteral("department name"), QStringLiteral("NAME"));

// Reads the search options shared by both commands; false after a usage error.
bool readCriteria(
    Context& c, const QCommandLineParser& p, const QString& synopsis, FundSourceCriteria* criteria, int* status)
{
    if (!p.isSet(kFrom) || !p.isSet(kTo)) {
        *status = c.usage(QStringLiteral("--from and --to are required\nusage: velmora-cli ") + synopsis);
        return false;
    }
    criteria->from = p.value(kFrom);
    criteria->to = p.value(kTo);
    if (p.isSet(kSource)) {
        const QString source = p.value(kSource);
        if (source != QLatin1String("2") && source != QLatin1String("3")) {
            *status = c.usage(QStringLiteral("--source takes 2 or 3\nusage: velmora-cli ") + synopsis);
            return false;
        }
        criteria->sourceCode = source;
    }
    criteria->unprintedOnly = p.isSet(kUnprinted);
    return true;
}

void note(const QString& text)
{
    const QByteArray bytes = (text + QLatin1Char('\n')).toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
}

// The rows of the search written to standard output as CSV.
class CsvRows : public FundSourceRows
{
public:
    void titles(const QStringList& titles) override { m_csv.row(titles); }
    void line(const QStringList& cells, const FundSourceLine&) override { m_csv.row(cells); }
    void last(const QStringList& cells) override { m_csv.row(cells); }

private:
    CsvLines m_csv {kFundSourceColumns,
        [](const QByteArray& line) { std::fwrite(line.constData(), 1, size_t(line.size()), stdout); }};
};

} // namespace

int runFundSourceReport(Context& c)
{
    const QCommandLineOption xlsx(QStringLiteral("xlsx"), QStringLiteral("export workbook"), QStringLiteral("OUT"));
    QCommandLineParser p;
    p.addOptions({kFrom, kTo, kSource, kDepartment, kUnprinted, xlsx});
    if (!c.parse(p, 1, kReportSynopsis))
        return Usage;
    FundSourceCriteria criteria;
    int status = Success;
    if (!readCriteria(c, p, kReportSynopsis, &criteria, &status))
        return status;
    if (p.isSet(kDepartment))
        criteria.department = p.value(kDepartment);
    auto database = c.openDatabase();
    if (!database)
        return Refused;
    if (!p.isSet(xlsx)) {
        // CSV on standard output a line at a time as the search yields it.
        CsvRows rows;
        const FundSourceRun run = runFundSource(*database, criteria, rows);
        std::fflush(stdout);
        if (!run.ok)
            return c.refuse(run.error);
        if (!run.found)
            note(notFoundMessage());
        return Success;
    }
    const FundSourceResult result = queryFundSource(*database, criteria);
    if (!result.ok)
        return c.refuse(result.error);
    if (!result.found)
        note(notFoundMessage());
    QString error;
    const QJsonObject filters {{QStringLiteral("arguments"), QJsonArray::fromStringList(c.args())}};
    if (exportReport(database.get(), result.grid, fundSourceExport(departmentTitle(criteria.department)), filters,
            {p.value(xlsx), QString(), QDateTime()}, &error)
            .isEmpty())
        return c.refuse(error);
    return Success;
}

int runMemoPrint(Context& c)
{
    const QCommandLineOption sapids(
        QStringLiteral("sapids"), QStringLiteral("SAP IDs of the lines, comma-separated"), QStringLiteral("A,B"));
    const QCommandLineOption routing(
        QStringLiteral("routing"), QStringLiteral("payroll (default) or faculty"), QStringLiteral("payroll|faculty"));
    const QCommandLineOption reason(
        QStringLiteral("reason"), QStringLiteral("contract (default) or retire"), QStringLiteral("contract|retire"));
    const QCommandLineOption pdf(QStringLiteral("pdf"), QStringLiteral("the PDF file to write"), QStringLiteral("OUT"));
    QCommandLineParser p;
    p.addOptions({kFrom, kTo, kSource, kUnprinted, sapids, kDepartment, routing, reason, pdf});
    if (!c.parse(p, 1, kMemoSynopsis))
        return Usage;
    FundSourceCriteria criteria;
    int status = Success;
    if (!readCriteria(c, p, kMemoSynopsis, &criteria, &status))
        return status;
    if (!p.isSet(sapids) || !p.isSet(pdf) || p.value(pdf).isEmpty())
        return c.usage(QStringLiteral("--sapids and --pdf are required\nusage: velmora-cli ") + kMemoSynopsis);
    print::MemoRouting routedTo = print::MemoRouting::Payroll;
    print::MemoReason reasonGiven = print::MemoReason::ContractEnd;
    const QString route = p.isSet(routing) ? p.value(routing) : QStringLiteral("payroll");
    if (route == QLatin1String("faculty"))
        routedTo = print::MemoRouting::Faculty;
    else if (route != QLatin1String("payroll"))
        return c.usage(QStringLiteral("--routing takes payroll or faculty"));
    const QString why = p.isSet(reason) ? p.value(reason) : QStringLiteral("contract");
    if (why == QLatin1String("retire"))
        reasonGiven = print::MemoReason::Retirement;
    else if (why != QLatin1String("contract"))
        return c.usage(QStringLiteral("--reason takes contract or retire"));

    QStringList wanted;
    for (const std::string& id : Split_Sap_Id_List(p.value(sapids).toStdString()))
        wanted << QString::fromStdString(id);

    auto database = c.openDatabase(Context::Use::Writing);
    if (!database)
        return Refused;
    // The lines of every department, marked as the officer would mark them.
    const ListedSelection listed = selectListedLines(*database, criteria, wanted);
    if (!listed.ok)
        return c.refuse(listed.error);
    std::optional<QString> department;
    if (p.isSet(kDepartment))
        department = p.value(kDepartment);
    const ApprovalMemo memo = prepareApprovalMemo(*database, listed.selection, department,
        routedTo == print::MemoRouting::Faculty ? QStringLiteral("faculty") : QStringLiteral("payroll"));
    if (!memo.ok)
        return c.refuse(memo.error);
    QString error;
    const print::OrganisationData organisation = print::OrganisationSettings().load();
    const print::MemoContent content = print::memoContent(memo, routedTo, reasonGiven);
    if (!print::writePdf(p.value(pdf), {print::buildMemoPage(content, organisation)}, &error))
        return c.refuse(error);
    return Success;
}

} // namespace velmora::cli
