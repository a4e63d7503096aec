#pragma once
// The suite configuration file korvex.wfd/config/korvex.cfg and the per-user settings of the
// application "Korvex". Readers open the file themselves with the key-prefix rule they use
// (10 characters in the launcher and script editor, 11 with the "=" in the host, join and
// dedicated-server modules); the keys are listed here once.

#include "core/KeyPrefix.h"

#include <string>
#include <vector>

namespace kx {

namespace cfgkey {
inline const std::string PlayerName = "playername", DefaultMap = "host-mpmap", GameType = "host-gamet",
                         Team = "host-teama", GameName = "host-gamen", MaxPlayers = "host-maxpl",
                         ShotDir = "sn-shotdir", GameSpy = "gamespyloc", AutoSnap = "autosnapbu",
                         DoAutoexec = "doautoexec", UsedSkin = "usedskinis", RandomSkin = "randomskin";
}
// All twelve, in the order the launcher compares them.
const std::vector<std::string>& configKeys();

// The values the set-up writes; numbers are list indexes.
struct ConfigValues {
    std::string playerName;
    std::string defaultMap;
    int gameType = 1;   // 0 deathmatch, 1 ctf, 2 teamplay
    int team = 0;       // 0 auto, 1 blue, 2 red
    std::string gameName;
    int maxPlayersIndex = 6; // player count - 2
    std::string shotDir;
    std::string gameSpy;
    int autoSnap = 0;   // check box value
};

// <dir>/korvex.wfd/config/korvex.cfg, resolved ignoring case.
std::string configPath(const std::string& korvexDir);

// The 19 lines, values stripped of CR, LF and NUL.
std::vector<std::string> configLines(const ConfigValues& v);
// Writes them through a temporary file and rename; raises the RunError of a failure.
void writeConfig(const std::string& korvexDir, const ConfigValues& v);

// Rewrites every "<key>=" line as "<key>=" value through the temporary copy tempName
// ("korvex.cfg.stp" for the set-up, "korvex.cfg.new" for the skin chooser). Raises on failure,
// leaving korvex.cfg as it was. Returns the number of lines replaced (0: no such line).
int rewriteConfigLine(const std::string& korvexDir, const std::string& key, const std::string& value,
                      const std::string& tempName);

// Reads the given keys with rule; raises the file's RunError (53 when missing).
std::map<std::string, std::string> readConfig(const std::string& korvexDir, const KeyPrefixRule& rule,
                                              const std::vector<std::string>& keys);

// Per-user settings, application "Korvex", section "settings".
namespace setting {
inline const std::string App = "Korvex", Section = "settings";
inline const std::string KorvexDir = "korvexdir", RegisteredUser = "registereduser",
                         WalkthroughDone = "walkthroughdone", WebshelfFirstStart = "webshelffirststart",
                         GameSpyLocation = "gamespylocation", SnapshotLocation = "snapshotlocation",
                         LoadServerSet = "dsmloadserverset";
} // namespace setting
std::string getKorvexSetting(const std::string& key);
void saveKorvexSetting(const std::string& key, const std::string& value);

// A stored list index (" 6") as a position in a list of count entries. A value outside the
// list, or too large for a number, gives 0 so that a damaged korvex.cfg still opens the window.
int storedIndex(const std::string& value, int count);

// GameType and Team words, by index ("" outside).
std::string gameTypeWord(int index);
std::string teamWord(int index);

} // namespace kx
