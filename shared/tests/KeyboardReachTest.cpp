// Every window of the suite from the keyboard alone: in each state a window can be in (its
// pages, tabs and sub-pages), every control with an action is reached by pressing Tab from the
// focus the window starts with, and Tab never stays inside one control. Every window that acts
// as a dialog goes on Escape as its Cancel or Close does, and its OK is the default button.
//
// One row per window. Each window is built as its program builds it, over one temporary game
// directory holding the shipped data tree, on the recording platform.
#include "core/Files.h"
#include "core/Text.h"
#include "platform/FakePlatform.h"
#include "shared/KorvexConfig.h"
#include "shared/Ui.h"
#include "shared/testing/GameDir.h"
#include "shared/widgets/CommandLabel.h"

#include "launcher/Form1.h"
#include "launcher/Form11.h"
#include "launcher/Form6.h"
#include "launcher/Form7.h"
#include "launcher/Launcher.h"
#include "modules/addonsmith/Form1.h"
#include "modules/addonsmith/Form2.h"
#include "modules/arenawarden/ModuleState.h"
#include "modules/arenawarden/TextControls.h"
#include "modules/arenawarden/frmCfgServ.h"
#include "modules/arenawarden/frmLoadListDialog.h"
#include "modules/arenawarden/frmServerModule.h"
#include "modules/docklet/Form1.h"
#include "modules/dresser/frmMain.h"
#include "modules/matchopener/frmHost.h"
#include "modules/nameprobe/Startup.h"
#include "modules/nameprobe/frmMain.h"
#include "modules/prepdesk/frmGetGameSpyDir.h"
#include "modules/prepdesk/frmGetScreenieDir.h"
#include "modules/prepdesk/frmSetup.h"
#include "modules/quillroom/frmAbout.h"
#include "modules/quillroom/frmMain.h"
#include "modules/quillroom/frmSaveTo.h"
#include "modules/quillroom/frmScripts.h"
#include "modules/seatfinder/frmJoiner.h"
#include "modules/talkgate/frmBrowser.h"
#include "modules/tidyup/frmOutPut.h"
#include "modules/tunebench/frmConfig.h"
#include "modules/webshelf/Form2.h"
#include "plugins/lvlsmith/frmAbout.h"
#include "plugins/lvlsmith/frmMain.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTest>
#include <QTextBrowser>
#include <QTextEdit>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

using namespace kx;

namespace {

// Before the application exists (the test main makes it): what the chat window's browser
// engine needs, as in the chat module's own tests.
const bool EngineReady = [] {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    return true;
}();

// --- what counts as a control with an action ----------------------------------------------------

bool insideOf(const QWidget* w, const QWidget* window, bool (*part)(const QWidget*)) {
    for (const QWidget* p = w->parentWidget(); p && p != window; p = p->parentWidget())
        if (part(p)) return true;
    return false;
}

// Widgets that are pieces of another control (a combo box's editor, a tab strip's arrows, a
// web view's inner widgets): the outer control is the one to reach.
bool compound(const QWidget* p) {
    return qobject_cast<const QComboBox*>(p) || qobject_cast<const QAbstractSpinBox*>(p) ||
           qobject_cast<const QTabBar*>(p) || p->inherits("QWebEngineView");
}

// A scroll bar that belongs to a list or text box moves with that box's own keys.
bool ownScrollBar(const QWidget* w) {
    const auto* bar = qobject_cast<const QScrollBar*>(w);
    if (!bar) return false;
    for (const QWidget* p = w->parentWidget(); p; p = p->parentWidget())
        if (const auto* area = qobject_cast<const QAbstractScrollArea*>(p))
            return area->horizontalScrollBar() == bar || area->verticalScrollBar() == bar;
    return false;
}

bool hasAction(const QWidget* w) {
    if (qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QComboBox*>(w) ||
        qobject_cast<const QAbstractItemView*>(w) || qobject_cast<const QLineEdit*>(w) ||
        qobject_cast<const QAbstractSpinBox*>(w) || qobject_cast<const QTextBrowser*>(w) ||
        w->inherits("QWebEngineView"))
        return true;
    if (qobject_cast<const QAbstractSlider*>(w)) return !ownScrollBar(w);
    if (const auto* bar = qobject_cast<const QTabBar*>(w)) return bar->count() > 1;
    if (const auto* t = qobject_cast<const QPlainTextEdit*>(w)) return !t->isReadOnly();
    if (const auto* t = qobject_cast<const QTextEdit*>(w)) return !t->isReadOnly();
    // A label that acts as a command: the shared control, or any label with a click signal.
    if (qobject_cast<const QLabel*>(w))
        return qobject_cast<const CommandLabel*>(w) || w->metaObject()->indexOfSignal("clicked()") >= 0;
    return false;
}

// The thing Tab must reach for a control: auto-exclusive radio buttons are one stop (Tab enters
// the group, the arrow keys move inside it), as in every toolkit.
const QObject* stopOf(const QWidget* w) {
    if (const auto* r = qobject_cast<const QRadioButton*>(w); r && r->autoExclusive()) return r->parentWidget();
    return w;
}

std::string describe(const QWidget* w) {
    std::string name = w->objectName().toStdString();
    if (name.empty()) name = "(unnamed)";
    std::string text;
    if (const auto* b = qobject_cast<const QAbstractButton*>(w)) text = b->text().toStdString();
    if (const auto* l = qobject_cast<const QLabel*>(w)) text = l->text().left(40).toStdString();
    return name + " " + w->metaObject()->className() + (text.empty() ? "" : " \"" + text + "\"");
}

std::vector<QWidget*> actionControls(QWidget* window) {
    std::vector<QWidget*> out;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (w->window() != window || !w->isVisible() || !w->isEnabled()) continue;
        if (!hasAction(w) || insideOf(w, window, compound)) continue;
        out.push_back(w);
    }
    return out;
}

