// The main window, its menus, the shut-down, the about box, the text viewer, and the
// launcher's logged module start.
#include "LauncherFixture.h"

#include "Form1.h"
#include "Form6.h"
#include "Form7.h"

#include "shared/Ui.h"
#include "shared/testing/ShownText.h"
#include "Launcher.h"

#include "core/Text.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QLayout>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>

#include <sys/stat.h>

#include <gmock/gmock.h>

using namespace kx;
using namespace kx::launcher;
using kx::launcher::test::LauncherTest;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;

namespace {

const std::string FoundErrorBox = "msgBox(A file could not be found. Please make sure, that QF-Korvex, is placed in "
                                  "your Quellfort GameDirectory|16|An Error occured)";

class MainWindowTest : public LauncherTest {
protected:
    // A started launcher: korvex.cfg with a snapshot folder and a GameSpy program of this
    // directory, every module present, the loader run.
    Form1& startUp() {
        installModules();
        ConfigValues v = bobsValues();
        v.shotDir = D() + "/shots";
        dir.write("shots/.keep", "");
        v.gameSpy = D() + "/gs/GameSpy.exe";
        dir.touchProgram("gs/GameSpy.exe");
        writeConfig(v);
        runLoader();
        fake.calls.clear();
        fake.boxes.clear();
        fake.starts.clear();
        fake.timeline.clear();
        return *loadedForm1();
    }

    std::string module(const std::string& key) const {
        return "start(" + D() + "/korvex.wfd/modules/mod_" + key + ".exe|" + D() + "|)";
    }

    std::vector<std::string> tail(const std::vector<std::string>& v, size_t n) const {
        return std::vector<std::string>(v.end() - static_cast<long>(std::min(n, v.size())), v.end());
    }
};

struct Row {
    std::string menu, name, caption, effect;
};

// Depth first: each submenu's own items follow its row.
void walk(QMenu* menu, std::vector<Row>& rows) {
    for (QAction* a : menu->actions()) {
        Row r{menu->objectName().toStdString(), a->objectName().toStdString(),
              a->isSeparator() ? "-" : a->text().toStdString(), ""};
        rows.push_back(r);
        if (a->menu()) walk(a->menu(), rows);
    }
}

} // namespace

