// The installed mod_tidyup in a copy of the demo game directory, started as the launcher
// starts it when it closes: it cleans, shrinks its window and ends by itself.
#include "shared/testing/EndToEnd.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

class TidyUpEndToEnd : public ::testing::Test {
protected:
    kx::test::DemoGame demo{"game dir"};
    std::string game, logs;

    void SetUp() override {
        ASSERT_EQ(demo.problem(), "");
        game = demo.game.toStdString();
        ASSERT_TRUE(fs::exists(game + "/korvex.wfd/modules/mod_tidyup")) << "mod_tidyup is not installed";
        logs = game + "/korvex.wfd/logs";
        fs::create_directories(logs);
    }

    void log(const std::string& name, size_t bytes) const { std::ofstream(logs + "/" + name) << std::string(bytes, 'x'); }

    void start(QProcess& p) const {
        ASSERT_TRUE(demo.start(p, QString::fromStdString(game + "/korvex.wfd/modules/mod_tidyup"),
                               {QString::fromStdString(game)}, QString()));
    }
};

} // namespace

TEST_F(TidyUpEndToEnd, CleansAndEndsByItselfWhileASecondStartEndsAtOnce) {
    log("Korvex.log", 61953);
    log("lvlsmith.log", 61952);
    log("plg_orn.log", 200000);

    QProcess first;
    QElapsedTimer t;
    t.start();
    start(first);
    // Once the first has deleted a log it holds its lock: a second start ends at once.
    while (fs::exists(logs + "/Korvex.log") && t.elapsed() < 10000) QThread::msleep(20);
    QElapsedTimer t2;
    t2.start();
    QProcess second;
    start(second);
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_LT(t2.elapsed(), 1000) << "the second start waited for the first";
    EXPECT_EQ(first.state(), QProcess::Running);

    // Three logs at 400 ms each, 300 ms at the end and the shrinking.
    ASSERT_TRUE(first.waitForFinished(20000));
    EXPECT_EQ(first.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(first.exitCode(), 0);
    EXPECT_GE(t.elapsed(), 1500);
    EXPECT_FALSE(fs::exists(logs + "/Korvex.log"));
    EXPECT_TRUE(fs::exists(logs + "/lvlsmith.log"));
    EXPECT_FALSE(fs::exists(logs + "/plg_orn.log"));
    EXPECT_FALSE(fs::exists(demo.dialogs.toStdString())) << "no box on the way";
}