// The control a focused widget stands for: itself or the compound control around it.
QWidget* reachedControl(QWidget* focus, QWidget* window) {
    QWidget* outer = focus;
    for (QWidget* p = focus->parentWidget(); p && p != window; p = p->parentWidget())
        if (compound(p)) outer = p;
    return outer;
}

// Walks the focus chain with Tab from the focus the window has now; gives what was reached and
// where Tab stayed put ("" when it never did).
struct Walk {
    std::set<const QObject*> reached;
    std::string stuck;
};

Walk walkTab(QWidget* window) {
    Walk walk;
    QApplication::processEvents();
    if (!QApplication::focusWidget() || QApplication::focusWidget()->window() != window)
        QTest::keyClick(window, Qt::Key_Tab);
    QWidget* start = QApplication::focusWidget();
    if (!start) return walk; // no control takes the focus: each control with an action is missed
    int stops = 0;
    for (QWidget* w : window->findChildren<QWidget*>())
        if (w->window() == window && w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus)) ++stops;
    const int limit = 4 * int(window->findChildren<QWidget*>().size()) + 10;
    QWidget* focus = start;
    for (int step = 0; step < limit; ++step) {
        QWidget* control = reachedControl(focus, window);
        walk.reached.insert(control);
        walk.reached.insert(stopOf(control));
        QTest::keyClick(focus, Qt::Key_Tab);
        QWidget* next = QApplication::focusWidget();
        // A page viewer first moves through its links, and then on; a browser engine moves its
        // focus asynchronously: give each the keys and the moment they need.
        const bool pages = qobject_cast<QTextBrowser*>(control) || control->inherits("QWebEngineView");
        for (int more = 0; pages && next == focus && more < 200; ++more) {
            if (control->inherits("QWebEngineView")) QTest::qWait(20);
            QTest::keyClick(focus, Qt::Key_Tab);
            next = QApplication::focusWidget();
        }
        if (!next || next->window() != window) {
            walk.stuck = "the focus left the window from " + describe(control);
            return walk;
        }
        // Focus that stays put is a trap, unless this is the window's only stop.
        if (next == focus) {
            if (stops > 1) walk.stuck = "Tab stays in " + describe(control);
            return walk;
        }
        if (next == start) return walk;
        focus = next;
    }
    return walk;
}

// --- the suite's windows ------------------------------------------------------------------------

// A window as its program shows it, the states it can be put in (the first is the window as it
// opens), and what its program tidies when it goes.
struct Opened {
    QWidget* window = nullptr;
    std::vector<std::pair<std::string, std::function<void()>>> states;
    // Controls whose action no class or signal shows (a label that a window watches for clicks).
    std::vector<QWidget*> alsoActions = {};
};

class SuiteGame;

struct Row {
    const char* name;
    std::function<Opened(SuiteGame&)> open;
};

// A row is named by its window in test output.
void PrintTo(const Row& row, std::ostream* os) { *os << row.name; }

