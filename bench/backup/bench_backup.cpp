// What backups, the database check and the move to a server cost at an
// office's size.
//
//   bench_backup generate FILE            an SQLite database of 50,000
//                                         employees, 100,000 periods, 10,000
//                                         saved calculations (two detail rows
//                                         each) and 1,000,000 audit rows
//   bench_backup backup FILE [RUNS]       backups of it: the copy, the quick
//                                         and the full checks, timed apart
//                                         (medians of RUNS, default 3)
//   bench_backup check FILE [RUNS]        SQLite's quick check of the database
//   bench_backup copy FILE PGURL          one `copy --to` into a new schema of
//                                         the PostgreSQL server (the steps and
//                                         their times; the schema is dropped)
//
// bench/backup/pgloader.sh runs `velmora-cli copy` and pgloader on the same
// file in turns and compares them.

#include "db/AuditLog.h"
#include "db/ReadSnapshot.h"
#include "db/Schema.h"
#include "db/SqliteFile.h"
#include "services/Backup.h"
#include "support/BenchSupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUrl>
#include <QUrlQuery>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace velmora;

namespace {

using bench::Exec;
using bench::Fail;
using bench::Sap;

constexpr int kEmployees = 50000;
constexpr int kSaved = 10000;
constexpr int kAuditRows = 1000000;

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

int Generate(const QString& file)
{
    QFile::remove(file);
    auto db = bench::Open_Database(QStringLiteral("sqlite:") + file);
    QElapsedTimer t;
    t.start();
    {
        db::Transaction tx(*db);
        bench::Employee_Inserts insert(*db);
        QSqlQuery detail = db->query();
        detail.prepare(QStringLiteral("INSERT INTO EP_mRec_Money_Detail (SapID, Work_Type_Code, Date_B_cal, "
                                      "Date_E_Cal, Sum_Day, Sum_Month, Sum_Month_Weight) VALUES (?, ?, ?, ?, ?, ?, ?)"));
        for (int i = 0; i < kEmployees; ++i) {
            const QString sap = Sap(i);
            const QString ssn = QStringLiteral("3%1").arg(i, 12, 10, QLatin1Char('0'));
            const bool saved = i < kSaved;
            Exec(*db, insert.employee,
                {sap, ssn, QStringLiteral("นาย"), QStringLiteral("ทดสอบ%1").arg(i), QStringLiteral("ระบบ"),
                    QStringLiteral("01/01/1980"), QStringLiteral("01/10/2006"), QStringLiteral("2"),
                    QStringLiteral("30/09/2024"), QStringLiteral("%1").arg(10 + i % 40), 20000.0 + i * 0.25,
                    saved ? QStringLiteral("P") : QStringLiteral("A")});
            Exec(*db, insert.reason, {sap, QStringLiteral("ครบกำหนดระยะเวลาการจ้างตามสัญญา")});
            Exec(*db, insert.period,
                {sap, ssn, QStringLiteral("3"), QStringLiteral("พนักงานส่วนงาน"), QStringLiteral("01/10/2549"),
                    QStringLiteral("30/09/2551")});
            Exec(*db, insert.period,
                {sap, ssn, QStringLiteral("2"), QStringLiteral("พนักงานมหาวิทยาลัย"), QStringLiteral("01/10/2551"),
                    QStringLiteral("30/09/2567")});
            if (!saved)
                continue;
            Exec(*db, insert.saved,
                {sap, ssn, QStringLiteral("09/2024"), QStringLiteral("30/09/2567"), QStringLiteral("01/10/2549"),
                    QStringLiteral("30/09/2567"), 6575, 18, 0, 0, 20000.0 + i * 0.25, 10, 0.0, 200000.0 + i * 2.5,
                    QStringLiteral("FC")});
            Exec(*db, detail,
                {sap, QStringLiteral("3"), QStringLiteral("01/10/2549"), QStringLiteral("30/09/2551"), 730, 24, 24.0});
            Exec(*db, detail,
                {sap, QStringLiteral("2"), QStringLiteral("01/10/2551"), QStringLiteral("30/09/2567"), 5844, 192,
                    192.0});
        }
        QString error;
        if (!tx.commit(&error))
            Fail(error);
    }
    bench::Fill_Audit_Log(*db, kAuditRows);
    db.reset();
    std::printf("generated %s: %d employees, %d periods, %d saved calculations, %d audit rows, %.1f MB, in %.1f s\n",
        qPrintable(file), kEmployees, 2 * kEmployees, kSaved, kAuditRows,
        static_cast<double>(QFileInfo(file).size()) / (1024.0 * 1024.0), static_cast<double>(t.elapsed()) / 1000.0);
    return 0;
}

int Backup(const QString& file, int runs)
{
    auto db = bench::Open_Database(QStringLiteral("sqlite:") + file);
    QTemporaryDir dir(QFileInfo(file).absolutePath() + QStringLiteral("/bench-backup-XXXXXX"));
    std::vector<double> copy, quick, full, whole;
    for (int run = 0; run < runs; ++run) {
        const QString target = dir.filePath(QStringLiteral("copy-%1.sqlite").arg(run));
        QString error;
        QElapsedTimer t;
        t.start();
        {
            const db::ReadSnapshot snapshot(*db);
            if (!db::copySqliteDatabase(*db, target, {}, &error))
                Fail(error);
        }
        copy.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
        t.restart();
        backup::FileCheck c = backup::checkBackupFile(target, backup::Check::Quick);
        quick.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
        if (!c.ok)
            Fail(c.problem);
        t.restart();
        c = backup::checkBackupFile(target, backup::Check::Full);
        full.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
        if (!c.ok)
            Fail(c.problem);
        QFile::remove(target);
        // The automatic backup as the officer meets it: the service, copy and quick check.
        t.restart();
        const backup::BackupReport r = backup::backupDatabase(*db, target, backup::Check::Quick);
        whole.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
        if (!r.ok)
            Fail(r.error);
        QFile::remove(target);
        std::printf("run %d: copy %.0f ms, quick check %.0f ms, full check %.0f ms, automatic backup %.0f ms\n", run,
            copy.back(), quick.back(), full.back(), whole.back());
    }
    std::printf("medians of %d (%.1f MB): page copy %.0f ms; check of the copy: quick %.0f ms, full %.0f ms; "
                "automatic backup (copy + quick check) %.0f ms; backup command (copy + full check) %.0f ms\n",
        runs, static_cast<double>(QFileInfo(file).size()) / (1024.0 * 1024.0), Median(copy), Median(quick),
        Median(full), Median(whole), Median(copy) + Median(full));
    return 0;
}

int Check(const QString& file, int runs)
{
    auto db = bench::Open_Database(QStringLiteral("sqlite:") + file);
    std::vector<double> ms;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer t;
        t.start();
        QString error;
        const std::optional<QStringList> found = db::checkSqliteDatabase(*db, true, &error);
        ms.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
        if (!found || found->value(0) != QLatin1String("ok"))
            Fail(found ? found->join(QStringLiteral("; ")) : error);
        std::printf("quick check run %d: %.0f ms\n", run, ms.back());
    }
    std::printf("quick check, median of %d: %.0f ms (%.1f MB)\n", runs, Median(ms),
        static_cast<double>(QFileInfo(file).size()) / (1024.0 * 1024.0));
    return 0;
}

