// mod_matchopener: host a network game. Command line: the game directory.
#include "frmHost.h"

#include "shared/Program.h"

int main(int argc, char** argv) {
    return kx::runProgram(argc, argv, {"mod_matchopener", false, true}, [](const std::string& commandLine) {
        auto* form = new kx::matchopener::frmHost(commandLine);
        form->setAttribute(Qt::WA_DeleteOnClose);
        form->Form_Load();
        form->show();
    });
}
