#pragma once

// The program's own data on the disk (the embedded database file and, through
// it, its journal files, the backups and their folder) is its user's alone:
// created readable and writable by the owner only (0600, a folder 0700). On
// Windows the user's data folder is already private and the modes are not
// applied. Files and folders that already exist keep their modes.

#include <QFile>
#include <QString>

namespace velmora::db {

inline constexpr QFile::Permissions kOwnerOnlyFile = QFile::ReadOwner | QFile::WriteOwner;
inline constexpr QFile::Permissions kOwnerOnlyFolder = kOwnerOnlyFile | QFile::ExeOwner;

// Creates `path` empty with the owner-only mode. With `mustBeNew`, a file
// already there is a failure (a name taken by another process); without, it
// is left as it is. False with the reason in *error (when given).
bool createPrivateFile(const QString& path, bool mustBeNew, QString* error = nullptr);

// The folder and, when missing, its parents; the folder itself, when this
// call makes it, with the owner-only mode. True when the folder exists after.
bool makePrivateFolder(const QString& path);

} // namespace velmora::db
