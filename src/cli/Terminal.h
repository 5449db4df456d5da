#pragma once

#include <QString>

namespace velmora::cli {

bool stdinIsTerminal();
QString promptLine(const QString& prompt);
// Reads a line without echoing it.
QString promptPassword(const QString& prompt);

} // namespace velmora::cli
