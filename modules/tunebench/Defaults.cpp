#include "Defaults.h"

#include "core/Files.h"
#include "core/Text.h"

namespace kx::tunebench {

const std::array<ConnectionPreset, 6>& connectionPresets() {
    static const std::array<ConnectionPreset, 6> presets = {{
        {"Playing, Modem", 200, 200, 13, 2, 2, 5, 0, 0},
        {"Playing, ISDN", 200, 300, 13, 1, 2, 20, 0, 0},
        {"Playing, DSL / Cable", 200, 600, 13, 1, 2, 30, 0, 0},
        {"Playing, T-Connection", 200, 700, 10, 0, 4, 40, 0, 0},
        {"Playing, LAN", 200, 1200, 9, 0, 4, 40, 0, 0},
        {"Debugging / Mapmaking", 200, 2000, 13, 0, 1, 40, 1, 1},
    }};
    return presets;
}

std::string CheckValueToOnOff(int value) {
    if (value == 0) return "off";
    if (value == 1) return "on";
    return "";
}

std::vector<std::string> defaultCfgLines(const DefaultsText& d) {
    // The number keys carry no blank: the caption's leading blank separates key and value.
    std::vector<std::string> lines = {
        "fov" + d.fov,
        "viewdist" + d.viewdist,
        "mousesens" + d.mousesens,
        "latency" + d.latency,
        "maxdup" + d.maxdup,
        "maxresend" + d.maxresend,
        "scorelimit " + d.scorelimit,
        "fraglimit " + d.fraglimit,
        "timelimit " + d.timelimit,
        "nextmap " + CheckValueToOnOff(d.nextmap),
        "nettest " + CheckValueToOnOff(d.nettest),
        "fr " + CheckValueToOnOff(d.framerate),
    };
    for (auto& line : lines) line = stripBreaks(line);
    return lines;
}

std::string defaultCfgPath(const std::string& korvexDir) { return resolvePath(korvexDir, "default.cfg"); }

} // namespace kx::tunebench
