#pragma once
// What the dedicated-server module holds for the life of its process: the game directory, the
// hand-over from the configuration window to the running-server window, and which of its
// windows are loaded.

#include <cstdint>
#include <string>

namespace kx::arenawarden {

class frmCfgServ;
class frmServerModule;

// The module's version as it states it in its welcome text.
constexpr int VersionMajor = 2, VersionMinor = 1, VersionRevision = 2346;

struct ModuleState {
    std::string korvexDir;         // the whole command line, as received
    std::string serverCommandLine; // the last game command line, without the program
    std::string killTitleText;     // what the window closer last looked for

    // Written by the launch, read by the running-server window.
    std::int16_t serverPlayers = 0;
    double cycleMinutes = 0;
    std::string serverGameType;
    std::string serverName;
    std::string activeMap;

    bool endRequested = false; // set by the end command, never cleared

    // korvex.cfg values: a key the file lacks keeps what an earlier load of the window read.
    std::string cfgPlayerName, cfgDefaultMap, cfgTeam, cfgGameName;
    std::int16_t cfgGameType = 0, cfgMaxPlayers = 0;
};

ModuleState& state();

// --- the module's windows ---------------------------------------------------------------------
// The configuration window while it is loaded, else null.
frmCfgServ* cfgServWindow();
// Creates the configuration window and runs its load. Null when the load already unloaded it
// again (a handed-over cycling server) - the caller then has nothing to show.
frmCfgServ* loadCfgServ();
// Loads it and shows it unless its load made it go.
void showCfgServ();

// The running-server window; loaded hidden by the first access, as its log is written to
// before the window is shown.
frmServerModule& serverModule();
frmServerModule* serverModuleIfLoaded();

// Called by a window as it unloads.
void windowUnloaded(const void* window);
// After a window was closed by the user: the module ends when none of its windows is loaded.
void endWhenNoWindowLeft();

// Unloads every window and forgets the state (tests start each case afresh).
void resetModule();

} // namespace kx::arenawarden
