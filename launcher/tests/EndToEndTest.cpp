// The installed QFKorvex in a copy of the demo game directory, with scripted dialogs. The
// modules it starts at start-up and on the error path are stand-ins here, so that the run
// shows how the launcher starts them (the journal) without their windows.
#include "Form1.h"
#include "Form11.h"
#include "Launcher.h"

#include "core/Files.h"
#include "platform/FakePlatform.h"
#include "shared/KorvexConfig.h"
#include "core/RunError.h"
#include "core/Text.h"
#include "shared/testing/EndToEnd.h"

#include <QAction>
#include <QByteArray>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gmock/gmock.h>

#include <filesystem>
#include <functional>

using ::testing::ElementsAreArray;
using ::testing::HasSubstr;

namespace fs = std::filesystem;

namespace {

using kx::test::jsonLines;
using kx::test::readOrEmpty;
using kx::test::waitFor;

class LauncherEndToEnd : public ::testing::Test {
protected:
    kx::test::DemoGame demo{"game dir"}; // a blank in the base directory, as players' game folders often have
    std::string game, journal, dialogs, answers;

    void SetUp() override {
        ASSERT_EQ(demo.problem(), "");
        game = demo.game.toStdString();
        for (const char* key : {"docklet", "prepdesk", "tidyup"})
            fs::copy_file(game + "/Game.exe", game + "/korvex.wfd/modules/mod_" + key,
                          fs::copy_options::overwrite_existing);
        fs::remove(game + "/korvex.wfd/config/korvex.cfg");
        journal = demo.journal.toStdString();
        dialogs = demo.dialogs.toStdString();
        answers = demo.answers.toStdString();
    }

    void start(QProcess& p) const {
        const QString dir = QString::fromStdString(game);
        ASSERT_TRUE(demo.start(p, dir + "/QFKorvex", {}, dir));
    }

    std::vector<std::string> log() const {
        return kx::splitLines(demo.launcherLog());
    }

    bool logHas(const std::string& line) const {
        const auto l = log();
        return std::find(l.begin(), l.end(), line) != l.end();
    }

    // The journal's lines for one stand-in, each as its argument list.
    std::vector<std::vector<std::string>> startsOf(const std::string& as) const {
        std::vector<std::vector<std::string>> out;
        for (const auto& o : jsonLines(journal)) {
            if (o["as"].toString().toStdString() != as) continue;
            std::vector<std::string> args;
            for (const auto& a : o["args"].toArray()) args.push_back(a.toString().toStdString());
            out.push_back(args);
        }
        return out;
    }
};

} // namespace

TEST_F(LauncherEndToEnd, WithoutConfigurationTheSetUpIsStartedAndTheLauncherEnds) {
    QProcess p;
    start(p);
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 0);

    const auto l = log();
    ASSERT_GE(l.size(), 3u);
    EXPECT_EQ(l[0], "");
    EXPECT_THAT(l[1], ::testing::StartsWith("KORVEX3.1 Launched..... "));
    EXPECT_THAT(std::vector<std::string>(l.begin() + 2, l.end()),
                ElementsAreArray(std::vector<std::string>{"$KorvexDir == " + game, "ERROR!", ">> File not found", ">> 53",
                                  "Called ModuleStart().", ">> $ModuleName == prepdesk", ">> Executed."}));

    const auto boxes = jsonLines(dialogs);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0]["program"].toString(), "QFKorvex");
    EXPECT_EQ(boxes[0]["kind"].toString(), "msgbox");
    EXPECT_EQ(boxes[0]["text"].toString().toStdString(),
              "Korvex was unable to find the configuration file. Korvex Setup will be run now.\r\n"
              "Program halted.\r\n\r\nFile not found, 53");
    EXPECT_EQ(boxes[0]["style"].toInt(), 48);
    EXPECT_EQ(boxes[0]["title"].toString(), "error.");

    ASSERT_TRUE(waitFor([&] { return !startsOf("mod_prepdesk").empty(); }, 10000));
    EXPECT_THAT(startsOf("mod_prepdesk"), ElementsAreArray({std::vector<std::string>{game}}));
    EXPECT_TRUE(startsOf("mod_docklet").empty());
    EXPECT_TRUE(startsOf("mod_tidyup").empty());
}

