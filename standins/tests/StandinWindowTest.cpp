// The stand-in's windows on a real display, found and closed by title the way the
// dedicated-server module does it.

#include "standins/tests/StandinRun.h"

#include "shared/testing/GameDir.h"
#include "platform/RealPlatform.h"

#include <QElapsedTimer>
#include <QThread>

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

namespace kx::test {
namespace {

const std::string kTitle = "Quellfort dedicated server on port 24711";

std::optional<TopWindow> findWindow(Platform& p, const std::string& title, int timeoutMs) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < timeoutMs) {
        for (const auto& w : p.topWindows())
            if (w.title == title) return w;
        QThread::msleep(100);
    }
    return std::nullopt;
}

class StandinWindow : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs a display (the test runner gives one)";
        copyStandin(dir_.path(), "Game.exe");
        platform_ = makeRealPlatform();
    }
    QProcessEnvironment env() const {
        return standinEnvironment({{"QT_QPA_PLATFORM", "xcb"},
                                   {"KORVEX_STANDIN_JOURNAL", QString::fromStdString(dir_.file("journal.jsonl"))}});
    }
    GameDir dir_;
    std::unique_ptr<Platform> platform_;
};

TEST_F(StandinWindow, DedicatedServerRunsUntilItsWindowIsClosedByTitle) {
    auto server = startProgram(dir_.file("Game.exe"),
                               {"+host", "+maxplayers", "9", "+hostname", "srv", "+map", "the airbase", "+dedicated"},
                               dir_.path(), env());
    ASSERT_TRUE(server->waitForStarted(5000));
    const auto w = findWindow(*platform_, kTitle, 10000);
    ASSERT_TRUE(w.has_value()) << "no window titled " << kTitle;
    QThread::msleep(500);
    EXPECT_EQ(server->state(), QProcess::Running);
    EXPECT_TRUE(platform_->closeWindow(w->id));
    ASSERT_TRUE(server->waitForFinished(5000));
    EXPECT_EQ(server->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(server->exitCode(), 0);
}

TEST_F(StandinWindow, PlainStartShowsAWindowThatGoesByItself) {
    auto game = startProgram(dir_.file("Game.exe"), {"+connect", "10.0.0.1:24711"}, dir_.path(), env());
    const auto w = findWindow(*platform_, "Game.exe stand-in", 10000);
    EXPECT_TRUE(w.has_value());
    ASSERT_TRUE(game->waitForFinished(15000));
    EXPECT_EQ(game->exitCode(), 0);
    EXPECT_FALSE(findWindow(*platform_, "Game.exe stand-in", 300).has_value());
}

} // namespace
} // namespace kx::test
