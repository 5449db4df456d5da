// velmora-cli backup, restore and copy, and the automatic backups, run as a
// program on databases of their own with settings of their own.
//
// VELMORA_FAULT_SEED picks other moments for the killed restores;
// VELMORA_FAULT_ROUNDS more of them.

#include "db/Database.h"
#include "db/Schema.h"
#include "support/CliRunner.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <csignal>

using velmora::test::CliResult;
using velmora::test::TestDatabase;
namespace db = velmora::db;

namespace {

// Every row of every table of the program, in the order of all its columns.
QString dump(const QString& url)
{
    QString error;
    auto database = db::Database::open(url, &error);
    if (!database) {
        ADD_FAILURE() << "cannot open " << url.toStdString() << ": " << error.toStdString();
        return {};
    }
    QStringList tables;
    for (const db::TableDescription& table : db::programTables())
        tables << table.name;
    return velmora::test::dumpTables(*database, tables);
}

QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256) : QByteArray();
}

// The line "latest N CHAIN" of `audit verify`.
QString latestLine(const QString& out)
{
    for (const QString& line : out.split(QLatin1Char('\n')))
        if (line.startsWith(QLatin1String("latest ")))
            return line;
    return {};
}

// A database file of the program in a folder of its own, with settings of
// its own, filled by `init --demo` and a few saves and a cancel.
class Backup_Cli : public ::testing::Test
{
protected:
    void SetUp() override
    {
        env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("VELMORA_DB"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
        database = dir.filePath(QStringLiteral("office/velmora.sqlite"));
        backups = dir.filePath(QStringLiteral("office/backups"));
    }

    bool sqliteOnly() const { return qEnvironmentVariableIsEmpty("VELMORA_TEST_DB"); }

    void settings(const QByteArray& text) const
    {
        const QString folder = dir.filePath(QStringLiteral("config/Velmora"));
        QDir().mkpath(folder);
        QFile f(folder + QStringLiteral("/velmora.conf"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }

    CliResult cli(const QStringList& args, const QString& url = {}) const
    {
        // every command but the first init logs in as the demo login
        const QStringList db {QStringLiteral("--db"), url.isEmpty() ? database : url};
        const CliResult r = args.value(0) == QLatin1String("init")
            ? velmora::test::runCli(db + args, 120000, {}, env)
            : velmora::test::runCliAs(velmora::test::kDemoLogin, db + args, 120000, {}, env);
        EXPECT_NE(r.exitCode, -1) << r.err.toStdString();
        return r;
    }

    void fillDemo() const
    {
        const QString month = QDate::currentDate().toString(QStringLiteral("MM/yyyy"));
        for (const QStringList& args : {QStringList {"init", "--demo"}, QStringList {"calc", "10000001", "--month", month,
                                            "--save"},
                 QStringList {"calc", "10000002", "--month", month, "--save"}, QStringList {"cancel", "10000002"},
                 QStringList {"calc", "10000003", "--month", month, "--save"}}) {
            const CliResult r = cli(args);
            ASSERT_EQ(r.exitCode, 0) << args.join(' ').toStdString() << ": " << r.err.toStdString();
        }
    }

    // An employee workbook of `rows` generated employees.
    QString workbook(const QString& name, int rows) const
    {
        const QString folder = dir.filePath(name);
        QDir().mkpath(folder);
        QProcess p;
        p.start(QStringLiteral(VELMORA_WORKBOOK_GENERATOR), {folder, QString::number(rows), QStringLiteral("2")});
        EXPECT_TRUE(p.waitForFinished(120000) && p.exitCode() == 0) << p.readAllStandardError().toStdString();
        return folder + QStringLiteral("/employees.xlsx");
    }

    QStringList backupNames() const
    {
        return QDir(backups).entryList({QStringLiteral("velmora-*.sqlite")}, QDir::Files, QDir::Name);
    }

    QTemporaryDir dir;
    QProcessEnvironment env;
    QString database;
    QString backups;
};

TEST_F(Backup_Cli, RestoreOfADamagedFileIsRefusedAndChangesNothing)
{
    if (!sqliteOnly())
        GTEST_SKIP() << "a restore replaces an SQLite file: run in the SQLite pass";
    fillDemo();
    const QString good = dir.filePath(QStringLiteral("good.sqlite"));
    const CliResult made = cli({QStringLiteral("backup"), QStringLiteral("--to"), good});
    ASSERT_EQ(made.exitCode, 0) << made.err.toStdString();

    struct Damage
    {
        const char* name;
        std::function<void(const QString& path)> damage;
        const char* named; // in the refusal
    };
    auto statement = [](const char* sql) {
        return [sql](const QString& path) {
            QString error;
            auto file = db::Database::open(QStringLiteral("sqlite:") + path, &error);
            ASSERT_TRUE(file) << error.toStdString();
            QSqlQuery q = file->query();
            ASSERT_TRUE(q.exec(QString::fromLatin1(sql)));
            q.exec(QStringLiteral("PRAGMA journal_mode=DELETE"));
        };
    };
    const Damage damages[] = {
        {"a page overwritten",
            [](const QString& path) {
                QFile f(path);
                ASSERT_TRUE(f.open(QIODevice::ReadWrite));
                f.seek(f.size() / 2);
                f.write(QByteArray(4096, '\x55'));
            },
            "เสียหาย"},
        {"cut short",
            [](const QString& path) {
                QFile f(path);
                ASSERT_TRUE(f.open(QIODevice::ReadWrite));
                f.resize(f.size() / 3);
            },
            "เสียหาย"},
        {"not a database",
            [](const QString& path) {
                QFile f(path);
                ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
                f.write(QByteArray("SapID,F_Name\n10000001,สมชาย\n").repeated(200));
            },
            "เปิดเป็นฐานข้อมูลไม่ได้"},
        {"an audit row changed", statement("UPDATE EP_Audit_Log SET Details = '{}' WHERE Seq_No = 1"),
            "ประวัติการใช้งานไม่ครบถ้วน ลำดับที่ 1"},
        {"another version", statement("UPDATE EP_TR_Version SET Version_NO = '7.0'"), "รุ่น \"7.0\""},
        {"not this program's", statement("DROP TABLE EP_Audit_Head"), "ขาดตาราง EP_Audit_Head"},
    };
    const QString before = dump(database);
    const QByteArray bytes = bytesOf(database) + bytesOf(database + QStringLiteral("-wal"));
    const QStringList kept = backupNames();
    for (const Damage& d : damages) {
        SCOPED_TRACE(d.name);
        const QString bad = dir.filePath(QStringLiteral("bad.sqlite"));
        QFile::remove(bad);
        ASSERT_TRUE(QFile::copy(good, bad));
        d.damage(bad);
        const CliResult r = cli({QStringLiteral("restore"), bad});
        EXPECT_EQ(r.exitCode, 1) << r.out.toStdString();
        EXPECT_TRUE(r.err.startsWith(QStringLiteral("ไม่กู้คืนข้อมูล: "))) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(d.named))) << r.err.toStdString();
        EXPECT_EQ(bytesOf(database) + bytesOf(database + QStringLiteral("-wal")), bytes);
        EXPECT_EQ(backupNames(), kept) << "a refused restore kept a copy";
    }
    EXPECT_EQ(dump(database), before);
    // The good file restores.
    const CliResult restored = cli({QStringLiteral("restore"), good});
    EXPECT_EQ(restored.exitCode, 0) << restored.err.toStdString();
}

TEST_F(Backup_Cli, KilledRestoreLeavesAWholeDatabase)
{
    if (!sqliteOnly())
        GTEST_SKIP() << "a restore replaces an SQLite file: run in the SQLite pass";
    const quint32 seed = qEnvironmentVariableIsSet("VELMORA_FAULT_SEED")
        ? static_cast<quint32>(qEnvironmentVariableIntValue("VELMORA_FAULT_SEED"))
        : 23u;
    const int rounds =
        qEnvironmentVariableIsSet("VELMORA_FAULT_ROUNDS") ? qEnvironmentVariableIntValue("VELMORA_FAULT_ROUNDS") : 8;
    fillDemo();
    // Large enough that each step of the restore takes a while.
    const CliResult imported = cli({QStringLiteral("import-employees"), workbook(QStringLiteral("wb"), 8000)});
    ASSERT_EQ(imported.exitCode, 0) << imported.err.toStdString();
    const QString fresh = dir.filePath(QStringLiteral("new.sqlite"));
    ASSERT_EQ(cli({QStringLiteral("backup"), QStringLiteral("--to"), fresh}).exitCode, 0);
    const QString month = QDate::currentDate().toString(QStringLiteral("MM/yyyy"));
    ASSERT_EQ(cli({QStringLiteral("calc"), QStringLiteral("10000004"), QStringLiteral("--month"), month,
                  QStringLiteral("--save")})
                  .exitCode,
        0);
    // The database as it stands, kept as bytes to start every round from.
    const QString old = dir.filePath(QStringLiteral("old.sqlite"));
    ASSERT_EQ(cli({QStringLiteral("backup"), QStringLiteral("--to"), old}).exitCode, 0);
    const QString oldDump = dump(QStringLiteral("sqlite:") + old);
    const QString newDump = dump(QStringLiteral("sqlite:") + fresh);
    ASSERT_NE(oldDump, newDump);
    auto startFromOld = [&] {
        for (const QString& side : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")})
            QFile::remove(database + side);
        ASSERT_TRUE(QFile::copy(old, database));
    };

    // How long a whole restore takes, to spread the kills over it.
    startFromOld();
    QElapsedTimer clock;
    clock.start();
    ASSERT_EQ(cli({QStringLiteral("restore"), fresh}).exitCode, 0);
    const int whole = static_cast<int>(clock.elapsed());
    ASSERT_EQ(dump(database), newDump);

    QRandomGenerator random(seed);
    int killed = 0;
    int oldWhole = 0;
    int newWhole = 0;
    for (int round = 0; round < rounds; ++round) {
        startFromOld();
        // Any moment of the restore; every other round in its last fifth,
        // where the file is replaced, and just after its end.
        const int delay = round % 2 == 0 ? static_cast<int>(random.bounded(whole + 1))
                                         : whole * 4 / 5 + static_cast<int>(random.bounded(whole / 3 + 1));
        QProcess child;
        child.setProcessEnvironment(env);
        child.start(QStringLiteral(VELMORA_CLI), {QStringLiteral("--db"), database, QStringLiteral("--login"),
                                                     velmora::test::kDemoLogin.name, QStringLiteral("restore"), fresh});
        ASSERT_TRUE(child.waitForStarted());
        child.write((velmora::test::kDemoLogin.password + QLatin1Char('\n')).toUtf8());
        child.closeWriteChannel();
        if (!child.waitForFinished(delay)) {
            ::kill(static_cast<pid_t>(child.processId()), SIGKILL);
            ASSERT_TRUE(child.waitForFinished(60000));
        }
        if (child.exitStatus() == QProcess::CrashExit)
            ++killed;
        QString error;
        {
            auto after = db::Database::open(QStringLiteral("sqlite:") + database, &error);
            ASSERT_TRUE(after) << error.toStdString();
            QSqlQuery q = after->query();
            ASSERT_TRUE(q.exec(QStringLiteral("PRAGMA integrity_check")) && q.next());
            EXPECT_EQ(q.value(0).toString(), QStringLiteral("ok")) << "round " << round << ", " << delay << " ms";
        }
        const QString after = dump(database);
        EXPECT_TRUE(after == oldDump || after == newDump)
            << "round " << round << " (seed " << seed << ", killed after " << delay << " ms): neither database";
        oldWhole += after == oldDump ? 1 : 0;
        newWhole += after == newDump ? 1 : 0;
    }
    // Most rounds must be killed on the way, or the test proves nothing.
    EXPECT_GE(killed * 2, rounds) << killed << " of " << rounds << " killed (a restore takes " << whole << " ms)";
    std::printf("killed restores: %d of %d killed, %d left the old database, %d the new one\n", killed, rounds,
        oldWhole, newWhole);
}

TEST_F(Backup_Cli, CopyToAServerAndBackGivesTheSameTablesAndChain)
{
    fillDemo();
    {
        // Texts that a bulk copy's own syntax could take apart: a tab, line
        // breaks, backslashes and the text of its null.
        QString error;
        auto file = db::Database::open(QStringLiteral("sqlite:") + database, &error);
        ASSERT_TRUE(file) << error.toStdString();
        QSqlQuery q = file->query();
        ASSERT_TRUE(q.prepare(QStringLiteral("UPDATE EP_Emp_Main SET F_Name = ?, L_Name = ? WHERE SapID = '10000004'")));
        q.addBindValue(QStringLiteral("สม\tชาย\r\n\\N\\"));
        q.addBindValue(QStringLiteral("\\N"));
        ASSERT_TRUE(q.exec()) << q.lastError().text().toStdString();
        ASSERT_EQ(q.numRowsAffected(), 1);
    }
    TestDatabase target(false); // empty: a schema of its own on PostgreSQL, a new file on SQLite
    const QString back = QStringLiteral("sqlite:") + dir.filePath(QStringLiteral("back.sqlite"));
    // A time zone east of UTC: a date-time that moved with it would show.
    env.insert(QStringLiteral("TZ"), QStringLiteral("Asia/Bangkok"));
    const CliResult there = cli({QStringLiteral("copy"), QStringLiteral("--to"), target.url()});
    ASSERT_EQ(there.exitCode, 0) << there.err.toStdString();
    const CliResult again = cli({QStringLiteral("copy"), QStringLiteral("--to"), back}, target.url());
    ASSERT_EQ(again.exitCode, 0) << again.err.toStdString();

    EXPECT_EQ(dump(back), dump(database));
    // The counts and checksums of both moves, table by table.
    EXPECT_EQ(there.out, again.out);
    EXPECT_TRUE(there.out.contains(QLatin1String("table EP_Audit_Log 4 4 "))) << there.out.toStdString();
    QStringList latest;
    for (const QString& url : {database, target.url(), back}) {
        const CliResult verified = cli({QStringLiteral("audit"), QStringLiteral("verify")}, url);
        EXPECT_EQ(verified.exitCode, 0) << url.toStdString() << ": " << verified.err.toStdString();
        latest << latestLine(verified.out);
    }
    EXPECT_FALSE(latest[0].isEmpty());
    EXPECT_EQ(latest[1], latest[0]);
    EXPECT_EQ(latest[2], latest[0]);
    EXPECT_EQ(latestLine(there.out), latest[0]);
}

TEST_F(Backup_Cli, CopyRefusesATargetHoldingData)
{
    fillDemo();
    TestDatabase installed; // the tables and the installation data of a new database
    installed.exec(QStringLiteral("INSERT INTO EP_TR_Depart (Depart_Code, Dapart_Name) VALUES ('99', 'ทดสอบ')"));
    struct Target
    {
        const char* name;
        QString url;
        const char* named;
    };
    const Target targets[] = {
        {"a database in use", installed.url(), "EP_TR_Depart (1 แถว)"},
        {"the source itself", QStringLiteral("sqlite:") + database, "ฐานข้อมูลปลายทางคือฐานข้อมูลต้นทางเอง"},
    };
    for (const Target& t : targets) {
        SCOPED_TRACE(t.name);
        const QString before = dump(t.url);
        const CliResult r = cli({QStringLiteral("copy"), QStringLiteral("--to"), t.url});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.err.contains(QStringLiteral("ไม่ได้คัดลอกข้อมูล: "))) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(t.named))) << r.err.toStdString();
        EXPECT_EQ(dump(t.url), before);
    }
}

