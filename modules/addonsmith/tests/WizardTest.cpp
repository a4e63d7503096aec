// The plug-in wizard against a temporary game directory and the recording platform.
#include "Form1.h"
#include "Form2.h"
#include "Launcher.h"
#include "PlugIns.h"

#include "core/RunError.h"
#include "core/Text.h"
#include "platform/FakePlatform.h"
#include "shared/Ui.h"
#include "shared/testing/GameDir.h"
#include "shared/widgets/FileControls.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gmock/gmock.h>

namespace kx::addonsmith {
namespace {

using ::testing::ElementsAreArray;
using ::testing::HasSubstr;

class Wizard : public ::testing::Test {
protected:
    FakePlatform fake;
    test::GameDir game{"Quell fort"};

    std::unique_ptr<Form1> load() {
        auto form = std::make_unique<Form1>(game.path());
        form->Form_Load();
        return form;
    }
    std::string spi(const std::string& name) const { return game.read("korvex.wfd/plugins/" + name + ".spi"); }
    static std::vector<int> checks(const Form1& f) {
        return {checkValue(f.Check1), checkValue(f.Check2), checkValue(f.Check3), checkValue(f.Check4)};
    }
};

TEST_F(Wizard, DefaultsWriteTheTwentyOneLinesByteForByte) {
    auto f = load();
    EXPECT_EQ(f->windowTitle(), "Korvex PlugIn Wizard");
    f->Command2_Click();
    const std::string stars = ";*********************************************";
    EXPECT_EQ(spi("launch my plugin"),
              joinLines({stars, "; Quellfort Korvex PlugIn Script", ";", "; Name    - launch my plugin",
                         "; Version - 1.0", ";", "; Written by unknown.", "; Written with Korvex PlugIn Wizard", stars,
                         ";", ";PlugIn Properties", "authorn=unknown", "version=1.0", ";Application Properties",
                         "approot=\\", "appfile=myplugin.exe", ";Korvex Properties", "shdebug=false", "useswfd=false",
                         "usesqfd=true", "rtninfo=true"}));
    ASSERT_EQ(fake.boxes.size(), 1u) << "the root ends with \\: no question";
    EXPECT_EQ(fake.boxes[0].text, "PlugIn Succesfully written to Korvex PlugIn directory.");
    EXPECT_EQ(fake.boxes[0].style, 64);
    EXPECT_EQ(fake.boxes[0].title, "done.");
    EXPECT_EQ(fromUi(f->Text1->text()), "launch my plugin") << "the form keeps its values";
}

TEST_F(Wizard, RootWithoutBackslashIsCorrectedOnlyOnYes) {
    for (int answer : {box::Yes, box::No}) {
        SCOPED_TRACE(answer);
        fake.boxes.clear();
        fake.boxAnswers = {answer};
        auto f = load();
        f->Text1->setText("tool");
        f->Text4->setText("tools");
        f->Command2_Click();
        ASSERT_EQ(fake.boxes.size(), 2u);
        EXPECT_EQ(fake.boxes[0].text,
                  "Your Approot path does not end with '\\'.\r\nThis can cause problems.\r\n\r\nShall I correct that?");
        EXPECT_EQ(fake.boxes[0].style, 36);
        EXPECT_EQ(fake.boxes[0].title, "'\\' missing...");
        const std::string root = answer == box::Yes ? "tools\\" : "tools";
        EXPECT_EQ(fromUi(f->Text4->text()), root);
        EXPECT_THAT(spi("tool"), HasSubstr("\r\napproot=" + root + "\r\n"));
    }
}

TEST_F(Wizard, EmptyNameWritesNothingAndAsksNothing) {
    auto f = load();
    f->Text1->setText("");
    f->Text4->setText("tools");
    f->Command2_Click();
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].text, "Your PlugIn has not been named.\r\nPlease name your PlugIn.");
    EXPECT_EQ(fake.boxes[0].style, 48);
    EXPECT_EQ(fake.boxes[0].title, "Error.");
    EXPECT_TRUE(QDir(QString::fromStdString(game.file("korvex.wfd/plugins"))).entryList(QDir::Files).isEmpty());
}

