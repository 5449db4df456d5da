#include "ExportReader.h"

#include "files/XlsxExport.h"
#include "services/FundSource.h"
#include "services/ReportExports.h"
#include "services/ReportQueries.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace velmora::reports;
using velmora::test::cellAt;
using velmora::test::readWorkbook;

namespace {

const QString titleBlue = QStringLiteral("0C058F");
const QString headingBlue = QStringLiteral("9BCDE6");
const QString white = QStringLiteral("FFFFFF");

QString str(const QJsonObject& cell, const char* key)
{
    return cell.value(QLatin1String(key)).toString();
}

class ExportTest : public ::testing::Test
{
protected:
    QJsonObject exportAndRead(const ReportGrid& grid, const ExportOptions& options, int rows, int columns)
    {
        const QString path = dir.filePath(QStringLiteral("out%1.xlsx").arg(++count));
        QString error;
        EXPECT_TRUE(exportGrid(grid, options, path, &error)) << error.toStdString();
        const QJsonObject book = readWorkbook(path, rows, columns, &error);
        EXPECT_FALSE(book.isEmpty()) << error.toStdString();
        return book;
    }

    static ReportGrid contractEndGrid()
    {
        ReportGrid g;
        g.titles = contractEndTitles();
        g.rows.append({"1", "'00123", "นายสมชาย ใจดี", "'01/06/2005", "พนักงานมหาวิทยาลัย", "'31/05/2015", "คณะวิทยาศาสตร์",
            "3651", ""});
        g.rows.append(
            {"2", "'10000002", "นางสาวสุดา รักงาน", "'01/06/2015", "พนักงานส่วนงาน", "'30/06/2015", "01", "29", ""});
        g.rows.append({"3", "'10000003", "10,000.00", "0.00", "59.48", "007", "-1,234.50", "0", ""});
        return g;
    }

