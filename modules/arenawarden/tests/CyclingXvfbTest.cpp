// A cycling server on a real display: the real process start and window service, only the
// clock replaced. The stand-in game's dedicated server is started, closed by its window title at
// the end of the cycle, and started again with the next map.
#include "GameServer.h"
#include "ModuleState.h"
#include "TextControls.h"
#include "frmServerModule.h"

#include "shared/testing/GameDir.h"
#include "platform/Platform.h"
#include "platform/RealPlatform.h"
#include "core/RunError.h"
#include "standins/tests/StandinRun.h"
#include "core/Text.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QThread>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

namespace kx::arenawarden {
namespace {

// Everything from the real platform, except the present time, which the test moves.
class ClockPlatform : public Platform {
public:
    explicit ClockPlatform(Platform& real) : real_(real) { setProgramName("mod_arenawarden"); }
    qint64 offsetMs = 0;

    int msgBox(const std::string& t, int s, const std::string& ti) override { return real_.msgBox(t, s, ti); }
    std::string inputBox(const std::string& p, const std::string& t, const std::string& d) override {
        return real_.inputBox(p, t, d);
    }
    void startProcess(const std::string& p, const std::vector<std::string>& a, const std::string& w, int s) override {
        real_.startProcess(p, a, w, s);
    }
    int shellOpen(const std::string& t) override { return real_.shellOpen(t); }
    void openInEditor(const std::string& f) override { real_.openInEditor(f); }
    void openFolder(const std::string& f) override { real_.openFolder(f); }
    [[noreturn]] void endProgram(int code) override { throw ProgramEnded{code}; }
    std::string getSetting(const std::string& a, const std::string& s, const std::string& k) override {
        return real_.getSetting(a, s, k);
    }
    void saveSetting(const std::string& a, const std::string& s, const std::string& k, const std::string& v) override {
        real_.saveSetting(a, s, k, v);
    }
    long regOpenKey(Hive h, const std::string& s, RegKey& k) override { return real_.regOpenKey(h, s, k); }
    long regCreateKey(Hive h, const std::string& s, RegKey& k) override { return real_.regCreateKey(h, s, k); }
    long regQueryValue(RegKey k, const std::string& n, std::uint32_t& t, std::string& d) override {
        return real_.regQueryValue(k, n, t, d);
    }
    long regSetString(RegKey k, const std::string& n, const std::string& v) override { return real_.regSetString(k, n, v); }
    long regSetDword(RegKey k, const std::string& n, std::uint32_t v) override { return real_.regSetDword(k, n, v); }
    long regCloseKey(RegKey k) override { return real_.regCloseKey(k); }
    std::vector<TopWindow> topWindows() override { return real_.topWindows(); }
    bool closeWindow(std::uint64_t id) override { return real_.closeWindow(id); }
    bool trayAdd(const std::string& i, const std::string& t, std::function<void(int)> m) override {
        return real_.trayAdd(i, t, std::move(m));
    }
    void trayRemove() override { real_.trayRemove(); }
    int socketsStart() override { return real_.socketsStart(); }
    int socketsStop() override { return real_.socketsStop(); }
    std::vector<std::string> resolveIPv4(const std::string& h) override { return real_.resolveIPv4(h); }
    bool isReachable(const std::string& a) override { return real_.isReachable(a); }
    std::string computerName() override { return real_.computerName(); }
    QDateTime now() override { return real_.now().addMSecs(offsetMs); }
    void sleepMs(int ms) override { real_.sleepMs(ms); }
    void doEvents() override { real_.doEvents(); }
    double random() override { return real_.random(); }
    std::string currentDir() override { return real_.currentDir(); }
    void setCurrentDir(const std::string& d) override { real_.setCurrentDir(d); }
    std::vector<std::string> drives() override { return real_.drives(); }

private:
    Platform& real_;
};

// Runs the event loop (the module's timer with it) until done() or the time is up.
bool waitFor(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < timeoutMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        if (done()) return true;
        QThread::msleep(20);
    }
    return done();
}

class CyclingOnADisplay : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs a display (the test runner gives one)";
        test::copyStandin(dir_.path(), "Game.exe");
        journal_ = dir_.file("journal.jsonl");
        setenv("KORVEX_STANDIN_JOURNAL", journal_.c_str(), 1);
        real_ = makeRealPlatform();
        clock_ = std::make_unique<ClockPlatform>(*real_);
        previous_ = setPlatform(clock_.get());
        resetModule();
    }
    void TearDown() override {
        if (!clock_) return;
        // Leave no stand-in behind, whatever failed.
        KillWindowsByTitle(DedicatedServerTitle);
        resetModule();
        setPlatform(previous_);
        unsetenv("KORVEX_STANDIN_JOURNAL");
    }
    int serverWindows() {
        int n = 0;
        for (const auto& w : platform().topWindows()) n += w.title == DedicatedServerTitle;
        return n;
    }
    size_t starts() { return test::journalEntries(journal_).size(); }

    test::GameDir dir_;
    std::string journal_;
    std::unique_ptr<Platform> real_;
    std::unique_ptr<ClockPlatform> clock_;
    Platform* previous_ = nullptr;
};

TEST_F(CyclingOnADisplay, TheEndOfTheCycleClosesTheServerByTitleAndStartsTheNextMap) {
    ModuleState& s = state();
    s.korvexDir = dir_.path();
    s.serverPlayers = 8;
    s.cycleMinutes = 10;
    s.serverGameType = "ctf";
    s.serverName = "KX3.Display Arena";
    frmServerModule& m = serverModule();
    m.List1->addItem("the airbase");
    m.List1->addItem("dust valley");
    m.show();
    m.Command1_Click();

    ASSERT_TRUE(waitFor([&] { return starts() == 1 && serverWindows() == 1; }, 15000))
        << "starts " << starts() << ", windows " << serverWindows();
    auto first = test::journalEntries(journal_);
    EXPECT_EQ(first[0].value("as").toString().toStdString(), "Game.exe");
    EXPECT_EQ(test::entryArgs(first[0]), serverCommand(8, "KX3.Display Arena", "the airbase", "ctf").args);
    EXPECT_EQ(first[0].value("cwd").toString().toStdString(), dir_.path());

    // The cycle runs on: half a second of ticks changes nothing.
    waitFor([] { return false; }, 500);
    EXPECT_EQ(starts(), 1u);

    clock_->offsetMs = 10 * 60 * 1000;
    ASSERT_TRUE(waitFor([&] { return starts() == 2; }, 15000)) << "no second start";
    const auto entries = test::journalEntries(journal_);
    EXPECT_EQ(test::entryArgs(entries[1]), serverCommand(8, "KX3.Display Arena", "dust valley", "ctf").args);
    // The first server went on the close request; only the new one is up.
    EXPECT_TRUE(waitFor([&] { return serverWindows() == 1; }, 10000)) << serverWindows() << " server windows";
    EXPECT_EQ(fromUi(m.Text2->text()), "dust valley");
    const auto log = splitLines(m.Text1->text());
    EXPECT_NE(std::find(log.begin(), log.end(), "Timelimit reached..."), log.end());
    waitFor([] { return false; }, 500);
    EXPECT_EQ(starts(), 2u);
}

} // namespace
} // namespace kx::arenawarden
