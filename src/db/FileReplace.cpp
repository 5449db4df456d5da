// The one place that asks the operating system to sync and replace files.
#include "db/FileReplace.h"

#include <QDir>
#include <QFileInfo>

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace velmora::db {

namespace {

#ifdef _WIN32
QString systemMessage()
{
    return QStringLiteral("Windows error %1").arg(static_cast<qulonglong>(GetLastError()));
}
#else
QString systemMessage()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

// fsync of a file or a folder, opened for reading only.
bool syncPath(const QString& path, bool folder)
{
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | (folder ? O_DIRECTORY : 0));
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    const int saved = errno;
    ::close(fd);
    errno = saved;
    return ok;
}
#endif

} // namespace

bool syncFile(const QString& path, QString* error)
{
#ifdef _WIN32
    const HANDLE h = CreateFileW(reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(path).utf16()),
        GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    bool ok = h != INVALID_HANDLE_VALUE && FlushFileBuffers(h);
    if (!ok && error)
        *error = path + QStringLiteral(": ") + systemMessage();
    if (h != INVALID_HANDLE_VALUE)
        CloseHandle(h);
    return ok;
#else
    if (syncPath(path, false))
        return true;
    if (error)
        *error = path + QStringLiteral(": ") + systemMessage();
    return false;
#endif
}

bool replaceFile(const QString& from, const QString& to, QString* error)
{
#ifdef _WIN32
    // QFile::rename refuses an existing target; this move replaces it.
    const bool ok = MoveFileExW(reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(from).utf16()),
        reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(to).utf16()),
        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok && error)
        *error = to + QStringLiteral(": ") + systemMessage();
    return ok;
#else
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0) {
        if (error)
            *error = to + QStringLiteral(": ") + systemMessage();
        return false;
    }
    // The new name reaches the disk with the folder.
    if (!syncPath(QFileInfo(to).absolutePath(), true)) {
        if (error)
            *error = QFileInfo(to).absolutePath() + QStringLiteral(": ") + systemMessage();
        return false;
    }
    return true;
#endif
}

} // namespace velmora::db
