#include "files/XlsReader.h"

#include "files/ImportMessages.h"

#include <QFile>

#include <freexl.h>

#include <cstring>

namespace velmora::import {

namespace {

quint16 u16(const QByteArray& b, qsizetype at)
{
    return static_cast<quint16>(static_cast<unsigned char>(b[at]) | (static_cast<unsigned char>(b[at + 1]) << 8));
}

quint32 u32(const QByteArray& b, qsizetype at)
{
    return static_cast<quint32>(u16(b, at)) | (static_cast<quint32>(u16(b, at + 2)) << 16);
}

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

bool readCompoundStream(const QByteArray& file, const QString& streamName, QByteArray* out)
{
    if (file.size() < 512 || file.left(8) != QByteArray::fromHex("D0CF11E0A1B11AE1"))
        return false;
    const int shift = u16(file, 0x1E);
    const int miniShift = u16(file, 0x20);
    if (shift != 9 && shift != 12)
        return false;
    const qsizetype sectorSize = qsizetype(1) << shift;
    const qsizetype miniSize = qsizetype(1) << miniShift;
    const quint32 fatSectors = u32(file, 0x2C);
    const quint32 firstDir = u32(file, 0x30);
    const quint32 cutoff = u32(file, 0x38);
    const quint32 firstMiniFat = u32(file, 0x3C);
    quint32 difatSector = u32(file, 0x44);
    const qsizetype maxSectors = file.size() / sectorSize + 1;

    auto sectorOffset = [&](quint32 s) -> qsizetype { return (static_cast<qsizetype>(s) + 1) * sectorSize; };
    auto validSector = [&](quint32 s) { return sectorOffset(s) + sectorSize <= file.size(); };

    // The sectors holding the allocation table.
    std::vector<quint32> fatList;
    for (int i = 0; i < 109 && fatList.size() < fatSectors; ++i)
        fatList.push_back(u32(file, 0x4C + i * 4));
    int guard = 0;
    while (fatList.size() < fatSectors && difatSector < 0xFFFFFFFA && validSector(difatSector)) {
        if (++guard > maxSectors)
            return false;
        const qsizetype at = sectorOffset(difatSector);
        for (qsizetype i = 0; i < sectorSize / 4 - 1 && fatList.size() < fatSectors; ++i)
            fatList.push_back(u32(file, at + i * 4));
        difatSector = u32(file, at + sectorSize - 4);
    }
    std::vector<quint32> fat;
    for (quint32 s : fatList) {
        if (!validSector(s))
            return false;
        const qsizetype at = sectorOffset(s);
        for (qsizetype i = 0; i < sectorSize / 4; ++i)
            fat.push_back(u32(file, at + i * 4));
    }
    auto chain = [&](quint32 start, QByteArray* data) {
        data->clear();
        quint32 s = start;
        qsizetype steps = 0;
        while (s < 0xFFFFFFFA) {
            if (!validSector(s) || s >= fat.size() || ++steps > maxSectors)
                return false;
            data->append(file.constData() + sectorOffset(s), sectorSize);
            s = fat[s];
        }
        return true;
    };

    QByteArray directory;
    if (!chain(firstDir, &directory))
        return false;
    QByteArray miniStream;
    bool haveRoot = false;
    for (qsizetype at = 0; at + 128 <= directory.size(); at += 128) {
        const int nameBytes = u16(directory, at + 0x40);
        const int type = static_cast<unsigned char>(directory[at + 0x42]);
        const quint32 start = u32(directory, at + 0x74);
        const quint32 size = u32(directory, at + 0x78);
        if (nameBytes < 2 || nameBytes > 64)
            continue;
        const QString name =
            QString::fromUtf16(reinterpret_cast<const char16_t*>(directory.constData() + at), nameBytes / 2 - 1);
        if (type == 5) {
            if (!chain(start, &miniStream))
                return false;
            haveRoot = true;
            continue;
        }
        if (type != 2 || name.compare(streamName, Qt::CaseInsensitive) != 0)
            continue;
        if (size >= cutoff) {
            if (!chain(start, out) || out->size() < static_cast<qsizetype>(size))
                return false;
            out->truncate(size);
            return true;
        }
        if (!haveRoot)
            return false;
        QByteArray miniFatBytes;
        if (!chain(firstMiniFat, &miniFatBytes))
            return false;
        out->clear();
        quint32 s = start;
        qsizetype steps = 0;
        while (s < 0xFFFFFFFA) {
            const qsizetype from = static_cast<qsizetype>(s) * miniSize;
            if (from + miniSize > miniStream.size() || (s + 1) * 4 > static_cast<quint64>(miniFatBytes.size())
                || ++steps > maxSectors * 64)
                return false;
            out->append(miniStream.constData() + from, miniSize);
            s = u32(miniFatBytes, static_cast<qsizetype>(s) * 4);
        }
        if (out->size() < static_cast<qsizetype>(size))
            return false;
        out->truncate(size);
        return true;
    }
    return false;
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
    for (size_t i = 0; i < sheetOffsets.size(); ++i) {
        auto& cells = (*out)[static_cast<int>(i) + 1];
        at = sheetOffsets[i];
        bool pendingString = false;
        std::pair<int, int> pendingAt;
        while (at + 4 <= stream.size()) {
            const quint16 type = u16(stream, at);
            const quint16 length = u16(stream, at + 2);
            const qsizetype body = at + 4;
            if (body + length > stream.size())
                return false;
            at = body + length;
            if (type == 0x000A)
                break;
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
                if (wide)
                    text = QString::fromUtf16(reinterpret_cast<const char16_t*>(stream.constData() + body + 3), chars);
                else
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
    }
    return true;
}

XlsReader::~XlsReader()
{
    if (m_handle)
        freexl_close(m_handle);
}

std::unique_ptr<Workbook> XlsReader::open(const QString& path, QString* error, const WorkbookLimits& limits)
{
    std::unique_ptr<XlsReader> book(new XlsReader(path, limits));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = msg::cannotOpen(path, file.errorString());
        return nullptr;
    }
    const QByteArray bytes = file.readAll();
    file.close();

    const int rc = freexl_open(QFile::encodeName(path).constData(), &book->m_handle);
    if (rc != FREEXL_OK) {
        if (book->m_handle) {
            freexl_close(book->m_handle);
            book->m_handle = nullptr;
        }
        *error = msg::damaged(path, QStringLiteral("FreeXL %1").arg(rc));
        return nullptr;
    }
    unsigned int info = 0;
    if (freexl_get_info(book->m_handle, FREEXL_BIFF_PASSWORD, &info) == FREEXL_OK && info == FREEXL_BIFF_OBFUSCATED) {
        *error = msg::encrypted(path);
        return nullptr;
    }
    if (freexl_get_info(book->m_handle, FREEXL_BIFF_VERSION, &info) != FREEXL_OK || info != FREEXL_BIFF_VER_8) {
        *error = msg::unreadable(QStringLiteral("แฟ้ม ") + path, QStringLiteral("แฟ้ม Excel รุ่นเก่ากว่า 97"));
        return nullptr;
    }
    if (freexl_get_info(book->m_handle, FREEXL_BIFF_DATEMODE, &info) == FREEXL_OK)
        book->m_date1904 = info == FREEXL_BIFF_DATEMODE_1904;
    if (freexl_get_info(book->m_handle, FREEXL_BIFF_SHEET_COUNT, &info) != FREEXL_OK) {
        *error = msg::damaged(path, QStringLiteral("sheet count"));
        return nullptr;
    }
    book->m_sheetCount = static_cast<int>(info);

    QByteArray stream;
    int scanned = 0;
    if (!readCompoundStream(bytes, QStringLiteral("Workbook"), &stream)
        || !scanRecordedCells(stream, &scanned, &book->m_recorded) || scanned != book->m_sheetCount) {
        *error = msg::damaged(path, QStringLiteral("Workbook stream"));
        return nullptr;
    }
    return book;
}

bool XlsReader::readSheet(int index, Worksheet& out, QString* error)
{
    out = Worksheet();
    if (index < 1 || index > m_sheetCount) {
        *error = msg::tooFewSheets(m_path, m_sheetCount, index);
        return false;
    }
    const unsigned short sheet = static_cast<unsigned short>(index - 1);
    const char* name = nullptr;
    if (freexl_get_worksheet_name(m_handle, sheet, &name) == FREEXL_OK && name)
        out.name = QString::fromUtf8(name);
    if (freexl_select_active_worksheet(m_handle, sheet) != FREEXL_OK) {
        *error = msg::damaged(m_path, QStringLiteral("แผ่นงานที่ %1").arg(index));
        return false;
    }
    unsigned int rows = 0;
    unsigned short columns = 0;
    if (freexl_worksheet_dimensions(m_handle, &rows, &columns) != FREEXL_OK) {
        *error = msg::damaged(m_path, QStringLiteral("แผ่นงานที่ %1").arg(index));
        return false;
    }
    if (static_cast<qint64>(rows) > m_limits.maxRows || columns > m_limits.maxColumns
        || static_cast<qint64>(rows) * columns > m_limits.maxCells) {
        *error = msg::sheetTooLarge(index, out.name);
        return false;
    }
    const auto& recorded = m_recorded[index];
    out.rows.resize(rows);
    for (unsigned int r = 0; r < rows; ++r) {
        std::vector<Cell>& cells = out.rows[r];
        for (unsigned short c = 0; c < columns; ++c) {
            FreeXL_CellValue v;
            if (freexl_get_cell_value(m_handle, r, c, &v) != FREEXL_OK)
                continue;
            Cell cell;
            switch (v.type) {
            case FREEXL_CELL_INT:
                cell = Cell::makeNumber(v.value.int_value);
                break;
            case FREEXL_CELL_DOUBLE:
                cell = Cell::makeNumber(v.value.double_value);
                break;
            case FREEXL_CELL_TEXT:
            case FREEXL_CELL_SST_TEXT:
                cell = Cell::makeText(QString::fromUtf8(v.value.text_value));
                break;
            case FREEXL_CELL_DATE:
            case FREEXL_CELL_DATETIME: {
                const auto serial = serialFromFreeXlText(v.value.text_value, m_date1904);
                if (serial)
                    cell = Cell::makeDate(*serial);
                else
                    cell = {
                        Cell::Kind::Unreadable, 0, QStringLiteral("วันที่ %1").arg(QString::fromUtf8(v.value.text_value))};
                break;
            }
            case FREEXL_CELL_TIME:
                cell = {Cell::Kind::Unreadable, 0, QStringLiteral("เวลาที่ไม่มีวันที่")};
                break;
            default: {
                const auto found = recorded.find({static_cast<int>(r) + 1, static_cast<int>(c) + 1});
                if (found != recorded.end())
                    cell = found->second;
                break;
            }
            }
            if (cell.kind == Cell::Kind::Empty)
                continue;
            if (cells.size() <= c)
                cells.resize(static_cast<size_t>(c) + 1);
            cells[c] = std::move(cell);
        }
    }
    while (!out.rows.empty() && out.rows.back().empty())
        out.rows.pop_back();
    return true;
}

} // namespace velmora::import