TEST_F(MainWindowTest, MenuTreeCaptionsOrderAndWhatEachItemStarts) {
    Form1& f = startUp();
    dir.writeLines("korvex.wfd/config/korvex_readme.txt", {"read me"});
    dir.writeLines("korvex.wfd/config/korvex_history.txt", {"history"});

    const std::string sub = "submenu", off = "disabled";
    const std::vector<Row> expected = {
        {"mnuMenu", "mnuConfig", "&configuration", sub},
        {"mnuConfig", "mnuDefaultCFG", "configure game defaults", module("tunebench")},
        {"mnuConfig", "mnuLevelsCFG", "edit levels.nfo", "editor(" + D() + "/levels.nfo)"},
        {"mnuConfig", "mnuLineCFG", "-", ""},
        {"mnuConfig", "mneOpenQfFolderCFG", "open quellfort folder", "folder(" + D() + ")"},
        {"mnuConfig", "mnuLine2CFG", "-", ""},
        {"mnuConfig", "mnuSelectSkinCFG", "browse korvex skins", module("dresser")},
        {"mnuConfig", "mnuKorvexCFG", "reconfigure korvex",
         "msgBox(Do you really want to exit Korvex and start the setup module?|36|question.)"},
        {"mnuConfig", "mnuStartDudoziRezudCFG", "administrate scripts", module("quillroom")},
        {"mnuMenu", "mnuStartGame", "&game starting", sub},
        {"mnuStartGame", "mnuSimpleGAME", "start quellfort", "start(" + D() + "/Game.exe||)"},
        {"mnuStartGame", "mnuLine1GAME", "-", ""},
        {"mnuStartGame", "mnuSeatfinder", "join game", module("seatfinder")},
        {"mnuStartGame", "mnuMatchopener", "host game", module("matchopener")},
        {"mnuStartGame", "mnuLine2GAME", "-", ""},
        {"mnuStartGame", "mnuDedicatedGAME", "dedicated server", module("arenawarden")},
        {"mnuMenu", "mnuInformation", "&information", sub},
        {"mnuInformation", "mnuConsoleINFO", "ingame console commands", module("commands") + " " + FoundErrorBox},
        {"mnuInformation", "mnuLineINFO", "-", ""},
        {"mnuInformation", "mnubrowsethisINFO", "browse this", sub},
        {"mnubrowsethisINFO", "mnuBrowsethisWebSite", "no sites available", off},
        {"mnuInformation", "mnuInfoWebshelf", "link library", module("webshelf")},
        {"mnuInformation", "mnuInfromationLine2", "-", ""},
        {"mnuInformation", "mnuAboutINFO", "about korvex", "window(Form6|Korvex 3.1 Build 92)"},
        {"mnuInformation", "mnuGettingStarted", "korvex help",
         "shellOpen(file://" + replaceAll(D(), " ", "%20") + "/korvex.wfd/helpfiles/help.htm)"},
        {"mnuInformation", "mnuInfromationLine3", "-", ""},
        {"mnuInformation", "mnueReadMeINFO", "korvex readme", "window(Form7|Quellfort Korvex - ReadMe)"},
        {"mnuInformation", "mnueHistoryINFO", "korvex history", "window(Form7|Quellfort Korvex - History)"},
        {"mnuMenu", "mnuTools", "&tools and plug-ins", sub},
        {"mnuTools", "mnuToolsPlugInsFolder", "user plug-ins", sub},
        {"mnuToolsPlugInsFolder", "mnuToolsPlugIn", "no PlugIn available", off},
        {"mnuToolsPlugInsFolder", "mnuToolsPlugInLine3", "-", ""},
        {"mnuToolsPlugInsFolder", "mnuToolsPlugInsReload", "reload plug-ins",
         "msgBox( 0 PlugIns loaded successful.|64|Quellfort Korvex 3.1)"},
        {"mnuTools", "mnuToolsPlugInLine1", "-", ""},
        {"mnuTools", "mnuToolsPlugInSNShots", "back up my screenshots",
         "msgBox(No Files available to back up.|64|info.)"},
        {"mnuTools", "mnuToolsPlugInSNShotsOpen", "open screenshots folder", "folder(" + D() + "/shots)"},
        {"mnuTools", "mnuToolsPlugInLine2", "-", ""},
        {"mnuTools", "mnuToolsPlugInsGameSpy", "start my GameSpy", "start(" + D() + "/gs/GameSpy.exe||)"},
        {"mnuTools", "mnuToolsPlugInsTalkGate", "start chat access", module("talkgate")},
        {"mnuTools", "mnuToolsPlugInsAddonsmith", "start plugin wizard", module("addonsmith")},
    };

    std::vector<Row> rows;
    walk(f.mnuMenu, rows);
    ASSERT_EQ(rows.size(), expected.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(expected[i].name);
        EXPECT_EQ(rows[i].menu, expected[i].menu);
        EXPECT_EQ(rows[i].name, expected[i].name);
        EXPECT_EQ(rows[i].caption, expected[i].caption);
    }

    for (const Row& r : expected) {
        if (r.effect.empty() || r.effect == sub) continue;
        SCOPED_TRACE(r.name);
        QAction* a = f.findChild<QAction*>(QString::fromStdString(r.name));
        ASSERT_NE(a, nullptr);
        if (r.effect == off) {
            EXPECT_FALSE(a->isEnabled());
            continue;
        }
        fake.calls.clear();
        a->trigger();
        std::string seen;
        for (const auto& c : fake.calls) {
            if (c == "doEvents") continue;
            seen += (seen.empty() ? "" : " ") + c;
        }
        for (QWidget* w : {static_cast<QWidget*>(loadedForm6()), static_cast<QWidget*>(loadedForm7())}) {
            if (!w || !w->isVisible()) continue;
            seen += (seen.empty() ? "" : " ") + ("window(" + w->objectName() + "|" + w->windowTitle() + ")").toStdString();
            delete w;
        }
        EXPECT_EQ(seen, r.effect);
    }
    EXPECT_TRUE(f.isVisible()) << "no item but the reconfiguration's Yes ends the program";
}

