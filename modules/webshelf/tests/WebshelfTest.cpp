// The link library: its reader, its tree and what a click opens.
#include "Form2.h"
#include "Webshelf.h"

#include "core/Files.h"
#include "core/RunError.h"
#include "core/Text.h"
#include "platform/FakePlatform.h"
#include "platform/RealPlatform.h"
#include "shared/testing/EndToEnd.h"
#include "shared/testing/GameDir.h"
#include "shared/Ui.h"
#include "shared/widgets/CommandLabel.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScrollBar>
#include <QLabel>
#include <QScreen>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <gmock/gmock.h>

using namespace kx;
using namespace kx::webshelf;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

// Columns: 16 characters before a folder's name and 13 after it; the flag third from the end.
std::string folderLine(const std::string& name, char flag) { return "<opennode name=\"" + name + "\" expand=\"" + flag + "\">"; }

const std::vector<std::string> Fixture = {
    "<webshelf>",
    " <addurl href=\"http://early.example/\" text=\"before any folder\" />",
    folderLine("my links", '1'),
    " <addurl href=\"https://Docs.Example.org/Guide/Index.HTML\" text=\"the GUIDE\" />",
    " <ADDURL HREF=\"http://void.example/\" TEXT=\"q&a\" />",
    " <addurl href=\"void\" text=\"nothing\" />",
    " <addurl href=\"Void\" text=\"nothing either\" />",
    " <addurl href=\"only three\" text=\"quotes />",
    " <addurl href=\"a\" text=\"b\" more=\"c\" />",
    "</opennode>",
    folderLine("empty", '0'),
    folderLine("e-mail", 'x'),
    " <addloc file=\"Korvex.wfd\\HelpFiles\\help.htm\" text=\"help-\" />",
    "<opennode>",
    " <addurl href=\"http://lost.example/\" text=\"after a broken folder line\" />",
    folderLine("MY LINKS", '0'),
    " <addurl href=\"http://later.example/\" text=\"merged\" />",
    "",
    "x",
};

struct Node {
    std::string text;
    bool expanded;
    std::vector<std::string> children;
};

} // namespace

TEST(CapitaliseName, UpperCaseAtTheStartAndAfterEachSeparator) {
    struct Case {
        std::string in, out;
    };
    const std::vector<Case> cases = {
        {"my links", "My Links"}, {"q&a", "Q&A"},       {"e-mail", "E-Mail"},   {"nasa", "Nasa"},
        {"NASA", "Nasa"},         {"", ""},             {"a", "A"},             {"links ", "Links "},
        {"rock&", "Rock&"},       {"half-", "Half-"},   {"a--b", "A--b"},       {"-x", "-x"},
        {"two  blanks", "Two  blanks"}, {"\xe9t\xc9", "\xc9t\xe9"},
        // UTF-8 is capitalised by its characters, Windows-1252 by its bytes.
        {"m\xc3\xbcller stra\xc3\x9f" "e", "M\xc3\xbcller Stra\xc3\x9f" "e"},
        {"\xc3\xa9t\xc3\x89 \xc3\xa0-\xc3\xa9t\xc3\x89", "\xc3\x89t\xc3\xa9 \xc3\x80-\xc3\x89t\xc3\xa9"},
        {"\xd0\xbc\xd0\x9e\xd0\xa1\xd0\x9a\xd0\x92\xd0\x90", "\xd0\x9c\xd0\xbe\xd1\x81\xd0\xba\xd0\xb2\xd0\xb0"},
        // A character whose upper case is two keeps its place (and the name its length).
        {"\xc3\x9f" "ab \xef\xac\x80x", "\xc3\x9f" "ab \xef\xac\x80x"},
    };
    for (const auto& c : cases) EXPECT_EQ(capitaliseName(c.in), c.out) << c.in;
}

