// The link library: its reader, its tree and what a click opens.
#include "Form2.h"
#include "Webshelf.h"

#include "core/Files.h"
#include "core/RunError.h"
#include "core/Text.h"
#include "platform/FakePlatform.h"
#include "shared/testing/GameDir.h"

#include <QGuiApplication>
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

TEST(ParseWebshelf, TheShippedFileGivesItsFoldersAndExistingLocalPages) {
    kx::test::GameDir game;
    for (const char* f : {"helpfiles/help.htm", "config/korvex_readme.txt", "config/korvex_history.txt"})
        game.write(std::string("korvex.wfd/") + f, "x");
    const auto folders =
        parseWebshelf(readLines(kx::test::sourceDir() + "/korvex.wfd/config/webshelf.xml"), game.path());
    std::vector<std::string> names;
    for (const auto& f : folders) names.push_back(f.name);
    EXPECT_THAT(names, ElementsAre("Korvex Help", "C++ & Qt Reference", "Linux How-To"));
    ASSERT_EQ(folders[0].links.size(), 3u);
    for (const auto& l : folders[0].links) EXPECT_TRUE(fileExists(l.target)) << l.target;
    for (size_t i = 1; i < folders.size(); ++i)
        for (const auto& l : folders[i].links) EXPECT_EQ(l.target.rfind("https://", 0), 0u) << l.target;
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

TEST_F(WebshelfForm, DoubleClickOnTheTitleRollsTheWindowUpAndDown) {
    auto f = load(game.path());
    f->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(f.get()));
    const int full = f->height();
    QTest::mouseDClick(f->Label1, Qt::LeftButton);
    EXPECT_TRUE(f->rolledUp());
    EXPECT_EQ(f->height(), 600 / 15) << "only the title label stays visible";
    EXPECT_TRUE(f->Label1->geometry().bottom() < f->height());
    QTest::mouseDClick(f->Label1, Qt::LeftButton);
    EXPECT_FALSE(f->rolledUp());
    EXPECT_EQ(f->height(), full);
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
