#pragma once

// The text of a PDF in its printed layout (items of one line kept on one
// line, left to right), blanks removed and Thai brought back as PdfText.h does.

#include "PdfText.h"

#include <QStringList>

namespace velmora::test {

inline QString pdfLayoutRaw(const QString& path)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"),
        {QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8"), path, QStringLiteral("-")});
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return QString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

inline QString pdfLayoutText(const QString& path)
{
    return thaiPlain(pdfLayoutRaw(path));
}

// The same, one entry per printed line (blanks removed within each), blank
// lines left out.
inline QStringList pdfLayoutLines(const QString& path)
{
    QStringList lines;
    for (const QString& line : pdfLayoutRaw(path).split(QLatin1Char('\n'))) {
        const QString plain = thaiPlain(line);
        if (!plain.isEmpty())
            lines << plain;
    }
    return lines;
}

} // namespace velmora::test
