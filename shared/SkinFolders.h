#pragma once
// The skins folder korvex.wfd/skins: one sub-folder per skin, the folder's name is the skin's
// name. The launcher's random skin and the skin chooser list it the same way.

#include <string>
#include <vector>

namespace kx {

// <dir>/korvex.wfd/skins, resolved ignoring case.
std::string skinsFolder(const std::string& korvexDir);

// The rule for skin folder names, shared by the skin chooser (which lists them and stores the
// chosen one as the usedskinis line of korvex.cfg) and the launcher (random skin, applying
// usedskinis): a folder's name is used as it is unless it holds a path ("/", "\", "." or "..",
// empty) or a line break, which could not be one usedskinis line.
bool isUsableSkinName(const std::string& name);

// The skin folders' names in listing order, those isUsableSkinName takes. A missing folder
// gives an empty list.
std::vector<std::string> skinNames(const std::string& skinsFolder);

} // namespace kx