TEST(ParseWebshelf, FoldersLinksAndTheLinesThatAreSkipped) {
    kx::test::GameDir game;
    game.write("korvex.wfd/helpfiles/help.htm", "<html></html>");
    const auto folders = parseWebshelf(Fixture, game.path());
    ASSERT_EQ(folders.size(), 3u);

    EXPECT_EQ(folders[0].name, "My Links");
    EXPECT_TRUE(folders[0].expanded);
    ASSERT_EQ(folders[0].links.size(), 6u);
    // Targets as written (capitals kept); only the first four quotes count.
    EXPECT_EQ(folders[0].links[0].target, "https://Docs.Example.org/Guide/Index.HTML");
    EXPECT_EQ(folders[0].links[0].text, "The Guide");
    EXPECT_EQ(folders[0].links[1].target, "http://void.example/");
    EXPECT_EQ(folders[0].links[1].text, "Q&A");
    // The word void in any case is a target that opens nothing, as the file reads lower-cased.
    EXPECT_EQ(folders[0].links[2].target, "void");
    EXPECT_EQ(folders[0].links[3].target, "void");
    EXPECT_EQ(folders[0].links[4].target, "a");
    EXPECT_EQ(folders[0].links[4].text, "B");
    // The repeated folder (in other case) adds to the first and keeps its flag.
    EXPECT_EQ(folders[0].links[5].target, "http://later.example/");

    EXPECT_EQ(folders[1].name, "Empty");
    EXPECT_FALSE(folders[1].expanded);
    EXPECT_THAT(folders[1].links, IsEmpty());

    EXPECT_EQ(folders[2].name, "E-Mail");
    EXPECT_FALSE(folders[2].expanded);
    ASSERT_EQ(folders[2].links.size(), 1u);
    EXPECT_EQ(folders[2].links[0].text, "Help-");
    // A local link: below the base directory, found whatever its case.
    EXPECT_EQ(folders[2].links[0].target, game.path() + "/korvex.wfd/helpfiles/help.htm");
}

// What a player wants: the suite's help pages, the read-me, the version history and how to run
// the game here, each a local page of the shipped tree opened through its link.
TEST(ParseWebshelf, TheShippedFileLinksThePlayersOwnPages) {
    const std::string root = kx::test::sourceDir();
    const auto folders = parseWebshelf(readLines(root + "/korvex.wfd/config/webshelf.xml"), root);
    std::vector<std::string> names, local;
    for (const auto& f : folders) {
        names.push_back(f.name);
        for (const auto& l : f.links) {
            if (l.target.rfind("https://", 0) == 0) continue;
            EXPECT_TRUE(fileExists(l.target)) << l.target;
            local.push_back(l.target.substr(root.size() + 1));
        }
    }
    EXPECT_THAT(names, ElementsAre("Korvex Help", "About Korvex", "Playing On Linux"));
    EXPECT_THAT(local, ElementsAre("korvex.wfd/helpfiles/help.htm", "korvex.wfd/helpfiles/scriptingqfs/script_index.htm",
                                   "korvex.wfd/helpfiles/levelaide/levelaide.htm", "korvex.wfd/config/korvex_readme.txt",
                                   "korvex.wfd/config/korvex_history.txt", "korvex.wfd/helpfiles/linux.htm"));
}

namespace {

class WebshelfForm : public ::testing::Test {
protected:
    kx::test::GameDir game{"Quell fort"};
    FakePlatform fake;

    void SetUp() override {
        fake.current = "/";
        game.writeLines("korvex.wfd/config/webshelf.xml", Fixture);
    }
    std::unique_ptr<Form2> load(const std::string& commandLine) {
        auto f = std::make_unique<Form2>(commandLine);
        f->Form_Load();
        return f;
    }
    std::vector<Node> tree(const Form2& f) const {
        std::vector<Node> out;
        for (int i = 0; i < f.TreeView1->topLevelItemCount(); ++i) {
            QTreeWidgetItem* t = f.TreeView1->topLevelItem(i);
            Node n{fromUi(t->text(0)), t->isExpanded(), {}};
            for (int c = 0; c < t->childCount(); ++c) n.children.push_back(fromUi(t->child(c)->text(0)));
            out.push_back(n);
        }
        return out;
    }
};

} // namespace

