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

} // namespace velmora::test
