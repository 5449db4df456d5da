#include "files/XlsReader.h"

#include "files/ByteOrder.h"
#include "files/ImportMessages.h"
#include "files/XlsFrames.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <cstring>

namespace velmora::import {

namespace {

constexpr qint64 kHelperMilliseconds = 10LL * 60 * 1000;

QString helperPath()
{
    QString forced = qEnvironmentVariable("VELMORA_XLS_HELPER");
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
