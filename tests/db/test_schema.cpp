#include "db/DemoData.h"
#include "db/Schema.h"
#include "db/Users.h"
#include "rules/FieldLimits.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

#include <QSqlError>
#include <QHash>
#include <QRegularExpression>
#include <QSqlQuery>

using namespace velmora;

namespace {
const QStringList kTables = {
    QStringLiteral("EP_Emp_Main"),
    QStringLiteral("EP_Reason_out"),
    QStringLiteral("EP_TR_Event_Out"),
    QStringLiteral("EP_TR_Work_Type"),
    QStringLiteral("EP_TR_Depart"),
    QStringLiteral("EP_TR_Cal_Money"),
    QStringLiteral("EP_Work_Histry"),
    QStringLiteral("EP_mRec_Money_Chodchoy"),
    QStringLiteral("EP_mRec_Money_Detail"),
    QStringLiteral("EP_mRep_Rec_Money"),
    QStringLiteral("EP_TR_User"),
    QStringLiteral("EP_TR_Version"),
};

int count(const test::TestDatabase& t, const QString& table)
{
    return t.scalar(QStringLiteral("SELECT COUNT(*) FROM ") + table).toInt();
}
} // namespace

TEST(Schema, SqlServerStatementsUseUnicodeTextAndDecimalMoney)
{
    const QStringList sql = db::schemaStatements(db::Dialect(db::Backend::SqlServer));
    int tables = 0;
    for (const QString& s : sql)
        tables += s.startsWith(QLatin1String("CREATE TABLE")) ? 1 : 0;
    EXPECT_EQ(tables, 19);
    const QString all = sql.join(QLatin1Char('\n'));
    for (const QString& t : kTables + db::addedTables())
        EXPECT_TRUE(all.contains(QStringLiteral("CREATE TABLE ") + t + QStringLiteral(" ("))) << t.toStdString();
    EXPECT_TRUE(all.contains(QStringLiteral("Dapart_Name NVARCHAR(200)")));
    EXPECT_TRUE(all.contains(QStringLiteral("Net_Money_Recieve NUMERIC(18,2)")));
    EXPECT_TRUE(all.contains(QStringLiteral("Work_End_Date DATETIME")));
    EXPECT_TRUE(all.contains(QStringLiteral("Fact_Month_Weigth FLOAT")));
    EXPECT_TRUE(all.contains(QStringLiteral("Details NVARCHAR(MAX)")));
    EXPECT_TRUE(all.contains(QStringLiteral("CONSTRAINT PK_EP_mRec_Money_Chodchoy PRIMARY KEY (SapID)")));
    EXPECT_FALSE(all.contains(QStringLiteral("TEXT "))); // no SQLite types leak
}

TEST(Schema, NewDatabaseHasEveryTableAndTheInstallationData)
{
    test::TestDatabase t(false);
    QString error;
    bool created = false;
    ASSERT_TRUE(db::ensureSchema(t.db(), &error, &created)) << error.toStdString();
    EXPECT_TRUE(created);
    for (const QString& table : kTables + db::addedTables())
        EXPECT_TRUE(t->hasTable(table)) << table.toStdString();

    QString version;
    ASSERT_TRUE(db::readVersion(t.db(), &version, &error));
    EXPECT_EQ(version, QStringLiteral("8.0"));

    QSqlQuery q = t->query();
    ASSERT_TRUE(q.exec(QStringLiteral("SELECT No_B_Y, No_E_Y, N_Money FROM EP_TR_Cal_Money ORDER BY No_B_Y")));
    QList<QList<int>> brackets;
    while (q.next())
        brackets.append({q.value(0).toInt(), q.value(1).toInt(), q.value(2).toInt()});
    EXPECT_EQ(brackets, (QList<QList<int>> {{1, 3, 3}, {3, 6, 6}, {6, 10, 8}, {10, 100, 10}}));

    ASSERT_TRUE(q.exec(QStringLiteral("SELECT Event_Out FROM EP_TR_Event_Out")));
    QStringList reasons;
    while (q.next())
        reasons << q.value(0).toString();
    EXPECT_TRUE(reasons.contains(QStringLiteral("ครบกำหนดระยะเวลาการจ้างตามสัญญา")));
    EXPECT_TRUE(reasons.contains(QStringLiteral("เกษียณอายุงาน")));
    EXPECT_EQ(count(t, QStringLiteral("EP_TR_User")), 0); // no default password
}

TEST(Schema, SecondRunChangesNothing)
{
    test::TestDatabase t;
    QString error;
    bool created = true;
    ASSERT_TRUE(db::ensureSchema(t.db(), &error, &created)) << error.toStdString();
    EXPECT_FALSE(created);
    EXPECT_EQ(count(t, QStringLiteral("EP_TR_Version")), 1);
    EXPECT_EQ(count(t, QStringLiteral("EP_TR_Cal_Money")), 4);
}

