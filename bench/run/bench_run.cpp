// Speed of the month-end run.
//
//   bench_run [--employees N] [--run M] [--pdf K] [--db URL]
//
// Fills a new database (a temporary SQLite file, or a schema of its own on the
// PostgreSQL server of URL, dropped afterwards) with N employees as bench_calc
// does (two or three periods each, a fifth with an earlier payment), M of them
// with contracts ending in 09/2024; then measures
//   1. the preview of the run of that month (choose, load and compute each),
//   2. the save of every ready line, each its own transaction,
//   3. the PDF of the first K saved lines (request document + annex each).

#include "pages/AnnexPage.h"
#include "pages/PageRenderer.h"
#include "services/MonthEndRun.h"
#include "services/SavedCalculations.h"
#include "support/BenchSupport.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdio>

using namespace velmora;

namespace {

using bench::Cpu_Ms;
using bench::Fail;

double Ms(qint64 ns)
{
    return static_cast<double>(ns) / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    bench::Log_In_With_Every_Role();
    int employees = 50000;
    int inRun = 1000;
    int pdfLines = 1000;
    QString url;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--employees"))
            employees = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--run"))
            inRun = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--pdf"))
            pdfLines = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--db"))
            url = args[i + 1];
        else
            Fail(QStringLiteral("usage: bench_run [--employees N] [--run M] [--pdf K] [--db URL]"));
    }
    inRun = std::min(inRun, employees);

    QTemporaryDir dir; // the PDF
    QString error;
    {
        const bench::Bench_Database bench(url, QStringLiteral("bench_run"));
        const db::Database& db = bench.db();

        QElapsedTimer timer;
        timer.start();
        // The first inRun end in 09/2024, the others over the twelve months of 2025.
        bench::Fill_Calculated_Employees(
            db, employees,
            [inRun](int i) {
                return i < inRun ? QStringLiteral("30/09/2024")
                                 : QStringLiteral("28/%1/2025").arg(1 + i % 12, 2, 10, QLatin1Char('0'));
            },
            [](int i) { return QStringLiteral("1%1").arg(i % 9); });
        std::printf("database: %s, %d employees filled in %.0f ms\n", qPrintable(db.dialect().name()), employees,
            Ms(timer.nsecsElapsed()));

        run::Run_Choice choice;
        choice.request_month = "10/2024";
        choice.ends_month = "09/2024";
        run::Run_Preview preview;
        std::string message;
        double cpu = Cpu_Ms();
        timer.restart();
        if (!run::Preview_Run(db, choice, &preview, &message))
            Fail(QString::fromStdString(message));
        const double previewMs = Ms(timer.nsecsElapsed());
        const double previewCpu = Cpu_Ms() - cpu;
        const run::Run_Totals totals = run::Compute_Run_Totals(preview.lines);

        cpu = Cpu_Ms();
        timer.restart();
        const run::Save_Outcome saved = run::Save_Run(db, preview, run::Ready_Marks(preview));
        const double saveMs = Ms(timer.nsecsElapsed());
        const double saveCpu = Cpu_Ms() - cpu;
        if (!saved.error.empty())
            Fail(QString::fromStdString(saved.error));

        cpu = Cpu_Ms();
        timer.restart();
        QList<print::PageLayout> pages;
        int printed = 0;
        for (const run::Run_Line& l : preview.lines) {
            if (l.state != run::Line_State::Saved || printed == pdfLines)
                continue;
            print::AnnexDocument document;
            if (!print::readAnnexDocument(db, QString::fromStdString(l.sapid), &document, &error))
                Fail(error);
            pages << print::buildCalculationPrint(document);
            ++printed;
        }
        const double buildMs = Ms(timer.nsecsElapsed());
        timer.restart();
        if (printed > 0 && !print::writePdf(dir.filePath(QStringLiteral("run.pdf")), pages, &error))
            Fail(error);
        const double pdfMs = Ms(timer.nsecsElapsed());
        const double printCpu = Cpu_Ms() - cpu;

        std::printf("preview of the run: %zu lines (%d ready, %d refused): %8.0f ms (processor %.0f ms)\n",
            preview.lines.size(), totals.ready, totals.refused, previewMs, previewCpu);
        std::printf("save of the ready lines: %d saved, %d refused: %8.0f ms (processor %.0f ms)\n", saved.saved,
            saved.refused, saveMs, saveCpu);
        std::printf("print-out of %d saved lines (%lld pages): read+build %.0f ms, PDF %.0f ms (processor %.0f ms)\n",
            printed, static_cast<long long>(pages.size()), buildMs, pdfMs, printCpu);
    }
    return 0;
}
