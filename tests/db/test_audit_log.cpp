// The audit log's chain: rows written in the change's transaction, and every
// kind of tampering named by its sequence number.

#include "db/AuditLog.h"
#include "db/Schema.h"
#include "support/AuditRewrite.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlQuery>

#include <atomic>
#include <thread>

using namespace velmora;
using velmora::test::TestDatabase;

namespace {

const audit::Actor kOfficer {QStringLiteral("สมศรี"), QStringLiteral("velmora"), QStringLiteral("10.0.0.7")};

void Write(TestDatabase& t, int n)
{
    for (int i = 1; i <= n; ++i) {
        db::Transaction tx(t.db());
        QString error;
        ASSERT_TRUE(audit::record(t.db(), QStringLiteral("calculation-saved"), QStringLiteral("1000000%1").arg(i),
            QJsonObject {{QStringLiteral("net"), QStringLiteral("%1,000.00").arg(i)}}, &error, &kOfficer))
            << error.toStdString();
        ASSERT_TRUE(tx.commit(&error)) << error.toStdString();
    }
}

audit::VerifyResult Verify(TestDatabase& t)
{
    return audit::verifyAuditLog(t.db());
}

} // namespace

TEST(Audit_Log, EmptyAndUntouchedLogsVerify)
{
    TestDatabase t;
    audit::VerifyResult r = Verify(t);
    EXPECT_TRUE(r.ok) << r.problem.toStdString();
    EXPECT_EQ(r.count, 0);
    Write(t, 5);
    r = Verify(t);
    EXPECT_TRUE(r.ok) << r.problem.toStdString();
    EXPECT_EQ(r.count, 5);
}

TEST(Audit_Log, RowHoldsTheActorTheKindAndTheDetailsAsJson)
{
    TestDatabase t;
    const QString awkward =
        QStringLiteral("นาย O'Brien \"ใจดี\" ") + QString(600, QChar(0x0E01)) + QStringLiteral("\\n");
    {
        db::Transaction tx(t.db());
        QString error;
        ASSERT_TRUE(audit::record(t.db(), QStringLiteral("import-employees"), QString(),
            QJsonObject {{QStringLiteral("file"), awkward}}, &error, &kOfficer));
        ASSERT_TRUE(tx.commit(&error));
    }
    std::vector<audit::Entry> rows;
    QString error;
    ASSERT_TRUE(audit::listEntries(t.db(), {}, false, &rows, &error)) << error.toStdString();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].seq, 1);
    EXPECT_EQ(rows[0].user, kOfficer.user);
    EXPECT_EQ(rows[0].origin, kOfficer.origin);
    EXPECT_EQ(rows[0].machine, kOfficer.machine);
    EXPECT_EQ(rows[0].kind, QStringLiteral("import-employees"));
    EXPECT_EQ(rows[0].time.size(), 19); // yyyy-MM-dd HH:mm:ss, the server's clock
    EXPECT_EQ(rows[0].chain.size(), 64);
    const QJsonObject back = QJsonDocument::fromJson(rows[0].details.toUtf8()).object();
    EXPECT_EQ(back.value(QStringLiteral("file")).toString(), awkward);
    EXPECT_TRUE(Verify(t).ok);
}

TEST(Audit_Log, RolledBackChangeLeavesNoRow)
{
    TestDatabase t;
    Write(t, 2);
    {
        db::Transaction tx(t.db());
        QString error;
        ASSERT_TRUE(audit::record(t.db(), QStringLiteral("login"), QString(), {}, &error, &kOfficer));
        // no commit: the scope rolls back
    }
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT COUNT(*) FROM EP_Audit_Log")).toInt(), 2);
    Write(t, 1); // the next row takes number 3, not 4
    const audit::VerifyResult r = Verify(t);
    EXPECT_TRUE(r.ok) << r.problem.toStdString();
    EXPECT_EQ(r.count, 3);
}

