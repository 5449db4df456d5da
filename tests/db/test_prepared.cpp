// A statement prepared once and run many times (the bulk paths' statement):
// it must store and read back exactly what the Qt driver stores and reads,
// and report failures as the driver's path does.

#include "db/Prepared.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QSqlQuery>

using namespace velmora;

namespace {

struct ValueCase
{
    const char* name;
    QVariant value;
};

// What a driver could be handed by the imports and the audit log.
std::vector<ValueCase> valueCases()
{
    return {
        {"thai text", QStringLiteral("นางสาว สมศรี  ใจดี")},
        {"empty text", QString(QLatin1String(""))},
        {"null text", QString()},
        {"no value", QVariant()},
        {"quotes and semicolon", QStringLiteral("O'Brien\"; DROP TABLE t; --")},
        {"text with NUL inside", QString(QStringLiteral("a")) + QChar(0) + QStringLiteral("b")},
        {"emoji (outside the basic plane)", QStringLiteral("เงิน 💰")},
        {"double", 15000.25},
        {"whole double", 15000.0},
        {"int", 42},
        {"long long", qint64(9007199254740993LL)},
        {"bool", true},
        {"date-time", QDateTime(QDate(2026, 12, 9), QTime(8, 30, 5, 120), Qt::UTC)},
        {"date", QDate(2569, 1, 31)},
        {"blob", QByteArray("\x00\xff\x10", 3)},
    };
}

} // namespace

// Each value stored once through a QSqlQuery and once through Prepared: the
// server keeps the same type and the same value, and both read back alike.
TEST(Prepared, StoresAndReadsAsTheDriverDoes)
{
    test::TestDatabase t(false);
    if (t.isPostgres())
        GTEST_SKIP() << "elsewhere the statement is the driver's own query";
    t.exec(QStringLiteral("CREATE TABLE v (k INTEGER, how TEXT, x)"));
    const auto cases = valueCases();
    db::Prepared insert;
    QString why;
    ASSERT_TRUE(insert.prepare(t.db(), QStringLiteral("INSERT INTO v (k, how, x) VALUES (?, ?, ?)"), &why))
        << why.toStdString();
    for (size_t i = 0; i < cases.size(); ++i) {
        QSqlQuery q = t->query();
        ASSERT_TRUE(q.prepare(QStringLiteral("INSERT INTO v (k, how, x) VALUES (?, ?, ?)")));
        q.addBindValue(int(i));
        q.addBindValue(QStringLiteral("qt"));
        q.addBindValue(cases[i].value);
        ASSERT_TRUE(q.exec()) << cases[i].name;
        insert.bindAll({int(i), QStringLiteral("prepared"), cases[i].value});
        ASSERT_TRUE(insert.exec(QStringLiteral("เพิ่ม"), &why)) << cases[i].name << ": " << why.toStdString();
        EXPECT_EQ(insert.rowsAffected(), 1);
    }
    db::Prepared read;
    ASSERT_TRUE(read.prepare(t.db(), QStringLiteral("SELECT typeof(x), x, hex(x) FROM v WHERE k = ? AND how = ?"), &why));
    for (size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].name);
        QSqlQuery q = t->query();
        ASSERT_TRUE(q.prepare(QStringLiteral("SELECT typeof(x), x, hex(x) FROM v WHERE k = ? AND how = 'qt'")));
        q.addBindValue(int(i));
        ASSERT_TRUE(q.exec() && q.next());
        read.bindAll({int(i), QStringLiteral("prepared")});
        ASSERT_TRUE(read.exec(QStringLiteral("อ่าน"), &why)) << why.toStdString();
        ASSERT_TRUE(read.next());
        EXPECT_EQ(read.value(0).toString(), q.value(0).toString()); // storage class
        EXPECT_EQ(read.value(2).toString(), q.value(2).toString()); // the bytes stored
        EXPECT_EQ(read.value(1).isNull(), q.value(1).isNull());
        EXPECT_EQ(read.value(1).typeId(), q.value(1).typeId());
        EXPECT_EQ(read.value(1), q.value(1));
        EXPECT_FALSE(read.next());
    }
}

// A search read only to its first row, then run again with other values: the
// statement starts afresh each time, and a transaction with it commits.
TEST(Prepared, RunsAgainAfterARunNotReadToTheEnd)
{
    test::TestDatabase t(false);
    t.exec(QStringLiteral("CREATE TABLE n (k INTEGER)"));
    for (int k = 1; k <= 5; ++k)
        t.exec(QStringLiteral("INSERT INTO n (k) VALUES (?)"), {k});
    db::Prepared q;
    QString why;
    ASSERT_TRUE(q.prepare(t.db(), QStringLiteral("SELECT k FROM n WHERE k >= ? ORDER BY k"), &why));
    db::Transaction tx(t.db());
    ASSERT_TRUE(tx.active()) << tx.error().toStdString();
    for (int from : {2, 4, 1, 6}) {
        q.bind(0, from);
        ASSERT_TRUE(q.exec(QStringLiteral("อ่าน"), &why));
        if (from > 5) {
            EXPECT_FALSE(q.next());
            continue;
        }
        ASSERT_TRUE(q.next());
        EXPECT_EQ(q.value(0).toInt(), from);
        // rebinding in the middle of the rows starts a new run
    }
    q.bind(0, 3);
    ASSERT_TRUE(q.exec(QStringLiteral("อ่าน"), &why));
    int rows = 0;
    while (q.next())
        ++rows;
    EXPECT_EQ(rows, 3);
    EXPECT_TRUE(q.failure().isEmpty());
    db::Prepared write;
    ASSERT_TRUE(write.prepare(t.db(), QStringLiteral("UPDATE n SET k = k + 10 WHERE k > ?"), &why));
    write.bind(0, 3);
    ASSERT_TRUE(write.exec(QStringLiteral("แก้"), &why));
    EXPECT_EQ(write.rowsAffected(), 2);
    ASSERT_TRUE(tx.commit(&why)) << why.toStdString();
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT SUM(k) FROM n")).toInt(), 1 + 2 + 3 + 14 + 15);
}

