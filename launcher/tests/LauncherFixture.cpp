#include "LauncherFixture.h"

#include "Form11.h"
#include "Launcher.h"

#include "core/Files.h"
#include "core/RunError.h"
#include "core/Text.h"

#include <QEvent>

#include <algorithm>
#include <QLabel>

namespace kx::launcher::test {

namespace {

// Records Label3's text each time it is painted, so that "repaints at once" is what is seen.
class StatusWatcher : public QObject {
public:
    StatusWatcher(QLabel* label, TimelinePlatform& p) : QObject(label), label_(label), p_(p) {}
    bool eventFilter(QObject* o, QEvent* e) override {
        if (o == label_ && e->type() == QEvent::Paint) {
            const std::string text = fromUi(label_->text());
            if (text != shown_) p_.note("status: " + text);
            shown_ = text;
        }
        return false;
    }

private:
    QLabel* label_;
    TimelinePlatform& p_;
    std::string shown_;
};

} // namespace

std::vector<std::string> between(const std::vector<std::string>& t, const std::string& from, const std::string& to) {
    const auto a = std::find(t.begin(), t.end(), from);
    const auto b = std::find(a, t.end(), to);
    return a == t.end() ? std::vector<std::string>{} : std::vector<std::string>(a, b);
}

void TimelinePlatform::syncLog() {
    std::string bytes;
    try {
        bytes = readFile(logFile);
    } catch (const RunError&) {
    }
    const auto lines = splitLines(bytes);
    for (; logLinesSeen < lines.size(); ++logLinesSeen) timeline.push_back("log: " + lines[logLinesSeen]);
}

void TimelinePlatform::note(const std::string& entry) {
    syncLog();
    timeline.push_back(entry);
}

int TimelinePlatform::msgBox(const std::string& text, int style, const std::string& title) {
    note("box: " + text + "|" + std::to_string(style) + "|" + title);
    return FakePlatform::msgBox(text, style, title);
}

void TimelinePlatform::startProcess(const std::string& program, const std::vector<std::string>& args,
                                    const std::string& workDir, int windowStyle) {
    std::string a;
    for (const auto& s : args) a += "[" + s + "]";
    note("start: " + program + " " + a);
    FakePlatform::startProcess(program, args, workDir, windowStyle);
}

void TimelinePlatform::sleepMs(int ms) {
    note("sleep " + std::to_string(ms));
    FakePlatform::sleepMs(ms);
}

void TimelinePlatform::doEvents() {
    note("doEvents");
    FakePlatform::doEvents();
}

void TimelinePlatform::endProgram(int exitCode) {
    note("end " + std::to_string(exitCode));
    FakePlatform::endProgram(exitCode);
}

void LauncherTest::SetUp() {
    fake.current = D();
    fake.logFile = D() + "/korvex.wfd/logs/Korvex.log";
    // The loader reads both; empty, they add no command and no site.
    dir.write("korvex.wfd/config/autoexec.ini", "");
    dir.write("korvex.wfd/config/information_sites.ini", "");
    installLauncherRoutines();
}

void LauncherTest::TearDown() { resetLauncher(); }

std::vector<std::string> LauncherTest::logLines() const { return splitLines(dir.read("korvex.wfd/logs/Korvex.log")); }

void LauncherTest::installModules() const {
    for (const char* key : {"docklet", "prepdesk", "tidyup", "tunebench", "dresser", "quillroom", "seatfinder",
                            "matchopener", "arenawarden", "webshelf", "talkgate", "addonsmith"})
        dir.touchProgram(std::string("korvex.wfd/modules/mod_") + key);
    dir.touchProgram("Game.exe");
}

void LauncherTest::writeConfig(const ConfigValues& v) const { kx::writeConfig(D(), v); }

ConfigValues LauncherTest::bobsValues() {
    ConfigValues v;
    v.playerName = "Bob";
    v.defaultMap = "the airbase";
    v.gameName = "Bob's Game";
    v.shotDir = "C:\\";
    v.gameSpy = "/opt/gamespy/GameSpy.exe";
    return v;
}

void LauncherTest::freshRun() {
    resetLauncher();
    installLauncherRoutines();
    fake.timeline.clear();
    fake.logLinesSeen = 0;
    fake.sleeps.clear();
    fake.boxes.clear();
    fake.starts.clear();
    fake.calls.clear();
    if (fileExists(fake.logFile)) removeFile(fake.logFile);
}

void LauncherTest::runLoader() {
    Form11& splash = form11();
    splash.show();
    splash.Label3->installEventFilter(new StatusWatcher(splash.Label3, fake));
    splash.Timer1_Timer();
    fake.syncLog();
}

} // namespace kx::launcher::test
