// The start-up loader on the splash window's first tick.
#include "LauncherFixture.h"

#include "Form1.h"
#include "Form11.h"
#include "Launcher.h"
#include "config.h"

#include "core/Files.h"
#include "core/Text.h"
#include "shared/Ui.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QPixmap>
#include <QLabel>

#include <gmock/gmock.h>

using namespace kx;
using namespace kx::launcher;
using kx::launcher::test::LauncherTest;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;

namespace {

const std::string LaunchPrefix = "log: KORVEX3.1 Launched..... 12:00:00 :: ";

// The launch line carries the date in the system's short form; the rest is compared exactly.
std::vector<std::string> withoutDate(std::vector<std::string> timeline) {
    for (auto& e : timeline)
        if (e.rfind(LaunchPrefix, 0) == 0) e = LaunchPrefix + "<date>";
    return timeline;
}

std::vector<std::string> only(const std::vector<std::string>& timeline, const std::string& prefix) {
    std::vector<std::string> out;
    for (const auto& e : timeline)
        if (e.rfind(prefix, 0) == 0) out.push_back(e);
    return out;
}

bool contains(const std::vector<std::string>& v, const std::string& s) {
    return std::find(v.begin(), v.end(), s) != v.end();
}

} // namespace

TEST_F(LauncherTest, WithoutConfigurationTheSetUpRunsAndTheProgramEnds) {
    installModules();
    EXPECT_THROW(runLoader(), ProgramEnded);

    const std::string box = "box: Korvex was unable to find the configuration file. Korvex Setup will be run now.\r\n"
                            "Program halted.\r\n\r\nFile not found, 53|48|error.";
    const std::vector<std::string> expected = {
        "log: ",
        LaunchPrefix + "<date>",
        "log: $KorvexDir == " + D(),
        "status: " + D(),
        "sleep 300",
        "log: ERROR!",
        "log: >> File not found",
        "log: >> 53",
        box,
        "log: Called ModuleStart().",
        "log: >> $ModuleName == prepdesk",
        "start: " + D() + "/korvex.wfd/modules/mod_prepdesk.exe [" + D() + "]",
        "log: >> Executed.",
        "end 0",
    };
    EXPECT_THAT(withoutDate(fake.timeline), ElementsAreArray(expected));
    EXPECT_EQ(loadedForm1(), nullptr) << "the main window is never created";
    EXPECT_EQ(loadedForm11(), nullptr);
    EXPECT_EQ(state().msgStyle, "48");
    EXPECT_EQ(state().msgTitle, "error.");
}

TEST_F(LauncherTest, HappyPathShowsEveryStepThenTheMainWindow) {
    installModules();
    writeConfig(bobsValues());
    dir.writeLines("korvex.wfd/skins/qfs 3.1 default/skindefinition.ini", {"hideline=true"});
    runLoader();

    const std::vector<std::string> expected = {
        "log: ",
        LaunchPrefix + "<date>",
        "log: $KorvexDir == " + D(),
        "status: " + D(),
        "sleep 300",
        "log: Open Configuration file...",
        "status: open configuration...",
        "sleep 100",
        "log: Registered User == Bob",
        "doEvents",
        "log: Closing Configuration File...",
        "status: writing globals...",
        "sleep 100",
        "log: Writing Globals to memory...",
        "log: >> $SnapShotDir is a Root. Shortening to Drive.",
        "log: $SnapShotDir == C:",
        "log: $GameSpyFile == /opt/gamespy/GameSpy.exe",
        "log: Retreiving PlugIns...",
        "doEvents",
        "log: Start Docklet Extension...",
        "log: Called ModuleStart().",
        "log: >> $ModuleName == docklet",
        "start: " + D() + "/korvex.wfd/modules/mod_docklet.exe [" + D() + "]",
        "log: >> Executed.",
        "status: adding websites...",
        "sleep 100",
        "log: Executing LoadWebSites()...",
        // The set-up writes doautoexec=true.
        "log: Executing ParseAutoExec()...",
        "status: parsing autoexec.ini...",
        "sleep 200",
        "status: preparing mainscreen...",
        "sleep 150",
        "log: Status: Ready for Mainscreen reached.",
        "status: preparing mainscreen skin...",
        "sleep 150",
        "log: Executing ApplySkin()",
        "log: >> Skin == qfs 3.1 default",
        "doEvents", // one per line of skindefinition.ini
        "log: Status: Loading finished. Starting MainApplication.",
        "log: ---------------------------------------------------",
    };
    EXPECT_THAT(withoutDate(fake.timeline), ElementsAreArray(expected));

    ASSERT_NE(loadedForm1(), nullptr);
    EXPECT_TRUE(loadedForm1()->isVisible());
    EXPECT_EQ(loadedForm1()->windowTitle(), "Quellfort Korvex 3.1");
    EXPECT_EQ(loadedForm11(), nullptr) << "the splash window is unloaded";
    EXPECT_TRUE(fake.boxes.empty());

    const auto& s = state();
    EXPECT_EQ(s.korvexDir, D());
    EXPECT_EQ(s.gameDir, D());
    EXPECT_EQ(s.snapShotDir, "C:");
    EXPECT_EQ(s.gameSpyFile, "/opt/gamespy/GameSpy.exe");
    EXPECT_EQ(s.autosnapbu, "false");
    EXPECT_EQ(s.doautoexec, "true");
    EXPECT_EQ(s.usedskinis, "qfs 3.1 default");
    EXPECT_EQ(s.randomskin, "false");
    config& cfg = configForm();
    EXPECT_FALSE(cfg.isVisible());
    EXPECT_EQ(cfg.windowTitle(), "configform");
    EXPECT_EQ(caption(cfg.lblPlayerName), "Bob");
    EXPECT_EQ(caption(cfg.lblDefaultMap), "the airbase");
    EXPECT_EQ(caption(cfg.lblDefaultGameType), " 1");
    EXPECT_EQ(caption(cfg.lblDefaultTeam), " 0");
    EXPECT_EQ(caption(cfg.lblDefaultGameName), "Bob's Game");
    EXPECT_EQ(caption(cfg.lblDefaultMaxPlayers), " 6");
}

