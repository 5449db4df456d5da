// Shared screen support: date texts, the prompters, the screen registry.

#include "gui/common/DateText.h"
#include "gui/common/Prompter.h"
#include "gui/common/ScreenRegistry.h"
#include "gui/common/Session.h"
#include "support/Wait.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <QLabel>
#include <QTimer>

namespace velmora::app {
namespace {

struct FormatCase
{
    const char* format;
    const char* separator;
};

class DateSeparatorOfFormatTest : public ::testing::TestWithParam<FormatCase>
{
};

TEST_P(DateSeparatorOfFormatTest, FindsTheSeparator)
{
    EXPECT_EQ(dateSeparatorOfFormat(QString::fromUtf8(GetParam().format)), QString::fromUtf8(GetParam().separator));
}

INSTANTIATE_TEST_SUITE_P(Formats, DateSeparatorOfFormatTest,
    ::testing::Values(FormatCase {"dd/MM/yyyy", "/"}, // en_GB
        FormatCase {"d/M/yy", "/"}, // th_TH
        FormatCase {"dd.MM.yy", "."}, // de_DE
        FormatCase {"dd-MM-yyyy", "-"}, // nl_NL
        FormatCase {"yyyy-MM-dd", "-"}, FormatCase {"d MMM yyyy", " "}, FormatCase {"ddMMyyyy", "/"}));

TEST(MachineDateText, ZeroFillsAndUsesTheSeparator)
{
    EXPECT_EQ(machineDateText(QDate(2017, 3, 18), QStringLiteral("/")), QStringLiteral("18/03/2017"));
    EXPECT_EQ(machineDateText(QDate(2017, 3, 18), QStringLiteral("-")), QStringLiteral("18-03-2017"));
    EXPECT_EQ(machineDateText(QDate(2001, 1, 2), QStringLiteral(".")), QStringLiteral("02.01.2001"));
    EXPECT_EQ(machineDateText(QDate(999, 12, 31), QStringLiteral("/")), QStringLiteral("31/12/0999"));
}

TEST(BuddhistEraDateText, AddsFiveHundredFortyThreeToTheYear)
{
    EXPECT_EQ(buddhistEraDateText(QStringLiteral("18/03/2017")), QStringLiteral("18/03/2560"));
    EXPECT_EQ(buddhistEraDateText(QStringLiteral("29/02/2000")), QStringLiteral("29/02/2543"));
    EXPECT_EQ(buddhistEraDateText(QStringLiteral("31/12/2099")), QStringLiteral("31/12/2642"));
    // The first six characters are kept as they are, separators included.
    EXPECT_EQ(buddhistEraDateText(QStringLiteral("01-10-2007")), QStringLiteral("01-10-2550"));
}

// Every screen's default filter dates come from this one cut of the server
// date; the machine's separator stays in the month text of the filters, the
// request month always has a slash.
TEST(DefaultDates, CutFromTheServerDate)
{
    struct Case
    {
        const char* server;
        const char* serverBE;
        QStringList expected; // year, month/year, request month, first of month BE, today BE
    };
    const Case cases[] = {
        {"09/12/2026", "09/12/2569", {"2026", "12/2026", "12/2026", "01/12/2569", "09/12/2569"}},
        {"31-01-2017", "31-01-2560", {"2017", "01-2017", "01/2017", "01-01-2560", "31-01-2560"}},
        {"29.02.2000", "29.02.2543", {"2000", "02.2000", "02/2000", "01.02.2543", "29.02.2543"}},
    };
    for (const Case& c : cases) {
        const DefaultDates d = defaultDates(QLatin1String(c.server), QLatin1String(c.serverBE));
        EXPECT_EQ((QStringList {d.year, d.monthYear, d.requestMonth, d.firstOfMonthBE, d.todayBE}), c.expected)
            << c.server;
    }
}

TEST(Session, PinnedClockAndSeparatorWin)
{
    Session s;
    s.localNow = [] { return QDateTime(QDate(2560, 1, 1), QTime(0, 0)); };
    s.dateSeparator = QStringLiteral("-");
    EXPECT_EQ(s.machineNow().date(), QDate(2560, 1, 1));
    EXPECT_EQ(s.machineDateSeparator(), QStringLiteral("-"));
    Session unpinned;
    EXPECT_EQ(unpinned.machineDateSeparator(), systemDateSeparator());
}

TEST(QtPrompter, CarriageReturnsBecomeLineBreaks)
{
    EXPECT_EQ(QtPrompter::displayText(QStringLiteral("a\rb\r\nc")), QStringLiteral("a\nb\nc"));
}

// The wait of the screen tests fails the test when its condition never holds
// (QtTest's retrying checks inside GoogleTest would pass), and returns once it holds.
TEST(WaitUntil, FailsTheTestOnTimeOut)
{
    bool never = false;
    EXPECT_NONFATAL_FAILURE(
        ::velmora::test::waitUntil([&] { return never; }, "never set", __FILE__, __LINE__, 50), "never set");
}

TEST(WaitUntil, ReturnsWhenTheEventLoopMakesItTrue)
{
    bool set = false;
    QTimer::singleShot(20, [&] { set = true; });
    EXPECT_TRUE(VELMORA_WAIT_UNTIL(set));
    EXPECT_TRUE(set);
}

TEST(ScriptedPrompter, AnswersFromItsQueuesThenTheDefault)
{
    ScriptedPrompter p;
    p.confirmAnswers = {false, true};
    p.defaultConfirm = false;
    p.openAnswers = {QStringLiteral("/tmp/a.xlsx")};
    EXPECT_FALSE(p.confirm(nullptr, QStringLiteral("q1")));
    EXPECT_TRUE(p.confirm(nullptr, QStringLiteral("q2")));
    EXPECT_FALSE(p.confirm(nullptr, QStringLiteral("q3")));
    p.inform(nullptr, QStringLiteral("m1"));
    EXPECT_EQ(p.openFileName(nullptr, QStringLiteral("open"), QString()), QStringLiteral("/tmp/a.xlsx"));
    EXPECT_TRUE(p.openFileName(nullptr, QStringLiteral("open"), QString()).isEmpty());
    EXPECT_EQ(p.shown, (QStringList {"q1", "q2", "q3", "m1"}));
    EXPECT_EQ(p.messages, QStringList {"m1"});
    EXPECT_EQ(p.questions, (QStringList {"q1", "q2", "q3"}));
}

TEST(ScreenRegistry, CreatesOnlyRegisteredScreensEachTimeAnew)
{
    ScreenRegistry r;
    Session s;
    r.add(QStringLiteral("N5"), [](Session&) { return new QLabel; });
    EXPECT_TRUE(r.has(QStringLiteral("N5")));
    EXPECT_FALSE(r.has(QStringLiteral("N23")));
    EXPECT_EQ(r.create(QStringLiteral("N23"), s), nullptr);
    std::unique_ptr<QWidget> a(r.create(QStringLiteral("N5"), s));
    std::unique_ptr<QWidget> b(r.create(QStringLiteral("N5"), s));
    ASSERT_TRUE(a && b);
    EXPECT_NE(a.get(), b.get());
}

} // namespace
} // namespace velmora::app
