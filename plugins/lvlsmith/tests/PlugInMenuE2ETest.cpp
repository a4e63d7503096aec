// The plug-in menu of the launcher over a copy of the installed demo game directory: the items
// made from the shipped LevelForge.spi and MapMaker.spi start the installed plug-in programs
// through the launcher's own runner. The launcher runs in this process on the real platform
// (boxes scripted), so that its menu items can be triggered; once more as the installed
// QFKorvex, whose autoexec script runs the same descriptions. Every program a run starts
// lies below the test's temporary folder and is ended by the test.
#include "Form1.h"
#include "Form11.h"
#include "Launcher.h"

#include "core/Files.h"
#include "core/Text.h"
#include "platform/Platform.h"
#include "platform/RealPlatform.h"
#include "shared/KorvexConfig.h"
#include "shared/testing/EndToEnd.h"
#include "shared/testing/GameDir.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <signal.h>

namespace kx {
namespace {

using test::jsonLines;
using test::readOrEmpty;
using test::waitFor;

QString q(const std::string& s) { return QString::fromStdString(s); }

using Running = test::RunningProcess;
using test::processesBelow;

bool gone(qint64 pid) { return !QFileInfo::exists("/proc/" + QString::number(pid) + "/exe"); }

// Ends what is left below folder: asked first, then forced.
void endProcessesBelow(const QString& folder) {
    for (const Running& r : processesBelow(folder)) {
        ::kill(pid_t(r.pid), SIGTERM);
        if (!waitFor([&] { return gone(r.pid); }, 5000)) ::kill(pid_t(r.pid), SIGKILL);
        EXPECT_TRUE(waitFor([&] { return gone(r.pid); }, 5000)) << r.args.join(' ').toStdString();
    }
}

class PlugInMenu : public ::testing::Test {
protected:
    void SetUp() override {
        const QString demo = q(test::buildDir()) + "/demo-game";
        if (!QFileInfo(demo + "/QFKorvex").isFile()) GTEST_SKIP() << "no demo game directory at " << demo.toStdString();
        ASSERT_TRUE(tmp.isValid());
        root = QFileInfo(tmp.path()).canonicalFilePath();
        // A blank in the base directory, as players' game folders often have.
        dir = root + "/Demo Game";
        test::copyTree(demo, dir);
        base = dir.toStdString();
        writeConfig(base, ConfigValues{});
        journal = root + "/journal.jsonl";
        dialogs = root + "/dialogs.jsonl";
        opened = root + "/opened";
        registry = root + "/config/Korvex/registry.reg";
        for (const char* d : {"/config/Korvex", "/runtime", "/bin"}) QDir().mkpath(root + d);
        QFile::setPermissions(root + "/runtime", QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        // The desktop's opener records what it was given instead of opening it.
        writeFile(root + "/bin/xdg-open", "#!/bin/sh\nprintf '%s\\n' \"$*\" >> '" + opened.toLocal8Bit() + "'\n");
        QFile::setPermissions(root + "/bin/xdg-open",
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        env = {{"KORVEX_STANDIN_JOURNAL", journal},
               {"KORVEX_STANDIN_QUIT", "1"},
               {"KORVEX_DIALOGS", dialogs},
               {"KORVEX_DIALOG_ANSWERS", root + "/answers"},
               {"XDG_CONFIG_HOME", root + "/config"},
               {"XDG_RUNTIME_DIR", root + "/runtime"},
               {"PATH", root + "/bin:" + qEnvironmentVariable("PATH")},
               {"QT_QPA_PLATFORM", "offscreen"}};
        scoped = std::make_unique<test::ScopedEnv>(env);
    }
    void TearDown() override {
        if (loaded) launcher::resetLauncher();
        if (real) setPlatform(previous);
        if (!root.isEmpty()) endProcessesBelow(root);
        scoped.reset();
    }

    static void writeFile(const QString& path, const QByteArray& bytes) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    // The folder of the MapMaker program as a user registers it: the game directory.
    void registerMapMaker() const {
        writeFile(registry, "Windows Registry Editor Version 5.00\r\n\r\n"
                            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Doravuzu\\MapMaker]\r\n\"InstallPath\"=\"" +
                                dir.toUtf8() + "\"\r\n");
    }

    // The launcher in this process, loaded in the game directory up to its main window.
    launcher::Form1* loadLauncher() {
        QDir::setCurrent(dir); // the launcher's base is its current directory
        real = makeRealPlatform();
        previous = setPlatform(real.get());
        real->setProgramName("QFKorvex");
        launcher::installLauncherRoutines();
        loaded = true;
        launcher::form11().Timer1_Timer();
        return launcher::loadedForm1();
    }
    static QAction* item(launcher::Form1& main, const QString& caption) {
        for (QAction* a : main.mnuToolsPlugIn)
            if (a->text() == caption) return a;
        ADD_FAILURE() << "no plug-in item " << caption.toStdString();
        return nullptr;
    }

    std::vector<QJsonObject> startsOf(const QString& as) const {
        std::vector<QJsonObject> out;
        for (const auto& o : jsonLines(journal))
            if (o["as"].toString() == as) out.push_back(o);
        return out;
    }
    std::vector<QJsonObject> boxesOf(const QString& program) const {
        std::vector<QJsonObject> out;
        for (const auto& o : jsonLines(dialogs))
            if (o["program"].toString() == program) out.push_back(o);
        return out;
    }
    std::vector<std::string> ornLog() const {
        return splitLines(readOrEmpty(resolvePath(base, "korvex.wfd/logs/plg_orn.log")));
    }
    bool ornEnded(size_t runs) const {
        const auto l = ornLog();
        return size_t(std::count(l.begin(), l.end(), "Bye.")) == runs &&
               processesBelow(dir + "/korvex.wfd/plugins/orn").empty();
    }
    std::string lvlsmith() const { return base + "/korvex.wfd/plugins/levelaide/LVLSMITH"; }
    std::vector<Running> lvlsmithRuns() const {
        std::vector<Running> out;
        for (const Running& r : processesBelow(root))
            if (!r.args.isEmpty() && r.args[0] == q(lvlsmith())) out.push_back(r);
        return out;
    }

    QTemporaryDir tmp;
    QString root, dir, journal, dialogs, opened, registry;
    std::string base;
    std::vector<std::pair<QString, QString>> env;
    std::unique_ptr<test::ScopedEnv> scoped;
    std::unique_ptr<Platform> real;
    Platform* previous = nullptr;
    bool loaded = false;
};

// The tool's folder is not registered at first: plg_orn adds the key with an empty value for
// the user to fill in and halts with its box; once the folder is in the registry file, the
// same item starts the tool from it.
TEST_F(PlugInMenu, MapMakerItemStartsTheToolWhoseFolderIsRegistered) {
    launcher::Form1* main = loadLauncher();
    ASSERT_NE(main, nullptr);
    std::vector<std::string> captions;
    for (QAction* a : main->mnuToolsPlugIn) captions.push_back(fromUi(a->text()));
    EXPECT_EQ(captions, (std::vector<std::string>{"LevelForge", "MapMaker"}));
    EXPECT_TRUE(jsonLines(dialogs).empty()) << readOrEmpty(dialogs.toStdString());
    QAction* mapMaker = item(*main, "MapMaker");
    ASSERT_NE(mapMaker, nullptr);

    mapMaker->trigger();
    ASSERT_TRUE(waitFor([&] { return ornEnded(1); })) << joinLines(ornLog());
    const auto halted = boxesOf("plg_orn");
    ASSERT_EQ(halted.size(), 1u) << readOrEmpty(dialogs.toStdString());
    EXPECT_EQ(halted[0]["text"].toString().toStdString(),
              "Execution halted! Retreived Registry Path is NULL.\rCheck if the Program is available on your "
              "Computer\r\nand is installed properly.");
    EXPECT_TRUE(readOrEmpty(registry.toStdString())
                    .find("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Doravuzu\\MapMaker]\r\n\"InstallPath\"=\"\"") !=
                std::string::npos)
        << readOrEmpty(registry.toStdString());
    EXPECT_TRUE(startsOf("mapmaker.exe").empty());

    registerMapMaker();
    mapMaker->trigger();
    ASSERT_TRUE(waitFor([&] { return !startsOf("mapmaker.exe").empty() && ornEnded(2); })) << joinLines(ornLog());
    const auto tool = startsOf("mapmaker.exe");
    ASSERT_EQ(tool.size(), 1u);
    EXPECT_TRUE(tool[0]["args"].toArray().isEmpty());
    EXPECT_EQ(tool[0]["cwd"].toString(), dir);
    // The runner gave plg_orn "mapmaker; <game directory>": it read that directory's descriptors.
    const auto log = ornLog();
    for (const std::string& line : {">> Opening " + base + "/korvex.wfd/config/orn_functions.ini.",
                                   "Built File is : '" + base + "\\mapmaker.exe' at $BuiltFile"})
        EXPECT_NE(std::find(log.begin(), log.end(), line), log.end()) << line;
    EXPECT_EQ(boxesOf("plg_orn").size(), 1u) << "no box on the second run";
    EXPECT_TRUE(boxesOf("QFKorvex").empty()) << readOrEmpty(dialogs.toStdString());
}

TEST_F(PlugInMenu, LevelForgeItemOpensTheAssistantOnTheGameDirectory) {
    launcher::Form1* main = loadLauncher();
    ASSERT_NE(main, nullptr);
    QAction* levelForge = item(*main, "LevelForge");
    ASSERT_NE(levelForge, nullptr);

    levelForge->trigger();
    ASSERT_TRUE(waitFor([&] { return !lvlsmithRuns().empty(); }));
    const auto runs = lvlsmithRuns();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].args, (QStringList{q(lvlsmith()), dir}));
    // The first start's welcome, the manual through the desktop, the remembered setting.
    ASSERT_TRUE(waitFor([&] {
        return readOrEmpty(opened.toStdString()).find("levelaide.htm") != std::string::npos &&
               readOrEmpty(root.toStdString() + "/config/Korvex/LevelForge.ini").find("firsttime=YES") !=
                   std::string::npos;
    }));
    const auto welcome = boxesOf("LVLSMITH");
    ASSERT_EQ(welcome.size(), 1u);
    EXPECT_EQ(welcome[0]["title"].toString(), "welcome.");
    EXPECT_TRUE(boxesOf("QFKorvex").empty()) << readOrEmpty(dialogs.toStdString());
    EXPECT_FALSE(waitFor([&] { return lvlsmithRuns().empty(); }, 500)) << "its window is up";
    EXPECT_TRUE(jsonLines(journal).empty()) << "the assistant starts nothing by itself";
}

// The installed QFKorvex runs both descriptions from its autoexec script, through the same
// runner as the menu.
TEST_F(PlugInMenu, InstalledLauncherRunsBothDescriptions) {
    registerMapMaker();
    writeLinesAtomic(resolvePath(base, "korvex.wfd/config/autoexec.ini"),
                     {"execplugin=MapMaker.spi", "execplugin=LevelForge.spi"});
    QProcess launcher;
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    for (const auto& [k, v] : env) e.insert(k, v);
    launcher.setProcessEnvironment(e);
    launcher.setWorkingDirectory(dir);
    launcher.setProcessChannelMode(QProcess::ForwardedChannels);
    launcher.start(dir + "/QFKorvex", {});
    ASSERT_TRUE(launcher.waitForStarted(10000));

    EXPECT_TRUE(waitFor([&] { return !startsOf("mapmaker.exe").empty() && ornEnded(1); }, 30000))
        << joinLines(ornLog());
    EXPECT_TRUE(waitFor([&] { return !lvlsmithRuns().empty(); }, 30000));
    const auto runs = lvlsmithRuns();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].args, (QStringList{q(lvlsmith()), dir}));
    const auto log = splitLines(readOrEmpty(resolvePath(base, "korvex.wfd/logs/Korvex.log")));
    for (const std::string& line : {">> $ExecFile == " + base + "\\korvex.wfd\\plugins\\orn\\plg_orn.exe mapmaker;",
                                   ">> $ExecFile == " + base + "\\korvex.wfd\\plugins\\levelaide\\lvlsmith.exe"})
        EXPECT_NE(std::find(log.begin(), log.end(), line), log.end()) << line;
    EXPECT_TRUE(boxesOf("QFKorvex").empty()) << readOrEmpty(dialogs.toStdString());
    EXPECT_TRUE(boxesOf("plg_orn").empty()) << readOrEmpty(dialogs.toStdString());
    EXPECT_EQ(launcher.state(), QProcess::Running) << "the main window keeps the launcher up";

    launcher.kill();
    launcher.waitForFinished(10000);
}

} // namespace
} // namespace kx
