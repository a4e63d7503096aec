// mod_webshelf: the link library. Command line: the game directory.
#include "Form2.h"

#include "shared/Program.h"

int main(int argc, char** argv) {
    return kx::runProgram(argc, argv, {"mod_webshelf", false, true}, [](const std::string& commandLine) {
        auto* form = new kx::webshelf::Form2(commandLine);
        form->setAttribute(Qt::WA_DeleteOnClose);
        form->Form_Load();
        form->show();
    });
}