// The game directory every window is opened over.
class SuiteGame : public ::testing::Test {
protected:
    void SetUp() override {
        fake.current = g.path();
        fake.computer = "Bob";
        std::filesystem::copy(test::sourceDir() + "/korvex.wfd", g.file("korvex.wfd"),
                              std::filesystem::copy_options::recursive |
                                  std::filesystem::copy_options::overwrite_existing);
        ConfigValues v;
        v.playerName = "Bob";
        v.defaultMap = "the airbase";
        v.gameName = "Bob's Game";
        v.shotDir = g.file("shots");
        v.gameSpy = g.file("gs/GameSpy.exe");
        writeConfig(g.path(), v);
        g.write("shots/.keep", "");
        g.touchProgram("gs/GameSpy.exe");
        g.writeLines("levels.nfo", {"12345the airbase1234:1", "12345the bunker1234:2", "12345dust valley1234:3"});
        for (const char* level : {"the airbase", "the bunker", "dust valley"}) {
            g.write(std::string("levels/") + level + "/data1.bin", "QFDATA1");
            g.write(std::string("levels/") + level + "/world.dat", "QFWORLD1");
        }
        g.writeLines("korvex.wfd/config/serversets/weekend.ini",
                     {"sv_name=Weekend", "sv_maxplayers=14", "sv_gametype=0", "sv_cycletime=45",
                      "sv_iscycling=TRUE", "sv_advertkx3=no", "sv_addmap=the airbase", ";<EOF>"});
        g.touchProgram("Game.exe");
        for (const char* key : {"docklet", "prepdesk", "tidyup", "tunebench", "dresser", "quillroom", "seatfinder",
                                "matchopener", "arenawarden", "webshelf", "talkgate", "addonsmith"})
            g.touchProgram(std::string("korvex.wfd/modules/mod_") + key);
        fake.settings["Korvex|settings|dsmloadserverset"] = "NONE";
        fake.settings["LevelForge|configuration|firsttime"] = "YES";
        launcher::resetLauncher();
        arenawarden::resetModule();
    }

    void TearDown() override {
        for (auto& w : owned) w.reset();
        launcher::resetLauncher();
        arenawarden::resetModule();
    }

public:
    template <typename W>
    W* keep(std::unique_ptr<W> w) {
        W* raw = w.get();
        owned.emplace_back(std::move(w));
        return raw;
    }
    // The launcher as it is after its start: the splash's loader has run.
    launcher::Form1& startedLauncher() {
        launcher::installLauncherRoutines();
        launcher::form11().Timer1_Timer();
        if (!launcher::loadedForm1()) throw std::runtime_error("the launcher's loader did not load its main window");
        return *launcher::loadedForm1();
    }
    arenawarden::frmCfgServ& serverConfiguration() {
        arenawarden::state().korvexDir = g.path();
        fake.setProgramName("mod_arenawarden");
        arenawarden::frmCfgServ* w = arenawarden::loadCfgServ();
        if (!w) throw std::runtime_error("the configuration window went at its load");
        return *w;
    }

    test::GameDir g{"Quell fort"};
    FakePlatform fake;
    std::vector<std::unique_ptr<QWidget>> owned;
};

// States of a window with a tab strip: each tab in turn, chosen as the arrow keys choose it.
void addTabs(Opened& o, QTabBar* bar) {
    for (int i = 0; i < bar->count(); ++i)
        o.states.emplace_back("tab " + std::to_string(i) + " \"" + bar->tabText(i).toStdString() + "\"",
                              [bar, i] { bar->setCurrentIndex(i); });
}

void click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center()); }

