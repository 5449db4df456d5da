#include "cli/Command.h"

#include "services/ImportJobs.h"

namespace velmora::cli {
namespace {

// The rows stored although their SSN fails its check digit, on stderr.
void warnAboutSsns(const Context& c, const QStringList& warnings)
{
    if (warnings.isEmpty())
        return;
    c.errLine(import::ssnWarningsHeading(int(warnings.size())));
    for (const QString& line : warnings)
        c.errLine(line);
}

int runImportEmployees(Context& c)
{
    QCommandLineParser p;
    const QString synopsis = QStringLiteral("import-employees FILE   (.xlsx or .xls, four sheets)");
    if (!c.parse(p, 1, synopsis))
        return Usage;
    auto database = c.openDatabase(Context::Use::Writing);
    if (!database)
        return Refused;
    import::EmployeeSaveCounts counts;
    QString error;
    if (!import::importEmployeeWorkbook(*database, p.positionalArguments().at(0), &counts, &error))
        return c.refuse(error);
    c.outLine(import::savedMessage());
    for (const QString& line : import::describeCounts(counts))
        c.outLine(line);
    warnAboutSsns(c, import::ssnWarnings(counts));
    return Success;
}

int runImportHistory(Context& c)
{
    QCommandLineParser p;
    const QString synopsis = QStringLiteral("import-history FILE   (.xlsx or .xls, sheet 1)");
    if (!c.parse(p, 1, synopsis))
        return Usage;
    auto database = c.openDatabase(Context::Use::Writing);
    if (!database)
        return Refused;
    import::TableCounts counts;
    QString error;
    if (!import::importHistoryWorkbook(*database, p.positionalArguments().at(0), &counts, &error))
        return c.refuse(error);
    c.outLine(import::savedMessage());
    c.outLine(QStringLiteral("ประวัติการจ้าง: ") + import::describeCounts(counts).join(QString()));
    warnAboutSsns(c, counts.warnings);
    return Success;
}

const Registration employees(
    {QStringLiteral("import-employees"), QStringLiteral("import-employees FILE"), false, runImportEmployees});
const Registration history(
    {QStringLiteral("import-history"), QStringLiteral("import-history FILE"), false, runImportHistory});

} // namespace
} // namespace velmora::cli
