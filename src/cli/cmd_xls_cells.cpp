#include "cli/Command.h"

#include "files/XlsReader.h"

#include <QFile>

#include <cstdio>

namespace velmora::cli {
namespace {

// The helper the .xls reader starts in its own process: reads one .xls
// workbook with FreeXL and writes its cells to stdout. Not listed in --help.
int runXlsCells(Context& c)
{
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly))
        return Refused;
    const int status = import::writeXlsCells(c.args(), &out);
    out.flush();
    return status;
}

const Registration xlsCells({QStringLiteral("xls-cells"), QString(), false, runXlsCells});

} // namespace
} // namespace velmora::cli