const Row kRows[] = {
    // QFKorvex
    {"QFKorvex_Form11_splash",
     [](SuiteGame& s) {
         auto* w = s.keep(std::make_unique<launcher::Form11>());
         w->Timer1->stop(); // its loader is not what is looked at here
         return Opened{w, {}};
     }},
    {"QFKorvex_Form1_main", [](SuiteGame& s) { return Opened{&s.startedLauncher(), {}}; }},
    {"QFKorvex_Form6_about",
     [](SuiteGame& s) {
         s.startedLauncher();
         launcher::form6().Form_Load();
         return Opened{&launcher::form6(), {}};
     }},
    {"QFKorvex_Form7_viewer",
     [](SuiteGame& s) {
         s.startedLauncher();
         launcher::state().viewerFile = s.g.file("korvex.wfd/config/korvex_readme.txt");
         launcher::form7().Form_Load();
         return Opened{&launcher::form7(), {}};
     }},
    // mod_addonsmith
    {"addonsmith_Form1_wizard",
     [](SuiteGame& s) {
         auto* w = s.keep(std::make_unique<addonsmith::Form1>(s.g.path()));
         w->Form_Load();
         return Opened{w, {}};
     }},
    {"addonsmith_Form2_load_a_plugin",
     [](SuiteGame& s) {
         auto* w = s.keep(std::make_unique<addonsmith::Form1>(s.g.path()));
         w->Form_Load();
         w->Command3_Click();
         return Opened{w->loadDialog(), {}};
     }},
    // mod_arenawarden
    {"arenawarden_frmCfgServ_configuration",
     [](SuiteGame& s) {
         auto& w = s.serverConfiguration();
         Opened o{&w, {}};
         addTabs(o, w.tbsConfigureTab);
         o.states.emplace_back("information", [&w] {
             w.tbsConfigureTab->setCurrentIndex(0);
             click(w.Label21);
         });
         o.states.emplace_back("ServerSet", [&w] {
             w.tbsConfigureTab->setCurrentIndex(0);
             click(w.Label20);
         });
         o.states.emplace_back("confirmation after \"Ok, use the selected.\"", [&w] {
             w.tbsConfigureTab->setCurrentIndex(0);
             click(w.Label20);
             selectListIndex(w.File1, 0);
             click(w.Label28);
         });
         return o;
     }},
    {"arenawarden_frmLoadListDialog",
     [](SuiteGame& s) {
         auto& w = s.serverConfiguration();
         w.show();
         w.mnuListMenuLoadList_Click();
         return Opened{w.loadListDialog(), {}};
     }},
    {"arenawarden_frmServerModule_running",
     [](SuiteGame& s) {
         arenawarden::state().korvexDir = s.g.path();
         arenawarden::state().serverPlayers = 8;
         arenawarden::state().cycleMinutes = 40;
         arenawarden::state().serverGameType = "ctf";
         arenawarden::state().serverName = "Arena";
         auto& m = arenawarden::serverModule();
         m.Timer1->stop(); // no cycling while its keys are tried
         return Opened{&m, {}};
     }},
    // mod_dresser
    {"dresser_frmMain_choosing_skin",
     [](SuiteGame& s) {
         auto* w = s.keep(std::make_unique<dresser::frmMain>(s.g.path()));
         w->Form_Load();
         return Opened{w, {}};
     }},
    // mod_matchopener
    {"matchopener_frmHost",
     [](SuiteGame& s) {
         auto* w = s.keep(std::make_unique<matchopener::frmHost>(s.g.path()));
         w->Form_Load();
         return Opened{w, {}};
     }},
    // mod_nameprobe
    {"nameprobe_frmMain_joiner_dns_lookup",
     [](SuiteGame& s) {
         s.fake.dns["game.example"] = {"192.0.2.10"};
         return Opened{s.keep(nameprobe::Main("game.example")), {}};
     }},
    // mod_prepdesk
    {"prepdesk_frmSetup_wizard",
     [](SuiteGame& s) {
         auto* w = s.keep(std::make_unique<prepdesk::frmSetup>(s.g.path()));
         Opened o{w, {}};
         w->SnapShotDir->setText(toUi(s.g.file("shots")));
         for (int page = 1; page <= 5; ++page)
             o.states.emplace_back("page " + std::to_string(page), [w] { w->Command1_Click(); });
         return o;
     }},
    {"prepdesk_frmGetScreenieDir",
     [](SuiteGame& s) {
         auto* w = s.keep(std::make_unique<prepdesk::frmSetup>(s.g.path()));
         w->Command7_Click();
         return Opened{w->screenieDirPicker(), {}};
     }},
    {"prepdesk_frmGetGameSpyDir",
     [](SuiteGame& s) {
         auto* w = s.keep(std::make_unique<prepdesk::frmSetup>(s.g.path()));
         w->Command2_Click();
         return Opened{w->gameSpyDirPicker(), {}};
     }},
    // mod_quillroom
    {"quillroom_frmMain_editor",
     [](SuiteGame& s) { return Opened{s.keep(std::make_unique<quillroom::frmMain>(s.g.path())), {}}; }},
    {"quillroom_frmScripts_template_chooser",
     [](SuiteGame& s) {
         auto* w = s.keep(std::make_unique<quillroom::frmMain>(s.g.path()));
         w->mnuCreateNew_Click();
         return Opened{w->scripts(), {}};
     }},
    {"quillroom_frmSaveTo_save_dialog",
     [](SuiteGame& s) {
         auto* w = s.keep(std::make_unique<quillroom::frmMain>(s.g.path()));
         if (!w->NewScriptFromTemplate(0)) throw std::runtime_error("no script template");
         w->SetEditState(0);
         w->mnuFileSaveCurrent->trigger();
         return Opened{w->saveTo(), {}};
     }},
    {"quillroom_frmAbout",
     [](SuiteGame& s) {
         auto* w = s.keep(std::make_unique<quillroom::frmMain>(s.g.path()));
         w->mnuHelpAbout_Click();
         return Opened{w->about(), {}};
     }},
    // mod_seatfinder
    {"seatfinder_frmJoiner",
     [](SuiteGame& s) {
         auto* w = s.keep(std::make_unique<seatfinder::frmJoiner>(s.g.path()));
         w->Form_Load();
         return Opened{w, {}};
     }},
    // mod_talkgate
    {"talkgate_frmBrowser_chat",
     [](SuiteGame& s) {
         auto* w = s.keep(std::make_unique<talkgate::frmBrowser>(s.g.path()));
         w->Form_Load();
         return Opened{w, {}};
     }},
    // mod_tidyup
    {"tidyup_frmOutPut",
     [](SuiteGame& s) { return Opened{s.keep(std::make_unique<tidyup::frmOutPut>()), {}}; }},
    // mod_tunebench
    {"tunebench_frmConfig_game_defaults",
     [](SuiteGame& s) {
         auto* w = s.keep(std::make_unique<tunebench::frmConfig>(s.g.path()));
         w->Form_Load();
         return Opened{w, {}};
     }},
    // mod_webshelf
    {"webshelf_Form2_link_library",
     [](SuiteGame& s) {
         // The first start, with its note; then the library alone. Its title label rolls the
         // library up and down on a double click.
         auto* w = s.keep(std::make_unique<webshelf::Form2>(s.g.path()));
         w->Form_Load();
         Opened o{w, {}, {w->Label1}};
         o.states.emplace_back("after the note's \"Ok\"", [w] { click(w->Command1); });
         return o;
     }},
    // mod_docklet: its window shows from the icon's "info"
    {"docklet_Form1_info",
     [](SuiteGame& s) {
         auto* w = s.keep(std::make_unique<docklet::Form1>(s.g.path()));
         w->mnuStartInfo_Click();
         return Opened{w, {}};
     }},
    // LVLSMITH
    {"lvlsmith_frmMain_level_assistant",
     [](SuiteGame& s) {
         auto* w = s.keep(std::make_unique<lvlsmith::frmMain>(s.g.path()));
         if (!w->Form_Load()) throw std::runtime_error("the assistant ended at its load");
         Opened o{w, {}};
         for (int step = 1; step < 6; ++step)
             o.states.emplace_back("step " + std::to_string(step), [w, step] {
                 w->CurrentStep = std::int16_t(step);
                 w->ShowStepPanel();
             });
         return o;
     }},
    {"lvlsmith_frmAbout",
     [](SuiteGame& s) {
         auto* w = s.keep(std::make_unique<lvlsmith::frmMain>(s.g.path()));
         if (!w->Form_Load()) throw std::runtime_error("the assistant ended at its load");
         w->mnuElseAbout_Click();
         return Opened{w->about(), {}};
     }},
    // Not rows: the launcher's "configform" is never shown, and plg_orn has no window of its
    // own; message and input boxes are the platform's, with tests of their own.
};

