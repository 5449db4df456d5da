// velmora-cli calc, run as a program on a database made by `init --demo`.

#include "support/DemoCliTest.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>

using velmora::test::TestDatabase;

namespace {

using Run_Result = velmora::test::DemoCliTest::Result;

class Calc_Cli : public velmora::test::DemoCliTest
{
protected:
    QJsonObject Json(const QStringList& args) const
    {
        const Run_Result r = Run(args);
        EXPECT_EQ(r.exit, 0) << r.err.toStdString();
        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson(r.out.toUtf8(), &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError) << r.out.toStdString();
        return doc.object();
    }
};

TEST_F(Calc_Cli, WorkedExampleAsJson)
{
    const Run_Result raw = Run({QStringLiteral("calc"), QStringLiteral("10000001"), QStringLiteral("--month"),
        QStringLiteral("10/2012"), QStringLiteral("--json")});
    ASSERT_EQ(raw.exit, 0) << raw.err.toStdString();
    // Top-level keys in the documented order.
    QStringList keys;
    const QRegularExpression topKey(QStringLiteral("^  \"([a-z_]+)\":"), QRegularExpression::MultilineOption);
    for (auto it = topKey.globalMatch(raw.out); it.hasNext();)
        keys << it.next().captured(1);
    EXPECT_EQ(keys,
        (QStringList {"sapid", "ssn", "name", "request_month", "reason", "span", "periods", "earlier", "service",
            "total_days", "multiplier", "salary", "compensation", "paid_earlier", "net", "split"}));

    const QJsonObject o = QJsonDocument::fromJson(raw.out.toUtf8()).object();
    EXPECT_EQ(o["sapid"].toString(), "10000001");
    EXPECT_EQ(o["name"].toString(), QStringLiteral("นายสมชาย ใจดี"));
    const QJsonObject span = o["span"].toObject();
    EXPECT_EQ(span["start"].toString(), "17/10/2550");
    EXPECT_EQ(span["end"].toString(), "30/09/2555");
    EXPECT_EQ(span["years"].toString() + span["months"].toString() + span["days"].toString(), "00041115");
    const QJsonArray periods = o["periods"].toArray();
    ASSERT_EQ(periods.size(), 2);
    const QJsonObject p1 = periods[0].toObject();
    EXPECT_EQ(p1["calc_begin"].toString(), "17/10/2550");
    EXPECT_EQ(p1["total_days"].toInt(), 731);
    EXPECT_TRUE(p1["total_days"].isDouble());
    EXPECT_EQ(p1["years"].toString() + p1["months"].toString() + p1["days"].toString(), "00001115");
    EXPECT_EQ(p1["whole_months"].toInt(), 11);
    EXPECT_EQ(p1["weight"].toString(), "11.48");
    const QJsonObject p2 = periods[1].toObject();
    EXPECT_EQ(p2["total_days"].toInt(), 1461);
    EXPECT_EQ(p2["years"].toString() + p2["months"].toString() + p2["days"].toString(), "00040000");
    EXPECT_EQ(p2["whole_months"].toInt(), 48);
    EXPECT_EQ(p2["weight"].toString(), "48.00");
    EXPECT_TRUE(o["earlier"].toArray().isEmpty());
    const QJsonObject total = o["service"].toObject()["total"].toObject();
    EXPECT_EQ(total["years"].toInt(), 4);
    EXPECT_EQ(total["months"].toInt(), 11);
    EXPECT_EQ(total["days"].toInt(), 15);
    EXPECT_EQ(o["total_days"].toInt(), 1811);
    EXPECT_EQ(o["multiplier"].toInt(), 6);
    EXPECT_EQ(o["salary"].toString(), "20,000.00");
    EXPECT_EQ(o["compensation"].toString(), "120,000.00");
    EXPECT_EQ(o["paid_earlier"].toString(), "0.00");
    EXPECT_EQ(o["net"].toString(), "120,000.00");
    const QJsonObject split = o["split"].toObject();
    const QJsonObject dep = split["department"].toObject();
    const QJsonObject uni = split["university"].toObject();
    EXPECT_EQ(dep["days"].toInt(), 731);
    EXPECT_EQ(dep["months"].toString(), "11.48");
    EXPECT_EQ(dep["percent"].toString(), "19.3");
    EXPECT_EQ(dep["amount"].toString(), "23,160.00");
    EXPECT_EQ(uni["days"].toInt(), 1461);
    EXPECT_EQ(uni["months"].toString(), "48");
    EXPECT_EQ(uni["percent"].toString(), "80.7");
    EXPECT_EQ(uni["amount"].toString(), "96,840.00");
    EXPECT_EQ(split["total_months"].toString(), "59.48");
}

TEST_F(Calc_Cli, EarlierPaymentUnderAnotherNumber)
{
    const QJsonObject o = Json({QStringLiteral("calc"), QStringLiteral("20000002"), QStringLiteral("--month"),
        QStringLiteral("01/2030"), QStringLiteral("--json")});
    const QJsonArray earlier = o["earlier"].toArray();
    ASSERT_EQ(earlier.size(), 1);
    const QJsonObject e = earlier[0].toObject();
    EXPECT_EQ(e["sapid"].toString(), "20000001");
    EXPECT_EQ(e["request_month"].toString(), "03/2013");
    EXPECT_EQ(e["compensation"].toString(), "90,000.00");
    EXPECT_EQ(e["multiplier"].toInt(), 6);
    EXPECT_EQ(e["years"].toInt(), 5);
    EXPECT_EQ(o["paid_earlier"].toString(), "90,000.00");
    const QJsonObject earlierService = o["service"].toObject()["earlier"].toObject();
    EXPECT_EQ(earlierService["years"].toInt(), 5);
    EXPECT_EQ(earlierService["months"].toInt(), 5);
    EXPECT_EQ(earlierService["days"].toInt(), 15);

    // A request month before the earlier one: nothing counted.
    const QJsonObject before = Json({QStringLiteral("calc"), QStringLiteral("20000002"), QStringLiteral("--month"),
        QStringLiteral("03/2013"), QStringLiteral("--json")});
    EXPECT_TRUE(before["earlier"].toArray().isEmpty());
    EXPECT_EQ(before["paid_earlier"].toString(), "0.00");
}

TEST_F(Calc_Cli, SalaryAndReasonGivenSaveThenRefuseAgain)
{
    const QStringList args = {QStringLiteral("calc"), QStringLiteral("10000001"), QStringLiteral("--month"),
        QStringLiteral("10/2012"), QStringLiteral("--salary"), QStringLiteral("25,000.00"), QStringLiteral("--reason"),
        QStringLiteral("เกษียณอายุงาน"), QStringLiteral("--save")};
    const Run_Result saved = Run(args);
    ASSERT_EQ(saved.exit, 0) << saved.err.toStdString();
    EXPECT_TRUE(saved.out.contains(QStringLiteral("ยอดเงินรับสุทธิ 150,000.00 บาท"))) << saved.out.toStdString();
    EXPECT_TRUE(saved.out.contains(QStringLiteral("ทำการบันทึกข้อมูลเรียบร้อยแล้ว")));
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT Event_Out FROM EP_mRec_Money_Chodchoy WHERE SapID = ?"),
                   {QStringLiteral("10000001")})
                  .toString(),
        QStringLiteral("เกษียณอายุงาน"));
    EXPECT_DOUBLE_EQ(t.scalar(QStringLiteral("SELECT Last_Salary FROM EP_mRec_Money_Chodchoy WHERE SapID = ?"),
                          {QStringLiteral("10000001")})
                         .toDouble(),
        25000.0);
    // Date_Entry: the server's date in the Buddhist era.
    const QString entry = t.scalar(QStringLiteral("SELECT Date_Entry FROM EP_mRec_Money_Chodchoy WHERE SapID = ?"),
                               {QStringLiteral("10000001")})
                              .toString();
    EXPECT_EQ(entry.right(4).toInt(), QDate::currentDate().year() + 543) << entry.toStdString();

    const Run_Result again = Run(args);
    EXPECT_EQ(again.exit, 1);
    EXPECT_EQ(again.err.trimmed(), QStringLiteral("รายการนี้มีการขอเงินชดเชยไปแล้วไม่สามารถทำได้อีก"));
}

