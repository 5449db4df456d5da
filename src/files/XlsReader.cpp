#include "files/XlsReader.h"

#include "files/ImportMessages.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <freexl.h>

#include <algorithm>
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
                    for (int k = 0; k < chars; ++k)
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

namespace {

// ---- The helper's side: FreeXL in this process ----

// Frame tags of the helper's output.
constexpr char kMagic[] = "VXC1";
constexpr char kRefusal = 'R';
constexpr char kSheet = 'S';
constexpr char kCell = 'C';
constexpr char kEnd = 'Z';
// Refusal codes.
constexpr quint8 kDamaged = 1;
constexpr quint8 kEncrypted = 2;
constexpr quint8 kOldVersion = 3;
// Sheet states.
constexpr quint8 kSheetRead = 0;
constexpr quint8 kSheetTooLarge = 1;
constexpr quint8 kSheetDamaged = 2;

constexpr int kMaxSheets = 4096;
constexpr qint64 kHelperMilliseconds = 10 * 60 * 1000;

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

// ---- The program's side ----

QString helperPath()
{
    const QString forced = qEnvironmentVariable("VELMORA_XLS_HELPER");
    if (!forced.isEmpty())
        return forced;
    if (!QCoreApplication::instance())
        return {};
    // Installed, the helper sits next to the program; in the build tree the
    // desktop program is in src/app and the helper in src/cli.
    const QDir dir(QCoreApplication::applicationDirPath());
    for (const QString& candidate : {QStringLiteral("velmora-cli"), QStringLiteral("../cli/velmora-cli")}) {
        const QFileInfo info(dir.filePath(candidate));
        if (info.isFile() && info.isExecutable())
            return info.canonicalFilePath();
    }
    return {};
}

} // namespace

bool readXlsCells(const QByteArray& frames, XlsCells* out, QString* detail)
{
    const WorkbookLimits limits = out->limits;
    *out = XlsCells();
    out->limits = limits;
    const auto fail = [&](const char* why) {
        *out = XlsCells();
        out->limits = limits;
        *detail = QString::fromLatin1(why);
        return false;
    };
    if (!frames.startsWith(kMagic))
        return fail("helper output");
    qsizetype at = 4;
    qint64 cellsOfSheet = 0;
    while (at + 5 <= frames.size()) {
        const char tag = frames[at];
        const quint32 length = u32(frames, at + 1);
        const qsizetype body = at + 5;
        if (length > static_cast<quint64>(frames.size() - body))
            return fail("helper frame length");
        const QByteArray payload = frames.mid(body, length);
        at = body + length;
        switch (tag) {
        case kRefusal:
            if (payload.isEmpty() || payload[0] < char(kDamaged) || payload[0] > char(kOldVersion))
                return fail("helper refusal");
            out->refusal = static_cast<unsigned char>(payload[0]);
            out->refusalDetail = QString::fromUtf8(payload.mid(1));
            out->sheets.clear();
            return at == frames.size() || fail("helper output after a refusal");
        case kSheet: {
            if (payload.isEmpty() || static_cast<unsigned char>(payload[0]) > kSheetDamaged
                || out->sheets.size() >= static_cast<size_t>(kMaxSheets))
                return fail("helper sheet");
            XlsCells::Sheet sheet;
            sheet.state = static_cast<unsigned char>(payload[0]);
            sheet.sheet.name = QString::fromUtf8(payload.mid(1));
            out->sheets.push_back(std::move(sheet));
            cellsOfSheet = 0;
            break;
        }
        case kCell: {
            if (out->sheets.empty() || out->sheets.back().state != kSheetRead || payload.size() < 17)
                return fail("helper cell");
            const quint32 row = u32(payload, 0);
            const quint32 column = u32(payload, 4);
            const int kind = static_cast<unsigned char>(payload[8]);
            if (row < 1 || row > static_cast<quint32>(out->limits.maxRows) || column < 1
                || column > static_cast<quint32>(out->limits.maxColumns) || kind < int(Cell::Kind::Text)
                || kind > int(Cell::Kind::Unreadable) || ++cellsOfSheet > out->limits.maxCells)
                return fail("helper cell place");
            const quint64 bits = quint64(u32(payload, 9)) | (quint64(u32(payload, 13)) << 32);
            Cell cell;
            cell.kind = static_cast<Cell::Kind>(kind);
            std::memcpy(&cell.number, &bits, sizeof cell.number);
            cell.text = QString::fromUtf8(payload.mid(17));
            auto& rows = out->sheets.back().sheet.rows;
            if (rows.size() < row)
                rows.resize(row);
            auto& cells = rows[row - 1];
            if (cells.size() < column)
                cells.resize(column);
            cells[column - 1] = std::move(cell);
            break;
        }
        case kEnd:
            if (at != frames.size())
                return fail("helper output after its end");
            out->complete = true;
            return true;
        default:
            return fail("helper frame");
        }
    }
    return fail("helper output cut short");
}

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

