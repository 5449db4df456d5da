#include "CliRunner.h"

#include "db/Users.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

#include <QSqlQuery>

using namespace velmora;
using test::runCli;

struct RuleCase
{
    QStringList args;
    int exitCode;
    QString out; // whole standard output; empty when refused
};

class CliRules : public ::testing::TestWithParam<RuleCase>
{
};

TEST_P(CliRules, PrintsOrRefuses)
{
    const RuleCase& c = GetParam();
    const test::CliResult r = runCli(c.args);
    EXPECT_EQ(r.exitCode, c.exitCode) << r.err.toStdString();
    if (c.exitCode == 0) {
        EXPECT_EQ(r.out, c.out);
        EXPECT_TRUE(r.err.isEmpty());
    } else {
        EXPECT_TRUE(r.out.isEmpty());
        // one line on stderr
        EXPECT_EQ(r.err.count(QLatin1Char('\n')), c.exitCode == 1 ? 1 : r.err.count(QLatin1Char('\n')));
        EXPECT_FALSE(r.err.trimmed().isEmpty());
    }
}

INSTANTIATE_TEST_SUITE_P(Rules, CliRules,
    ::testing::Values(RuleCase {{"period", "17/10/2550", "30/09/2553"}, 0, "0002 11 15 35.48\n"},
        RuleCase {{"period", "01/04/2550", "31/03/2551"}, 0, "0001 00 00 12.00\n"},
        RuleCase {{"period", "05/06/2550", "20/06/2550"}, 0, "0000 00 16 0.53\n"},
        RuleCase {{"period", "16/02/2552", "15/03/2552"}, 0, "0000 00 28 0.95\n"},
        RuleCase {{"period", "30/09/2553", "17/10/2550"}, 1, ""},
        RuleCase {{"period", "31/02/2553", "17/10/2554"}, 1, ""},
        RuleCase {{"period", "1/2/2553", "17/10/2554"}, 1, ""}, RuleCase {{"period", "17/10/2550"}, 2, ""},
        RuleCase {{"baht", "12345.67"}, 0, QStringLiteral("หนึ่งหมื่นสองพันสามร้อยสี่สิบห้าบาทหกสิบเจ็ดสตางค์\n")},
        RuleCase {{"baht", "21,000,021"}, 0, QStringLiteral("ยี่สิบเอ็ดล้านยี่สิบเอ็ดบาทถ้วน\n")},
        RuleCase {{"baht", "0.21"}, 0, QStringLiteral("บาทยี่สิบเอ็ดสตางค์\n")}, RuleCase {{"baht", "12x"}, 1, ""},
        RuleCase {{"baht"}, 2, ""}, RuleCase {{"no-such-command"}, 2, ""}));

TEST(CliPeriod, ReversedPairSaysWhy)
{
    const test::CliResult r = runCli({"period", "30/09/2553", "17/10/2550"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_FALSE(r.err.trimmed().isEmpty());
    EXPECT_FALSE(r.err.contains(QLatin1String("-000"))); // never a garbled period
}

TEST(CliInit, WithoutAUserAndNoTerminalCreatesNoneAndSaysHow)
{
    test::TestDatabase t(false);
    const test::CliResult r = runCli({"--db", t.url(), "init"}, 20000);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QLatin1String("velmora-cli init --user"))) << r.out.toStdString();
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT COUNT(*) FROM EP_TR_User")).toInt(), 0);
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT Version_NO FROM EP_TR_Version")).toString(), QStringLiteral("8.0"));
}

TEST(CliInit, FirstUserFromOptionsAndIdempotent)
{
    test::TestDatabase t(false);
    const QStringList args = {"--db", t.url(), "init", "--user", "o'neil", "--password", "p'w-secret"};
    ASSERT_EQ(runCli(args).exitCode, 0);
    const test::CliResult again = runCli(args);
    ASSERT_EQ(again.exitCode, 0) << again.err.toStdString();
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT COUNT(*) FROM EP_TR_User")).toInt(), 1);
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT COUNT(*) FROM EP_TR_Cal_Money")).toInt(), 4);
    EXPECT_EQ(
        db::checkLogin(t.db(), QStringLiteral("o'neil"), QStringLiteral("p'w-secret")).status, db::LoginResult::Ok);
}

TEST(CliInit, UserWithoutPasswordIsAUsageError)
{
    test::TestDatabase t(false);
    EXPECT_EQ(runCli({"--db", t.url(), "init", "--user", "a"}).exitCode, 2);
    EXPECT_FALSE(t->hasTable(QStringLiteral("EP_TR_User")));
}

