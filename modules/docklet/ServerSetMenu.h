#pragma once
// The items of the submenu "launch serverset": one per ServerSet file, captioned by the name
// up to its first "." and remembering the file it was made from.

#include <string>
#include <vector>

namespace kx::docklet {

struct ServerSetItem {
    std::string caption;  // "cup" for cup.final.ini
    std::string fileName; // "cup.final.ini": what the hand-over stores
};

// The items for a folder listing, in listing order: the names the dedicated server module
// takes when they are handed over (isUsableServerSetName); the others are left out.
std::vector<ServerSetItem> serverSetItems(const std::vector<std::string>& fileNames);

// The ServerSet files of <korvexDir>/korvex.wfd/config/serversets ("*.ini"); none when the
// folder is missing or cannot be listed.
std::vector<std::string> listServerSets(const std::string& korvexDir);

} // namespace kx::docklet
