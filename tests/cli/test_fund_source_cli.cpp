#include "ExportReader.h"
#include "FundSourceData.h"

#include "CliRunner.h"
#include "PdfLayoutText.h"

#include "services/FundSource.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

using namespace velmora::test;

namespace {

struct CliRun
{
    int exitCode = -1;
    QString out, err;
};

// velmora-cli with its settings (the organisation's data) in a folder of the test.
class FundSourceCli : public ::testing::Test
{
protected:
    FundSourceCli()
    {
        t.addLogin();
        addFundTypes(t);
        addCalc(t, "00000101", "ก", "15/03/2567", 10000, 30, 10, QStringLiteral("คณะแพทยศาสตร์"));
        addPeriod(t, "00000101", "2", "01/10/2550", "30/09/2555");
        addPeriod(t, "00000101", "3", "01/10/2555", "31/03/2567");
        for (const char* sap : {"00000201", "00000202", "00000203"}) {
            addCalc(t, sap, QStringLiteral("ข") + QLatin1String(sap), "01/03/2567", 100, 2, 1,
                QStringLiteral("คณะวิทยาศาสตร์, \"วิทย์\""));
            addPeriod(t, sap, "2", "01/10/2560", "31/03/2567");
        }
        addCalc(t, "00000301", "ค", "02/04/2567", 5000, 1, 1, QStringLiteral("คณะแพทยศาสตร์"));
        addPeriod(t, "00000301", "3", "01/10/2560", "31/03/2567");
        int code = 10;
        for (const QString& name :
            {QStringLiteral("คณะแพทยศาสตร์"), QStringLiteral("คณะวิทยาศาสตร์, \"วิทย์\""), QStringLiteral("สำนักงานอธิการบดี")})
            t.exec(QStringLiteral("INSERT INTO EP_TR_Depart (Depart_Code, Dapart_Name) VALUES (?, ?)"),
                {QString::number(++code), name});
    }

    CliRun cli(QStringList args)
    {
        args.prepend(t.url());
        args.prepend(QStringLiteral("--db"));
        args.prepend(kTesterLogin.name);
        args.prepend(QStringLiteral("--login"));
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(VELMORA_BINARY_DIR "/src/cli/velmora-cli"), args);
        p.write((kTesterLogin.password + QLatin1Char('\n')).toUtf8());
        p.closeWriteChannel();
        CliRun r;
        if (!p.waitForFinished(60000))
            return r;
        r.exitCode = p.exitCode();
        r.out = QString::fromUtf8(p.readAllStandardOutput());
        r.err = QString::fromUtf8(p.readAllStandardError());
        return r;
    }

    QVariant printed(const char* sap) const
    {
        return t.scalar(QStringLiteral("SELECT Is_Print_doc FROM EP_mRec_Money_Chodchoy WHERE SapID = ?"),
            {QString::fromUtf8(sap)});
    }

    TestDatabase t;
    QTemporaryDir home;
};

