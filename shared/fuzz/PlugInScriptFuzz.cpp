// The plug-in description reader under both rule sets over any bytes, and the writer's round
// trip: fields taken from the input are written and read back by the wizard's rules.
#include "shared/PlugInScript.h"
#include "core/Text.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const auto lines = kx::splitLines(bytes);
    for (auto rules : {kx::SpiRules::Wizard, kx::SpiRules::Launcher})
        for (const auto& [key, value] : kx::readPlugInScript(lines, rules))
            if (key.size() != 7) __builtin_trap();

    // Five fields cut from the bytes as they come (line breaks and NULs included), four flags
    // from the first byte.
    std::string part[5];
    for (size_t i = 0; i < size; ++i) part[i % 5] += static_cast<char>(data[i]);
    const unsigned flags = size ? data[0] : 0;
    kx::PlugInFields f{part[0], part[1], part[2], part[3], part[4],
                       (flags & 1) != 0, (flags & 2) != 0, (flags & 4) != 0, (flags & 8) != 0};
    const auto written = kx::plugInScriptLines(f);
    if (written.size() != 21) __builtin_trap();
    // Joined and split again as the file gives it back: still 21 lines, no value added one.
    const auto reread = kx::splitLines(kx::joinLines(written));
    if (reread != written) __builtin_trap();
    auto v = kx::readPlugInScript(reread, kx::SpiRules::Wizard);
    if (v["authorn"] != kx::stripBreaks(f.author) || v["version"] != kx::stripBreaks(f.version) ||
        v["approot"] != kx::stripBreaks(f.appRoot) || v["appfile"] != kx::stripBreaks(f.appFile))
        __builtin_trap();
    const auto flag = [&](const char* key) { return v[key] == "true"; };
    if (flag("shdebug") != f.shDebug || flag("useswfd") != f.usesWfd || flag("usesqfd") != f.usesQfd ||
        flag("rtninfo") != f.rtnInfo)
        __builtin_trap();
    return 0;
}
