// mod_docklet's icon, menu and info window against a temporary game directory and the
// recording platform.
#include "DockletRun.h"
#include "Form1.h"
#include "ServerSetMenu.h"

#include "platform/FakePlatform.h"
#include "shared/testing/GameDir.h"
#include "core/RunError.h"
#include "core/Text.h"

#include <QAction>
#include <QProcess>
#include <QTemporaryDir>
#include <QMenu>
#include <QPixmap>
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>

namespace kx::docklet {
namespace {

const std::string SetKey = "Korvex|settings|dsmloadserverset";

struct Entry {
    std::string name, caption;
};

// The menu as a user sees it: object names and captions in order ("-" for a separator).
std::vector<Entry> entries(const QMenu* menu) {
    std::vector<Entry> out;
    for (const QAction* a : menu->actions())
        out.push_back({a->objectName().toStdString(), a->isSeparator() ? "-" : fromUi(a->text())});
    return out;
}

std::vector<std::string> captions(const std::vector<QAction*>& items) {
    std::vector<std::string> out;
    for (const QAction* a : items) out.push_back(fromUi(a->text()));
    return out;
}

class Docklet : public ::testing::Test {
protected:
    void SetUp() override {
        fake.current = game.path();
        fake.setProgramName("mod_docklet");
    }
    std::unique_ptr<Form1> load() {
        auto form = std::make_unique<Form1>(game.path());
        form->Form_Load();
        return form;
    }
    void serverSets(const std::vector<std::string>& names) {
        for (const auto& n : names) game.writeLines("korvex.wfd/config/serversets/" + n, {"sv_name=x"});
    }
    std::string module(const std::string& key) const { return game.file("korvex.wfd/modules/mod_" + key + ".exe"); }

    FakePlatform fake;
    kx::test::GameDir game{"Quell fort"};
};

TEST_F(Docklet, LoadPutsTheIconUpAndBuildsTheMenu) {
    auto form = load();
    EXPECT_EQ(fake.calls.front(), "trayAdd(:/docklet/docklet.xpm|Korvex3 Docklet. Right click shows menu.)");
    EXPECT_TRUE(fake.trayShown);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->windowTitle(), "Korvex Docklet");
    // The picture travels inside the program.
    EXPECT_EQ(QPixmap(QString::fromStdString(TrayIconPath)).size(), QSize(32, 32));

    const std::vector<Entry> menu = {{"mnuStartKorvex", "start korvex"}, {"mnuStartQF", "start quellfort"},
                                     {"mnuStartLine1", "-"}, {"mnuStartHost", "host a game"},
                                     {"mnuStartJoin", "join a game"}, {"mnuStartDedicated", "dedicated server"},
                                     {"mnuStartLine2", "-"}, {"", "launch serverset"}, {"mnuStartLine3", "-"},
                                     {"mnuStartInfo", "info"}, {"mnuStartQuit", "quit"}, {"mnuStartLine4", "-"},
                                     {"mnuCancel", "cancel"}};
    const auto got = entries(form->mnuMenu);
    ASSERT_EQ(got.size(), menu.size());
    for (size_t i = 0; i < menu.size(); ++i) {
        if (!menu[i].name.empty()) EXPECT_EQ(got[i].name, menu[i].name) << i;
        EXPECT_EQ(got[i].caption, menu[i].caption) << i;
    }
    EXPECT_EQ(form->mnuMenu->actions()[7]->menu(), form->mnuserversetlaunch);

