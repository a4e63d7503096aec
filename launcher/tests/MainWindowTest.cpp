// The main window, its menus, the shut-down, the about box, the text viewer, and the
// launcher's logged module start.
#include "LauncherFixture.h"

#include "Form1.h"
#include "Form6.h"
#include "Form7.h"

#include "shared/Ui.h"
#include "shared/testing/ShownText.h"
#include "Launcher.h"

#include "core/Files.h"
#include "core/Text.h"
#include "shared/testing/GameDir.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <QPixmap>
#include <QLayout>
#include <QLineEdit>
#include <QTextBlock>
#include <QTextLayout>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>

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
}

// The viewer is for reading: keys do not change the text, Tab goes on to the next control, and
// a paragraph wraps at its blanks to the window's width.
TEST_F(MainWindowTest, ViewerIsReadOnlyWrapsAtWordsAndPassesTabOn) {
    Form1& f = startUp();
    std::string paragraph;
    for (int i = 0; i < 60; ++i) paragraph += "word" + std::to_string(i) + " ";
    paragraph += "end";
    dir.writeLines("korvex.wfd/config/korvex_readme.txt", {paragraph, "", "next"});
    f.mnueReadMeINFO_Click();
    Form7* viewer = loadedForm7();
    ASSERT_NE(viewer, nullptr);
    auto* next = new QLineEdit(viewer); // somewhere for Tab to go
    viewer->layout()->addWidget(next);
    viewer->resize(300, 300);
    viewer->show();
    viewer->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(viewer));
    viewer->Text1->setFocus();
    const QString before = viewer->Text1->toPlainText();

    QTest::keyClicks(viewer->Text1, "typed");
    QTest::keyClick(viewer->Text1, Qt::Key_Return);
    QTest::keyClick(viewer->Text1, Qt::Key_Delete);
    EXPECT_EQ(viewer->Text1->toPlainText(), before);
    QTest::keyClick(viewer->Text1, Qt::Key_Tab);
    EXPECT_TRUE(next->hasFocus());
    EXPECT_EQ(viewer->Text1->toPlainText(), before);

    QCoreApplication::processEvents();
    const QTextBlock block = viewer->Text1->document()->firstBlock();
    QTextLayout* layout = block.layout();
    ASSERT_NE(layout, nullptr);
    ASSERT_GT(layout->lineCount(), 2) << "the paragraph wraps in the window";
    for (int i = 1; i < layout->lineCount(); ++i) {
        const int start = layout->lineAt(i).textStart();
        EXPECT_EQ(block.text().at(start - 1), QLatin1Char(' ')) << "line " << i << " starts inside a word";
    }
}