// The key table: first 10 characters compared case-sensitively, the 11th not looked at, the
// value from the 12th untrimmed, a later line winning; keys not in the file keep the label texts.
TEST_F(LauncherTest, ConfigurationKeysFollowTheKeyPrefixRule) {
    struct Case {
        std::vector<std::string> lines;
        std::string playerLabel, gameName;
        std::vector<std::string> registeredLines;
    };
    const std::vector<Case> cases = {
        {{"playername=Bob"}, "Bob", "Default Gamename", {"log: Registered User == Bob"}},
        {{"PlayerName=Bob"}, "PlayerName", "Default Gamename", {}},
        {{"playername#Bob"}, "Bob", "Default Gamename", {"log: Registered User == Bob"}},
        {{"playername=  Bob  "}, "  Bob  ", "Default Gamename", {"log: Registered User ==   Bob  "}},
        {{"playername=Ann", "// comment", "", "playername=Bob"},
         "Bob",
         "Default Gamename",
         {"log: Registered User == Ann", "log: Registered User == Bob"}},
        {{"playername"}, "", "Default Gamename", {"log: Registered User == "}},
        {{"host-gamen=a=b", "playernam"}, "PlayerName", "a=b", {}},
        {{" playername=Bob", "host-gamen"}, "PlayerName", "", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lines.front());
        freshRun();
        dir.writeLines("korvex.wfd/config/korvex.cfg", c.lines);

        runLoader();
        EXPECT_EQ(caption(configForm().lblPlayerName), c.playerLabel);
        EXPECT_EQ(caption(configForm().lblDefaultGameName), c.gameName);
        EXPECT_EQ(caption(configForm().lblSnapShotDir), "Default ScreenShot Dir");
        EXPECT_THAT(only(fake.timeline, "log: Registered User"), ElementsAreArray(c.registeredLines));
        EXPECT_TRUE(contains(fake.timeline, "log: $SnapShotDir == Default ScreenShot Dir"));
        EXPECT_TRUE(contains(fake.timeline, "log: $GameSpyFile == Default GameSpy Dir"));
        ASSERT_NE(loadedForm1(), nullptr);
    }
}

TEST_F(LauncherTest, ThePlayerNameShowsOnTheSplashWhileLoading) {
    dir.writeLines("korvex.wfd/config/korvex.cfg", {"playername=Ann", "playername=Bob"});
    std::vector<std::string> shown;
    fake.onDoEvents = [&] {
        if (Form11* s = loadedForm11()) shown.push_back(fromUi(s->ReggedUser->text()));
    };
    runLoader();
    EXPECT_THAT(shown, ElementsAreArray({"Ann", "Bob", "Bob"})) << "the last one is the plug-in step's yield";
}