    // No serverset folder content: only the disabled item 0, which launches nothing.
    const auto sub = entries(form->mnuserversetlaunch);
    ASSERT_EQ(sub.size(), 3u);
    EXPECT_EQ(sub[0].caption, "reload serverset");
    EXPECT_EQ(sub[1].caption, "-");
    EXPECT_EQ(sub[2].caption, "no serverset available");
    EXPECT_FALSE(form->mnuToolsPlugIn[0]->isEnabled());
    form->mnuToolsPlugIn[0]->trigger();
    EXPECT_TRUE(fake.boxes.empty());
    EXPECT_TRUE(fake.starts.empty());
}

TEST_F(Docklet, MenuItemsStartTheirPrograms) {
    // The installed launcher carries no ".exe" and other capitals than the item names.
    game.touchProgram("QFKorvex");
    game.touchProgram("Game.exe");
    for (const char* key : {"matchopener", "seatfinder", "arenawarden"})
        game.touchProgram(std::string("korvex.wfd/modules/mod_") + key);
    auto form = load();
    const struct {
        QAction* item;
        std::string program;
        std::vector<std::string> args;
        std::string workDir;
    } table[] = {
        {form->mnuStartKorvex, game.file("QFKorvex"), {}, game.path()},
        {form->mnuStartQF, game.file("Game.exe"), {}, game.path()},
        {form->mnuStartHost, module("matchopener"), {game.path()}, ""},
        {form->mnuStartJoin, module("seatfinder"), {game.path()}, ""},
        {form->mnuStartDedicated, module("arenawarden"), {game.path()}, ""},
    };
    for (const auto& row : table) {
        fake.starts.clear();
        row.item->trigger();
        ASSERT_EQ(fake.starts.size(), 1u) << row.program;
        EXPECT_EQ(fake.starts[0].program, row.program);
        EXPECT_EQ(fake.starts[0].args, row.args);
        EXPECT_EQ(fake.starts[0].workDir, row.workDir);
        EXPECT_EQ(fake.starts[0].windowStyle, win::NormalFocus);
    }
    fake.starts.clear();
    form->mnuCancel->trigger();
    form->mnuStartInfo->trigger();
    EXPECT_TRUE(fake.starts.empty());
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(fake.boxes.empty());
    EXPECT_TRUE(fake.trayShown);
}

TEST_F(Docklet, FailedStartsAreReportedAndTheModuleRunsOn) {
    auto form = load();
    form->mnuStartKorvex->trigger();
    form->mnuStartQF->trigger();
    form->mnuStartHost->trigger(); // no module programs in this directory
    ASSERT_EQ(fake.boxes.size(), 3u);
    EXPECT_EQ(fake.boxes[0].text,
              "An error occured while performing the specified task.\r\nDocklet was unable to start Korvex\r\n"
              "File not found, 53");
    EXPECT_EQ(fake.boxes[0].style, 48);
    EXPECT_EQ(fake.boxes[0].title, "error.");
    EXPECT_EQ(fake.boxes[1].text,
              "An error occured while performing the specified task.\r\nDocklet was unable to start Quellfort\r\n"
              "File not found, 53");
    EXPECT_EQ(fake.boxes[2].title, "An Error occured");
    EXPECT_EQ(fake.endCode, -1);
    EXPECT_TRUE(fake.trayShown);
}

// Listed are the names the dedicated server module takes when handed over: any name found on
// disk but one with a path or a line break (the hand-over is a settings line).
TEST(ServerSetItems, CaptionUpToTheFirstDotAndTheWholeFileName) {
    const auto items = serverSetItems({"cup.final.ini", "east.ini", "bad\r\nname.ini", "x..ini", "\"q\".ini",
                                       "a\\b.ini", "what?.ini", "t\tab.ini"});
    std::vector<std::pair<std::string, std::string>> got;
    for (const auto& i : items) got.emplace_back(i.caption, i.fileName);
    EXPECT_EQ(got, (std::vector<std::pair<std::string, std::string>>{{"cup", "cup.final.ini"},
                                                                      {"east", "east.ini"},
                                                                      {"x", "x..ini"},
                                                                      {"\"q\"", "\"q\".ini"},
                                                                      {"what?", "what?.ini"},
                                                                      {"t\tab", "t\tab.ini"}}));
}

TEST_F(Docklet, ServerSetsAreListedAndHandedOverByTheirFile) {
    game.touchProgram("korvex.wfd/modules/mod_arenawarden");
    serverSets({"west.ini", "North.INI", "east.ini", "cup.final.ini"});
    game.write("korvex.wfd/config/serversets/notes.txt", "x");
    auto form = load();
    EXPECT_EQ(captions(form->mnuToolsPlugIn), (std::vector<std::string>{"cup", "east", "North", "west"}));
    EXPECT_EQ(form->serverSetCount(), 3);
    for (QAction* a : form->mnuToolsPlugIn) EXPECT_TRUE(a->isEnabled());

    fake.calls.clear();
    form->mnuToolsPlugIn[2]->trigger();
    const std::vector<std::string> north = {"msgBox( 4|0|mod_docklet)",
                                            "saveSetting(Korvex|settings|dsmloadserverset|North.INI)",
                                            "start(" + module("arenawarden") + "|" + game.path() + "|)"};
    EXPECT_EQ(fake.calls, north);

    form->mnuToolsPlugIn[0]->trigger();
    EXPECT_EQ(fake.settings[SetKey], "cup.final.ini");
}

// The settings store cannot be written: the choice made in the icon's real menu reports it on
// the module's error path, inside the menu's own event loop, and the module runs on.
TEST_F(Docklet, ASettingsStoreThatCannotBeWrittenIsReportedFromTheMenu) {
    struct ReadOnlySettings : FakePlatform {
        void saveSetting(const std::string&, const std::string&, const std::string&, const std::string&) override {
            throw RunError(err::PermissionDenied);
        }
    } local;
    local.current = game.path();
    local.setProgramName("mod_docklet");
    game.touchProgram("korvex.wfd/modules/mod_arenawarden");
    serverSets({"cup.ini"});
    auto form = load();
    bool chosen = false;
    form->popUpMenu = [&](QMenu* menu) {
        // Down to "launch serverset", into it, past "reload serverset" to the set, Return.
        QTimer::singleShot(0, menu, [&] {
            for (int i = 0; i < 6; ++i) QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Down);
            QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Right);
            QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Down);
            ASSERT_EQ(qobject_cast<QMenu*>(QApplication::activePopupWidget())->activeAction(), form->mnuToolsPlugIn[0]);
            chosen = true;
            QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Return);
        });
        menu->exec(QPoint(20, 20));
    };
    // Qt's event loop warns of an exception that passes through it, and throws it on.
    static std::vector<std::string> warnings;
    warnings.clear();
    const auto previous = qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& m) {
        warnings.push_back(m.toStdString());
    });
    local.trayMouse(tray::RightButtonUp);
    qInstallMessageHandler(previous);
    for (const auto& w : warnings) EXPECT_EQ(w.find("exception"), std::string::npos) << w;
    EXPECT_TRUE(chosen);
    EXPECT_FALSE(form->busy());
    ASSERT_EQ(local.boxes.size(), 2u);
    EXPECT_EQ(local.boxes[0].text, " 1");
    EXPECT_EQ(local.boxes[1].text, "An error occured while performing the specified task.\r\n"
                                   "Permission denied (settings Korvex.ini), 70");
    EXPECT_EQ(local.boxes[1].title, "error.");
    EXPECT_TRUE(local.starts.empty()) << "the dedicated server module would not find the set";
    EXPECT_TRUE(local.trayShown);
}

