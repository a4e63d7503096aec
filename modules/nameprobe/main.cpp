// mod_nameprobe HOST: shows the first IPv4 address of HOST. Runs once only.
#include "Startup.h"

#include "shared/Program.h"

int main(int argc, char** argv) {
    return kx::runProgram(argc, argv, {"mod_nameprobe", true, true}, [](const std::string& commandLine) {
        auto form = kx::nameprobe::Main(commandLine);
        form->setAttribute(Qt::WA_DeleteOnClose);
        form.release(); // owned by the window system from here: deleted when it closes
    });
}