TEST_F(MainWindowTest, FourStackedButtonsPopUpTheirMenus) {
    Form1& f = startUp();
    f.layout()->activate();
    const std::vector<std::pair<QPushButton*, QMenu*>> buttons = {
        {f.Command7, f.mnuConfig}, {f.Command8, f.mnuStartGame}, {f.Command1, f.mnuTools}, {f.Command9, f.mnuInformation}};
    const std::vector<std::string> captions = {"&configuration", "&game starting", "&tools and plug-ins", "&information"};
    int lastY = -1;
    for (size_t i = 0; i < buttons.size(); ++i) {
        auto [button, menu] = buttons[i];
        SCOPED_TRACE(captions[i]);
        EXPECT_EQ(button->text().toStdString(), captions[i]);
        EXPECT_GT(button->y(), lastY) << "stacked top to bottom";
        lastY = button->y();
        if (i + 1 < buttons.size()) {
            EXPECT_EQ(button->nextInFocusChain(), buttons[i + 1].first);
        }
        button->click();
        EXPECT_TRUE(menu->isVisible());
        menu->hide();
    }
    EXPECT_FALSE(f.mnuMenu->isVisible()) << "no menu bar";
}

TEST_F(MainWindowTest, TheButtonWithTheFocusIsBold) {
    Form1& f = startUp();
    f.Command7_GotFocus();
    EXPECT_TRUE(f.Command7->font().bold());
    f.Command7_LostFocus();
    f.Command8_GotFocus();
    EXPECT_FALSE(f.Command7->font().bold());
    EXPECT_TRUE(f.Command8->font().bold());
}

TEST_F(MainWindowTest, ShutDownLogsInOrderStartsTheLogCleanerAndEnds) {
    Form1& f = startUp();
    EXPECT_THROW(f.Form_Unload(), ProgramEnded);
    EXPECT_THAT(fake.timeline, ElementsAreArray(std::vector<std::string>{
                                   "log: TerminateMe() Received...",
                                   "log: >> Cleaning Up...",
                                   "log: Called ModuleStart().",
                                   "log: >> $ModuleName == tidyup",
                                   "start: " + D() + "/korvex.wfd/modules/mod_tidyup.exe [" + D() + "]",
                                   "log: >> Executed.",
                                   "log: >>Terminating.",
                                   "log: Bye.",
                                   "end 0",
                               }));
}

TEST_F(MainWindowTest, ReconfigurationYesStartsTheSetUpThenShutsDown) {
    Form1& f = startUp();
    fake.boxAnswers = {box::Yes};
    EXPECT_THROW(f.mnuKorvexCFG_Click(), ProgramEnded);
    ASSERT_EQ(fake.starts.size(), 2u);
    EXPECT_THAT(fake.starts[0].program, HasSubstr("mod_prepdesk"));
    EXPECT_THAT(fake.starts[1].program, HasSubstr("mod_tidyup"));
    EXPECT_THAT(tail(fake.timeline, 3), ElementsAreArray({"log: >>Terminating.", "log: Bye.", "end 0"}));
    EXPECT_EQ(state().msgResult, "6");
}

// The base directory reaches the module as one argument, blanks and all.
TEST_F(LauncherTest, ModuleStartPassesTheBaseDirectoryWholeAndLogs) {
    ASSERT_NE(D().find(' '), std::string::npos);
    setKorvexDir(D());
    dir.touchProgram("korvex.wfd/modules/mod_tunebench");
    launcher::moduleStart("tunebench");
    ASSERT_EQ(fake.starts.size(), 1u);
    EXPECT_EQ(fake.starts[0].program, D() + "/korvex.wfd/modules/mod_tunebench.exe");
    EXPECT_EQ(fake.starts[0].args, std::vector<std::string>{D()});
    EXPECT_EQ(fake.starts[0].windowStyle, win::NormalFocus);
    EXPECT_THAT(logLines(), ElementsAreArray({"Called ModuleStart().", ">> $ModuleName == tunebench", ">> Executed."}));
}

TEST_F(LauncherTest, ModuleStartOfAMissingProgramReportsAndGoesOn) {
    setKorvexDir(D());
    launcher::moduleStart("commands");
    EXPECT_THAT(logLines(), ElementsAreArray({"Called ModuleStart().", ">> $ModuleName == commands",
                                              "ERROR HANDLER Called! Type: FoundError()",
                                              ">> $Description == File not found", ">> %i Number == 53"}));
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].style, 16);
    EXPECT_EQ(fake.boxes[0].title, "An Error occured");
    // The launcher's error boxes are kept as its current box, as its other boxes are.
    EXPECT_EQ(state().msgText, fake.boxes[0].text);
    EXPECT_EQ(state().msgStyle, "16");
    EXPECT_EQ(state().msgTitle, "An Error occured");
    showError("Path not found", 76);
    EXPECT_EQ(state().msgText, "An error occured while performing the specified task.\r\nPath not found, 76");
    EXPECT_EQ(state().msgStyle, "48");
    EXPECT_EQ(state().msgTitle, "error.");
}

