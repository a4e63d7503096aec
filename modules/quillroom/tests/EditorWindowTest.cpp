// The main window: start-up, the file menus, the menu states, closing and quitting.
#include "EditorFixture.h"
#include "frmAbout.h"
#include "frmScripts.h"

#include "core/Text.h"
#include "shared/Ui.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPixmap>
#include <QPushButton>
#include <QTest>
#include "ScriptEdit.h"

namespace kx::quillroom {
namespace {

std::vector<std::string> captions(const std::vector<QAction*>& items) {
    std::vector<std::string> out;
    for (auto* a : items) out.push_back(fromUi(a->text()));
    return out;
}

using EditorWindow = EditorTest;

TEST_F(EditorWindow, StartsIdleWithEmptyFileMenusAndNoConfiguration) {
    // No korvex.cfg and no plug-in or server-set file: the editor still opens, quietly.
    frmMain& w = editor();
    EXPECT_EQ(fromUi(w.windowTitle()), "Korvex3.1 Script Administration Utillity");
    EXPECT_TRUE(w.ScriptText->isHidden());
    EXPECT_EQ(w.ScriptText->font().pointSize(), 10);
    EXPECT_TRUE(fake.boxes.empty());
    EXPECT_EQ(captions(w.mnuToolsPlugIn), std::vector<std::string>{"no PlugIn available"});
    EXPECT_FALSE(w.mnuToolsPlugIn[0]->isEnabled());
    EXPECT_EQ(captions(w.mnuFileLoadServerSetFile), std::vector<std::string>{"no serverset available"});
    EXPECT_FALSE(w.mnuFileLoadServerSetFile[0]->isEnabled());
    EXPECT_EQ(fromUi(w.mnuFileLoadCurrentSkin->title()), "Current Skin ''");
    EXPECT_EQ(w.playerName(), "");
    // The chooser holds the eight kinds, the first selected.
    ASSERT_NE(w.scripts(), nullptr);
    ASSERT_EQ(w.scripts()->Combo1->count(), 8);
    EXPECT_EQ(w.scripts()->Combo1->currentIndex(), 0);
    EXPECT_EQ(w.scripts()->Combo1->itemText(7), "PlugIn File");
    EXPECT_EQ(w.scripts()->windowTitle(), "Choose Script Template...");
}

TEST_F(EditorWindow, MenusListTheFilesAndOpenTheFileEachItemWasMadeFrom) {
    g.write("korvex.wfd/plugins/beta.spi", "beta\r\n");
    g.write("korvex.wfd/plugins/alpha.spi", "alpha\r\n");
    g.write("korvex.wfd/plugins/my.tool.spi", "the tool\r\n");
    g.write("korvex.wfd/plugins/my.spi", "another file\r\n");
    g.write("korvex.wfd/plugins/notes.txt", "not listed\r\n");
    g.write("korvex.wfd/plugins/r&b.spi", "r&b\r\n");
    g.write("korvex.wfd/config/serversets/cup.final.ini", "sv_name=Cup\r\n");
    // Every path is built from the base directory, wherever the current directory is.
    fake.current = "/";
    g.writeLines("korvex.wfd/config/korvex.cfg",
                 {"playername=Bob", "usedskinis=light", "Usedskinis=wrong case", "usedskinis=dark & light"});
    frmMain& w = editor();
    EXPECT_EQ(captions(w.mnuToolsPlugIn), (std::vector<std::string>{"alpha", "beta", "my", "my", "r&&b"}));
    for (auto* a : w.mnuToolsPlugIn) EXPECT_TRUE(a->isEnabled());
    EXPECT_EQ(captions(w.mnuFileLoadServerSetFile), std::vector<std::string>{"cup"});
    EXPECT_EQ(fromUi(w.mnuFileLoadCurrentSkin->title()), "Current Skin 'dark && light'");
    EXPECT_EQ(w.playerName(), "Bob");

    const int tool = fromUi(w.mnuToolsPlugIn[2]->data().toString()) == "my.tool.spi" ? 2 : 3;
    w.mnuToolsPlugIn[tool]->trigger();
    EXPECT_EQ(editorBytes(), "the tool\r\n");
    EXPECT_EQ(w.scriptPath(), "/korvex.wfd/plugins/my.tool.spi");
    EXPECT_EQ(fromUi(w.windowTitle()), "Korvex3.1 Script Administration Utillity - scripting.");
    EXPECT_FALSE(w.ScriptText->isHidden());

    w.mnuFileCloseCurrent_Click(); // unscripted: No
    fake.boxAnswers = {box::Yes};
    w.mnuFileCloseCurrent_Click();
    w.mnuFileLoadServerSetFile[0]->trigger();
    EXPECT_EQ(editorBytes(), "sv_name=Cup\r\n");
    EXPECT_EQ(w.scriptPath(), "/korvex.wfd/config/serversets/cup.final.ini");
}

// What the menus list opens: a name found on disk is used as it is unless it holds a path, by the
// rules the launcher, the tray module and the skin chooser use; "a\\b" would name a sub-folder.
TEST_F(EditorWindow, EveryListedNameOpensAndNamesWithAPathAreNotListed) {
    for (const std::string name : {"Tool: Map", "what?", "t\tab", "\"q\"", "a\\b"}) {
        g.write("korvex.wfd/plugins/" + name + ".spi", "plug-in " + name + "\r\n");
        g.write("korvex.wfd/config/serversets/" + name + ".ini", "sv_name=" + name + "\r\n");
    }
    g.writeLines("korvex.wfd/config/korvex.cfg", {"usedskinis=colon:name"});
    g.write("korvex.wfd/skins/colon:name/skininfo.ini", "the skin\r\n");
    frmMain& w = editor();
    const std::vector<std::string> listed = {"\"q\"", "t ab", "Tool: Map", "what?"};
    EXPECT_EQ(captions(w.mnuToolsPlugIn), listed);
    EXPECT_EQ(captions(w.mnuFileLoadServerSetFile), listed);
    const auto openEach = [&](const std::vector<QAction*>& items, const std::string& before) {
        for (QAction* a : items) {
            const std::string file = a->data().toByteArray().toStdString();
            SCOPED_TRACE(file);
            a->trigger();
            EXPECT_TRUE(fake.boxes.empty()) << fake.boxes.front().text;
            EXPECT_EQ(editorBytes(), before + file.substr(0, file.size() - 4) + "\r\n");
            fake.boxAnswers = {box::Yes};
            w.mnuFileCloseCurrent_Click();
            fake.boxes.clear();
        }
    };
    openEach(w.mnuToolsPlugIn, "plug-in ");
    openEach(w.mnuFileLoadServerSetFile, "sv_name=");
    w.mnuFileLoadCurrentSkinInformation->trigger();
    EXPECT_TRUE(fake.boxes.empty());
    EXPECT_EQ(editorBytes(), "the skin\r\n");
}

TEST_F(EditorWindow, MenuStatesFollowTheEditState) {
    frmMain& w = editor();
    struct Row {
        int state;
        bool load, create, quit, save, close;
    };
    for (const Row& r : {Row{0, false, false, false, true, true}, Row{1, true, true, true, false, false}}) {
        w.SetEditState(r.state);
        w.SetEditState(2); // changes nothing
        w.SetEditState(-1);
        SCOPED_TRACE(r.state);
        EXPECT_EQ(w.mnuFileLoad->menuAction()->isEnabled(), r.load);
        EXPECT_EQ(w.mnuCreateNew->isEnabled(), r.create);
        EXPECT_EQ(w.mnuFileQuit->isEnabled(), r.quit);
        EXPECT_EQ(w.mnuFileSaveCurrent->isEnabled(), r.save);
        EXPECT_EQ(w.mnuFileCloseCurrent->isEnabled(), r.close);
    }
}

TEST_F(EditorWindow, CloseAsksEveryTimeAndNoKeepsTheScript) {
    g.write("korvex.wfd/config/autoexec.ini", "execmodule=webshelf\r\n");
    frmMain& w = editor();
    w.mnuFileLoadAutoexec->trigger();
    ASSERT_TRUE(w.mnuFileSaveCurrent->isEnabled());

    fake.boxAnswers = {box::No};
    w.mnuFileCloseCurrent->trigger();
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].text,
              "Don't forget to save your changes...\r\nAre you sure that you want to close this script?");
    EXPECT_EQ(fake.boxes[0].style, 36);
    EXPECT_EQ(fake.boxes[0].title, "Question.");
    EXPECT_EQ(editorBytes(), "execmodule=webshelf\r\n");
    EXPECT_TRUE(w.mnuFileSaveCurrent->isEnabled());
    EXPECT_EQ(fromUi(w.windowTitle()), "Korvex3.1 Script Administration Utillity - scripting.");

