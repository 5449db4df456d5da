// The main window's menu: its items and their handlers, which of them the
// login may use, and the help menu.
#include "gui/main/UVelmora.h"

#include "db/DatabaseDescription.h"
#include "gui/common/Prompter.h"
#include "gui/common/ScreenRegistry.h"
#include "gui/common/ScreenSupport.h"
#include "gui/common/Session.h"
#include "gui/common/Widgets.h"
#include "gui/main/UUser_Guide.h"
#include "services/Rights.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>

#include <map>

namespace velmora::app {

namespace {

// The menu item that opened a screen, kept on the screen.
constexpr const char* kMenuItemProperty = "velmoraMenuItem";

} // namespace

void TfrmVelmora::buildMenu()
{
    MainMenu1 = make<QMenuBar>(this, "MainMenu1");
    setMenuBar(MainMenu1);

    const auto submenu = [this](const char* name, const QString& caption) {
        QMenu* menu = MainMenu1->addMenu(caption);
        menu->setObjectName(QLatin1String(name));
        menu->menuAction()->setObjectName(QLatin1String(name));
        m_topItems << menu->menuAction();
        return menu;
    };
    const auto item = [this](QMenu* menu, const char* name, const QString& caption, void (TfrmVelmora::*handler)()) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QLatin1String(name));
        connect(action, &QAction::triggered, this, handler);
        // A screen not built into this program cannot be opened.
        action->setEnabled(m_screens.has(QLatin1String(name)));
        return action;
    };
    const auto separator = [](QMenu* menu, const char* name) {
        QAction* action = menu->addSeparator();
        action->setObjectName(QLatin1String(name));
        return action;
    };

    QMenu* N1 = submenu("N1", QStringLiteral("นำเข้าข้อมูล(Import Data)"));
    item(N1, "N23", QStringLiteral("การนำเข้าข้อมูลพนักงาน"), &TfrmVelmora::N23Click);
    item(N1, "N6", QStringLiteral("การนำเข้าข้อมูลการเปลี่ยนแปลงประเภทการจ้าง"), &TfrmVelmora::N6Click);

    QMenu* N2 = submenu("N2", QStringLiteral("การประมวลผล"));
    item(N2, "N5", QStringLiteral("การคำนวณเงินชดเชย"), &TfrmVelmora::N5Click);
    item(N2, "NRun1", QStringLiteral("ประมวลผลเงินชดเชยประจำเดือน"), &TfrmVelmora::NRun1Click);
    item(N2, "NCheck1", QStringLiteral("ตรวจสอบการคำนวณเงินชดเชย"), &TfrmVelmora::NCheck1Click);
    separator(N2, "N1725501")->setEnabled(false);
    item(N2, "N10", QStringLiteral("การยกเลิกคำนวณเงินชดเชย"), &TfrmVelmora::N10Click);

    QMenu* N3 = submenu("N3", QStringLiteral("รายงาน"));
    item(N3, "N4", QStringLiteral("รายงานรายชื่อผู้ครบสัญญา"), &TfrmVelmora::N4Click);
    item(N3, "N7", QStringLiteral("รายการสรุปเงิน"), &TfrmVelmora::N7Click);
    separator(N3, "N8");
    item(N3, "N9", QStringLiteral("รายละเอียดการเบิก"), &TfrmVelmora::N9Click);
    separator(N3, "N12");
    item(N3, "N13", QStringLiteral("ประมาณการเงินชดเชย"), &TfrmVelmora::N13Click);
    separator(N3, "N14");
    item(N3, "N15", QStringLiteral("เงินชดเชยแยกตามเงิน"), &TfrmVelmora::N15Click);
    item(N3, "N16", QStringLiteral("ประมาณการภาระเงินชดเชย (รายเดือน/รายปี)"), &TfrmVelmora::N16Click);

    QMenu* N11 = submenu("N11", QStringLiteral("ระบบ(System)"));
    item(
        N11, "ChangePassword1", QStringLiteral("เปลี่ยนแปลงรหัสผ่าน(Change Password)"), &TfrmVelmora::ChangePassword1Click);
    item(N11, "OrgSettings1", QStringLiteral("ข้อมูลหน่วยงานสำหรับบันทึกข้อความ"), &TfrmVelmora::OrgSettings1Click);
    item(N11, "AuditTrail1", QStringLiteral("ประวัติการใช้งาน (Audit Trail)"), &TfrmVelmora::AuditTrail1Click);
    item(N11, "Users1", QStringLiteral("ผู้ใช้งานระบบ"), &TfrmVelmora::Users1Click);
    item(N11, "Backup1", QStringLiteral("สำรองข้อมูล"), &TfrmVelmora::Backup1Click);
    item(N11, "Restore1", QStringLiteral("กู้คืนข้อมูล"), &TfrmVelmora::Restore1Click);

    QAction* NExit = MainMenu1->addAction(QStringLiteral("ออกจากระบบ"));
    NExit->setObjectName(QStringLiteral("NExit"));
    connect(NExit, &QAction::triggered, this, &TfrmVelmora::NExitClick);
    m_topItems << NExit;

    // Nothing of the menu is reachable before a login but the help.
    setTopMenuVisible(false);
    buildHelpMenu();
}