TEST(Schema, ExistingDatabaseIsUsedAsItIs)
{
    test::TestDatabase t;
    t.exec(QStringLiteral("UPDATE EP_TR_Version SET Version_NO = ?"), {QStringLiteral("7.5")});
    QString error;
    ASSERT_TRUE(db::ensureSchema(t.db(), &error)) << error.toStdString();
    QString version;
    ASSERT_TRUE(db::readVersion(t.db(), &version, &error));
    EXPECT_EQ(version, QStringLiteral("7.5"));
}

TEST(Schema, EmptyVersionTableReadsAsEmptyText)
{
    test::TestDatabase t;
    t.exec(QStringLiteral("DELETE FROM EP_TR_Version"));
    QString version = QStringLiteral("x");
    QString error;
    ASSERT_TRUE(db::readVersion(t.db(), &version, &error));
    EXPECT_TRUE(version.isEmpty());
}

// DDL: PostgreSQL cannot prepare it.
void ddl(test::TestDatabase& t, const QString& sql)
{
    QSqlQuery q = t->query();
    ASSERT_TRUE(q.exec(sql)) << sql.toStdString() << ": " << q.lastError().text().toStdString();
}

TEST(Schema, TheOriginalAndTheAddedTablesAreKnown)
{
    EXPECT_EQ(db::originalTables(), kTables);
    EXPECT_EQ(db::addedTables(),
        (QStringList {QStringLiteral("EP_Audit_Log"), QStringLiteral("EP_Audit_Head"), QStringLiteral("EP_User_Role"),
            QStringLiteral("EP_User_State"), QStringLiteral("EP_Login_Failure"), QStringLiteral("EP_Calc_Check"),
            QStringLiteral("EP_Setting")}));
}

TEST(Schema, APartlyBuiltDatabaseIsRefusedAndNothingIsCreatedInIt)
{
    // Before, each missing table was created: a missing bracket table was
    // filled with the installation brackets, a missing version table with
    // a fresh "8.0" that passed the version check.
    for (const QStringList& dropped :
        {QStringList {QStringLiteral("EP_TR_Cal_Money")}, QStringList {QStringLiteral("EP_TR_Version")},
            QStringList {QStringLiteral("EP_TR_Version"), QStringLiteral("EP_Work_Histry")}}) {
        test::TestDatabase t;
        for (const QString& table : dropped)
            ddl(t, QStringLiteral("DROP TABLE ") + table);
        QString error;
        bool created = true;
        EXPECT_FALSE(db::ensureSchema(t.db(), &error, &created)) << dropped.join(' ').toStdString();
        EXPECT_FALSE(created);
        for (const QString& table : dropped) {
            EXPECT_TRUE(error.contains(table)) << error.toStdString();
            EXPECT_FALSE(t->hasTable(table)) << table.toStdString();
        }
        EXPECT_TRUE(error.contains(QStringLiteral("ขาดตาราง"))) << error.toStdString();
    }
}

TEST(Schema, AnotherVersionIsLeftAsItIsAndFailsTheVersionCheck)
{
    test::TestDatabase t;
    QString message;
    EXPECT_TRUE(db::checkVersion(t.db(), &message));
    t.exec(QStringLiteral("UPDATE EP_TR_Version SET Version_NO = ?"), {QStringLiteral("7.0")});
    QString error;
    ASSERT_TRUE(db::ensureSchema(t.db(), &error)) << error.toStdString();
    EXPECT_FALSE(db::checkVersion(t.db(), &message));
    EXPECT_EQ(message, QStringLiteral("Invalid Version \rPressent Version Is : 7.0"));
    t.exec(QStringLiteral("DELETE FROM EP_TR_Version"));
    EXPECT_FALSE(db::checkVersion(t.db(), &message));
    EXPECT_EQ(message, QStringLiteral("Invalid Version \rPressent Version Is : "));
}

