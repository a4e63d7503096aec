// levels.nfo: the level-name cut over any lines; a name always lies inside its line, and the
// preselection finds the name it was given.
#include "core/Text.h"
#include "core/fuzz/FuzzInput.h"
#include "shared/LevelList.h"

#include <cstdint>
#include <string>

using namespace kx;
using fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const fuzz::Input in = fuzz::splitInput(data, size);
    const auto lines = splitLines(in.file);
    const std::string preselect = in.value(0, lines.empty() ? "" : levelName(lines.back()));
    const LevelList list = levelNames(lines, preselect);
    require(list.names.size() == lines.size());
    require(list.selected >= -1 && list.selected < int(lines.size()));
    for (size_t i = 0; i < lines.size(); ++i)
        require(list.names[i].empty() || lines[i].compare(5, list.names[i].size(), list.names[i]) == 0);
    if (list.selected >= 0) require(lcase(list.names[size_t(list.selected)]) == lcase(preselect));
    return 0;
}
