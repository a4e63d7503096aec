// The line splitter and the key-prefix reader over any bytes: every rule the suite's files use.
#include "core/KeyPrefix.h"
#include "core/Text.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const auto lines = kx::splitLines(bytes);
    for (size_t n : {7u, 8u, 10u, 11u}) {
        // Keys of the right length, some taken from the input so that lines match.
        std::vector<std::string> keys{std::string(n, 'a'), "playername=host-mpmap"};
        keys.back().resize(n);
        for (size_t i = 0; i < lines.size() && i < 4; ++i)
            if (lines[i].size() >= n) keys.push_back(lines[i].substr(0, n));
        for (bool ignoreCase : {false, true}) {
            const auto values = kx::readKeyLines(lines, kx::keyRule(n, ignoreCase), keys);
            for (const auto& [k, v] : values)
                if (k.size() != n) __builtin_trap();
        }
    }
    return 0;
}
