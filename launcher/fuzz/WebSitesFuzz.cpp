// The web-site list's readers over any bytes: the menu's descriptors and the look-up of each.
#include "WebSites.h"

#include "core/Text.h"

#include <algorithm>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto lines = kx::splitLines(std::string(reinterpret_cast<const char*>(data), size));
    const auto descriptors = kx::launcher::webSiteDescriptors(lines);
    if (descriptors.size() > lines.size()) __builtin_trap();
    for (size_t i = 0; i < descriptors.size() && i < 16; ++i) {
        const auto url = kx::launcher::webSiteURL(lines, descriptors[i]);
        // An address is always a line of the file.
        if (url && std::find(lines.begin(), lines.end(), *url) == lines.end()) __builtin_trap();
    }
    (void)kx::launcher::webSiteURL(lines, "");
    return 0;
}
