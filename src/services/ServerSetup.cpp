#include "services/ServerSetup.h"

#include "services/Accounts.h"

#include "db/Database.h"
#include "db/Schema.h"
#include "db/Statement.h"
#include "db/Users.h"

#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>
#include <map>
#include <set>

namespace velmora::server {

using rights::Action;
using rights::Role;

namespace {

// The tables an action writes, and how. A role is granted the writes of the
// actions rolesFor() lets it do; SELECT on every table goes to every role.
struct TableWrite
{
    const char* table;
    const char* privilege;
    QStringList columns; // empty: the whole table
};

// What a cancel writes: the saved calculation, its details and earlier
// payments, its checking row and the employee's status (and, with the
// history, the work history).
const std::vector<TableWrite> kCancelWrites = {
    {"EP_mRec_Money_Chodchoy", "DELETE", {}},
    {"EP_mRec_Money_Detail", "DELETE", {}},
    {"EP_mRep_Rec_Money", "DELETE", {}},
    {"EP_Calc_Check", "DELETE", {}},
    {"EP_Emp_Main", "UPDATE", {QStringLiteral("Emp_RecMChod_Status")}},
    {"EP_Work_Histry", "DELETE", {}},
};

const std::map<Action, std::vector<TableWrite>>& actionWrites()
{
    static const std::map<Action, std::vector<TableWrite>> writes = {
        {Action::ImportEmployees,
            {{"EP_Emp_Main", "INSERT", {}}, {"EP_Emp_Main", "UPDATE", {}}, {"EP_Reason_out", "INSERT", {}},
                {"EP_Reason_out", "UPDATE", {}}}},
        {Action::ImportHistory, {{"EP_Work_Histry", "INSERT", {}}, {"EP_Work_Histry", "UPDATE", {}}}},
        {Action::Calculate, {{"EP_Work_Histry", "INSERT", {}}, {"EP_Work_Histry", "DELETE", {}}}},
        // the waiting row of the checking table: which rows, the row policy says
        {Action::SaveCalculation,
            {{"EP_Emp_Main", "UPDATE", {QStringLiteral("Emp_RecMChod_Status")}},
                {"EP_mRec_Money_Chodchoy", "INSERT", {}}, {"EP_mRec_Money_Detail", "INSERT", {}},
                {"EP_mRep_Rec_Money", "INSERT", {}}, {"EP_Calc_Check", "INSERT", {}},
                {"EP_Calc_Check", "DELETE", {}}}},
        {Action::CancelUnchecked, kCancelWrites},
        {Action::CancelChecked, kCancelWrites},
        {Action::CheckCalculation,
            {{"EP_Calc_Check", "INSERT", {}},
                {"EP_Calc_Check", "UPDATE",
                    {QStringLiteral("Check_State"), QStringLiteral("Checked_By"), QStringLiteral("Checked_At")}}}},
        {Action::ReturnCalculation, kCancelWrites},
        {Action::PrintMemo, {{"EP_mRec_Money_Chodchoy", "UPDATE", {QStringLiteral("Is_Print_doc")}}}},
        {Action::OrganisationSettings, {{"EP_Setting", "INSERT", {}}, {"EP_Setting", "DELETE", {}}}},
        {Action::FourEyesSetting, {{"EP_Setting", "INSERT", {}}, {"EP_Setting", "DELETE", {}}}},
        {Action::ManageUsers,
            {{"EP_TR_User", "INSERT", {}}, {"EP_TR_User", "UPDATE", {}}, {"EP_User_Role", "INSERT", {}},
                {"EP_User_Role", "DELETE", {}}, {"EP_User_State", "INSERT", {}}, {"EP_User_State", "UPDATE", {}},
                {"EP_User_State", "DELETE", {}}}},
    };
    return writes;
}

bool mayDoAction(Role role, Action action)
{
    const QList<Role>& needed = rights::rolesFor(action);
    return needed.isEmpty() || needed.contains(role);
}

QStringList allTables()
{
    return db::originalTables() + db::addedTables();
}

QString groupList()
{
    QStringList names;
    for (Role r : rights::allRoles())
        names << groupRole(r);
    return names.join(QStringLiteral(", "));
}

// The statements below hold only the program's own names (tables, columns,
// group roles, functions); every name or password of a user reaches the
// server as a bound value, quoted there by format('%I' / '%L').

// The chain as AuditLog.cpp computes it: SHA-256 over the previous chain
// value, a line feed and each field as its UTF-8 byte length, a colon and
// its bytes (sequence number, time, user, origin, machine, kind, SAP ID,
// details). The time is LOCALTIMESTAMP(0) written "yyyy-MM-dd HH:mm:ss", as
// the client reads it back to verify.
const char* const kChainField = R"(CREATE OR REPLACE FUNCTION velmora_chain_field(p text) RETURNS text
LANGUAGE sql IMMUTABLE AS $$
  SELECT octet_length(convert_to(coalesce(p, ''), 'UTF8'))::text || ':' || coalesce(p, '')
$$)";

// The functions that run with the owner's rights (SECURITY DEFINER), each
// with the search path of the setup, so that a caller's own schema cannot
// put a table of the same name in their way: the name with its parameters
// and result, and the body.
struct DefinerFunction
{
    const char* head;
    const char* body;
};
const DefinerFunction kFunctions[] = {
    // The one writer of the trail; not granted to anyone: reached through
    // velmora_audit_append and the triggers. The head row is locked first, so
    // two sessions cannot fork the chain.
    {R"(velmora_chain_append(p_kind text, p_sapid text, p_details text,
  p_origin text, p_machine text) RETURNS bigint)",
        R"(DECLARE
  v_seq bigint;
  v_previous text;
  v_time timestamp := LOCALTIMESTAMP(0);
  v_user text := session_user::text;
  v_chain text;
BEGIN
  SELECT Seq_No, Chain_Value INTO v_seq, v_previous FROM EP_Audit_Head FOR UPDATE;
  IF NOT FOUND THEN
    RAISE EXCEPTION 'EP_Audit_Head has no row';
  END IF;
  v_seq := v_seq + 1;
  v_chain := encode(sha256(convert_to(coalesce(v_previous, '') || E'\n'
    || velmora_chain_field(v_seq::text) || velmora_chain_field(to_char(v_time, 'YYYY-MM-DD HH24:MI:SS'))
    || velmora_chain_field(v_user) || velmora_chain_field(p_origin) || velmora_chain_field(p_machine)
    || velmora_chain_field(p_kind) || velmora_chain_field(p_sapid) || velmora_chain_field(p_details), 'UTF8')), 'hex');
  INSERT INTO EP_Audit_Log (Seq_No, Event_Time, User_Name, Origin, Machine_Address, Event_Kind, SapID, Details,
    Chain_Value) VALUES (v_seq, v_time, v_user, p_origin, p_machine, p_kind, p_sapid, p_details, v_chain);
  UPDATE EP_Audit_Head SET Seq_No = v_seq, Chain_Value = v_chain;
  RETURN v_seq;
END
)"},
    // The program's event: the row, and the transaction's marker that the
    // triggers check at commit.
    {R"(velmora_audit_append(p_kind text, p_sapid text, p_details text,
  p_origin text, p_machine text) RETURNS bigint)",
        R"(DECLARE
  v_seq bigint;
