#pragma once

// The text of a PDF in its printed layout (items of one line kept on one
// line, left to right), blanks removed and Thai brought back as PdfText.h does.

#include "PdfText.h"

namespace velmora::test {

inline QString pdfLayoutText(const QString& path)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"),
        {QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8"), path, QStringLiteral("-")});
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return QString();
    return thaiPlain(QString::fromUtf8(p.readAllStandardOutput()));
}

} // namespace velmora::test
