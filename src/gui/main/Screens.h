#pragma once

namespace velmora::app {

class ScreenRegistry;

// Registers every screen of the program under the menu item that opens it.
void registerScreens(ScreenRegistry& registry);

} // namespace velmora::app
