// Saving: over an opened file after the question, and new scripts through "Choose destination".
#include "EditorFixture.h"
#include "frmSaveTo.h"

#include "core/Files.h"
#include "core/Text.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include "ScriptEdit.h"

#include <filesystem>

namespace kx::quillroom {
namespace {

using Saving = EditorTest;

const std::string Saved = "File has been saved.";

std::string overwriteQuestion(const std::string& rel) {
    return "This will save your Script and overwrite\r\nthe allready existing one.\r\n\r\nOk, to save to " + rel + "?";
}

TEST_F(Saving, OpenedFileGoesBackByteForByte) {
    // No-break space, e acute (also as a UTF-8 pair), the unassigned 0x81, a line with a code
    // in column 15 that no load fills, an empty line, control characters.
    std::string bytes = "name=a\xA0" "b\xE9\r\n12345678901234%x keep\r\n\xC3\xA9 \x81\x80\x9F\r\n\r\n;<EOF>\t\x0C\r\n";
    bytes += std::string("nul\0byte\r\n", 10);
    g.write("korvex.wfd/config/information_sites.ini", bytes);
    frmMain& w = editor();
    w.mnuFileLoadBrowseThis->trigger();
    EXPECT_EQ(w.ScriptText->document()->toRawText().left(8), QString::fromUtf8("name=a\u00A0b"));
    fake.boxAnswers = {box::Yes};
    w.mnuFileSaveCurrent->trigger();
    EXPECT_EQ(boxTexts(), (std::vector<std::string>{overwriteQuestion("/korvex.wfd/config/information_sites.ini"), Saved}));
    EXPECT_EQ(fake.boxes[0].style, 36);
    EXPECT_EQ(fake.boxes[0].title, "Confirm Save.");
    EXPECT_EQ(fake.boxes[1].style, 64);
    EXPECT_EQ(fake.boxes[1].title, "Information.");
    EXPECT_EQ(g.read("korvex.wfd/config/information_sites.ini"), bytes);
}

// A script whose bytes happen to be valid UTF-8 is still the game's Windows-1252 text: shown
// and saved as such, so "\xC3\xA9" stays two bytes.
TEST_F(Saving, ScriptThatLooksLikeUtf8GoesBackByteForByte) {
    const std::string bytes = "execmodule=Jos\xC3\xA9\r\n";
    g.write("korvex.wfd/config/autoexec.ini", bytes);
    frmMain& w = editor();
    w.mnuFileLoadAutoexec->trigger();
    EXPECT_EQ(w.ScriptText->document()->toRawText().left(16), QString::fromUtf8("execmodule=Jos\u00C3\u00A9"));
    fake.boxAnswers = {box::Yes};
    w.mnuFileSaveCurrent->trigger();
    EXPECT_EQ(boxTexts().back(), Saved);
    EXPECT_EQ(g.read("korvex.wfd/config/autoexec.ini"), bytes);
}

TEST_F(Saving, OverwriteWithYesWritesTheEditedTextAndNoWritesNothing) {
    g.write("korvex.wfd/config/AutoExec.ini", "execmodule=webshelf\r\n");
    frmMain& w = editor();
    w.mnuFileLoadAutoexec->trigger();
    type("execmodule=tidyup");
    w.mnuFileSaveCurrent->trigger(); // unscripted: No
    EXPECT_EQ(boxTexts(), (std::vector<std::string>{overwriteQuestion("/korvex.wfd/config/AutoExec.ini"), "Save aborted."}));
    EXPECT_EQ(g.read("korvex.wfd/config/AutoExec.ini"), "execmodule=webshelf\r\n");

    fake.boxes.clear();
    fake.boxAnswers = {box::Yes};
    w.mnuFileSaveCurrent->trigger();
    EXPECT_EQ(boxTexts().back(), Saved);
    EXPECT_EQ(g.read("korvex.wfd/config/AutoExec.ini"), "execmodule=webshelf\r\nexecmodule=tidyup\r\n");
    // Saving changes neither the state nor the title.
    EXPECT_TRUE(w.mnuFileSaveCurrent->isEnabled());
    EXPECT_EQ(fromUi(w.windowTitle()), "Korvex3.1 Script Administration Utillity - scripting.");
}

TEST_F(Saving, FailedOverwriteIsReportedAndNotCalledSaved) {
    g.write("korvex.wfd/config/servers.ini", "My Server\r\n#10.0.0.1:24711\r\n");
    frmMain& w = editor();
    w.mnuFileLoadServerList->trigger();
    // The file went away and a folder took its place.
    std::filesystem::remove(g.file("korvex.wfd/config/servers.ini"));
    std::filesystem::create_directories(g.file("korvex.wfd/config/servers.ini/x"));
    fake.boxAnswers = {box::Yes};
    w.mnuFileSaveCurrent->trigger();
    ASSERT_EQ(fake.boxes.size(), 2u);
    EXPECT_EQ(fake.boxes[1].title, "error.");
    EXPECT_EQ(fake.boxes[1].style, 48);
    EXPECT_TRUE(std::filesystem::is_directory(g.file("korvex.wfd/config/servers.ini")));
    EXPECT_EQ(w.ScriptText->isHidden(), false);
}

TEST_F(Saving, AServerSetWhoseNameHoldsStlIsSavedOverNotAsANewScript) {
    g.write("korvex.wfd/config/serversets/cup.stl.ini", "sv_name=Cup\r\n");
    frmMain& w = editor();
    w.mnuFileLoadServerSetFile[0]->trigger();
    fake.boxAnswers = {box::Yes};
    w.mnuFileSaveCurrent->trigger();
    EXPECT_EQ(w.saveTo(), nullptr);
    EXPECT_EQ(boxTexts(), (std::vector<std::string>{overwriteQuestion("/korvex.wfd/config/serversets/cup.stl.ini"), Saved}));
}

TEST_F(Saving, DialogIsSetUpFromTheKind) {
    struct Row {
        int kind;
        std::string name, folder;
        bool nameEditable, listsEditable;
    };
    const std::vector<Row> rows{
        {0, "autoexec.ini", "korvex.wfd/config", false, false},
        {1, "my new ServerSet.ini", "korvex.wfd/config/serversets", true, false},
        {2, "information_sites.ini", "korvex.wfd/config", false, false},
        {3, "orn_functions.ini", "korvex.wfd/config", false, false},
        {4, "servers.ini", "korvex.wfd/config", false, false},
        {5, "Skindefinition.ini", "korvex.wfd/skins", false, true},
        {6, "Skininfo.ini", "korvex.wfd/skins", false, true},
        {7, "start My PlugIn.spi", "korvex.wfd/plugins", true, false},
    };
    frmMain& w = editor();
    for (const Row& r : rows) {
        SCOPED_TRACE(r.kind);
        frmSaveTo* d = newScriptSaveDialog(r.kind);
        ASSERT_NE(d, nullptr);
        EXPECT_TRUE(d->isVisible());
        EXPECT_EQ(fromUi(d->windowTitle()), "Choose destination for " + r.name);
        EXPECT_EQ(fromUi(d->Text1->text()), r.name);
        EXPECT_EQ(d->Text1->isEnabled(), r.nameEditable);
        EXPECT_EQ(d->Drive1->isEnabled(), r.listsEditable);
        EXPECT_EQ(d->Dir1->isEnabled(), r.listsEditable);
        EXPECT_EQ(d->Dir1->path(), g.file(r.folder));
        EXPECT_EQ(d->Drive1->drive(), "/");
        EXPECT_EQ(d->Command1->text(), "Okay");
        EXPECT_EQ(d->Command2->text(), "Cancel");
        d->Command2_Click();
        deletePending();
        EXPECT_EQ(w.saveTo(), nullptr);
    }
    EXPECT_TRUE(fake.boxes.empty());
}

TEST_F(Saving, DialogAsksSavesAndStaysNewForTheNextSave) {
    frmMain& w = editor();
    frmSaveTo* d = newScriptSaveDialog(7);
    ASSERT_NE(d, nullptr);
    d->Text1->setText("start Jos\u00e9.spi");

    d->Command1_Click(); // unscripted: No
    const std::string question = "Okay to save start Jos\xC3\xA9.spi to\r\n" + g.file("korvex.wfd/plugins") +
                                 "?\r\nAllready existing files are overwritten...";
    EXPECT_EQ(boxTexts(), (std::vector<std::string>{question, "Save aborted."}));
    EXPECT_EQ(fake.boxes[0].style, 68);
    EXPECT_EQ(fake.boxes[0].title, "Confirm Save.");
    EXPECT_TRUE(d->isVisible());
    EXPECT_TRUE(listFiles(g.file("korvex.wfd/plugins"), "*.*").empty());

    // Asking again brings the same dialog forward, the typed name kept.
    w.mnuFileSaveCurrent->trigger();
    EXPECT_EQ(w.saveTo(), d);
    EXPECT_EQ(d->Text1->text(), QString::fromUtf8("start Jos\u00e9.spi"));

    fake.boxes.clear();
    fake.boxAnswers = {box::Yes};
    d->Command1_Click();
    EXPECT_EQ(boxTexts().back(), Saved);
    EXPECT_EQ(g.read("korvex.wfd/plugins/start Jos\xC3\xA9.spi"), editorBytes());
    deletePending();
    EXPECT_EQ(w.saveTo(), nullptr);

    w.mnuFileSaveCurrent->trigger();
    ASSERT_NE(w.saveTo(), nullptr);
    EXPECT_EQ(fromUi(w.saveTo()->Text1->text()), "start My PlugIn.spi");
}

TEST_F(Saving, TypedNamesThatAreNoPlainFileNameAreRefused) {
    editor();
    frmSaveTo* d = newScriptSaveDialog(1);
    ASSERT_NE(d, nullptr);
    for (const char* name : {"../cup.ini", "sub/cup.ini", "a\\b.ini", "", ".."}) {
        SCOPED_TRACE(name);
        fake.boxes.clear();
        fake.boxAnswers = {box::Yes};
        d->Text1->setText(name);
        d->Command1_Click();
        EXPECT_EQ(boxTexts(), std::vector<std::string>{errorBox("Bad file name or number", 52)});
        EXPECT_TRUE(d->isVisible());
    }
    EXPECT_TRUE(listFiles(g.file("korvex.wfd/config"), "*.*").empty());
    EXPECT_TRUE(listFiles(g.file("korvex.wfd/config/serversets"), "*.*").empty());
}

// The dialog from the keyboard: Return in the folder list opens the highlighted folder and saves
// nothing; Return elsewhere is "Okay"; Escape is "Cancel".
TEST_F(Saving, DialogWorksFromTheKeyboard) {
    std::filesystem::create_directories(g.file("korvex.wfd/skins/dark"));
    std::filesystem::create_directories(g.file("korvex.wfd/skins/light"));
    frmMain& w = editor();
    w.show();
    frmSaveTo* d = newScriptSaveDialog(6);
    ASSERT_NE(d, nullptr);
    d->Dir1->setFocus();
    QTest::keyClick(d->Dir1, Qt::Key_Down);
    QTest::keyClick(d->Dir1, Qt::Key_Down);
    QTest::keyClick(d->Dir1, Qt::Key_Return);
    EXPECT_EQ(d->Dir1->path(), g.file("korvex.wfd/skins/light"));
    EXPECT_TRUE(fake.boxes.empty());
    EXPECT_TRUE(d->isVisible());
    QTest::keyClick(d->Dir1, Qt::Key_Escape);
    EXPECT_FALSE(d->isVisible());
    EXPECT_FALSE(g.exists("korvex.wfd/skins/light/Skininfo.ini"));
    deletePending();

    fake.boxAnswers = {box::Yes};
    w.mnuFileSaveCurrent->trigger();
    ASSERT_NE(w.saveTo(), nullptr);
    d = w.saveTo();
    d->Dir1->setFocus();
    QTest::keyClick(d->Dir1, Qt::Key_Down);
    QTest::keyClick(d->Dir1, Qt::Key_Return);
    d->Drive1->setFocus();
    QTest::keyClick(d->Drive1, Qt::Key_Return);
    EXPECT_EQ(boxTexts().back(), Saved);
    EXPECT_EQ(g.read("korvex.wfd/skins/dark/Skininfo.ini"), editorBytes());
    EXPECT_FALSE(d->isVisible());
}

// Every name the file system takes can be written, by the dialog and over an opened file: 240 to
// 255 bytes, here with two-byte letters.
TEST_F(Saving, LongestLegalNamesAreWritten) {
    for (size_t bytes : {240u, 255u}) {
        SCOPED_TRACE(bytes);
        std::string name;
        while (name.size() + 4 + 2 <= bytes) name += "\xC3\xA9";
        name.append(bytes - 4 - name.size(), 'x');
        name += ".ini";
        ASSERT_EQ(name.size(), bytes);
        const std::string rel = "korvex.wfd/config/serversets/" + name;
        for (const auto& e : std::filesystem::directory_iterator(g.file("korvex.wfd/config/serversets")))
            std::filesystem::remove(e.path());
        fake.boxes.clear();
        frmMain& w = editor();
        frmSaveTo* d = newScriptSaveDialog(1);
        ASSERT_NE(d, nullptr);
        d->Text1->setText(QString::fromStdString(name));
        fake.boxAnswers = {box::Yes};
        d->Command1_Click();
        EXPECT_EQ(boxTexts().back(), Saved);
        EXPECT_EQ(g.read(rel), editorBytes());

        // Opened from the menu, changed and saved over.
        fake.boxAnswers = {box::Yes};
        w.mnuFileCloseCurrent_Click();
        frmMain& again = editor();
        ASSERT_EQ(again.mnuFileLoadServerSetFile.size(), 1u);
        again.mnuFileLoadServerSetFile[0]->trigger();
        type("sv_name=Long");
        fake.boxAnswers = {box::Yes};
        again.mnuFileSaveCurrent->trigger();
        EXPECT_EQ(boxTexts().back(), Saved);
        EXPECT_EQ(g.read(rel), editorBytes());
        EXPECT_NE(g.read(rel).find("sv_name=Long\r\n"), std::string::npos);
    }
}

TEST_F(Saving, DialogReportsAFailedWriteAndStaysOpen) {
    std::filesystem::create_directories(g.file("korvex.wfd/config/serversets/cup.ini/x"));
    frmMain& w = editor();
    frmSaveTo* d = newScriptSaveDialog(1);
    ASSERT_NE(d, nullptr);
    d->Text1->setText("cup.ini");
    fake.boxAnswers = {box::Yes};
    d->Command1_Click();
    ASSERT_EQ(fake.boxes.size(), 2u);
    EXPECT_EQ(fake.boxes[1].title, "error.");
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(w.saveTo(), d);
}

TEST_F(Saving, DialogClosesWithItsScript) {
    frmMain& w = editor();
    newScriptSaveDialog(0);
    ASSERT_NE(w.saveTo(), nullptr);
    // Replaced by another new script.
    ASSERT_TRUE(w.NewScriptFromTemplate(4));
    deletePending();
    EXPECT_EQ(w.saveTo(), nullptr);

    w.mnuFileSaveCurrent->trigger();
    ASSERT_NE(w.saveTo(), nullptr);
    EXPECT_EQ(fromUi(w.saveTo()->Text1->text()), "servers.ini");
    fake.boxAnswers = {box::Yes};
    w.mnuFileCloseCurrent->trigger();
    deletePending();
    EXPECT_EQ(w.saveTo(), nullptr);
}

TEST_F(Saving, MissingSaveFolderIsReportedAndNoDialogOpens) {
    std::filesystem::remove_all(g.file("korvex.wfd/config/serversets"));
    frmMain& w = editor();
    newScriptSaveDialog(1);
    EXPECT_EQ(w.saveTo(), nullptr);
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].title, "error.");
}

TEST_F(Saving, SkinKindsMayBeSavedIntoAnotherFolder) {
    std::filesystem::create_directories(g.file("korvex.wfd/skins/dark"));
    g.write("korvex.wfd/skins/dark/skininfo.ini", "old\r\n");
    editor();
    frmSaveTo* d = newScriptSaveDialog(6);
    ASSERT_NE(d, nullptr);
    d->Dir1->setPath(g.file("korvex.wfd/skins/dark"));
    fake.boxAnswers = {box::Yes};
    d->Command1_Click();
    // "Skininfo.ini" replaces the skin's skininfo.ini, as on a file system that ignores case.
    EXPECT_EQ(g.read("korvex.wfd/skins/dark/skininfo.ini"), editorBytes());
    EXPECT_EQ(listFiles(g.file("korvex.wfd/skins/dark"), "*.*"), std::vector<std::string>{"skininfo.ini"});
}

} // namespace
} // namespace kx::quillroom
