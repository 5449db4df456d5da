// The settings file every reader of settings opens, and the database named by
// a plain file path.

#include "db/Config.h"
#include "db/Database.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

using namespace velmora;

namespace {

// Points the user's settings into a temporary folder and writes the file the
// README documents there: <config>/Velmora/velmora.conf.
class SettingsFile : public ::testing::Test
{
protected:
    SettingsFile()
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, config.path());
        savedDb = qgetenv("VELMORA_DB");
        qunsetenv("VELMORA_DB");
    }
    ~SettingsFile() override
    {
        if (!savedDb.isEmpty())
            qputenv("VELMORA_DB", savedDb);
    }
    void write(const QByteArray& ini)
    {
        ASSERT_TRUE(QDir(config.path()).mkpath(QStringLiteral("Velmora")));
        QFile f(config.filePath(QStringLiteral("Velmora/velmora.conf")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(ini);
    }

    QTemporaryDir config;
    QTemporaryDir exports;
    QByteArray savedDb;
};

// The test program calls itself "velmora-test" of "VelmoraTest": a reader that
// opened the settings by the running program's names would miss the file.
TEST_F(SettingsFile, DatabaseUrlAndExportFolderAreReadFromVelmoraConf)
{
    write("[database]\nurl=sqlite:/srv/velmora/shared.sqlite\n[export]\nfolder=" + exports.path().toUtf8() + "\n");
    EXPECT_EQ(db::resolveDatabaseUrl(QString()).toStdString(), "sqlite:/srv/velmora/shared.sqlite");
    EXPECT_EQ(db::resolveDatabaseUrl(QStringLiteral(" /tmp/x.sqlite ")), QStringLiteral("/tmp/x.sqlite"));
    EXPECT_EQ(db::exportFolder().toStdString(), exports.path().toStdString());
    EXPECT_EQ(db::openSettings()->fileName(), config.filePath(QStringLiteral("Velmora/velmora.conf")));
}

TEST_F(SettingsFile, MissingKeysFallBack)
{
    write("[export]\nfolder=/no/such/folder/anywhere\n");
    EXPECT_EQ(db::resolveDatabaseUrl(QString()), db::defaultSqliteUrl());
    EXPECT_NE(db::exportFolder(), QStringLiteral("/no/such/folder/anywhere"));
    EXPECT_FALSE(db::exportFolder().isEmpty());
}

TEST(PlainPath, OpensAnSqliteDatabaseFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("plain/velmora.sqlite"));
    QString error;
    auto database = db::Database::open(path, &error);
    ASSERT_TRUE(database) << error.toStdString();
    EXPECT_EQ(database->backend(), db::Backend::Sqlite);
    database.reset();
    QFile f(path);
    ASSERT_TRUE(f.exists());
}

} // namespace
