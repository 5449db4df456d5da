#include "CliRunner.h"
#include "OutlookData.h"

#include "rules/AmountText.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <map>

using namespace velmora;
using namespace velmora::test;

namespace {

const QString sci = QStringLiteral("คณะวิทยาศาสตร์");
const QString office = QStringLiteral("สำนักงานอธิการบดี");

std::int64_t Satang(const QString& shown)
{
    return std::llround(Parse_Number(shown.toStdString()).value_or(-1e12) * 100);
}

// Cells of a CSV without quoted commas inside (the outlook's texts have none
// but the amounts, which are quoted).
QList<QStringList> ParseCsv(const QString& text)
{
    QList<QStringList> rows;
    for (const QString& line : text.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)) {
        QStringList cells;
        QString cell;
        bool quoted = false;
        for (const QChar ch : line) {
            if (ch == QLatin1Char('"'))
                quoted = !quoted;
            else if (ch == QLatin1Char(',') && !quoted) {
                cells << cell;
                cell.clear();
            } else
                cell += ch;
        }
        cells << cell;
        rows << cells;
    }
    return rows;
}

class OutlookCli : public ::testing::Test
{
protected:
    OutlookCli()
    {
        t.addLogin();
        Add_Contract_End_Outlook(t);
    }

    CliResult Run(const QStringList& args)
    {
        QStringList all = {QStringLiteral("--db"), t.url()};
        all << args;
        return runCliAs(kTesterLogin, all);
    }

    TestDatabase t;
    QTemporaryDir dir;
};

TEST_F(OutlookCli, ContractEndEqualsTheSumOfCalcJsonPerMonthAndGroup)
{
    // Who is counted, in which month and group, is what the fixture says;
    // the amounts come from `calc --json` of each.
    const struct
    {
        const char* sapid;
        const char* month;
        QString department;
        QString type;
    } counted[] = {{"10000001", "09/2012", sci, QStringLiteral("พนักงานมหาวิทยาลัย")},
        {"10000002", "03/2013", sci, QStringLiteral("พนักงานส่วนงาน")},
        {"10000003", "09/2012", office, QStringLiteral("พนักงานมหาวิทยาลัย")}};
    for (const char* by : {"department", "type"}) {
        SCOPED_TRACE(by);
        std::map<std::pair<QString, QString>, std::int64_t> expected;
        std::int64_t grand = 0;
        for (const auto& k : counted) {
            const CliResult calc = Run({"calc", k.sapid, "--month", k.month, "--json"});
            ASSERT_EQ(calc.exitCode, 0) << calc.err.toStdString();
            const QString net = QJsonDocument::fromJson(calc.out.toUtf8()).object().value("net").toString();
            const QString group = QLatin1String(by) == QLatin1String("department") ? k.department : k.type;
            expected[{k.month, group}] += Satang(net);
            grand += Satang(net);
        }

        const CliResult r = Run({"report", "outlook", "--kind", "contract-end", "--from", "09/2012", "--by", by});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        const QList<QStringList> csv = ParseCsv(r.out);
        ASSERT_EQ(csv.size(), 1 + 12 + 1);
        const QStringList& titles = csv.first();
        std::map<std::pair<QString, QString>, std::int64_t> actual;
        for (int row = 1; row <= 12; ++row)
            for (int c = 2; c + 1 < titles.size() - 2; c += 2) {
                const QString group = titles.at(c + 1).chopped(QStringLiteral(" (บาท)").size());
                if (csv.at(row).at(c) != QLatin1String("0"))
                    actual[{csv.at(row).at(1), group}] += Satang(csv.at(row).at(c + 1));
            }
        EXPECT_EQ(actual, expected);
        EXPECT_EQ(csv.last().at(1), QStringLiteral("รวมทั้งสิ้น"));
        EXPECT_EQ(Satang(csv.last().last()), grand);
        EXPECT_EQ(csv.last().at(csv.last().size() - 2), QStringLiteral("3"));
        // The refused are listed on stderr with the calculation's reason.
        EXPECT_TRUE(r.err.contains(QStringLiteral("พนักงานที่คำนวณไม่ได้ 3 คน"))) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("10000004"))) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("ต้องมีประวัติการทำงานจึงทำงานต่อได้"))) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("กรุณาใส่ เหตุแห่งการออกด้วย"))) << r.err.toStdString();
    }
}

