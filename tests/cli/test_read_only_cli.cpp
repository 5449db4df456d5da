// velmora-cli on an SQLite database in a folder that cannot be written: the
// reports run, every command that writes is refused saying the database is
// read-only, and nothing is changed.

#include "CliRunner.h"
#include "support/ReadOnlyPlace.h"

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QTemporaryDir>

using velmora::test::kDemoLogin;
using velmora::test::runCli;
using velmora::test::runCliAs;

namespace {

QByteArray digest(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

TEST(ReadOnlyCli, ReportsWorkAndWritesAreRefusedSayingWhy)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("data/velmora.sqlite"));
    const QString url = QStringLiteral("sqlite:") + file;
    ASSERT_EQ(runCli({"--db", url, "init", "--demo"}).exitCode, 0);
    ASSERT_EQ(runCliAs(kDemoLogin, {"--db", url, "calc", "10000001", "--month", "10/2012", "--save"}).exitCode, 0);
    const QByteArray before = digest(file);

    velmora::test::ReadOnlyPlace place(dir.filePath(QStringLiteral("data")));
    if (!place.usable())
        GTEST_SKIP() << "this machine lets the test process write to a read-only folder";

    const velmora::test::CliResult report = runCliAs(kDemoLogin, {"--db", url, "report", "received", "--year", "2012"});
    EXPECT_EQ(report.exitCode, 0) << report.err.toStdString();
    EXPECT_FALSE(report.err.contains(QLatin1String("CREATE TABLE"))) << report.err.toStdString();

    const QStringList writes[] = {
        {"cancel", "10000001"},
        {"calc", "10000002", "--month", "10/2012", "--save"},
        {"import-employees", QStringLiteral(VELMORA_FIXTURES "/employees_openpyxl.xlsx")},
    };
    for (const QStringList& args : writes) {
        const velmora::test::CliResult r = runCliAs(kDemoLogin, QStringList {"--db", url} + args);
        EXPECT_EQ(r.exitCode, 1) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("อ่านอย่างเดียว")))
            << args.join(' ').toStdString() << ": " << r.err.toStdString();
        EXPECT_FALSE(r.err.contains(QLatin1String("CREATE TABLE"))) << r.err.toStdString();
    }
    EXPECT_EQ(digest(file), before);
}

} // namespace
