// A database that cannot be written (a read-only file, folder or drive) opens
// for reading; every write is refused with a message that says why. A table
// check that fails is reported as the failure it is.

#include "db/Database.h"
#include "db/Schema.h"
#include "db/Users.h"
#include "support/ReadOnlyPlace.h"

#include <gtest/gtest.h>

#include <QSqlQuery>
#include <QTemporaryDir>

using namespace velmora;

namespace {

// An SQLite database with its tables and one user, closed again (as the
// program leaves it: the journal checkpointed and removed).
QString makeDatabase(const QTemporaryDir& dir)
{
    const QString url = QStringLiteral("sqlite:") + dir.filePath(QStringLiteral("data/velmora.sqlite"));
    QString error;
    auto database = db::Database::open(url, &error);
    EXPECT_TRUE(database) << error.toStdString();
    if (!database)
        return url;
    EXPECT_TRUE(db::ensureSchema(*database, &error)) << error.toStdString();
    EXPECT_TRUE(db::addUser(*database, QStringLiteral("somying"), QStringLiteral("pw"), {}, {}, &error))
        << error.toStdString();
    return url;
}

int userCount(const db::Database& database)
{
    QSqlQuery q = database.query();
    if (!q.exec(QStringLiteral("SELECT COUNT(*) FROM EP_TR_User")) || !q.next())
        return -1;
    return q.value(0).toInt();
}

struct Place
{
    const char* name;
    bool folder; // the folder made read-only, else the file
};

class ReadOnlyDatabase : public ::testing::TestWithParam<Place>
{
};

TEST_P(ReadOnlyDatabase, OpensForReadingAndRefusesWritesSayingWhy)
{
    QTemporaryDir dir;
    const QString url = makeDatabase(dir);
    const QString target =
        dir.filePath(GetParam().folder ? QStringLiteral("data") : QStringLiteral("data/velmora.sqlite"));
    test::ReadOnlyPlace place(target);
    if (!place.usable())
        GTEST_SKIP() << "this machine lets the test process write to a read-only " << GetParam().name;

    QString error;
    auto database = db::Database::open(url, &error);
    ASSERT_TRUE(database) << error.toStdString();
    EXPECT_TRUE(database->readOnly());
    // The start-up check finds every table and creates nothing.
    bool created = true;
    EXPECT_TRUE(db::ensureSchema(*database, &error, &created)) << error.toStdString();
    EXPECT_FALSE(created);
    EXPECT_EQ(userCount(*database), 1);
    EXPECT_EQ(db::checkLogin(*database, QStringLiteral("somying"), QStringLiteral("pw")).status, db::LoginResult::Ok);

    db::Transaction tx(*database);
    EXPECT_FALSE(tx.active());
    EXPECT_TRUE(tx.error().contains(db::readOnlyMessage())) << tx.error().toStdString();

    error.clear();
    EXPECT_FALSE(db::addUser(*database, QStringLiteral("b"), QStringLiteral("pw"), {}, {}, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("อ่านอย่างเดียว"))) << error.toStdString();
    EXPECT_EQ(userCount(*database), 1);
}

INSTANTIATE_TEST_SUITE_P(Places, ReadOnlyDatabase, ::testing::Values(Place {"file", false}, Place {"folder", true}),
    [](const ::testing::TestParamInfo<Place>& info) { return std::string(info.param.name); });

TEST(ReadOnlyDatabase, WritableDatabaseIsNotMarkedReadOnly)
{
    QTemporaryDir dir;
    const QString url = makeDatabase(dir);
    QString error;
    auto database = db::Database::open(url, &error);
    ASSERT_TRUE(database) << error.toStdString();
    EXPECT_FALSE(database->readOnly());
    db::Transaction tx(*database);
    EXPECT_TRUE(tx.active()) << tx.error().toStdString();
}

TEST(ReadOnlyDatabase, NewDatabaseInAReadOnlyFolderSaysWhyItCannotBeMade)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("locked")));
    test::ReadOnlyPlace place(dir.filePath(QStringLiteral("locked")));
    if (!place.usable())
        GTEST_SKIP() << "this machine lets the test process write to a read-only folder";
    QString error;
    auto database =
        db::Database::open(QStringLiteral("sqlite:") + dir.filePath(QStringLiteral("locked/new.sqlite")), &error);
    EXPECT_FALSE(database);
    EXPECT_TRUE(error.contains(QStringLiteral("สิทธิ์เขียน"))) << error.toStdString();
}

// A table check whose query fails (here: the connection is gone) is an
// error, never "no table" followed by CREATE TABLE.
TEST(SchemaCheck, FailedTableCheckReportsItsOwnError)
{
    QTemporaryDir dir;
    QString error;
    auto database = db::Database::open(QStringLiteral("sqlite:") + dir.filePath(QStringLiteral("v.sqlite")), &error);
    ASSERT_TRUE(database) << error.toStdString();
    ASSERT_TRUE(db::ensureSchema(*database, &error)) << error.toStdString();
    database->connection().close();
    error.clear();
    EXPECT_FALSE(db::ensureSchema(*database, &error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("ตรวจตาราง"))) << error.toStdString();
    EXPECT_FALSE(error.contains(QStringLiteral("CREATE TABLE"))) << error.toStdString();
    EXPECT_FALSE(database->findTable(QStringLiteral("EP_TR_User"), &error).has_value());
}

} // namespace