// Captions made from file names show "&" and a tab as text: a tab would start a shortcut
// column. The hand-over keeps the name's own bytes.
TEST_F(Docklet, ServerSetCaptionsShowTheirNamesAsText) {
    game.touchProgram("korvex.wfd/modules/mod_arenawarden");
    serverSets({"Rock&Roll.ini", "tab\there.ini"});
    auto form = load();
    ASSERT_EQ(form->mnuToolsPlugIn.size(), 2u);
    EXPECT_EQ(form->mnuToolsPlugIn[0]->text(), QStringLiteral("Rock&&Roll"));
    EXPECT_EQ(form->mnuToolsPlugIn[1]->text(), QStringLiteral("tab here"));
    form->mnuToolsPlugIn[1]->trigger();
    EXPECT_EQ(fake.settings[SetKey], "tab\there.ini");
}

TEST_F(Docklet, ReloadRebuildsTheItemsFromTheFolder) {
    serverSets({"east.ini", "north.ini", "west.ini"});
    auto form = load();
    EXPECT_EQ(captions(form->mnuToolsPlugIn), (std::vector<std::string>{"east", "north", "west"}));
    std::filesystem::remove(game.file("korvex.wfd/config/serversets/east.ini"));
    serverSets({"south.ini"});
    EXPECT_EQ(form->serverSetCount(), 2) << "nothing changes before the reload";

    form->mnuServerSetReload->trigger();
    EXPECT_EQ(captions(form->mnuToolsPlugIn), (std::vector<std::string>{"north", "south", "west"}));
    EXPECT_EQ(entries(form->mnuserversetlaunch).size(), 5u);

    std::filesystem::remove_all(game.file("korvex.wfd/config/serversets"));
    form->mnuServerSetReload->trigger();
    EXPECT_EQ(form->serverSetCount(), 0);
    EXPECT_EQ(captions(form->mnuToolsPlugIn), std::vector<std::string>{"no serverset available"});
    EXPECT_FALSE(form->mnuToolsPlugIn[0]->isEnabled());
    EXPECT_EQ(entries(form->mnuserversetlaunch).size(), 3u);
}

