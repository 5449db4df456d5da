#include "gui/common/ScreenSupport.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiSubWindow>

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

void makePasswordBox(QLineEdit* edit)
{
    edit->setEchoMode(QLineEdit::Password);
    edit->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
}

void closeScreen(QWidget* screen)
{
    if (auto* sub = qobject_cast<QMdiSubWindow*>(screen->parentWidget()))
        sub->close();
    else
        screen->close();
}

} // namespace velmora::app
