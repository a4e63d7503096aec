#pragma once
// The start-up procedure of mod_nameprobe: the whole command line is the host name to look up.

#include "frmMain.h"

#include <memory>
#include <string>

namespace kx::nameprobe {

// Looks the host up and shows the window with the result; the look-up is over before the
// window appears. Ends the program through the platform (after its box) when the command
// line is empty or the socket service does not start. The second-copy test runs before this.
std::unique_ptr<frmMain> Main(const std::string& commandLine);

} // namespace kx::nameprobe
