#pragma once
// The connect command line of the game and the stored team default.

#include <string>
#include <vector>

namespace kx::seatfinder {

// The game start: the program, one argument per option and per quoted value (verbatim, so a
// '"' in a name cannot add options), and the command text as the join module has always
// built it ("Game.exe +connect ..."), kept for boxes and tests.
struct GameCommand {
    std::string program;
    std::vector<std::string> args;
    std::string text;
};

// Game.exe +connect ADDRESS +name "NAME" +team "TEAM"; the program is <dir>/Game.exe.
GameCommand joinCommand(const std::string& korvexDir, const std::string& address, const std::string& name,
                        const std::string& team);

// A stored list index as a position in a list of count entries; outside the list, or too
// large for a number, gives 0.
int storedIndex(const std::string& value, int count);

} // namespace kx::seatfinder
