#pragma once

// The operating-system calls that put a new file in the place of another so
// that a reader finds the old file or the new one whole, never a mix, even
// after a killed program or a power cut.

#include <QString>

namespace velmora::db {

// Writes the file's data through to the disk (fsync, FlushFileBuffers).
bool syncFile(const QString& path, QString* error);

// Puts `from` in the place of `to` (which may exist) in one step, then makes
// the change durable: on POSIX a rename and a sync of the folder; on Windows
// a move that replaces and writes through. Both files are in one folder.
bool replaceFile(const QString& from, const QString& to, QString* error);

} // namespace velmora::db
