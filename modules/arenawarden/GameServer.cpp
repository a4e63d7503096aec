#include "GameServer.h"

#include "Helpers.h"
#include "ModuleState.h"
#include "frmServerModule.h"

#include "core/Files.h"
#include "shared/ModuleCommandLine.h"
#include "platform/Platform.h"
#include "core/RunError.h"
#include "core/Text.h"

namespace kx::arenawarden {

ServerCommand serverCommand(std::int16_t players, const std::string& hostName, const std::string& map,
                            const std::string& gameType) {
    const long long told = static_cast<long long>(players) + 1;
    const std::string q = "\"";
    ServerCommand c;
    c.text = "+host +maxplayers" + numText(told) + " +hostname " + q + hostName + q + " +map " + q + map + q +
             " +game " + q + gameType + q + " +dedicated";
    // Each value stays one argument whatever it holds, so a quote in a name cannot add options.
    c.args = {"+host", "+maxplayers", std::to_string(told), "+hostname", hostName, "+map", map,
              "+game", gameType, "+dedicated"};
    return c;
}

void StartServer(std::int16_t players, const std::string& hostName, const std::string& map,
                 const std::string& gameType) {
    try {
        const ServerCommand c = serverCommand(players, hostName, map, gameType);
        state().serverCommandLine = c.text;
        AppendLine(serverModule().Text1, "Starting QF...");
        // Every caller has made the game directory current; the game inherits it.
        platform().startProcess(resolvePath(state().korvexDir, "Game.exe"), c.args, "", win::NormalFocus);
    } catch (const RunError& e) {
        ShowTaskError(e.description(), e.number());
    }
}

void KillWindowsByTitle(const std::string& title) {
    state().killTitleText = title;
    for (const auto& w : platform().topWindows()) {
        const std::string shown = w.title.substr(0, 255);
        if (shown.find(state().killTitleText) != std::string::npos) platform().closeWindow(w.id);
    }
}

void startModule(const std::string& commandLine) {
    const auto dir = checkModuleCommandLine(commandLine, ModuleCheck{true, true});
    if (!dir) platform().endProgram(0);
    state().korvexDir = *dir;
    showCfgServ();
}

} // namespace kx::arenawarden