BEGIN
  IF p_kind IS NULL OR p_kind = '' OR p_kind = 'direct-change' THEN
    RAISE EXCEPTION 'not an event of the program: %', p_kind;
  END IF;
  v_seq := velmora_chain_append(p_kind, p_sapid, p_details, p_origin, p_machine);
  PERFORM set_config('velmora.event', v_seq::text, true);
  RETURN v_seq;
END
)"},
    // Deferred to the commit: a money row changed in a transaction that wrote
    // no event of the program is logged as direct-change, with its old and new
    // values. The marker counts only when the row it names was written by this
    // very transaction (its xmin), so setting it by hand does not hide a change.
    // TG_ARGV: the key column (lower case), the table's name as the program
    // writes it.
    {R"(velmora_direct_change() RETURNS trigger)",
        R"(DECLARE
  v_event text := current_setting('velmora.event', true);
  v_old jsonb;
  v_new jsonb;
  v_key text;
BEGIN
  IF v_event ~ '^[0-9]{1,18}$' AND EXISTS (SELECT 1 FROM EP_Audit_Log
      WHERE Seq_No = v_event::bigint AND xmin::text = (txid_current() % 4294967296)::text) THEN
    RETURN NULL;
  END IF;
  IF TG_OP <> 'INSERT' THEN v_old := to_jsonb(OLD); END IF;
  IF TG_OP <> 'DELETE' THEN v_new := to_jsonb(NEW); END IF;
  v_key := coalesce(v_new, v_old) ->> TG_ARGV[0];
  PERFORM velmora_chain_append('direct-change', v_key,
    jsonb_build_object('table', TG_ARGV[1], 'operation', lower(TG_OP),
      'key', jsonb_build_object(TG_ARGV[0], v_key), 'old', v_old, 'new', v_new)::text,
    left(coalesce(nullif(current_setting('application_name', true), ''), 'server'), 30),
    left(coalesce(host(inet_client_addr()), 'local'), 60));
  RETURN NULL;
END
)"},
    // Logins: only an administrator of the program (or the owner) may change
    // them, and only logins of this program (members of its group roles); the
    // owner may take an existing plain role as a new login. Returns whether the
    // role exists (refuses a missing one when it must exist).
    {R"(velmora_login_target(p_name text, p_must_exist boolean) RETURNS boolean)",
        R"(DECLARE
  v_role pg_roles%ROWTYPE;
  v_owner boolean := session_user = current_user
    OR (SELECT rolsuper FROM pg_roles WHERE rolname = session_user);
BEGIN
  IF NOT v_owner AND NOT pg_has_role(session_user, 'velmora_administrator', 'MEMBER') THEN
    RAISE EXCEPTION 'only an administrator of the program changes its logins';
  END IF;
  IF p_name IS NULL OR p_name = '' OR octet_length(p_name) > 63 THEN
    RAISE EXCEPTION 'a login name is 1 to 63 bytes: %', p_name;
  END IF;
  SELECT * INTO v_role FROM pg_roles WHERE rolname = p_name;
  IF NOT FOUND AND p_must_exist THEN
    RAISE EXCEPTION 'no login named %', p_name;
  ELSIF NOT FOUND THEN
    RETURN false;
  END IF;
  IF v_role.rolsuper OR v_role.rolcreaterole OR v_role.rolcreatedb OR v_role.rolreplication OR v_role.rolbypassrls
      OR p_name = current_user OR p_name LIKE 'velmora\_%' THEN
    RAISE EXCEPTION 'role % is not a login of this program', p_name;
  END IF;
  IF NOT v_owner AND NOT EXISTS (SELECT 1 FROM pg_auth_members m JOIN pg_roles g ON g.oid = m.roleid
      WHERE m.member = v_role.oid AND g.rolname IN ('velmora_administrator', 'velmora_officer',
        'velmora_checker', 'velmora_auditor')) THEN
    RAISE EXCEPTION 'role % is not a login of this program', p_name;
  END IF;
  RETURN true;
END
)"},
    // The group roles of a login: exactly those of p_roles ("officer,checker").
    {R"(velmora_login_grant(p_name text, p_roles text) RETURNS void)",
        R"(DECLARE
  v_role text;
  v_wanted text[] := string_to_array(coalesce(p_roles, ''), ',');
BEGIN
  FOREACH v_role IN ARRAY ARRAY['administrator', 'officer', 'checker', 'auditor'] LOOP
    IF v_role = ANY (v_wanted) THEN
      EXECUTE format('GRANT %I TO %I', 'velmora_' || v_role, p_name);
    ELSIF EXISTS (SELECT 1 FROM pg_auth_members m JOIN pg_roles g ON g.oid = m.roleid
        JOIN pg_roles u ON u.oid = m.member WHERE g.rolname = 'velmora_' || v_role AND u.rolname = p_name) THEN
      EXECUTE format('REVOKE %I FROM %I', 'velmora_' || v_role, p_name);
    END IF;
  END LOOP;
END
)"},
    {R"(velmora_login_roles(p_name text, p_roles text) RETURNS void)",
        R"(BEGIN
  PERFORM velmora_login_target(p_name, true);
  PERFORM velmora_login_grant(p_name, p_roles);
END
)"},
    // The password is stored by the server as SCRAM-SHA-256, whatever the
    // server's default.
    {R"(velmora_login_password(p_name text, p_password text) RETURNS void)",
        R"(BEGIN
  PERFORM velmora_login_target(p_name, true);
  PERFORM set_config('password_encryption', 'scram-sha-256', true);
  EXECUTE format('ALTER ROLE %I PASSWORD %L', p_name, p_password);
END
)"},
    {R"(velmora_login_add(p_name text, p_password text, p_roles text) RETURNS void)",
        R"(BEGIN
  IF velmora_login_target(p_name, false) THEN
    EXECUTE format('ALTER ROLE %I LOGIN', p_name);
  ELSE
    EXECUTE format('CREATE ROLE %I LOGIN', p_name);
  END IF;
  PERFORM velmora_login_grant(p_name, p_roles);
  IF coalesce(p_password, '') <> '' THEN
    PERFORM velmora_login_password(p_name, p_password);
  END IF;
END
)"},
    {R"(velmora_login_enable(p_name text, p_enabled boolean) RETURNS void)",
        R"(BEGIN
  PERFORM velmora_login_target(p_name, true);
  EXECUTE format(CASE WHEN p_enabled THEN 'ALTER ROLE %I LOGIN' ELSE 'ALTER ROLE %I NOLOGIN' END, p_name);
END
)"},
    // A user's own new password: the server login's, the program's hash of it,
    // and the end of a reset's demand, for session_user only.
    {R"(velmora_own_password(p_password text, p_hash text) RETURNS void)",
        R"(BEGIN
  IF coalesce(p_password, '') = '' THEN
    RAISE EXCEPTION 'an empty password';
  END IF;
  PERFORM set_config('password_encryption', 'scram-sha-256', true);
  EXECUTE format('ALTER ROLE %I PASSWORD %L', session_user, p_password);
  UPDATE EP_TR_User SET Upassword = p_hash WHERE UserName = session_user::text;
  UPDATE EP_User_State SET Must_Change_Password = 'N' WHERE UserName = session_user::text;
END
)"},
};