class SuiteWindows : public SuiteGame, public ::testing::WithParamInterface<Row> {};

TEST_P(SuiteWindows, EveryControlWithAnActionIsReachedByTab) {
    Opened o;
    try {
        o = GetParam().open(*this);
    } catch (const std::exception& e) {
        FAIL() << "the window could not be opened: " << e.what();
    }
    ASSERT_NE(o.window, nullptr);
    QPointer<QWidget> window = o.window;
    window->show();
    window->raise();
    QApplication::setActiveWindow(window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));

    o.states.insert(o.states.begin(), {"as opened", [] {}});
    for (const auto& [state, enter] : o.states) {
        SCOPED_TRACE(state);
        try {
            enter();
        } catch (const std::exception& e) {
            ADD_FAILURE() << "the state could not be entered: " << e.what();
            continue;
        }
        ASSERT_TRUE(window) << "the window went";
        QApplication::setActiveWindow(window);
        QApplication::processEvents();
        const Walk walk = walkTab(window);
        EXPECT_EQ(walk.stuck, "") << state;
        std::vector<QWidget*> controls = actionControls(window);
        for (QWidget* c : o.alsoActions)
            if (c->isVisible() && c->isEnabled()) controls.push_back(c);
        for (QWidget* c : controls)
            EXPECT_TRUE(walk.reached.count(c) || walk.reached.count(stopOf(c)))
                << describe(c) << " is not reached by Tab (" << state << ")";
    }
}

