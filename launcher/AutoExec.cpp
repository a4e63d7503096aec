#include "AutoExec.h"

#include "Form1.h"
#include "Form11.h"
#include "Launcher.h"
#include "PlugIns.h"

#include "core/Files.h"
#include "core/KeyPrefix.h"
#include "platform/Platform.h"

namespace kx::launcher {

std::vector<AutoExecLine> autoExecCommands(const std::vector<std::string>& lines) {
    std::vector<AutoExecLine> out(lines.size());
    const std::vector<std::string> words = {"execmodule", "execplugin", "execunload"};
    const AutoExecCommand commands[] = {AutoExecCommand::ExecModule, AutoExecCommand::ExecPlugIn,
                                        AutoExecCommand::ExecUnload};
    for (size_t i = 0; i < lines.size(); ++i)
        forEachKeyLine({lines[i]}, keyRule(10, true), words,
                       [&](size_t k, const std::string& value) { out[i] = {commands[k], value}; });
    return out;
}

void parseAutoExec(int progress) {
    // Read whole and closed before any command runs: the commands yield, and a plug-in run
    // reads a file of its own.
    const auto lines = readLines(resolvePath(state().korvexDir, "korvex.wfd/config/autoexec.ini"));
    std::string status;
    for (const auto& line : autoExecCommands(lines)) {
        switch (line.command) {
        case AutoExecCommand::ExecModule:
            moduleStart(line.value);
            status = "executing module...";
            break;
        case AutoExecCommand::ExecPlugIn:
            execPlugIn(line.value);
            status = "executing plugin...";
            break;
        case AutoExecCommand::ExecUnload:
            if (showBox("ExecUnload found in autoexec.ini\r\nTerminate Korvex 3.1?.", box::YesNo + box::Question,
                        "Question.") != box::No) {
                unloadForm11();
                form1().Form_Unload(); // ends the program
            }
            break;
        case AutoExecCommand::None: break;
        }
        if (progress == 1) {
            if (Form11* splash = loadedForm11()) splash->setStatus(status);
            platform().sleepMs(10);
        }
        platform().doEvents();
    }
}

} // namespace kx::launcher
