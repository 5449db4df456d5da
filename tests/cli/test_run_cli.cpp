// velmora-cli run and print annex, run as a program on a database made by
// `init --demo` (whose contracts end in the current month).

#include "support/DemoCliTest.h"
#include "support/ExportReader.h"
#include "support/PdfText.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

using velmora::test::TestDatabase;

namespace {

using Run_Result = velmora::test::DemoCliTest::Result;

class Run_Cli : public velmora::test::DemoCliTest
{
protected:
    Run_Cli() { timeoutMs = 120000; }

    static QJsonObject Parse(const QString& text)
    {
        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson(text.toUtf8(), &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError) << text.toStdString();
        return doc.object();
    }

    // The demo's contracts end in this month; the request month is the same.
    const QString month = QDate::currentDate().toString(QStringLiteral("MM/yyyy"));
    QStringList Month_Run() const
    {
        return {QStringLiteral("run"), QStringLiteral("--month"), month, QStringLiteral("--ends"), month};
    }
};

// Every ready line's "calc" is exactly what `calc SAPID --json` prints.
TEST_F(Run_Cli, JsonLinesAgreeWithCalc)
{
    const Run_Result r = Run(Month_Run() << QStringLiteral("--json"));
    const QJsonObject run = Parse(r.out);
    EXPECT_EQ(run.value(QStringLiteral("month")).toString(), month);
    const QJsonArray lines = run.value(QStringLiteral("lines")).toArray();
    int ready = 0, refused = 0;
    for (const QJsonValue& v : lines) {
        const QJsonObject line = v.toObject();
        const QString sapid = line.value(QStringLiteral("sapid")).toString();
        SCOPED_TRACE(sapid.toStdString());
        const Run_Result calc =
            Run({QStringLiteral("calc"), sapid, QStringLiteral("--month"), month, QStringLiteral("--json")});
        if (line.value(QStringLiteral("state")).toString() == QLatin1String("ready")) {
            ++ready;
            EXPECT_TRUE(line.value(QStringLiteral("reason")).isNull());
            ASSERT_EQ(calc.exit, 0) << calc.err.toStdString();
            EXPECT_EQ(line.value(QStringLiteral("calc")).toObject(), Parse(calc.out));
        } else {
            ++refused;
            EXPECT_EQ(line.value(QStringLiteral("state")).toString(), QStringLiteral("refused"));
            EXPECT_TRUE(line.value(QStringLiteral("calc")).isNull());
            // the reason is the calculation's own refusal
            EXPECT_EQ(calc.exit, 1);
            EXPECT_EQ(line.value(QStringLiteral("reason")).toString(), calc.err.trimmed());
        }
    }
    EXPECT_GE(ready, 3);
    const QJsonObject totals = run.value(QStringLiteral("totals")).toObject();
    EXPECT_EQ(totals.value(QStringLiteral("ready")).toInt(), ready);
    EXPECT_EQ(totals.value(QStringLiteral("refused")).toInt(), refused);
    EXPECT_EQ(r.exit, refused > 0 ? 1 : 0);
}

TEST_F(Run_Cli, CsvSaveSecondSaveAndPdf)
{
    const Run_Result preview = Run(Month_Run());
    QStringList rows = preview.out.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_GE(rows.size(), 3);
    EXPECT_TRUE(rows.first().startsWith(QStringLiteral("No. ,SAP ID ,ชื่อ-นามสกุล,")));
    EXPECT_TRUE(rows.last().startsWith(QStringLiteral(",,รวม,"))) << rows.last().toStdString();
    const int chosen = int(rows.size()) - 2;

    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("run.pdf"));
    const Run_Result saved =
        Run(Month_Run() << QStringLiteral("--save") << QStringLiteral("--json") << QStringLiteral("--pdf") << pdf);
    const QJsonObject run = Parse(saved.out);
    const QJsonObject totals = run.value(QStringLiteral("totals")).toObject();
    const int savedCount = totals.value(QStringLiteral("saved")).toInt();
    EXPECT_GE(savedCount, 3);
    EXPECT_EQ(totals.value(QStringLiteral("ready")).toInt(), 0);
    EXPECT_EQ(savedCount + totals.value(QStringLiteral("refused")).toInt(), chosen);
    EXPECT_EQ(saved.err.count(QStringLiteral("บันทึกแล้ว ")), savedCount);
    // 10000001 is the worked example
    const QString text = velmora::test::pdfText(pdf);
    EXPECT_EQ(text.count(velmora::test::thaiPlain(QStringLiteral("เอกสารขอรับเงินชดเชยพนักงาน"))), savedCount);
    EXPECT_EQ(text.count(velmora::test::thaiPlain(QStringLiteral("เอกสารแนบการคำนวณเงินชดเชย"))), savedCount);
    EXPECT_TRUE(velmora::test::pdfContains(text, QStringLiteral("หนึ่งแสนสองหมื่นบาทถ้วน")));

