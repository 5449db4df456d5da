#include "gui/common/ScreenSupport.h"

#include <QAbstractItemView>
#include <QBoxLayout>
#include <QGridLayout>
#include <QPointer>
#include <QScrollArea>
#include <QSplitter>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTextEdit>
#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <tuple>

namespace velmora::app {

bool isEnterKeyPress(const QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<const QKeyEvent*>(event);
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

void pressTab(QWidget* widget)
{
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &tab);
}

namespace {

constexpr const char* kEnterButton = "velmoraEnterButton";
constexpr const char* kEnterMovesOn = "velmoraEnterMovesOn";

} // namespace

EnterAsTab* EnterAsTab::install(QObject* owner, std::initializer_list<QWidget*> widgets)
{
    auto* filter = new EnterAsTab(owner);
    for (QWidget* w : widgets) {
        w->installEventFilter(filter);
        w->setProperty(kEnterMovesOn, true);
    }
    return filter;
}

bool EnterAsTab::eventFilter(QObject* watched, QEvent* event)
{
    if (isEnterKeyPress(event) && watched->isWidgetType()) {
        pressTab(static_cast<QWidget*>(watched));
        return true;
    }
    return QObject::eventFilter(watched, event);
}

namespace {

// Selects the whole text of a box when it gets the focus, after the mouse
// press that gave it has placed the cursor.
class SelectAllOnFocus : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::FocusIn)
            if (auto* edit = qobject_cast<QLineEdit*>(watched))
                QTimer::singleShot(0, edit, &QLineEdit::selectAll);
        return false;
    }
};

} // namespace

void makePasswordBox(QLineEdit* edit)
{
    edit->setEchoMode(QLineEdit::Password);
    edit->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
    edit->installEventFilter(new SelectAllOnFocus(edit));
}

void focusFirstControl(QWidget* area)
{
    if (!area)
        return;
    for (QWidget* w = area->nextInFocusChain(); w && w != area; w = w->nextInFocusChain()) {
        if (area->isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisibleTo(area)) {
            w->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

void focusForRetyping(QLineEdit* edit)
{
    edit->setFocus();
    edit->selectAll();
}

void setEnterButton(QWidget* area, QPushButton* button)
{
    area->setProperty(kEnterButton, QVariant::fromValue(QPointer<QPushButton>(button)));
}

QPushButton* enterButtonFor(const QWidget* widget)
{
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        const QVariant v = w->property(kEnterButton);
        if (v.isValid())
            return v.value<QPointer<QPushButton>>().data();
        if (w->isWindow())
            break;
    }
    return nullptr;
}

namespace {

// The controls of `layout` in the order it draws them, depth first.
void laidOrder(QLayout* layout, QList<QWidget*>& out);

void laidOrder(QWidget* widget, QList<QWidget*>& out)
{
    if (!widget)
        return;
    if (auto* tabs = qobject_cast<QTabWidget*>(widget)) {
        // the page tabs above the pages, then the page shown
        if (tabs->tabBar()->focusPolicy() & Qt::TabFocus)
            out << tabs->tabBar();
        for (int i = 0; i < tabs->count(); ++i)
            laidOrder(tabs->widget(i), out);
        return;
    }
    if (auto* stack = qobject_cast<QStackedWidget*>(widget)) {
        for (int i = 0; i < stack->count(); ++i)
            laidOrder(stack->widget(i), out);
        return;
    }
    if (auto* splitter = qobject_cast<QSplitter*>(widget)) {
        for (int i = 0; i < splitter->count(); ++i)
            laidOrder(splitter->widget(i), out);
        return;
    }
    if (auto* scroll = qobject_cast<QScrollArea*>(widget)) {
        laidOrder(scroll->widget(), out);
        return;
    }
    // A control, or a combo box whose box takes the focus for it.
    if (widget->focusPolicy() & Qt::TabFocus) {
        out << widget;
        return;
    }
    if (widget->layout())
        laidOrder(widget->layout(), out);
}

void laidOrder(QLayout* layout, QList<QWidget*>& out)
{
    if (!layout)
        return;
    QList<QLayoutItem*> items;
    if (auto* grid = qobject_cast<QGridLayout*>(layout)) {
        // Row by row, each row left to right; but an item spanning several
        // rows stands as a column of its own: the columns before it are read
        // whole (row by row) first, then it, then the columns after it.
        struct Cell
        {
            int band, row, column;
            QLayoutItem* item;
        };
        QList<Cell> cells;
        QList<int> breaks; // a band starts at each of these columns
        for (int i = 0; i < grid->count(); ++i) {
            int row = 0, column = 0, rows = 0, columns = 0;
            grid->getItemPosition(i, &row, &column, &rows, &columns);
            if (rows > 1)
                breaks << column << column + columns;
            cells.append({0, row, column, grid->itemAt(i)});
        }
        for (Cell& c : cells)
            c.band = int(std::count_if(breaks.begin(), breaks.end(), [&c](int b) { return b <= c.column; }));
        std::stable_sort(cells.begin(), cells.end(), [](const Cell& a, const Cell& b) {
            return std::tie(a.band, a.row, a.column) < std::tie(b.band, b.row, b.column);
        });
        for (const Cell& c : cells)
            items << c.item;
    } else {
        for (int i = 0; i < layout->count(); ++i)
            items << layout->itemAt(i);
        // a row laid right to left is still read from the left
        if (auto* box = qobject_cast<QBoxLayout*>(layout))
            if (box->direction() == QBoxLayout::RightToLeft || box->direction() == QBoxLayout::BottomToTop)
                std::reverse(items.begin(), items.end());
    }
    for (QLayoutItem* item : items) {
        if (item->widget())
            laidOrder(item->widget(), out);
        else if (item->layout())
            laidOrder(item->layout(), out);
    }
}

} // namespace

void orderTabsAsLaid(QWidget* screen)
{
    QList<QWidget*> order;
    laidOrder(screen->layout(), order);
    for (int i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order.at(i - 1), order.at(i));
}

void KeyboardPolicy::install()
{
    static KeyboardPolicy* installed = nullptr;
    if (installed || !qApp)
        return;
    installed = new KeyboardPolicy;
    installed->setParent(qApp);
    qApp->installEventFilter(installed);
}

bool KeyboardPolicy::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<const QKeyEvent*>(event);
    const Qt::KeyboardModifiers others = key->modifiers() & ~Qt::KeyboardModifiers(Qt::KeypadModifier);
    if (isEnterKeyPress(event) && others == Qt::KeyboardModifiers()) {
        auto* button = qobject_cast<QPushButton*>(watched);
        if (button && button->hasFocus() && button->isEnabled() && button->isVisible()) {
            button->click();
            return true;
        }
        // From a box of an area with an enter button, that button; a text of
        // several lines takes Enter as a new line.
        auto* widget = qobject_cast<QWidget*>(watched);
        const bool lines = qobject_cast<QPlainTextEdit*>(watched) || qobject_cast<QTextEdit*>(watched);
        if (!button && !lines && widget && widget->hasFocus() && !widget->property(kEnterMovesOn).toBool()) {
            QPushButton* target = enterButtonFor(widget);
            if (target && target->isEnabled() && target->isVisible()) {
                target->click();
                return true;
            }
        }
        return false;
    }
    if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)
        if (auto* view = qobject_cast<QAbstractItemView*>(watched))
            view->setTabKeyNavigation(false); // the view then passes the focus on
    return false;
}

void closeScreen(QWidget* screen)
{
    if (auto* sub = qobject_cast<QMdiSubWindow*>(screen->parentWidget()))
        sub->close();
    else
        screen->close();
}

} // namespace velmora::app