TEST_F(FundSourceCli, CsvMatchesTheReference)
{
    const CliRun r = cli({"report", "fund-source", "--from", "01/03/2567", "--to", "31/03/2567"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const char* reference = "fund-source-03-2567.csv";
    QFile expected(QStringLiteral(VELMORA_SOURCE_DIR "/tests/cli/fixtures/") + QLatin1String(reference));
    if (!expected.open(QIODevice::ReadOnly)) {
        QFile actual(QStringLiteral(VELMORA_BINARY_DIR "/") + QLatin1String(reference));
        if (actual.open(QIODevice::WriteOnly))
            actual.write(r.out.toUtf8());
        FAIL() << "missing reference " << reference << "; the output is in " << VELMORA_BINARY_DIR;
    }
    EXPECT_EQ(r.out, QString::fromUtf8(expected.readAll()));
}

TEST_F(FundSourceCli, FiltersAndTheTotalRow)
{
    const CliRun unit = cli({"report", "fund-source", "--from", "01/03/2567", "--to", "30/04/2567", "--source", "3",
        "--department", "คณะแพทยศาสตร์"});
    ASSERT_EQ(unit.exitCode, 0) << unit.err.toStdString();
    const QStringList lines = unit.out.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4); // titles, two lines, total
    EXPECT_TRUE(lines.at(1).contains(QStringLiteral("\"7,500.00\"")));
    EXPECT_TRUE(lines.at(2).contains(QStringLiteral("\"2,500.00\"")));
    EXPECT_EQ(lines.at(3), QStringLiteral(",,,ยอดรวมทั้งสิ้น,\"10,000.00\",,,,,,,,,,,,,"));

    t.exec(QStringLiteral("UPDATE EP_mRec_Money_Chodchoy SET Is_Print_doc = 'Y' WHERE SapID = '00000301'"));
    const CliRun unprinted =
        cli({"report", "fund-source", "--from", "01/03/2567", "--to", "30/04/2567", "--source", "3", "--unprinted"});
    ASSERT_EQ(unprinted.exitCode, 0);
    EXPECT_EQ(unprinted.out.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts).size(), 3);
}

TEST_F(FundSourceCli, WorkbookHasTheTotalRow)
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("fs.xlsx"));
    const CliRun r = cli({"report", "fund-source", "--from", "01/03/2567", "--to", "31/03/2567", "--department",
        "คณะแพทยศาสตร์", "--xlsx", out});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QString error;
    const QJsonObject book = readWorkbook(out, 7, 16, &error);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    EXPECT_EQ(cellAt(book, 2, 1).value("v").toString(), QStringLiteral("หน่วยงาน คณะแพทยศาสตร์"));
    EXPECT_EQ(cellAt(book, 4, 1).value("v").toString(), QStringLiteral("No. "));
    EXPECT_EQ(cellAt(book, 5, 3).value("v").toString(), QStringLiteral("00000101"));
    EXPECT_EQ(cellAt(book, 7, 4).value("v").toString(), QStringLiteral("ยอดรวมทั้งสิ้น"));
    EXPECT_DOUBLE_EQ(cellAt(book, 7, 5).value("v").toDouble(), 10000.0);
}

// The CSV is written while the search runs; it is the CSV of the screen's
// grid for the same search, byte for byte, the total row or the blank row of
// a search that found nothing included.
TEST_F(FundSourceCli, CsvIsTheGridOfTheSameSearch)
{
    struct Case
    {
        QStringList options;
        velmora::reports::FundSourceCriteria criteria;
    };
    auto criteria = [](const char* from, const char* to) {
        velmora::reports::FundSourceCriteria c;
        c.from = QString::fromUtf8(from);
        c.to = QString::fromUtf8(to);
        return c;
    };
    QList<Case> cases;
    cases << Case {{"--from", "01/01/2567", "--to", "31/12/2567"}, criteria("01/01/2567", "31/12/2567")};
    Case university {
        {"--from", "01/01/2567", "--to", "31/12/2567", "--source", "2"}, criteria("01/01/2567", "31/12/2567")};
    university.criteria.sourceCode = QStringLiteral("2");
    cases << university;
    Case department {{"--from", "01/03/2567", "--to", "31/03/2567", "--department", "คณะวิทยาศาสตร์, \"วิทย์\""},
        criteria("01/03/2567", "31/03/2567")};
    department.criteria.department = QStringLiteral("คณะวิทยาศาสตร์, \"วิทย์\"");
    cases << department;
    cases << Case {{"--from", "01/01/2568", "--to", "31/12/2568"}, criteria("01/01/2568", "31/12/2568")};
    for (const Case& c : cases) {
        const CliRun r = cli(QStringList {"report", "fund-source"} + c.options);
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        const velmora::reports::FundSourceResult grid = velmora::reports::queryFundSource(t.db(), c.criteria);
        ASSERT_TRUE(grid.ok);
        EXPECT_EQ(r.out, QString::fromUtf8(velmora::reports::gridToCsv(grid.grid)))
            << c.options.join(' ').toStdString();
        EXPECT_EQ(r.err.contains(velmora::reports::notFoundMessage()), !grid.found) << r.err.toStdString();
    }
    // the last search found nothing: titles and the blank row, and the note
    EXPECT_EQ(cli(QStringList {"report", "fund-source"} + cases.last().options).out.count(QStringLiteral("\r\n")), 2);
}

