// What the program does around the main window: a database without tables
// gets them, and the screens made hidden at start-up.

#include "AppTestSupport.h"

#include "db/Schema.h"
#include "gui/main/Screens.h"
#include "gui/main/Startup.h"

#include <QSqlQuery>

namespace velmora::test {
namespace {

TEST(PrepareDatabase, EmptyDatabaseGetsTablesAndTheNoUserMessage)
{
    TestDatabase tdb(/*withSchema=*/false);
    app::ScriptedPrompter prompter;
    QString error;
    ASSERT_TRUE(app::prepareDatabase(tdb.url(), prompter, &error)) << error.toStdString();
    EXPECT_EQ(prompter.shown, QStringList {app::newDatabaseMessage()});
    QString version;
    ASSERT_TRUE(db::readVersion(tdb.db(), &version, &error)) << error.toStdString();
    EXPECT_EQ(version, QStringLiteral("8.0"));

    // The next start finds the tables and says nothing.
    prompter.clear();
    ASSERT_TRUE(app::prepareDatabase(tdb.url(), prompter, &error));
    EXPECT_TRUE(prompter.shown.isEmpty());
}

TEST(PrepareDatabase, ExistingDatabaseIsLeftAsItIs)
{
    TestDatabase tdb;
    tdb.exec(QStringLiteral("UPDATE EP_TR_Version SET Version_NO = ?"), {QStringLiteral("7.0")});
    app::ScriptedPrompter prompter;
    QString error;
    ASSERT_TRUE(app::prepareDatabase(tdb.url(), prompter, &error));
    EXPECT_TRUE(prompter.shown.isEmpty());
    EXPECT_EQ(tdb.scalar(QStringLiteral("SELECT Version_NO FROM EP_TR_Version")).toString(), QStringLiteral("7.0"));
}

TEST(PrepareDatabase, ADatabaseWithoutItsVersionTableIsRefusedNotRefilled)
{
    // before, a fresh "8.0" was written and the version check passed
    TestDatabase tdb;
    QSqlQuery drop = tdb->query();
    ASSERT_TRUE(drop.exec(QStringLiteral("DROP TABLE EP_TR_Version")));
    app::ScriptedPrompter prompter;
    QString error;
    EXPECT_FALSE(app::prepareDatabase(tdb.url(), prompter, &error));
    ASSERT_EQ(prompter.shown.size(), 1);
    EXPECT_EQ(prompter.shown.first(), error);
    EXPECT_TRUE(error.contains(QStringLiteral("EP_TR_Version"))) << error.toStdString();
    EXPECT_FALSE(tdb->hasTable(QStringLiteral("EP_TR_Version")));
}

TEST(PrepareDatabase, UnreachableDatabaseIsLeftToTheStartUpCheck)
{
    app::ScriptedPrompter prompter;
    QString error;
    EXPECT_TRUE(app::prepareDatabase(QStringLiteral("sqlite:/dev/null/velmora/x.sqlite"), prompter, &error));
    EXPECT_TRUE(prompter.shown.isEmpty());
}

TEST(PrecreatedScreens, OneHiddenTopLevelInstanceEach)
{
    app::ScreenRegistry screens;
    app::registerScreens(screens);
    app::Session session;
    app::ScriptedPrompter prompter;
    session.prompter = &prompter;
    const auto made = app::createPrecreatedScreens(screens, session);
    QStringList names;
    for (const auto& screen : made) {
        names << screen->objectName();
        EXPECT_FALSE(screen->isVisible());
        EXPECT_EQ(screen->parentWidget(), nullptr);
    }
    EXPECT_TRUE(names.contains(QStringLiteral("frmChange_Password")));
    EXPECT_EQ(names.removeDuplicates(), 0);
    EXPECT_TRUE(prompter.shown.isEmpty());
}

} // namespace
} // namespace velmora::test
