#pragma once
// The host command line of the game.

#include "shared/GameCommand.h"

#include <string>

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

using kx::GameCommand;

// <dir>/Game.exe +host +maxplayers 8 +name "..." +team "..." +hostname "..." +map "..." +game "..."
GameCommand hostCommand(const std::string& korvexDir, const HostChoice& choice);

} // namespace kx::matchopener
