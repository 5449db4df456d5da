#include "db/Config.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace velmora::db {

std::unique_ptr<QSettings> openSettings()
{
    return std::make_unique<QSettings>(QStringLiteral("Velmora"), QStringLiteral("velmora"));
}

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
    QString env = qEnvironmentVariable("VELMORA_DB").trimmed();
    if (!env.isEmpty())
        return env;
    QString configured = openSettings()->value(QStringLiteral("database/url")).toString().trimmed();
    if (!configured.isEmpty())
        return configured;
    return defaultSqliteUrl();
}

QString exportFolder()
{
    QString chosen = openSettings()->value(QStringLiteral("export/folder")).toString();
    if (!chosen.isEmpty() && QFileInfo(chosen).isDir())
        return chosen;
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (documents.isEmpty())
        documents = QDir::homePath();
    return documents;
}

} // namespace velmora::db
