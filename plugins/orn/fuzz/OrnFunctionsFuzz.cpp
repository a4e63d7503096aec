// The function descriptor reader over any bytes, looked up by names taken from the input.
#include "OrnFunctions.h"

#include "core/Text.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const auto lines = kx::splitLines(bytes);
    std::vector<std::string> names{"mapmaker", "", "["};
    for (size_t i = 0; i < lines.size() && names.size() < 8; ++i)
        if (!lines[i].empty() && lines[i][0] == '[' && lines[i].size() >= 2)
            names.push_back(lines[i].substr(1, lines[i].size() - 2));
    for (const auto& name : names) {
        size_t logged = 0;
        const auto d = kx::orn::findDescriptor(lines, name, [&](const std::string&) { ++logged; });
        if (d.matched && name.empty()) __builtin_trap(); // no descriptor has an empty name
        if (!d.matched && !(d.tree.empty() && d.keyName.empty() && d.key.empty() && d.exe.empty())) __builtin_trap();
        (void)kx::orn::hiveHandle(d.tree);
    }
    return 0;
}
