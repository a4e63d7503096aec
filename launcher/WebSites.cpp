#include "WebSites.h"

namespace kx::launcher {

void loadWebSites(int) {}

int retreiveWebSiteURL(const std::string&) { return 0; }

} // namespace kx::launcher
