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
