#pragma once
// The module side of the module command line: the whole command line is the base directory.

#include <optional>
#include <string>

namespace kx {

struct ModuleCheck {
    // The dedicated-server module spells its first line "The execution of the module failed."
    bool lowerCaseExecution = false;
    // Make the directory current now; the host and join modules do it only when they start
    // the game, the defaults writer and the chat module never.
    bool changeDirectory = true;
    // The directory must exist. The chat module needs nothing from it but its start page,
    // which the browser engine shows as missing in its own way.
    bool requireDirectory = true;
};

// A base directory given on a command line, made absolute against the current directory (a
// relative one would name another folder after any change of directory): "." and leading
// "./" pieces are dropped, everything else is kept byte for byte. Raises as currentDir does.
std::string absoluteBaseDir(const std::string& dir);

// An empty command line shows the "Critical Error." box and gives nullopt; so does one naming
// a directory that cannot be entered (the box names it), so that no module carries on in a
// wrong directory. Otherwise gives the command line, whole and made absolute once, before any
// change of directory, as KorvexDir (and makes it current when asked). The caller ends the program on nullopt.
std::optional<std::string> checkModuleCommandLine(const std::string& commandLine, ModuleCheck check = {});

} // namespace kx