TEST_F(MainWindowTest, OutsideProgramsThatCannotStartShowFoundError) {
    Form1& f = startUp();
    state().gameSpyFile = "";
    fake.failingStarts[""] = err::FileNotFound;
    f.mnuToolsPlugInsGameSpy_Click();
    fake.failingStarts[D() + "/Game.exe"] = err::PermissionDenied;
    f.mnuSimpleGAME_Click();
    const std::string box = "box: A file could not be found. Please make sure, that QF-Korvex, is placed in your "
                            "Quellfort GameDirectory|16|An Error occured";
    EXPECT_THAT(fake.timeline, ElementsAreArray(std::vector<std::string>{
                                   "log: Trying to execute Gamespy...",
                                   "log: Executing ",
                                   "start:  ",
                                   "log: ERROR HANDLER Called! Type: FoundError()",
                                   "log: >> $Description == File not found",
                                   "log: >> %i Number == 53",
                                   box,
                                   "start: " + D() + "/Game.exe ",
                                   "log: ERROR HANDLER Called! Type: FoundError()",
                                   "log: >> $Description == Permission denied",
                                   "log: >> %i Number == 70",
                                   box,
                               }));
    EXPECT_TRUE(f.isVisible());
}

TEST_F(MainWindowTest, ViewerOnAMissingFileReportsAndStaysEmpty) {
    Form1& f = startUp();
    f.mnueHistoryINFO_Click();
    const std::string path = D() + "/korvex.wfd/config/korvex_history.txt";
    EXPECT_THAT(fake.timeline,
                ElementsAreArray(std::vector<std::string>{
                    "log: Called LoadText().",
                    "log: >> $Text == " + path,
                    "log: ERROR HANDLER Called! Type: ShowError()",
                    "log: >> $Description == File not found",
                    "log: >> %i Number == 53",
                    "box: An error occured while performing the specified task.\r\nFile not found, 53|48|error.",
                }));
    Form7* viewer = loadedForm7();
    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_EQ(viewer->windowTitle(), "Quellfort Korvex - History");
    EXPECT_TRUE(viewer->Text1->toPlainText().isEmpty());
    EXPECT_TRUE(f.isVisible());

    // With the viewer still open, the read-me replaces its text and title.
    dir.writeLines("korvex.wfd/config/korvex_readme.txt", {"a", "b"});
    f.mnueReadMeINFO_Click();
    EXPECT_EQ(loadedForm7(), viewer) << "one viewer";
    EXPECT_EQ(viewer->Text1->toPlainText(), "a\nb\n");
    EXPECT_EQ(viewer->windowTitle(), "Quellfort Korvex - ReadMe");
    EXPECT_FALSE(viewer->Text1->isReadOnly());
}

TEST_F(MainWindowTest, ViewerShowsAVeryLongLineInBoundedBlocks) {
    Form1& f = startUp();
    const std::string line(3 * kShownBlock, 'x');
    dir.writeLines("korvex.wfd/config/korvex_readme.txt", {line, "b"});
    f.mnueReadMeINFO_Click();
    Form7* viewer = loadedForm7();
    ASSERT_NE(viewer, nullptr);
    EXPECT_LE(kx::test::longestBlock(*viewer->Text1), kShownBlock);
    EXPECT_EQ(viewer->Text1->toPlainText().remove('\n').toStdString(), line + "b");
}