TEST_F(WebshelfForm, LoadsTheTreeAndOpensWhatANodeStandsFor) {
    auto f = load(game.path());
    EXPECT_EQ(fake.current, game.path());
    EXPECT_EQ(f->windowTitle(), "QF Webshelf 1. 0. 5");
    const auto t = tree(*f);
    ASSERT_EQ(t.size(), 3u);
    EXPECT_EQ(t[0].text, "My Links");
    EXPECT_TRUE(t[0].expanded);
    EXPECT_THAT(t[0].children, ElementsAre("The Guide", "Q&A", "Nothing", "Nothing Either", "B", "Merged"));
    EXPECT_EQ(t[1].text, "Empty");
    EXPECT_EQ(t[2].text, "E-Mail");
    EXPECT_FALSE(t[2].expanded);
    EXPECT_THAT(t[2].children, ElementsAre("Help-"));
    // One row per node, in the order the nodes were added.
    EXPECT_EQ(f->RefHTTPList->count(), 3 + 7);
    EXPECT_TRUE(f->RefHTTPList->isHidden());

    QTreeWidgetItem* folder = f->TreeView1->topLevelItem(0);
    f->TreeView1_NodeClick(folder);
    f->TreeView1_NodeClick(folder->child(2)); // target "void"
    f->TreeView1_NodeClick(folder->child(3)); // target "Void"
    EXPECT_THAT(fake.shellOpens, IsEmpty());
    f->TreeView1_NodeClick(folder->child(0));
    f->TreeView1_NodeClick(folder->child(5));
    f->TreeView1_NodeClick(f->TreeView1->topLevelItem(2)->child(0));
    EXPECT_THAT(fake.shellOpens, ElementsAre("https://Docs.Example.org/Guide/Index.HTML", "http://later.example/",
                                             game.path() + "/korvex.wfd/helpfiles/help.htm"));
    EXPECT_THAT(fake.boxes, IsEmpty());
}

TEST_F(WebshelfForm, AClickInTheWindowOpensTheLinkAndAFailedOpenIsIgnored) {
    auto f = load(game.path());
    f->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(f.get()));
    fake.shellOpenResult = 2;
    QTreeWidgetItem* guide = f->TreeView1->topLevelItem(0)->child(0);
    const QRect r = f->TreeView1->visualItemRect(guide);
    QTest::mouseClick(f->TreeView1->viewport(), Qt::LeftButton, {}, r.center());
    EXPECT_THAT(fake.shellOpens, ElementsAre("https://Docs.Example.org/Guide/Index.HTML"));
    EXPECT_THAT(fake.boxes, IsEmpty());
}

TEST_F(WebshelfForm, TheFirstStartNoteIsShownOncePerUser) {
    auto first = load(game.path());
    EXPECT_FALSE(first->Picture1->isHidden());
    EXPECT_EQ(fake.getSetting("Korvex", "settings", "webshelffirststart"), "false");
    first->Command1->click();
    EXPECT_TRUE(first->Picture1->isHidden());

    auto second = load(game.path());
    EXPECT_TRUE(second->Picture1->isHidden());

    // Anything but "false" (the set-up writes "true") shows it.
    fake.saveSetting("Korvex", "settings", "webshelffirststart", "FALSE");
    EXPECT_FALSE(load(game.path())->Picture1->isHidden());
}

namespace {
// Whether any pixel of the window shows w or a part of it (its scroll bars, its viewport).
bool showsAnyOf(QWidget* window, QWidget* w) {
    for (int y = 0; y < window->height(); ++y)
        for (int x = 0; x < window->width(); x += 2)
            for (QWidget* c = window->childAt(x, y); c; c = c->parentWidget())
                if (c == w) return true;
    return false;
}
} // namespace

TEST_F(WebshelfForm, DoubleClickOnTheTitleRollsTheWindowUpAndDown) {
    auto f = load(game.path()); // the first start: the note is up
    f->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(f.get()));
    const int full = f->height();
    ASSERT_TRUE(showsAnyOf(f.get(), f->TreeView1));
    QTest::mouseDClick(f->Label1, Qt::LeftButton);
    EXPECT_TRUE(f->rolledUp());
    EXPECT_EQ(f->height(), 600 / 15) << "only the title label stays visible";
    EXPECT_TRUE(f->Label1->geometry().bottom() < f->height());
    // No strip of the tree, its scroll bar or the note below the label.
    EXPECT_FALSE(showsAnyOf(f.get(), f->TreeView1));
    EXPECT_FALSE(showsAnyOf(f.get(), f->Picture1));
    EXPECT_TRUE(f->Label1->isVisible());
    QTest::mouseDClick(f->Label1, Qt::LeftButton);
    EXPECT_FALSE(f->rolledUp());
    EXPECT_EQ(f->height(), full);
    EXPECT_TRUE(showsAnyOf(f.get(), f->TreeView1));
    EXPECT_TRUE(f->Picture1->isVisible()) << "the note not yet dismissed comes back";

    // A dismissed note stays away through a roll up and down.
    f->Command1->click();
    QTest::mouseDClick(f->Label1, Qt::LeftButton);
    QTest::mouseDClick(f->Label1, Qt::LeftButton);
    EXPECT_FALSE(f->Picture1->isVisible());
    EXPECT_TRUE(f->TreeView1->isVisible());
}

