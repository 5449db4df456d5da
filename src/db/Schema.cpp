#include "db/Schema.h"

#include "db/AuditLog.h"
#include "db/Statement.h"
#include "db/Users.h"

#include <QJsonArray>
#include <QJsonObject>

#include <QSqlError>
#include <QVariant>

#include <utility>
#include <vector>

namespace velmora::db {

namespace {

using Kind = ColumnKind;

struct Column
{
    const char* name;
    Kind kind;
    int length = 0; // texts only
    bool notNull = false; // keys
};

struct Table
{
    const char* name;
    std::vector<Column> columns;
    const char* primaryKey = nullptr;
    std::vector<std::pair<const char*, const char*>> indexes; // index name, column list
};

// Dates are texts "dd/mm/yyyy" (see each table's era), the claim month "mm/yyyy".
// The tables of the original installation: created only in an empty database.
const std::vector<Table>& tables()
{
    static const std::vector<Table> t = {
        {"EP_Emp_Main",
            {{"SapID", Kind::Text, 30, true}, {"SSN", Kind::Text, 30}, {"Surname", Kind::Text, 60},
                {"F_Name", Kind::Text, 120}, {"L_Name", Kind::Text, 120}, {"Emp_BirthDay", Kind::Text, 10},
                {"Work_Begin_Date", Kind::DateTime}, {"Work_Begin_Date_Text", Kind::Text, 10},
                {"Work_Type_Code", Kind::Text, 10}, {"Work_End_Date", Kind::DateTime},
                {"Work_End_Date_Text", Kind::Text, 10}, {"Depart_Code", Kind::Text, 30}, {"Money_Rate", Kind::Money},
                {"Emp_RecMChod_Status", Kind::Text, 1}},
            "SapID", {}},
        {"EP_Reason_out", {{"SapID", Kind::Text, 30, true}, {"Event_out", Kind::Text, 255}}, "SapID", {}},
        {"EP_TR_Event_Out", {{"Event_Out", Kind::Text, 255}}, nullptr, {}},
        {"EP_TR_Work_Type", {{"Work_Type_Code", Kind::Text, 10, true}, {"Work_Type", Kind::Text, 120}},
            "Work_Type_Code", {}},
        {"EP_TR_Depart", {{"Depart_Code", Kind::Text, 30, true}, {"Dapart_Name", Kind::Text, 200}}, "Depart_Code", {}},
        {"EP_TR_Cal_Money", {{"No_B_Y", Kind::Integer}, {"No_E_Y", Kind::Integer}, {"N_Money", Kind::Integer}}, nullptr,
            {}},
        {"EP_Work_Histry",
            {{"SapID", Kind::Text, 30}, {"SSN", Kind::Text, 30}, {"Work_Type_Code", Kind::Text, 10},
                {"Work_Type", Kind::Text, 120}, {"Work_B_Date", Kind::Text, 10}, {"Work_E_Date", Kind::Text, 10}},
            nullptr, {{"IX_EP_Work_Histry_SapID", "SapID, Work_Type_Code, Work_B_Date"}}},
        {"EP_mRec_Money_Chodchoy",
            {{"SapID", Kind::Text, 30, true}, {"SSN", Kind::Text, 30}, {"MMYYYY_Recieve", Kind::Text, 7},
                {"Date_Entry", Kind::Text, 10}, {"Date_Beg_Cal", Kind::Text, 10}, {"Date_End_Cal", Kind::Text, 10},
                {"Total_Day", Kind::Integer}, {"No_Year", Kind::Integer}, {"No_Month", Kind::Integer},
                {"No_Day", Kind::Integer}, {"Last_Salary", Kind::Money}, {"N_T", Kind::Integer},
                {"Emp_Surname", Kind::Text, 60}, {"Emp_F_Name", Kind::Text, 120}, {"Emp_L_Name", Kind::Text, 120},
                {"Fact_No_Date", Kind::Integer}, {"Fact_Per_Cent", Kind::Real}, {"Fact_Month_Weigth", Kind::Real},
                {"KV_No_Date", Kind::Integer}, {"KV_Per_Cent", Kind::Real}, {"Kv_Month_Weight", Kind::Real},
                {"His_Rec_Money", Kind::Money}, {"Net_Money_Recieve", Kind::Money}, {"Depart_Code", Kind::Text, 30},
                {"Depart_Name", Kind::Text, 200}, {"Rec_Status", Kind::Text, 2}, {"Event_Out", Kind::Text, 255},
                {"Is_Print_doc", Kind::Text, 1}},
            "SapID", {{"IX_EP_mRec_Money_Chodchoy_SSN", "SSN"}}},
        {"EP_mRec_Money_Detail",
            {{"SapID", Kind::Text, 30}, {"Work_Type_Code", Kind::Text, 10}, {"Date_B_cal", Kind::Text, 10},
                {"Date_E_Cal", Kind::Text, 10}, {"Sum_Day", Kind::Integer}, {"Sum_Month", Kind::Integer},
                {"Sum_Month_Weight", Kind::Real}},
            nullptr, {{"IX_EP_mRec_Money_Detail_SapID", "SapID"}}},
        {"EP_mRep_Rec_Money",
            {{"Main_SapID", Kind::Text, 30}, {"SapID", Kind::Text, 30}, {"N_Order", Kind::Integer},
                {"MMYYYY_Recieve", Kind::Text, 7}, {"Depart_Code", Kind::Text, 30}, {"Depart_Name", Kind::Text, 200},
                {"Date_Beg_Cal", Kind::Text, 10}, {"Date_End_Cal", Kind::Text, 10}, {"Total_Day", Kind::Integer},
                {"No_Year", Kind::Integer}, {"No_Month", Kind::Integer}, {"No_Day", Kind::Integer},
                {"N_T", Kind::Integer}, {"Last_Salary", Kind::Money}, {"His_Rec_Money", Kind::Money},
                {"Net_Money_Recieve", Kind::Money}},
            nullptr, {{"IX_EP_mRep_Rec_Money_Main", "Main_SapID"}}},
        {"EP_TR_User",
            {{"UserName", Kind::Text, 50, true},
                {"Upassword", Kind::Text, kPasswordColumnLength}, // a salted hash, or an old plain text
                {"F_Name", Kind::Text, 120}, {"L_Name", Kind::Text, 120}},
            "UserName", {}},
        {"EP_TR_Version", {{"Version_NO", Kind::Text, 10}}, nullptr, {}},
    };
    return t;
}

// The tables this program adds beyond the original ones: created with the
// others in a new database, and added to a version-8.0 database that lacks
// them. Append a new table here.
const std::vector<Table>& added()
{
    static const std::vector<Table> t = {
        // Added by this program: the audit log and its chain head (one row).
        {"EP_Audit_Log",
            {{"Seq_No", Kind::Integer, 0, true}, {"Event_Time", Kind::ClockTime}, {"User_Name", Kind::Text, 120},
                {"Origin", Kind::Text, 30}, {"Machine_Address", Kind::Text, 60}, {"Event_Kind", Kind::Text, 40},
                {"SapID", Kind::Text, 30}, {"Details", Kind::LongText}, {"Chain_Value", Kind::Text, 64}},
            "Seq_No", {{"IX_EP_Audit_Log_Time", "Event_Time"}, {"IX_EP_Audit_Log_SapID", "SapID"}}},
        {"EP_Audit_Head", {{"Seq_No", Kind::Integer}, {"Chain_Value", Kind::Text, 64}}, nullptr, {}},
        // Users beside EP_TR_User: the roles each holds, whether the account
        // is enabled and must choose a new password, and the wrong passwords
        // counted against a typed name.
        {"EP_User_Role", {{"UserName", Kind::Text, 50, true}, {"Role_Name", Kind::Text, 20, true}},
            "UserName, Role_Name", {}},
        {"EP_User_State",
            {{"UserName", Kind::Text, 50, true}, {"Is_Enabled", Kind::Text, 1},
                {"Must_Change_Password", Kind::Text, 1}},
            "UserName", {}},
        {"EP_Login_Failure", {{"UserName", Kind::Text, 120}, {"Failed_At", Kind::ClockTime}}, nullptr,
            {{"IX_EP_Login_Failure_Name", "UserName, Failed_At"}}},
        // The second pair of eyes: one row per saved calculation (W waiting,
        // C checked, R returned with its reason).
        {"EP_Calc_Check",
            {{"SapID", Kind::Text, 30, true}, {"Check_State", Kind::Text, 1}, {"Saved_By", Kind::Text, 50},
                {"Saved_At", Kind::ClockTime}, {"Checked_By", Kind::Text, 50}, {"Checked_At", Kind::ClockTime},
                {"Reason", Kind::Text, 255}},
            "SapID", {}},
        // Settings shared by every desktop of the office.
        {"EP_Setting", {{"Setting_Name", Kind::Text, 60, true}, {"Setting_Value", Kind::Text, 255}}, "Setting_Name",
            {}},
    };
    return t;
}

} // namespace

int textColumnLength(const char* table, const char* column)
{
    for (const auto* list : {&tables(), &added()})
        for (const Table& t : *list) {
            if (qstrcmp(t.name, table) != 0)
                continue;
            for (const Column& c : t.columns) {
                if (qstrcmp(c.name, column) == 0)
                    return c.kind == Kind::Text ? c.length : 0;
            }
        }
    return 0;
}

namespace {

QString columnType(const Dialect& d, const Column& c)
{
    switch (c.kind) {
    case Kind::Text:
        return d.textType(c.length);
    case Kind::Integer:
        return d.integerType();
    case Kind::Money:
        return d.moneyType();
    case Kind::Real:
        return d.realType();
    case Kind::DateTime:
    case Kind::ClockTime:
        return d.dateTimeType();
    case Kind::LongText:
        return d.longTextType();
    }
    return {};
}

QStringList statementsFor(const Dialect& d, const Table& t)
{
    QStringList cols;
    for (const Column& c : t.columns) {
        QString line = QStringLiteral("  %1 %2").arg(QLatin1String(c.name), columnType(d, c));
        if (c.notNull)
            line += QStringLiteral(" NOT NULL");
        cols << line;
    }
    if (t.primaryKey)
        cols << QStringLiteral("  CONSTRAINT PK_%1 PRIMARY KEY (%2)")
                    .arg(QLatin1String(t.name), QLatin1String(t.primaryKey));
    QStringList out;
    out << QStringLiteral("CREATE TABLE %1 (\n%2\n)").arg(QLatin1String(t.name), cols.join(QStringLiteral(",\n")));
    for (const auto& [index, columns] : t.indexes)
        out << QStringLiteral("CREATE INDEX %1 ON %2 (%3)")
                   .arg(QLatin1String(index), QLatin1String(t.name), QLatin1String(columns));
    return out;
}

bool run(const Database& db, const QString& sql, const QVariantList& values, QString* error)
{
    QSqlQuery q = db.query();
    if (values.isEmpty()) { // DDL cannot be prepared on every server
        if (q.exec(sql))
            return true;
        if (error)
            *error = sql.section(QLatin1Char('\n'), 0, 0) + QStringLiteral(": ") + q.lastError().text();
        return false;
    }
    return prepareAndRun(db, q, sql, values, sql.section(QLatin1Char('\n'), 0, 0), error);
}

// Users already in a database that had no roles yet get every role, so that
// nothing stops working; written to the audit trail once, with the table.
bool upgradeUsers(const Database& db, QString* error)
{
    QSqlQuery q = db.query();
    if (!prepareAndRun(db, q, QStringLiteral("SELECT UserName FROM EP_TR_User ORDER BY UserName"), {},
            QStringLiteral("reading the users"), error))
        return false;
    QStringList users;
    while (q.next())
        users << q.value(0).toString();
    if (users.isEmpty())
        return true;
    for (const QString& user : users)
        for (const QString& role : allRoleNames())
            if (!run(db, QStringLiteral("INSERT INTO EP_User_Role (UserName, Role_Name) VALUES (?, ?)"), {user, role},
                    error))
                return false;
    return audit::record(db, QLatin1String(audit::kind::kUsersUpgraded), QString(),
        QJsonObject {{QStringLiteral("users"), QJsonArray::fromStringList(users)},
            {QStringLiteral("roles"), QJsonArray::fromStringList(allRoleNames())}},
        error);
}

bool installData(const Database& db, const QString& table, QString* error)
{
    if (table == QLatin1String("EP_User_Role"))
        return upgradeUsers(db, error);
    if (table == QLatin1String("EP_TR_Version"))
        return run(db, QStringLiteral("INSERT INTO EP_TR_Version (Version_NO) VALUES (?)"),
            {QString::fromLatin1(kSchemaVersion)}, error);
    if (table == QLatin1String("EP_Audit_Head")) // no row written yet
        return run(db, QStringLiteral("INSERT INTO EP_Audit_Head (Seq_No, Chain_Value) VALUES (?, ?)"),
            {0, QStringLiteral("")}, error);
    if (table == QLatin1String("EP_TR_Cal_Money")) {
        // completed years from (inclusive), to (exclusive), months of salary due
        static const int brackets[][3] = {{1, 3, 3}, {3, 6, 6}, {6, 10, 8}, {10, 100, 10}};
        for (const auto& b : brackets) {
            if (!run(db, QStringLiteral("INSERT INTO EP_TR_Cal_Money (No_B_Y, No_E_Y, N_Money) VALUES (?, ?, ?)"),
                    {b[0], b[1], b[2]}, error))
                return false;
        }
        return true;
    }
    if (table == QLatin1String("EP_TR_Event_Out")) {
        for (const QString& reason : installReasons()) {
            if (!run(db, QStringLiteral("INSERT INTO EP_TR_Event_Out (Event_Out) VALUES (?)"), {reason}, error))
                return false;
        }
        return true;
    }
    return true;
}

} // namespace

QStringList schemaStatements(const Dialect& dialect)
{
    QStringList out;
    for (const auto* list : {&tables(), &added()})
        for (const Table& t : *list)
            out << statementsFor(dialect, t);
    return out;
}

std::vector<TableDescription> programTables()
{
    std::vector<TableDescription> out;
    for (const auto* list : {&tables(), &added()}) {
        for (const Table& t : *list) {
            TableDescription d {QLatin1String(t.name), {}};
            for (const Column& c : t.columns)
                d.columns.push_back({QLatin1String(c.name), c.kind});
            out.push_back(std::move(d));
        }
    }
    return out;
}

namespace {

// The table of the program named `name`, or null.
const Table* programTable(const QString& name)
{
    for (const auto* list : {&tables(), &added()}) {
        for (const Table& t : *list) {
            if (name == QLatin1String(t.name))
                return &t;
        }
    }
    return nullptr;
}

// The statements of one table: its CREATE TABLE (with the primary key) first,
// then one CREATE INDEX per index.
bool runTableStatements(const Database& db, const QString& table, bool create, bool indexes, QString* error)
{
    const Table* t = programTable(table);
    if (!t) {
        if (error)
            *error = QStringLiteral("no table of the program is named ") + table;
        return false;
    }
    const QStringList statements = statementsFor(db.dialect(), *t);
    for (qsizetype i = 0; i < statements.size(); ++i) {
        if ((i == 0 ? create : indexes) && !run(db, statements[i], {}, error))
            return false;
    }
    return true;
}

} // namespace

bool createProgramTable(const Database& db, const QString& table, bool withIndexes, QString* error)
{
    return runTableStatements(db, table, true, withIndexes, error);
}

bool createProgramIndexes(const Database& db, const QString& table, QString* error)
{
    return runTableStatements(db, table, false, true, error);
}

QStringList originalTables()
{
    QStringList names;
    for (const Table& t : tables())
        names << QLatin1String(t.name);
    return names;
}

QStringList addedTables()
{
    QStringList names;
    for (const Table& t : added())
        names << QLatin1String(t.name);
    return names;
}

QStringList installReasons()
{
    // The cases for which compensation is paid, as the calculation screen lists them.
    return {
        QStringLiteral("เกษียณอายุงาน"),
        QStringLiteral("ถูกสั่งให้ออก กรณีไม่ผ่านการประเมินผลการปฎิบัติงาน"),
        QStringLiteral("ถูกสั่งให้ออก กรณีไปรับราชการทหาร"),
        QStringLiteral("ครบกำหนดระยะเวลาการจ้างตามสัญญา"),
        QStringLiteral("ถูกสั่งให้ออก กรณีเจ็บป่วยจนไม่สามารถปฎิบัติงานของตนได้สม่ำเสมอ"),
        QStringLiteral("ถูกสั่งให้ออก กรณีขาดคุณสมบัติหรือมีลักษณะต้องห้ามการเป็นพนักงานมหาวิทยาลัย"),
        QStringLiteral("ถูกสั่งให้ออก กรณีถูกยุบเลิกตำแหน่งหรือยุบเลิกส่วนงานที่ปฎิบัติอยู่"),
        QStringLiteral("ถูกสั่งให้ออก กรณีถูกจำคุกโดยคำพิพากษาถึงที่สุดในความผิดที่ทำโดยประมาทหรือความผิดลหุโทษ"),
        QStringLiteral("ถูกสั่งให้ออก กรณีผิดวินัยร้ายแรงแต่ผลการสอบสวนไม่อาจลงโทษวินัยอย่างร้ายแรงได้"),
    };
}

namespace {

// Creates the tables with their installation data, in one transaction.
bool createTables(const Database& db, const std::vector<const Table*>& list, QString* error)
{
    Transaction tx(db);
    if (!tx.active()) {
        if (error)
            *error = tx.error();
        return false;
    }
    for (const Table* t : list) {
        for (const QString& sql : statementsFor(db.dialect(), *t)) {
            if (!run(db, sql, {}, error))
                return false;
        }
        if (!installData(db, QLatin1String(t->name), error))
            return false;
    }
    return tx.commit(error);
}

// An older installation's password column may be too narrow for a hash.
// Widening it is tried once here; when the server refuses, the login still
// works and says how to widen it (Users).
void widenPasswordColumn(const Database& db)
{
    const int length = passwordColumnLength(db);
    if (length <= 0 || length >= kPasswordHashLength)
        return;
    const QString sql =
        db.dialect().widenTextColumn(QStringLiteral("EP_TR_User"), QStringLiteral("Upassword"), kPasswordColumnLength);
    if (sql.isEmpty())
        return;
    Transaction tx(db);
    QString ignored;
    if (run(db, sql, {}, &ignored))
        tx.commit(&ignored);
}

} // namespace

bool ensureSchema(const Database& db, QString* error, bool* created)
{
    if (created)
        *created = false;
    QStringList missing;
    bool anyPresent = false;
    for (const Table& t : tables()) {
        // A check that fails (an unreadable file, a lost server) is reported
        // as such, never taken for a missing table.
        const std::optional<bool> present = db.findTable(QLatin1String(t.name), error);
        if (!present)
            return false;
        if (*present)
            anyPresent = true;
        else
            missing << QLatin1String(t.name);
    }
    std::vector<const Table*> missingAdded;
    for (const Table& t : added()) {
        const std::optional<bool> present = db.findTable(QLatin1String(t.name), error);
        if (!present)
            return false;
        if (*present)
            anyPresent = true;
        else
            missingAdded.push_back(&t);
    }

    if (!anyPresent) {
        std::vector<const Table*> all;
        for (const Table& t : tables())
            all.push_back(&t);
        all.insert(all.end(), missingAdded.begin(), missingAdded.end());
        if (!createTables(db, all, error))
            return false;
        if (created)
            *created = true;
        return true;
    }
    if (!missing.isEmpty()) {
        if (error)
            *error = QStringLiteral("ฐานข้อมูลนี้ไม่ครบ ขาดตาราง %1 "
                                    "โปรแกรมไม่สร้างตารางให้ในฐานข้อมูลที่มีข้อมูลอยู่แล้ว "
                                    "กรุณาตรวจสอบว่าเลือกฐานข้อมูลถูกต้อง หรือกู้คืนตารางเหล่านี้จากสำเนาสำรอง")
                         .arg(missing.join(QStringLiteral(", ")));
        return false;
    }
    QString version;
    QString ignored;
    if (!readVersion(db, &version, &ignored) || version != QLatin1String(kSchemaVersion))
        return true; // the version check refuses it
    if (!missingAdded.empty() && !createTables(db, missingAdded, error))
        return false;
    widenPasswordColumn(db);
    return true;
}

bool readVersion(const Database& db, QString* version, QString* error)
{
    QSqlQuery q = db.query();
    if (!q.exec(QStringLiteral("SELECT Version_NO FROM EP_TR_Version"))) {
        if (error)
            *error = q.lastError().text();
        return false;
    }
    *version = q.next() ? q.value(0).toString() : QString();
    return true;
}

bool checkVersion(const Database& db, QString* message)
{
    QString version;
    QString error;
    if (!readVersion(db, &version, &error)) {
        if (message)
            *message = error;
        return false;
    }
    if (version == QLatin1String(kSchemaVersion))
        return true;
    if (message)
        *message =
            QStringLiteral("Invalid Version ") + QLatin1Char('\r') + QStringLiteral("Pressent Version Is : ") + version;
    return false;
}

int passwordColumnLength(const Database& db)
{
    QSqlQuery q = db.query();
    if (!q.prepare(db.dialect().textLengthQuery()))
        return 0;
    q.addBindValue(QStringLiteral("EP_TR_User"));
    q.addBindValue(QStringLiteral("Upassword"));
    if (!q.exec() || !q.next() || q.value(0).isNull())
        return 0;
    return q.value(0).toInt();
}

} // namespace velmora::db
