#include "shared/ModuleCommandLine.h"

#include "core/Files.h"
#include "platform/Platform.h"
#include "core/RunError.h"

namespace kx {

std::string absoluteBaseDir(const std::string& dir) {
    if (!dir.empty() && dir.front() == '/') return dir;
    std::string rest = dir;
    while (rest.rfind("./", 0) == 0) {
        rest.erase(0, 2);
        while (!rest.empty() && rest.front() == '/') rest.erase(0, 1);
    }
    const std::string current = platform().currentDir();
    if (rest.empty() || rest == ".") return current;
    return joinPath(current, rest);
}

std::optional<std::string> checkModuleCommandLine(const std::string& commandLine, ModuleCheck check) {
    const std::string first =
        check.lowerCaseExecution ? "The execution of the module failed." : "The Execution of the module failed.";
    if (commandLine.empty()) {
        platform().msgBox(first + "\rPlease reinstall Korvex.", 16, "Critical Error.");
        return std::nullopt;
    }
    std::string dir = commandLine;
    try {
        dir = absoluteBaseDir(commandLine);
        if (check.requireDirectory && !dirExists(dir)) throw RunError(err::PathNotFound);
        if (check.changeDirectory) platform().setCurrentDir(dir);
    } catch (const RunError& e) {
        platform().msgBox(first + "\r" + "The game directory " + dir + " cannot be entered (" +
                              e.description() + ").\rPlease reinstall Korvex.",
                          16, "Critical Error.");
        return std::nullopt;
    }
    return dir;
}

} // namespace kx