// A keyboard user reaches every control by Tab: the note's "Ok" first while it is up, then
// the tree, then the title label, which rolls the window on Return and Space. A single click
// on the title does nothing; the double click is the mouse's command.
TEST_F(WebshelfForm, TheKeyboardDismissesTheNoteAndRollsTheWindow) {
    auto f = load(game.path());
    f->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(f.get()));
    f->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(f.get()));
    EXPECT_EQ(QApplication::focusWidget(), f->Command1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_TRUE(f->Picture1->isHidden());
    EXPECT_EQ(QApplication::focusWidget(), f->TreeView1);

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), f->Label1);
    QTest::keyClick(f->Label1, Qt::Key_Return);
    EXPECT_TRUE(f->rolledUp());
    EXPECT_EQ(f->height(), 600 / 15);
    QTest::keyClick(f->Label1, Qt::Key_Space);
    EXPECT_FALSE(f->rolledUp());
    QTest::mouseClick(f->Label1, Qt::LeftButton);
    EXPECT_FALSE(f->rolledUp());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), f->TreeView1);
}

// The keyboard opens what a click opens: Return and Space on the highlighted node, once a press.
TEST_F(WebshelfForm, ReturnAndSpaceOpenTheHighlightedLinkOnce) {
    auto f = load(game.path());
    f->Command1->click();
    f->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(f.get()));
    f->activateWindow();
    f->TreeView1->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(f->TreeView1->hasFocus());
    QTreeWidgetItem* links = f->TreeView1->topLevelItem(0);

    QTest::keyClick(f->TreeView1, Qt::Key_Home);
    ASSERT_EQ(f->TreeView1->currentItem(), links);
    QTest::keyClick(f->TreeView1, Qt::Key_Return); // a folder: its row is void
    QTest::keyClick(f->TreeView1, Qt::Key_Space);
    EXPECT_THAT(fake.shellOpens, IsEmpty());

    QTest::keyClick(f->TreeView1, Qt::Key_Down);
    ASSERT_EQ(f->TreeView1->currentItem(), links->child(0));
    QTest::keyClick(f->TreeView1, Qt::Key_Return);
    QTest::keyClick(f->TreeView1, Qt::Key_Down);
    QTest::keyClick(f->TreeView1, Qt::Key_Space);
    QTest::keyClick(f->TreeView1, Qt::Key_Enter, Qt::KeypadModifier);
    // A held key opens nothing more.
    QTest::sendKeyEvent(QTest::Press, f->TreeView1, Qt::Key_Return, '\r', {});
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, {}, "\r", true);
    QApplication::sendEvent(f->TreeView1, &repeat);
    QTest::sendKeyEvent(QTest::Release, f->TreeView1, Qt::Key_Return, '\r', {});
    EXPECT_THAT(fake.shellOpens, ElementsAre("https://Docs.Example.org/Guide/Index.HTML", "http://void.example/",
                                             "http://void.example/", "http://void.example/"));
    EXPECT_EQ(f->TreeView1->currentItem(), links->child(1)) << "the keys open, they do not move";
}