// Who may run which function (the others run only inside them).
const std::vector<std::pair<const char*, bool>> kCallable = {
    // signature, administrators only
    {"velmora_audit_append(text, text, text, text, text)", false},
    {"velmora_own_password(text, text)", false},
    {"velmora_login_add(text, text, text)", true},
    {"velmora_login_enable(text, boolean)", true},
    {"velmora_login_roles(text, text)", true},
    {"velmora_login_password(text, text)", true},
};
const char* const kInternal[] = {
    "velmora_chain_field(text)",
    "velmora_chain_append(text, text, text, text, text)",
    "velmora_direct_change()",
    "velmora_login_target(text, boolean)",
    "velmora_login_grant(text, text)",
};

// The money tables the triggers watch: table, key column (lower case, as the
// row's JSON names it), the events.
struct Watched
{
    const char* table;
    const char* key;
    const char* events;
    const char* trigger;
};
const Watched kWatched[] = {
    {"EP_mRec_Money_Chodchoy", "sapid", "INSERT OR UPDATE OR DELETE", "velmora_direct_change"},
    {"EP_mRec_Money_Detail", "sapid", "INSERT OR UPDATE OR DELETE", "velmora_direct_change"},
    {"EP_mRep_Rec_Money", "main_sapid", "INSERT OR UPDATE OR DELETE", "velmora_direct_change"},
    {"EP_Calc_Check", "sapid", "INSERT OR UPDATE OR DELETE", "velmora_direct_change"},
    {"EP_Emp_Main", "sapid", "INSERT OR DELETE", "velmora_direct_change"},
    // the employee's salary and status; an import's other columns are not money
    {"EP_Emp_Main", "sapid", "UPDATE OF Money_Rate, Emp_RecMChod_Status", "velmora_direct_change_pay"},
};