TEST_F(OutlookCli, BadInputIsRefused)
{
    const struct
    {
        QStringList args;
        int exit;
        const char* message; // part of stderr
    } cases[] = {
        {{"--kind", "contract-end", "--months", "0"}, 1, "จำนวนเดือนต้องเป็นตัวเลข 1 ถึง 120"},
        {{"--kind", "contract-end", "--months", "121"}, 1, "จำนวนเดือนต้องเป็นตัวเลข 1 ถึง 120"},
        {{"--kind", "age60", "--years", "41"}, 1, "จำนวนปีต้องเป็นตัวเลข 1 ถึง 40"},
        {{"--kind", "age60", "--raise", "abc"}, 1, "อัตราการขึ้นเงินเดือนต่อปีต้องเป็นตัวเลข 0 ถึง 15"},
        {{"--kind", "age60", "--raise", "16"}, 1, "อัตราการขึ้นเงินเดือนต่อปีต้องเป็นตัวเลข 0 ถึง 15"},
        {{"--kind", "age60", "--from", "2027"}, 1, "ปีเริ่มต้นต้องเป็นปีพุทธศักราช เช่น 2570"},
        {{"--kind", "contract-end", "--from", "09/2555"}, 1, "เดือนเริ่มต้นต้องใช้ปีคริสต์ศักราช เช่น 09/2012"},
        {{"--kind", "contract-end", "--raise", "5"}, 2, "--raise goes with --kind age60"},
        {{"--kind", "contract-end", "--years", "5"}, 2, "--years goes with --kind age60"},
        {{"--kind", "later"}, 2, "--kind must be contract-end or age60"},
        {{"--kind", "age60", "--by", "fund"}, 2, "--by must be department or type"},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.args.join(' ').toStdString());
        QStringList args = {"report", "outlook"};
        args << k.args;
        const CliResult r = Run(args);
        EXPECT_EQ(r.exitCode, k.exit);
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(k.message))) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
}

