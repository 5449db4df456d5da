#include "db/PrivateFile.h"

#include <QDir>
#include <QFileInfo>

namespace velmora::db {

bool createPrivateFile(const QString& path, bool mustBeNew, QString* error)
{
    QFile file(path);
    if (!mustBeNew && file.exists())
        return true;
    // The mode is given to the creation itself: the file is never readable by
    // others, not even for a moment.
    if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly, kOwnerOnlyFile))
        return true;
    if (error)
        *error = file.errorString();
    return false;
}

bool makePrivateFolder(const QString& path)
{
    const QString folder = QDir::cleanPath(QDir(path).absolutePath());
    if (QFileInfo(folder).isDir())
        return true;
    const QString parent = QFileInfo(folder).absolutePath();
    if (!QDir().mkpath(parent))
        return false;
    // made at the same moment by another process: it exists all the same
    return QDir().mkdir(folder, kOwnerOnlyFolder) || QFileInfo(folder).isDir();
}

} // namespace velmora::db
