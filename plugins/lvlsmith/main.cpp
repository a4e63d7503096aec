// LVLSMITH: the level modding assistant. Command line: the game directory.
#include "mdlModule.h"

#include "shared/Program.h"

int main(int argc, char** argv) {
    return kx::runProgram(argc, argv, {"LVLSMITH", false, true},
                          [](const std::string& commandLine) { kx::lvlsmith::Main(commandLine); });
}
