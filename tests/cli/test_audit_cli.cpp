// velmora-cli audit list / verify, and the rows the command line's own actions
// leave: the operating-system account with the origin velmora-cli.

#include "support/AuditRewrite.h"
#include "support/DemoCliTest.h"
#include "support/PdfText.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

using velmora::test::TestDatabase;

namespace {

using Cli_Result = velmora::test::DemoCliTest::Result;

class Audit_Cli : public velmora::test::DemoCliTest
{
protected:
    Audit_Cli()
    {
        environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("USER"), QStringLiteral("officer.cli"));
    }

    QJsonArray List(const QStringList& filters = {}) const
    {
        const Cli_Result r =
            Run(QStringList {QStringLiteral("audit"), QStringLiteral("list"), QStringLiteral("--json")} + filters);
        EXPECT_EQ(r.exit, 0) << r.err.toStdString();
        return QJsonDocument::fromJson(r.out.toUtf8()).array();
    }
};

const QString kSap = QStringLiteral("10000001");

TEST_F(Audit_Cli, SaveAndCancelLeaveRowsThatRebuildTheCalculation)
{
    const Cli_Result shown = Run({QStringLiteral("calc"), kSap, QStringLiteral("--month"), QStringLiteral("10/2012"),
        QStringLiteral("--save"), QStringLiteral("--json")});
    ASSERT_EQ(shown.exit, 0) << shown.err.toStdString();
    const QJsonObject before = QJsonDocument::fromJson(shown.out.toUtf8()).object();
    ASSERT_FALSE(before.isEmpty());
    ASSERT_EQ(Run({QStringLiteral("cancel"), kSap, QStringLiteral("--with-history")}).exit, 0);

    const QJsonArray rows = List({QStringLiteral("--sapid"), kSap});
    ASSERT_EQ(rows.size(), 2);
    const QJsonObject saved = rows.at(0).toObject();
    EXPECT_EQ(saved.value(QStringLiteral("kind")).toString(), QStringLiteral("calculation-saved"));
    // the logged-in user, with the machine's account beside the address
    EXPECT_EQ(saved.value(QStringLiteral("user")).toString(), QStringLiteral("demo"));
    EXPECT_TRUE(saved.value(QStringLiteral("machine")).toString().endsWith(QStringLiteral(" (officer.cli)")))
        << saved.value(QStringLiteral("machine")).toString().toStdString();
    EXPECT_EQ(saved.value(QStringLiteral("origin")).toString(), QStringLiteral("velmora-cli"));
    EXPECT_EQ(saved.value(QStringLiteral("details")).toObject(), before);

    const QJsonObject cancelled = rows.at(1).toObject().value(QStringLiteral("details")).toObject();
    const QJsonObject sum = cancelled.value(QStringLiteral("summary")).toArray().at(0).toObject();
    EXPECT_EQ(sum.value(QStringLiteral("MMYYYY_Recieve")).toString(),
        before.value(QStringLiteral("request_month")).toString());
    EXPECT_EQ(sum.value(QStringLiteral("N_T")).toInt(), before.value(QStringLiteral("multiplier")).toInt());
    EXPECT_EQ(QString::number(sum.value(QStringLiteral("Net_Money_Recieve")).toDouble(), 'f', 2),
        before.value(QStringLiteral("net")).toString().remove(QLatin1Char(',')));
    EXPECT_EQ(cancelled.value(QStringLiteral("details")).toArray().size(),
        before.value(QStringLiteral("periods")).toArray().size());
    EXPECT_EQ(cancelled.value(QStringLiteral("removed_periods")).toArray().size(), 2);

    const Cli_Result ok = Run({QStringLiteral("audit"), QStringLiteral("verify")});
    EXPECT_EQ(ok.exit, 0) << ok.err.toStdString();
    EXPECT_TRUE(ok.out.startsWith(QStringLiteral("ok 2\n"))) << ok.out.toStdString();
    EXPECT_TRUE(ok.out.contains(rows.at(1).toObject().value(QStringLiteral("chain")).toString()));
}

TEST_F(Audit_Cli, CsvByDefaultAndFilters)
{
    ASSERT_EQ(Run({QStringLiteral("calc"), kSap, QStringLiteral("--month"), QStringLiteral("10/2012"),
                      QStringLiteral("--save")})
                  .exit,
        0);
    const Cli_Result csv = Run({QStringLiteral("audit"), QStringLiteral("list")});
    ASSERT_EQ(csv.exit, 0) << csv.err.toStdString();
    const QStringList lines = csv.out.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines.at(0), QStringLiteral("seq,time,user,origin,machine,kind,sapid,details,chain"));
    EXPECT_TRUE(lines.at(1).startsWith(QStringLiteral("1,"))) << lines.at(1).toStdString();

    EXPECT_EQ(List({QStringLiteral("--kind"), QStringLiteral("login")}).size(), 0);
    EXPECT_EQ(List({QStringLiteral("--user"), QStringLiteral("demo")}).size(), 1);
    EXPECT_EQ(List({QStringLiteral("--user"), QStringLiteral("someone")}).size(), 0);
    EXPECT_EQ(List({QStringLiteral("--to"), QStringLiteral("31/12/2542")}).size(), 0);
    EXPECT_EQ(List({QStringLiteral("--from"), QStringLiteral("01/01/2000")}).size(), 1);

    EXPECT_EQ(
        Run({QStringLiteral("audit"), QStringLiteral("list"), QStringLiteral("--from"), QStringLiteral("32/01/2567")})
            .exit,
        2);
    EXPECT_EQ(Run({QStringLiteral("audit")}).exit, 2);
    EXPECT_EQ(Run({QStringLiteral("audit"), QStringLiteral("rewrite")}).exit, 2);
}

