// The streaming .xlsx reader on packages written here byte for byte: targets
// that try to leave the package, nesting far past any real part, a sheet far
// larger than memory should hold, and the work bounded per byte of input.

#include "files/CellText.h"
#include "files/Workbook.h"
#include "support/XlsxPackage.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <map>
#include <string>

#include <zip.h>

using namespace velmora::import;

namespace {

QString fixture(const char* name)
{
    return QStringLiteral(VELMORA_FIXTURES "/") + QLatin1String(name);
}

using velmora::test::oneSheet;
using velmora::test::Parts;
using velmora::test::residentKb;
using velmora::test::writePackage;
using velmora::test::kRootRels;
using velmora::test::kWorkbook;
using velmora::test::sheetXml;
using velmora::test::workbookRels;

} // namespace

struct TargetCase
{
    const char* rootTarget; // target of the workbook in _rels/.rels
    const char* sheetTarget; // target of the sheet in the workbook's relationships
    bool opens;
};

class RelationshipTargets : public ::testing::TestWithParam<TargetCase>
{
};

TEST_P(RelationshipTargets, ResolvedInsideThePackage)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.xlsx"));
    Parts parts = oneSheet(R"(<row r="1"><c r="A1" t="inlineStr"><is><t>ok</t></is></c></row>)");
    std::string root = kRootRels;
    root.replace(root.find("xl/workbook.xml"), 15, GetParam().rootTarget);
    parts["_rels/.rels"] = root;
    parts["xl/_rels/workbook.xml.rels"] = workbookRels(GetParam().sheetTarget);
    writePackage(path, parts);

    QString error;
    auto book = openWorkbook(path, &error);
    if (!GetParam().opens) {
        EXPECT_FALSE(book);
        EXPECT_TRUE(error.contains(QStringLiteral("เสียหาย"))) << error.toStdString();
        EXPECT_TRUE(error.contains(QStringLiteral("นอกแฟ้ม"))) << error.toStdString();
        return;
    }
    ASSERT_TRUE(book) << error.toStdString();
    Worksheet sheet;
    ASSERT_TRUE(book->readSheet(1, sheet, &error)) << error.toStdString();
    EXPECT_EQ(cellAsText(sheet.cell(1, 1)), QStringLiteral("ok"));
}

INSTANTIATE_TEST_SUITE_P(Targets, RelationshipTargets,
    ::testing::Values(TargetCase {"../xl/workbook.xml", "worksheets/sheet1.xml", false},
        TargetCase {"/../xl/workbook.xml", "worksheets/sheet1.xml", false},
        TargetCase {"xl/workbook.xml", "../../xl/worksheets/sheet1.xml", false},
        TargetCase {"./xl/../xl/workbook.xml", "../xl/worksheets/sheet1.xml", true},
        TargetCase {"/xl/workbook.xml", "/xl/worksheets/sheet1.xml", true}));

TEST(XlsxStream, DeepNestingIsRefusedWithoutCrashing)
{
    // 60,000 nested elements inside a value and inside an inline string's text.
    std::string open, close;
    for (int i = 0; i < 60000; ++i) {
        open += "<x>";
        close += "</x>";
    }
    for (const std::string& cell : {"<c r=\"A1\"><v>" + open + "1" + close + "</v></c>",
             "<c r=\"A1\" t=\"inlineStr\"><is><t>" + open + "a" + close + "</t></is></c>"}) {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("deep.xlsx"));
        writePackage(path, oneSheet("<row r=\"1\">" + cell + "</row>"));
        QString error;
        auto book = openWorkbook(path, &error);
        ASSERT_TRUE(book) << error.toStdString();
        Worksheet sheet;
        EXPECT_FALSE(book->readSheet(1, sheet, &error));
        EXPECT_TRUE(error.contains(QStringLiteral("ซ้อนกันลึกเกิน"))) << error.toStdString();
    }
}