bool run(const db::Database& db, const QString& sql, QString* error)
{
    QSqlQuery q = db.query();
    if (q.exec(sql))
        return true;
    if (error)
        *error = QStringLiteral("server-setup: ") + sql.simplified().left(80) + QStringLiteral(": ")
            + db::driverError(q.lastError());
    return false;
}

QStringList setupStatements()
{
    QStringList out;
    // Roles are the cluster's: one setup at a time makes them.
    out << QStringLiteral("SET LOCAL client_min_messages = warning"); // no "does not exist, skipping"
    out << QStringLiteral("SELECT pg_advisory_xact_lock(7406871)");
    for (Role r : rights::allRoles())
        out << QStringLiteral("DO $$ BEGIN IF NOT EXISTS (SELECT 1 FROM pg_roles WHERE rolname = '%1') THEN "
                              "CREATE ROLE %1 NOLOGIN; END IF; END $$")
                   .arg(groupRole(r));
    out << QStringLiteral("DO $$ BEGIN EXECUTE format('GRANT USAGE ON SCHEMA %I TO ") + groupList()
            + QStringLiteral("', current_schema()); END $$");
    out << QLatin1String(kChainField);
    for (const DefinerFunction& f : kFunctions)
        out << QStringLiteral("CREATE OR REPLACE FUNCTION %1\nLANGUAGE plpgsql SECURITY DEFINER SET search_path FROM "
                              "CURRENT AS $$\n%2$$")
                   .arg(QLatin1String(f.head), QString::fromUtf8(f.body));
    for (const auto& [function, adminOnly] : kCallable) {
        out << QStringLiteral("REVOKE ALL ON FUNCTION %1 FROM PUBLIC").arg(QLatin1String(function));
        out << QStringLiteral("GRANT EXECUTE ON FUNCTION %1 TO %2")
                   .arg(QLatin1String(function),
                       adminOnly ? groupRole(Role::Administrator) : groupList());
    }
    for (const char* function : kInternal)
        out << QStringLiteral("REVOKE ALL ON FUNCTION %1 FROM PUBLIC").arg(QLatin1String(function));

    // Table privileges: everything taken away, then exactly the grants.
    for (const QString& table : allTables())
        out << QStringLiteral("REVOKE ALL ON %1 FROM PUBLIC, %2").arg(table, groupList());
    for (Role r : rights::allRoles()) {
        for (const Grant& g : grantsFor(r)) {
            const QString columns =
                g.columns.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(g.columns.join(QStringLiteral(", ")));
            out << QStringLiteral("GRANT %1%2 ON %3 TO %4").arg(g.privilege, columns, g.table, groupRole(r));
        }
    }

    // The checking table's rows: an officer writes only the waiting row of
    // their own save and removes only a row nobody checked; a checker any row.
    out << QStringLiteral("ALTER TABLE EP_Calc_Check ENABLE ROW LEVEL SECURITY");
    const char* const policies[] = {
        "velmora_read ON EP_Calc_Check FOR SELECT TO %ALL% USING (true)",
        "velmora_checker ON EP_Calc_Check FOR ALL TO velmora_checker USING (true) WITH CHECK (true)",
        "velmora_officer_save ON EP_Calc_Check FOR INSERT TO velmora_officer WITH CHECK (Check_State = 'W'"
        " AND Saved_By = session_user::text AND Checked_By IS NULL AND Checked_At IS NULL AND Reason IS NULL)",
        "velmora_officer_cancel ON EP_Calc_Check FOR DELETE TO velmora_officer USING (Check_State <> 'C')",
    };
    for (const char* policy : policies) {
        QString text = QString::fromLatin1(policy).replace(QStringLiteral("%ALL%"), groupList());
        out << QStringLiteral("DROP POLICY IF EXISTS %1 ON EP_Calc_Check").arg(text.section(QLatin1Char(' '), 0, 0));
        out << QStringLiteral("CREATE POLICY ") + text;
    }

    for (const Watched& w : kWatched) {
        out << QStringLiteral("DROP TRIGGER IF EXISTS %1 ON %2").arg(QLatin1String(w.trigger), QLatin1String(w.table));
        out << QStringLiteral("CREATE CONSTRAINT TRIGGER %1 AFTER %2 ON %3 DEFERRABLE INITIALLY DEFERRED "
                              "FOR EACH ROW EXECUTE FUNCTION velmora_direct_change('%4', '%3')")
                   .arg(QLatin1String(w.trigger), QLatin1String(w.events), QLatin1String(w.table),
                       QLatin1String(w.key));
    }
    return out;
}

