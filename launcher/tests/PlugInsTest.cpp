// The plug-in menu (start-up fill and reload) and the plug-in runner.
#include "LauncherFixture.h"

#include "Form1.h"
#include "Launcher.h"
#include "PlugIns.h"

#include "core/Text.h"
#include "shared/Ui.h"

#include <QAction>
#include <QFile>
#include <QMenu>

#include <gmock/gmock.h>

using namespace kx;
using namespace kx::launcher;
using kx::launcher::test::between;
using kx::launcher::test::LauncherTest;
using ::testing::ElementsAreArray;

namespace {

std::vector<std::string> captions(const Form1& f) {
    std::vector<std::string> out;
    for (QAction* a : f.mnuToolsPlugIn) out.push_back(fromUi(a->text()) + (a->isEnabled() ? "" : " (off)"));
    return out;
}

class PlugInTest : public LauncherTest {
protected:
    void SetUp() override {
        LauncherTest::SetUp();
        installModules();
        writeConfig(bobsValues());
    }
    void plugIn(const std::string& file, const std::vector<std::string>& lines) const {
        dir.writeLines("korvex.wfd/plugins/" + file, lines);
    }
    // A started launcher with the plug-in files written so far; the record starts empty.
    Form1& started() {
        runLoader();
        fake.timeline.clear();
        fake.boxes.clear();
        fake.starts.clear();
        return *loadedForm1();
    }
    std::string reloadBox() {
        fake.boxes.clear();
        reloadPlugIns();
        return fake.boxes.empty() ? "" : fake.boxes.back().text;
    }
};

TEST_F(PlugInTest, NoPlugInFileLeavesItemZeroAndReloadCountsNone) {
    dir.write("korvex.wfd/plugins/readme.txt", "not a plug-in");
    Form1& f = started();
    EXPECT_THAT(captions(f), ElementsAreArray({"no PlugIn available (off)"}));
    EXPECT_EQ(state().lastPlugin, 0);
    const auto log = logLines();
    EXPECT_THAT(between(log, "Retreiving PlugIns...", "Start Docklet Extension..."),
                ElementsAreArray({"Retreiving PlugIns..."}));
    reloadPlugIns();
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].text, " 0 PlugIns loaded successful.");
    EXPECT_EQ(fake.boxes[0].style, 64);
    EXPECT_EQ(fake.boxes[0].title, "Quellfort Korvex 3.1");
    EXPECT_NE(state().msgText, fake.boxes[0].text) << "the reload box is not kept as the current box";
}

TEST_F(PlugInTest, StartUpFillShowsEachLookUpAndLogsTheCaptions) {
    plugIn("beta.spi", {});
    plugIn("Alpha.spi", {});
    runLoader();
    EXPECT_THAT(between(fake.timeline, "log: Retreiving PlugIns...", "log: Start Docklet Extension..."),
                ElementsAreArray({"log: Retreiving PlugIns...", "log: >> Alpha", "status: adding plugin 1...",
                                  "sleep 30", "log: >> beta", "status: adding plugin 2...", "sleep 30",
                                  "log: >> %i LAST_PLUGIN == 1"}));
    EXPECT_THAT(captions(*loadedForm1()), ElementsAreArray({"Alpha", "beta"}));
    EXPECT_EQ(state().lastPlugin, 1);
    EXPECT_EQ(reloadBox(), " 2 PlugIns loaded successful.");
}

