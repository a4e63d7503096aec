#pragma once
// The one seam between the suite and the machine it runs on. Program code reaches every
// service below through kx::platform() and calls nothing else for them, so that tests can
// put FakePlatform in its place and end-to-end runs can script the dialogs.

#include <QDateTime>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kx {

// Message box styles: buttons + icon, as the programs write them (36 = Yes/No + question).
namespace box {
constexpr int OkOnly = 0, OkCancel = 1, YesNo = 4;
constexpr int Critical = 16, Question = 32, Exclamation = 48, Information = 64;
// Buttons a box answers with.
constexpr int Ok = 1, Cancel = 2, Yes = 6, No = 7;
} // namespace box

// Window styles for process starts.
namespace win {
constexpr int Hidden = 0, NormalFocus = 1, MinimizedFocus = 2, MaximizedFocus = 3, NormalNoFocus = 4,
              MinimizedNoFocus = 6;
}

// Tray mouse messages as the tray module tests them.
namespace tray {
constexpr int LeftDoubleClick = 0x203, RightButtonUp = 0x205;
}

enum class Hive { ClassesRoot, CurrentUser, LocalMachine, Users };

// Registry value types and results, with the numbers of the target platform.
namespace reg {
constexpr std::uint32_t Sz = 1, Dword = 4;
constexpr long Success = 0, FileNotFound = 2, InvalidHandle = 6, MoreData = 234;
} // namespace reg

using RegKey = std::uint64_t;

struct TopWindow {
    std::uint64_t id = 0;
    std::string title; // at most 255 characters
};

class Platform {
public:
    virtual ~Platform() = default;

    // The name shown on boxes that carry no title of their own.
    void setProgramName(const std::string& name) { programName_ = name; }
    const std::string& programName() const { return programName_; }

    // --- dialogs ---------------------------------------------------------------------
    // style: box::OkOnly.. plus an icon; an empty title shows the program's name. Returns box::Ok..
    virtual int msgBox(const std::string& text, int style = 0, const std::string& title = "") = 0;
    // Cancel gives the empty text.
    virtual std::string inputBox(const std::string& prompt, const std::string& title = "",
                                 const std::string& defaultText = "") = 0;

    // --- processes ---------------------------------------------------------------------
    // Starts without waiting. An empty workDir inherits the starter's current directory.
    // Failure raises RunError (53 for a missing program, 52 for a NUL in any of the texts).
    virtual void startProcess(const std::string& program, const std::vector<std::string>& args,
                              const std::string& workDir = "", int windowStyle = win::NormalFocus) = 0;
    // A URL or a local path through the desktop; > 32 on success, 2 on failure.
    virtual int shellOpen(const std::string& target) = 0;
    // The programs' "notepad file" and "explorer.exe folder".
    virtual void openInEditor(const std::string& file) = 0;
    virtual void openFolder(const std::string& folder) = 0;
    // Ends the program at once from anywhere: the real one flushes and exits, the fake throws.
    [[noreturn]] virtual void endProgram(int exitCode = 0) = 0;

    // --- per-user settings (app, section, key); "" when never written ---------------------
    virtual std::string getSetting(const std::string& app, const std::string& section,
                                   const std::string& key) = 0;
    virtual void saveSetting(const std::string& app, const std::string& section, const std::string& key,
                             const std::string& value) = 0;

    // --- registry: results are reg::Success or an error number -----------------------------
    virtual long regOpenKey(Hive hive, const std::string& subKey, RegKey& key) = 0;
    virtual long regCreateKey(Hive hive, const std::string& subKey, RegKey& key) = 0;
    // type and data of a value; data holds the bytes (a string without its NUL, a DWORD as 4
    // little-endian bytes), so its size is the value's size.
    virtual long regQueryValue(RegKey key, const std::string& name, std::uint32_t& type,
                               std::string& data) = 0;
    virtual long regSetString(RegKey key, const std::string& name, const std::string& value) = 0;
    virtual long regSetDword(RegKey key, const std::string& name, std::uint32_t value) = 0;
    virtual long regCloseKey(RegKey key) = 0;

    // --- top-level windows ------------------------------------------------------------------
    virtual std::vector<TopWindow> topWindows() = 0;
    // Asks the window to close and waits, a few seconds at most, until it is gone.
    // true when it went.
    virtual bool closeWindow(std::uint64_t id) = 0;

    // --- tray icon ------------------------------------------------------------------------
    // onMouse receives tray::LeftDoubleClick / tray::RightButtonUp.
    virtual bool trayAdd(const std::string& iconPath, const std::string& tooltip,
                         std::function<void(int)> onMouse) = 0;
    virtual void trayRemove() = 0;

    // --- network ----------------------------------------------------------------------------
    // 0 on success, else an error number (the programs only test for non-zero).
    virtual int socketsStart() = 0;
    virtual int socketsStop() = 0;
    // IPv4 addresses of a host in resolver order; empty when not found (also for "").
    virtual std::vector<std::string> resolveIPv4(const std::string& host) = 0;
    // Strict dotted IPv4 text; never a name look-up; at most 3 s.
    virtual bool isReachable(const std::string& ipv4) = 0;
    // The computer's name, at most 15 characters.
    virtual std::string computerName() = 0;

    // --- time ------------------------------------------------------------------------------
    virtual QDateTime now() = 0;
    // Blocks the calling (window) thread.
    virtual void sleepMs(int ms) = 0;
    // Serves pending window events, but not user input.
    virtual void doEvents() = 0;
    // A number in [0, 1).
    virtual double random() = 0;

    // --- file system places ------------------------------------------------------------------
    virtual std::string currentDir() = 0;
    // A failed change raises RunError (76).
    virtual void setCurrentDir(const std::string& dir) = 0;
    // Mount roots, "/" first.
    virtual std::vector<std::string> drives() = 0;

private:
    std::string programName_ = "Korvex";
};

// The installed platform; programs install the real one in main, tests a FakePlatform.
Platform& platform();
// Installs p (not owned) and returns the one it replaces.
Platform* setPlatform(Platform* p);

} // namespace kx