// A fresh game directory with the set-up's defaults (doautoexec=true) and the shipped
// autoexec.ini and information_sites.ini: no box on the way to the main window.
TEST_F(LauncherEndToEnd, WithConfigurationItLoadsStartsTheTrayModuleAndRunsOnce) {
    kx::ConfigValues v;
    v.playerName = "Bob";
    v.defaultMap = "the airbase";
    v.gameName = "Bob's Game";
    v.shotDir = "C:\\";
    kx::writeConfig(game, v);

    QProcess p;
    start(p);
    const bool loaded = waitFor([&] { return logHas("Status: Loading finished. Starting MainApplication."); }, 30000);
    EXPECT_TRUE(loaded) << "log:\n" << kx::joinLines(log());
    if (loaded) {
        const auto l = log();
        const auto from = std::find(l.begin(), l.end(), "Open Configuration file...");
        ASSERT_NE(from, l.end());
        EXPECT_THAT(std::vector<std::string>(from, l.end()),
                    ElementsAreArray(std::vector<std::string>{"Open Configuration file...", "Registered User == Bob",
                                      "Closing Configuration File...", "Writing Globals to memory...",
                                      ">> $SnapShotDir is a Root. Shortening to Drive.", "$SnapShotDir == C:",
                                      "$GameSpyFile == ", "Retreiving PlugIns...",
                                      // the two shipped plug-in descriptions
                                      ">> LevelForge", ">> MapMaker", ">> %i LAST_PLUGIN == 1",
                                      "Start Docklet Extension...",
                                      "Called ModuleStart().", ">> $ModuleName == docklet", ">> Executed.",
                                      "Executing LoadWebSites()...", "Executing ParseAutoExec()...",
                                      // the shipped autoexec.ini's one command
                                      "Called ModuleStart().", ">> $ModuleName == docklet", ">> Executed.",
                                      "Status: Ready for Mainscreen reached.", "Executing ApplySkin()",
                                      ">> Skin == qfs 3.1 default",
                                      "Status: Loading finished. Starting MainApplication.",
                                      std::string(51, '-')}));
        // The loader starts the tray module, and the shipped autoexec.ini asks for it again.
        EXPECT_TRUE(waitFor([&] { return startsOf("mod_docklet").size() == 2; }, 10000));
        EXPECT_THAT(startsOf("mod_docklet"), ElementsAreArray({std::vector<std::string>{game}, {game}}));

        // A second start while the first runs ends at once, silently.
        const size_t lines = log().size();
        QProcess second;
        start(second);
        EXPECT_TRUE(second.waitForFinished(10000));
        EXPECT_EQ(second.exitCode(), 0);
        EXPECT_EQ(log().size(), lines);
    }
    EXPECT_TRUE(jsonLines(dialogs).empty()) << readOrEmpty(dialogs);
    EXPECT_EQ(p.state(), QProcess::Running) << "the main window keeps the launcher up";

    p.kill();
    p.waitForFinished(10000);
}

// The shipped plug-in folder's layout: a description pointing at korvex.wfd/plugins/orn with
// the program's ".exe" name, started by the autoexec script with the game directory as its
// one argument; a description whose program is missing gives the failure box.
TEST_F(LauncherEndToEnd, AutoexecRunsAPlugInThatStartsItsProgram) {
    kx::writeConfig(game, kx::ConfigValues{});
    const std::string orn = kx::resolvePath(game, "korvex.wfd/plugins/orn");
    fs::create_directories(orn);
    fs::copy_file(game + "/Game.exe", orn + "/plg_orn", fs::copy_options::overwrite_existing);
    const std::string plugins = kx::resolvePath(game, "korvex.wfd/plugins");
    kx::writeLinesAtomic(plugins + "/e2e orn.spi", {"; a test plug-in", "usesqfd=true",
                                                    "approot=\\korvex.wfd\\plugins\\orn\\", "appfile=plg_orn.exe",
                                                    "useswfd=true", "rtninfo=true"});
    kx::writeLinesAtomic(plugins + "/e2e gone.spi", {"usesqfd=true", "approot=\\nowhere\\", "appfile=gone.exe"});
    kx::writeLinesAtomic(kx::resolvePath(game, "korvex.wfd/config/autoexec.ini"),
                         {"execplugin=e2e orn.spi", "execplugin=e2e gone.spi"});

    QProcess p;
    start(p);
    const bool loaded = waitFor([&] { return logHas("Status: Loading finished. Starting MainApplication."); }, 30000);
    EXPECT_TRUE(loaded) << "log:\n" << kx::joinLines(log());
    EXPECT_TRUE(waitFor([&] { return !startsOf("plg_orn").empty(); }, 10000));
    EXPECT_THAT(startsOf("plg_orn"), ElementsAreArray({std::vector<std::string>{game}}));
    EXPECT_TRUE(logHas(">> $ExecFile == " + game + "\\korvex.wfd\\plugins\\orn\\plg_orn.exe"));

    const auto boxes = jsonLines(dialogs);
    ASSERT_EQ(boxes.size(), 2u) << readOrEmpty(dialogs);
    EXPECT_EQ(boxes[0]["text"].toString().toStdString(), "Execution of Plugin 'plg_orn.exe' successful");
    EXPECT_EQ(boxes[0]["title"].toString(), "Info...");
    EXPECT_THAT(boxes[1]["text"].toString().toStdString(), ::testing::StartsWith("Starting of Plugin 'gone.exe' failed"));
    EXPECT_EQ(boxes[1]["style"].toInt(), 16);

    p.kill();
    p.waitForFinished(10000);
}

// The installed data tree, loaded in this process so that the menus can be looked at: the
// shipped sites are listed, and nothing on the way shows a box.
TEST_F(LauncherEndToEnd, InstalledSitesFillTheMenu) {
    kx::writeConfig(game, kx::ConfigValues{});
    kx::FakePlatform fake;
    fake.current = game;
    kx::launcher::installLauncherRoutines();
    kx::launcher::form11().Timer1_Timer();
    kx::launcher::Form1* main = kx::launcher::loadedForm1();
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(main->isVisible());
    std::vector<std::string> sites;
    for (QAction* a : main->mnuBrowsethisWebSite) {
        EXPECT_TRUE(a->isEnabled());
        sites.push_back(a->text().toStdString());
    }
    EXPECT_THAT(sites, ElementsAreArray({"Korvex news", "Quellfort community"}));
    std::vector<std::string> boxes;
    for (const auto& b : fake.boxes) boxes.push_back(b.text);
    EXPECT_THAT(boxes, ::testing::IsEmpty());

    main->mnuBrowsethisWebSite[1]->trigger();
    EXPECT_EQ(fake.shellOpens, std::vector<std::string>{"https://www.example.com/quellfort/"});
    kx::launcher::resetLauncher();
}