// The library's targets are bytes of the file (a UTF-8 address) or of the file system (a game
// directory with non-ASCII letters): each opens as it is, and UTF-8 names show as UTF-8.
TEST(WebshelfUtf8, TargetsKeepTheirBytesAndNamesShowAsWritten) {
    kx::test::GameDir game("J\xc3\xb6s\xc3\xa9 fort");
    FakePlatform fake;
    game.write("korvex.wfd/helpfiles/help.htm", "x");
    const std::string moscow = "https://ru.example.org/wiki/\xd0\x9c\xd0\xbe\xd1\x81\xd0\xba\xd0\xb2\xd0\xb0";
    game.writeLines("korvex.wfd/config/webshelf.xml",
                    {folderLine("m\xc3\xbcller stra\xc3\x9f" "e", '1'),
                     " <addurl href=\"" + moscow + "\" text=\"\xd0\xbc\xd0\xbe\xd1\x81\xd0\xba\xd0\xb2\xd0\xb0\" />",
                     " <addloc file=\"korvex.wfd\\helpfiles\\help.htm\" text=\"hilfe f\xc3\xbcr alle\" />",
                     folderLine("caf\xe9 cr\xe8me", '1'),
                     " <addurl href=\"http://x.example/\" text=\"\xe9t\xe9\" />"});
    Form2 f(game.path());
    f.Form_Load();
    f.Command1->click();
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    QTreeWidgetItem* folder = f.TreeView1->topLevelItem(0);
    EXPECT_EQ(folder->text(0), QString::fromUtf8("M\u00fcller Stra\u00dfe"));
    EXPECT_EQ(folder->child(0)->text(0), QString::fromUtf8("\u041c\u043e\u0441\u043a\u0432\u0430"));
    EXPECT_EQ(folder->child(1)->text(0), QString::fromUtf8("Hilfe F\u00fcr Alle"));
    // Windows-1252 names stay Windows-1252.
    EXPECT_EQ(f.TreeView1->topLevelItem(1)->text(0), QString::fromUtf8("Caf\u00e9 Cr\u00e8me"));
    EXPECT_EQ(f.TreeView1->topLevelItem(1)->child(0)->text(0), QString::fromUtf8("\u00c9t\u00e9"));

    for (int i : {0, 1}) {
        const QRect r = f.TreeView1->visualItemRect(folder->child(i));
        QTest::mouseClick(f.TreeView1->viewport(), Qt::LeftButton, {}, r.center());
    }
    EXPECT_THAT(fake.shellOpens, ElementsAre(moscow, game.path() + "/korvex.wfd/helpfiles/help.htm"));
    EXPECT_THAT(fake.boxes, IsEmpty());
}

// Names of any length come from the file; the tree shows the first of their characters only,
// so that laying them out cannot hold the window.
TEST(WebshelfLongNames, TheTreeShowsABoundedText) {
    kx::test::GameDir game;
    FakePlatform fake;
    fake.saveSetting("Korvex", "settings", "webshelffirststart", "false");
    const std::string name(2 * 1024 * 1024, 'a');
    game.writeLines("korvex.wfd/config/webshelf.xml",
                    {folderLine(name, '1'), " <addurl href=\"https://x.example/\" text=\"" + name + "\" />"});
    Form2 f(game.path());
    f.Form_Load();
    QTreeWidgetItem* folder = f.TreeView1->topLevelItem(0);
    ASSERT_NE(folder, nullptr);
    for (QTreeWidgetItem* item : {folder, folder->child(0)}) {
        EXPECT_EQ(item->text(0).size(), kShownLabel + 1);
        EXPECT_TRUE(item->text(0).startsWith("Aaaa"));
        EXPECT_TRUE(item->text(0).endsWith(QChar(0x2026)));
    }
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    QTest::mouseClick(f.TreeView1->viewport(), Qt::LeftButton, {}, f.TreeView1->visualItemRect(folder->child(0)).center());
    EXPECT_THAT(fake.shellOpens, ElementsAre("https://x.example/"));
}

namespace {
// A settings store that fails as a read-only Korvex.ini, a folder in its place or a full disk.
class FailingSettings : public FakePlatform {
public:
    int readError = 0, saveError = 0;
    std::string getSetting(const std::string& app, const std::string& section, const std::string& key) override {
        if (readError) throw RunError(readError);
        return FakePlatform::getSetting(app, section, key);
    }
    void saveSetting(const std::string& app, const std::string& section, const std::string& key,
                     const std::string& value) override {
        if (saveError) throw RunError(saveError);
        FakePlatform::saveSetting(app, section, key, value);
    }
};
} // namespace

