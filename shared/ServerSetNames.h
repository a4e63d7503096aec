#pragma once
// ServerSet files korvex.wfd/config/serversets/<name>.ini, a saved configuration of the
// dedicated server.

#include <string>

namespace kx {

// The rule for ServerSet file names found on disk, shared by the tray module, which lists them
// and hands the chosen one over, and the dedicated server module, which reads the one handed
// over or picked from its own list: a name is used as it is unless it holds a path ("/", "\",
// "." or "..", empty). A name handed over goes into a line of the per-user settings and so
// holds no line break either.
bool isUsableServerSetName(const std::string& fileName, bool handedOver);

} // namespace kx
