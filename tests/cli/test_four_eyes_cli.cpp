// The office's accounts from the command line: the second pair of eyes from
// the officer's save to the memo and a return, the throttling of wrong
// passwords across processes, and an older database whose users keep working.

#include "DemoCliTest.h"

#include "db/Users.h"
#include "services/Accounts.h"
#include "services/EmployeeService.h"

#include <QDateTime>
#include <QSqlQuery>
#include <QTemporaryDir>

namespace velmora::test {
namespace {

const QString kMonth = QStringLiteral("12/2026");
const CliLogin kOfficer {QStringLiteral("somchai"), QStringLiteral("somchai-1")}; // officer and checker
const CliLogin kChecker {QStringLiteral("somying"), QStringLiteral("somying-1")};
const CliLogin kAuditor {QStringLiteral("sompong"), QStringLiteral("sompong-1")};

class Four_Eyes_Cli : public DemoCliTest
{
protected:
    QString state(const char* sapid) const
    {
        return t.scalar(QStringLiteral("SELECT Check_State FROM EP_Calc_Check WHERE SapID = ?"), {QLatin1String(sapid)})
            .toString();
    }
    QVariant printed(const char* sapid) const
    {
        return t.scalar(
            QStringLiteral("SELECT Is_Print_doc FROM EP_mRec_Money_Chodchoy WHERE SapID = ?"), {QLatin1String(sapid)});
    }
    QStringList memo(const char* sapids) const
    {
        return {QStringLiteral("print"), QStringLiteral("memo"), QStringLiteral("--from"), QStringLiteral("01/01/2500"),
            QStringLiteral("--to"), QStringLiteral("31/12/2600"), QStringLiteral("--sapids"), QLatin1String(sapids),
            QStringLiteral("--pdf"), dir.filePath(QStringLiteral("memo.pdf"))};
    }
    QTemporaryDir dir;
};

TEST_F(Four_Eyes_Cli, OfficerSavesCheckerChecksTheMemoGathersItAReturnPutsTheEmployeeBack)
{
    // the administrator (demo) adds the office; the password rules hold
    struct Add
    {
        QString name;
        QString roles;
        QByteArray password;
        QString refusal; // empty: added
    };
    const Add adds[] = {
        {kOfficer.name, QStringLiteral("officer,checker"), kOfficer.password.toUtf8(), {}},
        {kChecker.name, QStringLiteral("checker"), kChecker.password.toUtf8(), {}},
        {kAuditor.name, QStringLiteral("auditor"), kAuditor.password.toUtf8(), {}},
        {QStringLiteral("somsak"), QStringLiteral("officer"), "short1", QStringLiteral("8 ถึง 10 ตัวอักษร")},
        {QStringLiteral("somsak99"), QStringLiteral("officer"), "SOMSAK99", QStringLiteral("ไม่ใช่ชื่อผู้ใช้")},
        {QStringLiteral("somsak"), QStringLiteral("clerk"), "somsak-11", QStringLiteral("ไม่รู้จักบทบาท \"clerk\"")},
    };
    for (const Add& a : adds) {
        const Result r = Run({QStringLiteral("user"), QStringLiteral("add"), a.name, QStringLiteral("--full-name"),
                                 QStringLiteral("ทดสอบ ระบบ"), QStringLiteral("--roles"), a.roles},
            a.password + '\n');
        EXPECT_EQ(r.exit, a.refusal.isEmpty() ? 0 : 1) << a.name.toStdString() << ": " << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(a.refusal)) << r.err.toStdString();
        if (a.refusal.isEmpty())
            t.cheapenPassword(a.name, QString::fromUtf8(a.password));
    }
    EXPECT_FALSE(db::userExists(t.db(), QStringLiteral("somsak"), nullptr));

    // the officer saves two calculations; they wait for their check
    for (const char* sapid : {"10000001", "10000002"}) {
        const Result saved = RunAs(kOfficer,
            {QStringLiteral("calc"), QLatin1String(sapid), QStringLiteral("--month"), kMonth,
                QStringLiteral("--save")});
        ASSERT_EQ(saved.exit, 0) << saved.err.toStdString();
        EXPECT_EQ(state(sapid), QStringLiteral("W"));
    }

