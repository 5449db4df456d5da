#pragma once

#include <QProcess>
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
// `input` and is then closed.
inline CliResult runCli(const QStringList& args, int timeoutMs = 60000, const QByteArray& input = {})
{
    QProcess p;
    p.setProgram(QStringLiteral(VELMORA_BINARY_DIR "/src/cli/velmora-cli"));
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
