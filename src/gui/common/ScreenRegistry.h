#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <map>

class QWidget;

namespace velmora::app {

struct Session;

// Makes a new instance of a screen; the caller takes ownership.
using ScreenFactory = std::function<QWidget*(Session&)>;

// The screens the main menu opens, keyed by the objectName of their menu item.
// A menu item with no screen here is disabled.
class ScreenRegistry
{
public:
    void add(const QString& menuItem, ScreenFactory factory);
    bool has(const QString& menuItem) const;
    // A new instance, or null when the item has no screen.
    QWidget* create(const QString& menuItem, Session& session) const;
    QStringList menuItems() const;

private:
    std::map<QString, ScreenFactory> m_factories;
};

// The menu items that open a screen, in menu order.
QStringList screenMenuItems();

// The menu items whose screens get one hidden, never shown instance at
// start-up, after the main window (their creation steps read its date values).
QStringList precreatedScreenItems();

} // namespace velmora::app