// Keeping the first-start flag is a side effect: a store that fails is reported on the
// program's error path, once, and the library opens with its note and its tree.
TEST(WebshelfSettings, AFailingStoreIsReportedAndTheLibraryOpens) {
    struct Case {
        int readError, saveError;
        std::string text;
    };
    const std::vector<Case> cases = {
        {0, 70, "Permission denied: Korvex.ini, [settings] webshelffirststart, 70"},
        {0, 75, "Path/File access error: Korvex.ini, [settings] webshelffirststart, 75"},
        {0, 61, "Disk full: Korvex.ini, [settings] webshelffirststart, 61"},
        {75, 0, "Path/File access error: Korvex.ini, [settings] webshelffirststart, 75"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        kx::test::GameDir game;
        game.writeLines("korvex.wfd/config/webshelf.xml", Fixture);
        FailingSettings fake;
        fake.readError = c.readError;
        fake.saveError = c.saveError;
        Form2 f(game.path());
        ASSERT_NO_THROW(f.Form_Load());
        ASSERT_EQ(fake.boxes.size(), 1u);
        EXPECT_THAT(fake.boxes[0].text, ::testing::EndsWith(c.text));
        EXPECT_EQ(fake.boxes[0].title, "error.");
        EXPECT_FALSE(f.Picture1->isHidden());
        EXPECT_EQ(f.TreeView1->topLevelItemCount(), 3);
        EXPECT_EQ(fake.endCode, -1);
    }
}

// The same with this machine's store: a folder where Korvex.ini belongs.
TEST(WebshelfSettings, AFolderInPlaceOfTheRealSettingsFile) {
    kx::test::GameDir game;
    game.writeLines("korvex.wfd/config/webshelf.xml", Fixture);
    const std::string config = game.file("user config");
    makeDir(config);
    makeDir(config + "/Korvex");
    makeDir(config + "/Korvex/Korvex.ini");
    const kx::test::ScopedEnv env({{"XDG_CONFIG_HOME", QString::fromStdString(config)}});

    // Boxes from the fake, settings from the real store.
    class RealSettings : public FakePlatform {
    public:
        std::unique_ptr<Platform> real = makeRealPlatform();
        std::string getSetting(const std::string& a, const std::string& s, const std::string& k) override {
            return real->getSetting(a, s, k);
        }
        void saveSetting(const std::string& a, const std::string& s, const std::string& k,
                         const std::string& v) override {
            real->saveSetting(a, s, k, v);
        }
    } fake;
    Form2 f(game.path());
    ASSERT_NO_THROW(f.Form_Load());
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_THAT(fake.boxes[0].text, ::testing::HasSubstr("Korvex.ini, [settings] webshelffirststart, 75"));
    EXPECT_FALSE(f.Picture1->isHidden());
    EXPECT_EQ(f.TreeView1->topLevelItemCount(), 3);
}

TEST_F(WebshelfForm, AMissingFileGivesAnEmptyTreeAndABox) {
    removeFile(game.file("korvex.wfd/config/webshelf.xml"));
    auto f = load(game.path());
    EXPECT_EQ(f->TreeView1->topLevelItemCount(), 0);
    EXPECT_EQ(f->RefHTTPList->count(), 0);
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_THAT(fake.boxes[0].text, ::testing::HasSubstr("File not found: " + game.path() +
                                                         "/korvex.wfd/config/webshelf.xml, 53"));
    EXPECT_EQ(fake.boxes[0].title, "error.");
}

TEST_F(WebshelfForm, AnEmptyCommandLineShowsTheCriticalBoxAndEnds) {
    EXPECT_THROW(load(""), ProgramEnded);
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].text, "The Execution of the module failed.\rPlease reinstall Korvex.");
    EXPECT_EQ(fake.boxes[0].style, 16);
    EXPECT_EQ(fake.boxes[0].title, "Critical Error.");
}

// The right edge at a quarter of the screen's width, unless that would put the window's left
// part outside the screen.
TEST_F(WebshelfForm, PlacedCentredFromTopToBottomAndInsideTheScreen) {
    auto f = load(game.path());
    const QRect s = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(f->y(), (s.height() - f->height()) / 2);
    EXPECT_EQ(f->x(), std::max(0, s.width() / 4 - f->width()));
    EXPECT_GE(f->x(), 0);
}
