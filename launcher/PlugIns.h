#pragma once
// The plug-in menu: one item per plug-in description file in korvex.wfd/plugins, and the
// runner that starts the program a description names.

#include <string>
#include <vector>

namespace kx::launcher {

enum class PlugInFill { StartUp, Reload };

// Fills the menu array mnuToolsPlugIn of the main window; the start-up form shows its
// progress on the splash window and logs. true when at least one plug-in file was found.
bool fillPlugInMenu(PlugInFill form);

// The item "reload plug-ins": empties the menu array, fills it anew and says how many it found.
// A failure is reported by ShowError; the menu cannot be used while it is rebuilt.
void reloadPlugIns();

// Runs a plug-in by its file name (with ".spi"), as the autoexec script asks.
void execPlugIn(const std::string& fileName);
// Runs the plug-in of a menu item: the file the item was made from.
void runPlugInItem(int index);

// What starts for the plug-in command text execDir & rest & " " & workDirectory: the longest
// prefix of the text that names an existing regular file is the program (a missing "x.exe"
// names "x"), the rest after its blank one argument (none when empty). The part after execDir
// is resolved ignoring case, with "\" as a separator. Without such a prefix the program is
// execDir & rest, which then fails to start. When the text starts with gameDir, only prefixes
// longer than gameDir count.
struct PlugInStart {
    std::string program;
    std::vector<std::string> args;
};
PlugInStart plugInStart(const std::string& execDir, const std::string& rest, const std::string& workDirectory,
                        const std::string& gameDir);

} // namespace kx::launcher
