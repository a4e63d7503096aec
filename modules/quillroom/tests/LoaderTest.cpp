// The loader: placeholder codes of the template loads, colours, failures, and the path the
// editor records.
#include "EditorFixture.h"
#include "frmScripts.h"

#include "core/Text.h"

#include <QComboBox>
#include <QTextCursor>
#include <QTextDocument>
#include "ScriptEdit.h"

namespace kx::quillroom {
namespace {

TEST(Placeholders, CodesAtColumn15) {
    const Placeholders codes{"Korvex3 Joiner Server List", "Bob", "08:55 / 09.12.2026"};
    struct Case {
        std::string line;
        std::vector<std::string> out; // in a template; an opened file keeps a line with another code
        bool otherCode = false;
    };
    const std::string head = "; Author    : "; // 14 characters
    const std::vector<Case> cases{
        {head + "%1", {head + "Korvex3 Joiner Server List"}},
        {head + "%2 and more text", {head + "Bob"}},
        {head + "%3", {head + "08:55 / 09.12.2026"}},
        {head + "%4", {}, true},
        {head + "%x%1", {}, true},
        {head + "%", {}, true},                             // a "%" followed by nothing
        {"; Author    :%1", {"; Author    :%1"}},          // "%" in column 14
        {"; Author    :  %1", {"; Author    :  %1"}},      // "%" in column 16
        {"short %1", {"short %1"}},
        {"", {""}},
        {"12345678901234%1\xE9", {"12345678901234Korvex3 Joiner Server List"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(fillPlaceholders({c.line}, codes), c.out);
        EXPECT_EQ(fillPlaceholders({c.line}, codes, OtherCodes::Drop), c.out);
        const std::vector<std::string> opened = c.otherCode ? std::vector<std::string>{c.line} : c.out;
        EXPECT_EQ(fillPlaceholders({c.line}, codes, OtherCodes::Keep), opened);
    }
}

using Loader = EditorTest;

QColor colourAt(QPlainTextEdit* edit, int position) {
    QTextCursor c(edit->document());
    c.setPosition(position + 1);
    return c.charFormat().foreground().color();
}

TEST_F(Loader, NewScriptFillsCodesInEveryTemplatePartAndColoursTheHeaderGreen) {
    g.writeLines("korvex.wfd/config/korvex.cfg", {"playername=Bob"});
    writeTemplates(4, {"; Type      : %1", "; Author    : %2", "; Created   : %3"}, {"; header", "; gone      : %9"},
                   {"Server %2     %1", "Named       : %2", "#10.0.0.1:24711"});
    frmMain& w = editor();
    ASSERT_TRUE(w.NewScriptFromTemplate(4));
    const std::string when = timeAndDateText(fake.clock);
    const std::string header = "; Type      : Korvex3 Joiner Server List\r\n; Author    : Bob\r\n; Created   : " +
                               when + "\r\n; header\r\n";
    EXPECT_EQ(editorBytes(), header + "Server %2     Korvex3 Joiner Server List\r\nNamed       : Bob\r\n#10.0.0.1:24711\r\n");
    EXPECT_EQ(w.currentKind(), 4);
    EXPECT_TRUE(w.isNewScript());
    EXPECT_EQ(w.scriptPath(), "/korvex.wfd/templates/scripts/template servers.stl");
    EXPECT_FALSE(w.ScriptText->isHidden());
    EXPECT_EQ(fromUi(w.windowTitle()), "Korvex3.1 Script Administration Utillity - scripting.");

    // The header in green up to the header length, the body black, the caret at 0 typing black.
    const int headerChars = static_cast<int>(toUi(header).remove('\r').size());
    EXPECT_EQ(w.headerLength(), headerChars);
    EXPECT_EQ(colourAt(w.ScriptText, 0), QColor(0, 128, 0));
    EXPECT_EQ(colourAt(w.ScriptText, headerChars - 2), QColor(0, 128, 0));
    EXPECT_EQ(colourAt(w.ScriptText, headerChars), QColor(0, 0, 0));
    EXPECT_EQ(colourAt(w.ScriptText, w.ScriptText->document()->characterCount() - 3), QColor(0, 0, 0));
    EXPECT_EQ(w.ScriptText->textCursor().position(), 0);
    EXPECT_EQ(w.ScriptText->currentCharFormat().foreground().color(), QColor(0, 0, 0));
    // Undo cannot take the new script or its colours away.
    EXPECT_FALSE(w.ScriptText->document()->isUndoAvailable());
}

TEST_F(Loader, EmptyHeadersGiveAnAllBlackScript) {
    writeTemplates(0, {}, {}, {"execmodule=webshelf"});
    frmMain& w = editor();
    ASSERT_TRUE(w.NewScriptFromTemplate(0));
    EXPECT_EQ(w.headerLength(), 0);
    EXPECT_EQ(colourAt(w.ScriptText, 0), QColor(0, 0, 0));
    EXPECT_EQ(editorBytes(), "execmodule=webshelf\r\n");
}

TEST_F(Loader, KindOutsideTheTableKeepsTheCurrentKind) {
    frmMain& w = editor();
    EXPECT_FALSE(w.NewScriptFromTemplate(8)); // no kind chosen yet: nothing to load
    EXPECT_EQ(w.currentKind(), -1);
    EXPECT_TRUE(w.ScriptText->isHidden());
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].title, "error.");
    ASSERT_TRUE(w.NewScriptFromTemplate(2));
    ASSERT_TRUE(w.NewScriptFromTemplate(-1));
    EXPECT_EQ(w.currentKind(), 2);
    EXPECT_EQ(w.scriptPath(), "/korvex.wfd/templates/scripts/template information_sites.stl");
}

TEST_F(Loader, ChooserOkMakesTheScriptAndTurnsToEditing) {
    frmMain& w = editor();
    w.mnuCreateNew->trigger();
    ASSERT_TRUE(w.scripts()->isVisible());
    w.scripts()->Combo1->setCurrentIndex(7);
    w.scripts()->Command1_Click();
    EXPECT_FALSE(w.scripts()->isVisible());
    EXPECT_EQ(w.currentKind(), 7);
    EXPECT_TRUE(w.mnuFileSaveCurrent->isEnabled());
    EXPECT_FALSE(w.mnuCreateNew->isEnabled());
    EXPECT_NE(editorBytes().find("appfile="), std::string::npos);
    // The selection stays for the next use.
    EXPECT_EQ(w.scripts()->Combo1->currentIndex(), 7);
}

TEST_F(Loader, ChooserLeftOpenDoesNotReplaceAScriptOpenedMeanwhile) {
    g.write("korvex.wfd/config/autoexec.ini", "execmodule=docklet\r\n");
    frmMain& w = editor();
    w.mnuCreateNew->trigger();
    w.mnuFileLoadAutoexec->trigger();
    EXPECT_FALSE(w.scripts()->isVisible());
    EXPECT_EQ(editorBytes(), "execmodule=docklet\r\n");
}

TEST_F(Loader, TemplateThatFailsPartWayLeavesTheEditorIdle) {
    std::filesystem::remove(g.file("korvex.wfd/templates/scripts/template servers.stl"));
    frmMain& w = editor();
    w.mnuCreateNew->trigger();
    w.scripts()->Combo1->setCurrentIndex(4);
    w.scripts()->Command1_Click();
    EXPECT_EQ(boxTexts(), std::vector<std::string>{errorBox("File not found", 53)});
    EXPECT_TRUE(w.ScriptText->isHidden());
    EXPECT_EQ(w.ScriptText->toPlainText(), "");
    EXPECT_FALSE(w.scriptPath().has_value());
    EXPECT_EQ(w.currentKind(), -1);
    EXPECT_TRUE(w.mnuFileLoad->menuAction()->isEnabled());
    EXPECT_FALSE(w.mnuFileSaveCurrent->isEnabled());
    EXPECT_EQ(fromUi(w.windowTitle()), "Korvex3.1 Script Administration Utillity");
}

TEST_F(Loader, FilesThatCannotBeOpenedShowShowErrorAndRecordNothing) {
    g.writeLines("korvex.wfd/config/korvex.cfg", {"usedskinis=../config"});
    std::filesystem::create_directories(g.file("korvex.wfd/config/orn_functions.ini"));
    g.write("korvex.wfd/config/skininfo.ini", "outside the skins folder\r\n");
    frmMain& w = editor();
    w.mnuFileLoadAutoexec->trigger();                // missing
    w.mnuFileLoadFunctions->trigger();               // a folder
    w.mnuFileLoadCurrentSkinInformation->trigger();  // a skin name that leaves the skins folder
    EXPECT_EQ(boxTexts(), (std::vector<std::string>{errorBox("File not found", 53),
                                                    errorBox("Path/File access error", 75),
                                                    errorBox("Bad file name or number", 52)}));
    EXPECT_TRUE(w.ScriptText->isHidden());
    EXPECT_FALSE(w.scriptPath().has_value());
    EXPECT_FALSE(w.mnuFileSaveCurrent->isEnabled());
}

// Every load fills the three codes; a line with another code stays whole in an opened file,
// since leaving it out would lose it at the next save. The file changes only when saved.
TEST_F(Loader, AnOpenedFileGetsItsCodesFilledAndKeepsLinesWithOtherCodes) {
    const std::string file = "12345678901234%3\r\n12345678901234%1 tail\r\n; Player    : %2\r\n"
                             "12345678901234%x keep me\r\n12345678901234%\r\n";
    g.write("korvex.wfd/config/servers.ini", file);
    g.writeLines("korvex.wfd/config/korvex.cfg", {"playername=Bob"});
    frmMain& w = editor();
    // Before the first choice in the chooser "%1" inserts nothing.
    w.mnuFileLoadServerList->trigger();
    const std::string when = timeAndDateText(fake.clock);
    EXPECT_EQ(editorBytes(), "12345678901234" + when + "\r\n12345678901234\r\n; Player    : Bob\r\n"
                             "12345678901234%x keep me\r\n12345678901234%\r\n");
    EXPECT_EQ(g.read("korvex.wfd/config/servers.ini"), file);

    fake.boxAnswers = {box::Yes};
    w.mnuFileCloseCurrent_Click();
    ASSERT_TRUE(w.NewScriptFromTemplate(4));
    fake.boxAnswers = {box::Yes};
    w.mnuFileCloseCurrent_Click();
    w.mnuFileLoadServerList->trigger();
    EXPECT_EQ(editorBytes(), "12345678901234" + when + "\r\n12345678901234Korvex3 Joiner Server List\r\n"
                             "; Player    : Bob\r\n12345678901234%x keep me\r\n12345678901234%\r\n");
    EXPECT_FALSE(w.ScriptText->document()->isUndoAvailable());
    EXPECT_FALSE(w.isNewScript());
    EXPECT_EQ(w.currentKind(), 4);

    fake.boxAnswers = {box::Yes};
    w.mnuFileSaveCurrent->trigger();
    EXPECT_EQ(g.read("korvex.wfd/config/servers.ini"), editorBytes());
}

// The "%3" code keeps the regional order and separators with Latin digits: a regional format
// with digits of its own never puts a row of "?" into a script.
TEST(Placeholders, TimeAndDateHaveLatinDigitsInEveryLocale) {
    const QDateTime when(QDate(2026, 12, 10), QTime(13, 30, 38));
    const struct {
        const char* locale;
        const char* text;
    } cases[] = {{"en_US", "1:30 PM / 12/10/26"}, {"de_DE", "13:30 / 10.12.26"}, {"fa_IR", "13:30 / 2026/12/10"},
                 {"ar_EG", "1:30 PM / 10/12/2026"}, {"bn_BD", "1:30 PM / 10/12/26"}};
    for (const auto& c : cases) EXPECT_EQ(timeAndDateText(when, QLocale(QString::fromLatin1(c.locale))), c.text) << c.locale;
}

TEST(ScriptPaths, FindScriptPath) {
    struct Case {
        std::string dir, full;
        std::optional<std::string> recorded;
    };
    const std::vector<Case> cases{
        {"/games/qf", "/games/qf/korvex.wfd/config/autoexec.ini", "/korvex.wfd/config/autoexec.ini"},
        {"/games/qf/", "/games/qf/korvex.wfd/config/autoexec.ini", "/korvex.wfd/config/autoexec.ini"},
        // The base directory counts first, whatever it or the file's folders are called.
        {"/a/korvex.wfd/qf", "/a/korvex.wfd/qf/Korvex.wfd/skins/korvex.wfd/skininfo.ini",
         "/Korvex.wfd/skins/korvex.wfd/skininfo.ini"},
        // Elsewhere the last whole segment, with either separator.
        {"/other", "C:\\Games\\korvex.wfd\\config\\servers.ini", "\\korvex.wfd\\config\\servers.ini"},
        {"/other", "/x/korvex.wfd/y/korvex.wfd/z.ini", "/korvex.wfd/z.ini"},
        {"/other", "/x/korvex.wfdx/z.ini", std::nullopt},
        {"/other", "/x/Korvex.wfd/z.ini", std::nullopt},
        {"/other", "/x/korvex.wfd", std::nullopt},
        {"/games/qf", "/games/qfx/korvex.wfd/a.ini", "/korvex.wfd/a.ini"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.full);
        EXPECT_EQ(FindScriptPath(c.dir, c.full), c.recorded);
    }
}

} // namespace
} // namespace kx::quillroom