TEST(Audit_Log, RecordAroundKeepsTheRowOnlyWithTheChange)
{
    TestDatabase t;
    QString error;
    EXPECT_FALSE(audit::recordAround(
        t.db(), QStringLiteral("settings-changed"), QString(), {},
        [](QString* why) {
            *why = QStringLiteral("disk full");
            return false;
        },
        &error, &kOfficer));
    EXPECT_EQ(error, QStringLiteral("disk full"));
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT COUNT(*) FROM EP_Audit_Log")).toInt(), 0);

    // Without the table the change is never made.
    t.exec(QStringLiteral("DROP TABLE EP_Audit_Log"));
    bool ran = false;
    EXPECT_FALSE(audit::recordAround(
        t.db(), QStringLiteral("settings-changed"), QString(), {},
        [&](QString*) {
            ran = true;
            return true;
        },
        &error, &kOfficer));
    EXPECT_FALSE(ran);
    EXPECT_TRUE(error.startsWith(QStringLiteral("บันทึกประวัติการใช้งาน"))) << error.toStdString();
}

struct Tamper_Case
{
    const char* name;
    std::vector<const char*> statements; // on a log of rows 1..5
    qint64 bad_seq;
};

class Audit_Tamper : public testing::TestWithParam<Tamper_Case>
{
};

TEST_P(Audit_Tamper, VerifyNamesTheFirstBrokenRow)
{
    TestDatabase t;
    Write(t, 5);
    for (const char* sql : GetParam().statements)
        t.exec(QString::fromUtf8(sql));
    const audit::VerifyResult r = Verify(t);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.badSeq, GetParam().bad_seq) << r.problem.toStdString();
    EXPECT_TRUE(r.problem.contains(QStringLiteral("ลำดับที่ %1").arg(GetParam().bad_seq))) << r.problem.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Tampering, Audit_Tamper,
    testing::Values(Tamper_Case {"FigureChanged",
                        {"UPDATE EP_Audit_Log SET Details = '{\"net\":\"9,000.00\"}' WHERE Seq_No = 3"}, 3},
        Tamper_Case {"UserChanged", {"UPDATE EP_Audit_Log SET User_Name = 'someone' WHERE Seq_No = 4"}, 4},
        Tamper_Case {"MiddleRowDeleted", {"DELETE FROM EP_Audit_Log WHERE Seq_No = 2"}, 2},
        Tamper_Case {"LastRowDeleted", {"DELETE FROM EP_Audit_Log WHERE Seq_No = 5"}, 5},
        Tamper_Case {"LastRowDeletedAndHeadRewound",
            {"DELETE FROM EP_Audit_Log WHERE Seq_No = 5", "UPDATE EP_Audit_Head SET Seq_No = 4"}, 5},
        Tamper_Case {"TwoRowsSwapped",
            {"UPDATE EP_Audit_Log SET Seq_No = -1 WHERE Seq_No = 2",
                "UPDATE EP_Audit_Log SET Seq_No = 2 WHERE Seq_No = 4",
                "UPDATE EP_Audit_Log SET Seq_No = 4 WHERE Seq_No = -1"},
            2},
        Tamper_Case {"ForgedRowAppended",
            {"INSERT INTO EP_Audit_Log (Seq_No, Event_Time, User_Name, Origin, Machine_Address, Event_Kind, SapID,"
             " Details, Chain_Value) SELECT 6, Event_Time, User_Name, Origin, Machine_Address, Event_Kind, SapID,"
             " Details, Chain_Value FROM EP_Audit_Log WHERE Seq_No = 5"},
            6},
        Tamper_Case {"ForgedRowInsertedBeforeTheOthers",
            {"UPDATE EP_Audit_Log SET Seq_No = Seq_No + 10",
                "INSERT INTO EP_Audit_Log (Seq_No, Event_Time, User_Name, Origin, Machine_Address, Event_Kind, SapID,"
                " Details, Chain_Value) SELECT 1, Event_Time, User_Name, Origin, Machine_Address, Event_Kind, SapID,"
                " '{}', Chain_Value FROM EP_Audit_Log WHERE Seq_No = 11"},
            1},
        Tamper_Case {"ForgedRowBelowOne",
            {"INSERT INTO EP_Audit_Log (Seq_No, Event_Time, User_Name, Origin, Machine_Address, Event_Kind, SapID,"
             " Details, Chain_Value) SELECT -7, Event_Time, User_Name, Origin, Machine_Address, Event_Kind, SapID,"
             " Details, Chain_Value FROM EP_Audit_Log WHERE Seq_No = 1"},
            -7}),
    [](const testing::TestParamInfo<Tamper_Case>& info) { return std::string(info.param.name); });

