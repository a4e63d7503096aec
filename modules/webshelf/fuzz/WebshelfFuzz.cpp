// The link library reader over any bytes: it never fails, every link has its folder, and the
// folder names are unique (the tree's keys).
#include "Webshelf.h"

#include "core/Text.h"

#include <cstdint>
#include <set>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const auto folders = kx::webshelf::parseWebshelf(kx::splitLines(bytes), "/base");
    std::set<std::string> names;
    size_t links = 0;
    for (const auto& f : folders) {
        if (!names.insert(f.name).second) __builtin_trap();
        if (kx::webshelf::capitaliseName(f.name) != f.name) __builtin_trap();
        links += f.links.size();
    }
    if (links > size) __builtin_trap(); // each link needs a line of its own
    return 0;
}
