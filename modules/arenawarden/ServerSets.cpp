#include "ServerSets.h"

#include "Helpers.h"
#include "ModuleState.h"
#include "TextControls.h"
#include "frmCfgServ.h"

#include "shared/Boxes.h"
#include "core/Files.h"
#include "core/KeyPrefix.h"
#include "platform/Platform.h"
#include "core/RunError.h"
#include "core/Text.h"
#include "shared/ServerSetNames.h"
#include "shared/Ui.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QTabBar>

namespace kx::arenawarden {

namespace {

struct KeyDef {
    SetKey key;
    const char* text;
};
// In the order every line is held against them.
const KeyDef kKeys[] = {{SetKey::Name, "sv_name"},           {SetKey::MaxPlayers, "sv_maxplayers"},
                        {SetKey::GameType, "sv_gametype"},   {SetKey::CycleTime, "sv_cycletime"},
                        {SetKey::IsCycling, "sv_iscycling"}, {SetKey::AdvertKx3, "sv_advertkx3"},
                        {SetKey::AddMap, "sv_addmap"}};

std::string n16(int n) { return NumberText(toInt16(n)); }

// Reads the file whole first: the file is closed again before any value reaches the window.
void readInto(frmCfgServ& w, const std::string& fileName, bool protocol) {
    w.List2->clear();
    w.Protocol->setText("");
    const auto lines = readLines(serverSetPath(fileName));
    auto log = [&](const std::string& line) {
        if (protocol) w.LogProtocol(line);
    };
    log("Loaded ServerSet:: " + fileName);
    log("");
    forEachServerSetLine(lines, [&](SetKey key, const std::string& value) {
        switch (key) {
        case SetKey::Name:
            w.Text2->setText(toUi(stripBreaks(value)));
            log("ServerName set to:: " + fromUi(w.Text2->text()));
            break;
        case SetKey::MaxPlayers:
            selectComboIndex(w.Combo1, toInt16(val(value)));
            log("MaxPlayers set to:: " + comboText(w.Combo1, w.Combo1->currentIndex()));
            break;
        case SetKey::GameType:
            selectComboIndex(w.Combo3, toInt16(val(value)));
            log("GameType set to:: " + comboText(w.Combo3, w.Combo3->currentIndex()));
            break;
        case SetKey::CycleTime: {
            const int minutes = toInt16(val(value));
            // The scroll bar refuses what lies outside its range, as the window's own would.
            if (minutes < w.HScroll1->minimum() || minutes > w.HScroll1->maximum())
                throw RunError(err::InvalidPropertyValue);
            w.HScroll1->setValue(minutes);
            log("CycleTime set to:: " + n16(w.HScroll1->value()));
            break;
        }
        case SetKey::IsCycling:
            setCheckValue(w.Check1, textToBool(value));
            log("Server is mapcycling? " + boolToText(checkValue(w.Check1)));
            break;
        case SetKey::AdvertKx3:
            setCheckValue(w.Check2, textToBool(value));
            log("Server advertises Kx3? " + boolToText(checkValue(w.Check2)));
            break;
        case SetKey::AddMap:
            addListText(w.List2, value);
            log("Adding to MapList :: " + value);
            break;
        }
    });
    log("");
    log(".ServerSet loaded.");
}

} // namespace

std::vector<std::string> serverSetLines(const ServerSetValues& v) {
    std::vector<std::string> lines = {";ServerSet Informationfile for Korvex3 ZIV",
                                      ";" + std::string(43, '='),
                                      ";Defines Batch Process ServerSet Information",
                                      ";for the Dedicated server.",
                                      ";",
                                      ";Name of The Server",
                                      "sv_name=" + stripBreaks(v.name),
                                      ";Maximum amount of Players (indexed)",
                                      "sv_maxplayers=" + n16(v.maxPlayersIndex),
                                      ";Gametype (indexed)",
                                      "sv_gametype=" + n16(v.gameTypeIndex),
                                      ";CycleTime",
                                      "sv_cycletime=" + n16(v.cycleTime),
                                      ";Is Cycling Server?",
                                      "sv_iscycling=" + boolToText(v.isCycling),
                                      ";Advertise Korvex3 (KX3 Tag)?",
                                      "sv_advertkx3=" + boolToText(v.advertKx3),
                                      ";Add these maps..."};
    for (const auto& m : v.maps) lines.push_back("sv_addmap=" + stripBreaks(m));
    lines.push_back(";");
    lines.push_back(";<EOF>");
    return lines;
}

void forEachServerSetLine(const std::vector<std::string>& lines,
                          const std::function<void(SetKey, const std::string&)>& onKey) {
    for (const auto& line : lines) {
        if (!line.empty() && line[0] == ';') continue;
        const std::vector<std::string> one{line};
        for (const auto& k : kKeys) {
            const size_t len = std::char_traits<char>::length(k.text);
            forEachKeyLine(one, KeyPrefixRule{len, len + 1, true}, {k.text},
                           [&](size_t, const std::string& value) { onKey(k.key, value); });
        }
    }
}

std::string serverSetPath(const std::string& fileName) {
    if (!isUsableServerSetName(fileName, false)) throw RunError(err::BadFileName);
    return resolvePath(state().korvexDir, "korvex.wfd/config/serversets/" + fileName);
}

void SaveServerSet(frmCfgServ& w, const std::string& name) {
    try {
        if (!isListedName(name)) throw RunError(err::BadFileName);
        const std::string path = serverSetPath(name + ".ini");
        ServerSetValues v;
        v.name = fromUi(w.Text2->text());
        v.maxPlayersIndex = w.Combo1->currentIndex();
        v.gameTypeIndex = w.Combo3->currentIndex();
        v.cycleTime = w.HScroll1->value();
        v.isCycling = checkValue(w.Check1);
        v.advertKx3 = checkValue(w.Check2);
        // The rotation list is walked by its selection, which ends on its last entry.
        selectListIndex(w.List2, -1);
        while (listIndex(w.List2) + 1 < w.List2->count()) {
            selectListIndex(w.List2, listIndex(w.List2) + 1);
            v.maps.push_back(listText(w.List2, listIndex(w.List2)));
            platform().doEvents();
        }
        writeLinesAtomic(path, serverSetLines(v));
    } catch (const RunError& e) {
        ShowTaskError(e.description(), e.number());
        return;
    }
    platform().msgBox("ServerSet '" + name + "' created sucessfully with your current settings.",
                      box::Information, "Information.");
}

namespace {
// A failed read names the set's file: its path, or the name when it cannot be one (none for
// the empty name).
void showLoadError(const RunError& e, const std::string& fileName) {
    std::string shown = fileName;
    try {
        shown = serverSetPath(fileName);
    } catch (const RunError&) {
    }
    ShowTaskError(shown.empty() ? e.description() : e.description() + " (" + shown + ")", e.number());
}
} // namespace

void ApplyServerSet(frmCfgServ& w, const std::string& fileName) {
    try {
        readInto(w, fileName, true);
    } catch (const RunError& e) {
        showLoadError(e, fileName);
        return;
    }
    w.tbsConfigureTab->setEnabled(false);
    w.Picture3->show();
    w.Picture3->raise();
}

void LoadServerSet(frmCfgServ& w, const std::string& fileName) {
    try {
        readInto(w, fileName, false);
    } catch (const RunError& e) {
        showLoadError(e, fileName);
    }
}

} // namespace kx::arenawarden