    QTemporaryDir dir;
    int count = 0;
};

TEST_F(ExportTest, TitleBlockCentredAcrossItsRange)
{
    const QJsonObject book = exportAndRead(contractEndGrid(), contractEndExport(), 8, 10);
    EXPECT_EQ(book.value("sheets").toArray().at(0).toString(), QStringLiteral("Emp Pro"));
    const QJsonObject a1 = cellAt(book, 1, 1);
    EXPECT_EQ(str(a1, "v"), QStringLiteral("รายงานข้อมูลพนักงาน "));
    EXPECT_EQ(str(a1, "fc"), titleBlue);
    EXPECT_EQ(a1.value("fs").toDouble(), 16);
    for (int c = 1; c <= 9; ++c)
        EXPECT_EQ(str(cellAt(book, 1, c), "al"), QStringLiteral("centerContinuous")) << c;
    EXPECT_NE(str(cellAt(book, 1, 10), "al"), QStringLiteral("centerContinuous"));
    for (int r : {2, 3}) {
        const QJsonObject cell = cellAt(book, r, 1);
        EXPECT_TRUE(cell.value("v").isNull()) << r;
        EXPECT_EQ(str(cell, "fc"), titleBlue) << r;
        EXPECT_EQ(cell.value("fs").toDouble(), 14) << r;
    }
}

TEST_F(ExportTest, HeadingStyledUpToTheLastStyledColumn)
{
    const QJsonObject book = exportAndRead(contractEndGrid(), contractEndExport(), 8, 10);
    const QStringList titles = contractEndTitles();
    for (int c = 1; c <= 7; ++c) {
        const QJsonObject cell = cellAt(book, 4, c);
        EXPECT_EQ(str(cell, "v"), titles.at(c - 1)) << c;
        EXPECT_EQ(str(cell, "fc"), titleBlue) << c;
        EXPECT_EQ(str(cell, "fill"), headingBlue) << c;
        EXPECT_EQ(str(cell, "fp"), QStringLiteral("solid")) << c;
        EXPECT_EQ(str(cell, "al"), QStringLiteral("center")) << c;
        EXPECT_EQ(str(cell, "b"), QStringLiteral("LRTB")) << c;
        EXPECT_EQ(cell.value("fs").toDouble(), 12) << c;
    }
    for (int c : {8, 9}) { // beyond G: written, size 12, no colours or borders
        const QJsonObject cell = cellAt(book, 4, c);
        EXPECT_TRUE(cell.value("fill").isNull()) << c;
        EXPECT_EQ(str(cell, "b"), QString()) << c;
        EXPECT_EQ(cell.value("fs").toDouble(), 12) << c;
    }
}

TEST_F(ExportTest, DataCellsWhiteWithVerticalRulesAndOuterEdges)
{
    const QJsonObject book = exportAndRead(contractEndGrid(), contractEndExport(), 8, 10);
    EXPECT_EQ(book.value("max_row").toInt(), 7);
    const QStringList expected = {QStringLiteral("LRT"), QStringLiteral("LR"), QStringLiteral("LRB")};
    for (int r = 5; r <= 7; ++r) {
        for (int c = 1; c <= 9; ++c) {
            const QJsonObject cell = cellAt(book, r, c);
            EXPECT_EQ(str(cell, "fill"), white) << r << "," << c;
            EXPECT_EQ(cell.value("fs").toDouble(), 12) << r << "," << c;
            EXPECT_EQ(str(cell, "b"), c <= 7 ? expected.at(r - 5) : QString()) << r << "," << c;
        }
    }
}

TEST_F(ExportTest, ApostropheKeepsTextAndLeadingZeros)
{
    const QJsonObject book = exportAndRead(contractEndGrid(), contractEndExport(), 8, 10);
    EXPECT_EQ(str(cellAt(book, 5, 2), "v"), QStringLiteral("00123"));
    EXPECT_EQ(str(cellAt(book, 5, 2), "t"), QStringLiteral("s"));
    EXPECT_EQ(str(cellAt(book, 5, 4), "v"), QStringLiteral("01/06/2005"));
    EXPECT_EQ(str(cellAt(book, 5, 4), "t"), QStringLiteral("s"));
    // Texts with leading zeros but no apostrophe stay text too: nothing is lost.
    EXPECT_EQ(str(cellAt(book, 6, 7), "v"), QStringLiteral("01"));
    EXPECT_EQ(str(cellAt(book, 7, 6), "v"), QStringLiteral("007"));
    // Numbers as the grid writes them become numbers shown the same way.
    EXPECT_EQ(str(cellAt(book, 5, 1), "t"), QStringLiteral("n"));
    EXPECT_EQ(cellAt(book, 5, 8).value("v").toDouble(), 3651);
    EXPECT_EQ(cellAt(book, 7, 3).value("v").toDouble(), 10000);
    EXPECT_EQ(str(cellAt(book, 7, 3), "nf"), QStringLiteral("#,##0.00"));
    EXPECT_EQ(cellAt(book, 7, 4).value("v").toDouble(), 0);
    EXPECT_EQ(cellAt(book, 7, 5).value("v").toDouble(), 59.48);
    EXPECT_EQ(str(cellAt(book, 7, 5), "nf"), QStringLiteral("General"));
    EXPECT_EQ(cellAt(book, 7, 7).value("v").toDouble(), -1234.5);
    EXPECT_EQ(str(cellAt(book, 5, 3), "v"), QStringLiteral("นายสมชาย ใจดี"));
}

TEST_F(ExportTest, PrintLayoutSetA)
{
    const QJsonObject book = exportAndRead(contractEndGrid(), contractEndExport(), 4, 9);
    EXPECT_TRUE(str(book, "print_title_rows") == QStringLiteral("$1:$4")
        || str(book, "print_title_rows") == QStringLiteral("1:4"))
        << str(book, "print_title_rows").toStdString();
    const QJsonObject m = book.value("margins").toObject();
    EXPECT_NEAR(m.value("left").toDouble() * 72, 20, 1e-6);
    EXPECT_NEAR(m.value("right").toDouble() * 72, 20, 1e-6);
    EXPECT_NEAR(m.value("top").toDouble() * 72, 70, 1e-6);
    EXPECT_NEAR(m.value("bottom").toDouble() * 72, 45, 1e-6);
    EXPECT_NEAR(m.value("header").toDouble() * 72, 20, 1e-6);
    EXPECT_NEAR(m.value("footer").toDouble() * 72, 20, 1e-6);
    EXPECT_EQ(str(book, "header_left"), QStringLiteral("Page &P From &N"));
    EXPECT_EQ(str(book, "header_right"), QStringLiteral("(Emp001)"));
    EXPECT_EQ(str(book, "footer_left"), QStringLiteral("Develop By Ostrel"));
    EXPECT_EQ(str(book, "footer_right"), QStringLiteral("&D &T"));
    EXPECT_EQ(book.value("paper").toVariant().toInt(), 9);
    EXPECT_EQ(str(book, "orientation"), QStringLiteral("portrait"));
    // Down, then over, is the default order: absent or said.
    EXPECT_TRUE(book.value("page_order").isNull() || str(book, "page_order") == QStringLiteral("downThenOver"));
    EXPECT_FALSE(book.value("use_first_page_number").toBool());
    EXPECT_FALSE(book.value("draft").toBool());
    const QJsonObject widths = book.value("widths").toObject();
    const double expected[] = {4, 11, 23, 20, 25, 13, 28};
    for (int c = 0; c < 7; ++c) {
        const QString letter = columnLetters(c + 1);
        // The file keeps a character width plus the cell padding of the default font.
        EXPECT_NEAR(widths.value(letter).toDouble(), expected[c] + 0.7109375, 0.01) << letter.toStdString();
    }
    EXPECT_TRUE(widths.value("H").isNull());
}

TEST_F(ExportTest, EmptySearchGivesOneBlankBorderedRow)
{
    const QJsonObject book = exportAndRead(ReportGrid::emptyResult(receivedTitles()), receivedExport(), 6, 16);
    EXPECT_EQ(book.value("max_row").toInt(), 5);
    EXPECT_EQ(str(cellAt(book, 4, 15), "v"), QStringLiteral("เงินชดเชยสุทธิที่ได้รับ"));
    EXPECT_EQ(str(cellAt(book, 4, 15), "fill"), headingBlue); // O is the last styled column
    for (int c = 1; c <= 15; ++c) {
        const QJsonObject cell = cellAt(book, 5, c);
        EXPECT_TRUE(cell.value("v").isNull()) << c;
        EXPECT_EQ(str(cell, "b"), QStringLiteral("LRTB")) << c;
        EXPECT_EQ(str(cell, "fill"), white) << c;
    }
    EXPECT_EQ(str(cellAt(book, 5, 16), "b"), QString());
}

TEST_F(ExportTest, BeforeAnySearchExportsTheEmptyInitialGrid)
{
    const QJsonObject book = exportAndRead(ReportGrid::initial(), contractEndExport(), 9, 8);
    EXPECT_EQ(book.value("max_row").toInt(), 8);
    for (int c = 1; c <= 7; ++c) {
        EXPECT_EQ(str(cellAt(book, 4, c), "fill"), headingBlue) << c;
        EXPECT_EQ(str(cellAt(book, 4, c), "b"), QStringLiteral("LRTB")) << c;
    }
    for (int r = 5; r <= 8; ++r) {
        for (int c = 1; c <= 7; ++c) {
            const QJsonObject cell = cellAt(book, r, c);
            EXPECT_TRUE(cell.value("v").isNull());
            QString borders = QStringLiteral("LR");
            if (r == 5)
                borders += QLatin1Char('T');
            if (r == 8)
                borders += QLatin1Char('B');
            EXPECT_EQ(str(cell, "b"), borders) << r << "," << c;
            // The grid has 5 columns: only they are written with white fill.
            if (c <= 5)
                EXPECT_EQ(str(cell, "fill"), white) << r << "," << c;
            else
                EXPECT_TRUE(cell.value("fill").isNull()) << r << "," << c;
        }
    }
}

TEST_F(ExportTest, ForecastStylesUpToPAndWritesAllNineteenColumns)
{
    ReportGrid g;
    g.titles = forecastTitles();
    QStringList row(19, QString());
    row[0] = "1";
    row[16] = "2";
    g.rows.append(row);
    const QJsonObject book = exportAndRead(g, forecastExport(), 5, 19);
    EXPECT_EQ(str(cellAt(book, 4, 16), "fill"), headingBlue);
    EXPECT_EQ(str(cellAt(book, 4, 16), "v"), QStringLiteral("ชื่อหน่วยงาน"));
    EXPECT_TRUE(cellAt(book, 4, 17).value("fill").isNull());
    EXPECT_EQ(str(cellAt(book, 4, 17), "v"), QStringLiteral("ประเภทบุคคลากร"));
    EXPECT_EQ(str(cellAt(book, 5, 16), "b"), QStringLiteral("LRTB"));
    EXPECT_EQ(str(cellAt(book, 5, 17), "b"), QString());
    EXPECT_EQ(str(cellAt(book, 5, 17), "fill"), white);
    EXPECT_EQ(str(cellAt(book, 5, 19), "fill"), white);
    EXPECT_EQ(str(cellAt(book, 1, 1), "v"), QStringLiteral("รายงานการรับเงินชดเชยพนักงาน "));
}

TEST_F(ExportTest, SetBWithASecondTitleLine)
{
    ExportOptions o = receivedExport();
    o.titleRange = QStringLiteral("A1:D1");
    o.lastStyledColumn = QStringLiteral("D");
    o.secondTitle = QStringLiteral("หน่วยงาน ทั้งหมด");
    o.pageTexts = PageTexts::SetB;
    ReportGrid g;
    g.titles = {"No. ", "SAP ID ", "ชื่อ-นามสกุล", "จำนวนเงิน"};
    g.rows.append({"1", "'0001", "x", "1,000.00"});
    const QJsonObject book = exportAndRead(g, o, 5, 5);
    EXPECT_EQ(str(cellAt(book, 2, 1), "v"), QStringLiteral("หน่วยงาน ทั้งหมด"));
    EXPECT_EQ(cellAt(book, 2, 1).value("fs").toDouble(), 14);
    EXPECT_EQ(str(cellAt(book, 1, 4), "al"), QStringLiteral("centerContinuous"));
    EXPECT_NE(str(cellAt(book, 1, 5), "al"), QStringLiteral("centerContinuous"));
    EXPECT_EQ(str(book, "header_left"), QStringLiteral("วันที่พิมพ์ &D &T"));
    EXPECT_EQ(str(book, "header_right"), QStringLiteral("หน้า &P จากทั้งหมด &N"));
    EXPECT_EQ(str(book, "footer_left"), QStringLiteral("Develop By Pelvo"));
    EXPECT_TRUE(book.value("footer_right").isNull() || str(book, "footer_right").isEmpty());
    EXPECT_EQ(str(cellAt(book, 5, 4), "b"), QStringLiteral("LRTB"));
    EXPECT_EQ(str(cellAt(book, 5, 5), "b"), QString());
}

TEST_F(ExportTest, NewFilesNeverReplaceOldOnes)
{
    const QDateTime now(QDate(2026, 12, 9), QTime(10, 15, 30));
    QFile existing(uniqueExportPath(dir.path(), QStringLiteral("รายชื่อผู้ครบสัญญา"), now));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write("keep me");
    existing.close();

    QString error;
    const QString first = exportGridToNewFile(contractEndGrid(), contractEndExport(), dir.path(), now, &error);
    const QString second = exportGridToNewFile(contractEndGrid(), contractEndExport(), dir.path(), now, &error);
    ASSERT_FALSE(first.isEmpty()) << error.toStdString();
    ASSERT_FALSE(second.isEmpty()) << error.toStdString();
    EXPECT_NE(first, second);
    EXPECT_NE(first, existing.fileName());
    // the file is named after its report (before, every report wrote "Emp Pro <date>")
    EXPECT_TRUE(first.endsWith(QStringLiteral("รายชื่อผู้ครบสัญญา 2026-12-09 101530 (2).xlsx"))) << first.toStdString();
    EXPECT_TRUE(second.endsWith(QStringLiteral("รายชื่อผู้ครบสัญญา 2026-12-09 101530 (3).xlsx"))) << second.toStdString();
    QStringList stems;
    for (const ExportOptions& o : {contractEndExport(), receivedExport(), forecastExport(), fundSourceExport(QString()),
             selectionExport(QString())})
        stems << o.fileName;
    stems.removeDuplicates();
    EXPECT_EQ(stems.size(), 5) << stems.join(QStringLiteral(" | ")).toStdString();
    ASSERT_TRUE(existing.open(QIODevice::ReadOnly));
    EXPECT_EQ(existing.readAll(), QByteArray("keep me"));
    // Nothing temporary is left behind.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 3);
}

TEST_F(ExportTest, UnwritableFolderIsReported)
{
    QString error;
    EXPECT_FALSE(exportGrid(contractEndGrid(), contractEndExport(), QStringLiteral("/nonexistent/dir/x.xlsx"), &error));
    EXPECT_FALSE(error.isEmpty());
}

} // namespace

