// A PostgreSQL server that holds the rights itself (server-setup): what each
// group role may run through a plain connection, changes made outside the
// program in the trail, the program's own work under each role, logins made
// by the administrator, and a second setup that changes nothing. Runs only on
// the PostgreSQL pass (the SQLite pass has no server to set up).

#include "DemoCliTest.h"

#include "db/AuditLog.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

#include <map>

namespace velmora::test {
namespace {

const QString kMonth = QStringLiteral("12/2026");

class Server_Roles_Cli : public DemoCliTest
{
protected:
    void SetUp() override
    {
        if (!t.isPostgres())
            GTEST_SKIP() << "server roles exist only on PostgreSQL (VELMORA_TEST_DB)";
        DemoCliTest::SetUp();
        // login roles are the cluster's: names of this test's own
        const QString tag = QString::number(QRandomGenerator::global()->bounded(100000000));
        admin = {QStringLiteral("adm") + tag, QStringLiteral("adm-pw-1")};
        officer = {QStringLiteral("off") + tag, QStringLiteral("off-pw-1")};
        checker = {QStringLiteral("chk") + tag, QStringLiteral("chk-pw-1")};
        auditor = {QStringLiteral("aud") + tag, QStringLiteral("aud-pw-1")};
        earlier = {QStringLiteral("old") + tag, QStringLiteral("old-pw-1")};
        QUrl u(t.url());
        u.setUserName(QString());
        serverUrl = u.toString();
        // the administrator and an earlier user exist before the setup, the
        // others are added by the administrator on the server
        for (const auto& [who, role] : {std::pair {&admin, "administrator"}, {&earlier, "officer"}}) {
            const Result added = Run({QStringLiteral("user"), QStringLiteral("add"), who->name,
                                         QStringLiteral("--full-name"), QStringLiteral("ผู้ ดูแล"),
                                         QStringLiteral("--roles"), QLatin1String(role)},
                who->password.toUtf8() + '\n');
            ASSERT_EQ(added.exit, 0) << added.err.toStdString();
        }
        ASSERT_EQ(setUpServer().exit, 0);
        for (const auto& [who, role] : {std::pair {&officer, "officer"}, {&checker, "checker"}, {&auditor, "auditor"}}) {
            const Result r = OnServer(admin,
                {QStringLiteral("user"), QStringLiteral("add"), who->name, QStringLiteral("--full-name"),
                    QStringLiteral("ผู้ ทดสอบ"), QStringLiteral("--roles"), QLatin1String(role)},
                who->password.toUtf8() + '\n');
            ASSERT_EQ(r.exit, 0) << r.err.toStdString();
        }
    }

    void TearDown() override
    {
        if (!t.isPostgres())
            return;
        for (const CliLogin* who : {&admin, &officer, &checker, &auditor, &earlier})
            t.exec(QStringLiteral("DO $$ BEGIN IF EXISTS (SELECT 1 FROM pg_roles WHERE rolname = '%1') THEN "
                                  "DROP ROLE %1; END IF; END $$")
                       .arg(who->name));
    }

    Result setUpServer() const
    {
        const CliResult r = runCli({QStringLiteral("--db"), t.url(), QStringLiteral("server-setup"),
                                       QStringLiteral("--user"), admin.name, QStringLiteral("--password-stdin")},
            timeoutMs, admin.password.toUtf8() + '\n');
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        return {r.exitCode, r.out, r.err};
    }

    // velmora-cli on the URL without a user: the login opens the connection
    Result OnServer(const CliLogin& who, const QStringList& args, const QByteArray& more = {}) const
    {
        const CliResult r = runCliAs(who, QStringList {QStringLiteral("--db"), serverUrl} + args, timeoutMs, more);
        EXPECT_NE(r.exitCode, -1) << r.err.toStdString();
        return {r.exitCode, r.out, r.err};
    }

    // A plain connection as the login, as psql would have it.
    std::unique_ptr<db::Database> plain(const CliLogin& who) const
    {
        QString error;
        auto d = db::Database::openAs(serverUrl, who.name, who.password, &error);
        EXPECT_TRUE(d) << error.toStdString();
        return d;
    }

