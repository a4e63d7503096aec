#pragma once
// The connect command line of the game.

#include "shared/GameCommand.h"

#include <string>

namespace kx::seatfinder {

using kx::GameCommand;

// Game.exe +connect ADDRESS +name "NAME" +team "TEAM"; the program is <dir>/Game.exe.
GameCommand joinCommand(const std::string& korvexDir, const std::string& address, const std::string& name,
                        const std::string& team);

} // namespace kx::seatfinder
