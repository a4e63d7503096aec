#include "HostCommand.h"

#include "core/Files.h"
#include "core/Text.h"


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


} // namespace kx::matchopener