    qint64 lastSeq() const { return t.scalar(QStringLiteral("SELECT MAX(Seq_No) FROM EP_Audit_Log")).toLongLong(); }

    CliLogin admin;
    CliLogin officer;
    CliLogin checker;
    CliLogin auditor;
    CliLogin earlier; // a user before the setup
    QString serverUrl;
};

// Runs the statement in a transaction that is rolled back; false when the
// server refused it for want of a privilege (or one of its functions refused
// the caller). Another error (a NOT NULL key) means the privilege held.
bool permitted(const db::Database& d, const QString& sql)
{
    QSqlQuery q = d.query();
    EXPECT_TRUE(q.exec(QStringLiteral("BEGIN")));
    const bool ran = q.exec(sql);
    const QString state = q.lastError().nativeErrorCode();
    QSqlQuery end = d.query();
    end.exec(QStringLiteral("ROLLBACK"));
    return ran || (state != QLatin1String("42501") && state != QLatin1String("P0001"));
}

TEST_F(Server_Roles_Cli, EachGroupRoleRunsExactlyItsStatementsThroughAPlainConnection)
{
    // who may: A administrator, O officer, C checker, U auditor
    struct Row
    {
        const char* sql;
        const char* who;
    };
    std::vector<Row> rows = {
        {"INSERT INTO EP_Emp_Main DEFAULT VALUES", "O"},
        {"UPDATE EP_Emp_Main SET SapID = SapID", "O"},
        {"UPDATE EP_Emp_Main SET Money_Rate = Money_Rate", "O"},
        {"UPDATE EP_Emp_Main SET Emp_RecMChod_Status = Emp_RecMChod_Status", "OC"},
        {"DELETE FROM EP_Emp_Main", ""},
        {"INSERT INTO EP_Reason_out DEFAULT VALUES", "O"},
        {"UPDATE EP_Reason_out SET SapID = SapID", "O"},
        {"DELETE FROM EP_Reason_out", ""},
        {"INSERT INTO EP_Work_Histry DEFAULT VALUES", "O"},
        {"UPDATE EP_Work_Histry SET SapID = SapID", "O"},
        {"DELETE FROM EP_Work_Histry", "OC"},
        {"INSERT INTO EP_mRec_Money_Chodchoy DEFAULT VALUES", "O"},
        {"UPDATE EP_mRec_Money_Chodchoy SET Net_Money_Recieve = Net_Money_Recieve", ""},
        {"UPDATE EP_mRec_Money_Chodchoy SET Is_Print_doc = 'Y'", "C"},
        {"DELETE FROM EP_mRec_Money_Chodchoy", "OC"},
        {"INSERT INTO EP_mRec_Money_Detail DEFAULT VALUES", "O"},
        {"UPDATE EP_mRec_Money_Detail SET Sum_Day = Sum_Day", ""},
        {"DELETE FROM EP_mRec_Money_Detail", "OC"},
        {"INSERT INTO EP_mRep_Rec_Money DEFAULT VALUES", "O"},
        {"UPDATE EP_mRep_Rec_Money SET Net_Money_Recieve = Net_Money_Recieve", ""},
        {"DELETE FROM EP_mRep_Rec_Money", "OC"},
        // the checking table: an officer only the waiting row of their own save
        {"INSERT INTO EP_Calc_Check (SapID, Check_State, Saved_By) VALUES ('1', 'W', session_user)", "OC"},
        {"INSERT INTO EP_Calc_Check (SapID, Check_State, Saved_By) VALUES ('1', 'W', 'someone')", "C"},
        {"INSERT INTO EP_Calc_Check (SapID, Check_State, Checked_By) VALUES ('1', 'C', session_user)", "C"},
        {"UPDATE EP_Calc_Check SET Check_State = 'C'", "C"},
        {"UPDATE EP_Calc_Check SET Saved_By = 'someone'", ""},
        {"DELETE FROM EP_Calc_Check", "OC"},
        {"INSERT INTO EP_Setting (Setting_Name, Setting_Value) VALUES ('x', 'y')", "A"},
        {"UPDATE EP_Setting SET Setting_Value = 'y'", ""},
        {"DELETE FROM EP_Setting", "A"},
        {"INSERT INTO EP_TR_User (UserName) VALUES ('x')", "A"},
        {"UPDATE EP_TR_User SET F_Name = F_Name", "A"},
        {"DELETE FROM EP_TR_User", ""},
        {"INSERT INTO EP_User_Role (UserName, Role_Name) VALUES ('x', 'officer')", "A"},
        {"UPDATE EP_User_Role SET Role_Name = 'administrator'", ""},
        {"DELETE FROM EP_User_Role", "A"},
        {"INSERT INTO EP_User_State (UserName) VALUES ('x')", "A"},
        {"UPDATE EP_User_State SET Is_Enabled = 'Y'", "A"},
        {"DELETE FROM EP_User_State", "A"},
        // the trail: added only through the function, which names session_user
        {"INSERT INTO EP_Audit_Log (Seq_No, User_Name) VALUES (999999, 'someone')", ""},
        {"UPDATE EP_Audit_Log SET User_Name = 'someone'", ""},
        {"DELETE FROM EP_Audit_Log", ""},
        {"UPDATE EP_Audit_Head SET Seq_No = 1", ""},
        {"SELECT velmora_audit_append('login', NULL, '{\"user_name\":\"someone\"}', 'x', 'y')", "AOCU"},
        {"SELECT velmora_audit_append('direct-change', NULL, '{}', 'x', 'y')", ""},
        {"SELECT velmora_chain_append('login', NULL, '{}', 'x', 'y')", ""},
        {"SET SESSION AUTHORIZATION velmora", ""},
        {"SELECT velmora_login_add('x' || session_user, 'x-pw-12345', 'administrator')", "A"},
        {"SELECT velmora_login_password('velmora', 'x-pw-12345')", ""},
        {"INSERT INTO EP_Login_Failure (UserName) VALUES ('x')", ""},
        {"UPDATE EP_TR_Version SET Version_NO = '9.0'", ""},
        {"INSERT INTO EP_TR_Cal_Money DEFAULT VALUES", ""},
        {"DELETE FROM EP_TR_Depart", ""},
        {"UPDATE EP_TR_Work_Type SET Work_Type = Work_Type", ""},
        {"DELETE FROM EP_TR_Event_Out", ""},
    };
    // every role reads every table
    const QStringList tables = {QStringLiteral("EP_Emp_Main"), QStringLiteral("EP_mRec_Money_Chodchoy"),
        QStringLiteral("EP_Calc_Check"), QStringLiteral("EP_TR_User"), QStringLiteral("EP_Audit_Log"),
        QStringLiteral("EP_Audit_Head"), QStringLiteral("EP_Setting"), QStringLiteral("EP_Login_Failure")};
    std::vector<QByteArray> selects;
    for (const QString& table : tables)
        selects.push_back(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table).toUtf8());
    for (const QByteArray& s : selects)
        rows.push_back({s.constData(), "AOCU"});

