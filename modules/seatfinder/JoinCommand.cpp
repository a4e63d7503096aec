#include "JoinCommand.h"

#include "Files.h"
#include "Text.h"

#include <cmath>

namespace kx::seatfinder {

GameCommand joinCommand(const std::string& korvexDir, const std::string& address, const std::string& name,
                        const std::string& team) {
    const std::string q = "\"";
    GameCommand cmd;
    cmd.program = resolvePath(korvexDir, "Game.exe");
    cmd.text = "Game.exe +connect " + address + " +name " + q + name + q + " +team " + q + team + q;
    cmd.args = {"+connect", address, "+name", name, "+team", team};
    return cmd;
}

int storedIndex(const std::string& value, int count) {
    const double d = val(value);
    if (!std::isfinite(d) || d <= -1.0 || d >= count) return 0;
    const long long index = roundHalfEven(d);
    return index >= 0 && index < count ? static_cast<int>(index) : 0;
}

} // namespace kx::seatfinder