INSTANTIATE_TEST_SUITE_P(Suite, SuiteWindows, ::testing::ValuesIn(kRows),
                         [](const ::testing::TestParamInfo<Row>& info) { return std::string(info.param.name); });

// --- the windows that act as dialogs ------------------------------------------------------------

// A window of the table above that acts as a dialog, with its OK ("" where it has none) and
// the Cancel or Close that Escape stands for. The others are no dialogs: main windows, wizards
// (their Back and Next are no Cancel), a progress window, and the about box and read-me viewer
// of the launcher, which have no buttons at all.
struct DialogRow {
    const char* window;
    const char* ok;
    const char* cancel;
};

void PrintTo(const DialogRow& row, std::ostream* os) { *os << row.window; }

const DialogRow kDialogs[] = {
    {"addonsmith_Form2_load_a_plugin", "Command1", "Command2"},
    {"arenawarden_frmLoadListDialog", "OKButton", "CancelButton"},
    {"docklet_Form1_info", "Command1", "Command1"},
    {"dresser_frmMain_choosing_skin", "Command2", "Command3"},
    {"matchopener_frmHost", "Command1", "Command2"},
    {"nameprobe_frmMain_joiner_dns_lookup", "", "Command1"},
    {"prepdesk_frmGetScreenieDir", "Command1", "Command2"},
    {"prepdesk_frmGetGameSpyDir", "Command1", "Command2"},
    {"quillroom_frmScripts_template_chooser", "Command1", "Command2"},
    {"quillroom_frmSaveTo_save_dialog", "Command1", "Command2"},
    {"quillroom_frmAbout", "Command1", "Command1"},
    {"seatfinder_frmJoiner", "Command1", "Command3"},
    {"tunebench_frmConfig_game_defaults", "Command11", "Command12"},
    {"lvlsmith_frmAbout", "cmdOK", "cmdOK"},
};

class SuiteDialogs : public SuiteGame, public ::testing::WithParamInterface<DialogRow> {};

TEST_P(SuiteDialogs, EscapeIsCancelAndOkIsTheDefault) {
    const DialogRow& row = GetParam();
    const Row* opener = nullptr;
    for (const Row& r : kRows)
        if (std::string(r.name) == row.window) opener = &r;
    ASSERT_NE(opener, nullptr) << "no window row " << row.window;
    Opened o;
    try {
        o = opener->open(*this);
    } catch (const std::exception& e) {
        FAIL() << "the window could not be opened: " << e.what();
    }
    QPointer<QWidget> window = o.window;
    window->show();
    window->raise();
    QApplication::setActiveWindow(window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));

    auto* cancel = window->findChild<QPushButton*>(row.cancel);
    ASSERT_NE(cancel, nullptr) << row.cancel;
    if (*row.ok) {
        auto* ok = window->findChild<QPushButton*>(row.ok);
        ASSERT_NE(ok, nullptr) << row.ok;
        EXPECT_TRUE(ok->isDefault()) << row.ok << " is not the default button";
    }
    // Pressed comes before the button's own handler, which may end the module.
    bool cancelled = false, ended = false;
    QObject::connect(cancel, &QPushButton::pressed, [&cancelled] { cancelled = true; });
    QWidget* focus = QApplication::focusWidget();
    ASSERT_TRUE(focus && focus->window() == window) << "the window has no focus";
    try {
        QTest::keyClick(focus, Qt::Key_Escape);
    } catch (const ProgramEnded&) {
        ended = true; // a Cancel that ends its module
    }
    EXPECT_TRUE(cancelled) << "Escape is not " << row.cancel;
    if (!ended) EXPECT_TRUE(!window || !window->isVisible()) << "the window stays after Escape";
}

INSTANTIATE_TEST_SUITE_P(Suite, SuiteDialogs, ::testing::ValuesIn(kDialogs),
                         [](const ::testing::TestParamInfo<DialogRow>& info) { return std::string(info.param.window); });

} // namespace
