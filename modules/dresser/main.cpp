// mod_dresser: choose the launcher's skin and switch random skins. Command line: the game directory.
#include "frmMain.h"

#include "shared/Program.h"

int main(int argc, char** argv) {
    return kx::runProgram(argc, argv, {"mod_dresser", true, true}, [](const std::string& commandLine) {
        auto* form = new kx::dresser::frmMain(commandLine);
        form->setAttribute(Qt::WA_DeleteOnClose);
        form->Form_Load();
        form->show();
    });
}
