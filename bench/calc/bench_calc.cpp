// Speed of the calculation with its database work.
//
//   bench_calc [--employees N] [--saves M] [--db URL]
//
// Fills a new database (a temporary SQLite file, or a schema of its own on the
// PostgreSQL server of URL, dropped afterwards) with N employees, each with
// two or three work-history periods, a fifth of them with an earlier payment
// under another number; then measures
//   1. the rules alone on one employee's input,
//   2. load and compute for one employee (the queries of pages 1 to 6),
//   3. M consecutive calculations with save, each its own transaction.

#include "rules/Calculation.h"
#include "services/CalculationService.h"
#include "support/BenchSupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>

using namespace velmora;

namespace {

using bench::Fail;
using bench::Sap;

double Ms(qint64 ns, int count)
{
    return static_cast<double>(ns) / 1e6 / count;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    bench::Log_In_With_Every_Role();
    int employees = 10000;
    int saves = 1000;
    QString url;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--employees"))
            employees = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--saves"))
            saves = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--db"))
            url = args[i + 1];
        else
            Fail(QStringLiteral("usage: bench_calc [--employees N] [--saves M] [--db URL]"));
    }
    saves = std::min(saves, employees);

    {
        const bench::Bench_Database bench(url, QStringLiteral("bench_calc"));
        const db::Database& db = bench.db();

        QElapsedTimer timer;
        timer.start();
        bench::Fill_Calculated_Employees(
            db, employees, [](int) { return QStringLiteral("30/09/2024"); }, [](int) { return QStringLiteral("11"); });
        std::printf("database: %s, %d employees filled in %.0f ms\n", qPrintable(db.dialect().name()), employees,
            Ms(timer.nsecsElapsed(), 1));

        // 1. The rules alone.
        calc::Calculation_Input input;
        // Employee 0: three periods and an earlier payment under another number.
        const std::string withEarlier = Sap(0).toStdString();
        std::string loadError;
        if (!calc::Load_Calculation_Input(db, withEarlier, "10/2024", std::nullopt, std::nullopt, &input, &loadError))
            Fail(QString::fromStdString(loadError));
        constexpr int kRules = 100000;
        timer.restart();
        std::size_t sink = 0;
        for (int i = 0; i < kRules; ++i)
            sink += calc::Run_Calculation(input).money.net_text.size();
        const double rulesMs = Ms(timer.nsecsElapsed(), kRules);

        // 2. Load and compute one employee, as pages 1 to 6 do.
        constexpr int kLoads = 1000;
        timer.restart();
        for (int i = 0; i < kLoads; ++i) {
            calc::Calculation_Input in;
            std::string message;
            if (!calc::Load_Calculation_Input(db, withEarlier, "10/2024", std::nullopt, std::nullopt, &in, &message))
                Fail(QString::fromStdString(message));
            const calc::Calculation c = calc::Run_Calculation(in);
            if (!c.ok())
                Fail(QString::fromStdString(c.error));
            sink += c.money.net_text.size();
        }
        const double loadMs = Ms(timer.nsecsElapsed(), kLoads);

        // 3. Consecutive calculations with save.
        const std::string dateEntry = "09/12/2569";
        timer.restart();
        for (int i = 0; i < saves; ++i) {
            calc::Calculation_Input in;
            std::string message;
            if (!calc::Load_Calculation_Input(
                    db, Sap(i).toStdString(), "10/2024", std::nullopt, std::nullopt, &in, &message))
                Fail(QString::fromStdString(message));
            const calc::Calculation c = calc::Run_Calculation(in);
            if (!calc::Save_Calculation(db, in, c, dateEntry, &message))
                Fail(QString::fromStdString(message));
        }
        const double saveMs = Ms(timer.nsecsElapsed(), saves);

        std::printf("rules only (one employee, %d runs):          %8.4f ms per calculation\n", kRules, rulesMs);
        std::printf("load + compute one employee (%d runs):        %8.3f ms per calculation\n", kLoads, loadMs);
        std::printf("load + compute + save, %d employees:          %8.3f ms per calculation\n", saves, saveMs);
        if (sink == 0)
            std::printf("?\n");
    }
    return 0;
}