// LAST_PLUGIN is the last index: 0 for one file as for none; the count tells them apart.
TEST_F(PlugInTest, ReloadFollowsTheFolderAndLogsItsSteps) {
    plugIn("a.spi", {});
    plugIn("b.spi", {});
    plugIn("c.spi", {});
    Form1& f = started();
    EXPECT_EQ(state().lastPlugin, 2);

    dir.write("korvex.wfd/plugins/b.spi", "");
    QFile::remove(QString::fromStdString(dir.file("korvex.wfd/plugins/b.spi")));
    QFile::remove(QString::fromStdString(dir.file("korvex.wfd/plugins/c.spi")));
    EXPECT_EQ(reloadBox(), " 1 PlugIns loaded successful.");
    EXPECT_EQ(state().lastPlugin, 0);
    EXPECT_THAT(captions(f), ElementsAreArray({"a"}));
    const auto log = logLines();
    EXPECT_THAT(std::vector<std::string>(log.end() - 4, log.end()),
                ElementsAreArray({"Called ReloadPlugIns()", ">> Unloaded.", ">> Loaded.", ">> %i LAST_PLUGIN == 0"}));

    plugIn("d.spi", {});
    plugIn("e.spi", {});
    EXPECT_EQ(reloadBox(), " 3 PlugIns loaded successful.");
    EXPECT_THAT(captions(f), ElementsAreArray({"a", "d", "e"}));
    // The items stay in their place in the submenu, before the separator and "reload plug-ins".
    const auto actions = f.mnuToolsPlugInsFolder->actions();
    ASSERT_EQ(actions.size(), 5);
    EXPECT_EQ(actions[3], f.mnuToolsPlugInLine3);
    EXPECT_EQ(actions[4], f.mnuToolsPlugInsReload);

    QFile::remove(QString::fromStdString(dir.file("korvex.wfd/plugins/a.spi")));
    QFile::remove(QString::fromStdString(dir.file("korvex.wfd/plugins/d.spi")));
    QFile::remove(QString::fromStdString(dir.file("korvex.wfd/plugins/e.spi")));
    EXPECT_EQ(reloadBox(), " 0 PlugIns loaded successful.");
    EXPECT_THAT(captions(f), ElementsAreArray({"no PlugIn available (off)"}));
    f.mnuToolsPlugIn[0]->trigger();
    EXPECT_TRUE(fake.starts.empty()) << "the empty item runs nothing";
}

TEST_F(PlugInTest, MenuCannotBeUsedWhileItIsRebuilt) {
    dir.touchProgram("tools/run");
    plugIn("a.spi", {"usesqfd=true", "approot=\\tools\\", "appfile=run"});
    plugIn("b.spi", {"usesqfd=true", "approot=\\tools\\", "appfile=run"});
    Form1& f = started();
    bool disabledMeanwhile = false;
    fake.onDoEvents = [&] {
        disabledMeanwhile = disabledMeanwhile || !f.mnuToolsPlugInsFolder->menuAction()->isEnabled();
        f.mnuToolsPlugIn[0]->trigger();
        f.mnuToolsPlugInsReload->trigger();
    };
    reloadPlugIns();
    fake.onDoEvents = nullptr;
    EXPECT_TRUE(disabledMeanwhile);
    EXPECT_TRUE(fake.starts.empty());
    EXPECT_EQ(fake.boxes.size(), 1u) << "one reload, one count box";
    EXPECT_TRUE(f.mnuToolsPlugInsFolder->menuAction()->isEnabled());
    f.mnuToolsPlugIn[1]->trigger();
    EXPECT_EQ(fake.starts.size(), 1u);
}

// "my.tool.spi" is shown as "my" and runs the file it was made from, not "my.spi".
TEST_F(PlugInTest, AnItemRunsTheFileItWasMadeFrom) {
    dir.touchProgram("tools/right");
    dir.touchProgram("tools/wrong");
    plugIn("my.tool.spi", {"usesqfd=true", "approot=\\tools\\", "appfile=right", "rtninfo=false"});
    plugIn("my.spi", {"usesqfd=true", "approot=\\tools\\", "appfile=wrong", "rtninfo=false"});
    Form1& f = started();
    EXPECT_THAT(captions(f), ElementsAreArray({"my", "my"}));
    f.mnuToolsPlugIn[1]->trigger();
    ASSERT_EQ(fake.starts.size(), 1u);
    EXPECT_EQ(fake.starts[0].program, D() + "/tools/right");
    EXPECT_TRUE(fake.boxes.empty());
    EXPECT_TRUE(logLines().back() == std::string(51, '-')) << "the menu's run writes no log lines";
}

// A file name is data: its "&" is shown as itself, not taken for a mnemonic, and the item
// still runs its own file, after a reload too.
TEST_F(PlugInTest, AmpersandInAFileNameIsShownAsItself) {
    dir.touchProgram("tools/tj");
    plugIn("Tom & Jerry.spi", {"usesqfd=true", "approot=\\tools\\", "appfile=tj"});
    Form1& f = started();
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round == 0 ? "start-up" : "reload");
        ASSERT_EQ(f.mnuToolsPlugIn.size(), 1u);
        EXPECT_EQ(f.mnuToolsPlugIn[0]->text(), QStringLiteral("Tom && Jerry"));
        fake.starts.clear();
        f.mnuToolsPlugIn[0]->trigger();
        ASSERT_EQ(fake.starts.size(), 1u);
        EXPECT_EQ(fake.starts[0].program, D() + "/tools/tj");
        reloadPlugIns();
    }
    EXPECT_THAT(logLines(), ::testing::Contains(">> Tom & Jerry"));
}

