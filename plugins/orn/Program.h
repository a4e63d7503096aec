#pragma once
// The flow of plg_orn: command line, descriptor look-up, registry read, program start, each
// step written to korvex.wfd/logs/plg_orn.log.

#include "WindowsRegistry.h"

#include "shared/Launch.h"

#include <QDate>
#include <QLocale>

#include <cstdint>
#include <memory>
#include <string>

namespace kx::orn {

struct CommandLineParts {
    std::string function, dir;
};
// Every ";" splits: the function is what stands before it, the directory what follows the one
// character after it; so the last ";" decides.
CommandLineParts splitCommandLine(const std::string& commandLine);

class Program {
public:
    std::string FunctionName, KorvexDir;
    std::string RetreivedTree, RetreivedKeyName, RetreivedKey, RetreivedExe;
    std::uint32_t hRetreivedTree = 0;
    RegVariant registryResult = std::string();
    std::string BuiltFile;

    // Runs the whole flow; every path ends the program through the platform.
    [[noreturn]] void Main(const std::string& commandLine);
    void ReadCLINE(const std::string& commandLine);
    void FunctionKeys();
    std::string ConvertToPath(std::string& path);
    void CheckRegPath();
    [[noreturn]] void QuitORN();
    void WriteLog(const std::string& text);

private:
    [[noreturn]] void halt(const std::string& boxText, const std::string& logLine);
    std::unique_ptr<LogFile> log_;
};

} // namespace kx::orn
