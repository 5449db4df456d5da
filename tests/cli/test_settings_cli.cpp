// velmora-cli on the database a plain file path names, given with --db or
// kept in the settings file the README documents.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

namespace {

struct CliRun
{
    int exitCode = -1;
    QString out, err;
};

// velmora-cli with its user settings under `configHome` and no VELMORA_DB.
CliRun runCli(const QStringList& args, const QString& configHome, const QByteArray& input = {})
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("VELMORA_DB"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(VELMORA_BINARY_DIR "/src/cli/velmora-cli"), args);
    p.write(input);
    p.closeWriteChannel();
    CliRun r;
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

// The first bytes of every SQLite database file.
bool isSqliteFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) && f.read(16) == QByteArray("SQLite format 3\0", 16);
}

TEST(CliDatabasePath, PlainFilePathIsAnSqliteDatabase)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("office/velmora.sqlite"));
    const CliRun init = runCli({"--db", path, "init", "--demo"}, dir.filePath(QStringLiteral("config")));
    ASSERT_EQ(init.exitCode, 0) << init.err.toStdString();
    EXPECT_TRUE(isSqliteFile(path));
    // The same file, named the other way, holds the demo data.
    const CliRun calc = runCli({"--login", "demo", "--db", QStringLiteral("sqlite:") + path, "calc", "10000001",
                                   "--month", "12/2026", "--json"},
        dir.filePath(QStringLiteral("config")), "demo1234\n");
    ASSERT_EQ(calc.exitCode, 0) << calc.err.toStdString();
    EXPECT_TRUE(calc.out.contains(QLatin1String("120,000.00"))) << calc.out.toStdString();
}

TEST(CliDatabasePath, SettingsFileOfTheReadmeNamesTheDatabase)
{
    QTemporaryDir dir;
    const QString config = dir.filePath(QStringLiteral("config"));
    const QString path = dir.filePath(QStringLiteral("from-settings.sqlite"));
    ASSERT_TRUE(QDir().mkpath(config + QStringLiteral("/Velmora")));
    QFile f(config + QStringLiteral("/Velmora/velmora.conf"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[database]\nurl=" + path.toUtf8() + "\n");
    f.close();
    const CliRun init = runCli({"init"}, config);
    ASSERT_EQ(init.exitCode, 0) << init.err.toStdString();
    EXPECT_TRUE(isSqliteFile(path));
}

TEST(CliDatabasePath, UrlOfAnotherSchemeIsRefused)
{
    QTemporaryDir dir;
    const CliRun r = runCli({"--db", "mysql://h/db", "init"}, dir.path());
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QLatin1String("mysql://h/db"))) << r.err.toStdString();
}

} // namespace