// A very long player name neither stretches the splash window nor sizes its label by the name:
// the label is bounded and elided, the name is still logged whole.
TEST_F(LauncherTest, AVeryLongPlayerNameIsShownInABoundedLabel) {
    const std::string name(200000, 'n');
    dir.writeLines("korvex.wfd/config/korvex.cfg", {"playername=" + name});
    QSize splashSize;
    int labelHint = 0;
    QString shown;
    fake.onDoEvents = [&] {
        if (Form11* s = loadedForm11(); s && shown.isEmpty()) {
            splashSize = s->size();
            labelHint = s->ReggedUser->sizeHint().width();
            shown = s->ReggedUser->text();
        }
    };
    runLoader();
    EXPECT_EQ(splashSize, QSize(twips(6000), twips(3600)));
    EXPECT_LE(labelHint, twips(6000)) << "the label's size does not come from the name";
    EXPECT_GT(shown.size(), 0);
    EXPECT_LT(shown.size(), 1000);
    EXPECT_TRUE(shown.startsWith(QLatin1String("nnn")));
    EXPECT_THAT(logLines(), ::testing::Contains("Registered User == " + name));
}

// The splash window's picture is a picture of its own, across the window's top.
TEST_F(LauncherTest, TheSplashWindowShowsItsPicture) {
    Form11& splash = form11();
    const QImage design(QStringLiteral(":/launcher/splash.png"));
    ASSERT_FALSE(design.isNull());
    ASSERT_FALSE(splash.Picture1->pixmap().isNull());
    EXPECT_EQ(splash.Picture1->pixmap().toImage().convertToFormat(design.format()), design);
    EXPECT_TRUE(splash.Picture1->text().isEmpty());
    EXPECT_EQ(design.width(), splash.width());
    splash.show();
    QCoreApplication::processEvents();
    EXPECT_EQ(splash.Picture1->geometry().top(), 0);
    EXPECT_GE(splash.Picture1->height(), design.height());
}

// Only a drive root "X:\" (or "X:/") is cut to "X:"; any other value stays as read.
TEST_F(LauncherTest, OnlyADriveRootSnapshotDirectoryIsShortened) {
    struct Case {
        std::string value, expected;
        bool cut;
    };
    const std::vector<Case> cases = {
        {"C:\\", "C:", true},         {"d:/", "d:", true},        {"C:\\Shots", "C:\\Shots", false},
        {"abc", "abc", false},        {"/", "/", false},          {"1:\\", "1:\\", false},
        {"C:x", "C:x", false},        {"", "", false},            {"/home/bob/shots", "/home/bob/shots", false},
        // A folder of this machine is UTF-8; a value of the game's code page is not: both stay.
        {"/home/Jos\xC3\xA9/shots", "/home/Jos\xC3\xA9/shots", false},
        {"D:\\Sch\xF6ne Bilder", "D:\\Sch\xF6ne Bilder", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        freshRun();
        dir.writeLines("korvex.wfd/config/korvex.cfg", {"sn-shotdir=" + c.value});

        runLoader();
        EXPECT_EQ(state().snapShotDir, c.expected);
        EXPECT_EQ(contains(fake.timeline, "log: >> $SnapShotDir is a Root. Shortening to Drive."), c.cut);
        EXPECT_TRUE(contains(fake.timeline, "log: $SnapShotDir == " + c.expected));
    }
}

// autosnapbu must be "true" exactly; doautoexec and randomskin are lower-cased first.
TEST_F(LauncherTest, OptionStepsRunOnlyWhenTheirValueSaysTrue) {
    struct Case {
        std::string line;
        std::string logLine;
        bool runs;
        std::vector<int> pauses; // the step's own pauses when it runs
    };
    const std::vector<Case> cases = {
        {"autosnapbu=true", "log: Executing BackUpScreenShots()...", true, {300, 300}},
        {"autosnapbu=True", "log: Executing BackUpScreenShots()...", false, {}},
        {"autosnapbu=TRUE", "log: Executing BackUpScreenShots()...", false, {}},
        {"doautoexec=true", "log: Executing ParseAutoExec()...", true, {200}},
        {"doautoexec=TRUE", "log: Executing ParseAutoExec()...", true, {200}},
        {"doautoexec=false", "log: Executing ParseAutoExec()...", false, {}},
        {"doautoexec=true ", "log: Executing ParseAutoExec()...", false, {}},
        {"randomskin=True", "log: Executing ApplyRandomSkin()", true, {150}},
        {"randomskin=false", "log: Executing ApplyRandomSkin()", false, {}},
    };
    const std::vector<int> base = {300, 100, 100, 100, 150, 150};
    // A skin to draw from, so that the random skin has one.
    dir.writeLines("korvex.wfd/skins/dark/skindefinition.ini", {"hideline=false"});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        freshRun();
        dir.writeLines("korvex.wfd/config/korvex.cfg", {c.line});

        runLoader();
        EXPECT_EQ(contains(fake.timeline, c.logLine), c.runs);
        int total = 0;
        for (int ms : fake.sleeps) total += ms;
        int expected = 0;
        for (int ms : base) expected += ms;
        if (c.runs)
            for (int ms : c.pauses) expected += ms;
        EXPECT_EQ(total, expected);
    }
}

