// mod_quillroom: the script editor. Command line: the game directory. Runs once only.
#include "frmMain.h"

#include "shared/Program.h"

int main(int argc, char** argv) {
    return kx::runProgram(argc, argv, {"mod_quillroom", true, true},
                          [](const std::string& commandLine) { kx::quillroom::startModule(commandLine); });
}
