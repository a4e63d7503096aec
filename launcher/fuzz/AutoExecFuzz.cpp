// The autoexec script's command reader over any bytes.
#include "AutoExec.h"

#include "core/Text.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto lines = kx::splitLines(std::string(reinterpret_cast<const char*>(data), size));
    const auto commands = kx::launcher::autoExecCommands(lines);
    if (commands.size() != lines.size()) __builtin_trap();
    for (size_t i = 0; i < lines.size(); ++i) {
        const auto& c = commands[i];
        if (c.command == kx::launcher::AutoExecCommand::None) {
            if (!c.value.empty()) __builtin_trap();
        } else if (lines[i].size() < 10 || (lines[i].size() > 11 && c.value != lines[i].substr(11))) {
            __builtin_trap();
        }
    }
    return 0;
}