struct Refusal
{
    QStringList args;
    int exit;
    QString message; // start of stderr
};

TEST_F(Calc_Cli, Refusals)
{
    const QString month = QStringLiteral("--month");
    const std::vector<Refusal> cases = {
        {{"calc", "99999999", month, "10/2012"}, 1, QStringLiteral("ไม่พบข้อมูลพนักงานรหัส SAP ID 99999999")},
        {{"calc", "20000001", month, "10/2012"}, 1, QStringLiteral("รายการนี้มีการขอเงินชดเชยไปแล้วไม่สามารถทำได้อีก")},
        {{"calc", "10000001", month, "13/2012"}, 1, QStringLiteral("เดือนปีที่ขอรับเงินชดเชยไม่ถูกต้อง")},
        {{"calc", "10000001", month, "10/2012", "--salary", "สองหมื่น"}, 1, QStringLiteral("เงินเดือนสุดท้ายต้องเป็นตัวเลข")},
        // Amounts and texts the database columns cannot hold, refused before the save.
        {{"calc", "10000001", month, "10/2012", "--salary", "1e300", "--save"}, 1,
            QStringLiteral("เงินเดือนสุดท้ายต้องเป็นตัวเลข")},
        {{"calc", "10000001", month, "10/2012", "--salary", QStringLiteral("1") + QString(300, QLatin1Char('0')),
             "--save"},
            1, QStringLiteral("เงินเดือนสุดท้ายเกินกว่าที่ฐานข้อมูลเก็บได้")},
        {{"calc", "10000001", month, "10/2012", "--salary", "10,000,000,000,000,000", "--save"}, 1,
            QStringLiteral("เงินเดือนสุดท้ายเกินกว่าที่ฐานข้อมูลเก็บได้")},
        {{"calc", "10000001", month, "10/2012", "--salary", "5,000,000,000,000,000", "--save"}, 1,
            QStringLiteral("เงินชดเชยที่คำนวณได้")},
        {{"calc", "10000001", month, "10/2012", "--reason", QString(256, QChar(0x0E01)), "--save"}, 1,
            QStringLiteral("เหตุแห่งการออกยาวเกินกว่าที่ฐานข้อมูลเก็บได้")},
        {{"calc", "10000005", month, "10/2012"}, 1, QStringLiteral("กรุณาใส่ เหตุแห่งการออกด้วย")},
        {{"calc", "10000001", month, "10/2012", "--reason", " "}, 1, QStringLiteral("กรุณาใส่ เหตุแห่งการออกด้วย")},
        {{"calc", "10000008", month, "10/2012"}, 1, QStringLiteral("ต้องมีประวัติการทำงานจึงทำงานต่อได้")},
        {{"calc", "10000001"}, 2, QStringLiteral("--month")},
        {{"calc", month, "10/2012"}, 2, QStringLiteral("usage:")},
    };
    for (const Refusal& c : cases) {
        const Run_Result r = Run(c.args);
        EXPECT_EQ(r.exit, c.exit) << c.args.join(' ').toStdString() << ": " << r.err.toStdString();
        EXPECT_TRUE(r.err.startsWith(c.message)) << c.args.join(' ').toStdString() << ": " << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
    }
    // Nothing was written by any refusal.
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT COUNT(*) FROM EP_mRec_Money_Chodchoy")).toInt(), 1);
}

} // namespace

namespace {

TEST_F(Calc_Cli, OverlappingStoredPeriodsAreRefusedAtTheSave)
{
    t.exec(QStringLiteral("INSERT INTO EP_Work_Histry (SapID, SSN, Work_Type_Code, Work_Type, Work_B_Date, "
                          "Work_E_Date) VALUES ('10000001', '3100100000011', '2', 'พนักงานมหาวิทยาลัย', '01/10/2553', "
                          "'30/09/2554')"));
    const Run_Result r = Run({QStringLiteral("calc"), QStringLiteral("10000001"), QStringLiteral("--month"),
        QStringLiteral("10/2012"), QStringLiteral("--save")});
    EXPECT_EQ(r.exit, 1);
    EXPECT_TRUE(r.err.startsWith(QStringLiteral("ประวัติการทำงานมีช่วงเวลาทับกัน"))) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("01/10/2553 - 30/09/2554"))) << r.err.toStdString();
    EXPECT_EQ(
        t.scalar(QStringLiteral("SELECT COUNT(*) FROM EP_mRec_Money_Chodchoy WHERE SapID = '10000001'")).toInt(), 0);
}

} // namespace
