#pragma once
// The skins folder korvex.wfd/skins: one sub-folder per skin, the folder's name is the skin's
// name. The launcher's random skin and the skin chooser list it the same way.

#include <string>
#include <vector>

namespace kx {

// <dir>/korvex.wfd/skins, resolved ignoring case.
std::string skinsFolder(const std::string& korvexDir);

// The skin folders' names in listing order. A name holding a line break is left out: it could
// not be stored as one usedskinis line. A missing folder gives an empty list.
std::vector<std::string> skinNames(const std::string& skinsFolder);

} // namespace kx
