// The .xls reader's helper process for the fuzz build (velmora-cli is not
// built there): the same work as velmora-cli xls-cells.
#include "files/XlsReader.h"

#include <QFile>
#include <QStringList>

#include <cstdio>

int main(int argc, char** argv)
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly))
        return 1;
    const int status = velmora::import::writeXlsCells(args, &out);
    out.flush();
    return status;
}