// A document printed after row 3 of 5 carries 3 and the first digits of its
// chain value. Only a history changed at or before row 3 stops matching it.
struct Printed_Case
{
    const char* name;
    qint64 rewrite_from; // the owner rewrites this row and recomputes every later value (0: none)
    std::vector<const char*> statements; // changes that leave the chain values as they are
    qint64 bad_seq; // 0: the paper still matches
};

class Audit_Printed : public testing::TestWithParam<Printed_Case>
{
};

TEST_P(Audit_Printed, MatchesOnlyWhileTheHistoryUpToItsRowStands)
{
    TestDatabase t;
    Write(t, 3);
    audit::PrintedValue paper;
    QString error;
    ASSERT_TRUE(audit::printedValueNow(t.db(), &paper, &error)) << error.toStdString();
    ASSERT_EQ(paper.seq, 3);
    ASSERT_EQ(paper.hex.size(), audit::kPrintedDigits);
    Write(t, 2);
    if (GetParam().rewrite_from > 0) {
        test::rewriteAuditTrail(t, GetParam().rewrite_from, QStringLiteral("someone"));
        EXPECT_TRUE(Verify(t).ok) << "the rewrite leaves a chain that verifies by itself";
    }
    for (const char* sql : GetParam().statements)
        t.exec(QString::fromUtf8(sql));
    const audit::VerifyResult r = audit::verifyPrintedValue(t.db(), paper);
    if (GetParam().bad_seq == 0) {
        EXPECT_TRUE(r.ok) << r.problem.toStdString();
        return;
    }
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.badSeq, GetParam().bad_seq) << r.problem.toStdString();
    EXPECT_TRUE(r.problem.startsWith(QStringLiteral("ลำดับที่ %1:").arg(GetParam().bad_seq))) << r.problem.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Printed, Audit_Printed,
    testing::Values(Printed_Case {"Untouched", 0, {}, 0},
        Printed_Case {"FirstRowRewritten", 1, {}, 3}, Printed_Case {"PrintedRowRewritten", 3, {}, 3},
        Printed_Case {"NextRowRewritten", 4, {}, 0}, Printed_Case {"LastRowRewritten", 5, {}, 0},
        Printed_Case {"EarlierRowChangedInPlace", 0, {"UPDATE EP_Audit_Log SET User_Name = 'x' WHERE Seq_No = 2"}, 2},
        Printed_Case {"LaterRowChangedInPlace", 0, {"UPDATE EP_Audit_Log SET User_Name = 'x' WHERE Seq_No = 5"}, 0},
        Printed_Case {"EarlierRowDeleted", 0, {"DELETE FROM EP_Audit_Log WHERE Seq_No = 2"}, 2},
        Printed_Case {"PrintedRowAndLaterDeletedHeadRewound", 0,
            {"DELETE FROM EP_Audit_Log WHERE Seq_No >= 3", "UPDATE EP_Audit_Head SET Seq_No = 2"}, 3}),
    [](const testing::TestParamInfo<Printed_Case>& info) { return std::string(info.param.name); });

