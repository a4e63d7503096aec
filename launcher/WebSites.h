#pragma once
// The information web sites of korvex.wfd/config/information_sites.ini: the items of the
// main window's menu array mnuBrowsethisWebSite, and the look-up that opens one.

#include <optional>
#include <string>
#include <vector>

namespace kx::launcher {

// progress 1 shows each site on the splash window. A missing or unreadable file raises its
// run error to the caller (the loader's error path).
void loadWebSites(int progress);
// Opens the URL of the site with this descriptor through StartURL and gives its result; a site
// without an address (none found) opens the empty address, which opens nothing. Raises the
// file's run error.
int retreiveWebSiteURL(const std::string& siteDescriptor);

// The descriptors in file order: each line that begins with "[", less its first and last
// character ("[News" gives "New"). The line "[" alone names no site and is skipped.
std::vector<std::string> webSiteDescriptors(const std::vector<std::string>& lines);
// The line after the last descriptor line equal to siteDescriptor (case-sensitive); none when
// no line matches or the last match is the file's last line.
std::optional<std::string> webSiteURL(const std::vector<std::string>& lines, const std::string& siteDescriptor);

} // namespace kx::launcher
