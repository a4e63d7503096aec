#pragma once
// The autoexec script korvex.wfd/config/autoexec.ini: modules and plug-ins started by the
// loader, and the request to end the main program.

namespace kx::launcher {

// progress 1 shows each command on the splash window.
void parseAutoExec(int progress);

} // namespace kx::launcher