    // his own check is refused although he may check; an auditor may not check at all
    const Result own = RunAs(kOfficer, {QStringLiteral("verify"), QStringLiteral("10000001")});
    EXPECT_EQ(own.exit, 1);
    EXPECT_EQ(own.err.count(QLatin1Char('\n')), 1);
    EXPECT_TRUE(own.err.contains(QStringLiteral("ตรวจสอบหรือส่งคืนการคำนวณของตนเองไม่ได้"))) << own.err.toStdString();
    const Result auditor = RunAs(kAuditor, {QStringLiteral("verify"), QStringLiteral("10000001")});
    EXPECT_EQ(auditor.exit, 1);
    EXPECT_EQ(auditor.err, QStringLiteral("ไม่มีสิทธิ์ตรวจสอบการคำนวณเงินชดเชย: ต้องเป็นผู้ตรวจสอบ (checker)\n"));
    EXPECT_EQ(state("10000001"), QStringLiteral("W"));

    // the memo gathers only checked calculations
    const Result early = RunAs(kChecker, memo("10000001"));
    EXPECT_EQ(early.exit, 1);
    EXPECT_TRUE(early.err.contains(QStringLiteral("ยังไม่ได้ตรวจสอบ"))) << early.err.toStdString();
    EXPECT_TRUE(printed("10000001").isNull());
    const Result checked = RunAs(kChecker, {QStringLiteral("verify"), QStringLiteral("10000001")});
    ASSERT_EQ(checked.exit, 0) << checked.err.toStdString();
    EXPECT_EQ(checked.out, QStringLiteral("ตรวจสอบแล้ว 1 รายการ\n"));
    EXPECT_EQ(state("10000001"), QStringLiteral("C"));
    const Result gathered = RunAs(kChecker, memo("10000001"));
    ASSERT_EQ(gathered.exit, 0) << gathered.err.toStdString();
    EXPECT_EQ(printed("10000001").toString(), QStringLiteral("Y"));
    // the fund-source list shows each line's state and who checked it
    const Result list = RunAs(kAuditor,
        {QStringLiteral("report"), QStringLiteral("fund-source"), QStringLiteral("--from"),
            QStringLiteral("01/01/2500"), QStringLiteral("--to"), QStringLiteral("31/12/2600")});
    ASSERT_EQ(list.exit, 0) << list.err.toStdString();
    EXPECT_TRUE(list.out.contains(QStringLiteral(",ตรวจสอบแล้ว,somying\r\n"))) << list.out.toStdString();
    EXPECT_TRUE(list.out.contains(QStringLiteral(",รอตรวจสอบ,\r\n"))) << list.out.toStdString();

    // a return cancels the calculation, the employee is "A" again, the reason stays
    const QString reason = QStringLiteral("เงินเดือนสุดท้ายไม่ตรงกับคำสั่ง");
    const Result returned =
        RunAs(kChecker, {QStringLiteral("return"), QStringLiteral("10000002"), QStringLiteral("--reason"), reason});
    ASSERT_EQ(returned.exit, 0) << returned.err.toStdString();
    EXPECT_EQ(
        t.scalar(QStringLiteral("SELECT Emp_RecMChod_Status FROM EP_Emp_Main WHERE SapID = '10000002'")).toString(),
        QStringLiteral("A"));
    EXPECT_EQ(
        t.scalar(QStringLiteral("SELECT COUNT(*) FROM EP_mRec_Money_Chodchoy WHERE SapID = '10000002'")).toInt(), 0);
    EXPECT_EQ(state("10000002"), QStringLiteral("R"));
    const Result trail = Run({QStringLiteral("audit"), QStringLiteral("list"), QStringLiteral("--kind"),
        QStringLiteral("calculation-returned"), QStringLiteral("--json")});
    EXPECT_TRUE(trail.out.contains(reason)) << trail.out.toStdString();
    EXPECT_TRUE(trail.out.contains(QStringLiteral("\"user\": \"somying\""))) << trail.out.toStdString();
    // the calculation list shows why it came back
    calc::Employee_Search search;
    search.work_type = "พนักงานมหาวิทยาลัย";
    search.end_filter = calc::Employee_Search::End_Filter::All;
    std::vector<calc::Employee_List_Row> rows;
    std::string error;
    ASSERT_TRUE(calc::Search_Employees(t.db(), search, &rows, &error)) << error;
    bool shown = false;
    for (const calc::Employee_List_Row& row : rows)
        shown = shown
            || (row.sapid == "10000002" && QString::fromStdString(row.check) == QStringLiteral("ส่งคืน: ") + reason);
    EXPECT_TRUE(shown);