struct NumberCase
{
    const char* text;
    CellNumber kind;
    double value;
};

class GridTextAsNumber : public ::testing::TestWithParam<NumberCase>
{
};

TEST_P(GridTextAsNumber, OnlyTextsThatReadBackTheSame)
{
    const NumberCase& p = GetParam();
    double value = -999;
    EXPECT_EQ(numberKind(QString::fromUtf8(p.text), value), p.kind) << p.text;
    if (p.kind != CellNumber::None) {
        EXPECT_EQ(value, p.value) << p.text;
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, GridTextAsNumber,
    ::testing::Values(NumberCase {"0", CellNumber::Plain, 0}, NumberCase {"3651", CellNumber::Plain, 3651},
        NumberCase {"-29", CellNumber::Plain, -29}, NumberCase {"123456789012345", CellNumber::Plain, 123456789012345.0},
        NumberCase {"1234567890123456", CellNumber::None, 0}, // 16 digits: no longer exact
        NumberCase {"007", CellNumber::None, 0}, NumberCase {"01", CellNumber::None, 0},
        NumberCase {"59.48", CellNumber::Plain, 59.48}, NumberCase {"0.5", CellNumber::Plain, 0.5},
        NumberCase {"59.480", CellNumber::None, 0}, NumberCase {"00.5", CellNumber::None, 0},
        NumberCase {".5", CellNumber::None, 0}, NumberCase {"5.", CellNumber::None, 0},
        NumberCase {"1.50", CellNumber::Amount, 1.5}, NumberCase {"01.50", CellNumber::None, 0},
        NumberCase {"10,000.00", CellNumber::Amount, 10000}, NumberCase {"-1,234.50", CellNumber::Amount, -1234.5},
        NumberCase {"1,000,000,000,000.00", CellNumber::Amount, 1e12},
        NumberCase {"1,000,000,000,000,000.00", CellNumber::None, 0}, // five groups
        NumberCase {"1,234.5", CellNumber::None, 0}, NumberCase {"1234.00", CellNumber::None, 0},
        NumberCase {"1,00.00", CellNumber::None, 0}, NumberCase {"0,123.00", CellNumber::None, 0},
        NumberCase {"-0,123.00", CellNumber::None, 0}, NumberCase {",123.00", CellNumber::None, 0},
        NumberCase {"๑๒", CellNumber::None, 0}, // Thai digits stay text
        NumberCase {"1e5", CellNumber::None, 0}, NumberCase {" 12", CellNumber::None, 0},
        NumberCase {"12 ", CellNumber::None, 0}, NumberCase {"+5", CellNumber::None, 0},
        NumberCase {"-", CellNumber::None, 0}, NumberCase {"", CellNumber::None, 0},
        NumberCase {"1.2.3", CellNumber::None, 0}, NumberCase {"'12", CellNumber::None, 0}));
