// A killed import leaves the database exactly as it was. velmora-cli
// import-employees runs as a child process on a generated workbook of a few
// thousand employees and is killed with SIGKILL at seeded moments while it
// holds its write transaction; the tables are dumped before and after and
// compared. Runs on SQLite and on PostgreSQL.
//
// VELMORA_FAULT_SEED picks other moments; VELMORA_FAULT_ROUNDS more kills.

#include "CliRunner.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>

using velmora::test::TestDatabase;
namespace db = velmora::db;

namespace {

const QStringList kTables = {QStringLiteral("EP_Emp_Main"), QStringLiteral("EP_Reason_out"),
    QStringLiteral("EP_TR_Event_Out"), QStringLiteral("EP_TR_Work_Type"), QStringLiteral("EP_TR_Depart"),
    QStringLiteral("EP_TR_Cal_Money"), QStringLiteral("EP_Work_Histry"), QStringLiteral("EP_mRec_Money_Chodchoy"),
    QStringLiteral("EP_mRec_Money_Detail"), QStringLiteral("EP_mRep_Rec_Money"), QStringLiteral("EP_TR_User"),
    QStringLiteral("EP_TR_Version")};

// Every row of every table, in the order of all its columns.
QString dump(const db::Database& database)
{
    return velmora::test::dumpTables(database, kTables);
}

int employees(const TestDatabase& t)
{
    return t.scalar(QStringLiteral("SELECT COUNT(*) FROM EP_Emp_Main")).toInt();
}

QString generate(const QTemporaryDir& dir, const QString& name, int rows)
{
    const QString folder = dir.filePath(name);
    QDir().mkpath(folder);
    QProcess p;
    p.start(QStringLiteral(VELMORA_WORKBOOK_GENERATOR), {folder, QString::number(rows), QStringLiteral("2")});
    EXPECT_TRUE(p.waitForFinished(120000) && p.exitCode() == 0) << p.readAllStandardError().toStdString();
    return folder + QStringLiteral("/employees.xlsx");
}

constexpr int kSecondRows = 30000;

QProcess* startImport(const TestDatabase& t, const QString& workbook)
{
    auto* p = new QProcess;
    p->setProgram(QStringLiteral(VELMORA_CLI));
    p->setArguments({QStringLiteral("--login"), velmora::test::kTesterLogin.name, QStringLiteral("--db"), t.url(),
        QStringLiteral("import-employees"), workbook});
    p->start();
    p->write((velmora::test::kTesterLogin.password + QLatin1Char('\n')).toUtf8());
    p->closeWriteChannel();
    return p;
}

// True while another connection holds an open write transaction: on SQLite
// the write lock cannot be taken without waiting; on PostgreSQL another
// session holds a row-changing lock on the employee table.
class Writer_Watch
{
public:
    explicit Writer_Watch(const TestDatabase& t)
        : m_t(t)
    {
        if (!t.isPostgres()) {
            db::Database::setBusyTimeout(0);
            m_probe = t.openAnother();
            db::Database::setBusyTimeout(10000);
        }
    }

    bool writing() const
    {
        if (m_t.isPostgres())
            return m_t.scalar(QStringLiteral("SELECT COUNT(*) FROM pg_locks WHERE pid <> pg_backend_pid() "
                                             "AND relation = to_regclass('ep_emp_main') AND mode = 'RowExclusiveLock'"))
                       .toInt()
                > 0;
        // the login's own short write (a few milliseconds) is not the save
        const auto locked = [this] {
            const db::Transaction tx(*m_probe);
            return !tx.active();
        };
        if (!locked())
            return false;
        QThread::msleep(20);
        return locked();
    }

private:
    const TestDatabase& m_t;
    std::unique_ptr<db::Database> m_probe;
};

TEST(Killed_Import, LeavesTheDatabaseExactlyAsItWas)
{
    const quint32 seed = qEnvironmentVariableIsSet("VELMORA_FAULT_SEED")
        ? static_cast<quint32>(qEnvironmentVariableIntValue("VELMORA_FAULT_SEED"))
        : 15u;
    const int rounds =
        qEnvironmentVariableIsSet("VELMORA_FAULT_ROUNDS") ? qEnvironmentVariableIntValue("VELMORA_FAULT_ROUNDS") : 4;
    QTemporaryDir dir;
    // The first 2,000 employees are stored already; the killed import would
    // update them and add 3,000 more.
    const QString first = generate(dir, QStringLiteral("first"), 2000);
    // Large enough that the save holds its write transaction for a while even
    // with the streaming reader.
    const QString second = generate(dir, QStringLiteral("second"), kSecondRows);

    TestDatabase t;
    t.addLogin();
    {
        std::unique_ptr<QProcess> p(startImport(t, first));
        ASSERT_TRUE(p->waitForFinished(120000));
        ASSERT_EQ(p->exitCode(), 0) << p->readAllStandardError().toStdString();
    }
    ASSERT_EQ(employees(t), 2000);
    const Writer_Watch watch(t);

    QRandomGenerator random(seed);
    struct Round
    {
        QString before;
        QString after;
        bool killed = false;
        int delay = 0;
    };
    std::vector<Round> done;
    for (int round = 0; round < rounds; ++round) {
        Round r;
        r.before = dump(t.db());
        std::unique_ptr<QProcess> child(startImport(t, second));
        ASSERT_TRUE(child->waitForStarted());
        bool writing = false;
        QElapsedTimer clock;
        clock.start();
        while (!writing && child->state() != QProcess::NotRunning && clock.elapsed() < 120000) {
            writing = watch.writing();
            if (!writing)
                child->waitForFinished(2);
        }
        // A seeded moment inside the save.
        r.delay = static_cast<int>(random.bounded(120));
        if (writing && !child->waitForFinished(r.delay))
            ::kill(static_cast<pid_t>(child->processId()), SIGKILL);
        // (it may have ended already, while it was being watched)
        if (child->state() != QProcess::NotRunning) {
            ASSERT_TRUE(child->waitForFinished(120000));
        }
        r.killed = child->exitStatus() == QProcess::CrashExit;
        if (!r.killed) {
            EXPECT_EQ(child->exitCode(), 0) << child->readAllStandardError().toStdString();
        }
        r.after = dump(t.db());
        done.push_back(r);
    }
    // The whole import, for comparison: a kill during the commit itself may
    // rightly leave all of it saved, never a part.
    {
        std::unique_ptr<QProcess> p(startImport(t, second));
        ASSERT_TRUE(p->waitForFinished(120000));
        ASSERT_EQ(p->exitCode(), 0) << p->readAllStandardError().toStdString();
    }
    const QString complete = dump(t.db());
    ASSERT_EQ(employees(t), kSecondRows);

    int rolledBack = 0;
    for (std::size_t i = 0; i < done.size(); ++i) {
        const Round& r = done[i];
        EXPECT_TRUE(r.after == r.before || r.after == complete)
            << "round " << i << " (seed " << seed << ", killed " << r.killed << ", " << r.delay
            << " ms into the save): a part of the import was kept";
        if (r.killed && r.after == r.before && r.before != complete)
            ++rolledBack;
    }
    // Most kills must land inside the save, or the test proves nothing.
    EXPECT_GE(rolledBack, (rounds + 1) / 2) << "the import ended before its kill too often";
    std::fprintf(stderr, "killed import (%s): %d of %d kills inside the save, database unchanged after each, seed %u\n",
        t.isPostgres() ? "PostgreSQL" : "SQLite", rolledBack, rounds, seed);
}

} // namespace
