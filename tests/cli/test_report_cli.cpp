#include "ExportReader.h"
#include "ReportData.h"

#include "CliRunner.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

using namespace velmora::test;

namespace {

const QString uni = QStringLiteral("พนักงานมหาวิทยาลัย");
const QString dep = QStringLiteral("พนักงานส่วนงาน");
const QString sci = QStringLiteral("คณะวิทยาศาสตร์");
const QString arts = QStringLiteral("คณะมนุษยศาสตร์");

// The report command compared with checked-in reference files. A missing
// reference fails; the output is then left beside the build for review.
class ReportCli : public ::testing::Test
{
protected:
    ReportCli()
    {
        t.addLogin();
        addType(t, "2", uni);
        addType(t, "3", dep);
        addDepart(t, "11", sci);
        addDepart(t, "12", arts);
        addEmployee(t, {"00000101", "ข", "15/03/1960", QDate(2005, 6, 1), QDate(2015, 6, 30), "2", "11", 10000});
        addEmployee(
            t, {"00000102", "ก, \"ชื่อเล่น\"", "10/10/1955", QDate(2012, 2, 1), QDate(2015, 6, 1), "2", "11", 20000});
        addEmployee(t, {"00000103", "ค", "01/01/1948", QDate(2000, 1, 1), QDate(2015, 12, 31), "3", "12", 30000});
        addEmployee(t, {"00000104", "ง", "", QDate(2014, 6, 1), QDate(2016, 6, 30), "9", "99", 12000});
        addSaved(t, {"00000201", "06/2015", sci, 15000, 10, 0, 1.0});
        addSaved(t, {"00000202", "12/2015", arts, 20000.5, 6, 1000, 119003});
    }

    void expectReference(const QStringList& args, const char* reference)
    {
        QStringList all = {QStringLiteral("--db"), t.url(), QStringLiteral("report")};
        all << args;
        const CliResult r = runCliAs(kTesterLogin, all);
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        QFile expected(QStringLiteral(VELMORA_SOURCE_DIR "/tests/cli/fixtures/") + QLatin1String(reference));
        if (!expected.open(QIODevice::ReadOnly)) {
            QFile actual(QStringLiteral(VELMORA_BINARY_DIR "/") + QLatin1String(reference));
            if (actual.open(QIODevice::WriteOnly))
                actual.write(r.out.toUtf8());
            FAIL() << "missing reference " << reference << "; the output is in " << VELMORA_BINARY_DIR;
        }
        EXPECT_EQ(r.out, QString::fromUtf8(expected.readAll())) << reference;
    }

    TestDatabase t;
};

TEST_F(ReportCli, ContractEndAll)
{
    expectReference({QStringLiteral("contract-end")}, "contract-end-all.csv");
}

TEST_F(ReportCli, ContractEndMonthAndType)
{
    expectReference({QStringLiteral("contract-end"), QStringLiteral("--month"), QStringLiteral("06/2015"),
                        QStringLiteral("--type"), uni},
        "contract-end-06-2015.csv");
}

TEST_F(ReportCli, ReceivedYear)
{
    expectReference({QStringLiteral("received"), QStringLiteral("--year"), QStringLiteral("2015"),
                        QStringLiteral("--department"), sci},
        "received-2015.csv");
}

TEST_F(ReportCli, ForecastAllTypes)
{
    expectReference(
        {QStringLiteral("forecast"), QStringLiteral("--year"), QStringLiteral("2561")}, "forecast-2561.csv");
}

TEST_F(ReportCli, NothingFoundPrintsTitlesAndOneBlankRow)
{
    const CliResult r = runCliAs(kTesterLogin,
        {QStringLiteral("--db"), t.url(), QStringLiteral("report"), QStringLiteral("received"),
            QStringLiteral("--month"), QStringLiteral("01/1999")});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out.count(QStringLiteral("\r\n")), 2);
    EXPECT_TRUE(r.out.endsWith(QStringLiteral(",,,,,,,,,,,,,,\r\n")));
    EXPECT_TRUE(r.err.contains(QStringLiteral("ไม่พบข้อมูลที่ต้องการ")));
}

TEST_F(ReportCli, BadInputIsRefused)
{
    struct Case
    {
        QStringList args;
        int exit;
    };
    const QList<Case> cases = {
        {{QStringLiteral("contract-end"), QStringLiteral("--year"), QStringLiteral("15")}, 1},
        {{QStringLiteral("received"), QStringLiteral("--month"), QStringLiteral("13/2015")}, 1},
        {{QStringLiteral("forecast"), QStringLiteral("--year"), QStringLiteral("two")}, 1},
        {{QStringLiteral("forecast"), QStringLiteral("--year"), QStringLiteral("2026")}, 1},
        {{QStringLiteral("received"), QStringLiteral("--year"), QStringLiteral("2569")}, 1},
        {{QStringLiteral("contract-end"), QStringLiteral("--month"), QStringLiteral("06/2558")}, 1},
        {{QStringLiteral("contract-end"), QStringLiteral("--year"), QStringLiteral("2015"), QStringLiteral("--month"),
             QStringLiteral("06/2015")},
            2},
        {{QStringLiteral("received"), QStringLiteral("--type"), uni}, 2},
        {{QStringLiteral("fund")}, 2},
        {{}, 2},
    };
    for (const Case& c : cases) {
        const CliResult r =
            runCliAs(kTesterLogin, QStringList {QStringLiteral("--db"), t.url(), QStringLiteral("report")} + c.args);
        EXPECT_EQ(r.exitCode, c.exit) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << c.args.join(' ').toStdString();
        EXPECT_FALSE(r.err.trimmed().isEmpty());
    }
}

TEST_F(ReportCli, XlsxOutput)
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("forecast.xlsx"));
    const CliResult r = runCliAs(kTesterLogin,
        {QStringLiteral("--db"), t.url(), QStringLiteral("report"), QStringLiteral("forecast"),
            QStringLiteral("--year"), QStringLiteral("2561"), QStringLiteral("--xlsx"), out});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
    QString error;
    const QJsonObject book = readWorkbook(out, 8, 19, &error);
    ASSERT_FALSE(book.isEmpty()) << error.toStdString();
    EXPECT_EQ(book.value("max_row").toInt(), 8); // title block, heading, four employees
    EXPECT_EQ(cellAt(book, 1, 1).value("v").toString(), QStringLiteral("รายงานการรับเงินชดเชยพนักงาน "));
    // The worked example row: leading zeros of the SAP ID kept.
    QJsonObject example;
    for (int row = 5; row <= 8; ++row)
        if (cellAt(book, row, 2).value("v").toString() == QLatin1String("00000101"))
            example = cellAt(book, row, 13);
    EXPECT_EQ(example.value("v").toDouble(), 110250);
}

} // namespace
