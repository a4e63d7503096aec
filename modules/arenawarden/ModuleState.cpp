#include "ModuleState.h"

#include "frmCfgServ.h"
#include "frmServerModule.h"

#include "platform/Platform.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTimer>

namespace kx::arenawarden {

namespace {
QPointer<frmCfgServ>& cfgSlot() {
    static QPointer<frmCfgServ> w;
    return w;
}
QPointer<frmServerModule>& serverSlot() {
    static QPointer<frmServerModule> w;
    return w;
}
} // namespace

ModuleState& state() {
    static ModuleState s;
    return s;
}

frmCfgServ* cfgServWindow() { return cfgSlot().data(); }

frmCfgServ* loadCfgServ() {
    auto* w = new frmCfgServ;
    cfgSlot() = w;
    w->Form_Load();
    return cfgSlot().data() == w ? w : nullptr;
}

void showCfgServ() {
    if (auto* w = loadCfgServ()) w->show();
}

frmServerModule& serverModule() {
    if (!serverSlot()) {
        auto* w = new frmServerModule;
        serverSlot() = w;
        w->Form_Load();
    }
    return *serverSlot();
}

frmServerModule* serverModuleIfLoaded() { return serverSlot().data(); }

void windowUnloaded(const void* window) {
    if (cfgSlot().data() == window) cfgSlot() = nullptr;
    if (serverSlot().data() == window) serverSlot() = nullptr;
}

void endWhenNoWindowLeft() {
    if (!cfgSlot() && !serverSlot()) platform().endProgram(0);
}

void resetModule() {
    if (auto* w = serverSlot().data()) {
        w->Timer1->stop();
        delete w;
    }
    delete cfgSlot().data();
    serverSlot() = nullptr;
    cfgSlot() = nullptr;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    state() = ModuleState{};
}

} // namespace kx::arenawarden
