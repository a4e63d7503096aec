#pragma once
// A start of the game: the program, one argument per option and per quoted value (taken
// verbatim, so a '"' or a leading "-" in a name cannot add options), and the command text the
// front end has always built, kept for boxes, logs and tests.

#include <string>
#include <vector>

namespace kx {

struct GameCommand {
    std::string program;
    std::vector<std::string> args;
    std::string text;
};

} // namespace kx