    // with the check turned off (administrator only) every saved calculation counts as checked
    EXPECT_EQ(RunAs(kOfficer, {QStringLiteral("four-eyes"), QStringLiteral("off")}).exit, 1);
    ASSERT_EQ(Run({QStringLiteral("four-eyes"), QStringLiteral("off")}).exit, 0);
    ASSERT_EQ(RunAs(kOfficer,
                  {QStringLiteral("calc"), QStringLiteral("10000003"), QStringLiteral("--month"), kMonth,
                      QStringLiteral("--save")})
                  .exit,
        0);
    const Result unchecked = RunAs(kChecker, memo("10000003"));
    EXPECT_EQ(unchecked.exit, 0) << unchecked.err.toStdString();
    EXPECT_EQ(printed("10000003").toString(), QStringLiteral("Y"));
    const Result verified = Run({QStringLiteral("audit"), QStringLiteral("verify")});
    EXPECT_EQ(verified.exit, 0) << verified.err.toStdString();
}

TEST_F(Four_Eyes_Cli, FiveWrongPasswordsRefuseTheNameInEveryProcessForFiveMinutes)
{
    const QString wrong = accounts::loginMessage(db::LoginResult::WrongPassword) + QLatin1Char('\n');
    const QString unknown = accounts::loginMessage(db::LoginResult::NoSuchUser) + QLatin1Char('\n');
    const QString throttled = accounts::loginMessage(db::LoginResult::Throttled) + QLatin1Char('\n');
    const QStringList report = {QStringLiteral("report"), QStringLiteral("contract-end")};
    for (const auto& [who, first] : {std::pair {CliLogin {QStringLiteral("demo"), QStringLiteral("wrong-pw1")}, wrong},
             std::pair {CliLogin {QStringLiteral("nobody"), QStringLiteral("wrong-pw1")}, unknown}}) {
        for (int i = 0; i < db::kLoginFailureLimit; ++i)
            EXPECT_EQ(RunAs(who, report).err, first) << who.name.toStdString() << " " << i;
        // the same message whether or not the name exists
        EXPECT_EQ(RunAs({who.name, QStringLiteral("demo1234")}, report).err, throttled) << who.name.toStdString();
    }
    // counted in the database: another process on another connection is refused too
    EXPECT_EQ(accounts::logIn(*t.openAnother(), QStringLiteral("demo"), QStringLiteral("demo1234")).result.status,
        db::LoginResult::Throttled);
    EXPECT_EQ(
        t.scalar(QStringLiteral("SELECT COUNT(*) FROM EP_Audit_Log WHERE Event_Kind = 'login-throttled'")).toInt(), 2);
    // five minutes after the last wrong password the name opens again, and its count is cleared
    t.exec(QStringLiteral("UPDATE EP_Login_Failure SET Failed_At = ?"),
        {t->dateTimeValue(QDateTime::currentDateTime().addSecs(-60 * db::kLoginRefusal - 30))});
    const Result again = Run(report);
    EXPECT_EQ(again.exit, 0) << again.err.toStdString();
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT COUNT(*) FROM EP_Login_Failure WHERE UserName = 'demo'")).toInt(), 0);
}

// A database of the version before users had roles, with a user whose
// password an older installation stored in plain text.
TEST(Upgrade_Cli, TheUsersOfAnOlderDatabaseKeepWorkingWithEveryRole)
{
    TestDatabase t;
    for (const char* table : {"EP_User_Role", "EP_User_State", "EP_Login_Failure", "EP_Calc_Check", "EP_Setting"}) {
        QSqlQuery q = t->query();
        ASSERT_TRUE(q.exec(QStringLiteral("DROP TABLE ") + QLatin1String(table))) << table;
    }
    t.exec(QStringLiteral("INSERT INTO EP_TR_User (UserName, Upassword, F_Name, L_Name) VALUES (?, ?, ?, ?)"),
        {QStringLiteral("vok"), QStringLiteral("old pw"), QStringLiteral("วอก"), QStringLiteral("เก่า")});
    const CliLogin vok {QStringLiteral("vok"), QStringLiteral("old pw")};
    for (int start = 0; start < 2; ++start) {
        const CliResult r =
            runCliAs(vok, {QStringLiteral("--db"), t.url(), QStringLiteral("user"), QStringLiteral("list")});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_TRUE(r.out.contains(QStringLiteral("vok,วอก เก่า,\"administrator,officer,checker,auditor\",yes,no")))
            << r.out.toStdString();
        EXPECT_EQ(
            t.scalar(QStringLiteral("SELECT COUNT(*) FROM EP_Audit_Log WHERE Event_Kind = 'users-upgraded'")).toInt(),
            1);
    }
}

} // namespace
} // namespace velmora::test
