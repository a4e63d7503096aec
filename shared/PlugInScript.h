#pragma once
// The plug-in description file korvex.wfd/plugins/<name>.spi: the wizard writes it, the
// wizard and the launcher read it back, each by its own rules. Key lines are a 7-letter key,
// one character that is not looked at (normally "="), and the value to the end of the line.

#include <map>
#include <string>
#include <vector>

namespace kx {

namespace spikey {
inline constexpr const char *Author = "authorn", *Version = "version", *AppRoot = "approot",
                            *AppFile = "appfile", *ShDebug = "shdebug", *UsesWfd = "useswfd",
                            *UsesQfd = "usesqfd", *RtnInfo = "rtninfo";
}

// What the wizard's form holds. The name becomes the file name and line 4.
struct PlugInFields {
    std::string name, author, version, appRoot, appFile;
    bool shDebug = false, usesWfd = false, usesQfd = true, rtnInfo = true;
};

// The 21 lines of the file; every value loses CR, LF and NUL, so none can add a line.
std::vector<std::string> plugInScriptLines(const PlugInFields& f);

enum class SpiRules {
    // The wizard: the eight keys, exact case, values as they stand.
    Wizard,
    // The launcher: the six keys it uses (no authorn, version), case ignored, values lower-cased.
    Launcher,
};

// The value of each key that occurs, the last line winning; keys that do not occur are absent.
std::map<std::string, std::string> readPlugInScript(const std::vector<std::string>& lines, SpiRules rules);

// <korvexDir>/korvex.wfd/plugins, resolved ignoring case.
std::string plugInFolder(const std::string& korvexDir);

// The rule for the names of description files found in the plug-in folder, shared by what lists
// them and what runs them: a name is used as it is ("Tool: Map.spi", "what?.spi") unless it
// holds a path (a separator, "." or "..") or is empty.
bool isUsablePlugInName(const std::string& fileName);

} // namespace kx