TEST_F(Backup_Cli, BackupBeforeAnImportAppearsAndTheOldestGoes)
{
    if (!sqliteOnly())
        GTEST_SKIP() << "the automatic backups are the embedded database's: run in the SQLite pass";
    struct Keep
    {
        const char* setting;
        int kept;
    };
    for (const Keep& keep : {Keep {"", 30}, Keep {"[backup]\nkeep=4\n", 4}}) {
        SCOPED_TRACE(keep.kept);
        QDir(dir.filePath(QStringLiteral("office"))).removeRecursively();
        settings(keep.setting);
        fillDemo();
        // The day's first backup, made by the first command that writes.
        ASSERT_EQ(backupNames().size(), 1);
        // Earlier days' backups up to the number kept.
        const QString made = QDir(backups).filePath(backupNames().first());
        for (int i = 1; i < keep.kept; ++i)
            ASSERT_TRUE(QFile::copy(made,
                QDir(backups).filePath(QStringLiteral("velmora-2025%1%2-120000.sqlite")
                                           .arg(1 + i / 28, 2, 10, QLatin1Char('0'))
                                           .arg(1 + i % 28, 2, 10, QLatin1Char('0')))));
        const QStringList before = backupNames();
        ASSERT_EQ(before.size(), keep.kept);
        const CliResult verified = cli({QStringLiteral("audit"), QStringLiteral("verify")});
        const QString employeesBefore = dump(database).section(QStringLiteral("EP_Reason_out"), 0, 0);

        const CliResult imported = cli({QStringLiteral("import-employees"), workbook(QStringLiteral("wb"), 40)});
        ASSERT_EQ(imported.exitCode, 0) << imported.err.toStdString();

        const QStringList after = backupNames();
        EXPECT_EQ(after.size(), keep.kept);
        EXPECT_FALSE(after.contains(before.first())) << "the oldest stays";
        EXPECT_TRUE(after.contains(before[1]));
        // The new one (a name may sort before the day's first: "-2" in the same second).
        QStringList added;
        for (const QString& name : after)
            if (!before.contains(name))
                added << name;
        ASSERT_EQ(added.size(), 1) << after.join(' ').toStdString();
        // It holds the database as it was just before the import.
        const QString copy = QStringLiteral("sqlite:") + QDir(backups).filePath(added.first());
        EXPECT_EQ(dump(copy).section(QStringLiteral("EP_Reason_out"), 0, 0), employeesBefore);
        EXPECT_EQ(latestLine(cli({QStringLiteral("audit"), QStringLiteral("verify")}, copy).out),
            latestLine(verified.out));
    }
}

