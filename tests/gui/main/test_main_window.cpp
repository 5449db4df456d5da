// The main window's menu, status bar, background and child windows.

#include "AppTestSupport.h"

#include <QAction>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>

namespace velmora::test {
namespace {

QStringList objectNames(const QList<QAction*>& actions)
{
    QStringList names;
    for (const QAction* a : actions)
        names << a->objectName();
    return names;
}

class MainWindowShellTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        addUser(QStringLiteral("somchai"), QStringLiteral("Pass123"), QStringLiteral("สมชาย"), QStringLiteral("ใจดี"));
    }
    void startAndLogIn()
    {
        start();
        ASSERT_FALSE(window->endRequested());
        login(QStringLiteral("somchai"), QStringLiteral("Pass123"));
        ASSERT_TRUE(window->loggedIn()) << prompter.shown.join(QLatin1Char('|')).toStdString();
    }
};

TEST_F(MainWindowShellTest, MenuHoldsEveryItemInOrder)
{
    start();
    auto* bar = child<QMenuBar>("MainMenu1");
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(objectNames(bar->actions()), (QStringList {"N1", "N2", "N3", "N11", "NExit", "NHelp"}));
    EXPECT_EQ(objectNames(child<QMenu>("N1")->actions()), (QStringList {"N23", "N6"}));
    EXPECT_EQ(objectNames(child<QMenu>("N2")->actions()), (QStringList {"N5", "NRun1", "NCheck1", "N1725501", "N10"}));
    EXPECT_EQ(objectNames(child<QMenu>("N3")->actions()),
        (QStringList {"N4", "N7", "N8", "N9", "N12", "N13", "N14", "N15", "N16"}));
    EXPECT_EQ(objectNames(child<QMenu>("N11")->actions()),
        (QStringList {"ChangePassword1", "OrgSettings1", "AuditTrail1", "Users1", "Backup1", "Restore1"}));
    EXPECT_EQ(objectNames(child<QMenu>("NHelp")->actions()), (QStringList {"NGuide", "NAbout"}));
    for (const char* name : {"N1725501", "N8", "N12", "N14"})
        EXPECT_TRUE(child<QAction>(name)->isSeparator()) << name;
    EXPECT_FALSE(child<QAction>("N1725501")->isEnabled());
}

struct CaptionCase
{
    const char* item;
    const char* caption;
};

class MenuCaptionTest : public MainWindowTest, public ::testing::WithParamInterface<CaptionCase>
{
};

TEST_P(MenuCaptionTest, CaptionIsExact)
{
    start();
    auto* action = child<QAction>(GetParam().item);
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(action->text(), QString::fromUtf8(GetParam().caption));
}

INSTANTIATE_TEST_SUITE_P(Items, MenuCaptionTest,
    ::testing::Values(CaptionCase {"N1", "นำเข้าข้อมูล(Import Data)"}, CaptionCase {"N23", "การนำเข้าข้อมูลพนักงาน"},
        CaptionCase {"N6", "การนำเข้าข้อมูลการเปลี่ยนแปลงประเภทการจ้าง"}, CaptionCase {"N2", "การประมวลผล"},
        CaptionCase {"N5", "การคำนวณเงินชดเชย"}, CaptionCase {"NRun1", "ประมวลผลเงินชดเชยประจำเดือน"},
        CaptionCase {"N10", "การยกเลิกคำนวณเงินชดเชย"}, CaptionCase {"N3", "รายงาน"},
        CaptionCase {"N4", "รายงานรายชื่อผู้ครบสัญญา"}, CaptionCase {"N7", "รายการสรุปเงิน"},
        CaptionCase {"N9", "รายละเอียดการเบิก"}, CaptionCase {"N13", "ประมาณการเงินชดเชย"},
        CaptionCase {"N15", "เงินชดเชยแยกตามเงิน"}, CaptionCase {"N11", "ระบบ(System)"},
        CaptionCase {"ChangePassword1", "เปลี่ยนแปลงรหัสผ่าน(Change Password)"}, CaptionCase {"Backup1", "สำรองข้อมูล"},
        CaptionCase {"Restore1", "กู้คืนข้อมูล"}, CaptionCase {"NExit", "ออกจากระบบ"},
        CaptionCase {"NHelp", "ช่วยเหลือ"}, CaptionCase {"NGuide", "คู่มือการใช้งาน"},
        CaptionCase {"NAbout", "เกี่ยวกับโปรแกรม"}));

