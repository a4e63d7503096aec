#pragma once
// The game's level list levels.nfo: one level per line; its name is the line after its first
// five characters, cut five characters before the last ":" of that rest.

#include <string>
#include <vector>

namespace kx {

// The level name of one line; "" for a short line, a line without ":", or a cut that would
// fall before the start (never out of bounds).
std::string levelName(const std::string& line);

struct LevelList {
    std::vector<std::string> names; // one per line, empty names included
    int selected = -1;              // index of the last name equal (ignoring case) to the preselection
};

LevelList levelNames(const std::vector<std::string>& lines, const std::string& preselect);
// <dir>/levels.nfo; raises the file's RunError (53 when missing).
LevelList readLevelList(const std::string& korvexDir, const std::string& preselect);
std::string levelListPath(const std::string& korvexDir);

} // namespace kx