// The guide is there from the login on: its first section is the first
// set-up of an office, before anyone can log in.

// The guide is there from the login on: its first section is the first
// set-up of an office, before anyone can log in.
void TfrmVelmora::buildHelpMenu()
{
    QMenu* NHelp = MainMenu1->addMenu(QStringLiteral("ช่วยเหลือ"));
    NHelp->setObjectName(QStringLiteral("NHelp"));
    NHelp->menuAction()->setObjectName(QStringLiteral("NHelp"));
    QAction* NGuide = NHelp->addAction(QStringLiteral("คู่มือการใช้งาน"));
    NGuide->setObjectName(QStringLiteral("NGuide"));
    NGuide->setShortcut(QKeySequence(Qt::Key_F1));
    NGuide->setShortcutContext(Qt::ApplicationShortcut); // also over the guide's own window
    connect(NGuide, &QAction::triggered, this, &TfrmVelmora::NGuideClick);
    QAction* NAbout = NHelp->addAction(QStringLiteral("เกี่ยวกับโปรแกรม"));
    NAbout->setObjectName(QStringLiteral("NAbout"));
    connect(NAbout, &QAction::triggered, this, &TfrmVelmora::NAboutClick);
}

QList<rights::Action> TfrmVelmora::menuActions(const QString& item)
{
    using A = rights::Action;
    static const std::map<QString, QList<A>> actions = {
        {QStringLiteral("N23"), {A::ImportEmployees}},
        {QStringLiteral("N6"), {A::ImportHistory}},
        {QStringLiteral("N5"), {A::Calculate}},
        {QStringLiteral("NRun1"), {A::PreviewRun}},
        {QStringLiteral("NCheck1"), {A::CheckCalculation}},
        {QStringLiteral("N10"), {A::CancelUnchecked, A::CancelChecked}},
        {QStringLiteral("N4"), {A::Report}},
        {QStringLiteral("N7"), {A::Report}},
        {QStringLiteral("N9"), {A::Report}},
        {QStringLiteral("N13"), {A::Report}},
        {QStringLiteral("N15"), {A::Report}},
        {QStringLiteral("N16"), {A::Report}},
        {QStringLiteral("ChangePassword1"), {A::ChangeOwnPassword}},
        {QStringLiteral("OrgSettings1"), {A::OrganisationSettings}},
        {QStringLiteral("AuditTrail1"), {A::ReadAuditTrail}},
        {QStringLiteral("Users1"), {A::ListUsers}},
        {QStringLiteral("Backup1"), {A::Backup}},
        {QStringLiteral("Restore1"), {A::Restore}},
    };
    const auto it = actions.find(item);
    return it == actions.end() ? QList<A>() : it->second;
}

void TfrmVelmora::enableMenuItems(bool passwordOnly)
{
    for (QAction* action : MainMenu1->findChildren<QAction*>()) {
        const QList<rights::Action> needed = menuActions(action->objectName());
        if (needed.isEmpty())
            continue;
        bool may = false;
        for (rights::Action a : needed)
            may = may || rights::mayDo(a);
        if (passwordOnly)
            may = may && action->objectName() == QLatin1String("ChangePassword1");
        action->setEnabled(may && m_screens.has(action->objectName()));
    }
}

