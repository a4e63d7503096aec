#pragma once
// Skins: a folder under korvex.wfd/skins whose skindefinition.ini names the main window's
// pictures and whether its line shows.

#include <string>

namespace kx::launcher {

// The five settings of skindefinition.ini, in the order they are compared.
enum class SkinKey { None = -1, LogoFile, HeadFile, BodyFile, IconFile, HideLine };

// One line of skindefinition.ini: an 8-character key in any case, "=" (not looked at), the
// value from the 10th character, untrimmed. A line of exactly 9 characters is skipped whole.
struct SkinLine {
    bool skipped = false;
    SkinKey key = SkinKey::None;
    std::string value;
};
SkinLine parseSkinLine(const std::string& line);

// The values of the last ApplySkin, kept between calls because its failure box shows them.
struct SkinValues {
    std::string usedSkinDir, skinDefFile, tempSkinLine, skinUsePicture;
};
SkinValues& skinValues();

// Places the pictures of the named skin into the main window. A failure shows the skin box
// and returns; pictures placed before it stay. Never raises.
void applySkin(const std::string& skin);
// Applies a skin picked at random from the skin folders. No skin folder at all raises the
// run error that the loader's error path reports.
void applyRandomSkin();

// The text after the last separator of path.
std::string fileNameOfPath(const std::string& path);

} // namespace kx::launcher