// The embedded database is protected by its file's mode: the file, its
// journal files, the automatic and the named backups and a restored file are
// readable and writable by their owner only, the backup folder is the owner's.
TEST_F(Backup_Cli, TheDatabaseItsJournalsAndItsBackupsAreTheOwnersAlone)
{
#ifndef Q_OS_UNIX
    GTEST_SKIP() << "the modes are those of Unix; the user's data folder on Windows is private already";
#endif
    if (!sqliteOnly())
        GTEST_SKIP() << "the embedded database's files: run in the SQLite pass";
    const QFile::Permissions ownerFile = QFile::ReadOwner | QFile::WriteOwner;
    const QFile::Permissions ownerFolder = ownerFile | QFile::ExeOwner;
    const QFile::Permissions anyone = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
        | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    auto mode = [&](const QString& path) { return QFileInfo(path).permissions() & anyone; };
    fillDemo(); // init made the file, the first save the day's backup
    const QString named = dir.filePath(QStringLiteral("elsewhere/named.sqlite"));
    ASSERT_EQ(cli({QStringLiteral("backup"), QStringLiteral("--to"), named}).exitCode, 0);
    ASSERT_EQ(backupNames().size(), 1);
    struct Expected
    {
        QString path;
        QFile::Permissions mode;
    };
    {
        // a connection writing: the journal files are there
        QString error;
        auto open = db::Database::open(QStringLiteral("sqlite:") + database, &error);
        ASSERT_TRUE(open) << error.toStdString();
        QSqlQuery q = open->query();
        ASSERT_TRUE(q.exec(QStringLiteral("UPDATE EP_Audit_Head SET Seq_No = Seq_No")));
        for (const Expected& e : {Expected {database, ownerFile}, Expected {database + QStringLiteral("-wal"), ownerFile},
                 Expected {database + QStringLiteral("-shm"), ownerFile},
                 Expected {QDir(backups).filePath(backupNames().first()), ownerFile}, Expected {backups, ownerFolder},
                 Expected {named, ownerFile}}) {
            ASSERT_TRUE(QFileInfo::exists(e.path)) << e.path.toStdString();
            EXPECT_EQ(mode(e.path), e.mode) << e.path.toStdString() << ": " << std::oct << mode(e.path).toInt();
        }
    }
    // a file made readable to all by hand is replaced by a private one on restore
    ASSERT_TRUE(QFile::setPermissions(database, ownerFile | QFile::ReadGroup | QFile::ReadOther));
    const CliResult restored = cli({QStringLiteral("restore"), named});
    ASSERT_EQ(restored.exitCode, 0) << restored.err.toStdString();
    EXPECT_EQ(mode(database), ownerFile) << std::oct << mode(database).toInt();
}

