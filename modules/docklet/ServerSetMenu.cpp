#include "ServerSetMenu.h"

#include "core/Files.h"
#include "core/RunError.h"
#include "shared/ServerSetNames.h"

namespace kx::docklet {

std::vector<ServerSetItem> serverSetItems(const std::vector<std::string>& fileNames) {
    std::vector<ServerSetItem> items;
    for (const auto& name : fileNames) {
        if (!isUsableServerSetName(name, true)) continue;
        items.push_back({name.substr(0, name.find('.')), name});
    }
    return items;
}

std::vector<std::string> listServerSets(const std::string& korvexDir) {
    const std::string dir = resolvePath(korvexDir, "korvex.wfd/config/serversets");
    if (!dirExists(dir)) return {};
    try {
        return listFiles(dir, "*.ini");
    } catch (const RunError&) {
        return {};
    }
}

} // namespace kx::docklet
