// mod_tidyup: deletes the suite's large logs when the launcher closes. Command line: the game
// directory.
#include "frmOutPut.h"

#include "shared/Program.h"

int main(int argc, char** argv) {
    return kx::runProgram(argc, argv, {"mod_tidyup", true, true}, [](const std::string& commandLine) {
        auto* form = new kx::tidyup::frmOutPut;
        form->setAttribute(Qt::WA_DeleteOnClose);
        form->run(commandLine);
    });
}