    fake.boxAnswers = {box::Yes};
    w.mnuFileCloseCurrent->trigger();
    EXPECT_TRUE(w.ScriptText->isHidden());
    EXPECT_EQ(w.ScriptText->toPlainText(), "");
    EXPECT_FALSE(w.mnuFileSaveCurrent->isEnabled());
    EXPECT_TRUE(w.mnuFileLoad->menuAction()->isEnabled());
    EXPECT_EQ(fromUi(w.windowTitle()), "Korvex3.1 Script Administration Utillity");
}

TEST_F(EditorWindow, ClosingTheWindowWithAScriptOpenAsksNothing) {
    g.write("korvex.wfd/config/servers.ini", "My Server\r\n#10.0.0.1:24711\r\n");
    frmMain& w = editor();
    w.show();
    w.mnuFileLoadServerList->trigger();
    EXPECT_FALSE(w.mnuFileQuit->isEnabled());
    EXPECT_TRUE(w.close());
    EXPECT_TRUE(fake.boxes.empty());
    EXPECT_TRUE(w.isHidden());
    EXPECT_EQ(g.read("korvex.wfd/config/servers.ini"), "My Server\r\n#10.0.0.1:24711\r\n");

    // "Quit" (enabled when idle) closes the window too.
    frmMain& again = editor();
    again.show();
    again.mnuFileQuit->trigger();
    EXPECT_TRUE(again.isHidden());
}

