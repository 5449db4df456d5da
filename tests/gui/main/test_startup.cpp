// Start-up checks of the main window: connection, machine date format, server
// date, database version; a failed check ends the program after start-up.

#include "AppTestSupport.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSqlQuery>
#include <QStatusBar>

namespace velmora::test {
namespace {

const QString kConnectionFailed = QStringLiteral("ไม่สามารถติดต่อฐานข้อมูลได้");
const QString kBadDate = QStringLiteral("รูปแบบวันที่ไม่ถูกต้อง");

QString separatorMessage(const QString& machineText)
{
    return QStringLiteral("รูปแบบวันที่ไม่ถูกต้อง\rรูปแบบที่กำหนด : dd/mm/yyyy\rแต่วันที่ของเครื่องเป็น :") + machineText;
}

QString versionMessage(const QString& version)
{
    return QStringLiteral("Invalid Version \rPressent Version Is : ") + version;
}

using StartupTest = MainWindowTest;

TEST_F(StartupTest, SoundDatabaseAndClockGiveTheLoginPanel)
{
    app::TfrmVelmora& w = start();
    EXPECT_TRUE(prompter.shown.isEmpty()) << prompter.shown.join(QLatin1Char('|')).toStdString();
    EXPECT_FALSE(w.endRequested());
    EXPECT_EQ(child<QLabel>("StatusPanel3")->text(), QStringLiteral("Server IT: Ravek_SALARY"));
    EXPECT_EQ(child<QLabel>("Label3")->text(), QStringLiteral("V.8.0"));
    EXPECT_FALSE(child<QStatusBar>("StatusBar1")->isVisibleTo(&w));
    EXPECT_TRUE(child<QWidget>("Panel1")->isVisibleTo(&w));
    EXPECT_TRUE(child<QLineEdit>("edtName")->text().isEmpty());
    EXPECT_TRUE(child<QLineEdit>("edtPassword")->text().isEmpty());
    EXPECT_EQ(session.db, w.database());
    EXPECT_EQ(w.windowTitle(), QStringLiteral("frmVelmora"));
}

// A database that cannot be reached: one message, nothing else runs. (A
// plain file path is an SQLite file, so an unknown kind of URL has a scheme.)
class ConnectionFailureTest : public MainWindowTest, public ::testing::WithParamInterface<const char*>
{
};

TEST_P(ConnectionFailureTest, ShowsTheConnectionMessageOnlyAndEnds)
{
    app::TfrmVelmora& w = start(QString::fromUtf8(GetParam()));
    EXPECT_EQ(prompter.shown, QStringList {kConnectionFailed});
    EXPECT_TRUE(w.endRequested());
    EXPECT_EQ(w.database(), nullptr);
    EXPECT_EQ(session.db, nullptr);
    EXPECT_NE(child<QLabel>("StatusPanel3")->text(), QStringLiteral("Server IT: Ravek_SALARY"));
    EXPECT_EQ(child<QLabel>("Label3")->text(), QStringLiteral("V.2"));
    EXPECT_TRUE(session.Server_Date_Text.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Urls, ConnectionFailureTest,
    ::testing::Values("sqlite:/dev/null/velmora/x.sqlite", "postgresql://nobody@127.0.0.1:1/nothing",
        "odbc:DRIVER={NoSuchDriver};SERVER=nowhere", "mysql://nowhere/not-a-database", ""));

// The machine clock's year must start with "20".
struct ClockCase
{
    QDate date;
    bool refused;
};

class MachineYearTest : public MainWindowTest, public ::testing::WithParamInterface<ClockCase>
{
};

TEST_P(MachineYearTest, YearOutside2000To2099IsRefused)
{
    const QDate date = GetParam().date;
    session.localNow = [date] { return QDateTime(date, QTime(9, 30)); };
    app::TfrmVelmora& w = start();
    if (GetParam().refused) {
        EXPECT_EQ(prompter.shown, QStringList {kBadDate});
        EXPECT_TRUE(w.endRequested());
    } else {
        EXPECT_TRUE(prompter.shown.isEmpty());
        EXPECT_FALSE(w.endRequested());
    }
    // The later steps still ran.
    EXPECT_EQ(child<QLabel>("Label3")->text(), QStringLiteral("V.8.0"));
    EXPECT_FALSE(session.Server_Date_Text_BE.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Clocks, MachineYearTest,
    ::testing::Values(ClockCase {QDate(2560, 3, 18), true}, // Buddhist era as clock year
        ClockCase {QDate(2100, 1, 1), true}, ClockCase {QDate(1999, 12, 31), true},
        ClockCase {QDate(2000, 1, 1), false}, ClockCase {QDate(2099, 12, 31), false}));

struct SeparatorCase
{
    const char* separator;
    const char* machineText;
};

class DateSeparatorTest : public MainWindowTest, public ::testing::WithParamInterface<SeparatorCase>
{
};

TEST_P(DateSeparatorTest, OtherSeparatorGivesThreeLineMessageWithMachineText)
{
    session.dateSeparator = QString::fromUtf8(GetParam().separator);
    app::TfrmVelmora& w = start();
    EXPECT_EQ(prompter.shown, QStringList {separatorMessage(QString::fromUtf8(GetParam().machineText))});
    EXPECT_TRUE(w.endRequested());
}

INSTANTIATE_TEST_SUITE_P(Separators, DateSeparatorTest,
    ::testing::Values(
        SeparatorCase {"-", "18-03-2017"}, SeparatorCase {".", "18.03.2017"}, SeparatorCase {" ", "18 03 2017"}));

class VersionTest : public MainWindowTest, public ::testing::WithParamInterface<const char*>
{
};

TEST_P(VersionTest, AnyOtherVersionIsRefusedAndShown)
{
    const QString version = QString::fromUtf8(GetParam());
    tdb.exec(QStringLiteral("UPDATE EP_TR_Version SET Version_NO = ?"), {version});
    app::TfrmVelmora& w = start();
    EXPECT_EQ(prompter.shown, QStringList {versionMessage(version)});
    EXPECT_TRUE(w.endRequested());
    EXPECT_EQ(child<QLabel>("Label3")->text(), QStringLiteral("V.") + version);
}

INSTANTIATE_TEST_SUITE_P(Versions, VersionTest, ::testing::Values("8.00", "8", "8.0 ", "7.9"));

TEST_F(StartupTest, EmptyVersionTableIsRefusedWithEmptyVersion)
{
    tdb.exec(QStringLiteral("DELETE FROM EP_TR_Version"));
    app::TfrmVelmora& w = start();
    EXPECT_EQ(prompter.shown, QStringList {versionMessage(QString())});
    EXPECT_TRUE(w.endRequested());
    EXPECT_EQ(child<QLabel>("Label3")->text(), QStringLiteral("V."));
}

TEST_F(StartupTest, MissingVersionTableEndsTheProgram)
{
    QSqlQuery drop = tdb->query(); // DDL: PostgreSQL cannot prepare it
    ASSERT_TRUE(drop.exec(QStringLiteral("DROP TABLE EP_TR_Version")));
    app::TfrmVelmora& w = start();
    ASSERT_EQ(prompter.shown.size(), 1);
    EXPECT_FALSE(prompter.shown.first().isEmpty());
    EXPECT_TRUE(w.endRequested());
    EXPECT_EQ(child<QLabel>("Label3")->text(), QStringLiteral("V."));
}

TEST_F(StartupTest, AllThreeFailuresShowTheirMessagesInTurn)
{
    session.localNow = [] { return QDateTime(QDate(2560, 3, 18), QTime(8, 0)); };
    session.dateSeparator = QStringLiteral("-");
    tdb.exec(QStringLiteral("UPDATE EP_TR_Version SET Version_NO = ?"), {QStringLiteral("8.00")});
    app::TfrmVelmora& w = start();
    EXPECT_EQ(prompter.shown,
        (QStringList {
            kBadDate, separatorMessage(QStringLiteral("18-03-2560")), versionMessage(QStringLiteral("8.00"))}));
    EXPECT_TRUE(w.endRequested());
    EXPECT_EQ(endRequests, 0); // nothing ends before start-up is over
}

TEST_F(StartupTest, ServerDateTextsComeFromTheServerNotTheMachineClock)
{
    const QDate before = QDate::currentDate();
    start();
    const QDate after = QDate::currentDate();
    const QString text = session.Server_Date_Text;
    ASSERT_EQ(text.size(), 10) << text.toStdString();
    const QDate serverDate = QDate::fromString(text, QStringLiteral("dd/MM/yyyy"));
    EXPECT_TRUE(serverDate == before || serverDate == after) << text.toStdString();
    EXPECT_EQ(session.Server_Date_Text_BE, text.left(6) + QString::number(serverDate.year() + 543));
    EXPECT_EQ(child<QLabel>("Label6")->text(), session.Server_Date_Text_BE);
}

TEST_F(StartupTest, MenuAndStatusBarHiddenBeforeLogin)
{
    app::TfrmVelmora& w = start();
    for (const char* name : {"N1", "N2", "N3", "N11", "NExit"}) {
        auto* item = child<QAction>(name);
        ASSERT_NE(item, nullptr);
        EXPECT_FALSE(item->isVisible()) << name;
    }
    EXPECT_FALSE(w.loggedIn());
}

} // namespace
} // namespace velmora::test