bool call(const db::Database& db, const QString& sql, const QVariantList& values, QString* error)
{
    if (!db.serverRoles())
        return true;
    return db::prepareAndRun(db, sql, values, QStringLiteral("ผู้ใช้งานของเซิร์ฟเวอร์ฐานข้อมูล"), error);
}

} // namespace

QString groupRole(Role role)
{
    return QStringLiteral("velmora_") + rights::roleName(role);
}

std::vector<Grant> grantsFor(Role role)
{
    using Key = std::pair<QString, QString>; // table, privilege
    std::set<Key> wholeTable;
    std::map<Key, std::set<QString>> someColumns;
    for (const QString& table : allTables())
        wholeTable.insert({table, QStringLiteral("SELECT")});
    for (const auto& [action, writes] : actionWrites()) {
        if (!mayDoAction(role, action))
            continue;
        for (const TableWrite& w : writes) {
            const Key key {QLatin1String(w.table), QLatin1String(w.privilege)};
            if (w.columns.isEmpty())
                wholeTable.insert(key);
            else
                someColumns[key].insert(w.columns.begin(), w.columns.end());
        }
    }
    std::vector<Grant> out;
    out.reserve(wholeTable.size() + someColumns.size());
    for (const Key& key : wholeTable)
        out.push_back({key.first, key.second, {}});
    // a grant on the whole table takes in its columns
    for (const auto& [key, columns] : someColumns)
        if (!wholeTable.count(key))
            out.push_back({key.first, key.second, QStringList(columns.begin(), columns.end())});
    return out;
}

