// The backup and restore screens: a backup made from the screen is listed;
// a restore from the list asks first, lets go of the database, replaces it
// and ends the program; a damaged file chosen is refused before anything is
// asked or changed.

#include "db/Database.h"
#include "db/Schema.h"
#include "gui/common/Prompter.h"
#include "gui/common/Session.h"
#include "gui/system/UBackup.h"

#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>

namespace velmora::test {
namespace {

using backup::TfrmBackup;

class BackupScreen : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!qEnvironmentVariableIsEmpty("VELMORA_TEST_DB"))
            GTEST_SKIP() << "the embedded database's backups and restore: run in the SQLite pass";
        ASSERT_TRUE(QDir().mkpath(dir.filePath(QStringLiteral("office"))));
        url = QStringLiteral("sqlite:") + dir.filePath(QStringLiteral("office/velmora.sqlite"));
        open();
        QString error;
        ASSERT_TRUE(db::ensureSchema(*database, &error)) << error.toStdString();
        session.prompter = &prompter;
        session.closeDatabase = [this] {
            session.db = nullptr;
            database.reset();
            ++closed;
        };
        session.endProgram = [this] { ++ended; };
    }

    void open()
    {
        QString error;
        database = db::Database::open(url, &error);
        ASSERT_TRUE(database) << error.toStdString();
        session.db = database.get();
    }

    int departments(const QString& code) const
    {
        QSqlQuery q = database->query();
        q.prepare(QStringLiteral("SELECT COUNT(*) FROM EP_TR_Depart WHERE Depart_Code = ?"));
        q.addBindValue(code);
        return q.exec() && q.next() ? q.value(0).toInt() : -1;
    }

    void press(TfrmBackup& screen, const char* name)
    {
        auto* button = screen.findChild<QPushButton*>(QLatin1String(name));
        ASSERT_NE(button, nullptr) << name;
        button->click();
    }

    int listed(TfrmBackup& screen)
    {
        auto* grid = screen.findChild<QTableView*>(QStringLiteral("grdBackups"));
        return grid ? grid->model()->rowCount() : -1;
    }

    QTemporaryDir dir;
    QString url;
    std::unique_ptr<db::Database> database;
    app::ScriptedPrompter prompter;
    app::Session session;
    int closed = 0;
    int ended = 0;
};

TEST_F(BackupScreen, ABackupFromTheListIsRestoredAfterTheQuestionAndTheProgramEnds)
{
    {
        TfrmBackup screen(session, TfrmBackup::Mode::Backup);
        EXPECT_EQ(listed(screen), 0);
        press(screen, "btnBackup");
        ASSERT_FALSE(prompter.messages.isEmpty());
        EXPECT_TRUE(prompter.messages.last().startsWith(QStringLiteral("สำรองข้อมูลแล้ว: ")))
            << prompter.messages.last().toStdString();
        EXPECT_EQ(listed(screen), 1);
    }
    // A change after the backup, which the restore takes back.
    {
        QSqlQuery q = database->query();
        ASSERT_TRUE(q.exec(QStringLiteral("INSERT INTO EP_TR_Depart (Depart_Code, Dapart_Name) VALUES ('ZZ9', 'หลังสำรอง')")));
    }
    ASSERT_EQ(departments(QStringLiteral("ZZ9")), 1);

    prompter.clear();
    {
        TfrmBackup screen(session, TfrmBackup::Mode::Restore);
        ASSERT_EQ(listed(screen), 1);
        press(screen, "btnRestore");
    }
    ASSERT_EQ(prompter.questions.size(), 1);
    EXPECT_TRUE(prompter.questions.first().startsWith(QStringLiteral("กู้คืนข้อมูลจากสำเนา")));
    EXPECT_EQ(closed, 1) << "the database was not let go before the restore";
    EXPECT_EQ(ended, 1);
    ASSERT_FALSE(prompter.messages.isEmpty());
    EXPECT_TRUE(prompter.messages.last().startsWith(QStringLiteral("กู้คืนข้อมูลแล้ว")))
        << prompter.messages.last().toStdString();
    open();
    EXPECT_EQ(departments(QStringLiteral("ZZ9")), 0) << "the database was not replaced";
}

TEST_F(BackupScreen, ADamagedFileChosenIsRefusedBeforeAnyQuestion)
{
    const QString bad = dir.filePath(QStringLiteral("bad.sqlite"));
    {
        QFile f(bad);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray("SapID,F_Name\n").repeated(400));
    }
    struct Case
    {
        const char* name;
        QString chosen;
        const char* message; // the start of the message; none when nothing is said
    };
    const Case cases[] = {
        {"not a database", bad, "ไม่กู้คืนข้อมูล: "},
        {"a file that is not there", dir.filePath(QStringLiteral("gone.sqlite")), "ไม่กู้คืนข้อมูล: "},
        {"the dialog cancelled", QString(), nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        prompter.clear();
        prompter.openAnswers.push_back(c.chosen);
        TfrmBackup screen(session, TfrmBackup::Mode::Restore);
        press(screen, "btnChooseFile");
        EXPECT_TRUE(prompter.questions.isEmpty());
        if (c.message) {
            ASSERT_EQ(prompter.messages.size(), 1);
            EXPECT_TRUE(prompter.messages.first().startsWith(QString::fromUtf8(c.message)))
                << prompter.messages.first().toStdString();
        } else {
            EXPECT_TRUE(prompter.messages.isEmpty());
        }
        EXPECT_EQ(closed, 0);
        EXPECT_EQ(ended, 0);
        ASSERT_NE(session.db, nullptr);
        EXPECT_EQ(departments(QStringLiteral("ZZ9")), 0);
    }
}

} // namespace
} // namespace velmora::test
