// Every screen the screen registry knows, opened from the main window as an
// officer opens it, at the size of the most common office laptop: its form
// fits without a scroll bar and every column title shows whole; the keyboard
// follows the screen (Enter presses the button the screen gives it, Tab goes
// in the order the screen is drawn, Esc closes a dialog); F1 opens the guide
// at the screen's own section.

#include "AppTestSupport.h"
#include "Wait.h"

#include "db/DemoData.h"
#include "gui/common/ScreenRegistry.h"
#include "gui/common/ScreenSupport.h"
#include "gui/main/Screens.h"
#include "gui/main/UUser_Guide.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QHeaderView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

#include <map>
#include <memory>

namespace velmora::test {
namespace {

// 1366 × 768 under a window manager: a 32-pixel panel and a 28-pixel title
// bar leave the maximised main window this client area.
constexpr int kClientWidth = 1366;
constexpr int kClientHeight = 768 - 32 - 28;

// The screens of the registry, by the menu item that opens them.
std::vector<std::string> registeredScreens()
{
    app::ScreenRegistry registry;
    app::registerScreens(registry);
    std::vector<std::string> items;
    for (const QString& item : registry.menuItems())
        items.push_back(item.toStdString());
    return items;
}

class EveryScreenTest : public MainWindowTest, public ::testing::WithParamInterface<std::string>
{
protected:
    void SetUp() override
    {
        app::KeyboardPolicy::install();
        QString error;
        ASSERT_TRUE(db::addDemoData(tdb.db(), QDate::currentDate(), &error)) << error.toStdString();
        start();
        ASSERT_FALSE(window->endRequested()) << prompter.shown.join(QLatin1Char('|')).toStdString();
        window->setWindowState(Qt::WindowNoState);
        window->resize(kClientWidth, kClientHeight);
        showAndActivate(window.get());
        login(QString::fromLatin1(db::kDemoUser), QString::fromLatin1(db::kDemoPassword));
        ASSERT_TRUE(window->loggedIn()) << prompter.shown.join(QLatin1Char('|')).toStdString();
        // The login maximises the window, to the test platform's own small
        // screen: back to the client area of the office laptop.
        window->setWindowState(Qt::WindowNoState);
        window->resize(kClientWidth, kClientHeight);
        VELMORA_WAIT_UNTIL(window->width() == kClientWidth && window->height() == kClientHeight);
        prompter.clear();
    }

    QString item() const { return QString::fromStdString(GetParam()); }