TEST(CliInit, DemoAddsTheDocumentedLogin)
{
    test::TestDatabase t(false);
    const test::CliResult r = runCli({"--db", t.url(), "init", "--demo"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QLatin1String("demo1234")));
    EXPECT_EQ(db::checkLogin(t.db(), QStringLiteral("demo"), QStringLiteral("demo1234")).status, db::LoginResult::Ok);
    EXPECT_GE(t.scalar(QStringLiteral("SELECT COUNT(*) FROM EP_Emp_Main")).toInt(), 10);
}

TEST(CliInit, UnreachableDatabaseIsRefusedWithTheConnectionMessage)
{
    const test::CliResult r = runCli({"--db", "postgresql://nobody@127.0.0.1:1/none", "init"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.startsWith(QStringLiteral("ไม่สามารถติดต่อฐานข้อมูลได้"))) << r.err.toStdString();
}

// Every command that reads or writes checks the version first, as the desktop
// program does; before, `calc --save` wrote into a version "7.0" database.
TEST(CliStartupGuard, AnotherVersionIsRefusedBeforeAnythingIsReadOrWritten)
{
    test::TestDatabase t;
    t.exec(QStringLiteral("UPDATE EP_TR_Version SET Version_NO = '7.0'"));
    const QList<QStringList> commands = {
        {"calc", "00000101", "--month", "03/2024", "--save"},
        {"cancel", "00000101"},
        {"report", "contract-end"},
        {"report", "fund-source", "--from", "01/03/2567", "--to", "31/03/2567"},
        {"init", "--user", "somchai", "--password", "pw"},
    };
    for (const QStringList& args : commands) {
        const test::CliResult r = runCli(QStringList {"--db", t.url()} + args);
        EXPECT_EQ(r.exitCode, 1) << args.join(' ').toStdString();
        EXPECT_EQ(r.err, QStringLiteral("Invalid Version  Pressent Version Is : 7.0\n"))
            << args.join(' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << args.join(' ').toStdString();
    }
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT COUNT(*) FROM EP_TR_User")).toInt(), 0);
    // the rules need no database
    EXPECT_EQ(runCli({"--db", t.url(), "baht", "1"}).exitCode, 0);
}

TEST(CliStartupGuard, APartlyBuiltDatabaseIsRefusedNamingTheMissingTables)
{
    test::TestDatabase t;
    QSqlQuery drop = t->query();
    ASSERT_TRUE(drop.exec(QStringLiteral("DROP TABLE EP_TR_Cal_Money")));
    for (const QStringList& args : {QStringList {"report", "received"}, QStringList {"init"}}) {
        const test::CliResult r = runCli(QStringList {"--db", t.url()} + args);
        EXPECT_EQ(r.exitCode, 1) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("EP_TR_Cal_Money"))) << r.err.toStdString();
    }
    EXPECT_FALSE(t->hasTable(QStringLiteral("EP_TR_Cal_Money")));
}

// The password from standard input: never on the command line, where the
// process list shows it to every user of the machine.
TEST(CliInit, PasswordFromStandardInput)
{
    test::TestDatabase t(false);
    const test::CliResult r =
        runCli({"--db", t.url(), "init", "--user", "somying", "--password-stdin"}, 60000, "p'w รหัส\r\nnext line\n");
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_FALSE(r.out.contains(QStringLiteral("รหัส"))) << r.out.toStdString();
    EXPECT_EQ(db::checkLogin(t.db(), QStringLiteral("somying"), QStringLiteral("p'w รหัส")).status, db::LoginResult::Ok);
}

TEST(CliInit, PasswordOptionsRefused)
{
    test::TestDatabase t(false);
    struct Case
    {
        QStringList args;
        QByteArray input;
        int exitCode;
    };
    const Case cases[] = {
        {{"init", "--password-stdin"}, "pw\n", 2}, // no user
        {{"init", "--user", "a", "--password-stdin", "--password", "pw"}, "pw\n", 2},
        {{"init", "--user", "a", "--password-stdin"}, "\n", 1}, // an empty first line
        {{"init", "--user", QString(51, QLatin1Char('u')), "--password-stdin"}, "pw\n", 1}, // name too long
    };
    for (const Case& c : cases) {
        const test::CliResult r = runCli(QStringList {"--db", t.url()} + c.args, 60000, c.input);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args.join(' ').toStdString() << ": " << r.err.toStdString();
    }
    if (t->hasTable(QStringLiteral("EP_TR_User"))) {
        EXPECT_EQ(t.scalar(QStringLiteral("SELECT COUNT(*) FROM EP_TR_User")).toInt(), 0);
    }
}
