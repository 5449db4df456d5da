// Shared screen support: date texts, the prompters, the screen registry.

#include "gui/common/DateText.h"
#include "gui/common/Prompter.h"
#include "gui/common/ScreenRegistry.h"
#include "gui/common/Session.h"

#include <gtest/gtest.h>

#include <QLabel>

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
