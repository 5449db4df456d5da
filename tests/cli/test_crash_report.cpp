// A fatal error leaves a trace: velmora-cli killed by each fatal signal while
// it waits for a password writes crash-YYYYMMDD-HHMMSS.txt in the user's data
// folder (program, version, the cause, a stack trace) and says so on stderr;
// the reports not yet shown are listed once.

#include "services/CrashReport.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>

namespace {

// Whether the process has its handler for `sig` in place (Linux: the caught
// signals of /proc/PID/status).
bool catches(qint64 pid, int sig)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (!line.startsWith("SigCgt:"))
            continue;
        bool ok = false;
        const quint64 mask = line.mid(7).trimmed().toULongLong(&ok, 16);
        return ok && (mask & (quint64(1) << (sig - 1))) != 0;
    }
    return false;
}

TEST(Crash_Report, EachFatalSignalLeavesAReportListedOnce)
{
    struct Case
    {
        int sig;
        const char* cause;
    };
    const Case cases[] = {
        {SIGSEGV, "fatal signal SIGSEGV"},
        {SIGABRT, "fatal signal SIGABRT"},
        {SIGFPE, "fatal signal SIGFPE"},
        {SIGBUS, "fatal signal SIGBUS"},
    };
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("data/velmora"));
    QStringList seen;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cause);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_DATA_HOME"), dir.filePath(QStringLiteral("data")));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
        env.remove(QStringLiteral("VELMORA_DB"));
        QProcess p;
        p.setProcessEnvironment(env);
        // It waits on standard input for the login's password.
        p.start(QStringLiteral(VELMORA_CLI),
            {QStringLiteral("--db"), QStringLiteral("sqlite:") + dir.filePath(QStringLiteral("office.sqlite")),
                QStringLiteral("--login"), QStringLiteral("demo"), QStringLiteral("report"),
                QStringLiteral("contract-end")});
        ASSERT_TRUE(p.waitForStarted(10000));
        const QDeadlineTimer deadline(20000);
        while (!catches(p.processId(), c.sig) && !deadline.hasExpired() && p.state() == QProcess::Running)
            QThread::msleep(20);
        ASSERT_TRUE(catches(p.processId(), c.sig)) << "the handler was never installed";
        ::kill(static_cast<pid_t>(p.processId()), c.sig);
        ASSERT_TRUE(p.waitForFinished(20000));
        EXPECT_EQ(p.exitStatus(), QProcess::CrashExit) << "it must still die of the signal";
        const QString err = QString::fromUtf8(p.readAllStandardError());
        EXPECT_TRUE(err.contains(QLatin1String("report written to"))) << err.toStdString();

        const QStringList reports = velmora::crash::reportsAfter(folder, seen.isEmpty() ? QString() : seen.last());
        ASSERT_EQ(reports.size(), 1) << "one new report: " << reports.join(' ').toStdString();
        EXPECT_TRUE(QFileInfo(reports.first()).fileName().startsWith(QLatin1String("crash-")));
        QFile report(reports.first());
        ASSERT_TRUE(report.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(report.readAll());
        EXPECT_TRUE(text.contains(QLatin1String("program: velmora-cli"))) << text.toStdString();
        EXPECT_TRUE(text.contains(QLatin1String("version: "))) << text.toStdString();
        EXPECT_TRUE(text.contains(QLatin1String(c.cause))) << text.toStdString();
        EXPECT_TRUE(text.contains(QLatin1String("velmora-cli("))) << "no stack trace: " << text.toStdString();
        EXPECT_EQ(report.permissions() & (QFileDevice::ReadOther | QFileDevice::ReadGroup), QFileDevice::Permissions())
            << "a crash report is its owner's alone";
        seen << QFileInfo(reports.first()).fileName();
        // Two reports in one second would share a name: a second apart.
        QThread::msleep(1100);
    }
    EXPECT_EQ(velmora::crash::reportsAfter(folder, QString()).size(), static_cast<qsizetype>(std::size(cases)));
    EXPECT_TRUE(velmora::crash::reportsAfter(folder, seen.last()).isEmpty()) << "shown reports are listed again";
}

} // namespace
