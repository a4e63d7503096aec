#pragma once
// The host command line of the game and the reading of the stored host defaults.

#include <string>
#include <vector>

namespace kx::matchopener {

// What the window holds when "&Ok" is pressed, as the controls give it.
struct HostChoice {
    std::string players; // the player list item, with its leading blank: " 8"
    std::string name;
    std::string team;
    std::string gameName;
    std::string map;
    std::string gameType;
};

// The game start: the program, one argument per option and per quoted value (taken verbatim,
// so a '"' or a leading "-" in a name cannot add options), and the command text the game's
// front end has always built, kept for boxes and tests.
struct GameCommand {
    std::string program;
    std::vector<std::string> args;
    std::string text;
};

// <dir>/Game.exe +host +maxplayers 8 +name "..." +team "..." +hostname "..." +map "..." +game "..."
GameCommand hostCommand(const std::string& korvexDir, const HostChoice& choice);

// A stored list index (" 6") as a position in a list of count entries. A value outside the
// list, or too large for a number, gives 0 so that a damaged korvex.cfg still opens the window.
int storedIndex(const std::string& value, int count);

} // namespace kx::matchopener