TEST(Audit_Log, PrintedValueOfAnEmptyTrailIsRowZeroAndARowNotYetWrittenIsMissing)
{
    TestDatabase t;
    audit::PrintedValue now;
    QString error;
    ASSERT_TRUE(audit::printedValueNow(t.db(), &now, &error)) << error.toStdString();
    EXPECT_EQ(now.seq, 0);
    Write(t, 1);
    ASSERT_TRUE(audit::printedValueNow(t.db(), &now, &error));
    const QString chain = t.scalar(QStringLiteral("SELECT Chain_Value FROM EP_Audit_Log WHERE Seq_No = 1")).toString();
    EXPECT_EQ(audit::printedText(now), QStringLiteral("1:") + chain.left(16));
    // the whole value, as `audit list` shows it, checks as well
    EXPECT_TRUE(audit::verifyPrintedValue(t.db(), {1, chain}).ok);
    const audit::VerifyResult ahead = audit::verifyPrintedValue(t.db(), {2, chain.left(16)});
    EXPECT_FALSE(ahead.ok);
    EXPECT_EQ(ahead.badSeq, 2);
    QString wrong = chain.left(16);
    wrong[15] = wrong[15] == QLatin1Char('0') ? QLatin1Char('1') : QLatin1Char('0');
    const audit::VerifyResult differs = audit::verifyPrintedValue(t.db(), {1, wrong});
    EXPECT_FALSE(differs.ok);
    EXPECT_EQ(differs.badSeq, 1);
    EXPECT_TRUE(differs.problem.contains(wrong)) << differs.problem.toStdString();
}

struct Printed_Text_Case
{
    const char* text;
    qint64 seq; // 0: refused
    const char* hex;
};

class Audit_Printed_Text : public testing::TestWithParam<Printed_Text_Case>
{
};

TEST_P(Audit_Printed_Text, IsReadOrRefused)
{
    QString why;
    const std::optional<audit::PrintedValue> v = audit::parsePrintedValue(QString::fromUtf8(GetParam().text), &why);
    if (GetParam().seq == 0) {
        EXPECT_FALSE(v) << GetParam().text;
        EXPECT_FALSE(why.isEmpty());
        return;
    }
    ASSERT_TRUE(v) << GetParam().text << ": " << why.toStdString();
    EXPECT_EQ(v->seq, GetParam().seq);
    EXPECT_EQ(v->hex, QLatin1String(GetParam().hex));
}

INSTANTIATE_TEST_SUITE_P(Printed, Audit_Printed_Text,
    testing::Values(Printed_Text_Case {"12:0123456789abcdef", 12, "0123456789abcdef"},
        Printed_Text_Case {" 7:0123456789ABCDEF ", 7, "0123456789abcdef"},
        Printed_Text_Case {"1:0123456789abcdef0123456789abcdef0123456789abcdef0123456789abcdef", 1,
            "0123456789abcdef0123456789abcdef0123456789abcdef0123456789abcdef"},
        Printed_Text_Case {"", 0, ""}, Printed_Text_Case {"12", 0, ""},
        Printed_Text_Case {":0123456789abcdef", 0, ""}, Printed_Text_Case {"0:0123456789abcdef", 0, ""},
        Printed_Text_Case {"-3:0123456789abcdef", 0, ""}, Printed_Text_Case {"12:0123456789abcde", 0, ""},
        Printed_Text_Case {"12:0123456789abcdeg", 0, ""}, Printed_Text_Case {"12:0123456789abcdef:1", 0, ""},
        Printed_Text_Case {"12 0123456789abcdef", 0, ""},
        Printed_Text_Case {"1:0123456789abcdef0123456789abcdef0123456789abcdef0123456789abcdef0", 0, ""}));

TEST(Audit_Log, ChainValueCoversEveryField)
{
    audit::Entry e {7, QStringLiteral("2026-12-09 10:00:00"), QStringLiteral("u"), QStringLiteral("velmora-cli"),
        QStringLiteral("1.2.3.4"), QStringLiteral("login"), QStringLiteral("1"), QStringLiteral("{}"), {}};
    const QString base = audit::chainValue(QStringLiteral("ab"), e);
    EXPECT_NE(base, audit::chainValue(QStringLiteral("ac"), e));
    QString audit::Entry::*fields[] = {&audit::Entry::time, &audit::Entry::user, &audit::Entry::origin,
        &audit::Entry::machine, &audit::Entry::kind, &audit::Entry::sapid, &audit::Entry::details};
    for (auto f : fields) {
        audit::Entry changed = e;
        changed.*f += QLatin1Char('x');
        EXPECT_NE(audit::chainValue(QStringLiteral("ab"), changed), base);
    }
    audit::Entry renumbered = e;
    renumbered.seq = 8;
    EXPECT_NE(audit::chainValue(QStringLiteral("ab"), renumbered), base);
    // Text moved between two fields changes the content (lengths are part of it).
    audit::Entry moved = e;
    moved.user = QStringLiteral("uv");
    moved.origin = QStringLiteral("elmora-cli");
    EXPECT_NE(audit::canonicalContent(moved), audit::canonicalContent(e));
}

