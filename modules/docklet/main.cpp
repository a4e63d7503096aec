// mod_docklet: the notification-area launcher. Command line: the game directory.
#include "Form1.h"

#include "shared/Program.h"

int main(int argc, char** argv) {
    // One instance; its only window is mostly hidden, so closing windows never ends it.
    return kx::runProgram(argc, argv, {"mod_docklet", true, false}, kx::docklet::start);
}