TEST_F(MainWindowShellTest, ItemsWithoutAScreenAreDisabledAndHarmless)
{
    screens = app::ScreenRegistry();
    screens.add(QStringLiteral("N5"), [](app::Session&) { return new QLabel(QStringLiteral("calc")); });
    startAndLogIn();
    for (const QString& item : app::screenMenuItems()) {
        auto* action = window->findChild<QAction*>(item);
        ASSERT_NE(action, nullptr) << item.toStdString();
        EXPECT_EQ(action->isEnabled(), item == QLatin1String("N5")) << item.toStdString();
        action->trigger(); // a disabled item does nothing
    }
    EXPECT_EQ(window->mdiArea()->subWindowList().size(), 1);
    EXPECT_EQ(window->openScreen(QStringLiteral("N23")), nullptr);
    EXPECT_TRUE(prompter.shown.isEmpty());
}

TEST_F(MainWindowShellTest, PasswordChangeIsAvailable)
{
    start();
    EXPECT_TRUE(child<QAction>("ChangePassword1")->isEnabled());
}

TEST_F(MainWindowShellTest, SameCommandTwiceOpensTwoMaximisedWindows)
{
    startAndLogIn();
    child<QAction>("ChangePassword1")->trigger();
    child<QAction>("ChangePassword1")->trigger();
    const QList<QMdiSubWindow*> windows = window->mdiArea()->subWindowList();
    ASSERT_EQ(windows.size(), 2);
    EXPECT_NE(windows[0]->widget(), windows[1]->widget());
    for (QMdiSubWindow* sub : windows) {
        EXPECT_EQ(sub->widget()->objectName(), QStringLiteral("frmChange_Password"));
        EXPECT_EQ(sub->windowTitle(), QStringLiteral("frmChange_Password"));
        EXPECT_TRUE(sub->isMaximized());
    }
}

TEST_F(MainWindowShellTest, ExitEndsTheProgram)
{
    startAndLogIn();
    child<QAction>("NExit")->trigger();
    EXPECT_EQ(endRequests, 1);
}

TEST_F(MainWindowShellTest, BackgroundPictureFillsTheClientArea)
{
    start();
    showAndActivate(window.get());
    auto* image = child<QLabel>("Image1");
    ASSERT_NE(image, nullptr);
    EXPECT_FALSE(image->pixmap().isNull());
    EXPECT_EQ(image->geometry(), window->mdiArea()->viewport()->rect());
    EXPECT_TRUE(image->isVisible());
}

TEST_F(MainWindowShellTest, LoginPanelHoldsItsFixedTexts)
{
    start();
    const std::pair<const char*, const char*> texts[] = {
        {"Label1", "ใส่ชื่อ"},
        {"Label2", "รหัสผ่าน"},
        {"Label4", "IV 2.0"},
        {"Label5", "วันเดือนปีปัจจุบัน"},
        {"Label7", "รูปแบบที่ใช้ dd/mm/yyyy เช่น 18/03/2560"},
    };
    for (const auto& [name, text] : texts)
        EXPECT_EQ(child<QLabel>(name)->text(), QString::fromUtf8(text)) << name;
    EXPECT_NE(child<QWidget>("GroupBox1"), nullptr);
    EXPECT_EQ(child<QWidget>("GroupBox1")->parentWidget(), child<QWidget>("Panel1"));
}

} // namespace
} // namespace velmora::test
