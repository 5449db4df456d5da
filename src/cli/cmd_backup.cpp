// Backups, restore and the move to another server on the command line.
#include "cli/Command.h"

#include "services/Backup.h"

#include <QDir>

#include <cstdio>

namespace velmora::cli {
namespace {

void printTables(const Context& c, const std::vector<backup::TableFigures>& tables)
{
    for (const backup::TableFigures& t : tables)
        c.outLine(QStringLiteral("rows %1 %2").arg(t.table).arg(t.rows));
}

void printChain(const Context& c, qint64 seq, const QString& chain)
{
    c.outLine(QStringLiteral("latest %1 %2").arg(seq).arg(chain));
}

// Each step on stderr when it starts and when it ends, and every tenth on the way.
backup::StepProgress stderrProgress()
{
    return [step = QString(), tenth = -1](const QString& now, qint64 done, qint64 total) mutable {
        const int at = total > 0 ? static_cast<int>(done * 10 / total) : 0;
        if (now == step && at == tenth && done != total)
            return;
        step = now;
        tenth = at;
        const QString line = total > 0 ? QStringLiteral("%1: %2/%3\n").arg(now).arg(done).arg(total)
                                       : now + QLatin1Char('\n');
        const QByteArray utf8 = line.toUtf8();
        std::fwrite(utf8.constData(), 1, static_cast<size_t>(utf8.size()), stderr);
        std::fflush(stderr);
    };
}

int runBackup(Context& c)
{
    QCommandLineParser p;
    const QCommandLineOption to(QStringLiteral("to"), QStringLiteral("the backup file"), QStringLiteral("FILE"));
    p.addOption(to);
    const QString synopsis = QStringLiteral("backup [--to FILE]");
    if (!c.parse(p, 0, synopsis))
        return Usage;
    auto database = c.openDatabase();
    if (!database)
        return Refused;
    const backup::BackupReport r = backup::backupDatabase(*database, p.value(to), backup::Check::Full);
    if (!r.ok)
        return c.refuse(r.error);
    c.outLine(QStringLiteral("file ") + QDir::toNativeSeparators(r.file));
    c.outLine(QStringLiteral("size %1").arg(r.bytes));
    printTables(c, r.tables);
    printChain(c, r.seq, r.chain);
    return Success;
}

int runRestore(Context& c)
{
    QCommandLineParser p;
    const QString synopsis = QStringLiteral("restore FILE");
    if (!c.parse(p, 1, synopsis))
        return Usage;
    // The login is asked of the database to be replaced; the connection is
    // then let go, as an open one would keep the file in use.
    if (!c.openDatabase())
        return Refused;
    const backup::RestoreReport r = backup::restoreDatabase(c.databaseUrl(), p.positionalArguments().at(0));
    if (!r.ok)
        return c.refuse(r.error);
    c.outLine(QStringLiteral("restored ") + QDir::toNativeSeparators(p.positionalArguments().at(0)));
    if (!r.kept.isEmpty())
        c.outLine(QStringLiteral("kept ") + QDir::toNativeSeparators(r.kept));
    return Success;
}

int runCopy(Context& c)
{
    QCommandLineParser p;
    const QCommandLineOption to(QStringLiteral("to"), QStringLiteral("the empty target database"), QStringLiteral("URL"));
    p.addOption(to);
    const QString synopsis = QStringLiteral("copy --to URL");
    if (!c.parse(p, 0, synopsis))
        return Usage;
    if (!p.isSet(to))
        return c.usage(QStringLiteral("--to URL is required\nusage: velmora-cli ") + synopsis);
    auto database = c.openDatabase();
    if (!database)
        return Refused;
    const backup::CopyReport r = backup::copyDatabase(*database, p.value(to), stderrProgress());
    if (!r.ok)
        return c.refuse(r.error);
    for (size_t i = 0; i < r.source.size(); ++i)
        c.outLine(QStringLiteral("table %1 %2 %3 %4")
                      .arg(r.source[i].table)
                      .arg(r.source[i].rows)
                      .arg(r.target[i].rows)
                      .arg(r.target[i].checksum));
    printChain(c, r.seq, r.chain);
    return Success;
}

const Registration backupCommand(
    {QStringLiteral("backup"), QStringLiteral("backup [--to FILE]"), false, runBackup});
const Registration restoreCommand(
    {QStringLiteral("restore"), QStringLiteral("restore FILE"), false, runRestore});
const Registration copyCommand(
    {QStringLiteral("copy"), QStringLiteral("copy --to URL"), false, runCopy});

} // namespace
} // namespace velmora::cli