TEST(Schema, ANarrowPasswordColumnIsWidenedOrTheLoginSaysHowToWidenIt)
{
    test::TestDatabase t;
    if (!t.isPostgres())
        GTEST_SKIP() << "SQLite keeps no column widths";
    // an older installation's 20-character column holding a plain-text password
    ddl(t, QStringLiteral("ALTER TABLE EP_TR_User ALTER COLUMN Upassword TYPE VARCHAR(20)"));
    t.exec(QStringLiteral("INSERT INTO EP_TR_User (UserName, Upassword) VALUES ('vok', 'Abc')"));
    EXPECT_EQ(db::passwordColumnLength(t.db()), 20);
    QString error;
    ASSERT_TRUE(db::ensureSchema(t.db(), &error)) << error.toStdString();
    EXPECT_EQ(db::passwordColumnLength(t.db()), db::kPasswordColumnLength);
    const db::LoginResult widened = db::checkLogin(t.db(), QStringLiteral("vok"), QStringLiteral("Abc"));
    EXPECT_EQ(widened.status, db::LoginResult::Ok);
    EXPECT_TRUE(widened.notice.isEmpty()) << widened.notice.toStdString();
    EXPECT_NE(t.scalar(QStringLiteral("SELECT Upassword FROM EP_TR_User")).toString(), QStringLiteral("Abc"));

    // a server that refuses to widen it (here: a view depends on the column)
    ddl(t, QStringLiteral("ALTER TABLE EP_TR_User ALTER COLUMN Upassword TYPE VARCHAR(20) USING LEFT(Upassword, 20)"));
    t.exec(QStringLiteral("UPDATE EP_TR_User SET Upassword = 'Abc'"));
    ddl(t, QStringLiteral("CREATE VIEW V_Users AS SELECT UserName, Upassword FROM EP_TR_User"));
    ASSERT_TRUE(db::ensureSchema(t.db(), &error)) << error.toStdString();
    EXPECT_EQ(db::passwordColumnLength(t.db()), 20);
    const db::LoginResult narrow = db::checkLogin(t.db(), QStringLiteral("vok"), QStringLiteral("Abc"));
    EXPECT_EQ(narrow.status, db::LoginResult::Ok); // the login keeps working
    EXPECT_TRUE(
        narrow.notice.contains(QStringLiteral("ALTER TABLE EP_TR_User ALTER COLUMN Upassword TYPE VARCHAR(200)")))
        << narrow.notice.toStdString();
    const db::PasswordChangeResult change = db::changePassword(
        t.db(), QStringLiteral("vok"), QStringLiteral("Abc"), QStringLiteral("new"), QStringLiteral("new"));
    EXPECT_EQ(change.status, db::PasswordChangeResult::Error);
    EXPECT_TRUE(change.error.contains(QStringLiteral("VARCHAR(200)"))) << change.error.toStdString();
    ddl(t, QStringLiteral("DROP VIEW V_Users"));
}

struct KeyCase
{
    const char* insert;
    int values;
};

class UniqueKey : public ::testing::TestWithParam<KeyCase>
{
};

TEST_P(UniqueKey, RefusesASecondRowWithTheSameKey)
{
    test::TestDatabase t;
    const KeyCase& c = GetParam();
    QVariantList values;
    for (int i = 0; i < c.values; ++i)
        values << QStringLiteral("K");
    t.exec(QString::fromLatin1(c.insert), values);
    QSqlQuery q = t->query();
    q.prepare(QString::fromLatin1(c.insert));
    for (const QVariant& v : values)
        q.addBindValue(v);
    EXPECT_FALSE(q.exec()) << c.insert;
}

INSTANTIATE_TEST_SUITE_P(Keys, UniqueKey,
    ::testing::Values(KeyCase {"INSERT INTO EP_Emp_Main (SapID, SSN) VALUES (?, ?)", 2},
        KeyCase {"INSERT INTO EP_mRec_Money_Chodchoy (SapID, SSN) VALUES (?, ?)", 2},
        KeyCase {"INSERT INTO EP_Reason_out (SapID, Event_out) VALUES (?, ?)", 2},
        KeyCase {"INSERT INTO EP_TR_Work_Type (Work_Type_Code, Work_Type) VALUES (?, ?)", 2},
        KeyCase {"INSERT INTO EP_TR_Depart (Depart_Code, Dapart_Name) VALUES (?, ?)", 2},
        KeyCase {"INSERT INTO EP_TR_User (UserName, Upassword) VALUES (?, ?)", 2}));

TEST(Schema, ThaiTextAndMoneyRoundTrip)
{
    test::TestDatabase t;
    t.exec(QStringLiteral("INSERT INTO EP_Emp_Main (SapID, F_Name, Money_Rate) VALUES (?, ?, ?)"),
        {QStringLiteral("O'Neil"), QStringLiteral("สมศักดิ์ ๑๒๓"), 19679.63});
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT F_Name FROM EP_Emp_Main WHERE SapID = ?"), {QStringLiteral("O'Neil")})
                  .toString(),
        QStringLiteral("สมศักดิ์ ๑๒๓"));
    EXPECT_DOUBLE_EQ(
        t.scalar(QStringLiteral("SELECT Money_Rate FROM EP_Emp_Main WHERE SapID = ?"), {QStringLiteral("O'Neil")})
            .toDouble(),
        19679.63);
}

