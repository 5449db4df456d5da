// velmora-cli cancel, run as a program on a database made by `init --demo`.

#include "support/DemoCliTest.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

#include <QProcess>

using velmora::test::TestDatabase;

namespace {

using Cli_Result = velmora::test::DemoCliTest::Result;

class Cancel_Cli : public velmora::test::DemoCliTest
{
protected:
    Cli_Result Save(const char* sapid) const
    {
        return Run({QStringLiteral("calc"), QLatin1String(sapid), QStringLiteral("--month"), QStringLiteral("10/2012"),
            QStringLiteral("--save")});
    }

    int Count(const char* table, const char* column, const QString& value) const
    {
        return t
            .scalar(
                QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2 = ?").arg(QLatin1String(table), QLatin1String(column)),
                {value})
            .toInt();
    }

    QString Status(const QString& sapid) const
    {
        return t.scalar(QStringLiteral("SELECT Emp_RecMChod_Status FROM EP_Emp_Main WHERE SapID = ?"), {sapid})
            .toString();
    }
};

const QString kSap = QStringLiteral("10000001");

TEST_F(Cancel_Cli, CancelKeepsThePeriodsAndAllowsANewSave)
{
    ASSERT_EQ(Save("10000001").exit, 0);
    ASSERT_EQ(Status(kSap), QStringLiteral("P"));

    const Cli_Result r = Run({QStringLiteral("cancel"), kSap});
    ASSERT_EQ(r.exit, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.trimmed(), QStringLiteral("ทำการลบข้อมูลให้เรียบร้อยแล้ว"));
    EXPECT_EQ(Count("EP_mRec_Money_Chodchoy", "SapID", kSap), 0);
    EXPECT_EQ(Count("EP_mRec_Money_Detail", "SapID", kSap), 0);
    EXPECT_EQ(Count("EP_Work_Histry", "SapID", kSap), 2);
    EXPECT_EQ(Status(kSap), QStringLiteral("A"));

    const Cli_Result again = Save("10000001");
    EXPECT_EQ(again.exit, 0) << again.err.toStdString();
    EXPECT_EQ(Count("EP_mRec_Money_Detail", "SapID", kSap), 2);
}

TEST_F(Cancel_Cli, WithHistoryRemovesThePeriods)
{
    ASSERT_EQ(Save("10000001").exit, 0);
    const Cli_Result r = Run({QStringLiteral("cancel"), kSap, QStringLiteral("--with-history")});
    ASSERT_EQ(r.exit, 0) << r.err.toStdString();
    EXPECT_EQ(Count("EP_Work_Histry", "SapID", kSap), 0);
    EXPECT_EQ(Status(kSap), QStringLiteral("A"));
}

TEST_F(Cancel_Cli, NothingToCancelIsRefused)
{
    // 10000001 has no saved calculation in the demo data.
    for (const QString& id : {kSap, QString()}) {
        const Cli_Result r = Run({QStringLiteral("cancel"), id, QStringLiteral("--with-history")});
        EXPECT_EQ(r.exit, 1);
        EXPECT_TRUE(r.err.contains(QStringLiteral("ไม่มีรายการที่ต้องการยกเลิก"))) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
    EXPECT_EQ(Count("EP_Work_Histry", "SapID", kSap), 2);
}

// Another connection (here: this test process) is in the middle of a write:
// on SQLite it holds the database's write lock, on PostgreSQL the employee's
// row. The cancel, a second process, waits for it and then succeeds.
TEST_F(Cancel_Cli, WaitsForAnotherWriterAndSucceeds)
{
    ASSERT_EQ(Save("10000001").exit, 0);
    QProcess cancel;
    {
        velmora::db::Transaction writer(t.db());
        ASSERT_TRUE(writer.active()) << writer.error().toStdString();
        t.exec(QStringLiteral("UPDATE EP_Emp_Main SET Emp_RecMChod_Status = ? WHERE SapID = ?"),
            {QStringLiteral("P"), kSap});
        cancel.setProgram(QStringLiteral(VELMORA_CLI));
        cancel.setArguments({QStringLiteral("--db"), t.url(), QStringLiteral("--login"), velmora::test::kDemoLogin.name,
            QStringLiteral("cancel"), kSap});
        cancel.start();
        ASSERT_TRUE(cancel.waitForStarted());
        cancel.write((velmora::test::kDemoLogin.password + QLatin1Char('\n')).toUtf8());
        cancel.closeWriteChannel();
        // Still waiting after the start of the program and a good while more.
        EXPECT_FALSE(cancel.waitForFinished(2500)) << cancel.readAllStandardError().toStdString();
        QString error;
        ASSERT_TRUE(writer.commit(&error)) << error.toStdString();
    }
    ASSERT_TRUE(cancel.waitForFinished(60000));
    EXPECT_EQ(cancel.exitCode(), 0) << cancel.readAllStandardError().toStdString();
    EXPECT_EQ(Count("EP_mRec_Money_Chodchoy", "SapID", kSap), 0);
    EXPECT_EQ(Status(kSap), QStringLiteral("A"));
}

TEST_F(Cancel_Cli, UsageErrors)
{
    EXPECT_EQ(Run({QStringLiteral("cancel")}).exit, 2);
    EXPECT_EQ(Run({QStringLiteral("cancel"), kSap, QStringLiteral("20000001")}).exit, 2);
    EXPECT_EQ(Run({QStringLiteral("cancel"), kSap, QStringLiteral("--history")}).exit, 2);
}

} // namespace
