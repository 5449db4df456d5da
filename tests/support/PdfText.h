#pragma once

// The text of a PDF as pdftotext gives it, brought back to the form it was
// written in: pdftotext writes SARA AM as NIKHAHIT + SARA AA and some Thai
// marks as the fonts' private-use forms (U+F700 to U+F71A).

#include <QProcess>
#include <QString>

namespace velmora::test {

inline QString thaiPlain(QString text)
{
    // private-use positional forms of the Thai fonts, U+F700 onwards
    static const char16_t kBack[] = {0x0E10, 0x0E34, 0x0E35, 0x0E36, 0x0E37, 0x0E48, 0x0E49, 0x0E4A, 0x0E4B, 0x0E4C,
        0x0E48, 0x0E49, 0x0E4A, 0x0E4B, 0x0E4C, 0x0E0D, 0x0E31, 0x0E4D, 0x0E47, 0x0E48, 0x0E49, 0x0E4A, 0x0E4B, 0x0E4C,
        0x0E38, 0x0E39, 0x0E3A};
    for (QChar& c : text) {
        const char16_t u = c.unicode();
        if (u >= 0xF700 && u <= 0xF71A)
            c = QChar(kBack[u - 0xF700]);
    }
    text = text.normalized(QString::NormalizationForm_KC);
    QString out;
    for (const QChar c : text)
        if (!c.isSpace())
            out += c;
    return out;
}

// The PDF's text with blanks and line breaks removed, or an empty text when
// pdftotext fails.
inline QString pdfText(const QString& path)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-enc"), QStringLiteral("UTF-8"), path, QStringLiteral("-")});
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return QString();
    return thaiPlain(QString::fromUtf8(p.readAllStandardOutput()));
}

// Thai marks written above or below their consonant. pdftotext orders them by
// their drawn position, which may put a mark after the next letter.
inline bool isThaiMark(QChar c)
{
    const char16_t u = c.unicode();
    return u == 0x0E31 || (u >= 0x0E34 && u <= 0x0E3A) || (u >= 0x0E47 && u <= 0x0E4E);
}

inline QString withoutMarks(const QString& text)
{
    QString out;
    for (const QChar c : text)
        if (!isThaiMark(c))
            out += c;
    return out;
}

// True when the PDF text holds the expected text exactly, or, where
// pdftotext moved a mark, holds its letters in order and the same marks.
inline bool pdfContains(const QString& pdf, const QString& expected)
{
    const QString want = thaiPlain(expected);
    if (pdf.contains(want))
        return true;
    const QString letters = withoutMarks(want);
    if (letters.isEmpty())
        return false;
    // the letters in order; the marks are then compared as a set within the span
    const QString pdfLetters = withoutMarks(pdf);
    if (!pdfLetters.contains(letters))
        return false;
    QString wantMarks, pdfMarks;
    for (const QChar c : want)
        if (isThaiMark(c))
            wantMarks += c;
    for (const QChar c : pdf)
        if (isThaiMark(c))
            pdfMarks += c;
    for (const QChar c : wantMarks)
        if (!pdfMarks.contains(c))
            return false;
    return true;
}

} // namespace velmora::test
