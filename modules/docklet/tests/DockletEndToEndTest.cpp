// End to end: the installed launcher, started in a copy of the demo game directory with a
// configuration, starts the installed docklet. Without a notification area (offscreen) the
// docklet ends by itself with its note; with one (trayer under Xvfb) it stays up. No box
// comes up for it either way.
#include "shared/KorvexConfig.h"
#include "core/Files.h"
#include "core/RunError.h"
#include "core/Text.h"
#include "shared/testing/EndToEnd.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QJsonObject>
#include <QProcess>
#include <QSystemTrayIcon>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>

namespace {

using kx::test::jsonLines;
using kx::test::processesOf;
using kx::test::waitFor;

class DockletEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(demo.problem(), "");
        game = demo.game;
        docklet = game + "/korvex.wfd/modules/mod_docklet";
        ASSERT_TRUE(QFileInfo(docklet).isExecutable()) << "the docklet is not installed";
        kx::ConfigValues v;
        v.playerName = "Tester";
        v.defaultMap = "the airbase";
        kx::writeConfig(game.toStdString(), v);
    }

    void TearDown() override {
        if (launcher.state() != QProcess::NotRunning) {
            launcher.kill();
            launcher.waitForFinished(5000);
        }
        for (qint64 pid : processesOf(docklet)) ::kill(pid_t(pid), SIGKILL);
    }

    // The launcher up to its main window, on the window system qpa.
    void startLauncher(const QString& qpa) {
        ASSERT_TRUE(demo.start(launcher, game + "/QFKorvex", {}, game, qpa));
        EXPECT_TRUE(waitFor([&] { return logText().contains("Status: Loading finished. Starting MainApplication."); }, 30000))
            << logText().toStdString();
        EXPECT_TRUE(logText().contains(">> $ModuleName == docklet\r\n>> Executed.\r\n"));
    }

    QString logText() const {
        return QString::fromLatin1(QByteArray::fromStdString(demo.launcherLog()));
    }

    // The docklet's start showed no box, and the launcher none for it.
    void expectNoDockletBox() const {
        for (const auto& d : jsonLines(demo.dialogs)) {
            EXPECT_NE(d["program"].toString(), "mod_docklet") << d["text"].toString().toStdString();
            EXPECT_NE(d["title"].toString(), "An Error occured") << d["text"].toString().toStdString();
        }
    }

    kx::test::DemoGame demo{"Quell fort"};
    QString game, docklet;
    QProcess launcher;
};

TEST_F(DockletEndToEnd, WithoutANotificationAreaTheDockletEndsAndNoBoxShows) {
    ASSERT_NO_FATAL_FAILURE(startLauncher("offscreen"));
    EXPECT_TRUE(waitFor([&] { return processesOf(docklet).empty(); }, 10000)) << "the docklet runs on unreachable";
    expectNoDockletBox();
    EXPECT_EQ(launcher.state(), QProcess::Running);
}

// Under Xvfb with trayer as the notification area: the docklet stays with its icon.
TEST_F(DockletEndToEnd, WithANotificationAreaTheDockletStaysUp) {
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display || QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "needs an X display";
    ASSERT_TRUE(waitFor([] { return !QSystemTrayIcon::isSystemTrayAvailable(); }, 5000))
        << "another notification area runs on this display";
    QProcess trayer;
    trayer.start("trayer", {});
    ASSERT_TRUE(trayer.waitForStarted(5000)) << "trayer is not installed";
    EXPECT_TRUE(waitFor([] { return QSystemTrayIcon::isSystemTrayAvailable(); }, 10000));

    startLauncher("xcb");
    EXPECT_TRUE(waitFor([&] { return !processesOf(docklet).empty(); }, 10000)) << "no docklet";
    QThread::msleep(1500);
    EXPECT_EQ(processesOf(docklet).size(), 1u) << "the docklet ended although a notification area runs";
    expectNoDockletBox();

    TearDown(); // the docklet goes before its notification area
    trayer.terminate();
    if (!trayer.waitForFinished(5000)) {
        trayer.kill();
        trayer.waitForFinished(5000);
    }
}

} // namespace