    const std::map<char, const CliLogin*> logins = {{'A', &admin}, {'O', &officer}, {'C', &checker}, {'U', &auditor}};
    for (const auto& [letter, who] : logins) {
        auto d = plain(*who);
        ASSERT_TRUE(d);
        for (const Row& r : rows) {
            const bool expected = QByteArray(r.who).contains(letter);
            EXPECT_EQ(permitted(*d, QString::fromUtf8(r.sql)), expected)
                << letter << " (" << who->name.toStdString() << "): " << r.sql;
        }
    }
    // the owner alone may rewrite the trail
    for (const char* sql : {"UPDATE EP_Audit_Log SET User_Name = User_Name", "DELETE FROM EP_Audit_Log"})
        EXPECT_TRUE(permitted(t.db(), QLatin1String(sql))) << sql;

    // the function names the connection's login, whatever the details claim
    auto d = plain(officer);
    QSqlQuery q = d->query();
    ASSERT_TRUE(q.exec(QStringLiteral("SELECT velmora_audit_append('login', NULL, '{}', 'x', 'y')"))) << q.lastError().text().toStdString();
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT User_Name FROM EP_Audit_Log WHERE Seq_No = ?"), {lastSeq()}).toString(),
        officer.name);
}

TEST_F(Server_Roles_Cli, ASalaryChangedOutsideTheProgramIsADirectChangeRowAndTheProgramsSaveIsNot)
{
    auto d = plain(officer);
    ASSERT_TRUE(d);
    const qint64 before = lastSeq();
    // a change alone; one under a marker set by hand (naming a row this
    // transaction did not write); two rows in one statement
    const char* const changes[][3] = {
        {nullptr, "UPDATE EP_Emp_Main SET Money_Rate = 99999 WHERE SapID = '10000001'", nullptr},
        {"SELECT set_config('velmora.event', '1', true)",
            "UPDATE EP_Emp_Main SET Money_Rate = 88888 WHERE SapID = '10000001'", nullptr},
        {nullptr, "UPDATE EP_Emp_Main SET Emp_RecMChod_Status = 'P' WHERE SapID IN ('10000004', '10000005')",
            nullptr},
    };
    for (const auto& c : changes) {
        QSqlQuery q = d->query();
        ASSERT_TRUE(q.exec(QStringLiteral("BEGIN")));
        if (c[0]) {
            ASSERT_TRUE(q.exec(QLatin1String(c[0])));
        }
        ASSERT_TRUE(q.exec(QLatin1String(c[1]))) << q.lastError().text().toStdString();
        ASSERT_TRUE(q.exec(QStringLiteral("COMMIT")));
    }
    std::vector<audit::Entry> rows;
    QString error;
    audit::Filter filter;
    filter.kind = QLatin1String(audit::kind::kDirectChange);
    ASSERT_TRUE(audit::listEntries(t.db(), filter, false, &rows, &error)) << error.toStdString();
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_GT(rows[0].seq, before);
    const QJsonObject first = QJsonDocument::fromJson(rows[0].details.toUtf8()).object();
    EXPECT_EQ(rows[0].user, officer.name);
    EXPECT_EQ(rows[0].sapid, QStringLiteral("10000001"));
    EXPECT_EQ(first.value(QStringLiteral("table")).toString(), QStringLiteral("EP_Emp_Main"));
    EXPECT_EQ(first.value(QStringLiteral("operation")).toString(), QStringLiteral("update"));
    EXPECT_EQ(first.value(QStringLiteral("old")).toObject().value(QStringLiteral("money_rate")).toDouble(), 20000.0);
    EXPECT_EQ(first.value(QStringLiteral("new")).toObject().value(QStringLiteral("money_rate")).toDouble(), 99999.0);
    EXPECT_EQ(QJsonDocument::fromJson(rows[1].details.toUtf8())
                  .object()
                  .value(QStringLiteral("new"))
                  .toObject()
                  .value(QStringLiteral("money_rate"))
                  .toDouble(),
        88888.0);
    QStringList both {rows[2].sapid, rows[3].sapid};
    both.sort();
    EXPECT_EQ(both.join(QLatin1Char(',')), QStringLiteral("10000004,10000005"));

    // a second session waits for the head row the first one holds: no fork
    auto other = plain(checker);
    ASSERT_TRUE(other);
    QSqlQuery holder = d->query();
    QSqlQuery second = other->query();
    const QString append = QStringLiteral("SELECT velmora_audit_append('login', NULL, '{}', 'x', 'y')");
    ASSERT_TRUE(holder.exec(QStringLiteral("BEGIN")) && holder.exec(append));
    ASSERT_TRUE(second.exec(QStringLiteral("SET lock_timeout = '300ms'")));
    EXPECT_FALSE(second.exec(append));
    EXPECT_EQ(second.lastError().nativeErrorCode(), QStringLiteral("55P03")) << second.lastError().text().toStdString();
    ASSERT_TRUE(holder.exec(QStringLiteral("COMMIT")));
    EXPECT_TRUE(second.exec(append)) << second.lastError().text().toStdString();

    // the program's own save writes its event and no direct-change row
    const qint64 beforeSave = lastSeq();
    const Result saved = OnServer(
        officer, {QStringLiteral("calc"), QStringLiteral("10000002"), QStringLiteral("--month"), kMonth, QStringLiteral("--save")});
    ASSERT_EQ(saved.exit, 0) << saved.err.toStdString();
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT COUNT(*) FROM EP_Audit_Log WHERE Seq_No > ? AND Event_Kind = ?"),
                   {beforeSave, QLatin1String(audit::kind::kDirectChange)})
                  .toInt(),
        0);
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT Event_Kind FROM EP_Audit_Log WHERE Seq_No = ?"), {beforeSave + 1})
                  .toString(),
        QLatin1String(audit::kind::kCalculationSaved));
    // rows of the client's chain and of the server's verify as one chain
    const Result verified = OnServer(auditor, {QStringLiteral("audit"), QStringLiteral("verify")});
    EXPECT_EQ(verified.exit, 0) << verified.err.toStdString();
    EXPECT_TRUE(verified.out.startsWith(QStringLiteral("ok "))) << verified.out.toStdString();
}

