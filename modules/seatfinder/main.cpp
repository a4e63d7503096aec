// mod_seatfinder: join a network game from the server list. Command line: the game directory.
#include "frmJoiner.h"

#include "shared/Program.h"

int main(int argc, char** argv) {
    return kx::runProgram(argc, argv, {"mod_seatfinder", false, true}, [](const std::string& commandLine) {
        auto* form = new kx::seatfinder::frmJoiner(commandLine);
        form->setAttribute(Qt::WA_DeleteOnClose);
        form->Form_Load();
        form->show();
    });
}
