// What the audit log costs.
//
//   bench_audit verify [ROWS] [DB-URL]     fills a log of ROWS rows (default
//                                          1,000,000), then times audit verify
//   bench_audit save [SAVES] [DB-URL] [--server]
//                                          SAVES calculations saved one by one;
//                                          the log's own work timed apart, in
//                                          processor and in wall-clock time;
//                                          --server: on PostgreSQL after
//                                          server-setup (the owner's URL), the
//                                          rows by the server's function and
//                                          the money tables' triggers
//   bench_audit import FILE [DB-URL]       an employee workbook saved twice
//                                          (inserts, then updates); the log's
//                                          own work timed apart
//
// The log's share is measured, not guessed: the same steps the save runs for
// its row (building the details, reading the snapshot, writing the row) are
// run again on their own inside a transaction that is rolled back, and the
// share is that time over the rest of the save.

#include "db/AuditLog.h"
#include "db/LocalAddress.h"
#include "db/Schema.h"
#include "rules/Calculation.h"
#include "services/AuditEvents.h"
#include "services/CalculationService.h"
#include "services/ImportJobs.h"
#include "services/ServerSetup.h"
#include "support/BenchSupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonObject>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <vector>

using namespace velmora;

namespace {

using bench::Cpu_Ms;
using bench::Exec;
using bench::Fail;
using bench::Sap;

double Ms(qint64 ns)
{
    return static_cast<double>(ns) / 1e6;
}

int Verify(const QString& url, int rows)
{
    auto db = bench::Open_Database(url);
    QElapsedTimer t;
    t.start();
    bench::Fill_Audit_Log(*db, rows);
    std::printf("filled %d rows in %.0f ms\n", rows, Ms(t.nsecsElapsed()));
    t.restart();
    const double cpu = Cpu_Ms();
    const audit::VerifyResult r = audit::verifyAuditLog(*db);
    const double ms = Ms(t.nsecsElapsed());
    const double cpuMs = Cpu_Ms() - cpu;
    if (!r.ok)
        Fail(r.problem);
    std::printf("audit verify: %lld rows in %.0f ms wall, %.0f ms processor (%.2f us a row)\n",
        static_cast<long long>(r.count), ms, cpuMs, cpuMs * 1000.0 / static_cast<double>(r.count));
    return 0;
}

// The same two periods for everybody: every save computes the same figures.
void Fill_Employees(const db::Database& db, int employees)
{
    db::Transaction tx(db);
    bench::Employee_Inserts insert(db);
    for (int i = 0; i < employees; ++i) {
        const QString sap = Sap(i);
        const QString ssn = QStringLiteral("3%1").arg(i, 12, 10, QLatin1Char('0'));
        Exec(db, insert.employee,
            {sap, ssn, QStringLiteral("นาย"), QStringLiteral("ทดสอบ%1").arg(i), QStringLiteral("ระบบ"),
                QStringLiteral("01/01/1980"), QStringLiteral("01/10/2006"), QStringLiteral("2"),
                QStringLiteral("30/09/2024"), QStringLiteral("11"), 20000.0 + i, QStringLiteral("A")});
        Exec(db, insert.reason, {sap, QStringLiteral("ครบกำหนดระยะเวลาการจ้างตามสัญญา")});
        Exec(db, insert.period,
            {sap, ssn, QStringLiteral("3"), QStringLiteral("พนักงานส่วนงาน"), QStringLiteral("01/10/2549"),
                QStringLiteral("30/09/2551")});
        Exec(db, insert.period,
            {sap, ssn, QStringLiteral("2"), QStringLiteral("พนักงานมหาวิทยาลัย"), QStringLiteral("01/10/2551"),
                QStringLiteral("30/09/2567")});
    }
    QString error;
    if (!tx.commit(&error))
        Fail(error);
}

struct Samples
{
    std::vector<double> cpu, wall;
    void add(double cpuMs, double wallMs)
    {
        cpu.push_back(cpuMs);
        wall.push_back(wallMs);
    }
};

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

double Mean(const std::vector<double>& v)
{
    return v.empty() ? 0 : std::accumulate(v.begin(), v.end(), 0.0) / static_cast<double>(v.size());
}

int Save(const QString& url, int saves, bool onServer)
{
    auto db = bench::Open_Database(url);
    Fill_Employees(*db, saves);
    QString setupError;
    if (onServer && !server::setUp(*db, QStringLiteral("bench_admin"), QStringLiteral("bench-pw-1"), &setupError))
        Fail(setupError);
    if (onServer != db->serverRoles())
        Fail(QStringLiteral("the server's audit function is not in use"));
    // The actor as the command line sets it at start.
    audit::setActor(
        {audit::operatingSystemUser(), QLatin1String(audit::kOriginCli), QString::fromStdString(Local_IP_Address())});
    Samples whole, row, details;
    QElapsedTimer wall;
    for (int i = 0; i < saves; ++i) {
        std::string error;
        calc::Calculation_Input in;
        if (!calc::Load_Calculation_Input(
                *db, Sap(i).toStdString(), "10/2024", std::nullopt, std::nullopt, &in, &error))
            Fail(QString::fromStdString(error));
        const calc::Calculation c = calc::Run_Calculation(in);
        double start = Cpu_Ms();
        wall.start();
        if (!calc::Save_Calculation(*db, in, c, "09/12/2569", &error))
            Fail(QString::fromStdString(error));
        whole.add(Cpu_Ms() - start, Ms(wall.nsecsElapsed()));
        // The log's own steps once more, rolled back. Nothing else is timed
        // inside the row's window (a reading of the process's clock is a
        // system call of about a microsecond): the details are timed alone
        // afterwards.
        db::Transaction tx(*db);
        start = Cpu_Ms();
        wall.start();
        const auto rowDetails = audit::calculationSavedDetails(in, c);
        if (!audit::recordJson(*db, QLatin1String(audit::kind::kCalculationSaved), Sap(i), rowDetails, &error))
            Fail(QString::fromStdString(error));
        row.add(Cpu_Ms() - start, Ms(wall.nsecsElapsed()));
        start = Cpu_Ms();
        wall.start();
        const auto again = audit::calculationSavedDetails(in, c);
        details.add(Cpu_Ms() - start, Ms(wall.nsecsElapsed()));
        if (again != rowDetails)
            Fail(QStringLiteral("the details differ between two runs"));
    }
    auto share = [](double part, double all) { return 100.0 * part / (all - part); };
    std::printf("save: %d saves, medians a save (means in brackets)\n", saves);
    std::printf("  processor: save with its log row %.3f ms (%.3f); the row %.3f ms (%.3f) = %.1f %% of the rest"
                " (%.1f %% by means); building the details %.3f ms\n",
        Median(whole.cpu), Mean(whole.cpu), Median(row.cpu), Mean(row.cpu), share(Median(row.cpu), Median(whole.cpu)),
        share(Mean(row.cpu), Mean(whole.cpu)), Median(details.cpu));
    std::printf("  wall:      save with its log row %.3f ms (%.3f); the row %.3f ms (%.3f) = %.1f %% of the rest"
                " (%.1f %% by means)\n",
        Median(whole.wall), Mean(whole.wall), Median(row.wall), Mean(row.wall),
        share(Median(row.wall), Median(whole.wall)), share(Mean(row.wall), Mean(whole.wall)));
    return 0;
}

int Import(const QString& file, const QString& url)
{
    auto db = bench::Open_Database(url);
    import::EmployeeWorkbook book;
    QString error;
    QElapsedTimer t;
    t.start();
    if (!import::loadEmployeeWorkbook(file, &book, &error))
        Fail(error);
    std::printf(
        "load: %zu employees in %.0f ms (SHA-256 of the file included)\n", book.employees.size(), Ms(t.nsecsElapsed()));
    // The second round raises every salary by one baht: every employee is updated.
    import::EmployeeWorkbook raised = book;
    for (QStringList& row : raised.employees) {
        const double salary = row.value(11).remove(QLatin1Char(',')).toDouble();
        row[11] = QString::number(salary + 1.0, 'f', 2);
    }
    for (const auto& [round, grid] : {std::pair {"insert", &book}, std::pair {"update", &raised}}) {
        import::EmployeeSaveCounts counts;
        double start = Cpu_Ms();
        if (!import::saveEmployeeWorkbook(*db, *grid, &counts, &error))
            Fail(error);
        const double whole = Cpu_Ms() - start;
        // The log's steps on their own, in a transaction rolled back: a change
        // noted per updated employee (old and new salary texts among the
        // logged columns, as the save notes them) and the row with its details.
        // the amounts as the save holds them (numbers read back and written),
        // made before the clock starts
        std::vector<std::pair<double, double>> salaries;
        for (size_t i = 0; i < book.employees.size(); ++i)
            salaries.emplace_back(QString(book.employees[i].value(11)).remove(QLatin1Char(',')).toDouble(),
                QString(grid->employees.at(i).value(11)).remove(QLatin1Char(',')).toDouble());
        db::Transaction tx(*db);
        start = Cpu_Ms();
        audit::ImportChanges changes({QStringLiteral("SapID")},
            {QStringLiteral("Surname"), QStringLiteral("F_Name"), QStringLiteral("L_Name"),
                QStringLiteral("Work_Begin_Date_Text"), QStringLiteral("Work_Type_Code"),
                QStringLiteral("Work_End_Date_Text"), QStringLiteral("Depart_Code"), QStringLiteral("Money_Rate")});
        if (counts.employees.updated > 0) {
            // as the save notes a change: the texts of the logged columns
            // compared, the amounts written as text only when they differ
            for (size_t i = 0; i < book.employees.size(); ++i) {
                const QStringList& was = book.employees[i];
                const QStringList& now = grid->employees.at(i);
                std::vector<audit::ImportChanges::ColumnChange> changed;
                const int cells[] = {3, 4, 5, 7, 8, 9, 10};
                for (int logged = 0; logged < 7; ++logged) {
                    if (was.value(cells[logged]) != now.value(cells[logged]))
                        changed.push_back({logged, was.value(cells[logged]), now.value(cells[logged])});
                }
                const double before = salaries[i].first;
                const double after = salaries[i].second;
                if (before != after)
                    changed.push_back({7, QString::number(before, 'f', 2), QString::number(after, 'f', 2)});
                changes.note({was.value(1).trimmed()}, std::move(changed));
            }
        }
        if (!audit::recordImport(*db, QLatin1String(audit::kind::kImportEmployees), book.sourcePath,
                book.sourceSha256, QJsonObject(), changes, &error))
            Fail(error);
        const double logPart = Cpu_Ms() - start;
        std::printf("save (%s, %d inserted, %d updated): %.0f ms processor with the log; the log's own work %.0f ms"
                    " = %.1f %% of the rest\n",
            round, counts.employees.inserted, counts.employees.updated, whole, logPart,
            100.0 * logPart / (whole - logPart));
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    bench::Log_In_With_Every_Role();
    const QStringList args = app.arguments();
    QTemporaryDir dir;
    const QString fallback = QStringLiteral("sqlite:") + dir.filePath(QStringLiteral("bench.sqlite"));
    const QString what = args.value(1);
    if (what == QLatin1String("verify"))
        return Verify(args.value(3, fallback), args.value(2, QStringLiteral("1000000")).toInt());
    if (what == QLatin1String("save"))
        return Save(args.value(3, fallback), args.value(2, QStringLiteral("1000")).toInt(),
            args.value(4) == QLatin1String("--server"));
    if (what == QLatin1String("import") && args.size() > 2)
        return Import(args.value(2), args.value(3, fallback));
    std::fprintf(stderr, "usage: bench_audit verify [ROWS] [DB-URL] | save [SAVES] [DB-URL] [--server] | import FILE [DB-URL]\n");
    return 2;
}
