// Speed of the second pair of eyes from the command line, and what a login
// costs a command.
//
//   bench_check [--calculations N] [--runs R] [--db URL]
//
// Fills a new database (a temporary SQLite file, or a schema of its own on the
// PostgreSQL server of URL, dropped afterwards) with N saved calculations
// awaiting their check (saved by "officer"), and two users whose passwords
// are hashed as the program hashes them (argon2id at the interactive limits):
// "checker" (checker) and "admin" (every role). Then, R times each, and prints
// the median and the range of the wall-clock times of whole velmora-cli runs:
//   1. velmora-cli --login checker verify <the N SAP IDs> (all set back to
//      waiting before each run);
//   2. a data command that needs no login and writes nothing: velmora-cli init
//      on the filled database;
//   3. a data command that logs in and writes nothing:
//      velmora-cli --login admin four-eyes on (on already).
// The login's cost is the difference of 3 and 2.

#include "db/Users.h"
#include "support/BenchSupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QSqlQuery>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace velmora;

namespace {

using bench::Fail;

const QString kPassword = QStringLiteral("bench-pw1");

// One velmora-cli run: its wall-clock time in ms; fails unless it exits 0 with
// `expected` in its output.
double Timed_Cli(const QStringList& args, const QByteArray& input, const QString& expected)
{
    QProcess p;
    QElapsedTimer timer;
    timer.start();
    p.start(QStringLiteral(VELMORA_CLI), args);
    p.write(input);
    p.closeWriteChannel();
    if (!p.waitForFinished(600000))
        Fail(QStringLiteral("velmora-cli did not finish"));
    const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0 || !out.contains(expected))
        Fail(QStringLiteral("velmora-cli %1: %2")
                 .arg(args.join(QLatin1Char(' ')).left(120), QString::fromUtf8(p.readAllStandardError()).trimmed()));
    return ms;
}

struct Spread
{
    double median;
    double low;
    double high;
};

Spread Of(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    const size_t n = times.size();
    const double median = n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
    return {median, times.front(), times.back()};
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    bench::Log_In_With_Every_Role();
    int calculations = 1000;
    int runs = 5;
    QString url;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--calculations"))
            calculations = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--runs"))
            runs = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--db"))
            url = args[i + 1];
        else
            Fail(QStringLiteral("usage: bench_check [--calculations N] [--runs R] [--db URL]"));
    }
    if (calculations < 1 || runs < 1)
        Fail(QStringLiteral("N and R must be at least 1"));

    const bench::Bench_Database bench(url, QStringLiteral("bench_check"));
    const db::Database& db = bench.db();
    QString error;
    if (!db::addUser(
            db, QStringLiteral("checker"), kPassword, QString(), QString(), &error, {QStringLiteral("checker")})
        || !db::addUser(db, QStringLiteral("admin"), kPassword, QString(), QString(), &error, db::allRoleNames()))
        Fail(error);
    QStringList sapids;
    {
        db::Transaction tx(db);
        bench::Employee_Inserts insert(db);
        QSqlQuery check = db.query();
        if (!check.prepare(
                QStringLiteral("INSERT INTO EP_Calc_Check (SapID, Check_State, Saved_By) VALUES (?, 'W', ?)")))
            Fail(QStringLiteral("cannot prepare the check rows"));
        for (int i = 0; i < calculations; ++i) {
            const QString sap = bench::Sap(i);
            bench::Exec(db, insert.saved,
                {sap, QStringLiteral("31%1").arg(i, 11, 10, QLatin1Char('0')), QStringLiteral("12/2026"),
                    QStringLiteral("09/12/2569"), QStringLiteral("01/10/2560"), QStringLiteral("31/12/2569"), 3379, 9,
                    3, 0, 20000.0 + i, 8, 0.0, 8 * (20000.0 + i), QStringLiteral("FC")});
            bench::Exec(db, check, {sap, QStringLiteral("officer")});
            sapids << sap;
        }
        if (!tx.commit(&error))
            Fail(error);
    }
    const QString dbArg = QStringLiteral("--db=") + bench.url();
    const QByteArray password = (kPassword + QLatin1Char('\n')).toUtf8();

    std::vector<double> verify;
    std::vector<double> noLogin;
    std::vector<double> withLogin;
    for (int run = 0; run < runs; ++run) {
        QSqlQuery reset = db.query();
        if (!reset.exec(
                QStringLiteral("UPDATE EP_Calc_Check SET Check_State = 'W', Checked_By = NULL, Checked_At = NULL")))
            Fail(QStringLiteral("cannot set the checks back"));
        verify.push_back(Timed_Cli({dbArg, QStringLiteral("--login"), QStringLiteral("checker"),
                                       QStringLiteral("verify"), sapids.join(QLatin1Char(','))},
            password, QStringLiteral("ตรวจสอบแล้ว %1 รายการ").arg(calculations)));
        noLogin.push_back(Timed_Cli({dbArg, QStringLiteral("init")}, {}, QStringLiteral("ไม่ได้เปลี่ยนแปลง")));
        withLogin.push_back(Timed_Cli({dbArg, QStringLiteral("--login"), QStringLiteral("admin"),
                                          QStringLiteral("four-eyes"), QStringLiteral("on")},
            password, QStringLiteral("เปิด")));
    }
    const auto show = [](const char* what, const Spread& s) {
        std::printf("%-58s median %7.0f ms (%0.f to %0.f)\n", what, s.median, s.low, s.high);
    };
    std::printf(
        "database: %s, %d saved calculations, %d runs each\n", qPrintable(db.dialect().name()), calculations, runs);
    show("velmora-cli verify of every calculation (login included)", Of(verify));
    show("velmora-cli init on the filled database (no login)", Of(noLogin));
    show("velmora-cli --login admin four-eyes on (nothing written)", Of(withLogin));
    std::printf("%-58s median %7.0f ms\n", "the login's share of a command", Of(withLogin).median - Of(noLogin).median);
    return 0;
}
