// plg_orn: starts a program whose folder the registry names. Command line: "FUNC; BASE".
#include "Program.h"

#include "shared/Program.h"

int main(int argc, char** argv) {
    return kx::runProgram(argc, argv, {"plg_orn", false, true}, [](const std::string& commandLine) {
        kx::orn::Program program;
        program.Main(commandLine); // every path ends the program
    });
}