struct RunCase {
    std::string name;
    std::vector<std::string> lines;
    std::string execFileLog; // after the base directory when it starts with "D"
    std::string program;     // below D
    std::vector<std::string> args; // "D" stands for the base directory
};

// The command texts of the runner: ExecDir & approot & appfile, blank, WorkDirectory, started
// from the longest prefix that names a file; keys and values lower-cased.
TEST_F(PlugInTest, RunnerTable) {
    dir.touchProgram("Tools/Run.EXE");
    dir.touchProgram("Tools/my tool");
    dir.touchProgram("korvex.wfd/plugins/orn/plg_orn");
    dir.touchProgram("korvex.wfd/plugins/levelaide/LVLSMITH");
    const std::vector<RunCase> cases = {
        {"relative, no directory", {"usesqfd=true", "approot=\\tools\\", "appfile=Run.EXE", "useswfd=false"},
         "D\\tools\\run.exe", "/Tools/Run.EXE", {}},
        {"relative, with directory", {"usesqfd=true", "approot=\\tools\\", "appfile=Run.EXE", "useswfd=true"},
         "D\\tools\\run.exe", "/Tools/Run.EXE", {"D"}},
        {"keys in capitals", {"USESQFD=TRUE", "AppRoot:\\TOOLS\\", "APPFILE=RUN.EXE", "UsesWfd=True"},
         "D\\tools\\run.exe", "/Tools/Run.EXE", {"D"}},
        {"a blank in the program name", {"usesqfd=true", "approot=\\tools\\", "appfile=my tool", "useswfd=true"},
         "D\\tools\\my tool", "/Tools/my tool", {"D"}},
        {"orn", {"usesqfd=true", "approot=\\korvex.wfd\\plugins\\orn\\", "appfile=plg_orn.exe", "useswfd=true"},
         "D\\korvex.wfd\\plugins\\orn\\plg_orn.exe", "/korvex.wfd/plugins/orn/plg_orn", {"D"}},
        {"level aide", {"usesqfd=true", "approot=\\korvex.wfd\\plugins\\levelaide\\", "appfile=LVLSMITH.exe",
                        "useswfd=true"},
         "D\\korvex.wfd\\plugins\\levelaide\\lvlsmith.exe", "/korvex.wfd/plugins/levelaide/LVLSMITH", {"D"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fake.starts.clear();
        fake.boxes.clear();
        plugIn("p.spi", c.lines);
        setKorvexDir(D());
        execPlugIn("p.spi");
        const auto log = logLines();
        ASSERT_GE(log.size(), 4u);
        std::string execFile = c.execFileLog;
        execFile.replace(0, 1, D());
        EXPECT_THAT(std::vector<std::string>(log.end() - 4, log.end()),
                    ElementsAreArray(std::vector<std::string>{"ExecPlugIn() Called.", ">> $FilName == p.spi",
                                                              ">> $ExecFile == " + execFile, ">> Shelling ExecFile."}));
        ASSERT_EQ(fake.starts.size(), 1u);
        EXPECT_EQ(fake.starts[0].program, D() + c.program);
        std::vector<std::string> args = c.args;
        for (auto& a : args)
            if (a == "D") a = D();
        EXPECT_EQ(fake.starts[0].args, args);
        EXPECT_TRUE(fake.boxes.empty());
    }
}

TEST_F(PlugInTest, AbsoluteRootWithoutTheGameDirectory) {
    dir.touchProgram("opt/tool");
    plugIn("p.spi", {"approot=" + D() + "/OPT/", "appfile=tool", "useswfd=true", "usesqfd=false"});
    setKorvexDir(D());
    execPlugIn("p.spi");
    ASSERT_EQ(fake.starts.size(), 1u);
    EXPECT_EQ(fake.starts[0].program, D() + "/opt/tool");
    EXPECT_EQ(fake.starts[0].args, std::vector<std::string>{D()});
}

TEST_F(PlugInTest, DebugAndSuccessBoxesAndTheCurrentBox) {
    dir.touchProgram("tools/run");
    plugIn("p.spi", {"shdebug=TRUE", "usesqfd=true", "approot=\\tools\\", "appfile=run", "useswfd=true",
                     "RtnInfo=TRUE"});
    setKorvexDir(D());
    execPlugIn("p.spi");
    ASSERT_EQ(fake.boxes.size(), 2u);
    EXPECT_EQ(fake.boxes[0].text, "Korvex 3.1 will shell the application run with following data:\r\n\r\n"
                                  "RootDirectory : \\tools\\\r\n\r\n"
                                  "ExecFile : " + D() + "\\tools\\run\r\n\r\n"
                                  "ExecDir : " + D() + "\r\n\r\n"
                                  "WorkDirectory : " + D() + "\r\n\r\n"
                                  "Quellfort directory is : " + D());
    EXPECT_EQ(fake.boxes[0].style, 64);
    EXPECT_EQ(fake.boxes[0].title, "Starting PlugIn...");
    EXPECT_EQ(fake.boxes[1].text, "Execution of Plugin 'run' successful");
    EXPECT_EQ(fake.boxes[1].style, 64);
    EXPECT_EQ(fake.boxes[1].title, "Info...");
    EXPECT_EQ(state().msgText, fake.boxes[1].text);
    EXPECT_EQ(state().msgStyle, "64");
    EXPECT_EQ(state().msgTitle, "Info...");
    const auto log = logLines();
    EXPECT_THAT(std::vector<std::string>(log.end() - 3, log.end()),
                ElementsAreArray({">> Showing DebugInfo", ">> Shelling ExecFile.", ">> ReturnInfo. PlugIn Executed"}));

    // The next run starts from empty values: no rtninfo line, no success box.
    fake.boxes.clear();
    plugIn("q.spi", {"usesqfd=true", "approot=\\tools\\", "appfile=run"});
    execPlugIn("q.spi");
    EXPECT_TRUE(fake.boxes.empty());
    EXPECT_EQ(fake.starts.back().args, std::vector<std::string>{}) << "no useswfd: no argument";
}

// Only a started process counts: every failure gives the failure box, and no success box.
TEST_F(PlugInTest, FailuresGiveTheFailureBox) {
    struct Case {
        std::string file;
        std::vector<std::string> lines; // not written when empty
        std::string appfile;
    };
    const std::vector<Case> cases = {
        {"missing.spi", {}, ""},
        {"alpha", {}, ""},
        {"noprogram.spi", {"usesqfd=true", "approot=\\nowhere\\", "appfile=Gone.exe", "rtninfo=true"}, "gone.exe"},
        {"empty.spi", {"usesqfd=true", "rtninfo=true"}, ""},
        {"../escape.spi", {}, ""},
    };
    dir.writeLines("korvex.wfd/escape.spi", {"usesqfd=true", "appfile=x"});
    setKorvexDir(D());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        fake.boxes.clear();
        if (!c.lines.empty()) plugIn(c.file, c.lines);
        execPlugIn(c.file);
        ASSERT_EQ(fake.boxes.size(), 1u);
        EXPECT_EQ(fake.boxes[0].text, "Starting of Plugin '" + c.appfile +
                                          "' failed\r\nTry option 'shdebug' in PlugIn file.\r\n"
                                          "Probably the Application that uses this PlugIn is not installed.");
        EXPECT_EQ(fake.boxes[0].style, 16);
        EXPECT_EQ(fake.boxes[0].title, "Error...");
        EXPECT_EQ(logLines().back(), ">> Shelling ExecFile Failed.");
    }
    EXPECT_TRUE(fake.starts.empty());
}

// Names this system allows that a typed name may not hold: each listed file runs, from its menu
// item and by name from the autoexec script. A name with a path in it does not.
TEST_F(PlugInTest, EveryListedDescriptionRunsUnlessItsNameHoldsAPath) {
    dir.touchProgram("tools/run");
    const std::vector<std::string> names = {"Tool: Map.spi", "what?.spi", "\"q\".spi", "star*.spi", "<a>.spi",
                                            "pipe|.spi", "tab\there.spi"};
    for (const auto& name : names) plugIn(name, {"usesqfd=true", "approot=\\tools\\", "appfile=run", "rtninfo=false"});
    Form1& f = started();
    ASSERT_EQ(f.mnuToolsPlugIn.size(), names.size());
    for (QAction* item : f.mnuToolsPlugIn) {
        SCOPED_TRACE(item->text().toStdString());
        fake.starts.clear();
        fake.boxes.clear();
        item->trigger();
        EXPECT_EQ(fake.starts.size(), 1u);
        EXPECT_TRUE(fake.boxes.empty());
    }
    for (const auto& name : names) {
        SCOPED_TRACE(name);
        fake.starts.clear();
        fake.boxes.clear();
        execPlugIn(name);
        ASSERT_EQ(fake.starts.size(), 1u);
        EXPECT_EQ(fake.starts[0].program, D() + "/tools/run");
        EXPECT_TRUE(fake.boxes.empty());
    }
    // A path leads out of the plug-in folder, whatever stands there.
    dir.writeLines("korvex.wfd/plugins/sub/in.spi", {"usesqfd=true", "approot=\\tools\\", "appfile=run"});
    for (const std::string name : {"sub/in.spi", "sub\\in.spi", "../plugins/Tool: Map.spi", ".", "..", ""}) {
        SCOPED_TRACE(name);
        fake.starts.clear();
        fake.boxes.clear();
        execPlugIn(name);
        EXPECT_TRUE(fake.starts.empty());
        ASSERT_EQ(fake.boxes.size(), 1u);
        EXPECT_EQ(fake.boxes[0].title, "Error...");
    }
}

TEST(PlugInStartTest, LongestPrefixThatNamesAFileWins) {
    kx::test::GameDir g("a b");
    g.touchProgram("tools/run");
    g.touchProgram("tools/run x");
    const std::string D = g.path();
    // "run x" exists too: the longer prefix is the program, the rest one argument.
    auto s = plugInStart(D, "\\tools\\run", "x y", D);
    EXPECT_EQ(s.program, D + "/tools/run x");
    EXPECT_EQ(s.args, std::vector<std::string>{"y"});
    s = plugInStart(D, "\\tools\\run", "z  y", D);
    EXPECT_EQ(s.program, D + "/tools/run");
    EXPECT_EQ(s.args, std::vector<std::string>{"z  y"});
    // No prefix names a file: the program part, which then fails to start.
    s = plugInStart(D, "\\tools\\gone", D, D);
    EXPECT_EQ(s.program, D + "/tools/gone");
    EXPECT_EQ(s.args, std::vector<std::string>{D});
}

// The game directory "/x/g 4" beside a program "/x/g": the text of a missing plug-in program
// starts with "/x/g", which must not run "/x/g" with "4/..." as its argument.
TEST(PlugInStartTest, PrefixesInsideTheGameDirectoryDoNotCount) {
    kx::test::GameDir g("g 4");
    g.touchProgram("../g");
    const std::string D = g.path();
    for (const std::string& work : {std::string(), D}) {
        SCOPED_TRACE(work.empty() ? "no work directory" : "work directory");
        const auto s = plugInStart(D, "\\tools\\gone.exe", work, D);
        EXPECT_EQ(s.program, D + "/tools/gone.exe");
    }
    // A root that names the game directory itself in another way counts the same.
    auto s = plugInStart("", D + "/tools/gone", D, D);
    EXPECT_EQ(s.program, D + "/tools/gone");
    EXPECT_EQ(s.args, std::vector<std::string>{D});
}

TEST(PlugInRunTest, MissingProgramBesideAShorterNameFails) {
    kx::test::GameDir g("g 4");
    g.touchProgram("../g");
    FakePlatform fake;
    fake.current = g.path();
    g.write("korvex.wfd/config/autoexec.ini", "");
    g.writeLines("korvex.wfd/plugins/p.spi", {"usesqfd=true", "approot=\\tools\\", "appfile=gone.exe",
                                              "useswfd=true", "rtninfo=true"});
    installLauncherRoutines();
    setKorvexDir(g.path());
    execPlugIn("p.spi");
    EXPECT_TRUE(fake.starts.empty());
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].text.substr(0, 30), "Starting of Plugin 'gone.exe' ");
    resetLauncher();
}

} // namespace
