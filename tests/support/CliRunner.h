#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace velmora::test {

struct CliResult
{
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs the built velmora-cli with the given arguments; standard input gets
// `input` and is then closed. An empty `environment` is this process's own.
inline CliResult runCli(const QStringList& args, int timeoutMs = 60000, const QByteArray& input = {},
    const QProcessEnvironment& environment = {})
{
    QProcess p;
    p.setProgram(QStringLiteral(VELMORA_CLI));
    if (!environment.isEmpty())
        p.setProcessEnvironment(environment);
    p.setArguments(args);
    p.start();
    if (!input.isEmpty())
        p.write(input);
    p.closeWriteChannel();
    CliResult r;
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        r.err = QStringLiteral("timed out");
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

// Who a test logs in as on the command line.
struct CliLogin
{
    QString name;
    QString password;
};
// The login TestDatabase::addLogin adds, and the login of `init --demo`.
inline const CliLogin kTesterLogin {QStringLiteral("tester"), QStringLiteral("tester-pw1")};
inline const CliLogin kDemoLogin {QStringLiteral("demo"), QStringLiteral("demo1234")};

// velmora-cli logged in as `who`: --login NAME before the arguments, the
// password as the first line of standard input, then `more`.
inline CliResult runCliAs(const CliLogin& who, const QStringList& args, int timeoutMs = 60000,
    const QByteArray& more = {}, const QProcessEnvironment& environment = {})
{
    return runCli(QStringList {QStringLiteral("--login"), who.name} + args, timeoutMs,
        (who.password + QLatin1Char('\n')).toUtf8() + more, environment);
}

} // namespace velmora::test
