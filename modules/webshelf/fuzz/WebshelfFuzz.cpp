// The link library reader over any bytes: it never fails, every link has its folder, and the
// folder names are unique (the tree's keys). Capitalising is stable: a capitalised text stays
// as it is when capitalised again, as long as capitalising did not change how the text reads
// (Windows-1252 text that happens to become valid UTF-8, "\xe3\xb0" giving "\xc3\xb0").
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
        links += f.links.size();
    }
    if (links > size) __builtin_trap(); // each link needs a line of its own

    const std::string once = kx::webshelf::capitaliseName(bytes);
    if (kx::isUtf8WithHighBytes(once) == kx::isUtf8WithHighBytes(bytes) &&
        kx::webshelf::capitaliseName(once) != once)
        __builtin_trap();
    return 0;
}
