// How a grid text is written as a cell (a number that reads back the same
// when shown, or text) and the letters of a column.

#include "files/XlsxExport.h"

#include "rules/AmountText.h"

namespace velmora::reports {

namespace {

bool asciiDigits(QStringView s)
{
    for (const QChar c : s) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

// The digits before a point: "0" or up to `most` digits without a leading zero.
bool wholePart(QStringView s, qsizetype most)
{
    return !s.isEmpty() && s.size() <= most && asciiDigits(s) && (s.size() == 1 || s.at(0) != QLatin1Char('0'));
}

// 1 to 3 digits, then up to four groups of ",ddd".
bool groupedPart(QStringView s)
{
    const qsizetype head = s.size() % 4 == 0 ? 3 : s.size() % 4;
    if (s.isEmpty() || head > 3 || s.size() > 3 + 4 * 4 || !asciiDigits(s.left(head)))
        return false;
    for (qsizetype at = head; at < s.size(); at += 4) {
        if (s.at(at) != QLatin1Char(',') || !asciiDigits(s.mid(at + 1, 3)))
            return false;
    }
    return true;
}

// The shape of the text alone, by one scan: whole number, decimal without
// trailing zeros, or amount with separators and two decimals.
CellNumber shapeOf(QStringView text)
{
    if (text.startsWith(QLatin1Char('-')))
        text = text.mid(1);
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    if (point < 0)
        return wholePart(text, 15) ? CellNumber::Plain : CellNumber::None;
    const QStringView whole = text.left(point);
    const QStringView fraction = text.mid(point + 1);
    if (!asciiDigits(fraction))
        return CellNumber::None;
    if (wholePart(whole, 14) && !fraction.isEmpty() && fraction.size() <= 14 && fraction.back() != QLatin1Char('0'))
        return CellNumber::Plain;
    if (fraction.size() == 2 && groupedPart(whole) && !whole.startsWith(QLatin1String("0,")))
        return CellNumber::Amount;
    return CellNumber::None;
}

} // namespace

CellNumber numberKind(const QString& text, double& value)
{
    if (text.isEmpty() || text.size() > 22)
        return CellNumber::None;
    const CellNumber kind = shapeOf(text);
    if (kind == CellNumber::None)
        return kind;
    const auto parsed = Parse_Number(text.toStdString());
    if (!parsed)
        return CellNumber::None;
    value = *parsed;
    if (kind == CellNumber::Amount && QString::fromStdString(Amount_Text(value)) != text)
        return CellNumber::None;
    return kind;
}

QString columnLetters(int column)
{
    if (column < 1 || column > 256)
        return {};
    if (column <= 26)
        return QString(QChar(u'A' + (column - 1)));
    const int block = (column - 27) / 26; // A for 27-52, B for 53-78, ...
    const int within = (column - 27) % 26;
    return QString(QChar(u'A' + block)) + QChar(u'A' + within);
}

int columnNumber(const QString& letters)
{
    if (letters.size() == 1 && letters.at(0) >= QLatin1Char('A') && letters.at(0) <= QLatin1Char('Z'))
        return letters.at(0).unicode() - u'A' + 1;
    if (letters.size() == 2) {
        const int a = letters.at(0).unicode() - u'A';
        const int b = letters.at(1).unicode() - u'A';
        if (a < 0 || a > 25 || b < 0 || b > 25)
            return 0;
        const int n = 27 + a * 26 + b;
        return n <= 256 ? n : 0;
    }
    return 0;
}

} // namespace velmora::reports
