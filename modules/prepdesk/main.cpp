// mod_prepdesk: the suite's first-run set-up wizard. No single-instance check: a second start
// shows a second, independent wizard.
#include "frmSetup.h"

#include "shared/Program.h"

int main(int argc, char** argv) {
    return kx::runProgram(argc, argv, {"mod_prepdesk", false, true}, [](const std::string& commandLine) {
        // Lives until the wizard is unloaded, which ends the module.
        static kx::prepdesk::frmSetup* wizard = nullptr;
        wizard = new kx::prepdesk::frmSetup(commandLine);
        wizard->show();
    });
}
