#include "Startup.h"

#include "platform/Platform.h"
#include "core/Text.h"
#include "shared/net/HostNames.h"

#include <QLabel>
#include <QLineEdit>

namespace kx::nameprobe {

std::unique_ptr<frmMain> Main(const std::string& commandLine) {
    const std::string host = commandLine;
    if (host.empty()) {
        platform().msgBox("Could not retreive DNS Name...\r\naborting.", box::Critical, "Error.");
        platform().endProgram(0);
    }
    if (!winsockStart()) {
        // This tool's own box: no icon, no title of its own.
        platform().msgBox("Windows Sockets for 32 bit Windows is not successfully responding.", box::OkOnly);
        platform().endProgram(0);
    }
    auto form = std::make_unique<frmMain>();
    form->showQuery(host);
    form->Text1->setText(toUi(hostNameToAddress(host)));
    winsockStop();
    form->show();
    return form;
}

} // namespace kx::nameprobe