std::unique_ptr<Workbook> XlsReader::open(const QString& path, QString* error, const WorkbookLimits& limits)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = msg::cannotOpen(path, file.errorString());
        return nullptr;
    }
    const QByteArray bytes = file.readAll();
    file.close();

    // Our own checks first: the library never sees a file whose compound file
    // or record chain is damaged.
    QByteArray stream;
    QString why;
    int scanned = 0;
    std::map<int, std::map<std::pair<int, int>, Cell>> recorded;
    if (!readCompoundStream(bytes, QStringLiteral("Workbook"), &stream, &why)) {
        *error = msg::damaged(path, why);
        return nullptr;
    }
    if (!scanRecordedCells(stream, &scanned, &recorded) || scanned > kMaxSheets) {
        *error = msg::damaged(path, QStringLiteral("Workbook stream"));
        return nullptr;
    }

    const QString helper = helperPath();
    if (helper.isEmpty()) {
        *error = QStringLiteral("อ่านแฟ้ม %1 ไม่ได้: ไม่พบโปรแกรม velmora-cli ที่ใช้อ่านแฟ้ม .xls "
                                "(ต้องอยู่ในโฟลเดอร์เดียวกับโปรแกรม)")
                     .arg(path);
        return nullptr;
    }
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(helper,
        {QStringLiteral("xls-cells"), QString::number(limits.maxRows), QString::number(limits.maxColumns),
            QString::number(limits.maxCells), path});
    if (!child.waitForStarted(30000)) {
        *error = QStringLiteral("อ่านแฟ้ม %1 ไม่ได้: เริ่มโปรแกรม %2 ไม่ได้ (%3)").arg(path, helper, child.errorString());
        return nullptr;
    }
    child.closeWriteChannel();
    // The helper's output is bounded like one part of a workbook, its time by
    // what a real workbook of that size needs many times over.
    QByteArray frames;
    QElapsedTimer clock;
    clock.start();
    bool stopped = false;
    while (child.state() != QProcess::NotRunning) {
        child.waitForReadyRead(200);
        frames += child.readAllStandardOutput();
        if (frames.size() > limits.maxPartBytes || clock.elapsed() > kHelperMilliseconds) {
            child.kill();
            child.waitForFinished(5000);
            stopped = true;
            break;
        }
    }
    frames += child.readAllStandardOutput();
    if (stopped || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0) {
        *error =
            msg::damaged(path, stopped ? QStringLiteral("FreeXL: time or size") : QStringLiteral("FreeXL stopped"));
        return nullptr;
    }
    XlsCells cells;
    cells.limits = limits;
    if (!readXlsCells(frames, &cells, &why)) {
        *error = msg::damaged(path, why);
        return nullptr;
    }
    if (cells.refusal == kEncrypted) {
        *error = msg::encrypted(path);
        return nullptr;
    }
    if (cells.refusal == kOldVersion) {
        *error = msg::unreadable(QStringLiteral("แฟ้ม ") + path, QStringLiteral("แฟ้ม Excel รุ่นเก่ากว่า 97"));
        return nullptr;
    }
    if (cells.refusal != 0) {
        *error = msg::damaged(path, cells.refusalDetail);
        return nullptr;
    }
    if (static_cast<int>(cells.sheets.size()) != scanned) {
        *error = msg::damaged(path, QStringLiteral("sheet count"));
        return nullptr;
    }
    std::unique_ptr<XlsReader> book(new XlsReader(path));
    book->m_cells = std::move(cells);
    return book;
}

int XlsReader::sheetCount() const
{
    return static_cast<int>(m_cells.sheets.size());
}

bool XlsReader::readSheet(int index, Worksheet& out, QString* error)
{
    out = Worksheet();
    if (index < 1 || index > sheetCount()) {
        *error = msg::tooFewSheets(m_path, sheetCount(), index);
        return false;
    }
    const XlsCells::Sheet& sheet = m_cells.sheets[static_cast<size_t>(index - 1)];
    if (sheet.state == kSheetTooLarge) {
        *error = msg::sheetTooLarge(index, sheet.sheet.name);
        return false;
    }
    if (sheet.state != kSheetRead) {
        *error = msg::damaged(m_path, QStringLiteral("แผ่นงานที่ %1").arg(index));
        return false;
    }
    out = sheet.sheet;
    while (!out.rows.empty() && out.rows.back().empty())
        out.rows.pop_back();
    return true;
}

} // namespace velmora::import