    // a second save finds every one of them saved
    const Run_Result again = Run(Month_Run() << QStringLiteral("--save"));
    EXPECT_EQ(again.exit, 1);
    EXPECT_EQ(again.err.count(QStringLiteral("บันทึกแล้ว ")), 0);
    EXPECT_GE(again.out.count(QStringLiteral("รายการนี้มีการขอเงินชดเชยไปแล้วไม่สามารถทำได้อีก")), savedCount);

    // the annex of one saved calculation
    const QString annex = dir.filePath(QStringLiteral("annex.pdf"));
    const Run_Result printed = Run(
        {QStringLiteral("print"), QStringLiteral("annex"), QStringLiteral("10000001"), QStringLiteral("--pdf"), annex});
    ASSERT_EQ(printed.exit, 0) << printed.err.toStdString();
    const QString annexText = velmora::test::pdfText(annex);
    EXPECT_TRUE(velmora::test::pdfContains(annexText, QStringLiteral("เอกสารแนบการคำนวณเงินชดเชย")));
    EXPECT_TRUE(velmora::test::pdfContains(annexText, QStringLiteral("ส่วนงาน 731 11.48 19.3 23,160.73")));
    EXPECT_EQ(Run({QStringLiteral("print"), QStringLiteral("annex"), QStringLiteral("10000002x"),
                      QStringLiteral("--pdf"), annex})
                  .exit,
        1);
}

TEST_F(Run_Cli, ExportWorkbook)
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("run.xlsx"));
    const Run_Result r = Run(Month_Run() << QStringLiteral("--xlsx") << out);
    EXPECT_TRUE(r.out.isEmpty());
    QString error;
    const QJsonObject book = velmora::test::readWorkbook(out, 5, 15, &error);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    EXPECT_EQ(velmora::test::cellAt(book, 1, 1).value(QStringLiteral("v")).toString(),
        QStringLiteral("ประมวลผลเงินชดเชยประจำเดือน ") + month);
    EXPECT_EQ(velmora::test::cellAt(book, 4, 15).value(QStringLiteral("v")).toString(), QStringLiteral("เหตุผล"));
}

TEST_F(Run_Cli, BadInput)
{
    struct Case
    {
        QStringList args;
        int exit;
        QString err; // a part of stderr
    };
    const Case cases[] = {
        {{QStringLiteral("run"), QStringLiteral("--month"), QStringLiteral("13/2012"), QStringLiteral("--ends"),
             QStringLiteral("09/2012")},
            1, QStringLiteral("เดือนปีที่ขอรับเงินชดเชยไม่ถูกต้อง")},
        {{QStringLiteral("run"), QStringLiteral("--month"), QStringLiteral("10/2012")}, 2, QStringLiteral("--ends")},
        {{QStringLiteral("run"), QStringLiteral("--ends"), QStringLiteral("10/2012")}, 2, QStringLiteral("--month")},
        {{QStringLiteral("run"), QStringLiteral("--month"), QStringLiteral("10/2012"), QStringLiteral("--sapids"),
             QStringLiteral("1"), QStringLiteral("--department"), QStringLiteral("x")},
            2, QStringLiteral("--department")},
        {{QStringLiteral("run"), QStringLiteral("--month"), QStringLiteral("10/2012"), QStringLiteral("--ends"),
             QStringLiteral("10/2012"), QStringLiteral("--pdf"), QStringLiteral("x.pdf")},
            2, QStringLiteral("--save")},
        {{QStringLiteral("run"), QStringLiteral("--month"), QStringLiteral("10/2012"), QStringLiteral("--ends"),
             QStringLiteral("01/1999")},
            1, QStringLiteral("ไม่พบพนักงานที่ครบสัญญาในเดือน 01/1999")},
        {{QStringLiteral("run"), QStringLiteral("--month"), QStringLiteral("10/2012"), QStringLiteral("--ends"),
             QStringLiteral("10/2012"), QStringLiteral("--department"), QStringLiteral("คณะที่ไม่มี")},
            1, QStringLiteral("ไม่พบส่วนงานชื่อ \"คณะที่ไม่มี\"")},
        {{QStringLiteral("run"), QStringLiteral("--month"), QStringLiteral("10/2012"), QStringLiteral("--sapids"),
             QStringLiteral(",")},
            1, QStringLiteral("กรุณาระบุ SAP ID")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(QLatin1Char(' ')).toStdString());
        const Run_Result r = Run(c.args);
        EXPECT_EQ(r.exit, c.exit) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(c.err)) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
    // an unknown SAP ID is a refused line of the output, nothing saved
    const Run_Result r = Run({QStringLiteral("run"), QStringLiteral("--month"), month, QStringLiteral("--sapids"),
        QStringLiteral("99999999,10000001"), QStringLiteral("--save"), QStringLiteral("--json")});
    EXPECT_EQ(r.exit, 1);
    const QJsonArray lines = Parse(r.out).value(QStringLiteral("lines")).toArray();
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0].toObject().value(QStringLiteral("reason")).toString(), QStringLiteral("ไม่พบพนักงาน"));
    EXPECT_EQ(lines[1].toObject().value(QStringLiteral("state")).toString(), QStringLiteral("saved"));
}

} // namespace