TEST_F(Backup_Cli, FullBackupFolderStopsTheImport)
{
    if (!sqliteOnly())
        GTEST_SKIP() << "the automatic backups are the embedded database's: run in the SQLite pass";
    const QString folder = dir.filePath(QStringLiteral("copies"));
    settings("[backup]\nfolder=" + folder.toUtf8() + "\n");
    fillDemo();
    // A database larger than the small drive below.
    ASSERT_EQ(cli({QStringLiteral("import-employees"), workbook(QStringLiteral("first"), 3000)}).exitCode, 0);
    const QString second = workbook(QStringLiteral("second"), 3500);

    // A drive of 256 KB mounted over the folder in a mount namespace of the
    // import's own (root, or a user namespace where the kernel allows it).
    const QStringList mounted = {QStringLiteral("--mount"), QStringLiteral("--map-root-user"), QStringLiteral("sh"),
        QStringLiteral("-c"), QStringLiteral("mount -t tmpfs -o size=256k velmora-full \"$0\" && exec \"$@\""), folder};
    {
        QProcess probe;
        probe.start(QStringLiteral("unshare"), mounted + QStringList {QStringLiteral("true")});
        if (!probe.waitForFinished(30000) || probe.exitStatus() != QProcess::NormalExit || probe.exitCode() != 0)
            GTEST_SKIP() << "this machine cannot mount a small drive for the test: "
                         << probe.readAllStandardError().toStdString();
    }
    struct Case
    {
        const char* name;
        QString program;
        QStringList prefix;
        const char* named;
    };
    const Case cases[] = {
        {"a full drive", QStringLiteral("unshare"), mounted + QStringList {QStringLiteral(VELMORA_CLI)},
            "พื้นที่ในดิสก์ของโฟลเดอร์"},
        {"a folder that is a file", QStringLiteral(VELMORA_CLI), {}, "เขียนแฟ้มในโฟลเดอร์"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.prefix.isEmpty()) {
            QDir(folder).removeRecursively();
            QFile file(folder);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        }
        const QString before = dump(database);
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(c.program,
            c.prefix
                + QStringList {QStringLiteral("--db"), database, QStringLiteral("--login"),
                    velmora::test::kDemoLogin.name, QStringLiteral("import-employees"), second});
        p.write((velmora::test::kDemoLogin.password + QLatin1Char('\n')).toUtf8());
        p.closeWriteChannel();
        ASSERT_TRUE(p.waitForFinished(120000));
        const QString err = QString::fromUtf8(p.readAllStandardError());
        EXPECT_EQ(p.exitCode(), 1) << err.toStdString();
        EXPECT_TRUE(err.contains(QStringLiteral("ยังไม่ได้ทำรายการนี้ เพราะสำรองข้อมูลไม่สำเร็จ"))) << err.toStdString();
        EXPECT_TRUE(err.contains(QString::fromUtf8(c.named))) << err.toStdString();
        EXPECT_EQ(dump(database), before) << "the import ran without its backup";
    }
}

