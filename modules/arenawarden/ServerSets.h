#pragma once
// ServerSet files korvex.wfd/config/serversets/<name>.ini: a saved configuration of the
// dedicated server, written from the configuration window and read back into it.

#include <functional>
#include <string>
#include <vector>

namespace kx::arenawarden {

class frmCfgServ;

enum class SetKey { Name, MaxPlayers, GameType, CycleTime, IsCycling, AdvertKx3, AddMap };

struct ServerSetValues {
    std::string name;
    int maxPlayersIndex = 0; // position in the player list (count - 2), -1 when none
    int gameTypeIndex = 0;
    int cycleTime = 40;
    int isCycling = 0; // check-box values
    int advertKx3 = 1;
    std::vector<std::string> maps;
};

// The file's lines, exactly as written.
std::vector<std::string> serverSetLines(const ServerSetValues& v);

// The reading rule: comments (";") skipped; every other line held against each key in turn,
// its first L characters lower-cased, the value from character L + 2 (character L + 1 is not
// looked at). onKey is called in file order; an exception from it stops the reading.
void forEachServerSetLine(const std::vector<std::string>& lines,
                          const std::function<void(SetKey, const std::string&)>& onKey);

// <KorvexDir>/korvex.wfd/config/serversets/<fileName>. A name found on disk is used as it is
// (the tray module lists by the same rule, isUsableServerSetName); one that holds a path
// ("/", "\", "." or "..", the empty name) raises run error 52.
std::string serverSetPath(const std::string& fileName);

// Writes <name>.ini from the window and confirms it; failures go to ShowTaskError.
void SaveServerSet(frmCfgServ& w, const std::string& name);
// Reads a set into the window with a protocol, then shows the confirmation page.
void ApplyServerSet(frmCfgServ& w, const std::string& fileName);
// Reads a handed-over set into the window without a protocol.
void LoadServerSet(frmCfgServ& w, const std::string& fileName);

} // namespace kx::arenawarden