TEST_F(EditorWindow, HelpOpensThePageBelowTheGameDirectoryAndAboutCloses) {
    frmMain& w = editor();
    w.mnuHelpScripting->trigger();
    ASSERT_EQ(fake.shellOpens.size(), 1u);
    EXPECT_EQ(fake.shellOpens[0], "file://" + g.path() + "/korvex.wfd/helpfiles/scriptingqfs/script_index.htm");
    EXPECT_TRUE(std::filesystem::exists(test::sourceDir() + "/korvex.wfd/helpfiles/scriptingqfs/script_index.htm"));

    w.mnuHelpAbout->trigger();
    ASSERT_NE(w.about(), nullptr);
    EXPECT_EQ(w.about()->windowTitle(), "about...");
    EXPECT_EQ(w.about()->Label1->text(), "Korvex DudoziRezud");
    EXPECT_EQ(w.about()->Command1->text(), "&Ok");
    EXPECT_TRUE(w.about()->isVisible());
    w.about()->Command1->click();
    EXPECT_FALSE(w.about()->isVisible());
}

TEST_F(EditorWindow, AboutBoxShowsTheSuiteIconAndEscapeClosesIt) {
    frmMain& w = editor();
    w.mnuHelpAbout->trigger();
    ASSERT_NE(w.about(), nullptr);
    const QImage shown = w.about()->Picture1->pixmap().toImage();
    ASSERT_FALSE(shown.isNull());
    EXPECT_EQ(shown, suiteIcon().pixmap(48, 48).toImage());
    QTest::keyClick(w.about(), Qt::Key_Escape);
    EXPECT_FALSE(w.about()->isVisible());
}

// The chooser from the keyboard: the list has the focus each time it opens, the arrow keys
// choose, Return is "OK" and Escape "Cancel".
TEST_F(EditorWindow, TemplateChooserWorksFromTheKeyboard) {
    frmMain& w = editor();
    w.show();
    w.mnuCreateNew->trigger();
    frmScripts* c = w.scripts();
    ASSERT_EQ(c->focusWidget(), c->Combo1);
    for (int i = 0; i < 4; ++i) QTest::keyClick(c->focusWidget(), Qt::Key_Down);
    QTest::keyClick(c->focusWidget(), Qt::Key_Return);
    EXPECT_FALSE(c->isVisible());
    EXPECT_EQ(w.currentKind(), 4);
    EXPECT_TRUE(w.mnuFileSaveCurrent->isEnabled());

    // Chosen again with the mouse, "OK" takes the focus; the next time the list has it again.
    fake.boxAnswers = {box::Yes};
    w.mnuFileCloseCurrent->trigger();
    w.mnuCreateNew->trigger();
    QTest::mouseClick(c->Command1, Qt::LeftButton);
    EXPECT_EQ(w.currentKind(), 4);
    fake.boxAnswers = {box::Yes};
    w.mnuFileCloseCurrent->trigger();
    w.mnuCreateNew->trigger();
    ASSERT_EQ(c->focusWidget(), c->Combo1);
    QTest::keyClick(c->focusWidget(), Qt::Key_Down);
    EXPECT_EQ(c->Combo1->currentIndex(), 5);
    QTest::keyClick(c->focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(c->isVisible());
    EXPECT_EQ(w.currentKind(), 4);
    EXPECT_TRUE(w.ScriptText->isHidden());
}

TEST_F(EditorWindow, ArrangeEditorSkipsSizesThatWouldBeNegative) {
    frmMain& w = editor();
    w.resize(600, 400);
    w.ArrangeEditor();
    EXPECT_EQ(w.ScriptText->width(), w.frameGeometry().width() - 6);
    const int height = w.ScriptText->height();
    w.resize(20, 30); // narrower than the margin of 760 twips
    w.ArrangeEditor();
    EXPECT_EQ(w.ScriptText->height(), height);
}

} // namespace
} // namespace kx::quillroom
