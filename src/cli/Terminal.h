#pragma once

#include <QString>

namespace velmora::cli {

bool stdinIsTerminal();
QString promptLine(const QString& prompt);
// Reads a line without echoing it.
QString promptPassword(const QString& prompt);
// The first line of standard input as it stands (no prompt, no trimming but
// the line end), for a password piped in.
QString readStdinLine();

} // namespace velmora::cli
