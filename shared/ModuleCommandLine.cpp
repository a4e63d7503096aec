#include "shared/ModuleCommandLine.h"

#include "core/Files.h"
#include "platform/Platform.h"
#include "core/RunError.h"

namespace kx {

std::optional<std::string> checkModuleCommandLine(const std::string& commandLine, ModuleCheck check) {
    const std::string first =
        check.lowerCaseExecution ? "The execution of the module failed." : "The Execution of the module failed.";
    if (commandLine.empty()) {
        platform().msgBox(first + "\rPlease reinstall Korvex.", 16, "Critical Error.");
        return std::nullopt;
    }
    try {
        if (!dirExists(commandLine)) throw RunError(err::PathNotFound);
        if (check.changeDirectory) platform().setCurrentDir(commandLine);
    } catch (const RunError& e) {
        platform().msgBox(first + "\r" + "The game directory " + commandLine + " cannot be entered (" +
                              e.description() + ").\rPlease reinstall Korvex.",
                          16, "Critical Error.");
        return std::nullopt;
    }
    return commandLine;
}

} // namespace kx
