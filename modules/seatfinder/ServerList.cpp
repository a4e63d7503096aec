#include "ServerList.h"

#include "core/Files.h"

namespace kx::seatfinder {

ServerList parseServerList(const std::vector<std::string>& lines) {
    ServerList list;
    for (const auto& line : lines) {
        if (!line.empty() && line[0] == ';') continue;
        if (!line.empty() && line[0] == '#') list.addresses.push_back(line.substr(1));
        else list.names.push_back(line);
    }
    return list;
}

std::string serverListPath(const std::string& korvexDir) {
    return resolvePath(korvexDir, "korvex.wfd/config/servers.ini");
}

namespace {
bool holdsBreak(const std::string& s) { return s.find_first_of("\r\n") != std::string::npos; }
} // namespace

bool isStorableName(const std::string& name) {
    return !name.empty() && name[0] != '#' && name[0] != ';' && !holdsBreak(name);
}

bool isStorableAddress(const std::string& address) { return !address.empty() && !holdsBreak(address); }

void appendServer(const std::string& path, const std::string& name, const std::string& address) {
    appendLines(path, {name, "#" + address}, true);
}

} // namespace kx::seatfinder