TEST_F(MainWindowTest, AboutBoxShowsTheStartPageAndSendsWebAddressesToTheDesktop) {
    Form1& f = startUp();
    dir.write("korvex.wfd/templates/about_startup.htm",
              "<html><body><p>Korvex about page</p><a href=\"http://www.example.org/\">site</a></body></html>");
    f.mnuAboutINFO_Click();
    Form6* about = loadedForm6();
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->windowTitle(), "Korvex 3.1 Build 92");
    EXPECT_THAT(about->WebBrowser1->toPlainText().toStdString(), HasSubstr("Korvex about page"));
    f.mnuAboutINFO_Click();
    EXPECT_EQ(loadedForm6(), about) << "one about box";

    emit about->WebBrowser1->anchorClicked(QUrl("http://www.example.org/"));
    EXPECT_THAT(fake.shellOpens, ElementsAreArray({"http://www.example.org/"}));
    EXPECT_THAT(about->WebBrowser1->toPlainText().toStdString(), HasSubstr("Korvex about page"));
}

TEST_F(MainWindowTest, AboutBoxReadsOnlyRegularFilesForItsPicturesAndStyles) {
    Form1& f = startUp();
    dir.write("korvex.wfd/templates/about_startup.htm",
              "<html><head><link rel=\"stylesheet\" href=\"pipe.css\"></head><body><p>Korvex about page</p>"
              "<img src=\"pipe.png\"><img src=\"ok.png\"></body></html>");
    // Pipes with no writer: a plain open of either waits for ever.
    for (const char* pipe : {"pipe.css", "pipe.png"})
        ASSERT_EQ(::mkfifo(dir.file(std::string("korvex.wfd/templates/") + pipe).c_str(), 0600), 0);
    QImage picture(2, 2, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(QString::fromStdString(dir.file("korvex.wfd/templates/ok.png"))));

    f.mnuAboutINFO_Click();
    Form6* about = loadedForm6();
    ASSERT_NE(about, nullptr);
    QTextDocument* page = about->WebBrowser1->document();
    page->size(); // lays the page out, which loads its pictures
    QCoreApplication::processEvents();
    EXPECT_THAT(about->WebBrowser1->toPlainText().toStdString(), HasSubstr("Korvex about page"));
    EXPECT_EQ(page->resource(QTextDocument::ImageResource, QUrl("pipe.png")).toByteArray(), "");
    EXPECT_EQ(page->resource(QTextDocument::StyleSheetResource, QUrl("pipe.css")).toByteArray(), "");
    // The regular picture was read and shown (the page keeps it as a pixmap).
    EXPECT_EQ(page->resource(QTextDocument::ImageResource, QUrl("ok.png")).value<QPixmap>().size(), QSize(2, 2));
}

TEST_F(MainWindowTest, AboutBoxWithoutItsPageSaysSo) {
    Form1& f = startUp();
    f.mnuAboutINFO_Click();
    ASSERT_NE(loadedForm6(), nullptr);
    EXPECT_THAT(loadedForm6()->WebBrowser1->toPlainText().toStdString(), HasSubstr("about_startup.htm"));
    EXPECT_TRUE(fake.boxes.empty());
}

// The pointer over a button gives it the focus, and the button with the focus is the bold one.
TEST_F(MainWindowTest, MovingThePointerOntoAButtonMakesItTheBoldOne) {
    Form1& f = startUp();
    f.activateWindow();
    QApplication::setActiveWindow(&f);
    // The first move only brings the pointer into the window; the first button has the focus anyway.
    QTest::mouseMove(f.Command7);
    for (QPushButton* b : {f.Command8, f.Command1, f.Command9, f.Command7}) {
        SCOPED_TRACE(b->objectName().toStdString());
        QTest::mouseMove(b);
        QCoreApplication::processEvents();
        for (QPushButton* other : {f.Command7, f.Command8, f.Command1, f.Command9})
            EXPECT_EQ(other->font().bold(), other == b) << other->objectName().toStdString();
    }
}

// A button's menu taking the keyboard while it is up does not take the bold face from it.
TEST_F(MainWindowTest, AButtonStaysBoldWhileItsMenuIsUp) {
    Form1& f = startUp();
    f.activateWindow();
    QApplication::setActiveWindow(&f);
    QTest::mouseMove(f.Command7);
    QTest::mouseMove(f.Command8);
    QCoreApplication::processEvents();
    ASSERT_TRUE(f.Command8->font().bold());
    f.Command8->click();
    QCoreApplication::processEvents();
    ASSERT_TRUE(f.mnuStartGame->isVisible());
    EXPECT_TRUE(f.Command8->font().bold());
    f.mnuStartGame->hide();
    QCoreApplication::processEvents();
    EXPECT_TRUE(f.Command8->font().bold());
}
