#include "SkinFolders.h"

#include "core/Files.h"

namespace kx {

std::string skinsFolder(const std::string& korvexDir) { return resolvePath(korvexDir, "korvex.wfd/skins"); }

bool isUsableSkinName(const std::string& name) { return isUsableDiskName(name, true); }

std::vector<std::string> skinNames(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& name : listFolders(folder))
        if (isUsableSkinName(name)) names.push_back(name);
    return names;
}

} // namespace kx