int Copy(const QString& file, const QString& server)
{
    auto source = bench::Open_Database(QStringLiteral("sqlite:") + file);
    const QString schema = QStringLiteral("bench_copy_%1").arg(QCoreApplication::applicationPid());
    QString error;
    auto admin = db::Database::open(server, &error);
    if (!admin)
        Fail(error);
    QSqlQuery q = admin->query();
    if (!q.exec(QStringLiteral("CREATE SCHEMA ") + schema))
        Fail(q.lastError().text());
    QUrl u(server);
    QUrlQuery query(u);
    query.addQueryItem(QStringLiteral("schema"), schema);
    u.setQuery(query);
    QElapsedTimer t;
    t.start();
    QString step;
    QElapsedTimer stepClock;
    stepClock.start();
    const backup::CopyReport r = backup::copyDatabase(*source, u.toString(), [&](const QString& now, qint64, qint64) {
        if (now == step)
            return;
        if (!step.isEmpty())
            std::printf("  %s: %.0f ms\n", step.toUtf8().constData(), static_cast<double>(stepClock.restart()));
        step = now;
    });
    std::printf("  %s: %.0f ms\n", step.toUtf8().constData(), static_cast<double>(stepClock.elapsed()));
    const double ms = static_cast<double>(t.elapsed());
    q.exec(QStringLiteral("SET client_min_messages TO WARNING"));
    q.exec(QStringLiteral("DROP SCHEMA ") + schema + QStringLiteral(" CASCADE"));
    if (!r.ok)
        Fail(r.error);
    std::printf("copy to PostgreSQL: %.1f s, latest %lld %s\n", ms / 1000.0, static_cast<long long>(r.seq),
        qPrintable(r.chain));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    bench::Log_In_With_Every_Role();
    const QStringList args = app.arguments().mid(1);
    const QString what = args.value(0);
    const int runs = args.value(2).isEmpty() ? 3 : args.value(2).toInt();
    if (what == QLatin1String("generate") && args.size() == 2)
        return Generate(args[1]);
    if (what == QLatin1String("backup") && args.size() >= 2)
        return Backup(args[1], runs);
    if (what == QLatin1String("check") && args.size() >= 2)
        return Check(args[1], runs);
    if (what == QLatin1String("copy") && args.size() == 3)
        return Copy(args[1], args[2]);
    std::fprintf(stderr,
        "usage: bench_backup generate FILE | backup FILE [RUNS] | check FILE [RUNS] | copy FILE PGURL\n");
    return 2;
}