TEST(DemoData, FillsEveryScreenAndIsIdempotent)
{
    test::TestDatabase t;
    const QDate today(2026, 12, 9);
    QString error;
    ASSERT_TRUE(db::addDemoData(t.db(), today, &error)) << error.toStdString();
    const int employees = count(t, QStringLiteral("EP_Emp_Main"));
    const int periods = count(t, QStringLiteral("EP_Work_Histry"));
    EXPECT_GE(employees, 10);
    EXPECT_GE(count(t, QStringLiteral("EP_TR_Depart")), 3);
    EXPECT_EQ(count(t, QStringLiteral("EP_TR_Work_Type")), 2);
    // contracts ending this month, status A
    EXPECT_GE(t.scalar(QStringLiteral("SELECT COUNT(*) FROM EP_Emp_Main WHERE Work_End_Date_Text LIKE ? "
                                      "AND Emp_RecMChod_Status = 'A'"),
                   {QStringLiteral("%/12/2026")})
                  .toInt(),
        4);
    // the worked example's periods, Buddhist era
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT Work_E_Date FROM EP_Work_Histry WHERE SapID = ? AND Work_Type_Code = ?"),
                   {QStringLiteral("10000001"), QStringLiteral("3")})
                  .toString(),
        QStringLiteral("30/09/2551"));
    EXPECT_EQ(db::checkLogin(t.db(), QLatin1String(db::kDemoUser), QLatin1String(db::kDemoPassword)).status,
        db::LoginResult::Ok);

    ASSERT_TRUE(db::addDemoData(t.db(), today, &error)) << error.toStdString();
    EXPECT_EQ(count(t, QStringLiteral("EP_Emp_Main")), employees);
    EXPECT_EQ(count(t, QStringLiteral("EP_Work_Histry")), periods);
    EXPECT_EQ(count(t, QStringLiteral("EP_TR_User")), 1);
}

// The limits the typed and imported values are checked against are the
// columns' own: read them back from the schema's statements.
TEST(Schema, FieldLimitsAreTheColumnsOwn)
{
    const QStringList statements = db::schemaStatements(db::Dialect(db::Backend::Postgres));
    QHash<QString, int> lengths; // "Table.Column" -> VARCHAR length
    QString numeric;
    static const QRegularExpression table(QStringLiteral("^CREATE TABLE (\\w+)"));
    static const QRegularExpression column(QStringLiteral("^\\s+(\\w+) VARCHAR\\((\\d+)\\)"));
    static const QRegularExpression money(QStringLiteral("Money_Rate (NUMERIC\\(\\d+,\\d+\\))"));
    for (const QString& s : statements) {
        const QString name = table.match(s).captured(1);
        for (const QString& line : s.split(QLatin1Char('\n'))) {
            const auto m = column.match(line);
            if (m.hasMatch())
                lengths.insert(name + QLatin1Char('.') + m.captured(1), m.captured(2).toInt());
        }
        if (money.match(s).hasMatch())
            numeric = money.match(s).captured(1);
    }
    EXPECT_EQ(lengths.value(QStringLiteral("EP_Emp_Main.SapID")), kSapID_Length);
    EXPECT_EQ(lengths.value(QStringLiteral("EP_Emp_Main.SSN")), kSSN_Length);
    EXPECT_EQ(lengths.value(QStringLiteral("EP_Emp_Main.Surname")), kPrefix_Length);
    EXPECT_EQ(lengths.value(QStringLiteral("EP_Emp_Main.F_Name")), kFirst_Name_Length);
    EXPECT_EQ(lengths.value(QStringLiteral("EP_Emp_Main.L_Name")), kLast_Name_Length);
    EXPECT_EQ(lengths.value(QStringLiteral("EP_Emp_Main.Depart_Code")), kDepart_Code_Length);
    EXPECT_EQ(lengths.value(QStringLiteral("EP_Emp_Main.Work_Type_Code")), kWork_Type_Code_Length);
    EXPECT_EQ(lengths.value(QStringLiteral("EP_mRec_Money_Chodchoy.Emp_Surname")), kPrefix_Length);
    EXPECT_EQ(lengths.value(QStringLiteral("EP_mRec_Money_Chodchoy.Depart_Name")), kDepart_Name_Length);
    EXPECT_EQ(lengths.value(QStringLiteral("EP_mRec_Money_Chodchoy.Event_Out")), kReason_Length);
    EXPECT_EQ(lengths.value(QStringLiteral("EP_TR_User.UserName")), db::kUserNameLength);
    EXPECT_EQ(lengths.value(QStringLiteral("EP_TR_User.F_Name")), db::kUserFirstNameLength);
    EXPECT_EQ(lengths.value(QStringLiteral("EP_TR_User.L_Name")), db::kUserLastNameLength);
    // NUMERIC(18,2): sixteen digits before the point.
    EXPECT_EQ(numeric, QStringLiteral("NUMERIC(18,2)"));
    EXPECT_EQ(kMoney_Limit, 1e16);
}
