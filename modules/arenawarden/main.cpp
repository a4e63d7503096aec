// mod_arenawarden: the dedicated-server module. Started by the launcher or the tray module with
// the game directory as its whole command line.
#include "GameServer.h"

#include "shared/Program.h"

int main(int argc, char** argv) {
    // The module decides itself when it ends: a cycling server swaps its windows, and a hidden
    // running-server window must not keep or end it by accident.
    return kx::runProgram(argc, argv, {"mod_arenawarden", true, false},
                          [](const std::string& commandLine) { kx::arenawarden::startModule(commandLine); });
}