TEST_F(Docklet, IconNotifications) {
    auto form = load();
    int popUps = 0;
    form->popUpMenu = [&](QMenu* menu) {
        ++popUps;
        EXPECT_EQ(menu, form->mnuMenu);
        EXPECT_TRUE(form->busy());
        // A notification while the menu is open is only noted.
        fake.trayMouse(tray::LeftDoubleClick);
        EXPECT_EQ(form->mouseMessage(), tray::LeftDoubleClick);
        form->mnuCancel->trigger();
    };
    fake.trayMouse(tray::RightButtonUp);
    EXPECT_EQ(popUps, 1);
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(form->busy());

    fake.trayMouse(0x201); // a left button press: nothing
    EXPECT_EQ(popUps, 1);
    EXPECT_FALSE(form->isVisible());

    fake.trayMouse(tray::LeftDoubleClick);
    EXPECT_TRUE(form->isVisible());
    form->Command1->click(); // "&Ok" hides it again, the module runs on
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(fake.trayShown);
}

TEST_F(Docklet, AFailingChoiceStillClearsTheBusyFlag) {
    auto form = load();
    form->popUpMenu = [](QMenu*) { throw RunError(err::DeviceIO); };
    fake.trayMouse(tray::RightButtonUp);
    EXPECT_FALSE(form->busy());
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].title, "error.");

    form->popUpMenu = [&](QMenu*) { form->mnuStartQuit->trigger(); };
    EXPECT_THROW(fake.trayMouse(tray::RightButtonUp), ProgramEnded);
    EXPECT_FALSE(form->busy());
}

TEST_F(Docklet, EveryWayOfUnloadingRemovesTheIconAndEnds) {
    const std::vector<std::function<void(Form1&)>> ways = {
        [](Form1& f) { f.mnuStartQuit->trigger(); },
        [](Form1& f) { f.Command2->click(); },
        [](Form1& f) {
            f.show();
            f.close();
        },
    };
    for (size_t i = 0; i < ways.size(); ++i) {
        FakePlatform local;
        local.current = game.path();
        auto form = load();
        local.calls.clear();
        EXPECT_THROW(ways[i](*form), ProgramEnded) << i;
        EXPECT_EQ(local.calls, (std::vector<std::string>{"trayRemove", "end(0)"})) << i;
        EXPECT_FALSE(local.trayShown);
        form.reset();
        EXPECT_EQ(local.calls.size(), 2u) << "the icon is removed once";
    }
}

// A platform whose desktop has no notification area.
class NoTrayPlatform : public FakePlatform {
public:
    bool trayAdd(const std::string& iconPath, const std::string& tooltip, std::function<void(int)> onMouse) override {
        FakePlatform::trayAdd(iconPath, tooltip, std::move(onMouse));
        trayShown = false;
        return false;
    }
};

TEST(DockletStart, WithoutANotificationAreaItEndsWithOneNote) {
    kx::test::GameDir game;
    NoTrayPlatform fake;
    testing::internal::CaptureStderr();
    EXPECT_THROW(start(game.path()), ProgramEnded);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(fake.endCode, 0);
    EXPECT_TRUE(fake.boxes.empty());
    EXPECT_NE(err.find("no notification area"), std::string::npos) << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1);
}

TEST(DockletStart, TheCommandLineIsCheckedFirst) {
    FakePlatform fake;
    EXPECT_THROW(start(""), ProgramEnded);
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].title, "Critical Error.");
    EXPECT_EQ(fake.boxes[0].text, "The Execution of the module failed.\rPlease reinstall Korvex.");
    EXPECT_FALSE(fake.trayShown);

    kx::test::GameDir game;
    FakePlatform ok;
    start(game.path());
    EXPECT_EQ(ok.current, game.path());
    EXPECT_TRUE(ok.trayShown);
}

// The built program, as the launcher starts it on a desktop without a notification area.
TEST(DockletProgram, WithoutANotificationAreaTheProgramEndsAtOnce) {
    kx::test::GameDir game("Quell fort");
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QProcessEnvironment env = test::dockletEnvironment(tmp.path(), "offscreen");
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(QString::fromStdString(kx::test::buildDir() + "/modules/docklet/mod_docklet"),
            {QString::fromStdString(game.path())});
    ASSERT_TRUE(p.waitForStarted(5000));
    ASSERT_TRUE(p.waitForFinished(10000)) << "the docklet runs on without a notification area";
    EXPECT_EQ(p.exitCode(), 0);
    const QByteArray err = p.readAllStandardError();
    EXPECT_TRUE(err.contains("no notification area")) << err.toStdString();
    EXPECT_FALSE(QFile::exists(tmp.path() + "/dialogs.jsonl")) << "no box";
}

} // namespace
} // namespace kx::docklet