QWidget* TfrmVelmora::openScreen(const QString& menuItem)
{
    QWidget* screen = m_screens.create(menuItem, m_session);
    if (!screen)
        return nullptr;
    screen->setAttribute(Qt::WA_DeleteOnClose);
    // The menu item names the screen's section of the guide.
    screen->setProperty(kMenuItemProperty, menuItem);
    orderTabsAsLaid(screen);
    QMdiSubWindow* window = m_mdiArea->addSubWindow(screen);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->showMaximized();
    return screen;
}

void TfrmVelmora::N23Click()
{
    openScreen(QStringLiteral("N23"));
}

void TfrmVelmora::N6Click()
{
    openScreen(QStringLiteral("N6"));
}

void TfrmVelmora::N5Click()
{
    openScreen(QStringLiteral("N5"));
}

void TfrmVelmora::NRun1Click()
{
    openScreen(QStringLiteral("NRun1"));
}

void TfrmVelmora::N10Click()
{
    openScreen(QStringLiteral("N10"));
}

void TfrmVelmora::N4Click()
{
    openScreen(QStringLiteral("N4"));
}

void TfrmVelmora::N7Click()
{
    openScreen(QStringLiteral("N7"));
}

void TfrmVelmora::N9Click()
{
    openScreen(QStringLiteral("N9"));
}

void TfrmVelmora::N13Click()
{
    openScreen(QStringLiteral("N13"));
}

void TfrmVelmora::N15Click()
{
    openScreen(QStringLiteral("N15"));
}

void TfrmVelmora::N16Click()
{
    openScreen(QStringLiteral("N16"));
}

void TfrmVelmora::ChangePassword1Click()
{
    openScreen(QStringLiteral("ChangePassword1"));
}

void TfrmVelmora::OrgSettings1Click()
{
    openScreen(QStringLiteral("OrgSettings1"));
}

void TfrmVelmora::AuditTrail1Click()
{
    openScreen(QStringLiteral("AuditTrail1"));
}

void TfrmVelmora::Users1Click()
{
    openScreen(QStringLiteral("Users1"));
}

void TfrmVelmora::NCheck1Click()
{
    openScreen(QStringLiteral("NCheck1"));
}

QString TfrmVelmora::activeScreenCaption() const
{
    const QMdiSubWindow* sub = m_loggedIn ? m_mdiArea->activeSubWindow() : nullptr;
    if (!sub || !sub->widget())
        return {};
    const QString item = sub->widget()->property(kMenuItemProperty).toString();
    const auto* action = item.isEmpty() ? nullptr : MainMenu1->findChild<QAction*>(item);
    return action ? action->text() : QString();
}

void TfrmVelmora::NGuideClick()
{
    // At the login the guide opens at the first set-up of an office.
    const QString section = m_loggedIn ? activeScreenCaption() : QStringLiteral("การเริ่มใช้งานครั้งแรก");
    if (!m_guide) {
        m_guide = new TfrmUser_Guide(this);
        m_guide->load();
    }
    m_guide->show();
    m_guide->raise();
    m_guide->activateWindow();
    m_guide->showSection(section);
}

void TfrmVelmora::NAboutClick()
{
    m_session.prompter->inform(this,
        QStringLiteral("Velmora ระบบคำนวณเงินชดเชยพนักงานสัญญาจ้าง\rรุ่นโปรแกรม ")
            + QStringLiteral(VELMORA_VERSION) + QStringLiteral("\rรุ่นฐานข้อมูล ")
            + (m_version.isEmpty() ? QStringLiteral("-") : m_version) + QStringLiteral("\rฐานข้อมูลที่ใช้ ")
            + db::describeDatabase(m_databaseUrl));
}

void TfrmVelmora::Backup1Click()
{
    openScreen(QStringLiteral("Backup1"));
}

void TfrmVelmora::Restore1Click()
{
    openScreen(QStringLiteral("Restore1"));
}

} // namespace velmora::app
