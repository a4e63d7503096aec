// mod_tunebench: writes the game's default.cfg. Command line: the game directory.
#include "frmConfig.h"

#include "shared/Program.h"

int main(int argc, char** argv) {
    return kx::runProgram(argc, argv, {"mod_tunebench", false, true}, [](const std::string& commandLine) {
        auto* form = new kx::tunebench::frmConfig(commandLine);
        form->setAttribute(Qt::WA_DeleteOnClose);
        form->Form_Load();
        form->show();
    });
}
