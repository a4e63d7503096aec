#pragma once
// Skins: a folder under korvex.wfd/skins whose skindefinition.ini names the main window's
// pictures and whether its line shows.

#include <string>

namespace kx::launcher {

void applySkin(const std::string& skin);
void applyRandomSkin();

} // namespace kx::launcher
