#include "files/ReportGrid.h"
#include "files/XlsxExport.h"

#include <gtest/gtest.h>

using namespace velmora::reports;

namespace {

TEST(ReportCsv, TitlesThenRowsWithRfc4180Quoting)
{
    ReportGrid g;
    g.titles = {QStringLiteral("No. "), QStringLiteral("SAP ID "), QStringLiteral("ชื่อ-นามสกุล")};
    g.rows.append({QStringLiteral("1"), QStringLiteral("'00123"), QStringLiteral("นายสมชาย ใจดี")});
    g.rows.append({QStringLiteral("2"), QStringLiteral("a,b"), QStringLiteral("say \"hi\"\nthere")});
    EXPECT_EQ(QString::fromUtf8(gridToCsv(g)),
        QStringLiteral("No. ,SAP ID ,ชื่อ-นามสกุล\r\n"
                       "1,'00123,นายสมชาย ใจดี\r\n"
                       "2,\"a,b\",\"say \"\"hi\"\"\nthere\"\r\n"));
}

TEST(ReportCsv, ShortRowsAreFilledToTheTitles)
{
    ReportGrid g = ReportGrid::emptyResult({QStringLiteral("A"), QStringLiteral("B"), QString()});
    EXPECT_EQ(gridToCsv(g), QByteArray("A,B,\r\n,,\r\n"));
}

struct FieldCase
{
    QString text;
    QByteArray field;
};

// One field of each kind: plain ASCII, two- and three-byte letters, the four
// characters that call for quotes (alone, together, at either end, a quote
// doubled), characters beyond U+FFFF with and without a comma.
class CsvField : public ::testing::TestWithParam<FieldCase>
{
};

TEST_P(CsvField, WrittenAsUtf8AndQuotedWhenItMustBe)
{
    ReportGrid g;
    g.titles = {QStringLiteral("A"), QStringLiteral("B")};
    g.rows.append({GetParam().text, QStringLiteral("x")});
    EXPECT_EQ(gridToCsv(g), QByteArray("A,B\r\n") + GetParam().field + ",x\r\n");
}

INSTANTIATE_TEST_SUITE_P(Table, CsvField,
    ::testing::Values(FieldCase {QString(), QByteArray()}, FieldCase {QStringLiteral("abc"), "abc"},
        FieldCase {QStringLiteral("Ánna"), "\xc3\x81nna"},
        FieldCase {QStringLiteral("นายสมชาย"), QStringLiteral("นายสมชาย").toUtf8()},
        FieldCase {QStringLiteral("64,285.71"), "\"64,285.71\""}, FieldCase {QStringLiteral("\""), "\"\"\"\""},
        FieldCase {QStringLiteral("\"\""), "\"\"\"\"\"\""},
        FieldCase {QStringLiteral("say \"hi\""), "\"say \"\"hi\"\"\""}, FieldCase {QStringLiteral("a\rb"), "\"a\rb\""},
        FieldCase {QStringLiteral("\n"), "\"\n\""},
        FieldCase {QStringLiteral(",คณะ \"วิทย์\","), QStringLiteral("\",คณะ \"\"วิทย์\"\",\"").toUtf8()},
        FieldCase {QStringLiteral("ก\U0001F600"), "\xe0\xb8\x81\xf0\x9f\x98\x80"},
        FieldCase {QStringLiteral("\U0001F600,"), "\"\xf0\x9f\x98\x80,\""}));

TEST(ReportCsv, ABrokenSurrogateIsWrittenAsToUtf8WritesIt)
{
    const QString broken = QStringLiteral("ก") + QChar(char16_t(0xD800)) + QStringLiteral(",");
    ReportGrid g;
    g.titles = {QStringLiteral("A")};
    g.rows.append({broken});
    EXPECT_EQ(gridToCsv(g), QByteArray("A\r\n\"") + broken.toUtf8() + "\"\r\n");
}

TEST(ReportCsv, LinesRowByRowAreTheGridsCsv)
{
    ReportGrid g;
    g.titles = {QStringLiteral("No. "), QStringLiteral("ชื่อ"), QStringLiteral("จำนวน")};
    g.rows.append({QStringLiteral("1"), QStringLiteral("ก, ข"), QStringLiteral("1,000.00")});
    g.rows.append({QStringLiteral("2")}); // short: filled
    g.rows.append({QStringLiteral("3"), QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("beyond")});
    QByteArray lines;
    int count = 0;
    CsvLines csv(g.columnCount(), [&](const QByteArray& line) {
        lines += line;
        ++count;
    });
    csv.row(g.titles);
    for (const QStringList& row : g.rows)
        csv.row(row);
    EXPECT_EQ(count, 4);
    EXPECT_EQ(lines, gridToCsv(g));
    EXPECT_EQ(lines, QStringLiteral("No. ,ชื่อ,จำนวน\r\n1,\"ก, ข\",\"1,000.00\"\r\n2,,\r\n3,a,b\r\n").toUtf8());
}

struct LetterCase
{
    int column;
    const char* letters;
};

class ColumnLetters : public ::testing::TestWithParam<LetterCase>
{
};

TEST_P(ColumnLetters, FixedTableOf256)
{
    EXPECT_EQ(columnLetters(GetParam().column), QLatin1String(GetParam().letters));
    EXPECT_EQ(columnNumber(QLatin1String(GetParam().letters)), GetParam().column);
}

INSTANTIATE_TEST_SUITE_P(Table, ColumnLetters,
    ::testing::Values(LetterCase {1, "A"}, LetterCase {7, "G"}, LetterCase {15, "O"}, LetterCase {16, "P"},
        LetterCase {26, "Z"}, LetterCase {27, "AA"}, LetterCase {52, "AZ"}, LetterCase {53, "BA"},
        LetterCase {234, "HZ"}, LetterCase {235, "IA"}, LetterCase {256, "IV"}));

TEST(ColumnLetters, OutsideTheTable)
{
    EXPECT_EQ(columnLetters(0), QString());
    EXPECT_EQ(columnLetters(257), QString());
    EXPECT_EQ(columnNumber(QStringLiteral("IW")), 0);
    EXPECT_EQ(columnNumber(QStringLiteral("a")), 0);
    EXPECT_EQ(columnNumber(QString()), 0);
}

} // namespace