TEST_F(Server_Roles_Cli, EachRoleDoesItsWorkLoggedInAsItsServerLogin)
{
    struct Step
    {
        const CliLogin* who;
        QStringList args;
        int exit;
        QString said; // in stdout or stderr
    };
    const std::vector<Step> steps = {
        {&officer, {QStringLiteral("calc"), QStringLiteral("10000001"), QStringLiteral("--month"), kMonth,
                       QStringLiteral("--save")},
            0, {}},
        {&auditor, {QStringLiteral("calc"), QStringLiteral("10000002"), QStringLiteral("--month"), kMonth,
                       QStringLiteral("--save")},
            1, QStringLiteral("ไม่มีสิทธิ์")},
        {&officer, {QStringLiteral("verify"), QStringLiteral("10000001")}, 1, QStringLiteral("ไม่มีสิทธิ์")},
        {&checker, {QStringLiteral("verify"), QStringLiteral("10000001")}, 0, {}},
        {&auditor, {QStringLiteral("audit"), QStringLiteral("verify")}, 0, QStringLiteral("ok ")},
        {&auditor, {QStringLiteral("report"), QStringLiteral("received"), QStringLiteral("--year"), QStringLiteral("2026")},
            0, {}},
        {&admin, {QStringLiteral("user"), QStringLiteral("roles"), checker.name, QStringLiteral("--roles"),
                     QStringLiteral("auditor")},
            0, {}},
        // the checker's login lost the checker's group role on the server too
        {&checker, {QStringLiteral("return"), QStringLiteral("10000001"), QStringLiteral("--reason"), QStringLiteral("ผิด")},
            1, QStringLiteral("ไม่มีสิทธิ์")},
        {&admin, {QStringLiteral("user"), QStringLiteral("disable"), officer.name}, 0, {}},
        {&officer, {QStringLiteral("user"), QStringLiteral("list")}, 1, QStringLiteral("ถูกระงับการใช้งาน")},
        {&admin, {QStringLiteral("user"), QStringLiteral("enable"), officer.name}, 0, {}},
        {&officer, {QStringLiteral("report"), QStringLiteral("received"), QStringLiteral("--year"), QStringLiteral("2026")},
            0, {}},
    };
    for (const Step& s : steps) {
        const Result r = OnServer(*s.who, s.args);
        EXPECT_EQ(r.exit, s.exit) << s.who->name.toStdString() << " " << s.args.join(QLatin1Char(' ')).toStdString()
                                  << ": " << r.err.toStdString();
        EXPECT_TRUE((r.out + r.err).contains(s.said)) << r.out.toStdString() << r.err.toStdString();
    }
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT Check_State FROM EP_Calc_Check WHERE SapID = '10000001'")).toString(),
        QStringLiteral("C"));
    EXPECT_FALSE(t.scalar(QStringLiteral("SELECT pg_has_role(?, 'velmora_checker', 'MEMBER')"), {checker.name}).toBool());
    EXPECT_TRUE(t.scalar(QStringLiteral("SELECT pg_has_role(?, 'velmora_auditor', 'MEMBER')"), {checker.name}).toBool());
    // the server holds the password as SCRAM-SHA-256; a wrong one is refused by it
    EXPECT_TRUE(t.scalar(QStringLiteral("SELECT rolpassword FROM pg_authid WHERE rolname = ?"), {officer.name})
                    .toString()
                    .startsWith(QStringLiteral("SCRAM-SHA-256$")));
    const Result wrong = OnServer({officer.name, QStringLiteral("not-it-123")}, {QStringLiteral("user"), QStringLiteral("list")});
    EXPECT_EQ(wrong.exit, 1);
    EXPECT_TRUE(wrong.err.contains(QStringLiteral("รหัสผ่านไม่ถูกต้อง"))) << wrong.err.toStdString();
}

