// A backup taken while another process saves a month-end run is a
// consistent copy: its audit chain verifies to the value the database had
// at that moment, and every saved calculation in it has its details and its
// log row. Runs on SQLite (page copy) and on PostgreSQL (tables read in one
// snapshot into an SQLite file).

#include "db/Database.h"
#include "services/Backup.h"
#include "support/CalcTestData.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

using velmora::test::Test_Employee;
using velmora::test::TestDatabase;
namespace backup = velmora::backup;
namespace db = velmora::db;
namespace test = velmora::test;

namespace {

constexpr int kEmployees = 250;

qint64 scalarOf(const db::Database& database, const QString& sql)
{
    QSqlQuery q = database.query();
    EXPECT_TRUE(q.exec(sql) && q.next()) << sql.toStdString();
    return q.value(0).toLongLong();
}

TEST(Backup_Consistency, ABackupDuringAMonthEndSaveIsWhole)
{
    TestDatabase t;
    {
        db::Transaction tx(t.db());
        test::Add_Lookups(t);
        for (int i = 0; i < kEmployees; ++i) {
            Test_Employee e;
            e.sapid = QStringLiteral("3%1").arg(i, 7, 10, QLatin1Char('0'));
            e.ssn = QStringLiteral("SSN%1").arg(i);
            test::Add_Employee(t, e);
            test::Add_Period(
                t, e.sapid, e.ssn, QStringLiteral("3"), QStringLiteral("01/10/2549"), QStringLiteral("30/09/2551"));
            test::Add_Period(
                t, e.sapid, e.ssn, QStringLiteral("2"), QStringLiteral("01/10/2551"), QStringLiteral("30/09/2555"));
        }
        ASSERT_TRUE(tx.commit());
    }
    t.addLogin();
    QTemporaryDir dir;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
    QProcess run;
    run.setProcessEnvironment(env);
    run.start(QStringLiteral(VELMORA_CLI),
        {QStringLiteral("--db"), t.url(), QStringLiteral("--login"), QStringLiteral("tester"), QStringLiteral("run"), QStringLiteral("--month"), QStringLiteral("10/2012"),
            QStringLiteral("--ends"), QStringLiteral("09/2012"), QStringLiteral("--save")});
    ASSERT_TRUE(run.waitForStarted());
    run.write("tester-pw1\n");
    run.closeWriteChannel();

    int taken = 0;
    int midway = 0;
    QElapsedTimer clock;
    clock.start();
    for (bool finished = false; !finished;) {
        finished = run.waitForFinished(1) || run.state() == QProcess::NotRunning;
        ASSERT_LT(clock.elapsed(), 180000) << "the run did not end";
        const QString file = dir.filePath(QStringLiteral("copy-%1.sqlite").arg(taken++));
        // The check inside (integrity, version, the whole chain to the
        // snapshot's last value) must pass.
        const backup::BackupReport r = backup::backupDatabase(t.db(), file, backup::Check::Full);
        ASSERT_TRUE(r.ok) << r.error.toStdString();
        QString error;
        auto copy = db::Database::openSqliteForReading(file, &error);
        ASSERT_TRUE(copy) << error.toStdString();
        const qint64 saved = scalarOf(*copy, QStringLiteral("SELECT COUNT(*) FROM EP_mRec_Money_Chodchoy"));
        EXPECT_EQ(scalarOf(*copy,
                      QStringLiteral("SELECT COUNT(*) FROM EP_mRec_Money_Chodchoy m WHERE NOT EXISTS "
                                     "(SELECT 1 FROM EP_mRec_Money_Detail d WHERE d.SapID = m.SapID)")),
            0)
            << "a saved calculation without its details in " << file.toStdString();
        EXPECT_EQ(scalarOf(*copy,
                      QStringLiteral("SELECT COUNT(*) FROM EP_Audit_Log WHERE Event_Kind = 'calculation-saved'")),
            saved)
            << "saved calculations and their log rows differ in " << file.toStdString();
        EXPECT_EQ(scalarOf(*copy, QStringLiteral("SELECT COUNT(*) FROM EP_Emp_Main WHERE Emp_RecMChod_Status = 'P'")),
            saved);
        if (saved > 0 && saved < kEmployees)
            ++midway;
        copy.reset();
        QFile::remove(file);
    }
    ASSERT_EQ(run.exitStatus(), QProcess::NormalExit);
    ASSERT_EQ(run.exitCode(), 0) << run.readAllStandardError().toStdString();
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT COUNT(*) FROM EP_mRec_Money_Chodchoy")).toInt(), kEmployees);
    // Backups must have landed inside the run, or the test proves nothing.
    EXPECT_GE(midway, 2) << taken << " backups taken";
}

} // namespace