// The typed name must be a file name in the plug-in folder: the write error path, run error 52,
// and nothing written anywhere. A dot inside the name is kept whole.
TEST_F(Wizard, NamesThatAreNoFileNameAreRefusedOnTheWriteErrorPath) {
    for (const std::string name : {"../escape", "sub\\dir", "a:b", "tab\there", ".", "..", "x|y"}) {
        SCOPED_TRACE(name);
        fake.boxes.clear();
        auto f = load();
        f->Text1->setText(QString::fromStdString(name));
        f->Command2_Click();
        ASSERT_EQ(fake.boxes.size(), 1u);
        EXPECT_EQ(fake.boxes[0].text, "An error occured while performing the specified task.\r\n"
                                      "An error occured writing the plugin. possibly not written correctly.\r\n"
                                      "Bad file name or number, 52");
        EXPECT_EQ(fake.boxes[0].title, "error.");
    }
    EXPECT_TRUE(QDir(QString::fromStdString(game.file("korvex.wfd/plugins"))).entryList(QDir::Files).isEmpty());
    EXPECT_FALSE(game.exists("korvex.wfd/escape.spi"));

    auto f = load();
    f->Text1->setText("my.tool");
    f->Command2_Click();
    EXPECT_TRUE(game.exists("korvex.wfd/plugins/my.tool.spi"));
}

TEST_F(Wizard, ValuesLoseLineBreaksSoNoneAddsAKeyLine) {
    auto f = load();
    f->Text2->setText(QString::fromLatin1("Ann\r\nappfile=evil.exe"));
    f->Text5->setText(QString::fromLatin1("run\n.exe"));
    f->Command2_Click();
    const auto lines = splitLines(spi("launch my plugin"));
    ASSERT_EQ(lines.size(), 21u);
    EXPECT_EQ(lines[6], "; Written by Annappfile=evil.exe.");
    EXPECT_EQ(lines[11], "authorn=Annappfile=evil.exe");
    EXPECT_EQ(lines[15], "appfile=run.exe");
}

TEST_F(Wizard, MissingPlugInFolderIsReportedAndTheOldFileStays) {
    QDir(QString::fromStdString(game.file("korvex.wfd/plugins"))).removeRecursively();
    auto f = load();
    f->Command2_Click();
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_THAT(fake.boxes[0].text, HasSubstr("possibly not written correctly.\r\nPath not found, 76"));
    EXPECT_FALSE(game.exists("korvex.wfd/plugins"));

    // A target that cannot be replaced (a folder of that name) leaves what is there.
    game.write("korvex.wfd/plugins/keep.spi/inside", "x");
    fake.boxes.clear();
    f->Text1->setText("keep");
    f->Command2_Click();
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].title, "error.");
    EXPECT_EQ(game.read("korvex.wfd/plugins/keep.spi/inside"), "x");
}

// The wizard's reader: exact-case keys, the 8th character not looked at, the last line winning,
// flags through TextToBool, keys absent from the file leaving their fields.
TEST_F(Wizard, ReaderTable) {
    game.writeLines("korvex.wfd/plugins/my.tool.spi",
                    {"; comment", "authorn=First", "authorn:Second", "VERSION=9.9", "Approot=\\caps\\", "appfile",
                     "approot \\tools\\", "shdebug=TRUE", "useswfd= true", "rtninfo=yes", "usesqfdxtrue"});
    auto f = load();
    f->Text3->setText("kept");
    setCheckValue(f->Check1, 0);
    f->readPlugIn(game.file("korvex.wfd/plugins"), "my.tool.spi");
    EXPECT_EQ(fromUi(f->Text1->text()), "my.tool");
    EXPECT_EQ(fromUi(f->Text2->text()), "Second");
    EXPECT_EQ(fromUi(f->Text3->text()), "kept") << "VERSION is not version";
    EXPECT_EQ(fromUi(f->Text4->text()), "\\tools\\");
    EXPECT_EQ(fromUi(f->Text5->text()), "") << "a key line without a value";
    EXPECT_EQ(checks(*f), (std::vector<int>{1, 0, 1, 0}));

    // A file without shdebug leaves Check1 as it was.
    game.writeLines("korvex.wfd/plugins/short.spi", {"useswfd=true"});
    f->readPlugIn(game.file("korvex.wfd/plugins"), "short.spi");
    EXPECT_EQ(checks(*f), (std::vector<int>{1, 1, 1, 0}));
}