TEST_F(Server_Roles_Cli, UsersOfTheDatabaseGetLoginsWithoutPasswordUntilAResetAndTheirOwnChoice)
{
    EXPECT_TRUE(t.scalar(QStringLiteral("SELECT rolpassword IS NULL AND rolcanlogin FROM pg_authid WHERE rolname = ?"),
                     {earlier.name})
                    .toBool());
    EXPECT_TRUE(t.scalar(QStringLiteral("SELECT pg_has_role(?, 'velmora_officer', 'MEMBER')"), {earlier.name}).toBool());
    // the program's own password opens nothing on the server
    EXPECT_EQ(OnServer(earlier, {QStringLiteral("user"), QStringLiteral("list")}).exit, 1);
    const CliLogin given {earlier.name, QStringLiteral("given-pw-1")};
    const CliLogin chosen {earlier.name, QStringLiteral("chosen-pw1")};
    const Result reset = OnServer(admin, {QStringLiteral("user"), QStringLiteral("reset-password"), earlier.name},
        given.password.toUtf8() + '\n');
    ASSERT_EQ(reset.exit, 0) << reset.err.toStdString();
    const Result before = OnServer(given, {QStringLiteral("report"), QStringLiteral("received")});
    EXPECT_EQ(before.exit, 1);
    EXPECT_TRUE(before.err.contains(QStringLiteral("ต้องเปลี่ยนรหัสผ่าน"))) << before.err.toStdString();
    const Result changed = OnServer(given, {QStringLiteral("password")}, chosen.password.toUtf8() + '\n');
    ASSERT_EQ(changed.exit, 0) << changed.err.toStdString();
    EXPECT_EQ(OnServer(chosen, {QStringLiteral("report"), QStringLiteral("received")}).exit, 0);
    EXPECT_EQ(OnServer(given, {QStringLiteral("report"), QStringLiteral("received")}).exit, 1);
}