// The shipped texts let the viewer wrap them: a paragraph is one line, and the lines that
// follow another line directly are list items or a heading's underline.
TEST(ShippedTexts, ParagraphsAreNotHardWrapped) {
    for (const char* name : {"korvex_readme.txt", "korvex_history.txt"}) {
        SCOPED_TRACE(name);
        const auto lines = readLines(kx::test::sourceDir() + "/korvex.wfd/config/" + name);
        ASSERT_FALSE(lines.empty());
        for (size_t i = 1; i < lines.size(); ++i) {
            if (lines[i - 1].empty() || lines[i].empty()) continue;
            if (lines[i - 1].find_first_not_of("-=") == std::string::npos) continue; // after a heading
            const size_t first = lines[i].find_first_not_of(' ');
            const char c = first == std::string::npos ? ' ' : lines[i][first];
            EXPECT_TRUE(c == '-' || c == '=') << "a paragraph goes on in line " << i + 1 << ": " << lines[i];
        }
    }
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

// A page with a very long paragraph is shown in bounded blocks, cut after a blank where there
// is one; also a page reached by a link while the box is up.
TEST_F(MainWindowTest, AboutBoxShowsAVeryLongParagraphInBoundedBlocks) {
    Form1& f = startUp();
    std::string words;
    while (words.size() < 3 * kShownBlock) words += "quellfort ";
    const std::string solid(3 * kShownBlock + 5, 'x');
    dir.write("korvex.wfd/templates/about_startup.htm",
              "<html><body><p>" + words + "</p><p>" + solid + "</p><a href=\"next.htm\">next</a></body></html>");
    dir.write("korvex.wfd/templates/next.htm", "<html><body><p>" + solid + "</p></body></html>");
    const auto longest = [](const QTextDocument* d) {
        int most = 0;
        for (QTextBlock b = d->begin(); b.isValid(); b = b.next()) most = std::max(most, b.length() - 1);
        return most;
    };
    f.mnuAboutINFO_Click();
    Form6* about = loadedForm6();
    ASSERT_NE(about, nullptr);
    QTextDocument* page = about->WebBrowser1->document();
    EXPECT_LE(longest(page), kShownBlock);
    EXPECT_EQ(about->WebBrowser1->toPlainText().remove('\n').toStdString(), words + solid + "next");
    for (QTextBlock b = page->begin(); b.isValid(); b = b.next())
        if (b.text().startsWith(QLatin1String("quellfort")) && b.next().text().startsWith(QLatin1Char('q')))
            EXPECT_TRUE(b.text().endsWith(QLatin1Char(' '))) << "a word is cut";

    emit about->WebBrowser1->anchorClicked(QUrl("next.htm"));
    EXPECT_EQ(about->WebBrowser1->toPlainText().remove('\n').toStdString(), solid);
    EXPECT_LE(longest(page), kShownBlock);
    EXPECT_GT(page->size().height(), 0) << "the page is laid out";
}

// The help page's address names exactly its file, whatever the game directory is called: "#"
// would start a fragment and "?" a query.
TEST(HelpPage, TheAddressNamesTheFileWhateverTheFolderIsCalled) {
    for (const std::string name : {"Quell#fort", "what?game", "50% off", "J\xC3\xB6s\xC3\xA9", "bad\xFFname"}) {
        SCOPED_TRACE(name);
        kx::test::GameDir g(name);
        FakePlatform fake;
        setKorvexDir(g.path());
        form1().mnuGettingStarted_Click();
        ASSERT_EQ(fake.shellOpens.size(), 1u);
        const QUrl url(QString::fromStdString(fake.shellOpens[0]), QUrl::StrictMode);
        ASSERT_TRUE(url.isValid()) << fake.shellOpens[0];
        EXPECT_TRUE(url.fragment().isEmpty() && url.query().isEmpty()) << fake.shellOpens[0];
        ASSERT_EQ(fake.shellOpens[0].rfind("file://", 0), 0u);
        const QByteArray path = QByteArray::fromStdString(fake.shellOpens[0].substr(7));
        EXPECT_EQ(QByteArray::fromPercentEncoding(path).toStdString(), g.path() + "/korvex.wfd/helpfiles/help.htm");
        resetLauncher();
    }
}

// The about box's pages, pictures and links are found by their addresses whatever the game
// directory is called: "#" and "?" would cut the address, a name that is not UTF-8 would not
// survive decoding ("The page cannot be found").
TEST(AboutBox, ShowsItsPagesWhateverTheFolderIsCalled) {
    for (const std::string name : {"Quell#fort", "what?game", "50% off", "J\xC3\xB6s\xC3\xA9", "bad\xFFname"}) {
        SCOPED_TRACE(name);
        kx::test::GameDir g(name);
        FakePlatform fake;
        setKorvexDir(g.path());
        // Written byte for byte (the test folder's own helpers go through QString).
        const auto put = [&](const std::string& rel, const std::string& bytes) {
            const std::filesystem::path p(g.path() + "/" + rel);
            std::filesystem::create_directories(p.parent_path());
            std::ofstream(p, std::ios::binary) << bytes;
        };
        put("korvex.wfd/templates/about_startup.htm",
            "<html><body><p>Korvex about page</p><img src=\"ok.png\"><a href=\"next.htm\">next</a></body></html>");
        put("korvex.wfd/templates/next.htm", "<html><body><p>The next page</p></body></html>");
        QImage picture(2, 2, QImage::Format_RGB32);
        picture.fill(Qt::red);
        const QByteArray png = [&] {
            QByteArray bytes;
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            picture.save(&buffer, "PNG");
            return bytes;
        }();
        put("korvex.wfd/templates/ok.png", png.toStdString());
        form1().mnuAboutINFO_Click();
        Form6* about = loadedForm6();
        ASSERT_NE(about, nullptr);
        QTextDocument* page = about->WebBrowser1->document();
        page->size();
        QCoreApplication::processEvents();
        EXPECT_THAT(about->WebBrowser1->toPlainText().toStdString(), HasSubstr("Korvex about page"));
        EXPECT_EQ(page->resource(QTextDocument::ImageResource, QUrl("ok.png")).value<QPixmap>().size(), QSize(2, 2));
        emit about->WebBrowser1->anchorClicked(QUrl("next.htm"));
        EXPECT_THAT(about->WebBrowser1->toPlainText().toStdString(), HasSubstr("The next page"));
        EXPECT_TRUE(fake.shellOpens.empty());
        resetLauncher();
    }
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
