#include "gui/common/ScreenRegistry.h"

namespace velmora::app {

void ScreenRegistry::add(const QString& menuItem, ScreenFactory factory)
{
    m_factories[menuItem] = std::move(factory);
}

bool ScreenRegistry::has(const QString& menuItem) const
{
    const auto it = m_factories.find(menuItem);
    return it != m_factories.end() && it->second;
}

QWidget* ScreenRegistry::create(const QString& menuItem, Session& session) const
{
    const auto it = m_factories.find(menuItem);
    if (it == m_factories.end() || !it->second)
        return nullptr;
    return it->second(session);
}

QStringList ScreenRegistry::menuItems() const
{
    QStringList items;
    for (const auto& [name, factory] : m_factories)
        items << name;
    return items;
}

QStringList screenMenuItems()
{
    return {QStringLiteral("N23"), QStringLiteral("N6"), QStringLiteral("N5"), QStringLiteral("NCheck1"),
        QStringLiteral("N10"), QStringLiteral("N4"), QStringLiteral("N7"), QStringLiteral("N9"), QStringLiteral("N13"),
        QStringLiteral("N15"), QStringLiteral("N16"), QStringLiteral("ChangePassword1"), QStringLiteral("OrgSettings1"),
        QStringLiteral("Users1")};
}

QStringList precreatedScreenItems()
{
    return {QStringLiteral("N10"), QStringLiteral("ChangePassword1"), QStringLiteral("N13"), QStringLiteral("N15")};
}

} // namespace velmora::app
