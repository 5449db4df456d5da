#include "cli/Command.h"

#include "files/ReportGrid.h"
#include "files/XlsxExport.h"
#include "pages/AnnexPage.h"
#include "pages/PageRenderer.h"
#include "services/MonthEndRun.h"
#include "services/SavedCalculations.h"

#include <cstdio>

namespace velmora::cli {
namespace {

const QString kSynopsis = QStringLiteral("run --month MM/YYYY (--ends MM/YYYY | --sapids A,B,...) [--department NAME]"
                                         " [--type CODE] [--save] [--json | --xlsx OUT] [--pdf OUT]");

QString Q(const std::string& text)
{
    return QString::fromStdString(text);
}

void Write(const QByteArray& bytes, std::FILE* to)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), to);
    std::fflush(to);
}

// The request document and the annex of every saved line, in the run's order.
bool Write_Run_Pdf(const db::Database& db, const run::Run_Preview& preview, const QString& out, QString* error)
{
    QList<print::PageLayout> pages;
    for (const run::Run_Line& l : preview.lines) {
        if (l.state != run::Line_State::Saved)
            continue;
        print::AnnexDocument document;
        if (!print::readAnnexDocument(db, Q(l.sapid), &document, error))
            return false;
        pages << print::buildCalculationPrint(document);
    }
    if (pages.isEmpty()) {
        *error = QStringLiteral("ไม่มีรายการที่บันทึกแล้วสำหรับพิมพ์");
        return false;
    }
    return print::writePdf(out, pages, error);
}

int runRun(Context& c)
{
    QCommandLineParser p;
    const QCommandLineOption month(QStringLiteral("month"), QStringLiteral("request month"), QStringLiteral("MM/YYYY"));
    const QCommandLineOption ends(
        QStringLiteral("ends"), QStringLiteral("contracts ending in this month"), QStringLiteral("MM/YYYY"));
    const QCommandLineOption sapids(
        QStringLiteral("sapids"), QStringLiteral("comma-separated SAP IDs"), QStringLiteral("A,B"));
    const QCommandLineOption department(
        QStringLiteral("department"), QStringLiteral("department name"), QStringLiteral("NAME"));
    const QCommandLineOption type(
        QStringLiteral("type"), QStringLiteral("employment type code"), QStringLiteral("CODE"));
    const QCommandLineOption save(QStringLiteral("save"), QStringLiteral("save the ready lines"));
    const QCommandLineOption json(QStringLiteral("json"), QStringLiteral("print the run as JSON"));
    const QCommandLineOption xlsx(QStringLiteral("xlsx"), QStringLiteral("export workbook"), QStringLiteral("OUT"));
    const QCommandLineOption pdf(
        QStringLiteral("pdf"), QStringLiteral("request documents and annexes"), QStringLiteral("OUT"));
    p.addOptions({month, ends, sapids, department, type, save, json, xlsx, pdf});
    if (!c.parse(p, 0, kSynopsis))
        return Usage;
    const QString usage = QStringLiteral("\nusage: velmora-cli ") + kSynopsis;
    if (!p.isSet(month))
        return c.usage(QStringLiteral("--month MM/YYYY is required") + usage);
    if (p.isSet(ends) == p.isSet(sapids))
        return c.usage(QStringLiteral("give either --ends MM/YYYY or --sapids A,B,...") + usage);
    if (p.isSet(sapids) && (p.isSet(department) || p.isSet(type)))
        return c.usage(QStringLiteral("--department and --type choose among contract ends, not a SAP ID list") + usage);
    if (p.isSet(json) && p.isSet(xlsx))
        return c.usage(QStringLiteral("--json and --xlsx exclude each other") + usage);
    if (p.isSet(pdf) && !p.isSet(save))
        return c.usage(QStringLiteral("--pdf prints the lines this run saves: add --save") + usage);

    run::Run_Choice choice;
    choice.request_month = p.value(month).toStdString();
    if (p.isSet(sapids)) {
        for (const QString& id : p.value(sapids).split(QLatin1Char(',')))
            choice.sapids.push_back(id.toStdString());
        if (choice.sapids.empty() || (choice.sapids.size() == 1 && choice.sapids[0].empty()))
            choice.sapids = {" "}; // an empty list: refused as "no SAP ID given"
    } else {
        choice.ends_month = p.value(ends).toStdString();
    }
    choice.department = p.value(department).toStdString();
    choice.work_type = p.value(type).toStdString();
    // bad input is refused before any database is opened or created
    const std::string bad = run::Check_Run_Choice(choice);
    if (!bad.empty())
        return c.refuse(Q(bad));

    auto database = c.openDatabase(p.isSet(save) ? Context::Use::Writing : Context::Use::Reading);
    if (!database)
        return Refused;
    run::Run_Preview preview;
    std::string error;
    if (!run::Preview_Run(*database, choice, &preview, &error))
        return c.refuse(Q(error));

    if (p.isSet(save)) {
        const run::Save_Outcome outcome = run::Save_Run(*database, preview, run::Ready_Marks(preview));
        if (!outcome.error.empty())
            return c.refuse(Q(outcome.error));
        // each outcome on stderr; the lines on stdout carry their states
        for (const run::Run_Line& l : preview.lines)
            if (l.state == run::Line_State::Saved)
                Write((QStringLiteral("บันทึกแล้ว ") + Q(l.sapid) + QLatin1Char('\n')).toUtf8(), stderr);
            else
                Write(
                    (QStringLiteral("ไม่ได้บันทึก ") + Q(l.sapid) + QStringLiteral(": ") + Q(l.reason) + QLatin1Char('\n'))
                        .toUtf8(),
                    stderr);
    }

    if (p.isSet(json)) {
        Write(QByteArray::fromStdString(run::Run_Json(preview.request_month, preview.lines)), stdout);
    } else if (p.isSet(xlsx)) {
        QString exportError;
        if (!reports::exportGrid(run::Run_Report_Grid(preview.lines), run::Run_Export_Options(preview.request_month),
                p.value(xlsx), &exportError))
            return c.refuse(exportError);
    } else {
        Write(reports::gridToCsv(run::Run_Report_Grid(preview.lines)), stdout);
    }

    if (p.isSet(pdf)) {
        QString pdfError;
        if (!Write_Run_Pdf(*database, preview, p.value(pdf), &pdfError))
            return c.refuse(pdfError);
    }
    return run::Compute_Run_Totals(preview.lines).refused > 0 ? Refused : Success;
}

const Registration reg({QStringLiteral("run"), kSynopsis, true, runRun});

} // namespace
} // namespace velmora::cli
