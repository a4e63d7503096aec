#pragma once
// The screenshot backup: the game's .tga files moved into a new time-stamped folder under
// the snapshot directory.

#include <string>

namespace kx::launcher {

// The result text the callers show; empty when report is false.
std::string backUpScreenShots(bool report);

} // namespace kx::launcher
