#pragma once
// The platform for this machine. With KORVEX_DIALOGS set it runs in scripted-dialog mode:
// boxes and input boxes are written to that file as JSON lines and answered from
// KORVEX_DIALOG_ANSWERS instead of being shown.

#include "platform/Platform.h"

#include <memory>

namespace kx {

std::unique_ptr<Platform> makeRealPlatform();

} // namespace kx