TEST_F(Backup_Cli, DamageFoundByTheBackupStopsTheImportAndNamesTheGoodBackup)
{
    if (!sqliteOnly())
        GTEST_SKIP() << "the automatic backups are the embedded database's: run in the SQLite pass";
    fillDemo();
    ASSERT_EQ(backupNames().size(), 1) << "the day's first backup";
    const QString good = backupNames().first();
    const QString employees = workbook(QStringLiteral("wb"), 40);
    // The first page of the employee table overwritten, as a failing disk
    // leaves it: the file still opens.
    qint64 page = 0;
    qint64 pageSize = 0;
    {
        QString error;
        auto file = db::Database::open(QStringLiteral("sqlite:") + database, &error);
        ASSERT_TRUE(file) << error.toStdString();
        QSqlQuery q = file->query();
        ASSERT_TRUE(q.exec(QStringLiteral("SELECT rootpage, (SELECT page_size FROM pragma_page_size()) "
                                          "FROM sqlite_master WHERE name = 'EP_Emp_Main'"))
            && q.next());
        page = q.value(0).toLongLong();
        pageSize = q.value(1).toLongLong();
        q.finish();
        q.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    }
    {
        QFile f(database);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.seek((page - 1) * pageSize));
        f.write(QByteArray(static_cast<int>(pageSize), '\x55'));
    }
    const QByteArray bytes = bytesOf(database);
    const CliResult r = cli({QStringLiteral("import-employees"), employees});
    EXPECT_EQ(r.exitCode, 1) << r.out.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("เสียหาย"))) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("velmora-cli restore"))) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(good)) << "the newest good backup named: " << r.err.toStdString();
    EXPECT_EQ(bytesOf(database), bytes) << "the damaged database was written";
    EXPECT_EQ(backupNames(), QStringList {good}) << "a copy of the damaged database kept as a backup";
}

} // namespace