TEST(XlsxStream, TextOfNestedElementsIsKeptWithinTheBound)
{
    // Text inside elements nested in <t> and <v> is part of the value.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("nested.xlsx"));
    writePackage(path,
        oneSheet(R"(<row r="2"><c r="B2" t="inlineStr"><is><t>ab<x>cd<y>e</y></x></t><rPh><t>no</t></rPh></is></c>)"
                 R"(<c r="C2"><v>1<x>2</x>5</v></c><c r="D2" t="str"><v> sp </v></c></row>)"));
    QString error;
    auto book = openWorkbook(path, &error);
    ASSERT_TRUE(book) << error.toStdString();
    Worksheet sheet;
    ASSERT_TRUE(book->readSheet(1, sheet, &error)) << error.toStdString();
    EXPECT_EQ(cellAsText(sheet.cell(2, 2)), QStringLiteral("abcde"));
    EXPECT_EQ(sheet.cell(2, 3).kind, Cell::Kind::Number);
    EXPECT_EQ(sheet.cell(2, 3).number, 125);
    EXPECT_EQ(sheet.cell(2, 4).text, QStringLiteral(" sp "));
}

struct BadCell
{
    const char* row;
    const char* expected;
};

class BadCells : public ::testing::TestWithParam<BadCell>
{
};

TEST_P(BadCells, NamedInTheMessage)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bad.xlsx"));
    writePackage(path, oneSheet(GetParam().row));
    QString error;
    auto book = openWorkbook(path, &error);
    ASSERT_TRUE(book) << error.toStdString();
    Worksheet sheet;
    EXPECT_FALSE(book->readSheet(1, sheet, &error));
    EXPECT_TRUE(error.contains(QString::fromUtf8(GetParam().expected))) << error.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Cells, BadCells,
    ::testing::Values(BadCell {R"(<row r="3"><c r="B3"><v>1e999</v></c></row>)", "B3: \"1e999\""},
        BadCell {R"(<row r="3"><c r="B3"><v>12abc</v></c></row>)", "B3: \"12abc\""},
        BadCell {R"(<row r="3"><c r="C3" t="s"><v>0</v></c></row>)", "C3: shared string 0"},
        BadCell {R"(<row r="0"><c><v>1</v></c></row>)", "row r=\"0\""},
        BadCell {R"(<row r="1"><c r="12"><v>1</v></c></row>)", "c r=\"12\""},
        BadCell {R"(<row r="1"><c r="A1"><v>1</v></row>)", "แผ่นงานที่ 1: "},
        BadCell {R"(<row r="1"><c r="A1"><v>&undefined;</v></c></row>)", "undefined entity"},
        BadCell {R"(<row r="1048577"><c><v>1</v></c></row>)", "มีข้อมูลมากเกิน"}));

TEST(XlsxStream, WorkBoundedPerInputByte)
{
    // A sheet that inflates far beyond its compressed size is refused early,
    // and so are more shared strings than the limit.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ratio.xlsx"));
    writePackage(path, oneSheet(std::string(4 * 1024 * 1024, ' ')));
    WorkbookLimits tight;
    tight.maxInflateFloor = 64 * 1024;
    QString error;
    auto book = openWorkbook(path, &error, tight);
    ASSERT_TRUE(book) << error.toStdString();
    Worksheet sheet;
    EXPECT_FALSE(book->readSheet(1, sheet, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("ใหญ่เกิน"))) << error.toStdString();
    // The same sheet under the default floor reads (it is only blanks).
    book = openWorkbook(path, &error);
    ASSERT_TRUE(book) << error.toStdString();
    EXPECT_TRUE(book->readSheet(1, sheet, &error)) << error.toStdString();

    WorkbookLimits fewStrings;
    fewStrings.maxSharedStrings = 2;
    EXPECT_FALSE(openWorkbook(fixture("employees_libreoffice.xlsx"), &error, fewStrings));
    EXPECT_TRUE(error.contains(QStringLiteral("ใหญ่เกิน"))) << error.toStdString();
}

