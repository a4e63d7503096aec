// mod_addonsmith: the plug-in wizard. Command line: the game directory.
#include "Form1.h"

#include "shared/Program.h"

int main(int argc, char** argv) {
    return kx::runProgram(argc, argv, {"mod_addonsmith", false, true}, [](const std::string& commandLine) {
        auto* form = new kx::addonsmith::Form1(commandLine);
        form->setAttribute(Qt::WA_DeleteOnClose);
        form->Form_Load();
        form->show();
    });
}