TEST_F(Wizard, WrittenFileLoadsBackIntoTheSameFields) {
    auto f = load();
    f->Text1->setText(QString::fromUtf8("Jos\xc3\xa9's tool"));
    f->Text2->setText(QString::fromUtf8("Bj\xc3\xb6rn"));
    f->Text3->setText("2.5 beta");
    f->Text4->setText("\\plugins\\orn\\");
    f->Text5->setText("plg_orn.exe");
    setCheckValue(f->Check1, 1);
    setCheckValue(f->Check2, 1);
    setCheckValue(f->Check3, 0);
    setCheckValue(f->Check4, 0);
    f->Command2_Click();
    EXPECT_TRUE(game.exists("korvex.wfd/plugins/Jos\xc3\xa9's tool.spi")) << "the name as the user sees it";

    auto g = load();
    g->Command3_Click();
    Form2* dialog = g->loadDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), "Load a PlugIn");
    ASSERT_EQ(dialog->File1->count(), 1);
    selectListIndex(dialog->File1, 0);
    dialog->Command1_Click();
    for (QLineEdit* t : {f->Text1, f->Text2, f->Text3, f->Text4, f->Text5})
        EXPECT_EQ(g->findChild<QLineEdit*>(t->objectName())->text(), t->text()) << t->objectName().toStdString();
    EXPECT_EQ(checks(*g), checks(*f));
    EXPECT_TRUE(dialog->isHidden()) << "the dialog closes after a load";
}

TEST_F(Wizard, LoadDialogListsDescriptionsAndReportsAFailedRead) {
    game.writeLines("korvex.wfd/plugins/beta.spi", {"authorn=B"});
    game.writeLines("korvex.wfd/plugins/Alpha.SPI", {"authorn=A"});
    game.write("korvex.wfd/plugins/notes.txt", "");
    // The launcher's rule: a name that holds a path is neither listed there nor here.
    game.writeLines("korvex.wfd/plugins/a\\b.spi", {"authorn=C"});
    auto f = load();
    f->Command3_Click();
    Form2* dialog = f->loadDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_THAT(dialog->File1->files(), ElementsAreArray({"Alpha.SPI", "beta.spi"}));

    // Nothing selected: the read error, and the dialog stays open.
    dialog->show();
    dialog->Command1_Click();
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_THAT(fake.boxes[0].text, HasSubstr("An error occured while reading the file.\r\n"));
    EXPECT_FALSE(dialog->isHidden());

    // The file gone since it was listed.
    selectListIndex(dialog->File1, 1);
    game.write("korvex.wfd/plugins/beta.spi", "");
    QFile::remove(QString::fromStdString(game.file("korvex.wfd/plugins/beta.spi")));
    dialog->Command1_Click();
    EXPECT_EQ(fake.boxes.size(), 2u);
    EXPECT_FALSE(dialog->isHidden());

    dialog->Command2_Click();
    EXPECT_TRUE(dialog->isHidden());
}

// Every name the file system takes can be written: 240 to 255 bytes with ".spi", here with
// two-byte letters.
TEST_F(Wizard, LongestLegalNamesAreWritten) {
    for (size_t bytes : {240u, 254u, 255u}) {
        SCOPED_TRACE(bytes);
        std::string name;
        while (name.size() + 4 + 2 <= bytes) name += "\xC3\xB6";
        name.append(bytes - 4 - name.size(), 'x');
        ASSERT_EQ((name + ".spi").size(), bytes);
        fake.boxes.clear();
        auto f = load();
        f->Text1->setText(QString::fromStdString(name));
        f->Command2_Click();
        ASSERT_EQ(fake.boxes.size(), 1u);
        EXPECT_EQ(fake.boxes[0].text, "PlugIn Succesfully written to Korvex PlugIn directory.");
        EXPECT_THAT(spi(name), HasSubstr("; Name    - " + name + "\r\n"));
    }
}

