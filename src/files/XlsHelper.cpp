// The helper process's side of the .xls reader: FreeXL reads the workbook in
// this process, and every sheet's cells are written out in frames.

#include "files/XlsReader.h"

#include "files/XlsFrames.h"

#include <QFile>

#include <freexl.h>

#include <cstring>

namespace velmora::import {

namespace {

void append16(QByteArray& b, quint16 v)
{
    b.append(char(v & 0xFF));
    b.append(char(v >> 8));
}

void append32(QByteArray& b, quint32 v)
{
    append16(b, quint16(v & 0xFFFF));
    append16(b, quint16(v >> 16));
}

void appendFrame(QByteArray& b, char tag, const QByteArray& payload)
{
    b.append(tag);
    append32(b, static_cast<quint32>(payload.size()));
    b.append(payload);
}

class FreeXlBook
{
public:
    ~FreeXlBook()
    {
        if (m_handle)
            freexl_close(m_handle);
    }
    // Writes the frames of the whole workbook to `out`.
    bool write(const QString& path, const WorkbookLimits& limits, QIODevice* out);

private:
    bool refuse(QIODevice* out, quint8 code, const QString& detail)
    {
        QByteArray payload(1, char(code));
        payload.append(detail.toUtf8());
        QByteArray frame;
        appendFrame(frame, kRefusal, payload);
        return out->write(frame) == frame.size();
    }
    bool writeSheet(int index, const WorkbookLimits& limits, QIODevice* out);

    const void* m_handle = nullptr;
    bool m_date1904 = false;
    std::map<int, std::map<std::pair<int, int>, Cell>> m_recorded;
};

bool FreeXlBook::write(const QString& path, const WorkbookLimits& limits, QIODevice* out)
{
    if (out->write(kMagic, 4) != 4)
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return refuse(out, kDamaged, file.errorString());
    const QByteArray bytes = file.readAll();
    file.close();
    QByteArray stream;
    int scanned = 0;
    if (!readCompoundStream(bytes, QStringLiteral("Workbook"), &stream)
        || !scanRecordedCells(stream, &scanned, &m_recorded))
        return refuse(out, kDamaged, QStringLiteral("Workbook stream"));

    const int rc = freexl_open(QFile::encodeName(path).constData(), &m_handle);
    if (rc != FREEXL_OK)
        return refuse(out, kDamaged, QStringLiteral("FreeXL %1").arg(rc));
    unsigned int info = 0;
    if (freexl_get_info(m_handle, FREEXL_BIFF_PASSWORD, &info) == FREEXL_OK && info == FREEXL_BIFF_OBFUSCATED)
        return refuse(out, kEncrypted, {});
    if (freexl_get_info(m_handle, FREEXL_BIFF_VERSION, &info) != FREEXL_OK || info != FREEXL_BIFF_VER_8)
        return refuse(out, kOldVersion, {});
    if (freexl_get_info(m_handle, FREEXL_BIFF_DATEMODE, &info) == FREEXL_OK)
        m_date1904 = info == FREEXL_BIFF_DATEMODE_1904;
    if (freexl_get_info(m_handle, FREEXL_BIFF_SHEET_COUNT, &info) != FREEXL_OK || info > kMaxSheets
        || static_cast<int>(info) != scanned)
        return refuse(out, kDamaged, QStringLiteral("sheet count"));
    for (int index = 1; index <= static_cast<int>(info); ++index)
        if (!writeSheet(index, limits, out))
            return false;
    QByteArray end;
    appendFrame(end, kEnd, {});
    return out->write(end) == end.size();
}

bool FreeXlBook::writeSheet(int index, const WorkbookLimits& limits, QIODevice* out)
{
    const unsigned short sheet = static_cast<unsigned short>(index - 1);
    QByteArray frames;
    const auto sheetFrame = [&](quint8 state, const QByteArray& name) {
        QByteArray payload(1, char(state));
        payload.append(name);
        appendFrame(frames, kSheet, payload);
        return out->write(frames) == frames.size();
    };
    const char* rawName = nullptr;
    QByteArray name;
    if (freexl_get_worksheet_name(m_handle, sheet, &rawName) == FREEXL_OK && rawName)
        name = QString::fromUtf8(rawName).toUtf8();
    unsigned int rows = 0;
    unsigned short columns = 0;
    if (freexl_select_active_worksheet(m_handle, sheet) != FREEXL_OK
        || freexl_worksheet_dimensions(m_handle, &rows, &columns) != FREEXL_OK)
        return sheetFrame(kSheetDamaged, name);
    if (static_cast<qint64>(rows) > limits.maxRows || columns > limits.maxColumns
        || static_cast<qint64>(rows) * columns > limits.maxCells)
        return sheetFrame(kSheetTooLarge, name);
    if (!sheetFrame(kSheetRead, name))
        return false;
    const auto& recorded = m_recorded[index];
    for (unsigned int r = 0; r < rows; ++r) {
        frames.clear();
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
            QByteArray payload;
            append32(payload, r + 1);
            append32(payload, quint32(c) + 1);
            payload.append(char(cell.kind));
            quint64 bits;
            std::memcpy(&bits, &cell.number, sizeof bits);
            append32(payload, quint32(bits & 0xFFFFFFFF));
            append32(payload, quint32(bits >> 32));
            payload.append(cell.text.toUtf8());
            appendFrame(frames, kCell, payload);
        }
        if (!frames.isEmpty() && out->write(frames) != frames.size())
            return false;
    }
    return true;
}

} // namespace

int writeXlsCells(const QStringList& args, QIODevice* out)
{
    // xls-cells MAX_ROWS MAX_COLUMNS MAX_CELLS PATH
    if (args.size() != 5)
        return 2;
    WorkbookLimits limits;
    bool ok[3] = {false, false, false};
    limits.maxRows = args.at(1).toInt(&ok[0]);
    limits.maxColumns = args.at(2).toInt(&ok[1]);
    limits.maxCells = args.at(3).toLongLong(&ok[2]);
    if (!ok[0] || !ok[1] || !ok[2])
        return 2;
    FreeXlBook book;
    return book.write(args.at(4), limits, out) ? 0 : 1;
}

} // namespace velmora::import
