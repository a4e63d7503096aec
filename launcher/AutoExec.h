#pragma once
// The autoexec script korvex.wfd/config/autoexec.ini: modules and plug-ins started by the
// loader, and the request to end the main program.

#include <string>
#include <vector>

namespace kx::launcher {

// progress 1 shows each command on the splash window. A missing or unreadable file raises
// its run error to the caller (the loader's error path).
void parseAutoExec(int progress);

enum class AutoExecCommand { None, ExecModule, ExecPlugIn, ExecUnload };
struct AutoExecLine {
    AutoExecCommand command = AutoExecCommand::None;
    std::string value; // from the 12th character, untrimmed
};
// The command of each line: its first 10 characters, lower-cased, name it; the 11th is not
// looked at. Every other line is None.
std::vector<AutoExecLine> autoExecCommands(const std::vector<std::string>& lines);

} // namespace kx::launcher
