#pragma once
// The game's default settings file <game dir>/default.cfg as this module writes it: twelve
// lines, always replaced whole, and the six connection presets.

#include <array>
#include <string>
#include <vector>

namespace kx::tunebench {

struct ConnectionPreset {
    const char* text; // the preset list's entry
    int fov, viewdist, mousesens, latency, maxdup, maxresend;
    int nettest, framerate; // check box values
};

// List positions 0 to 5, in list order.
const std::array<ConnectionPreset, 6>& connectionPresets();

// "off" for 0, "on" for 1, "" for any other value (the dimmed state).
std::string CheckValueToOnOff(int value);

// What the window holds when "&ok" writes: the value labels' captions (" 200") and the
// limit boxes' texts as shown, the check boxes' values.
struct DefaultsText {
    std::string fov, viewdist, mousesens, latency, maxdup, maxresend;
    std::string scorelimit, fraglimit, timelimit;
    int nextmap = 0, nettest = 0, framerate = 0;
};

// The twelve lines of default.cfg, without their line ends. A line break in a value would add
// a line the game reads as a setting of its own, so values lose CR, LF and NUL.
std::vector<std::string> defaultCfgLines(const DefaultsText& d);

// <game dir>/default.cfg, matched ignoring case.
std::string defaultCfgPath(const std::string& korvexDir);

} // namespace kx::tunebench
