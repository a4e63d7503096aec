// The configuration window: its load, the hand-over of a ServerSet, the launch, the cycle-time
// input and the creation of ServerSets.
#include "ArenaFixture.h"

#include "GameServer.h"
#include "ModuleState.h"
#include "TextControls.h"
#include "frmCfgServ.h"
#include "frmServerModule.h"

#include "core/Files.h"
#include "core/Text.h"
#include "shared/Ui.h"
#include "shared/testing/ShownText.h"
#include "shared/widgets/CommandLabel.h"
#include "shared/widgets/FileControls.h"

#include <QCheckBox>
#include <QDir>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QStackedWidget>
#include <QApplication>
#include <QTabBar>
#include <QTest>

#include <functional>
#include <optional>

namespace kx::arenawarden {
namespace {

using ConfigWindow = ArenaTest;

std::string shown(const QLineEdit* e) { return fromUi(e->text()); }
std::string selected(const QComboBox* c) { return comboText(c, c->currentIndex()); }

TEST_F(ConfigWindow, LoadFillsTheWindowFromTheConfigurationTheLevelsAndTheWelcomeText) {
    writeSet("b.ini", {"sv_name=b"});
    writeSet("a.ini", {"sv_name=a"});
    dir.write("korvex.wfd/config/serversets/notes.txt", "x");
    auto& w = cfg();
    EXPECT_EQ(w.windowTitle().toStdString(), "configuring the server module...");
    EXPECT_EQ(w.Combo1->count(), 29);
    EXPECT_EQ(comboText(w.Combo1, 0), " 2");
    EXPECT_EQ(comboText(w.Combo1, 28), " 30");
    EXPECT_EQ(selected(w.Combo1), " 8");
    EXPECT_EQ(items(w.List1),
              (std::vector<std::string>{"the airbase", "the bunker", "dust valley"}));
    EXPECT_EQ(selected(w.Combo3), "ctf");
    EXPECT_EQ(shown(w.Text2), "Bob's Game");
    EXPECT_EQ(listIndex(w.List1), -1);
    EXPECT_EQ(items(w.List2), (std::vector<std::string>{"the bunker"}));
    EXPECT_EQ(w.Text1->text(), kWelcome + "ZIV Internal Version 2.1 Build 2346\r\n");
    EXPECT_EQ(w.lblKorvex3->text().toStdString(), "Korvex3 dedicated server module. ");
    EXPECT_EQ(w.File1->files(), (std::vector<std::string>{"a.ini", "b.ini"}));
    EXPECT_EQ(w.File1->fileName(), "a.ini");
    EXPECT_EQ(w.tbsConfigureTab->currentIndex(), 0);
    EXPECT_EQ(w.pages->currentWidget(), w.Picture1[0]);
    for (QWidget* sub : {w.Picture2, w.Picture3, w.Picture4}) EXPECT_FALSE(sub->isVisibleTo(&w));
    EXPECT_EQ(w.HScroll1->value(), 40);
    EXPECT_EQ(shown(w.Text3), "40");
    EXPECT_EQ(checkValue(w.Check1), 0);
    EXPECT_EQ(checkValue(w.Check2), 1);
    EXPECT_TRUE(fake.boxes.empty());
    EXPECT_EQ(setting(), "NONE");
    for (const auto& c : fake.calls) EXPECT_EQ(c.find("saveSetting"), std::string::npos) << c;
}

TEST_F(ConfigWindow, AVeryLongWelcomeLineIsShownInBoundedBlocks) {
    const std::string line(3 * kShownBlock, 'x');
    dir.write("korvex.wfd/config/cyc_welcome.ini", line + "\r\n");
    auto& w = cfg();
    EXPECT_LE(test::longestBlock(*w.Text1), kShownBlock);
    // The box keeps the text as written; only its blocks are bounded.
    EXPECT_EQ(w.Text1->text(), line + "\r\nZIV Internal Version 2.1 Build 2346\r\n");
    EXPECT_EQ(w.Text1->toPlainText().remove('\n').toStdString(), line + "ZIV Internal Version 2.1 Build 2346");
}

TEST_F(ConfigWindow, LoadWithoutAMatchingMapAnEmptyLevelListOrAServerSetFolder) {
    writeConfig(" 0", " 2", "", "no such map");
    auto& w1 = cfg();
    EXPECT_EQ(items(w1.List2), (std::vector<std::string>{""}));
    EXPECT_EQ(listIndex(w1.List1), -1);
    EXPECT_EQ(selected(w1.Combo1), " 2");
    EXPECT_EQ(selected(w1.Combo3), "teamplay");
    nextCase();

    dir.write("levels.nfo", "");
    QDir(QString::fromStdString(dir.file("korvex.wfd/config/serversets"))).removeRecursively();
    auto& w2 = cfg();
    EXPECT_EQ(w2.List1->count(), 0);
    EXPECT_EQ(items(w2.List2), (std::vector<std::string>{""}));
    EXPECT_EQ(w2.File1->count(), 0);
    EXPECT_TRUE(fake.boxes.empty());
}

TEST_F(ConfigWindow, AKeyTheFileLacksKeepsTheValueOfTheEarlierLoad) {
    cfg().Form_Unload();
    dir.writeLines("korvex.wfd/config/korvex.cfg", {"host-mpmap=dust valley"});
    auto& w = cfg();
    EXPECT_EQ(shown(w.Text2), "Bob's Game");
    EXPECT_EQ(selected(w.Combo1), " 8");
    EXPECT_EQ(selected(w.Combo3), "ctf");
    EXPECT_EQ(items(w.List2), (std::vector<std::string>{"dust valley"}));
}

TEST_F(ConfigWindow, ALoadThatCannotReadItsFilesReportsAndEnds) {
    struct Case {
        const char* what;
        std::function<void()> spoil;
        std::string description; // the box names the file being read
    };
    const std::string cfgFile = " (" + dir.file("korvex.wfd/config/korvex.cfg") + ")";
    const Case cases[] = {
        {"no korvex.cfg", [&] { removeFile(dir.file("korvex.wfd/config/korvex.cfg")); }, "File not found" + cfgFile + " ( 53 )"},
        {"no levels.nfo", [&] { removeFile(dir.file("levels.nfo")); }, "File not found (" + dir.file("levels.nfo") + ") ( 53 )"},
        {"no welcome text", [&] { removeFile(dir.file("korvex.wfd/config/cyc_welcome.ini")); },
         "File not found (" + dir.file("korvex.wfd/config/cyc_welcome.ini") + ") ( 53 )"},
        {"player index outside", [&] { writeConfig(" 29"); }, "Invalid property value" + cfgFile + " ( 380 )"},
        {"game type outside", [&] { writeConfig(" 6", " 3"); }, "Invalid property value" + cfgFile + " ( 380 )"},
        {"player index overflows", [&] { writeConfig(" 99999"); }, "Overflow" + cfgFile + " ( 6 )"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        c.spoil();
        EXPECT_THROW(loadCfgServ(), ProgramEnded);
        ASSERT_EQ(fake.boxes.size(), 1u);
        EXPECT_EQ(fake.boxes[0].text,
                  "An error occured while trying to perform the specified task.\r\n" + c.description);
        fake.boxes.clear();
    }
}

TEST_F(ConfigWindow, AHandedOverSetThatDoesNotCycleStartsOnceAndEndsTheModule) {
    writeSet("Weekend.ini", {"sv_name=Arena", "sv_maxplayers=14", "sv_gametype=2", "sv_iscycling=false",
                             "sv_advertkx3=true", "sv_addmap=dust valley", "sv_addmap=the airbase"});
    handOver("Weekend.ini");
    EXPECT_THROW(loadCfgServ(), ProgramEnded);
    EXPECT_EQ(setting(), "NONE");
    ASSERT_EQ(fake.starts.size(), 1u);
    EXPECT_EQ(fake.starts[0].args, serverCommand(16, "KX3.Arena", "dust valley", "teamplay").args);
    EXPECT_TRUE(fake.boxes.empty());
    // "NONE" is written before the set is read or launched.
    size_t saved = 0, started = 0;
    for (size_t i = 0; i < fake.calls.size(); ++i) {
        if (fake.calls[i] == "saveSetting(Korvex|settings|dsmloadserverset|NONE)") saved = i;
        if (fake.calls[i].rfind("start(", 0) == 0) started = i;
    }
    EXPECT_LT(saved, started);
    ASSERT_NE(cfgServWindow(), nullptr);
    EXPECT_EQ(shown(cfgServWindow()->Text2), "KX3.Arena");
}

TEST_F(ConfigWindow, AHandedOverCyclingSetRunsInTheRunningServerWindow) {
    writeSet("cup.ini", {"sv_name=Cup", "sv_maxplayers=10", "sv_gametype=1", "sv_cycletime=25",
                         "sv_iscycling=true", "sv_advertkx3=false", "sv_addmap=the bunker", "sv_addmap=dust valley"});
    handOver("cup.ini");
    EXPECT_EQ(loadCfgServ(), nullptr); // the load's launch unloaded the window again
    EXPECT_EQ(cfgServWindow(), nullptr);
    frmServerModule* m = serverModuleIfLoaded();
    ASSERT_NE(m, nullptr);
    EXPECT_TRUE(m->isVisible());
    EXPECT_EQ(items(m->List1), (std::vector<std::string>{"the bunker", "dust valley"}));
    ASSERT_EQ(fake.starts.size(), 1u);
    EXPECT_EQ(fake.starts[0].args, serverCommand(12, "Cup", "the bunker", "ctf").args);
    EXPECT_EQ(m->cycleEnd(), fake.clock.addSecs(25 * 60));
    EXPECT_EQ(setting(), "NONE");
}

TEST_F(ConfigWindow, NoHandOverValueAtAll) {
    fake.settings.clear();
    auto& w = cfg();
    EXPECT_EQ(setting(), "NONE");
    EXPECT_EQ(boxTexts(fake), (std::vector<std::string>{
                                  "An error occured while trying to perform the specified task.\r\n"
                                  "Bad file name or number ( 52 )",
                                  "No Maps in cycle. Launch aborted."}));
    EXPECT_EQ(fake.boxes[1].style, 48);
    EXPECT_EQ(fake.boxes[1].title, "Error.");
    EXPECT_EQ(w.List2->count(), 0);
    EXPECT_TRUE(fake.starts.empty());
}

// The window stays and says what failed; a hand-over it cannot mark as taken is not launched,
// or it would launch at every start.
TEST_F(ConfigWindow, ASettingsStoreThatCannotBeReadOrWrittenIsReportedAndTheWindowStays) {
    writeSet("cup.ini", {"sv_name=cup", "sv_cycle=0", "addmap=Hill"});
    struct Case {
        int getError, saveError;
        std::string description;
    };
    const Case cases[] = {{err::PermissionDenied, 0, "Permission denied"}, {0, err::PathFileAccess, "Path/File access error"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.description);
        handOver("cup.ini");
        fake.getSettingError = c.getError;
        fake.saveSettingError = c.saveError;
        frmCfgServ* w = nullptr;
        ASSERT_NO_THROW(w = loadCfgServ());
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(boxTexts(fake), std::vector<std::string>{"An error occured while trying to perform the specified "
                                                           "task.\r\n" + c.description + " (settings Korvex.ini) ( " +
                                                           std::to_string(c.getError + c.saveError) + " )"});
        EXPECT_EQ(fake.boxes[0].title, "An error occured");
        EXPECT_TRUE(fake.starts.empty());
        EXPECT_EQ(cfgServWindow(), w);
        fake.boxes.clear();
        fake.getSettingError = fake.saveSettingError = 0;
        nextCase();
    }
}

TEST_F(ConfigWindow, LaunchingACyclingServerHandsItsSettingsOver) {
    auto& w = cfg();
    selectComboIndex(w.Combo1, 10);
    selectComboIndex(w.Combo3, 2);
    w.HScroll1->setValue(30);
    setCheckValue(w.Check1, 1);
    w.List2->clear();
    for (const char* m : {"a", "b", "a"}) w.List2->addItem(m);
    w.Text2->setText("Bob's\tRock&Roll");
    w.Command1_Click();
    EXPECT_EQ(cfgServWindow(), nullptr);
    frmServerModule* m = serverModuleIfLoaded();
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->Frame3->title().toStdString(), "KX3.Bob's Rock&&Roll") << "the name as text, no mnemonic";
    EXPECT_EQ(m->lblGameType->text().toStdString(), "Gametype is 'teamplay'.");
    EXPECT_EQ(m->lblMaxPlayers->text().toStdString(), "Server will host 12 Players.");
    EXPECT_EQ(m->lblCycleCount->text().toStdString(), "Server will cycle map every  30 minutes.");
    EXPECT_EQ(items(m->List1), (std::vector<std::string>{"a", "b", "a"}));
    EXPECT_EQ(state().serverPlayers, 12);
    EXPECT_EQ(state().cycleMinutes, 30);
    EXPECT_EQ(state().serverGameType, "teamplay");
    EXPECT_EQ(state().serverName, "KX3.Bob's\tRock&Roll");
    ASSERT_EQ(fake.starts.size(), 1u);
    EXPECT_EQ(fake.starts[0].args.at(6), "a");
    EXPECT_EQ(logLines(m->Text1).front(), "ZIV started...");
}

TEST_F(ConfigWindow, LaunchingWithoutMapsIsRefused) {
    auto& w = cfg();
    w.List2->clear();
    w.Command1_Click();
    EXPECT_EQ(boxTexts(fake), std::vector<std::string>{"No Maps in cycle. Launch aborted."});
    EXPECT_EQ(shown(w.Text2), "Bob's Game"); // no prefix either
    EXPECT_EQ(cfgServWindow(), &w);
    EXPECT_EQ(serverModuleIfLoaded(), nullptr);
}

TEST_F(ConfigWindow, ASingleServerWithoutTheTagAndAnEmptyMap) {
    writeConfig(" 6", " 1", "Arena", "no such map");
    auto& w = cfg();
    setCheckValue(w.Check2, 0);
    EXPECT_THROW(w.Label22_Click(), ProgramEnded);
    ASSERT_EQ(fake.starts.size(), 1u);
    EXPECT_EQ(fake.starts[0].args, serverCommand(8, "Arena", "", "ctf").args);
    EXPECT_EQ(fake.endCode, 0);
}

TEST_F(ConfigWindow, TheCycleTimeInput) {
    struct Case {
        std::optional<std::string> answer;
        std::string text; // Text3 afterwards
        int scroll;
        bool refused;
    };
    const Case cases[] = {
        {"45.4", " 45", 45, false}, {"40abc", "40abc", 40, false}, {"10", " 10", 10, false},
        {"90", " 90", 90, false},   {"9", "40", 40, true},         {"91", "40", 40, true},
        {"abc", "40", 40, true},    {"90.4", "40", 40, true},      {"", "40", 40, false},
        {std::nullopt, "40", 40, false}, {"1e9", "40", 40, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer.value_or("<cancel>"));
        auto& w = cfg();
        fake.inputAnswers = {c.answer};
        w.Text3_Click();
        ASSERT_EQ(fake.inputs.size(), 1u);
        EXPECT_EQ(fake.inputs[0].prompt, "please enter a new value between 10 and 90.");
        EXPECT_EQ(fake.inputs[0].title, "input requested");
        EXPECT_EQ(fake.inputs[0].defaultText, "40");
        EXPECT_EQ(shown(w.Text3), c.text);
        EXPECT_EQ(w.HScroll1->value(), c.scroll);
        if (c.refused) {
            ASSERT_EQ(fake.boxes.size(), 1u);
            EXPECT_EQ(fake.boxes[0].text, "only values between 10 and 90");
            EXPECT_EQ(fake.boxes[0].style, 48);
            EXPECT_EQ(fake.boxes[0].title, "exclamation");
        } else {
            EXPECT_TRUE(fake.boxes.empty());
        }
        fake.inputs.clear();
        fake.boxes.clear();
        nextCase();
    }
}

// From the tab strip to the cycle time and its scroll bar with the keyboard alone.
TEST_F(ConfigWindow, TheCycleTimeScrollBarIsSetWithTheKeyboard) {
    auto& w = cfg();
    w.show();
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    w.tbsConfigureTab->setFocus();
    QTest::keyClick(w.tbsConfigureTab, Qt::Key_Right);
    QTest::keyClick(w.tbsConfigureTab, Qt::Key_Right);
    ASSERT_EQ(w.pages->currentWidget(), w.Picture1[2]);
    for (int i = 0; i < 10 && QApplication::focusWidget() != w.HScroll1; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), w.HScroll1);
    QTest::keyClick(w.HScroll1, Qt::Key_Right);
    EXPECT_EQ(w.HScroll1->value(), 41);
    EXPECT_EQ(shown(w.Text3), " 41");
    QTest::keyClick(w.HScroll1, Qt::Key_Left);
    QTest::keyClick(w.HScroll1, Qt::Key_Left);
    EXPECT_EQ(shown(w.Text3), " 39");
    EXPECT_TRUE(fake.boxes.empty());
}

TEST_F(ConfigWindow, TheLaunchTakesTheTypedCycleTimeOnlyWithinItsRange) {
    struct Case {
        std::string typed;
        double minutes;
        std::string shown; // in the running-server window: the minutes used
    };
    const Case cases[] = {{"40abc", 40, "40abc"}, {"45.5", 45.5, "45.5"}, {"5", 60, " 60"},
                          {"1e9", 60, " 60"},     {"-30", 60, " 60"},     {"", 60, " 60"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        auto& w = cfg();
        setCheckValue(w.Check1, 1);
        w.HScroll1->setValue(60);
        w.Text3->setText(toUi(c.typed)); // typed straight into the box
        w.Command1_Click();
        EXPECT_EQ(state().cycleMinutes, c.minutes);
        ASSERT_NE(serverModuleIfLoaded(), nullptr);
        EXPECT_EQ(serverModuleIfLoaded()->cycleEnd(), fake.clock.addSecs(roundHalfEven(c.minutes) * 60));
        EXPECT_EQ(fromUi(serverModuleIfLoaded()->lblCycleCount->text()),
                  "Server will cycle map every " + c.shown + " minutes.");
        EXPECT_TRUE(fake.boxes.empty());
        nextCase();
    }
}

TEST_F(ConfigWindow, CreatingAServerSet) {
    auto& w = cfg();
    const std::string prompt = "Please enter an max 20 character filename, without extension.\r\n"
                               "existing files, with the same name, will be overwritten.\r\n"
                               "Do not use illagal characters such as \\ / : * ? \" < > |";
    w.Label18_Click(); // the default answer
    ASSERT_EQ(fake.inputs.size(), 1u);
    EXPECT_EQ(fake.inputs[0].prompt, prompt);
    EXPECT_EQ(fake.inputs[0].title, "Please enter filename");
    EXPECT_EQ(fake.inputs[0].defaultText, "newserverset");
    EXPECT_TRUE(dir.exists("korvex.wfd/config/serversets/newserverset.ini"));
    EXPECT_EQ(w.File1->files(), std::vector<std::string>{"newserverset.ini"});

    fake.boxes.clear();
    fake.inputAnswers = {std::string(21, 'x'), std::string(20, 'y'), std::string(""), std::nullopt};
    for (int i = 0; i < 4; ++i) w.Label18_Click();
    EXPECT_FALSE(dir.exists("korvex.wfd/config/serversets/" + std::string(21, 'x') + ".ini"));
    EXPECT_TRUE(dir.exists("korvex.wfd/config/serversets/" + std::string(20, 'y') + ".ini"));
    ASSERT_EQ(fake.boxes.size(), 4u);
    EXPECT_EQ(fake.boxes[0].text, "Filename is larger than 20 characters. aborting.");
    EXPECT_EQ(fake.boxes[0].style, 0);
    EXPECT_EQ(fake.boxes[0].title, "error.");
    EXPECT_EQ(fake.boxes[1].title, "Information.");
    EXPECT_EQ(fake.boxes[2].text, "Aborted creation of ServerSet.");
    EXPECT_EQ(fake.boxes[2].style, 0);
    EXPECT_EQ(fake.boxes[2].title, "error.");
    EXPECT_EQ(fake.boxes[3].text, "Aborted creation of ServerSet.");
}

// Checked as typed, before ".ini" is added: such files would never be listed.
TEST_F(ConfigWindow, ServerSetNamesThatWouldBeHiddenAreRefused) {
    auto& w = cfg();
    fake.inputAnswers = {std::string("."), std::string(".."), std::string(".hidden"), std::string("..x")};
    for (int i = 0; i < 4; ++i) w.Label18_Click();
    EXPECT_EQ(boxTexts(fake), std::vector<std::string>(4, "An error occured while trying to perform the specified "
                                                          "task.\r\nBad file name or number ( 52 )"));
    EXPECT_EQ(listFiles(dir.file("korvex.wfd/config/serversets"), "*.*", true), std::vector<std::string>{});
}

TEST_F(ConfigWindow, AServerSetNameOutsideAsciiBecomesAUtf8FileThatLoads) {
    auto& w = cfg();
    fake.inputAnswers = {std::string("Jos\xE9")};
    w.Label18_Click();
    EXPECT_TRUE(dir.exists("korvex.wfd/config/serversets/Jos\xC3\xA9.ini"));
    EXPECT_EQ(w.File1->item(0)->text(), QString::fromUtf8("José.ini"));
    EXPECT_EQ(boxTexts(fake), std::vector<std::string>{"ServerSet 'Jos\xC3\xA9' created sucessfully with your "
                                                       "current settings."});
    w.File1->setCurrentRow(0);
    fake.boxes.clear();
    w.Label28_Click();
    EXPECT_TRUE(fake.boxes.empty());
    EXPECT_TRUE(w.Picture3->isVisibleTo(&w));
}

// The set list shows what it can load: a name that holds a path ("a\\b" names a sub-folder) is
// left out, every other name found on disk is listed and loads.
TEST_F(ConfigWindow, TheSetListShowsOnlySetsItCanLoad) {
    for (const std::string name : {"a\\b", "x:y", "t\tab"}) writeSet(name + ".ini", {"sv_name=" + name, "sv_addmap=x"});
    auto& w = cfg();
    w.File1->refresh();
    ASSERT_EQ(w.File1->files(), (std::vector<std::string>{"t\tab.ini", "x:y.ini"}));
    for (int row = 0; row < 2; ++row) {
        w.File1->setCurrentRow(row);
        w.Label28_Click();
        EXPECT_TRUE(fake.boxes.empty());
        EXPECT_EQ(shown(w.Text2), row == 0 ? "t\tab" : "x:y");
        w.Label24_Click();
    }
}

TEST_F(ConfigWindow, PagesAndSubPages) {
    auto& w = cfg();
    w.tbsConfigureTab->setCurrentIndex(3);
    EXPECT_EQ(w.pages->currentWidget(), w.Picture1[3]);
    // Selecting the tab already selected runs the tab change too.
    w.pages->setCurrentIndex(1);
    emit w.tbsConfigureTab->tabBarClicked(3);
    EXPECT_EQ(w.pages->currentWidget(), w.Picture1[3]);

    w.tbsConfigureTab->setCurrentIndex(0);
    w.Label21_Click();
    EXPECT_TRUE(w.Picture2->isVisibleTo(&w));
    w.tbsConfigureTab->setCurrentIndex(4);
    w.tbsConfigureTab->setCurrentIndex(0);
    EXPECT_TRUE(w.Picture2->isVisibleTo(&w)); // a sub-page keeps its own visibility
    w.Label23_Click();
    EXPECT_FALSE(w.Picture2->isVisibleTo(&w));

    writeSet("a.ini", {"sv_name=Set A", "sv_addmap=x"});
    w.File1->refresh();
    w.File1->setCurrentRow(0);
    w.Label20_Click();
    EXPECT_TRUE(w.Picture4->isVisibleTo(&w));
    w.Label28_Click();
    EXPECT_FALSE(w.Picture4->isVisibleTo(&w));
    EXPECT_TRUE(w.Picture3->isVisibleTo(&w));
    EXPECT_FALSE(w.tbsConfigureTab->isEnabled());
    EXPECT_EQ(shown(w.Text2), "Set A");
    w.Label24_Click();
    EXPECT_FALSE(w.Picture3->isVisibleTo(&w));
    EXPECT_TRUE(w.tbsConfigureTab->isEnabled());
}

// The label commands from the keyboard alone: reached by Tab, acting on Return and Space, and
// no page a keyboard user cannot leave.
class ConfigWindowKeys : public ArenaTest {
protected:
    frmCfgServ& shown() {
        auto& w = cfg();
        w.show();
        QApplication::setActiveWindow(&w);
        if (!QTest::qWaitForWindowActive(&w)) throw std::runtime_error("the window is not active");
        return w;
    }
    static QWidget* focus() { return QApplication::focusWidget(); }
    // Tab until the widget has the focus; false when it is never reached.
    static bool tabTo(QWidget* target) {
        for (int i = 0; i < 40; ++i) {
            if (focus() == target) return true;
            QTest::keyClick(focus(), Qt::Key_Tab);
        }
        return focus() == target;
    }
};

TEST_F(ConfigWindowKeys, TheStartPageAndItsSubPagesAreUsedWithTheKeyboard) {
    writeSet("autumn.ini", {"sv_name=Autumn"});
    writeSet("weekend.ini", {"sv_name=Weekend", "sv_iscycling=true", "sv_addmap=the airbase"});
    auto& w = shown();

    // "Get Information..." and its "Back".
    ASSERT_TRUE(tabTo(w.Label21));
    QTest::keyClick(w.Label21, Qt::Key_Return);
    EXPECT_TRUE(w.Picture2->isVisible());
    EXPECT_EQ(focus(), w.Text1) << "focus on the page's first field";
    QTest::keyClick(focus(), Qt::Key_Tab);
    EXPECT_EQ(focus(), w.Label23) << "the information text passes Tab on";
    EXPECT_FALSE(tabTo(w.Label22)) << "the covered start page is out of reach";
    ASSERT_TRUE(tabTo(w.Label23));
    QTest::keyClick(w.Label23, Qt::Key_Space);
    EXPECT_FALSE(w.Picture2->isVisible());

    // "Process a ServerSet...", the set chosen with the keys, "Ok, use the selected."
    ASSERT_TRUE(tabTo(w.Label20));
    QTest::keyClick(w.Label20, Qt::Key_Space);
    EXPECT_TRUE(w.Picture4->isVisible());
    EXPECT_EQ(focus(), w.File1);
    QTest::keyClick(w.File1, Qt::Key_End);
    EXPECT_EQ(w.File1->fileName(), "weekend.ini");
    ASSERT_TRUE(tabTo(w.Label28));
    QTest::keyClick(w.Label28, Qt::Key_Return);
    EXPECT_TRUE(w.Picture3->isVisible());
    EXPECT_FALSE(w.tbsConfigureTab->isEnabled());
    EXPECT_EQ(fromUi(w.Text2->text()), "Weekend");

    // The confirmation page: Tab leaves the protocol for the page's two commands.
    EXPECT_EQ(focus(), w.Protocol);
    QTest::keyClick(w.Protocol, Qt::Key_Tab);
    EXPECT_EQ(focus(), w.Label25);
    QTest::keyClick(w.Label25, Qt::Key_Tab);
    EXPECT_EQ(focus(), w.Label24);
    QTest::keyClick(w.Label24, Qt::Key_Return);
    EXPECT_FALSE(w.Picture3->isVisible());
    EXPECT_TRUE(w.tbsConfigureTab->isEnabled());
    EXPECT_TRUE(w.Label22->isVisible());
    EXPECT_TRUE(fake.boxes.empty());

    // Again, and this time "Ok, launch my Server now.": the set cycles in its own window.
    ASSERT_TRUE(tabTo(w.Label20));
    QTest::keyClick(w.Label20, Qt::Key_Return);
    ASSERT_TRUE(tabTo(w.Label28));
    QTest::keyClick(w.Label28, Qt::Key_Space);
    ASSERT_TRUE(tabTo(w.Label25));
    QTest::keyClick(w.Label25, Qt::Key_Space);
    ASSERT_NE(serverModuleIfLoaded(), nullptr);
    EXPECT_EQ(state().activeMap, "the airbase");
}

TEST_F(ConfigWindowKeys, CreateServerSetAndLaunchActOnTheKeys) {
    auto& w = shown();
    w.tbsConfigureTab->setFocus();
    for (int i = 0; i < 4; ++i) QTest::keyClick(w.tbsConfigureTab, Qt::Key_Right);
    ASSERT_EQ(w.pages->currentWidget(), w.Picture1[4]);
    fake.inputAnswers = {std::string("keyed")};
    ASSERT_TRUE(tabTo(w.Label18));
    QTest::keyClick(w.Label18, Qt::Key_Return);
    EXPECT_TRUE(dir.exists("korvex.wfd/config/serversets/keyed.ini"));

    // "Launch a dedicated Server with my default settings.": one server, then the module ends.
    w.tbsConfigureTab->setFocus();
    for (int i = 0; i < 4; ++i) QTest::keyClick(w.tbsConfigureTab, Qt::Key_Left);
    ASSERT_TRUE(tabTo(w.Label22));
    EXPECT_THROW(QTest::keyClick(w.Label22, Qt::Key_Space), ProgramEnded);
    ASSERT_EQ(fake.starts.size(), 1u);
}

TEST_F(ConfigWindow, TheEndCommandEndsTheModule) {
    auto& w = cfg();
    EXPECT_THROW(w.Command2_Click(), ProgramEnded);
    EXPECT_TRUE(state().endRequested);
    EXPECT_EQ(cfgServWindow(), nullptr);
}

} // namespace
} // namespace kx::arenawarden
