// mod_talkgate: the chat pages. Command line: the game directory.
#include "frmBrowser.h"

#include "core/User.h"
#include "shared/Program.h"

#include <QCoreApplication>

int main(int argc, char** argv) {
    // The browser engine shares its GL contexts; this must be set before the application.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    // The engine's sandbox cannot run as root: it would not start at all.
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX") && kx::runningAsRoot())
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    return kx::runProgram(argc, argv, {"mod_talkgate", false, true}, [](const std::string& commandLine) {
        auto* form = new kx::talkgate::frmBrowser(commandLine);
        form->setAttribute(Qt::WA_DeleteOnClose);
        form->Form_Load();
        form->show();
    });
}
