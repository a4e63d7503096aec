#pragma once
// The plug-in menu: one item per plug-in description file in korvex.wfd/plugins, and the
// runner that starts the program a description names.

#include <string>

namespace kx::launcher {

enum class PlugInFill { StartUp, Reload };

// Fills the menu array mnuToolsPlugIn of the main window; the start-up form shows its
// progress on the splash window and logs. true when at least one plug-in file was found.
bool fillPlugInMenu(PlugInFill form);

// The item "reload plug-ins": empties the menu array, fills it anew and says how many it found.
void reloadPlugIns();

// Runs a plug-in by its file name (with ".spi"), as the autoexec script asks.
void execPlugIn(const std::string& fileName);
// Runs the plug-in of a menu item.
void runPlugInItem(int index);

} // namespace kx::launcher
