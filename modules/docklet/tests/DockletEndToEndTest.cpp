// End to end: the installed launcher, started in a copy of the demo game directory with a
// configuration, starts the installed docklet. Without a notification area (offscreen) the
// docklet ends by itself with its note; with one (trayer under Xvfb) it stays up. No box
// comes up for it either way.
#include "shared/KorvexConfig.h"
#include "core/Files.h"
#include "core/RunError.h"
#include "core/Text.h"
#include "shared/testing/GameDir.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <functional>

namespace {

bool waitFor(int ms, const std::function<bool()>& done) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > ms) return false;
        QThread::msleep(100);
    }
    return true;
}

// Process ids whose program file is exe: only programs this test started live there.
std::vector<qint64> processesOf(const QString& exe) {
    std::vector<qint64> out;
    for (const QString& name : QDir("/proc").entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool ok = false;
        const qint64 pid = name.toLongLong(&ok);
        if (ok && pid > 1 && QFileInfo("/proc/" + name + "/exe").symLinkTarget() == exe) out.push_back(pid);
    }
    return out;
}

std::vector<QJsonObject> dialogs(const QString& file) {
    std::vector<QJsonObject> out;
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) return out;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (!line.trimmed().isEmpty()) out.push_back(QJsonDocument::fromJson(line).object());
    return out;
}

class DockletEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string build = kx::test::buildDir().empty() ? KX_CONFIGURED_BUILD_DIR : kx::test::buildDir();
        const QString demo = QString::fromStdString(build) + "/demo-game";
        ASSERT_TRUE(QFileInfo(demo + "/QFKorvex").isExecutable()) << "no demo game at " << demo.toStdString();
        ASSERT_TRUE(tmp.isValid());
        game = QFileInfo(tmp.path()).canonicalFilePath() + "/Quell fort";
        std::filesystem::copy(demo.toStdString(), game.toStdString(),
                              std::filesystem::copy_options::recursive | std::filesystem::copy_options::copy_symlinks);
        docklet = game + "/korvex.wfd/modules/mod_docklet";
        ASSERT_TRUE(QFileInfo(docklet).isExecutable()) << "the docklet is not installed";
        kx::ConfigValues v;
        v.playerName = "Tester";
        v.defaultMap = "the airbase";
        kx::writeConfig(game.toStdString(), v);
        QDir().mkpath(tmp.path() + "/config");
        QDir().mkpath(tmp.path() + "/runtime");
        QFile::setPermissions(tmp.path() + "/runtime", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QFile(tmp.path() + "/answers").open(QIODevice::WriteOnly);
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
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", qpa);
        env.insert("XDG_CONFIG_HOME", tmp.path() + "/config");
        env.insert("XDG_RUNTIME_DIR", tmp.path() + "/runtime");
        env.insert("KORVEX_DIALOGS", tmp.path() + "/dialogs.jsonl");
        env.insert("KORVEX_DIALOG_ANSWERS", tmp.path() + "/answers");
        env.insert("KORVEX_STANDIN_JOURNAL", tmp.path() + "/standin.jsonl");
        env.insert("KORVEX_STANDIN_QUIT", "1");
        launcher.setProgram(game + "/QFKorvex");
        launcher.setWorkingDirectory(game);
        launcher.setProcessEnvironment(env);
        launcher.setProcessChannelMode(QProcess::ForwardedChannels);
        launcher.start();
        ASSERT_TRUE(launcher.waitForStarted(10000));
        EXPECT_TRUE(waitFor(30000, [&] { return logText().contains("Status: Loading finished. Starting MainApplication."); }))
            << logText().toStdString();
        EXPECT_TRUE(logText().contains(">> $ModuleName == docklet\r\n>> Executed.\r\n"));
    }

    QString logText() const {
        QFile f(QString::fromStdString(kx::resolvePath(game.toStdString(), "Korvex.wfd/Logs/Korvex.log")));
        return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()) : QString();
    }

    // The docklet's start showed no box, and the launcher none for it.
    void expectNoDockletBox() const {
        for (const auto& d : dialogs(tmp.path() + "/dialogs.jsonl")) {
            EXPECT_NE(d["program"].toString(), "mod_docklet") << d["text"].toString().toStdString();
            EXPECT_NE(d["title"].toString(), "An Error occured") << d["text"].toString().toStdString();
        }
    }

    QTemporaryDir tmp;
    QString game, docklet;
    QProcess launcher;
};

TEST_F(DockletEndToEnd, WithoutANotificationAreaTheDockletEndsAndNoBoxShows) {
    ASSERT_NO_FATAL_FAILURE(startLauncher("offscreen"));
    EXPECT_TRUE(waitFor(10000, [&] { return processesOf(docklet).empty(); })) << "the docklet runs on unreachable";
    expectNoDockletBox();
    EXPECT_EQ(launcher.state(), QProcess::Running);
}

// Under Xvfb with trayer as the notification area: the docklet stays with its icon.
TEST_F(DockletEndToEnd, WithANotificationAreaTheDockletStaysUp) {
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display || QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "needs an X display";
    ASSERT_TRUE(waitFor(5000, [] { return !QSystemTrayIcon::isSystemTrayAvailable(); }))
        << "another notification area runs on this display";
    QProcess trayer;
    trayer.start("trayer", {});
    ASSERT_TRUE(trayer.waitForStarted(5000)) << "trayer is not installed";
    EXPECT_TRUE(waitFor(10000, [] { return QSystemTrayIcon::isSystemTrayAvailable(); }));

    startLauncher("xcb");
    EXPECT_TRUE(waitFor(10000, [&] { return !processesOf(docklet).empty(); })) << "no docklet";
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
