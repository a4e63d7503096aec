#include "Skins.h"

#include "Form1.h"
#include "Launcher.h"

#include "core/Files.h"
#include "core/KeyPrefix.h"
#include "core/RunError.h"
#include "core/Text.h"
#include "platform/Platform.h"
#include "shared/SkinFolders.h"
#include "shared/Ui.h"

#include <QFrame>
#include <QLabel>
#include <QPixmap>

#include <cmath>

namespace kx::launcher {

namespace {

const std::vector<std::string>& skinKeys() {
    static const std::vector<std::string> keys = {"logofile", "headfile", "bodyfile", "iconfile", "hideline"};
    return keys;
}

QLabel* placeOf(SkinKey key) {
    Form1& f = form1();
    switch (key) {
    case SkinKey::LogoFile: return f.Image1;
    case SkinKey::HeadFile: return f.Image3;
    case SkinKey::BodyFile: return f.SkinBody;
    case SkinKey::IconFile: return f.Image2;
    case SkinKey::HideLine:
    case SkinKey::None: break;
    }
    return nullptr;
}

void skinFailed(const RunError& e) {
    const SkinValues& v = skinValues();
    showBox(std::string("Korvex 3.1") + " failed to load the Skin.\r\nUsing Standard Skin.\r\n\r\n" +
                "tempSkinLine == " + v.tempSkinLine + "\r\nSkinUsePicture == " + v.skinUsePicture +
                "\r\nUsedSkinDir == " + v.usedSkinDir + "\r\nSkinDefFile == " + v.skinDefFile + "\r\n\r\n" +
                e.description() + "(" + numText(static_cast<long long>(e.number())) + ")",
            box::OkOnly + box::Critical, "Error...");
}

} // namespace

SkinLine parseSkinLine(const std::string& line) {
    SkinLine out;
    if (line.size() == 9) {
        out.skipped = true;
        return out;
    }
    if (line.size() > 9) out.value = line.substr(9);
    forEachKeyLine({line}, keyRule(8, true), skinKeys(),
                   [&](size_t k, const std::string&) { out.key = static_cast<SkinKey>(k); });
    return out;
}

SkinValues& skinValues() {
    static SkinValues values;
    return values;
}

void applySkin(const std::string& skin) {
    SkinValues& v = skinValues();
    try {
        // The name comes from korvex.cfg, where the skin chooser put a name it listed: the
        // chooser's rule for skin folder names, so that every listed skin can be applied. One
        // that holds a path would lead out of the skins folder.
        const bool oneFolder = skin.empty() || isUsableSkinName(skin);
        const std::string skins = skinsFolder(state().korvexDir);
        v.usedSkinDir = (oneFolder ? resolvePath(skins, skin) : joinPath(skins, skin)) + "/";
        v.skinDefFile = v.usedSkinDir + "skindefinition.ini";
        if (!oneFolder) throw RunError(err::BadFileName);
        // Read whole, so that no file stays open across the yields below or a failure.
        const auto lines = readLines(resolvePath(v.skinDefFile));
        for (const auto& line : lines) {
            v.tempSkinLine = line;
            const SkinLine s = parseSkinLine(line);
            if (!s.skipped) {
                v.skinUsePicture = v.usedSkinDir + s.value;
                if (s.key == SkinKey::HideLine) {
                    form1().Line1->setVisible(lcase(s.value) != "true");
                } else if (s.key != SkinKey::None) {
                    // Loaded first: the main window is created only for a picture it gets.
                    const QPixmap picture = loadPicture(resolvePath(v.skinUsePicture));
                    placeOf(s.key)->setPixmap(picture);
                }
            }
            platform().doEvents();
        }
    } catch (const RunError& e) {
        skinFailed(e);
    }
}

void applyRandomSkin() {
    writeLog(">> Executed.");
    const std::string folder = skinsFolder(state().korvexDir);
    writeLog(">> Retreiving Skins from " + folder);
    // The folders the skin chooser lists, by the same rule, each name as listed (never cut
    // at a backslash in it). With no skin to draw from, the skin of usedskinis stays: an empty or
    // missing skins folder is no reason to tell the user the configuration is lost.
    const std::vector<std::string> names = skinNames(folder);
    if (names.empty()) {
        writeLog(">> ApplyRandomSkin() finished.");
        return;
    }
    for (size_t i = 0; i < names.size(); ++i) {
        writeLog(">>" + numText(static_cast<long long>(i)) + ", " + names[i]);
        platform().doEvents();
    }

    // Every name has the same chance; a random source at its upper bound stays inside the list.
    long long index = static_cast<long long>(std::floor(static_cast<double>(names.size()) * platform().random()));
    if (index >= static_cast<long long>(names.size())) index = static_cast<long long>(names.size()) - 1;
    if (index < 0) index = 0;
    writeLog(">> Choosen Index ==" + numText(index));
    const std::string name = names[static_cast<size_t>(index)];
    writeLog(">> Skins Name == " + name);
    applySkin(name);
    writeLog(">> ApplyRandomSkin() finished.");
}

std::string fileNameOfPath(const std::string& path) { return fileNameOf(path); }

} // namespace kx::launcher