TEST(XlsxStream, RowsStreamInConstantMemory)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer keeps freed memory in quarantine: the resident size measures nothing here";
#endif
    // 100,000 rows of three cells read row by row: the resident memory stays
    // within a few megabytes of where it started, whatever the row count
    // (holding the sheet, or its inflated text, would take tens of megabytes).
    const int rows = 100000;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.xlsx"));
    {
        std::string data;
        data.reserve(static_cast<size_t>(rows) * 110);
        for (int r = 1; r <= rows; ++r) {
            const std::string n = std::to_string(r);
            data += "<row r=\"" + n + "\"><c r=\"A" + n + "\" t=\"inlineStr\"><is><t>" + std::to_string(10000000 + r)
                + "</t></is></c><c r=\"B" + n + "\"><v>" + n + ".25</v></c><c r=\"C" + n
                + "\" t=\"b\"><v>1</v></c></row>";
        }
        writePackage(path, oneSheet(data));
    }
    QString error;
    auto book = openWorkbook(path, &error);
    ASSERT_TRUE(book) << error.toStdString();
    const long before = residentKb();
    long highest = before;
    int seen = 0, misplaced = 0;
    double sum = 0;
    QString name;
    ASSERT_TRUE(book->readRows(
        1, &name,
        [&](int row, std::vector<Cell>& cells, QString*) {
            ++seen;
            if (row != seen || cells.size() != 3)
                ++misplaced;
            else
                sum += cells[1].number + cells[2].number;
            if (row % 10000 == 0)
                highest = std::max(highest, residentKb());
            return true;
        },
        &error))
        << error.toStdString();
    EXPECT_EQ(name, QStringLiteral("S"));
    EXPECT_EQ(seen, rows);
    EXPECT_EQ(misplaced, 0);
    EXPECT_DOUBLE_EQ(sum, static_cast<double>(rows) * (rows + 1) / 2 + 1.25 * rows);
    EXPECT_LT(highest - before, 8 * 1024) << "kB grown while streaming " << rows << " rows";
}

TEST(XlsxStream, ARowStoredTwiceKeepsTheLaterCells)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("twice.xlsx"));
    writePackage(path,
        oneSheet(
            R"(<row r="1"><c r="A1"><v>1</v></c><c r="B1"><v>2</v></c></row><row r="1"><c r="B1"><v>3</v></c></row>)"
            R"(<row><c><v>4</v></c></row>)"));
    QString error;
    auto book = openWorkbook(path, &error);
    ASSERT_TRUE(book) << error.toStdString();
    Worksheet sheet;
    ASSERT_TRUE(book->readSheet(1, sheet, &error)) << error.toStdString();
    EXPECT_EQ(sheet.cell(1, 1).number, 1);
    EXPECT_EQ(sheet.cell(1, 2).number, 3);
    EXPECT_EQ(sheet.cell(2, 1).number, 4);
}

// Parts whose writer puts every tag under a prefix (x:row, x:c) and declares
// namespaces on the elements themselves: read by local name, as any other;
// a declaration named like an attribute of the cell ("xmlns:r", "xmlns:t")
// is not taken for the cell's reference or type.
TEST(XlsxStream, PrefixedTagsAndNamespaceDeclarationsReadAlike)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("prefixed.xlsx"));
    Parts parts = oneSheet("");
    parts["xl/workbook.xml"] = R"(<?xml version="1.0"?>
<x:workbook xmlns:x="http://schemas.openxmlformats.org/spreadsheetml/2006/main" xmlns:rel="http://schemas.openxmlformats.org/officeDocument/2006/relationships">
<x:sheets><x:sheet name="S" sheetId="1" rel:id="rId1"/></x:sheets></x:workbook>)";
    for (auto& [name, data] : parts) {
        if (name.find("worksheets/") != std::string::npos)
            data = R"(<?xml version="1.0"?><x:worksheet xmlns:x="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><x:sheetData>)"
                   R"(<x:row r="1"><x:c r="B1" xmlns:r="urn:r" xmlns:t="urn:t" t="inlineStr"><x:is><x:t>ก ข</x:t></x:is></x:c>)"
                   R"(<x:c r="C1"><x:v>2.5</x:v></x:c></x:row>)"
                   R"(<x:row r="3" xmlns="urn:other"><x:c xmlns:r="urn:r"><x:v>7</x:v></x:c></x:row>)"
                   R"(</x:sheetData></x:worksheet>)";
    }
    writePackage(path, parts);
    QString error;
    auto book = openWorkbook(path, &error);
    ASSERT_TRUE(book) << error.toStdString();
    Worksheet sheet;
    ASSERT_TRUE(book->readSheet(1, sheet, &error)) << error.toStdString();
    EXPECT_EQ(sheet.cell(1, 2).text, QStringLiteral("ก ข"));
    EXPECT_DOUBLE_EQ(sheet.cell(1, 3).number, 2.5);
    EXPECT_DOUBLE_EQ(sheet.cell(3, 1).number, 7);
}
