#include "SkinFolders.h"

#include "core/Files.h"

namespace kx {

std::string skinsFolder(const std::string& korvexDir) { return resolvePath(korvexDir, "korvex.wfd/skins"); }

std::vector<std::string> skinNames(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& name : listFolders(folder))
        if (name.find_first_of("\r\n") == std::string::npos) names.push_back(name);
    return names;
}

} // namespace kx