TEST_F(Server_Roles_Cli, ASecondSetupGivesTheSameGrantsPoliciesAndTriggers)
{
    const QString state = QStringLiteral(
        "SELECT string_agg(line, E'\\n' ORDER BY line) FROM ("
        " SELECT grantee || ' ' || table_name || ' ' || privilege_type AS line FROM information_schema.role_table_grants"
        "  WHERE table_schema = current_schema() AND grantee LIKE 'velmora\\_%'"
        " UNION ALL SELECT grantee || ' ' || table_name || '.' || column_name || ' ' || privilege_type"
        "  FROM information_schema.column_privileges"
        "  WHERE table_schema = current_schema() AND grantee LIKE 'velmora\\_%'"
        " UNION ALL SELECT policyname || ' ' || cmd || ' ' || array_to_string(roles, ',') FROM pg_policies"
        "  WHERE schemaname = current_schema()"
        " UNION ALL SELECT tgname || ' ' || tgrelid::regclass::text FROM pg_trigger t JOIN pg_class c ON c.oid = t.tgrelid"
        "  WHERE c.relnamespace = current_schema()::regnamespace AND NOT tgisinternal) x");
    const QString first = t.scalar(state).toString();
    EXPECT_TRUE(first.contains(QStringLiteral("velmora_checker ep_mrec_money_chodchoy.is_print_doc UPDATE")))
        << first.toStdString();
    EXPECT_FALSE(first.contains(QStringLiteral("velmora_officer ep_mrec_money_chodchoy.is_print_doc UPDATE")));
    EXPECT_FALSE(first.contains(QStringLiteral("velmora_auditor ep_emp_main INSERT")));
    ASSERT_EQ(setUpServer().exit, 0);
    EXPECT_EQ(t.scalar(state).toString(), first);
}

} // namespace
} // namespace velmora::test