TEST_F(FundSourceCli, BadInput)
{
    EXPECT_EQ(cli({"report", "fund-source", "--from", "01/03/2567"}).exitCode, 2);
    EXPECT_EQ(
        cli({"report", "fund-source", "--from", "01/03/2567", "--to", "31/03/2567", "--source", "4"}).exitCode, 2);
    const CliRun bad = cli({"report", "fund-source", "--from", "1/3/2567", "--to", "31/03/2567"});
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_EQ(bad.err.count(QLatin1Char('\n')), 1);
    // A day that no calendar has, on either side of the range.
    for (const auto& [from, to] : {std::pair {"31/02/2566", "31/03/2567"}, std::pair {"01/03/2567", "31/04/2567"}}) {
        const CliRun noSuchDay = cli({"report", "fund-source", "--from", from, "--to", to});
        EXPECT_EQ(noSuchDay.exitCode, 1) << from << " " << to;
        EXPECT_TRUE(noSuchDay.err.startsWith(QStringLiteral("วันที่ไม่ถูกต้อง"))) << noSuchDay.err.toStdString();
        EXPECT_TRUE(noSuchDay.out.isEmpty());
    }
    EXPECT_EQ(cli({"print", "memo", "--from", "01/03/2567", "--to", "31/03/2567", "--sapids", "1", "--department", "x",
                      "--pdf", "/tmp/x.pdf", "--routing", "mail"})
                  .exitCode,
        2);
}

TEST_F(FundSourceCli, MemoOfTheListedLinesMarksThemPrinted)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("memo.pdf"));
    // no --department: the memo names the department of the lines
    const CliRun r = cli({"print", "memo", "--from", "01/03/2567", "--to", "31/03/2567", "--source", "2", "--sapids",
        "00000201,00000202", "--pdf", pdf});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    for (const char* sap : {"00000201", "00000202"})
        EXPECT_EQ(printed(sap).toString(), QStringLiteral("Y")) << sap;
    EXPECT_TRUE(printed("00000203").isNull());
    const QString text = pdfLayoutText(pdf);
    ASSERT_FALSE(text.isEmpty());
    EXPECT_TRUE(pdfContains(text, QStringLiteral("66.66บาท")));
    EXPECT_TRUE(pdfContains(text, QStringLiteral("(หกสิบหกบาทหกสิบหกสตางค์)")));
    EXPECT_TRUE(pdfContains(text, QStringLiteral("จำนวน2ราย")));
    EXPECT_TRUE(pdfContains(text, QStringLiteral("สังกัดคณะวิทยาศาสตร์,\"วิทย์\"")));
    EXPECT_TRUE(pdfContains(text, QStringLiteral("ส่งคืนคณะวิทยาศาสตร์,\"วิทย์\"เพื่อประมวลผลผ่านPayroll")));
    EXPECT_TRUE(pdfContains(text, QStringLiteral("เนื่องจากครบกำหนดระยะเวลาการจ้างตามสัญญา")));
}