    // The screen opened from its menu item, maximised; or the dialog it opens.
    QWidget* openIt()
    {
        const QWidgetList before = QApplication::topLevelWidgets();
        QWidget* screen = window->openScreen(item());
        if (screen) {
            QTest::qWait(50);
            return screen;
        }
        for (QWidget* w : QApplication::topLevelWidgets())
            if (!before.contains(w) && qobject_cast<QDialog*>(w)) {
                VELMORA_WAIT_UNTIL(w->isVisible());
                // the keyboard is the dialog's, as it is for the officer
                w->activateWindow();
                VELMORA_WAIT_UNTIL(QApplication::activeWindow() == w);
                return w;
            }
        ADD_FAILURE() << item().toStdString() << " opened neither a screen nor a dialog";
        return nullptr;
    }
};

// Every grid of the screen shows each column title whole.
void expectTitlesWhole(QWidget* screen, const std::string& when)
{
    for (QTableView* view : screen->findChildren<QTableView*>()) {
        if (!view->isVisibleTo(screen) || !view->model())
            continue;
        QHeaderView* header = view->horizontalHeader();
        for (int c = 0; c < view->model()->columnCount(); ++c) {
            if (header->isSectionHidden(c) || (header->stretchLastSection() && c == header->count() - 1))
                continue;
            EXPECT_GE(view->columnWidth(c), header->sectionSizeHint(c))
                << when << ": " << view->objectName().toStdString() << " column " << c << " \""
                << view->model()->headerData(c, Qt::Horizontal).toString().toStdString() << "\"";
        }
    }
}

TEST_P(EveryScreenTest, FitsTheOfficeLaptopWithEveryTitleWhole)
{
    QWidget* screen = openIt();
    ASSERT_NE(screen, nullptr);
    const QSize least = screen->minimumSizeHint().expandedTo(screen->minimumSize());
    if (qobject_cast<QDialog*>(screen)) {
        EXPECT_LE(screen->frameGeometry().width(), kClientWidth);
        EXPECT_LE(screen->frameGeometry().height(), kClientHeight);
    } else {
        QMdiArea* area = window->mdiArea();
        // the whole form inside the maximised window: no scroll bar on it
        EXPECT_LE(least.width(), area->viewport()->width()) << screen->objectName().toStdString();
        EXPECT_LE(least.height(), area->viewport()->height()) << screen->objectName().toStdString();
        EXPECT_FALSE(area->horizontalScrollBar()->isVisible());
        EXPECT_FALSE(area->verticalScrollBar()->isVisible());
    }
    expectTitlesWhole(screen, "as opened");

    // With what the screen's own search shows (the button Enter presses from
    // its first box): the grids' new columns are whole too.
    app::focusFirstControl(screen);
    QPushButton* search = app::enterButtonFor(QApplication::focusWidget());
    if (search && !qobject_cast<QDialog*>(screen)) {
        search->click();
        QTest::qWait(50);
        expectTitlesWhole(screen, "after " + search->objectName().toStdString());
    }
}

// Where `w` lies within the screen.
QRect placeOf(QWidget* w, QWidget* screen)
{
    return QRect(w->mapTo(screen, QPoint(0, 0)), w->size());
}

// b comes after a in reading order: on a later row, further right on the
// same row, or at the top of a column to the right.
bool readsAfter(const QRect& a, const QRect& b)
{
    constexpr int slack = 4;
    const bool later = b.top() >= a.bottom() - slack;
    const bool sameRow = b.top() < a.bottom() - slack && a.top() < b.bottom() - slack;
    const bool rightColumn = b.left() >= a.right() - slack;
    return later || (sameRow && b.left() >= a.left()) || rightColumn;
}

TEST_P(EveryScreenTest, EnterTabAndEscFollowTheScreen)
{
    QWidget* screen = openIt();
    ASSERT_NE(screen, nullptr);
    app::focusFirstControl(screen);
    QWidget* first = QApplication::focusWidget();
    ASSERT_NE(first, nullptr) << "nothing on " << screen->objectName().toStdString() << " takes the focus";
    ASSERT_TRUE(screen->isAncestorOf(first));

    // Tab goes forward in reading order, never back up or to the left.
    QList<QWidget*> visited {first};
    for (int i = 0; i < 120; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* now = QApplication::focusWidget();
        if (!now || !screen->isAncestorOf(now) || visited.contains(now))
            break;
        visited << now;
    }
    for (int i = 1; i < visited.size(); ++i)
        EXPECT_TRUE(readsAfter(placeOf(visited[i - 1], screen), placeOf(visited[i], screen)))
            << screen->objectName().toStdString() << ": Tab goes back from "
            << visited[i - 1]->objectName().toStdString() << " to " << visited[i]->objectName().toStdString();

    if (auto* dialog = qobject_cast<QDialog*>(screen)) {
        // Enter saves from a box (the dialog's own button), Esc closes it unsaved.
        EXPECT_NE(app::enterButtonFor(first), nullptr) << "Enter presses nothing on the dialog";
        QTest::keyClick(first, Qt::Key_Escape);
        VELMORA_WAIT_UNTIL(!dialog->isVisible());
        EXPECT_EQ(dialog->result(), QDialog::Rejected);
        return;
    }

    // Enter from the first control presses the screen's button for it: at
    // once, or after walking the boxes as the password screen does.
    first->setFocus();
    std::map<QAbstractButton*, std::unique_ptr<QSignalSpy>> spies;
    for (QAbstractButton* b : screen->findChildren<QPushButton*>())
        spies[b] = std::make_unique<QSignalSpy>(b, &QAbstractButton::clicked);
    QAbstractButton* pressed = nullptr;
    QAbstractButton* expected = app::enterButtonFor(first);
    for (int i = 0; i < 8 && !pressed; ++i) {
        QWidget* focus = QApplication::focusWidget();
        if (!focus || !screen->isAncestorOf(focus))
            break;
        if (!expected && qobject_cast<QPushButton*>(focus))
            expected = static_cast<QPushButton*>(focus); // reached by the boxes' walk
        QTest::keyClick(focus, Qt::Key_Return);
        for (const auto& [button, spy] : spies)
            if (!spy->isEmpty())
                pressed = button;
    }
    ASSERT_NE(pressed, nullptr) << "Enter from " << first->objectName().toStdString() << " on "
                                << screen->objectName().toStdString() << " presses no button";
    EXPECT_EQ(pressed, expected) << "Enter pressed " << pressed->objectName().toStdString();
}

TEST_P(EveryScreenTest, F1OpensTheGuideAtTheScreensSection)
{
    QWidget* screen = openIt();
    ASSERT_NE(screen, nullptr);
    if (qobject_cast<QDialog*>(screen))
        GTEST_SKIP() << "a dialog over the main window: its section is its menu item's, opened from the menu";
    const auto* action = window->findChild<QAction*>(item());
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(window->activeScreenCaption(), action->text());
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : screen, Qt::Key_F1);
    app::TfrmUser_Guide* guide = window->userGuide();
    ASSERT_NE(guide, nullptr);
    ASSERT_TRUE(guide->loaded());
    VELMORA_WAIT_UNTIL(guide->isVisible());
    EXPECT_EQ(guide->sectionAtTop(), action->text());
    guide->close();
}

INSTANTIATE_TEST_SUITE_P(Registry, EveryScreenTest, ::testing::ValuesIn(registeredScreens()),
    [](const ::testing::TestParamInfo<std::string>& info) { return info.param; });

} // namespace
} // namespace velmora::test
