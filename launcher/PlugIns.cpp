#include "PlugIns.h"

#include "Form1.h"
#include "Launcher.h"

#include "platform/Platform.h"
#include "core/Text.h"

namespace kx::launcher {

bool fillPlugInMenu(PlugInFill) {
    platform().doEvents();
    return false;
}

void reloadPlugIns() {
    auto& s = state();
    writeLog("Called ReloadPlugIns()");
    Form1& f = form1();
    while (s.lastPlugin != 0) {
        f.removePlugInItem(s.lastPlugin);
        --s.lastPlugin;
        platform().doEvents();
    }
    f.resetPlugInItem0();
    writeLog(">> Unloaded.");
    const bool found = fillPlugInMenu(PlugInFill::Reload);
    writeLog(">> Loaded.");
    writeLog(">> %i LAST_PLUGIN ==" + numText(static_cast<long long>(s.lastPlugin)));
    const long long count = found ? s.lastPlugin + 1 : 0;
    platform().msgBox(numText(count) + " PlugIns loaded successful.", box::Information, AppTitle);
}

void execPlugIn(const std::string&) {}

void runPlugInItem(int) {}

} // namespace kx::launcher
