#include "ScreenShots.h"

namespace kx::launcher {

std::string backUpScreenShots(bool report) { return report ? "No Files available to back up." : ""; }

} // namespace kx::launcher
