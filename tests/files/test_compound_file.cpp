// The compound-file reader on files built here byte by byte: a well-formed
// file gives its streams back, and every damaged header field, sector number
// and chain is refused without reading outside the file.
#include "files/CompoundFile.h"
#include "files/Workbook.h"
#include "files/XlsReader.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <cctype>
#include <functional>
#include <map>

using namespace velmora::import;

namespace {

constexpr quint32 kEnd = 0xFFFFFFFE;
constexpr quint32 kFree = 0xFFFFFFFF;
constexpr quint32 kFatSector = 0xFFFFFFFD;

void put16(QByteArray& b, qsizetype at, quint16 v)
{
    b[at] = char(v & 0xFF);
    b[at + 1] = char(v >> 8);
}

void put32(QByteArray& b, qsizetype at, quint32 v)
{
    put16(b, at, quint16(v & 0xFFFF));
    put16(b, at + 2, quint16(v >> 16));
}

QByteArray pattern(int size, int seed)
{
    QByteArray b(size, '\0');
    for (int i = 0; i < size; ++i)
        b[i] = char((i * 7 + seed) & 0xFF);
    return b;
}

// Where the parts of the built file are, to damage them.
struct Layout
{
    static constexpr qsizetype fat = 512; // sector 0
    static constexpr qsizetype directory = 1024; // sector 1
    static constexpr qsizetype miniFat = 1536; // sector 2
    static constexpr qsizetype bigEntry = directory + 128;
    static constexpr qsizetype smallEntry = directory + 256;
};

const QByteArray kBig = pattern(5000, 1); // a regular stream (10 sectors)
const QByteArray kSmall = pattern(300, 2); // a mini stream (5 mini sectors)

void directoryEntry(QByteArray& b, qsizetype at, const QString& name, int type, quint32 start, quint32 size)
{
    for (int i = 0; i < name.size(); ++i)
        put16(b, at + 2 * i, name.at(i).unicode());
    put16(b, at + 0x40, quint16((name.size() + 1) * 2));
    b[at + 0x42] = char(type);
    put32(b, at + 0x44, kFree);
    put32(b, at + 0x48, kFree);
    put32(b, at + 0x4C, kFree);
    put32(b, at + 0x74, start);
    put32(b, at + 0x78, size);
}

// A version 3 compound file: header, allocation table (sector 0), directory
// (1), mini allocation table (2), the "Workbook" stream (3-12) and the mini
// stream (13) holding "Small".
QByteArray buildCompoundFile()
{
    const int bigSectors = (kBig.size() + 511) / 512;
    const int miniSectors = (kSmall.size() + 63) / 64;
    const int miniStreamSector = 3 + bigSectors;
    QByteArray b(512 * (2 + miniStreamSector), '\0');
    b.replace(0, 8, QByteArray::fromHex("D0CF11E0A1B11AE1"));
    put16(b, 0x18, 0x3E);
    put16(b, 0x1A, 3);
    put16(b, 0x1C, 0xFFFE);
    put16(b, 0x1E, 9);
    put16(b, 0x20, 6);
    put32(b, 0x2C, 1); // allocation table sectors
    put32(b, 0x30, 1); // first directory sector
    put32(b, 0x38, 4096);
    put32(b, 0x3C, 2); // first mini allocation table sector
    put32(b, 0x40, 1);
    put32(b, 0x44, kEnd); // no allocation index sectors
    put32(b, 0x48, 0);
    put32(b, 0x4C, 0);
    for (int i = 1; i < 109; ++i)
        put32(b, 0x4C + 4 * i, kFree);

    for (int i = 0; i < 128; ++i)
        put32(b, Layout::fat + 4 * i, kFree);
    put32(b, Layout::fat, kFatSector);
    put32(b, Layout::fat + 4, kEnd);
    put32(b, Layout::fat + 8, kEnd);
    for (int s = 3; s < 3 + bigSectors; ++s)
        put32(b, Layout::fat + 4 * s, s + 1 < 3 + bigSectors ? quint32(s + 1) : kEnd);
    put32(b, Layout::fat + 4 * miniStreamSector, kEnd);

    directoryEntry(
        b, Layout::directory, QStringLiteral("Root Entry"), 5, quint32(miniStreamSector), quint32(miniSectors * 64));
    directoryEntry(b, Layout::bigEntry, QStringLiteral("Workbook"), 2, 3, quint32(kBig.size()));
    directoryEntry(b, Layout::smallEntry, QStringLiteral("Small"), 2, 0, quint32(kSmall.size()));

    for (int i = 0; i < 128; ++i)
        put32(b, Layout::miniFat + 4 * i, kFree);
    for (int m = 0; m < miniSectors; ++m)
        put32(b, Layout::miniFat + 4 * m, m + 1 < miniSectors ? quint32(m + 1) : kEnd);

    b.replace(512 * 4, kBig.size(), kBig);
    b.replace(512 * (1 + miniStreamSector), kSmall.size(), kSmall);
    return b;
}

} // namespace

