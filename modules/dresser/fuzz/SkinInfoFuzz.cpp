// skininfo.ini as the skin chooser shows it: the comment lines left out, every other line kept.
#include "frmMain.h"

#include "core/Text.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const auto lines = kx::splitLines(bytes);
    const std::string shown = kx::dresser::shownInfo(lines);
    size_t kept = 0;
    for (const auto& line : lines)
        if (line.empty() || line[0] != ';') kept += line.size() + 1;
    if (shown.size() != kept || (!shown.empty() && shown.back() != '\n')) __builtin_trap();
    return 0;
}
