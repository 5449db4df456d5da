#include "gui/common/ScreenSupport.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTimer>

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

EnterAsTab* EnterAsTab::install(QObject* owner, std::initializer_list<QWidget*> widgets)
{
    auto* filter = new EnterAsTab(owner);
    for (QWidget* w : widgets)
        w->installEventFilter(filter);
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
