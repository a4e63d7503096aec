#pragma once
// Starting the game's dedicated server and closing it again by its window title, and the
// module's start-up.

#include <cstdint>
#include <string>
#include <vector>

namespace kx::arenawarden {

// The title the game gives its dedicated server's window (24711 is the game's port).
inline const std::string DedicatedServerTitle = "Quellfort dedicated server on port 24711";

struct ServerCommand {
    std::string text;              // as logged: +host +maxplayers 9 +hostname "..." ... +dedicated
    std::vector<std::string> args; // as started: one argument per option and per quoted value
};

// The game is always told one player more than the chosen count.
ServerCommand serverCommand(std::int16_t players, const std::string& hostName, const std::string& map,
                            const std::string& gameType);

// Logs "Starting QF..." on the running-server window and starts <KorvexDir>/Game.exe without
// waiting. A failed start shows ShowTaskError and returns normally.
void StartServer(std::int16_t players, const std::string& hostName, const std::string& map,
                 const std::string& gameType);

// Asks every top-level window whose title (up to 255 characters) contains title, case-sensitive,
// to close; each request waits a few seconds at most for its window to go.
void KillWindowsByTitle(const std::string& title);

// The module's start-up: the game directory from the command line, then the configuration window.
void startModule(const std::string& commandLine);

} // namespace kx::arenawarden
