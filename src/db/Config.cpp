#include "db/Config.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace velmora::db {

QString defaultSqliteUrl()
{
    const QString folder =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/velmora");
    return QStringLiteral("sqlite:") + QDir(folder).filePath(QStringLiteral("velmora.sqlite"));
}

QString resolveDatabaseUrl(const QString& commandLineUrl)
{
    if (!commandLineUrl.trimmed().isEmpty())
        return commandLineUrl.trimmed();
    const QString env = qEnvironmentVariable("VELMORA_DB").trimmed();
    if (!env.isEmpty())
        return env;
    const QSettings settings(QStringLiteral("Velmora"), QStringLiteral("velmora"));
    const QString configured = settings.value(QStringLiteral("database/url")).toString().trimmed();
    if (!configured.isEmpty())
        return configured;
    return defaultSqliteUrl();
}

} // namespace velmora::db