// The workbook read back by openpyxl: the table, the totals, and a stacked
// column chart whose series refer to the table's amount columns.
TEST_F(OutlookCli, WorkbookHoldsTheTableAndANativeChartOverItsRanges)
{
    const QString out = dir.filePath("outlook.xlsx");
    const CliResult r = Run({"report", "outlook", "--kind", "contract-end", "--from", "09/2012", "--xlsx", out});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
    // The export's audit row, written by the command line's account.
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT COUNT(*) FROM EP_Audit_Log WHERE Event_Kind = ? AND Origin = ?"
                                      " AND Details LIKE ?"),
                   {QStringLiteral("report-exported"), QStringLiteral("velmora-cli"), QStringLiteral("%outlook.xlsx%")})
                  .toInt(),
        1);

    QProcess p;
    p.start("/usr/bin/python3", {VELMORA_SOURCE_DIR "/tests/support/read_outlook_workbook.py", out});
    ASSERT_TRUE(p.waitForFinished(60000));
    ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    const QJsonObject book = QJsonDocument::fromJson(p.readAllStandardOutput()).object();
    const QJsonArray sheets = book.value("sheets").toArray();
    ASSERT_EQ(sheets.size(), 2);
    const QJsonObject table = sheets.at(0).toObject();
    EXPECT_EQ(table.value("name").toString(), QStringLiteral("ประมาณการ"));
    EXPECT_EQ(table.value("orientation").toString(), "landscape");
    const QJsonArray values = table.value("values").toArray();
    auto cell = [&values](int row, int column) { return values.at(row - 1).toArray().at(column - 1); };
    EXPECT_EQ(cell(1, 1).toString(), QStringLiteral("ประมาณการเงินชดเชยพนักงานที่สิ้นสุดสัญญา เดือน 09/2012 ถึง 08/2013"));
    EXPECT_EQ(cell(4, 3).toString(), sci + QStringLiteral(" (คน)"));
    EXPECT_EQ(cell(4, 6).toString(), office + QStringLiteral(" (บาท)"));
    EXPECT_EQ(cell(5, 2).toString(), "09/2012");
    EXPECT_EQ(cell(5, 4).toDouble(), 120000.0);
    EXPECT_EQ(cell(5, 6).toDouble(), 12000.0);
    EXPECT_EQ(cell(5, 8).toDouble(), 132000.0);
    EXPECT_EQ(cell(11, 4).toDouble(), 60000.0); // 03/2013
    EXPECT_EQ(cell(17, 2).toString(), QStringLiteral("รวมทั้งสิ้น"));
    EXPECT_EQ(cell(17, 7).toDouble(), 3);
    EXPECT_EQ(cell(17, 8).toDouble(), 192000.0);

    const QJsonArray charts = table.value("charts").toArray();
    ASSERT_EQ(charts.size(), 1);
    const QJsonObject chart = charts.at(0).toObject();
    EXPECT_EQ(chart.value("tag").toString(), "barChart");
    EXPECT_EQ(chart.value("barDir").toString(), "col");
    EXPECT_EQ(chart.value("grouping").toString(), "stacked");
    EXPECT_EQ(chart.value("anchor_col").toInt(), 9); // beside the eight table columns
    // The amount axis in thousands-separated baht ("1,500,000") with its title,
    // as the screen and the printed page show it; the month axis named too.
    const QJsonObject amounts = chart.value("y_axis").toObject();
    EXPECT_EQ(amounts.value("numFmt").toString(), "#,##0");
    EXPECT_FALSE(amounts.value("sourceLinked").toBool()); // not the cells' two decimals
    EXPECT_EQ(amounts.value("title").toString(), QStringLiteral("บาท"));
    EXPECT_EQ(chart.value("x_axis").toObject().value("title").toString(), QStringLiteral("เดือนที่สิ้นสุดสัญญา"));
    const QJsonArray series = chart.value("series").toArray();
    ASSERT_EQ(series.size(), 2);
    const QString sheet = QStringLiteral("'ประมาณการ'!");
    EXPECT_EQ(series.at(0)["values"].toString(), sheet + "$D$5:$D$16");
    EXPECT_EQ(series.at(0)["categories"].toString(), sheet + "$B$5:$B$16");
    EXPECT_EQ(series.at(0)["name"]["text"].toString(), sci);
    EXPECT_EQ(series.at(1)["values"].toString(), sheet + "$F$5:$F$16");
    EXPECT_EQ(series.at(1)["name"]["text"].toString(), office);
    // The ranges add up to the grand total.
    double sum = 0;
    for (int row = 5; row <= 16; ++row)
        sum += cell(row, 4).toDouble() + cell(row, 6).toDouble();
    EXPECT_EQ(sum, 192000.0);

    const QJsonObject refused = sheets.at(1).toObject();
    EXPECT_EQ(refused.value("name").toString(), QStringLiteral("คำนวณไม่ได้"));
    const QJsonArray rows = refused.value("values").toArray();
    QStringList reasons;
    for (int row = 4; row < rows.size(); ++row)
        reasons << rows.at(row).toArray().at(1).toString() + " " + rows.at(row).toArray().at(5).toString();
    EXPECT_TRUE(reasons.contains(QStringLiteral("10000004 ต้องมีประวัติการทำงานจึงทำงานต่อได้")))
        << reasons.join('|').toStdString();
    EXPECT_EQ(reasons.size(), 3);
}

} // namespace
