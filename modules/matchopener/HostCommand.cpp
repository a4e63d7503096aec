#include "HostCommand.h"

#include "Files.h"
#include "Text.h"

#include <cmath>

namespace kx::matchopener {

GameCommand hostCommand(const std::string& korvexDir, const HostChoice& c) {
    const std::string q = "\"";
    GameCommand cmd;
    cmd.program = resolvePath(korvexDir, "Game.exe");
    const std::string params = "+host +maxplayers" + c.players + " +name " + q + c.name + q + " +team " + q + c.team +
                               q + " +hostname " + q + c.gameName + q + " +map " + q + c.map + q + " +game " + q +
                               c.gameType + q;
    cmd.text = cmd.program + " " + params;
    // The player item's leading blank is the separator after "+maxplayers".
    const std::string players = trim(c.players);
    cmd.args = {"+host", "+maxplayers"};
    if (!players.empty()) cmd.args.push_back(players);
    for (const auto& [option, value] : {std::pair{"+name", &c.name}, std::pair{"+team", &c.team},
                                        std::pair{"+hostname", &c.gameName}, std::pair{"+map", &c.map},
                                        std::pair{"+game", &c.gameType}}) {
        cmd.args.push_back(option);
        cmd.args.push_back(*value);
    }
    return cmd;
}

int storedIndex(const std::string& value, int count) {
    const double d = val(value);
    if (!std::isfinite(d) || d <= -1.0 || d >= count) return 0;
    const long long index = roundHalfEven(d);
    return index >= 0 && index < count ? static_cast<int>(index) : 0;
}

} // namespace kx::matchopener
