#pragma once

// The operating-system side of the crash reports: the handlers and what they
// may call (async-signal-safe writing only, on POSIX).

#include <QByteArray>

namespace velmora::crash::os {

// `folder`: where reports go (created by the handler when missing);
// `header`: the lines about the program written first; `utcOffset`: seconds
// east of UTC for the time in the file's name and first line.
void install(const QByteArray& folder, const QByteArray& header, int utcOffset);
// The action in progress, as UTF-8 (cut to the room the handler keeps).
void setAction(const QByteArray& utf8);

} // namespace velmora::crash::os
