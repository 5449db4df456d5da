// Our own reading of the workbook stream of an .xls file: the records that
// hold the stored results of formula and boolean cells, and the day number
// behind a date as FreeXL writes it.

#include "files/XlsReader.h"

#include "files/ByteOrder.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace velmora::import {

namespace {

double f64(const QByteArray& b, qsizetype at)
{
    quint64 bits = 0;
    for (int i = 7; i >= 0; --i)
        bits = (bits << 8) | static_cast<unsigned char>(b[at + i]);
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

// Days from the first day of FreeXL's calendar (every fourth year a leap year).
long long freeXlDays(int y, int m, int d, int y0)
{
    static const int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    long long days = 0;
    for (int year = y0; year < y; ++year)
        days += year % 4 == 0 ? 366 : 365;
    for (int month = 1; month < m; ++month)
        days += lengths[month - 1] + (month == 2 && y % 4 == 0 ? 1 : 0);
    return days + d - 1;
}

QString errorText(int code)
{
    switch (code) {
    case 0x00:
        return QStringLiteral("#NULL!");
    case 0x07:
        return QStringLiteral("#DIV/0!");
    case 0x0F:
        return QStringLiteral("#VALUE!");
    case 0x17:
        return QStringLiteral("#REF!");
    case 0x1D:
        return QStringLiteral("#NAME?");
    case 0x24:
        return QStringLiteral("#NUM!");
    case 0x2A:
        return QStringLiteral("#N/A");
    default:
        return QStringLiteral("#ERROR");
    }
}

} // namespace

std::optional<double> serialFromFreeXlText(const char* text, bool date1904)
{
    if (!text || std::strlen(text) < 10 || text[4] != '-' || text[7] != '-')
        return std::nullopt;
    const int y = std::atoi(text);
    const int m = std::atoi(text + 5);
    const int d = std::atoi(text + 8);
    static const int lengths[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (m < 1 || m > 12 || d < 1 || d > lengths[m - 1] || (m == 2 && d == 29 && y % 4 != 0))
        return std::nullopt;
    if (!date1904) {
        if (y < 1900 || y > 9999)
            return std::nullopt;
        const long long count = freeXlDays(y, m, d, 1900) + 1;
        if (count == 1)
            return std::nullopt; // day 0 and day 1 both come out as 01/01/1900
        return static_cast<double>(count);
    }
    if (y < 1904 || y > 9999)
        return std::nullopt;
    // FreeXL starts the 1904 system at 02/01/1904 for day 1 (and day 0).
    const long long count = freeXlDays(y, m, d, 1904) - 1 + 1;
    if (count <= 1)
        return std::nullopt;
    return static_cast<double>(count + 1462);
}

bool scanRecordedCells(const QByteArray& stream, int* sheets, std::map<int, std::map<std::pair<int, int>, Cell>>* out)
{
    out->clear();
    std::vector<quint32> sheetOffsets;
    // Globals: BOUNDSHEET records name the sheets and where each begins.
    qsizetype at = 0;
    while (at + 4 <= stream.size()) {
        const quint16 type = u16(stream, at);
        const quint16 length = u16(stream, at + 2);
        if (at + 4 + length > stream.size())
            return false;
        if (type == 0x0085 && length >= 6)
            sheetOffsets.push_back(u32(stream, at + 4));
        at += 4 + length;
        if (type == 0x000A) // EOF of the globals
            break;
    }
    *sheets = static_cast<int>(sheetOffsets.size());
    // Each sheet's records lie between its own start and the next sheet's, so
    // no record is read twice however many sheets the globals name.
    std::vector<quint32> starts = sheetOffsets;
    std::sort(starts.begin(), starts.end());
    if (std::adjacent_find(starts.begin(), starts.end()) != starts.end())
        return false;
    for (size_t i = 0; i < sheetOffsets.size(); ++i) {
        auto& cells = (*out)[static_cast<int>(i) + 1];
        at = sheetOffsets[i];
        const auto next = std::upper_bound(starts.begin(), starts.end(), sheetOffsets[i]);
        const qsizetype end = next == starts.end() ? stream.size() : std::min<qsizetype>(*next, stream.size());
        bool pendingString = false;
        bool ended = false;
        std::pair<int, int> pendingAt;
        while (at + 4 <= end) {
            const quint16 type = u16(stream, at);
            const quint16 length = u16(stream, at + 2);
            const qsizetype body = at + 4;
            if (body + length > end)
                return false;
            at = body + length;
            if (type == 0x000A) {
                ended = true;
                break;
            }
            if (pendingString && type != 0x0207 && type != 0x04BC && type != 0x0221 && type != 0x0236)
                pendingString = false; // no STRING came: the formula result stays unreadable
            if (type == 0x0006 && length >= 20) { // FORMULA
                const int row = u16(stream, body) + 1;
                const int col = u16(stream, body + 2) + 1;
                const bool special = static_cast<unsigned char>(stream[body + 12]) == 0xFF
                    && static_cast<unsigned char>(stream[body + 13]) == 0xFF;
                if (!special) {
                    cells[{row, col}] = Cell::makeNumber(f64(stream, body + 6));
                    continue;
                }
                const int kind = static_cast<unsigned char>(stream[body + 6]);
                const int value = static_cast<unsigned char>(stream[body + 8]);
                if (kind == 1)
                    cells[{row, col}] = {Cell::Kind::Bool, value ? 1.0 : 0.0, {}};
                else if (kind == 2)
                    cells[{row, col}] = {Cell::Kind::Error, 0, errorText(value)};
                else if (kind == 3)
                    cells[{row, col}] = Cell::makeText(QString());
                else {
                    cells[{row, col}] = {Cell::Kind::Unreadable, 0, QStringLiteral("ผลลัพธ์ของสูตรเป็นข้อความ")};
                    pendingString = true;
                    pendingAt = {row, col};
                }
            } else if (type == 0x0207 && pendingString && length >= 3) { // STRING after a formula
                pendingString = false;
                const int chars = u16(stream, body);
                const bool wide = static_cast<unsigned char>(stream[body + 2]) & 0x01;
                const qsizetype need = 3 + static_cast<qsizetype>(chars) * (wide ? 2 : 1);
                if (need > length)
                    continue; // continued in another record: left unreadable
                QString text;
                if (wide) {
                    text.reserve(chars);
                    for (qsizetype k = 0; k < chars; ++k)
                        text.append(QChar(u16(stream, body + 3 + 2 * k)));
                } else
                    text = QString::fromLatin1(stream.constData() + body + 3, chars);
                cells[pendingAt] = Cell::makeText(text);
            } else if (type == 0x0205 && length >= 8) { // BOOLERR
                const int row = u16(stream, body) + 1;
                const int col = u16(stream, body + 2) + 1;
                const int value = static_cast<unsigned char>(stream[body + 6]);
                const bool isError = stream[body + 7] != 0;
                cells[{row, col}] = isError ? Cell {Cell::Kind::Error, 0, errorText(value)}
                                            : Cell {Cell::Kind::Bool, value ? 1.0 : 0.0, {}};
            }
        }
        if (!ended)
            return false;
    }
    return true;
}

} // namespace velmora::import