TEST_F(Audit_Cli, VerifyNamesTheChangedRow)
{
    for (const char* sapid : {"10000001", "10000002"})
        Run({QStringLiteral("calc"), QLatin1String(sapid), QStringLiteral("--month"), QStringLiteral("10/2012"),
            QStringLiteral("--save")});
    ASSERT_GE(List().size(), 1);
    t.exec(QStringLiteral("UPDATE EP_Audit_Log SET User_Name = ? WHERE Seq_No = 1"), {QStringLiteral("nobody")});
    const Cli_Result r = Run({QStringLiteral("audit"), QStringLiteral("verify")});
    EXPECT_EQ(r.exit, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("ลำดับที่ 1"))) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
}

// The small print of a printed document, read back from the PDF: "SEQ:HEX".
QString printedValueOf(const QString& pdf)
{
    using velmora::test::thaiPlain;
    using velmora::test::withoutMarks;
    // pdftotext may move a Thai mark: the captions are matched by their letters
    const QRegularExpression mark(withoutMarks(thaiPlain(QStringLiteral("ลำดับบันทึกตรวจสอบ")))
        + QStringLiteral("(\\d+)") + withoutMarks(thaiPlain(QStringLiteral("ค่าตรวจสอบ")))
        + QStringLiteral("([0-9a-f]{16})"));
    const QRegularExpressionMatch m = mark.match(withoutMarks(velmora::test::pdfText(pdf)));
    return m.hasMatch() ? m.captured(1) + QLatin1Char(':') + m.captured(2) : QString();
}

// The case: a printed value checks; after the owner rewrites a row
// and every later chain value and the head, it no longer does if that row is
// at or before the printed one, and still does if it came after.
TEST_F(Audit_Cli, PrintedValueChecksUntilTheHistoryBeforeItIsRewritten)
{
    for (const char* sapid : {"10000001", "10000002"})
        ASSERT_EQ(Run({QStringLiteral("calc"), QLatin1String(sapid), QStringLiteral("--month"),
                          QStringLiteral("10/2012"), QStringLiteral("--save")})
                      .exit,
            0);
    QTemporaryDir dir;
    const QString request = dir.filePath(QStringLiteral("request.pdf"));
    const QString annex = dir.filePath(QStringLiteral("annex.pdf"));
    ASSERT_EQ(Run({QStringLiteral("print"), QStringLiteral("request"), kSap, QStringLiteral("--pdf"), request}).exit, 0);
    ASSERT_EQ(Run({QStringLiteral("print"), QStringLiteral("annex"), kSap, QStringLiteral("--pdf"), annex}).exit, 0);
    const QString paper = printedValueOf(request);
    const QJsonArray rows = List();
    ASSERT_EQ(rows.size(), 2);
    const QString head = rows.at(1).toObject().value(QStringLiteral("chain")).toString();
    // the trail's last row when it was printed; the annex carries the same
    ASSERT_EQ(paper, QStringLiteral("2:") + head.left(16));
    EXPECT_EQ(printedValueOf(annex), paper);

    auto check = [&] { return Run({QStringLiteral("audit"), QStringLiteral("verify"), QStringLiteral("--printed"), paper}); };
    Cli_Result r = check();
    EXPECT_EQ(r.exit, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("ok printed %1: ค่าที่พิมพ์บนเอกสารตรงกับประวัติการใช้งาน\n").arg(paper));

    // a row written after printing, then rewritten: the paper still stands
    const Cli_Result third = Run({QStringLiteral("calc"), QStringLiteral("10000003"), QStringLiteral("--month"),
        QStringLiteral("10/2012"), QStringLiteral("--save")});
    ASSERT_EQ(third.exit, 0) << third.err.toStdString();
    ASSERT_EQ(List().size(), 3);
    velmora::test::rewriteAuditTrail(t, 3, QStringLiteral("someone"));
    r = check();
    EXPECT_EQ(r.exit, 0) << r.err.toStdString();

    // the saving row itself rewritten: `audit verify` alone is satisfied, the paper is not
    velmora::test::rewriteAuditTrail(t, 1, QStringLiteral("someone"));
    EXPECT_EQ(Run({QStringLiteral("audit"), QStringLiteral("verify")}).exit, 0);
    r = check();
    EXPECT_EQ(r.exit, 1);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(r.err.contains(QStringLiteral("ลำดับที่ 2:"))) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(paper)) << r.err.toStdString();

    for (const char* bad : {"2", "2:abc", "x:0123456789abcdef", "0:0123456789abcdef"}) {
        r = Run({QStringLiteral("audit"), QStringLiteral("verify"), QStringLiteral("--printed"), QLatin1String(bad)});
        EXPECT_EQ(r.exit, 2) << bad;
        EXPECT_TRUE(r.err.contains(QStringLiteral("--printed"))) << r.err.toStdString();
    }
    EXPECT_EQ(Run({QStringLiteral("audit"), QStringLiteral("list"), QStringLiteral("--printed"), paper}).exit, 2);
}

} // namespace
