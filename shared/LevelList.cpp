#include "shared/LevelList.h"

#include "core/Files.h"
#include "core/Text.h"

namespace kx {

std::string levelName(const std::string& line) {
    if (line.size() <= 5) return "";
    const std::string s = line.substr(5);
    const auto colon = s.rfind(':');
    if (colon == std::string::npos) return "";
    const long long cut = static_cast<long long>(colon) + 1 - 5;
    return cut > 0 ? s.substr(0, static_cast<size_t>(cut)) : "";
}

LevelList levelNames(const std::vector<std::string>& lines, const std::string& preselect) {
    LevelList out;
    const std::string wanted = lcase(preselect);
    for (size_t i = 0; i < lines.size(); ++i) {
        out.names.push_back(levelName(lines[i]));
        if (lcase(out.names.back()) == wanted) out.selected = static_cast<int>(i);
    }
    return out;
}

std::string levelListPath(const std::string& korvexDir) { return resolvePath(korvexDir, "levels.nfo"); }

LevelList readLevelList(const std::string& korvexDir, const std::string& preselect) {
    return levelNames(readLines(levelListPath(korvexDir)), preselect);
}

} // namespace kx