TEST(CompoundFile, WellFormedFileGivesItsStreams)
{
    const QByteArray file = buildCompoundFile();
    QByteArray out;
    QString why;
    ASSERT_TRUE(readCompoundStream(file, QStringLiteral("Workbook"), &out, &why)) << why.toStdString();
    EXPECT_EQ(out, kBig);
    ASSERT_TRUE(readCompoundStream(file, QStringLiteral("small"), &out, &why)) << why.toStdString();
    EXPECT_EQ(out, kSmall);
    EXPECT_FALSE(readCompoundStream(file, QStringLiteral("Book"), &out, &why));
    EXPECT_TRUE(out.isEmpty());
}

struct Damage
{
    const char* what;
    std::function<void(QByteArray&)> apply;
    const char* stream = "Workbook";
};

class DamagedCompoundFiles : public ::testing::TestWithParam<Damage>
{
};

TEST_P(DamagedCompoundFiles, AreRefused)
{
    QByteArray file = buildCompoundFile();
    GetParam().apply(file);
    QByteArray out = "left over";
    QString why;
    EXPECT_FALSE(readCompoundStream(file, QString::fromLatin1(GetParam().stream), &out, &why)) << GetParam().what;
    EXPECT_TRUE(out.isEmpty()) << GetParam().what;
    EXPECT_FALSE(why.isEmpty()) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(Fields, DamagedCompoundFiles,
    ::testing::Values(
        // The shifts that once gave 1 << 63 and 1 << 65535, then a negative size.
        Damage {"mini sector shift 63", [](QByteArray& b) { put16(b, 0x20, 63); }, "Small"},
        Damage {"mini sector shift 65535", [](QByteArray& b) { put16(b, 0x20, 0xFFFF); }, "Small"},
        Damage {"mini sector shift 7", [](QByteArray& b) { put16(b, 0x20, 7); }, "Small"},
        Damage {"sector shift 12 in version 3", [](QByteArray& b) { put16(b, 0x1E, 12); }},
        Damage {"sector shift 9 in version 4", [](QByteArray& b) { put16(b, 0x1A, 4); }},
        Damage {"sector shift 63", [](QByteArray& b) { put16(b, 0x1E, 63); }},
        Damage {"version 5", [](QByteArray& b) { put16(b, 0x1A, 5); }},
        Damage {"byte order", [](QByteArray& b) { put16(b, 0x1C, 0xFEFF); }},
        Damage {"mini stream cutoff", [](QByteArray& b) { put32(b, 0x38, 0x7FFFFFFF); }},
        Damage {"directory sector count in version 3", [](QByteArray& b) { put32(b, 0x28, 1); }},
        Damage {"no allocation table", [](QByteArray& b) { put32(b, 0x2C, 0); }},
        Damage {"more allocation table sectors than the file", [](QByteArray& b) { put32(b, 0x2C, 0xFFFFFFFF); }},
        Damage {"allocation index chain outside the file",
            [](QByteArray& b) {
                b.append(QByteArray(512 * 300, '\0'));
                put32(b, 0x2C, 110);
                put32(b, 0x48, 1);
                put32(b, 0x44, 0x7FFFFFFF);
            }},
        Damage {"allocation index chain looping",
            [](QByteArray& b) {
                // 240 table sectors: 109 named in the header, 127 in index
                // sector 3, the rest in the index sector it names: itself.
                b.append(QByteArray(512 * 300, '\0'));
                for (int i = 0; i < 109; ++i)
                    put32(b, 0x4C + 4 * i, 0);
                put32(b, 0x2C, 240);
                put32(b, 0x48, 5);
                put32(b, 0x44, 3);
                put32(b, 512 * 4 + 508, 3);
            }},
        Damage {"more allocation index sectors than counted",
            [](QByteArray& b) {
                b.append(QByteArray(512 * 300, '\0'));
                for (int i = 0; i < 109; ++i)
                    put32(b, 0x4C + 4 * i, 0);
                put32(b, 0x2C, 240);
                put32(b, 0x48, 1);
                put32(b, 0x44, 3);
                put32(b, 512 * 4 + 508, 20);
            }},
        Damage {"allocation table sector outside the file", [](QByteArray& b) { put32(b, 0x4C, 4000); }},
        Damage {"directory outside the file", [](QByteArray& b) { put32(b, 0x30, 0xFFFFFF00); }},
        Damage {"directory chain looping", [](QByteArray& b) { put32(b, Layout::fat + 4, 1); }},
        Damage {"root entry missing", [](QByteArray& b) { b[Layout::directory + 0x42] = 1; }},
        Damage {"stream chain looping", [](QByteArray& b) { put32(b, Layout::fat + 4 * 5, 4); }},
        Damage {"stream chain shorter than its size", [](QByteArray& b) { put32(b, Layout::fat + 4 * 6, kEnd); }},
        Damage {"stream chain into a marker", [](QByteArray& b) { put32(b, Layout::fat + 4 * 6, kFatSector); }},
        Damage {"stream larger than the file", [](QByteArray& b) { put32(b, Layout::bigEntry + 0x78, 0xFFFFFFF0); }},
        Damage {
            "stream starting outside the file", [](QByteArray& b) { put32(b, Layout::bigEntry + 0x74, 0x00FFFFFF); }},
        Damage {"mini stream larger than its chain", [](QByteArray& b) { put32(b, Layout::directory + 0x78, 0x10000); },
            "Small"},
        Damage {"mini sector beyond the mini stream", [](QByteArray& b) { put32(b, Layout::smallEntry + 0x74, 9); },
            "Small"},
        Damage {"mini chain looping", [](QByteArray& b) { put32(b, Layout::miniFat + 8, 0); }, "Small"},
        Damage {"mini table outside the file", [](QByteArray& b) { put32(b, 0x3C, 0x0FFFFFFF); }, "Small"},
        Damage {"mini table chain looping", [](QByteArray& b) { put32(b, Layout::fat + 8, 2); }, "Small"},
        Damage {"truncated to its header", [](QByteArray& b) { b.truncate(512); }},
        Damage {"truncated in the header", [](QByteArray& b) { b.truncate(300); }}),
    [](const ::testing::TestParamInfo<Damage>& info) {
        std::string name;
        for (const char* p = info.param.what; *p; ++p)
            name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
        return name;
    });

TEST(XlsReader, DamagedCompoundFileRefusedBeforeAnyLibrarySeesIt)
{
    // The mini sector shift of 63 that once crashed the import.
    QByteArray file = buildCompoundFile();
    put16(file, 0x20, 63);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("shift.xls"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(file);
    f.close();
    QString error;
    EXPECT_FALSE(openWorkbook(path, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("เสียหาย"))) << error.toStdString();
}

TEST(XlsReader, SheetsStartingTogetherAreRefused)
{
    // Two BOUNDSHEET records naming the same start would read one sheet's
    // records twice; a stream naming many of them would take quadratic time.
    QByteArray stream;
    auto record = [&](quint16 type, const QByteArray& body) {
        QByteArray head(4, '\0');
        put16(head, 0, type);
        put16(head, 2, quint16(body.size()));
        stream += head + body;
    };
    QByteArray sheet(8, '\0');
    put32(sheet, 0, 0);
    record(0x0809, QByteArray(16, '\0')); // BOF
    record(0x0085, sheet);
    record(0x0085, sheet);
    record(0x000A, {});
    int sheets = 0;
    std::map<int, std::map<std::pair<int, int>, Cell>> cells;
    EXPECT_FALSE(scanRecordedCells(stream, &sheets, &cells));

    // One sheet starting at the globals' BOF, ending at their EOF: readable.
    stream.clear();
    record(0x0809, QByteArray(16, '\0'));
    record(0x0085, sheet);
    record(0x000A, {});
    EXPECT_TRUE(scanRecordedCells(stream, &sheets, &cells));
    EXPECT_EQ(sheets, 1);
    // Without an end of sheet it is not.
    stream.chop(4);
    EXPECT_FALSE(scanRecordedCells(stream, &sheets, &cells));
}

namespace {

QByteArray frame(char tag, const QByteArray& body)
{
    QByteArray b(1, tag);
    QByteArray length(4, '\0');
    put32(length, 0, quint32(body.size()));
    return b + length + body;
}

QByteArray cellFrame(quint32 row, quint32 column, Cell::Kind kind, const QByteArray& text = {})
{
    QByteArray body(17, '\0');
    put32(body, 0, row);
    put32(body, 4, column);
    body[8] = char(kind);
    return frame('C', body + text);
}

const QByteArray kSheetHead = QByteArray("VXC1") + frame('S', QByteArray(1, '\0') + "ประวัติ");

struct Frames
{
    const char* what;
    QByteArray bytes;
};

class MalformedHelperOutput : public ::testing::TestWithParam<Frames>
{
};

} // namespace

TEST(HelperOutput, SheetsAndCellsAsSent)
{
    XlsCells book;
    QString detail;
    const QByteArray bytes =
        kSheetHead + cellFrame(2, 3, Cell::Kind::Text, "ก") + frame('S', QByteArray(1, '\1')) + frame('Z', {});
    ASSERT_TRUE(readXlsCells(bytes, &book, &detail)) << detail.toStdString();
    ASSERT_EQ(book.sheets.size(), 2u);
    EXPECT_EQ(book.sheets[0].sheet.name, QStringLiteral("ประวัติ"));
    EXPECT_EQ(book.sheets[0].sheet.cell(2, 3).text, QStringLiteral("ก"));
    EXPECT_EQ(book.sheets[1].state, 1); // beyond the limits: no cells
    EXPECT_TRUE(book.complete);

    ASSERT_TRUE(readXlsCells(QByteArray("VXC1") + frame('R', QByteArray(1, '\2')), &book, &detail));
    EXPECT_EQ(book.refusal, 2);
}

TEST_P(MalformedHelperOutput, IsRefused)
{
    XlsCells book;
    book.limits.maxRows = 100;
    book.limits.maxColumns = 10;
    book.limits.maxCells = 3;
    QString detail;
    EXPECT_FALSE(readXlsCells(GetParam().bytes, &book, &detail)) << GetParam().what;
    EXPECT_FALSE(detail.isEmpty());
    EXPECT_TRUE(book.sheets.empty());
    EXPECT_EQ(book.limits.maxRows, 100); // the limits stay for the next call
}

INSTANTIATE_TEST_SUITE_P(Frames, MalformedHelperOutput,
    ::testing::Values(Frames {"nothing", {}}, Frames {"no end", kSheetHead},
        Frames {"cut in a frame", (kSheetHead + cellFrame(1, 1, Cell::Kind::Text, "abc")).chopped(2)},
        Frames {"length beyond the output", kSheetHead + QByteArray("C\xff\xff\xff\x7f", 5)},
        Frames {"cell before any sheet", QByteArray("VXC1") + cellFrame(1, 1, Cell::Kind::Number) + frame('Z', {})},
        Frames {"row 0", kSheetHead + cellFrame(0, 1, Cell::Kind::Number) + frame('Z', {})},
        Frames {"row beyond the limit", kSheetHead + cellFrame(101, 1, Cell::Kind::Number) + frame('Z', {})},
        Frames {"row 2^32-1", kSheetHead + cellFrame(0xFFFFFFFF, 1, Cell::Kind::Number) + frame('Z', {})},
        Frames {"column beyond the limit", kSheetHead + cellFrame(1, 11, Cell::Kind::Number) + frame('Z', {})},
        Frames {"more cells than the limit",
            kSheetHead + cellFrame(1, 1, Cell::Kind::Number) + cellFrame(1, 2, Cell::Kind::Number)
                + cellFrame(1, 3, Cell::Kind::Number) + cellFrame(1, 4, Cell::Kind::Number) + frame('Z', {})},
        Frames {"unknown cell kind", kSheetHead + cellFrame(1, 1, Cell::Kind(9)) + frame('Z', {})},
        Frames {"empty cell kind", kSheetHead + cellFrame(1, 1, Cell::Kind::Empty) + frame('Z', {})},
        Frames {"short cell", kSheetHead + frame('C', QByteArray(16, '\1')) + frame('Z', {})},
        Frames {"cell of a sheet beyond the limits",
            QByteArray("VXC1") + frame('S', QByteArray(1, '\1')) + cellFrame(1, 1, Cell::Kind::Number)
                + frame('Z', {})},
        Frames {"unknown sheet state", QByteArray("VXC1") + frame('S', QByteArray(1, '\7')) + frame('Z', {})},
        Frames {"unknown frame", kSheetHead + frame('Q', {}) + frame('Z', {})},
        Frames {"output after the end", kSheetHead + frame('Z', {}) + "x"},
        Frames {"unknown refusal", QByteArray("VXC1") + frame('R', QByteArray(1, '\x09'))}),
    [](const ::testing::TestParamInfo<Frames>& info) {
        std::string name;
        for (const char* p = info.param.what; *p; ++p)
            name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
        return name;
    });

namespace {

// Points the .xls reader at another helper for one test.
class HelperOverride
{
public:
    explicit HelperOverride(const QString& path)
        : m_saved(qgetenv("VELMORA_XLS_HELPER"))
    {
        qputenv("VELMORA_XLS_HELPER", path.toLocal8Bit());
    }
    ~HelperOverride() { qputenv("VELMORA_XLS_HELPER", m_saved); }

private:
    QByteArray m_saved;
};

QString script(const QTemporaryDir& dir, const char* name, const QByteArray& body)
{
    const QString path = dir.filePath(QLatin1String(name));
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("#!/bin/sh\n" + body + "\n");
    f.close();
    f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

} // namespace

TEST(XlsReader, ProgramSurvivesWhatTheHelperDoes)
{
    const QString workbook = QStringLiteral(VELMORA_FIXTURES "/employees_libreoffice.xls");
    QTemporaryDir dir;
    struct Case
    {
        const char* helper;
        QByteArray body;
    };
    const Case cases[] = {
        {"crashes", "kill -SEGV $$"},
        {"aborts", "kill -ABRT $$"},
        {"fails", "exit 1"},
        {"writes garbage", "printf 'VXC1C\\377\\377\\377\\377'"},
        {"stops halfway", "printf 'VXC1S\\001\\000\\000\\000\\000'"},
        {"writes nothing", "exit 0"},
    };
    for (const Case& c : cases) {
        HelperOverride helper(script(dir, c.helper, c.body));
        QString error;
        EXPECT_FALSE(openWorkbook(workbook, &error)) << c.helper;
        EXPECT_TRUE(error.contains(QStringLiteral("เสียหาย"))) << c.helper << ": " << error.toStdString();
    }
    {
        HelperOverride helper(dir.filePath(QStringLiteral("no-such-helper")));
        QString error;
        EXPECT_FALSE(openWorkbook(workbook, &error));
        EXPECT_FALSE(error.isEmpty());
    }
    // The real helper still reads it.
    QString error;
    EXPECT_TRUE(openWorkbook(workbook, &error)) << error.toStdString();
}
