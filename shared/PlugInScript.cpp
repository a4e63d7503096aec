#include "shared/PlugInScript.h"

#include "shared/Boxes.h"
#include "core/Files.h"
#include "core/KeyPrefix.h"
#include "core/Text.h"

namespace kx {

std::vector<std::string> plugInScriptLines(const PlugInFields& f) {
    const std::string stars = ";" + std::string(45, '*');
    const std::string name = stripBreaks(f.name), author = stripBreaks(f.author),
                      version = stripBreaks(f.version);
    return {
        stars,
        "; Quellfort Korvex PlugIn Script",
        ";",
        "; Name    - " + name,
        "; Version - " + version,
        ";",
        "; Written by " + author + ".",
        "; Written with Korvex PlugIn Wizard",
        stars,
        ";",
        ";PlugIn Properties",
        std::string(spikey::Author) + "=" + author,
        std::string(spikey::Version) + "=" + version,
        ";Application Properties",
        std::string(spikey::AppRoot) + "=" + stripBreaks(f.appRoot),
        std::string(spikey::AppFile) + "=" + stripBreaks(f.appFile),
        ";Korvex Properties",
        std::string(spikey::ShDebug) + "=" + boolToText(f.shDebug ? 1 : 0),
        std::string(spikey::UsesWfd) + "=" + boolToText(f.usesWfd ? 1 : 0),
        std::string(spikey::UsesQfd) + "=" + boolToText(f.usesQfd ? 1 : 0),
        std::string(spikey::RtnInfo) + "=" + boolToText(f.rtnInfo ? 1 : 0),
    };
}

std::map<std::string, std::string> readPlugInScript(const std::vector<std::string>& lines, SpiRules rules) {
    using namespace spikey;
    if (rules == SpiRules::Wizard)
        return readKeyLines(lines, keyRule(7), {Author, Version, AppRoot, AppFile, ShDebug, UsesWfd, UsesQfd, RtnInfo});
    auto values = readKeyLines(lines, keyRule(7, true), {AppRoot, AppFile, ShDebug, UsesWfd, UsesQfd, RtnInfo});
    for (auto& [key, value] : values) value = lcase(value);
    return values;
}

std::string plugInFolder(const std::string& korvexDir) { return resolvePath(korvexDir, "korvex.wfd/plugins"); }

bool isUsablePlugInName(const std::string& fileName) { return isUsableDiskName(fileName, false); }

} // namespace kx
