#include "Program.h"

#include "OrnFunctions.h"

#include "core/Files.h"
#include "core/RunError.h"
#include "core/Text.h"
#include "platform/Platform.h"
#include "shared/ModuleCommandLine.h"

#include <QLocale>

namespace kx::orn {

namespace {
const char* const kCritical = "Critical Error.";
}

CommandLineParts splitCommandLine(const std::string& commandLine) {
    CommandLineParts parts;
    for (size_t p = 0; p < commandLine.size(); ++p) {
        if (commandLine[p] != ';') continue;
        parts.function = commandLine.substr(0, p);
        parts.dir = p + 2 <= commandLine.size() ? commandLine.substr(p + 2) : std::string();
    }
    return parts;
}

void Program::WriteLog(const std::string& text) {
    if (log_) log_->write(text);
}

void Program::ReadCLINE(const std::string& commandLine) {
    if (commandLine.empty()) {
        platform().msgBox("Execution not possible. No Function Specified.\r", 16, kCritical);
        platform().endProgram(0);
    }
    const CommandLineParts parts = splitCommandLine(commandLine);
    FunctionName = parts.function;
    KorvexDir = parts.dir;
    if (FunctionName.empty() || KorvexDir.empty()) {
        platform().msgBox("Execution not possible. Error while Parsing Function or Korvex with ';'.\r", 16, kCritical);
        platform().endProgram(0);
    }
    // The program changes into its base directory and then builds every path from it: a relative
    // one is made absolute now, before the change, so that it still names the same folder.
    // (The modules' rule, from their shared command-line check.) Without a current directory
    // it stays as given, and entering it fails on its own error path.
    try {
        KorvexDir = kx::absoluteBaseDir(KorvexDir);
    } catch (const RunError&) {
    }
    // A missing logs folder drops the lines; the program goes on.
    log_ = std::make_unique<LogFile>(joinPath(KorvexDir, "korvex.wfd/logs/plg_orn.log"));
}

void Program::halt(const std::string& boxText, const std::string& logLine) {
    platform().msgBox(boxText, 16, kCritical);
    WriteLog(logLine);
    QuitORN();
}

void Program::FunctionKeys() {
    const std::string path = resolvePath(KorvexDir, "korvex.wfd/config/orn_functions.ini");
    WriteLog(">> Opening " + path + ".");
    std::vector<std::string> lines;
    try {
        lines = readLines(path);
    } catch (const RunError& e) {
        halt("Execution not possible. The function descriptor file " + path + " cannot be read (" +
                 e.description() + ", " + std::to_string(e.number()) + ").\r",
             ">> Could not read the descriptor file: " + e.description() + " (" + std::to_string(e.number()) + ")");
    }
    const Descriptor d = findDescriptor(lines, FunctionName, [this](const std::string& l) { WriteLog(l); });
    RetreivedTree = d.tree;
    RetreivedKeyName = d.keyName;
    RetreivedKey = d.key;
    RetreivedExe = d.exe;
    WriteLog(">> Start Defining Registry Tree. hRetreivedTree as Long.");
    hRetreivedTree = d.matched ? hiveHandle(RetreivedTree) : 0;
    if (hRetreivedTree != 0) {
        WriteLog(">> Treetype successful converted to Long.");
        return;
    }
    halt("Execution not possible. No applicable TreeType Specified.\r",
         ">> No applicable TreeType Specified. Could not set LONG");
}

std::string Program::ConvertToPath(std::string& path) {
    if (path.empty() || path.back() != '\\') {
        WriteLog(">> Key needs to be changed.");
        path += '\\';
        WriteLog(">> New Key is '" + path + "'");
    }
    WriteLog(">> Key is correct.");
    return path;
}

void Program::CheckRegPath() {
    const std::string result = variantText(registryResult);
    if (!result.empty()) {
        // Two lines in the file: the log writer keeps each call on a line of its own.
        WriteLog(">> Registry seems okay.");
        WriteLog(">> Class WindowsRegistry.QueryValue returned: '" + result + "'");
        return;
    }
    WriteLog(">> Registry returned NO Path. Halting Execution.");
    platform().msgBox(std::string("Execution halted! Retreived Registry Path is NULL.\rCheck if the Program is "
                                  "available on your Computer\r\nand is installed properly."),
                      16, kCritical);
    QuitORN();
}

void Program::QuitORN() {
    WriteLog("QuitORN() received...");
    WriteLog("Terminating ORN.");
    WriteLog("Bye.");
    platform().endProgram(0);
    throw ProgramEnded{0}; // not reached: endProgram does not return
}

void Program::Main(const std::string& commandLine) {
    WindowsRegistry registry;
    ReadCLINE(commandLine);
    const QDateTime now = platform().now();
    WriteLog("ORN PLUGIN STARTED.  " + timeStamp(now, "HH:mm:ss") + " :: " + shortDate(now.date()));
    WriteLog("Calling SubFunction ReadCLINE()");
    WriteLog("Recurse to KorvexDir");
    try {
        platform().setCurrentDir(KorvexDir);
    } catch (const RunError& e) {
        halt("Execution not possible. The Quellfort directory " + KorvexDir + " cannot be entered (" +
                 e.description() + ", " + std::to_string(e.number()) + ").\r",
             ">> Could not enter KorvexDir: " + e.description() + " (" + std::to_string(e.number()) + ")");
    }
    WriteLog("Beginning Fileparsing. SubFunction FunctionKeys()");
    FunctionKeys();
    WriteLog("Executing Class WindowsRegistry.QueryValue with parsed data from File");
    registry.QueryValue(hRetreivedTree, RetreivedKeyName, RetreivedKey, registryResult, reg::Sz);
    WriteLog("Executing CheckRegPath() with Retreived Struct");
    CheckRegPath();
    WriteLog("Calling Function ConvertToPath() with retreived Registrydata");
    WriteLog("Buidling File.");
    std::string folder = variantText(registryResult);
    BuiltFile = ConvertToPath(folder) + RetreivedExe;
    registryResult = folder;
    WriteLog("Built File is : '" + BuiltFile + "' at $BuiltFile");
    WriteLog("Shelling $BuiltFile");
    try {
        // A "\" in the registry's folder or the descriptor is a separator, matched ignoring case.
        platform().startProcess(resolvePath(BuiltFile), {}, "", win::NormalFocus);
    } catch (const RunError& e) {
        halt("Execution halted! The Program " + BuiltFile + " could not be started (" + e.description() + ", " +
                 std::to_string(e.number()) + ").\rCheck if the Program is available on your Computer\r\nand is "
                 "installed properly.",
             ">> Shelling failed: " + e.description() + " (" + std::to_string(e.number()) + ")");
    }
    QuitORN();
}

} // namespace kx::orn
