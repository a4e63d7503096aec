#pragma once
// The information web sites of korvex.wfd/config/information_sites.ini: the items of the
// main window's menu array mnuBrowsethisWebSite, and the look-up that opens one.

#include <string>

namespace kx::launcher {

// progress 1 shows each site on the splash window.
void loadWebSites(int progress);
// Opens the URL of the site with this descriptor; the shell's result.
int retreiveWebSiteURL(const std::string& siteDescriptor);

} // namespace kx::launcher
