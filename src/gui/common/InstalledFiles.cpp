#include "gui/common/InstalledFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace velmora::app {

namespace {

// The data folder of an installed program, relative to its executable.
QString installedData(const QString& relative)
{
    return QDir(QCoreApplication::applicationDirPath())
        .absoluteFilePath(QStringLiteral(VELMORA_DATA_FROM_BIN "/") + relative);
}

QString firstExisting(const QStringList& candidates)
{
    for (const QString& path : candidates)
        if (QFileInfo(path).isFile())
            return QDir::cleanPath(path);
    return {};
}

} // namespace

QString userGuidePath()
{
    const QString name = QStringLiteral("คู่มือการใช้งาน.md");
    return firstExisting({installedData(QStringLiteral("docs/") + name),
        QStringLiteral(VELMORA_SOURCE_DOCS "/") + name});
}

QString thaiCataloguePath()
{
    const QString name = QStringLiteral("velmora_th.qm");
    return firstExisting({installedData(QStringLiteral("translations/") + name),
        QStringLiteral(VELMORA_BUILD_TRANSLATIONS "/") + name});
}

} // namespace velmora::app