// The chain value is SHA-256 over the previous value, a line feed and the
// length-prefixed UTF-8 fields: rows written by any earlier build of the
// program must keep verifying, so the bytes are pinned here (computed apart
// with Python's hashlib over the same bytes).
TEST(Audit_Log, ChainValueOfAKnownRowIsPinned)
{
    const audit::Entry e {7, QStringLiteral("2026-12-09 10:00:00"), QStringLiteral("สมศรี"),
        QStringLiteral("velmora-cli"), QStringLiteral("10.0.0.7"), QStringLiteral("calculation-saved"),
        QStringLiteral("10000001"), QStringLiteral("{\"name\":\"นาย O'Brien \\\"ใจดี\\\"\",\"net\":\"120,000.00\"}"),
        {}};
    EXPECT_EQ(QString::fromUtf8(audit::canonicalContent(e)),
        QStringLiteral("1:719:2026-12-09 10:00:0015:สมศรี11:velmora-cli8:10.0.0.717:calculation-saved8:10000001"
                       "64:{\"name\":\"นาย O'Brien \\\"ใจดี\\\"\",\"net\":\"120,000.00\"}"));
    EXPECT_EQ(audit::chainValue(QString(), e),
        QStringLiteral("6ac196fac6022f4074270e4d8c72f8049b2382be71244efa41dc1cbf1e79f448"));
    EXPECT_EQ(audit::chainValue(QStringLiteral("5f0c"), e),
        QStringLiteral("f8d14d34ce2902f3fad1bb71f9852d5c2be7c1c7c0b2f4e623d09e2835fc7661"));
}

TEST(Audit_Log, OldDatabaseGetsTheTablesAtStartUp)
{
    TestDatabase t;
    t.exec(QStringLiteral("DROP TABLE EP_Audit_Log"));
    t.exec(QStringLiteral("DROP TABLE EP_Audit_Head"));
    QString error;
    bool created = false;
    ASSERT_TRUE(db::ensureSchema(t.db(), &error, &created)) << error.toStdString();
    EXPECT_FALSE(created); // the database was there: only the audit tables were added
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT Seq_No FROM EP_Audit_Head")).toInt(), 0);
    Write(t, 2);
    EXPECT_TRUE(Verify(t).ok);
}

// The row's statements are kept prepared on the connection: when the tables
// go, the next change fails (and is not made); once they are back the same
// connection writes again and a new chain starts that verifies.
TEST(Audit_Log, KeptStatementsFailWithoutTheTablesAndWorkOnceTheyAreBack)
{
    TestDatabase t;
    Write(t, 2);
    t.exec(QStringLiteral("DROP TABLE EP_Audit_Log"));
    t.exec(QStringLiteral("DROP TABLE EP_Audit_Head"));
    {
        db::Transaction tx(t.db());
        QString error;
        EXPECT_FALSE(audit::record(t.db(), QStringLiteral("login"), QString(), {}, &error, &kOfficer));
        EXPECT_TRUE(error.startsWith(QStringLiteral("บันทึกประวัติการใช้งาน"))) << error.toStdString();
    }
    QString error;
    ASSERT_TRUE(db::ensureSchema(t.db(), &error)) << error.toStdString();
    Write(t, 3);
    const audit::VerifyResult r = Verify(t);
    EXPECT_TRUE(r.ok) << r.problem.toStdString();
    EXPECT_EQ(r.count, 3);
}

