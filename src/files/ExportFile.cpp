// A new export file in a folder: written under a temporary name, then given
// a name no file has yet, never replacing one.

#include "files/XlsxExport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>

namespace velmora::reports {

QString uniqueExportPath(const QString& folder, const QString& baseName, const QDateTime& now)
{
    const QDir dir(folder);
    const QString stem = baseName + QLatin1Char(' ') + now.toString(QStringLiteral("yyyy-MM-dd HHmmss"));
    QString path = dir.filePath(stem + QStringLiteral(".xlsx"));
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = dir.filePath(stem + QStringLiteral(" (%1).xlsx").arg(n));
    return path;
}

QString writeNewExportFile(const QString& folder, const QString& baseName, const QDateTime& now,
    const std::function<bool(const QString& path, QString* error)>& write, QString* error)
{
    if (!QDir().mkpath(folder)) {
        if (error)
            *error = QStringLiteral("สร้างโฟลเดอร์ไม่ได้: ") + folder;
        return {};
    }
    // Written under a temporary name first, then renamed: a rename never
    // replaces an existing file, so a name taken meanwhile is skipped.
    const QString temp = QDir(folder).filePath(
        QStringLiteral(".velmora-export-%1.xlsx").arg(QUuid::createUuid().toString(QUuid::WithoutBraces)));
    if (!write(temp, error)) {
        QFile::remove(temp);
        return {};
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        QString path = uniqueExportPath(folder, baseName, now);
        if (QFile::rename(temp, path))
            return path;
    }
    QFile::remove(temp);
    if (error)
        *error = QStringLiteral("ตั้งชื่อไฟล์ใหม่ในโฟลเดอร์ไม่ได้: ") + folder;
    return {};
}

QString exportGridToNewFile(
    const ReportGrid& grid, const ExportOptions& options, const QString& folder, const QDateTime& now, QString* error)
{
    return writeNewExportFile(
        folder, options.fileName.isEmpty() ? options.sheetName : options.fileName, now,
        [&](const QString& path, QString* why) { return exportGrid(grid, options, path, why); }, error);
}

} // namespace velmora::reports
