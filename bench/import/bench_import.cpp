// Measures one import as the screen runs it: load the workbook into grid rows,
// then save them into a database in one transaction.
//   bench_import employees|history FILE DB-URL [--twice]
//   bench_import import-employees|import-history FILE DB-URL [--twice]
//   bench_import read FILE
// Prints the load and save times and the peak resident memory of the process.
// "read" streams every sheet of the workbook through the reader row by row
// (typed cells, nothing kept), as a floor for the load and a check that the
// reader's memory does not grow with the rows. "import-employees" and
// "import-history" run the command line's import, which reads each sheet row
// by row as it saves it (no grid): its time is printed as the save's, load 0.
// Run each case in its own process so the peak belongs to that case.

#include "db/Database.h"
#include "db/Schema.h"
#include "files/Workbook.h"
#include "services/ImportJobs.h"
#include "services/Rights.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <sys/resource.h>

#include <cstdio>

using namespace velmora;

namespace {

double cpuSeconds()
{
    rusage u {};
    getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec)
        + static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

long peakKb()
{
    rusage u {};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

int readOnly(const QString& path)
{
    QElapsedTimer t;
    t.start();
    const double cpu = cpuSeconds();
    QString error;
    auto book = import::openWorkbook(path, &error);
    if (!book) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    long long rows = 0, cells = 0;
    double sum = 0; // so that nothing read can be left out
    for (int sheet = 1; sheet <= book->sheetCount(); ++sheet) {
        QString name;
        const bool ok = book->readRows(
            sheet, &name,
            [&](int, std::vector<import::Cell>& row, QString*) {
                ++rows;
                for (const import::Cell& c : row) {
                    if (c.kind != import::Cell::Kind::Empty) {
                        ++cells;
                        sum += c.number + static_cast<double>(c.text.size());
                    }
                }
                return true;
            },
            &error);
        if (!ok) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
    }
    std::printf("read rows=%lld cells=%lld time=%lld ms (cpu %.0f ms) peak=%ld MB check=%.0f\n", rows, cells,
        static_cast<long long>(t.elapsed()), (cpuSeconds() - cpu) * 1000, peakKb() / 1024, sum);
    return 0;
}

// The command line's streamed import, once or twice into the same database.
int streamed(bool employees, const QString& path, db::Database& database, int rounds)
{
    QElapsedTimer total;
    total.start();
    for (int round = 1; round <= rounds; ++round) {
        QElapsedTimer t;
        t.start();
        const double cpu = cpuSeconds();
        QString error;
        QStringList counts;
        bool ok;
        if (employees) {
            import::EmployeeSaveCounts c;
            ok = import::importEmployeeWorkbook(database, path, &c, &error);
            counts = import::describeCounts(c);
        } else {
            import::TableCounts c;
            ok = import::importHistoryWorkbook(database, path, &c, &error);
            counts = import::describeCounts(c);
        }
        if (!ok) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
        std::printf("%s streamed load=0 ms (cpu 0 ms) save%d=%lld ms (cpu %.0f ms) (%s)\n",
            employees ? "employees" : "history", round, static_cast<long long>(t.elapsed()),
            (cpuSeconds() - cpu) * 1000, qPrintable(counts.value(0)));
    }
    std::printf("total=%lld ms peak=%ld MB\n", static_cast<long long>(total.elapsed()), peakKb() / 1024);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    // the services ask for a login: the benchmark holds every role
    rights::setLogin({QStringLiteral("bench"), rights::allRoles()});
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == QLatin1String("read"))
        return readOnly(args[2]);
    if (args.size() < 4) {
        std::fprintf(stderr, "usage: bench_import employees|history FILE DB-URL [--twice]\n");
        return 2;
    }
    const bool employees = args[1].endsWith(QLatin1String("employees"));
    QString error;
    auto database = db::Database::open(args[3], &error);
    if (!database || !db::ensureSchema(*database, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    const int rounds = args.contains(QStringLiteral("--twice")) ? 2 : 1;
    if (args[1].startsWith(QLatin1String("import-")))
        return streamed(employees, args[2], *database, rounds);

    QElapsedTimer total;
    total.start();
    QElapsedTimer t;
    t.start();
    double cpu = cpuSeconds();
    import::EmployeeWorkbook eb;
    import::HistoryWorkbook hb;
    const bool loaded = employees ? import::loadEmployeeWorkbook(args[2], &eb, &error)
                                  : import::loadHistoryWorkbook(args[2], &hb, &error);
    if (!loaded) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    const qint64 loadMs = t.elapsed();
    const double loadCpu = cpuSeconds() - cpu;
    const size_t rows = employees ? eb.employees.size() : hb.periods.size();
    for (int round = 1; round <= rounds; ++round) {
        t.restart();
        cpu = cpuSeconds();
        QStringList counts;
        bool ok;
        if (employees) {
            import::EmployeeSaveCounts c;
            ok = import::saveEmployeeWorkbook(*database, eb, &c, &error);
            counts = import::describeCounts(c);
        } else {
            import::TableCounts c;
            ok = import::saveHistoryWorkbook(*database, hb, &c, &error);
            counts = import::describeCounts(c);
        }
        if (!ok) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
        std::printf("%s rows=%zu load=%lld ms (cpu %.0f ms) save%d=%lld ms (cpu %.0f ms) (%s)\n",
            employees ? "employees" : "history", rows, static_cast<long long>(loadMs), loadCpu * 1000, round,
            static_cast<long long>(t.elapsed()), (cpuSeconds() - cpu) * 1000, qPrintable(counts.value(0)));
    }
    std::printf("total=%lld ms peak=%ld MB\n", static_cast<long long>(total.elapsed()), peakKb() / 1024);
    return 0;
}