TEST(Audit_Log, FilterByDayUserKindAndSapid)
{
    TestDatabase t;
    Write(t, 3);
    audit::Actor other = kOfficer;
    other.user = QStringLiteral("clerk");
    {
        db::Transaction tx(t.db());
        QString error;
        ASSERT_TRUE(audit::record(t.db(), QStringLiteral("login"), QString(), {}, &error, &other));
        ASSERT_TRUE(tx.commit());
    }
    const auto today = t->serverNow(nullptr)->date();
    struct Case
    {
        audit::Filter filter;
        std::vector<qint64> seqs;
    };
    audit::Filter byUser;
    byUser.user = QStringLiteral("clerk");
    audit::Filter byKind;
    byKind.kind = QStringLiteral("calculation-saved");
    audit::Filter bySapid;
    bySapid.sapid = QStringLiteral("10000002");
    audit::Filter yesterday;
    yesterday.to = today.addDays(-1);
    audit::Filter thisDay;
    thisDay.from = today;
    thisDay.to = today;
    for (const Case& c : {Case {byUser, {4}}, Case {byKind, {3, 2, 1}}, Case {bySapid, {2}}, Case {yesterday, {}},
             Case {thisDay, {4, 3, 2, 1}}}) {
        std::vector<audit::Entry> rows;
        QString error;
        ASSERT_TRUE(audit::listEntries(t.db(), c.filter, true, &rows, &error)) << error.toStdString();
        std::vector<qint64> seqs;
        for (const auto& e : rows)
            seqs.push_back(e.seq);
        EXPECT_EQ(seqs, c.seqs);
    }
}

// Each connection keeps its own prepared statements; none of them may carry a
// head read before another connection wrote: connections taking turns on one
// database continue one chain, and a connection closed takes its statements
// with it.
TEST(Audit_Log, ConnectionsTakingTurnsContinueOneChain)
{
    TestDatabase t;
    QString error;
    auto other = db::Database::open(t.url(), &error);
    ASSERT_TRUE(other) << error.toStdString();
    auto write = [&](const db::Database& db) {
        db::Transaction tx(db);
        ASSERT_TRUE(tx.active()) << tx.error().toStdString();
        ASSERT_TRUE(audit::record(db, QStringLiteral("login"), QString(), {}, &error, &kOfficer))
            << error.toStdString();
        ASSERT_TRUE(tx.commit(&error)) << error.toStdString();
    };
    for (int i = 0; i < 6; ++i)
        write(i % 3 == 1 ? *other : t.db());
    other.reset();
    auto third = db::Database::open(t.url(), &error);
    ASSERT_TRUE(third) << error.toStdString();
    write(*third);
    write(t.db());
    const audit::VerifyResult r = Verify(t);
    EXPECT_TRUE(r.ok) << r.problem.toStdString();
    EXPECT_EQ(r.count, 8);
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT Seq_No FROM EP_Audit_Head")).toInt(), 8);
}

// Two connections writing at once never fork the chain: the head row is locked
// by each writer until its transaction ends.
TEST(Audit_Log, TwoConnectionsWritingAtOnceKeepOneChain)
{
    TestDatabase t;
    if (!t.isPostgres())
        GTEST_SKIP() << "shared-server case (PostgreSQL)";
    const int perWriter = 200;
    std::atomic<int> failures {0};
    auto writer = [&](int id) {
        QString error;
        auto db = db::Database::open(t.url(), &error);
        if (!db) {
            ++failures;
            return;
        }
        for (int i = 0; i < perWriter; ++i) {
            db::Transaction tx(*db);
            QSqlQuery q = db->query();
            // the change itself: an employee of this writer
            q.prepare(QStringLiteral("INSERT INTO EP_Reason_out (SapID, Event_out) VALUES (?, ?)"));
            q.addBindValue(QStringLiteral("%1-%2").arg(id).arg(i));
            q.addBindValue(QStringLiteral("x"));
            if (!q.exec()
                || !audit::record(*db, QStringLiteral("calculation-saved"), QStringLiteral("%1-%2").arg(id).arg(i), {},
                    &error, &kOfficer)
                || !tx.commit(&error))
                ++failures;
        }
    };
    std::thread a(writer, 1), b(writer, 2);
    a.join();
    b.join();
    EXPECT_EQ(failures.load(), 0);
    const audit::VerifyResult r = Verify(t);
    EXPECT_TRUE(r.ok) << r.problem.toStdString();
    EXPECT_EQ(r.count, 2 * perWriter);
}