TEST_F(FundSourceCli, MemoRefusesLinesOfSeveralDepartmentsOrAnUnknownDepartment)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("memo.pdf"));
    struct Case
    {
        const char* what;
        QStringList args;
        QString inMessage;
    };
    const QStringList lines = {
        "print", "memo", "--from", "01/03/2567", "--to", "31/03/2567", "--source", "2", "--pdf", pdf, "--sapids"};
    const QList<Case> cases = {
        {"two departments", lines + QStringList {"00000201,00000101"}, QStringLiteral("หลายหน่วยงาน")},
        {"two departments, one named", lines + QStringList {"00000201,00000101", "--department", "คณะแพทยศาสตร์"},
            QStringLiteral("หลายหน่วยงาน")},
        {"a department not in the list", lines + QStringList {"00000101", "--department", "คณะแพทย์"},
            QStringLiteral("ไม่พบหน่วยงาน \"คณะแพทย์\"")},
        {"another department than the lines'", lines + QStringList {"00000101", "--department", "สำนักงานอธิการบดี"},
            QStringLiteral("คณะแพทยศาสตร์")},
        {"nothing selected, a department not in the list", lines + QStringList {"", "--department", "ไม่มี"},
            QStringLiteral("ไม่พบหน่วยงาน")},
    };
    for (const Case& c : cases) {
        const CliRun r = cli(c.args);
        EXPECT_EQ(r.exitCode, 1) << c.what;
        EXPECT_TRUE(r.err.contains(c.inMessage)) << c.what << ": " << r.err.toStdString();
        EXPECT_EQ(r.err.count(QLatin1Char('\n')), 1) << c.what;
        EXPECT_FALSE(QFile::exists(pdf)) << c.what;
    }
    EXPECT_EQ(
        t.scalar(QStringLiteral("SELECT COUNT(*) FROM EP_mRec_Money_Chodchoy WHERE Is_Print_doc = 'Y'")).toInt(), 0);
}

TEST_F(FundSourceCli, MemoRetirementFacultyRouting)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("memo.pdf"));
    t.exec(QStringLiteral("UPDATE EP_mRec_Money_Chodchoy SET Depart_Name = 'สำนักงานอธิการบดี' WHERE SapID = '00000301'"));
    const CliRun r = cli({"print", "memo", "--from", "01/04/2567", "--to", "30/04/2567", "--sapids", "00000301",
        "--source", "3", "--department", "สำนักงานอธิการบดี", "--routing", "faculty", "--reason", "retire", "--pdf", pdf});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QString text = pdfLayoutText(pdf);
    EXPECT_TRUE(pdfContains(text, QStringLiteral("ส่งคืนสำนักงานอธิการบดี")));
    EXPECT_FALSE(pdfContains(text, QStringLiteral("กองทรัพยากรบุคคล")));
    EXPECT_TRUE(pdfContains(text, QStringLiteral("เนื่องจากเกษียณอายุงานตามข้อบังคับมหาวิทยาลัยกาวิลัน")));
    EXPECT_TRUE(pdfContains(text, QStringLiteral("2,500.00บาท")));
    EXPECT_TRUE(pdfContains(text, QStringLiteral("(สองพันห้าร้อยบาทถ้วน)")));
}

TEST_F(FundSourceCli, MemoRefusesASapIdNotListedAndMarksNothing)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("memo.pdf"));
    // 00000301 was saved in April: not a line of March
    const CliRun r = cli({"print", "memo", "--from", "01/03/2567", "--to", "31/03/2567", "--sapids",
        "00000101,00000301", "--department", "คณะแพทยศาสตร์", "--pdf", pdf});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("00000301")));
    EXPECT_TRUE(printed("00000101").isNull());
    EXPECT_FALSE(QFile::exists(pdf));
}

TEST_F(FundSourceCli, MemoOfNothingPrintsZero)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("memo.pdf"));
    const CliRun r = cli({"print", "memo", "--from", "01/03/2567", "--to", "31/03/2567", "--sapids", "", "--department",
        "คณะแพทยศาสตร์", "--pdf", pdf});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QString text = pdfLayoutText(pdf);
    EXPECT_TRUE(pdfContains(text, QStringLiteral("จำนวน0ราย")));
    EXPECT_TRUE(pdfContains(text, QStringLiteral("0.00บาท(บาทถ้วน)")));
    EXPECT_EQ(
        t.scalar(QStringLiteral("SELECT COUNT(*) FROM EP_mRec_Money_Chodchoy WHERE Is_Print_doc = 'Y'")).toInt(), 0);
}

} // namespace
