#include "JoinCommand.h"

#include "core/Files.h"
#include "core/Text.h"


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


} // namespace kx::seatfinder