// Failures name the purpose and the server's reason, and the statement can
// be run again with good values afterwards.
TEST(Prepared, ReportsFailuresAndRecovers)
{
    test::TestDatabase t(false);
    t.exec(QStringLiteral("CREATE TABLE u (k TEXT PRIMARY KEY, n INTEGER NOT NULL)"));
    db::Prepared q;
    QString why;
    EXPECT_FALSE(q.prepare(t.db(), QStringLiteral("INSERT INTO no_such_table VALUES (?)"), &why));
    EXPECT_TRUE(why.contains(QLatin1String("no_such_table"))) << why.toStdString();
    ASSERT_TRUE(q.prepare(t.db(), QStringLiteral("INSERT INTO u (k, n) VALUES (?, ?)"), &why));
    q.bindAll({QStringLiteral("ก"), 1});
    ASSERT_TRUE(q.exec(QStringLiteral("เพิ่ม"), &why));
    q.bindAll({QStringLiteral("ก"), 2});
    EXPECT_FALSE(q.exec(QStringLiteral("เพิ่มซ้ำ"), &why));
    EXPECT_TRUE(why.startsWith(QStringLiteral("เพิ่มซ้ำ: "))) << why.toStdString();
    EXPECT_TRUE(why.contains(QLatin1String("UNIQUE"), Qt::CaseInsensitive) || why.contains(QLatin1String("unique")))
        << why.toStdString();
    q.bindAll({QStringLiteral("ข"), QVariant()});
    EXPECT_FALSE(q.exec(QStringLiteral("เพิ่ม"), &why));
    EXPECT_TRUE(why.contains(QLatin1String("null"), Qt::CaseInsensitive)) << why.toStdString();
    q.bindAll({QStringLiteral("ข"), 2});
    EXPECT_TRUE(q.exec(QStringLiteral("เพิ่ม"), &why)) << why.toStdString();
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT COUNT(*) FROM u")).toInt(), 2);
}

// A full disk reaches the officer as the full-disk advice, as through the driver.
TEST(Prepared, FullDiskGivesTheAdvice)
{
    test::TestDatabase t(false);
    if (t.isPostgres())
        GTEST_SKIP() << "the page cap is SQLite's";
    t.exec(QStringLiteral("CREATE TABLE f (x TEXT)"));
    const int pages = t.scalar(QStringLiteral("PRAGMA page_count")).toInt();
    QSqlQuery cap = t->query();
    ASSERT_TRUE(cap.exec(QStringLiteral("PRAGMA max_page_count = %1").arg(pages)));
    db::Prepared q;
    QString why;
    ASSERT_TRUE(q.prepare(t.db(), QStringLiteral("INSERT INTO f (x) VALUES (?)"), &why));
    bool failed = false;
    for (int i = 0; i < 200 && !failed; ++i) {
        q.bind(0, QString(2000, QLatin1Char('x')));
        failed = !q.exec(QStringLiteral("เพิ่ม"), &why);
    }
    ASSERT_TRUE(failed);
    EXPECT_TRUE(why.contains(QStringLiteral("พื้นที่ดิสก์ที่เก็บฐานข้อมูลเต็ม"))) << why.toStdString();
}

// The connection closed under a statement kept open (as when it is lost):
// the statement writes nothing more and says the connection is gone, and the
// connection is let go of in the end (the sanitizer run finds no leak).
TEST(Prepared, ConnectionClosedUnderTheStatement)
{
    test::TestDatabase t(false);
    if (t.isPostgres())
        GTEST_SKIP() << "the statement is the driver's own there";
    t.exec(QStringLiteral("CREATE TABLE c (k INTEGER)"));
    auto other = t.openAnother();
    db::Prepared q;
    QString why;
    ASSERT_TRUE(q.prepare(t.db(), QStringLiteral("INSERT INTO c (k) VALUES (?)"), &why));
    q.bind(0, 1);
    ASSERT_TRUE(q.exec(QStringLiteral("เพิ่ม"), &why));
    t->connection().close();
    for (int k : {2, 3}) {
        q.bind(0, k);
        EXPECT_FALSE(q.exec(QStringLiteral("เพิ่ม"), &why));
        EXPECT_TRUE(why.contains(db::lostConnectionMessage())) << why.toStdString();
    }
    QSqlQuery count = other->query();
    ASSERT_TRUE(count.exec(QStringLiteral("SELECT COUNT(*) FROM c")) && count.next());
    EXPECT_EQ(count.value(0).toInt(), 1);
}
