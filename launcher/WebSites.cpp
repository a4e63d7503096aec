#include "WebSites.h"

#include "Form1.h"
#include "Form11.h"
#include "Launcher.h"

#include "core/Files.h"
#include "core/Text.h"
#include "platform/Platform.h"
#include "shared/Ui.h"

#include <QAction>

namespace kx::launcher {

namespace {

std::string sitesPath() { return resolvePath(state().korvexDir, "korvex.wfd/config/information_sites.ini"); }

std::optional<std::string> descriptorOf(const std::string& line) {
    if (line.size() < 2 || line[0] != '[') return std::nullopt;
    return line.substr(1, line.size() - 2);
}

} // namespace

std::vector<std::string> webSiteDescriptors(const std::vector<std::string>& lines) {
    std::vector<std::string> out;
    for (const auto& line : lines)
        if (auto d = descriptorOf(line)) out.push_back(*d);
    return out;
}

std::optional<std::string> webSiteURL(const std::vector<std::string>& lines, const std::string& siteDescriptor) {
    std::optional<std::string> url;
    for (size_t i = 0; i < lines.size(); ++i) {
        const auto d = descriptorOf(lines[i]);
        if (!d || *d != siteDescriptor) continue;
        // The next line is the URL and is not looked at as a descriptor itself.
        url = i + 1 < lines.size() ? std::optional<std::string>(lines[i + 1]) : std::nullopt;
        ++i;
    }
    return url;
}

void loadWebSites(int progress) {
    const auto descriptors = webSiteDescriptors(readLines(sitesPath()));
    long long counter = 0;
    for (const auto& d : descriptors) {
        if (progress == 1) {
            if (Form11* splash = loadedForm11()) splash->setStatus("adding website " + numText(counter) + "... ");
            platform().sleepMs(30);
        }
        Form1& f = form1();
        if (counter == 0) {
            Form1::setArrayCaption(f.mnuBrowsethisWebSite[0], d);
            f.mnuBrowsethisWebSite[0]->setEnabled(true);
        } else {
            f.addWebSiteItem(d);
        }
        ++counter;
        platform().doEvents();
    }
}

int retreiveWebSiteURL(const std::string& siteDescriptor) {
    writeLog("Called RetreiveWebSiteURL()");
    writeLog(">> $SiteDescriptor == " + siteDescriptor);
    // Each look-up starts empty: a site no longer in the file opens nothing, not the last one.
    const auto url = webSiteURL(readLines(sitesPath()), siteDescriptor);
    writeLog(">> $RetreivedSite == " + url.value_or(""));
    return startURL(url.value_or(""));
}

} // namespace kx::launcher
