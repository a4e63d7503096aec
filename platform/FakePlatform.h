#pragma once
// A platform for tests: records every call in order and answers from scripted queues.
// Unscripted answers: boxes OK (No for a Yes/No box), input boxes their default text,
// look-ups not found, reachability false, no windows.

#include "platform/Platform.h"

#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace kx {

struct FakeBox {
    std::string text;
    int style = 0;
    std::string title; // as shown: the program's name when the caller gave none
};

struct FakeInput {
    std::string prompt, title, defaultText;
};

struct FakeStart {
    std::string program;
    std::vector<std::string> args;
    std::string workDir;
    int windowStyle = 0;
};

class FakePlatform : public Platform {
public:
    FakePlatform();
    ~FakePlatform() override;

    // Every call in order, one line each, e.g. "msgBox(text|48|error.)", "sleep(300)",
    // "start(prog|arg1,arg2|dir)", "saveSetting(Korvex|settings|key|value)".
    std::vector<std::string> calls;
    std::vector<FakeBox> boxes;
    std::vector<FakeInput> inputs;
    std::vector<FakeStart> starts;
    std::vector<int> sleeps;
    std::vector<std::string> shellOpens, editorOpens, folderOpens;
    std::vector<std::uint64_t> closedWindows;

    // Scripted answers, consumed front first.
    std::deque<int> boxAnswers;                  // box::Ok, box::Yes ...
    std::deque<std::optional<std::string>> inputAnswers; // nullopt = Cancel (empty text)
    std::map<std::string, std::vector<std::string>> dns; // host -> addresses
    std::map<std::string, bool> reachable;       // address -> answer
    std::vector<TopWindow> windows;              // what topWindows() lists
    bool windowsCloseOnRequest = true;           // closeWindow removes the window
    std::deque<double> randoms;                  // else 0.0
    std::string computer = "GAMEBOX";
    int socketsStartResult = 0, socketsStopResult = 0;
    int shellOpenResult = 42;
    // A start of a program whose path is listed here raises this run error number.
    std::map<std::string, int> failingStarts;
    // When set, any start of a program file that does not exist raises 53, like the real one.
    bool checkProgramExists = true;
    std::vector<std::string> driveList = {"/"};

    // Clock: starts at a fixed moment; sleeps advance it; tests may move it.
    QDateTime clock;
    void advance(qint64 ms) { clock = clock.addMSecs(ms); }

    // Settings and registry live in memory.
    std::map<std::string, std::string> settings; // "app|section|key" -> value
    struct RegData {
        std::map<std::string, std::pair<std::uint32_t, std::string>> values; // lower name
    };
    std::map<std::string, RegData> registry; // "hive|lower subkey"

    // Tray state.
    bool trayShown = false;
    std::string trayIcon, trayTooltip;
    std::function<void(int)> trayHandler;
    void trayMouse(int message) {
        if (trayHandler) trayHandler(message);
    }

    std::string current;               // current directory
    int endCode = -1;                  // set by endProgram before it throws
    std::function<void()> onDoEvents;  // lets a test act while the program yields

    // Platform
    int msgBox(const std::string& text, int style, const std::string& title) override;
    std::string inputBox(const std::string& prompt, const std::string& title,
                         const std::string& defaultText) override;
    void startProcess(const std::string& program, const std::vector<std::string>& args,
                      const std::string& workDir, int windowStyle) override;
    int shellOpen(const std::string& target) override;
    void openInEditor(const std::string& file) override;
    void openFolder(const std::string& folder) override;
    [[noreturn]] void endProgram(int exitCode) override;
    std::string getSetting(const std::string& app, const std::string& section,
                           const std::string& key) override;
    void saveSetting(const std::string& app, const std::string& section, const std::string& key,
                     const std::string& value) override;
    long regOpenKey(Hive hive, const std::string& subKey, RegKey& key) override;
    long regCreateKey(Hive hive, const std::string& subKey, RegKey& key) override;
    long regQueryValue(RegKey key, const std::string& name, std::uint32_t& type,
                       std::string& data) override;
    long regSetString(RegKey key, const std::string& name, const std::string& value) override;
    long regSetDword(RegKey key, const std::string& name, std::uint32_t value) override;
    long regCloseKey(RegKey key) override;
    std::vector<TopWindow> topWindows() override;
    bool closeWindow(std::uint64_t id) override;
    bool trayAdd(const std::string& iconPath, const std::string& tooltip,
                 std::function<void(int)> onMouse) override;
    void trayRemove() override;
    int socketsStart() override;
    int socketsStop() override;
    std::vector<std::string> resolveIPv4(const std::string& host) override;
    bool isReachable(const std::string& ipv4) override;
    std::string computerName() override;
    QDateTime now() override;
    void sleepMs(int ms) override;
    void doEvents() override;
    double random() override;
    std::string currentDir() override;
    void setCurrentDir(const std::string& dir) override;
    std::vector<std::string> drives() override;

private:
    Platform* previous_ = nullptr;
    std::map<RegKey, std::string> openKeys_;
    RegKey nextKey_ = 0x100;
};

} // namespace kx
