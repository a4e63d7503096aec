// skindefinition.ini as the launcher reads it: every line split and parsed by the skin rule.
#include "Skins.h"

#include "core/Text.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const char* const keys[] = {"logofile", "headfile", "bodyfile", "iconfile", "hideline"};
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    for (const auto& line : kx::splitLines(bytes)) {
        const auto s = kx::launcher::parseSkinLine(line);
        if (s.skipped != (line.size() == 9)) __builtin_trap();
        if (s.skipped) continue;
        if (s.value != (line.size() > 9 ? line.substr(9) : std::string())) __builtin_trap();
        if (s.key != kx::launcher::SkinKey::None &&
            kx::lcase(line.substr(0, 8)) != keys[static_cast<int>(s.key)])
            __builtin_trap();
    }
    return 0;
}