TEST_F(LauncherTest, BackupStepShowsItsStatusThenTheResult) {
    dir.write("shots/.keep", "");
    dir.write("shot.tga", "picture");
    dir.writeLines("korvex.wfd/config/korvex.cfg", {"autosnapbu=true", "sn-shotdir=" + D() + "/shots"});
    runLoader();
    auto t = fake.timeline;
    const auto at = std::find(t.begin(), t.end(), "log: Executing BackUpScreenShots()...");
    ASSERT_NE(at, t.end());
    const auto made = listFolders(D() + "/shots");
    ASSERT_EQ(made.size(), 1u);
    const std::string folder = made[0];
    EXPECT_THAT(folder, ::testing::StartsWith("QF_SnapsBackUp_"));
    EXPECT_THAT(std::vector<std::string>(at, at + 9),
                ElementsAreArray(std::vector<std::string>{"log: Executing BackUpScreenShots()...", "status: screenshot automatic backup...",
                                  "sleep 300", "log: Called BackUpScreenShots().", "log: >> BackingUp to : " + folder,
                                  "log: >> Copied File : " + D() + "/shots/" + folder + "/shot.tga",
                                  "log: >> 1 File(s) moved successfully.", "status:  1 File(s) moved successfully.",
                                  "sleep 300"}));
    EXPECT_FALSE(dir.exists("shot.tga"));
}

TEST_F(LauncherTest, LoaderRunsOnceEvenWhenTicksArriveWhileItRuns) {
    writeConfig(bobsValues());
    int ticks = 0;
    fake.onDoEvents = [&] {
        if (Form11* s = loadedForm11()) {
            ++ticks;
            s->Timer1_Timer();
        }
    };
    runLoader();
    EXPECT_GT(ticks, 0);
    EXPECT_EQ(std::count(fake.timeline.begin(), fake.timeline.end(), "log: Open Configuration file..."), 1);
    EXPECT_EQ(fake.starts.size(), 0u) << "no docklet program in this directory";
}

// A missing log folder drops the lines with one note on standard error; the start-up goes on.
TEST_F(LauncherTest, MissingLogFolderDoesNotStopTheStartUp) {
    writeConfig(bobsValues());
    QDir(QString::fromStdString(D() + "/korvex.wfd/logs")).removeRecursively();
    ::testing::internal::CaptureStderr();
    runLoader();
    const std::string err = ::testing::internal::GetCapturedStderr();
    ASSERT_NE(loadedForm1(), nullptr);
    EXPECT_TRUE(loadedForm1()->isVisible());
    size_t notes = 0;
    for (const auto& line : splitLines(err))
        if (line.find("Korvex.log") != std::string::npos) ++notes;
    EXPECT_EQ(notes, 1u) << err;
}

// Any run error after the error path is armed takes the same road: a korvex.cfg that is a folder.
TEST_F(LauncherTest, UnreadableConfigurationTakesTheErrorPath) {
    QDir().mkpath(QString::fromStdString(D() + "/korvex.wfd/config/korvex.cfg"));
    EXPECT_THROW(runLoader(), ProgramEnded);
    ASSERT_EQ(fake.boxes.size(), 2u) << "the error box, then FoundError for the missing prepdesk";
    EXPECT_THAT(fake.boxes[0].text, HasSubstr("Korvex Setup will be run now."));
    EXPECT_EQ(fake.boxes[1].title, "An Error occured");
    EXPECT_EQ(loadedForm1(), nullptr);
}
