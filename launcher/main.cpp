// QFKorvex, the main program: started with the game directory as its current directory.
#include "Launcher.h"

#include "shared/Program.h"

int main(int argc, char** argv) {
    // Only the shut-down and the loader's error path end it, never a last closed window.
    return kx::runProgram(argc, argv, kx::ProgramInfo{"QFKorvex", true, false},
                          [](const std::string&) { kx::launcher::startLauncher(); });
}
