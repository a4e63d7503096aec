#include "Skins.h"

namespace kx::launcher {

void applySkin(const std::string&) {}

void applyRandomSkin() {}

} // namespace kx::launcher