// "Load a PlugIn" from the keyboard: Return loads the highlighted file, Escape cancels.
TEST_F(Wizard, LoadDialogWorksFromTheKeyboard) {
    game.writeLines("korvex.wfd/plugins/alpha.spi", {"authorn=A"});
    game.writeLines("korvex.wfd/plugins/beta.spi", {"authorn=B"});
    auto f = load();
    f->show();
    QTest::mouseClick(f->Command3, Qt::LeftButton);
    Form2* dialog = f->loadDialog();
    ASSERT_NE(dialog, nullptr);
    dialog->File1->setFocus();
    QTest::keyClick(dialog->File1, Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(fromUi(f->Text2->text()), "unknown");

    QTest::mouseClick(f->Command3, Qt::LeftButton);
    dialog = f->loadDialog();
    ASSERT_NE(dialog, nullptr);
    dialog->File1->setFocus();
    QTest::keyClick(dialog->File1, Qt::Key_Down);
    QTest::keyClick(dialog->File1, Qt::Key_Down);
    QTest::keyClick(dialog->File1, Qt::Key_Return);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(fromUi(f->Text1->text()), "beta");
    EXPECT_EQ(fromUi(f->Text2->text()), "B");
    EXPECT_TRUE(fake.boxes.empty());
}

TEST_F(Wizard, AFileOfTheSameNameInOtherCapitalsIsReplaced) {
    game.writeLines("korvex.wfd/plugins/Tool.SPI", {"authorn=old"});
    auto f = load();
    f->Text1->setText("tool");
    f->Command2_Click();
    EXPECT_THAT(game.read("korvex.wfd/plugins/Tool.SPI"), HasSubstr("\r\nauthorn=unknown\r\n"));
    EXPECT_FALSE(game.exists("korvex.wfd/plugins/tool.spi"));
}

TEST_F(Wizard, LoadOpensTheFileTheSelectedEntryShowsAfterTheFolderChanged) {
    game.writeLines("korvex.wfd/plugins/beta.spi", {"authorn=B"});
    auto f = load();
    f->Command3_Click();
    Form2* dialog = f->loadDialog();
    ASSERT_EQ(dialog->File1->count(), 1);
    // The dialog stays open while the wizard writes a plug-in that sorts first.
    f->Text1->setText("alpha");
    f->Text2->setText("A");
    f->Command2_Click();
    selectListIndex(dialog->File1, 0);
    dialog->Command1_Click();
    EXPECT_EQ(fromUi(f->Text1->text()), "beta");
    EXPECT_EQ(fromUi(f->Text2->text()), "B");
}

TEST_F(Wizard, ACorrectedRootKeepsTheBytesItWasLoadedWith) {
    const std::string root = "\\Spiele\\Jos\xC3\xA9";
    game.writeLines("korvex.wfd/plugins/tool.spi", {"approot=" + root});
    auto f = load();
    f->readPlugIn(game.file("korvex.wfd/plugins"), "tool.spi");
    fake.boxAnswers = {box::Yes};
    f->Command2_Click();
    EXPECT_THAT(spi("tool"), HasSubstr("\r\napproot=" + root + "\\\r\n"));
}

// Typed, the root and the program name a folder and a program as this machine spells names
// (UTF-8), so the plug-in written for "J\u00f6s\u00e9 tools" starts; loaded back, they show as
// typed, and are written again with the same bytes.
TEST_F(Wizard, TypedRootAndProgramAreWrittenAsUtf8AndThePlugInStarts) {
    const std::string folder = "J\xC3\xB6s\xC3\xA9 tools", program = "T\xC3\xB6\xC3\xB6l";
    game.touchProgram(folder + "/" + program);
    auto f = load();
    f->show();
    const std::pair<QLineEdit*, std::string> typing[] = {
        {f->Text1, "jose"}, {f->Text4, folder + "\\"}, {f->Text5, program}};
    for (const auto& [box, text] : typing) {
        box->setFocus();
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        // Letters as a keyboard sends them: "\u00f6" is the key \u00d6 with the text "\u00f6".
        for (const QChar c : QString::fromStdString(text))
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key(c.toUpper().unicode()), QString(c), Qt::NoModifier);
    }
    QTest::mouseClick(f->Command2, Qt::LeftButton);
    const std::string written = spi("jose");
    EXPECT_THAT(written, HasSubstr("\r\napproot=" + folder + "\\\r\nappfile=" + program + "\r\n"));

    kx::launcher::setKorvexDir(game.path());
    kx::launcher::execPlugIn("jose.spi");
    ASSERT_EQ(fake.starts.size(), 1u);
    EXPECT_EQ(fake.starts[0].program, game.path() + "/" + folder + "/" + program);

    auto again = load();
    again->readPlugIn(game.file("korvex.wfd/plugins"), "jose.spi");
    EXPECT_EQ(again->Text4->text(), QString::fromStdString(folder + "\\"));
    EXPECT_EQ(again->Text5->text(), QString::fromStdString(program));
    again->Text1->setText("jose again");
    again->Command2_Click();
    EXPECT_THAT(spi("jose again"), HasSubstr("\r\napproot=" + folder + "\\\r\nappfile=" + program + "\r\n"));
}

TEST_F(Wizard, LoadDialogWithoutPlugInFolderListsNothingAndTheWizardGoesOn) {
    QDir(QString::fromStdString(game.file("korvex.wfd/plugins"))).removeRecursively();
    auto f = load();
    f->Command3_Click();
    ASSERT_NE(f->loadDialog(), nullptr);
    EXPECT_EQ(f->loadDialog()->File1->count(), 0);
    EXPECT_TRUE(fake.boxes.empty());
    f->Command1_Click();
    EXPECT_TRUE(f->unloaded());
}

TEST_F(Wizard, EmptyCommandLineEndsTheModule) {
    Form1 f("");
    EXPECT_THROW(f.Form_Load(), ProgramEnded);
    ASSERT_EQ(fake.boxes.size(), 1u);
}

} // namespace
} // namespace kx::addonsmith
