// Cycle lists (korvex.wfd/config/cyclelists/*.nfo): one level a line. Any bytes read as lines;
// the lines the window saves (line breaks stripped) read back as they were saved.
#include "core/Text.h"
#include "core/fuzz/FuzzInput.h"

#include <cstdint>
#include <string>

using namespace kx;
using fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const fuzz::Input in = fuzz::splitInput(data, size);
    std::vector<std::string> saved;
    for (const auto& l : splitLines(in.file)) saved.push_back(stripBreaks(l));
    for (const auto& v : in.values) saved.push_back(stripBreaks(v));
    require(splitLines(joinLines(saved)) == saved);
    return 0;
}
