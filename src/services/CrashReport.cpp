#include "services/CrashReport.h"

#include "db/Config.h"
#include "db/Database.h"
#include "services/CrashHandler.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QMutex>

namespace velmora::crash {

namespace {

QMutex g_lock;
QString g_action;

void setAction(const QString& action)
{
    QMutexLocker lock(&g_lock);
    g_action = action;
    os::setAction(action.toUtf8());
}

} // namespace

ActionInProgress::ActionInProgress(const QString& action)
    : m_outer(currentAction())
{
    setAction(action);
}

ActionInProgress::~ActionInProgress()
{
    setAction(m_outer);
}

QString currentAction()
{
    QMutexLocker lock(&g_lock);
    return g_action;
}

QString crashFolder()
{
    return QFileInfo(db::parseDatabaseUrl(db::defaultSqliteUrl()).databaseName).absolutePath();
}

void installCrashHandler(const QString& program)
{
    const QString header = QStringLiteral("program: %1\nversion: %2\n").arg(program, QStringLiteral(VELMORA_VERSION));
    os::install(QFile::encodeName(QDir::toNativeSeparators(crashFolder())), header.toUtf8(),
        QDateTime::currentDateTime().offsetFromUtc());
}

QStringList reportsAfter(const QString& folder, const QString& lastShown)
{
    QStringList out;
    const QDir dir(folder);
    // The names sort by the time they carry.
    for (const QString& name : dir.entryList({QStringLiteral("crash-*.txt")}, QDir::Files, QDir::Name)) {
        if (name > lastShown)
            out << dir.filePath(name);
    }
    return out;
}

} // namespace velmora::crash