bool setUp(const db::Database& db, const QString& adminName, const QString& adminPassword, QString* error)
{
    if (db.backend() != db::Backend::Postgres) {
        if (error)
            *error = QStringLiteral("server-setup ใช้ได้กับฐานข้อมูล PostgreSQL เท่านั้น "
                                    "(SQLite: สิทธิ์ของแฟ้มฐานข้อมูลเป็นการป้องกัน)");
        return false;
    }
    std::vector<db::UserAccount> users;
    if (!db::listUserAccounts(db, &users, error))
        return false;
    if (users.empty()) {
        // a database nobody has used yet (just copied to the server): its first user
        if (!accounts::addFirstAccount(db, adminName, QString(), adminPassword, error)
            || !db::listUserAccounts(db, &users, error))
            return false;
    }
    const auto admin = std::find_if(users.begin(), users.end(), [&](const db::UserAccount& u) {
        return u.userName == adminName && u.roles.contains(rights::roleName(Role::Administrator));
    });
    if (admin == users.end()) {
        if (error)
            *error = QStringLiteral("ไม่พบผู้ดูแลระบบ (administrator) ชื่อ %1 ในฐานข้อมูลนี้: "
                                    "สร้างด้วย velmora-cli init --user %1 ก่อน")
                         .arg(adminName);
        return false;
    }
    db::Transaction tx(db);
    if (!tx.active()) {
        if (error)
            *error = tx.error();
        return false;
    }
    for (const QString& sql : setupStatements())
        if (!run(db, sql, error))
            return false;
    db.recheckServerRoles();
    for (const db::UserAccount& u : users) {
        const QString password = u.userName == adminName ? adminPassword : QString();
        if (!addLogin(db, u.userName, password, u.roles, error)
            || (!u.enabled && !setLoginEnabled(db, u.userName, false, error)))
            return false;
    }
    const bool done = tx.commit(error);
    db.recheckServerRoles();
    return done;
}

bool addLogin(const db::Database& db, const QString& userName, const QString& password, const QStringList& roles,
    QString* error)
{
    return call(db, QStringLiteral("SELECT velmora_login_add(?, ?, ?)"),
        {userName, password, roles.join(QLatin1Char(','))}, error);
}

bool setLoginEnabled(const db::Database& db, const QString& userName, bool enabled, QString* error)
{
    return call(db, QStringLiteral("SELECT velmora_login_enable(?, ?)"), {userName, enabled}, error);
}

bool setLoginRoles(const db::Database& db, const QString& userName, const QStringList& roles, QString* error)
{
    return call(
        db, QStringLiteral("SELECT velmora_login_roles(?, ?)"), {userName, roles.join(QLatin1Char(','))}, error);
}

bool setLoginPassword(const db::Database& db, const QString& userName, const QString& password, QString* error)
{
    return call(db, QStringLiteral("SELECT velmora_login_password(?, ?)"), {userName, password}, error);
}

} // namespace velmora::server
