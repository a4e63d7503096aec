// The per-user settings file (<app>.ini): its reader over any bytes, and a save read back:
// the value saved is the value read, and another value of the file reads as before.
#include "core/Text.h"
#include "core/fuzz/FuzzInput.h"
#include "platform/RealParts.h"

#include <cstdint>
#include <string>

using namespace kx;
using fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const fuzz::Input in = fuzz::splitInput(data, size);
    auto lines = splitLines(in.file);
    const std::string section = in.value(0, "settings"), key = in.value(1, "korvexdir"), value = in.value(2, "/games/x");
    const std::string otherSection = in.value(3, section), otherKey = in.value(4, "registereduser");
    const std::string other = real::iniValue(lines, otherSection, otherKey);

    real::iniPut(lines, section, key, value);
    const auto back = splitLines(joinLines(lines));
    require(real::iniValue(back, section, key) == value);
    if (!(equalsNoCase(section, otherSection) && equalsNoCase(key, otherKey)))
        require(real::iniValue(back, otherSection, otherKey) == other);
    return 0;
}
