// End to end: the installed launcher, started in a demo game directory without korvex.cfg,
// starts the installed set-up module with the game directory as its argument. The wizard,
// driven through its pages in this process on the same files, writes a korvex.cfg, and the
// next start of the launcher loads it up to its main window.
#include "frmGetScreenieDir.h"
#include "frmSetup.h"

#include "platform/FakePlatform.h"
#include "core/RunError.h"
#include "core/Files.h"
#include "shared/testing/EndToEnd.h"
#include "core/Text.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonObject>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>

using namespace kx;
using kx::prepdesk::frmSetup;

namespace {

using test::jsonLines;
using test::waitFor;

struct Proc {
    qint64 pid = 0;
    QString exe;
    QStringList args;
};

// The processes whose program file lies below dir: the ones this test's programs started.
std::vector<Proc> processesBelow(const QString& dir) {
    std::vector<Proc> out;
    const QString canonical = QFileInfo(dir).canonicalFilePath();
    // Only ever a folder of this test's own: never "/" or a folder that is not there.
    if (canonical.isEmpty() || canonical == "/" || !canonical.startsWith(QFileInfo(QDir::tempPath()).canonicalFilePath() + "/")) return out;
    const QString root = canonical + "/";
    for (const QString& name : QDir("/proc").entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool ok = false;
        const qint64 pid = name.toLongLong(&ok);
        if (!ok || pid <= 1 || pid == QCoreApplication::applicationPid() || test::forkedWithoutExec(pid)) continue;
        const QString exe = QFileInfo("/proc/" + name + "/exe").symLinkTarget();
        if (!exe.startsWith(root)) continue;
        QFile cmd("/proc/" + name + "/cmdline");
        QStringList args;
        if (cmd.open(QIODevice::ReadOnly))
            for (const QByteArray& a : cmd.readAll().split('\0')) args << QString::fromLocal8Bit(a);
        if (!args.isEmpty() && args.last().isEmpty()) args.removeLast();
        out.push_back({pid, exe, args});
    }
    return out;
}

void endProcess(qint64 pid) {
    if (pid <= 1) return;
    ::kill(pid_t(pid), SIGTERM);
    if (!waitFor([&] { return !QFileInfo::exists("/proc/" + QString::number(pid) + "/exe"); }, 5000))
        ::kill(pid_t(pid), SIGKILL);
}

class SetupEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(demo.problem(), "");
        // A blank in the folder: the module still gets it as one argument.
        game = demo.game;
        QFile::remove(QString::fromStdString(resolvePath(game.toStdString(), "korvex.wfd/config/korvex.cfg")));
        ASSERT_FALSE(QFileInfo::exists(cfg()));
    }

    void TearDown() override {
        if (launcher.state() != QProcess::NotRunning) {
            launcher.kill();
            launcher.waitForFinished(5000);
        }
        for (const auto& p : processesBelow(game)) endProcess(p.pid);
    }

    QString cfg() const {
        return QString::fromStdString(resolvePath(game.toStdString(), "korvex.wfd/config/korvex.cfg"));
    }
    QString log() const {
        return QString::fromLatin1(QByteArray::fromStdString(demo.launcherLog()));
    }

    void startLauncher() { ASSERT_TRUE(demo.start(launcher, game + "/QFKorvex", {}, game)); }

    test::DemoGame demo{"Quellfort Game"};
    QString game;
    QProcess launcher;
};

TEST_F(SetupEndToEnd, MissingConfigurationLeadsThroughSetupToTheMainWindow) {
    // The module's texts are installed with the suite.
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(resolvePath(game.toStdString(), "korvex.wfd/config/firsttime.inf"))));
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(resolvePath(game.toStdString(), "korvex.wfd/config/finish.inf"))));

    // 1. Without korvex.cfg the launcher reports it, starts the set-up and ends.
    startLauncher();
    ASSERT_TRUE(launcher.waitForFinished(30000));
    EXPECT_EQ(launcher.exitStatus(), QProcess::NormalExit);
    bool told = false;
    for (const auto& d : jsonLines(demo.dialogs))
        told = told || (d["program"].toString() == "QFKorvex" &&
                        d["text"].toString().startsWith("Korvex was unable to find the configuration file."));
    EXPECT_TRUE(told);
    EXPECT_TRUE(log().contains(">> $ModuleName == prepdesk\r\n>> Executed.\r\n"));

    const QString module = game + "/korvex.wfd/modules/mod_prepdesk";
    std::vector<Proc> found;
    ASSERT_TRUE(waitFor([&] {
        found.clear();
        for (const auto& p : processesBelow(game))
            if (p.exe == module) found.push_back(p);
        return !found.empty();
    }, 15000)) << "mod_prepdesk did not start";
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].args.mid(1), QStringList{game});
    // Its wizard loads the shipped texts and the level list without a box.
    QThread::msleep(500);
    for (const auto& d : jsonLines(demo.dialogs))
        EXPECT_NE(d["program"].toString(), "mod_prepdesk") << d["text"].toString().toStdString();
    endProcess(found[0].pid);
    EXPECT_FALSE(QFileInfo::exists(cfg()));

    // 2. The wizard, driven page by page on the same game directory, writes the configuration.
    {
        FakePlatform fake;
        fake.current = game.toStdString();
        frmSetup w(game.toStdString());
        EXPECT_EQ(w.MultiPlayerMap->currentText(), "the airbase");
        EXPECT_FALSE(w.Text1->toPlainText().isEmpty());
        w.Command1_Click();
        w.PlayerNameText->setText("Tester");
        w.Command1_Click();
        w.Command1_Click();
        ASSERT_EQ(w.page(), 3);
        w.Command7_Click();
        auto* picker = w.screenieDirPicker();
        ASSERT_TRUE(picker);
        fake.inputAnswers.push_back(std::string("SnapShots"));
        picker->Command3_Click();
        const std::string shots = game.toStdString() + "/SnapShots";
        ASSERT_TRUE(dirExists(shots));
        picker->Dir1->setPath(shots); // the user opens the new folder before "&Okay"
        picker->Command1_Click();
        EXPECT_EQ(w.SnapShotDir->text(), game + "/SnapShots");
        w.Command1_Click();
        w.Command1_Click();
        ASSERT_EQ(w.page(), 5);
        ASSERT_EQ(fake.boxes.size(), 1u);
        EXPECT_EQ(fake.boxes[0].text, "Configuration written successfully.");
        EXPECT_THROW(w.Command1_Click(), ProgramEnded);
    }
    ASSERT_TRUE(QFileInfo::exists(cfg()));

    // 3. The next start loads it and goes on to its main window.
    startLauncher();
    const bool loaded = waitFor([&] { return log().contains("Status: Loading finished. Starting MainApplication."); }, 30000);
    EXPECT_TRUE(loaded) << log().toStdString();
    EXPECT_TRUE(log().contains("Registered User == Tester"));
    EXPECT_TRUE(log().contains("$SnapShotDir == " + game + "/SnapShots"));
    EXPECT_EQ(launcher.state(), QProcess::Running);
    launcher.kill();
    EXPECT_TRUE(launcher.waitForFinished(5000));
}

} // namespace
