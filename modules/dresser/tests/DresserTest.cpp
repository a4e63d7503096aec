// mod_dresser's window against a temporary game directory and the recording platform.
#include "frmMain.h"

#include "core/Files.h"
#include "core/RunError.h"
#include "core/Text.h"
#include "platform/FakePlatform.h"
#include "shared/KorvexConfig.h"
#include "shared/testing/GameDir.h"
#include "shared/testing/ShownText.h"
#include "shared/Ui.h"

#include <QListWidget>
#include <QPlainTextEdit>
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

#include <filesystem>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kx::dresser {
namespace {

using ::testing::ElementsAre;

std::vector<std::string> items(const QListWidget* l) {
    std::vector<std::string> out;
    for (int i = 0; i < l->count(); ++i) out.push_back(fromUi(l->item(i)->text()));
    return out;
}

class Dresser : public ::testing::Test {
protected:
    void SetUp() override { kx::writeConfig(game.path(), values()); }
    static ConfigValues values() {
        ConfigValues v;
        v.playerName = "Ann";
        v.shotDir = "C:\\Shots";
        return v;
    }
    // The set-up's korvex.cfg with one line replaced.
    static std::string configWith(const std::string& prefix, const std::string& line) {
        auto lines = configLines(values());
        for (auto& l : lines)
            if (!prefix.empty() && l.rfind(prefix, 0) == 0) l = line;
        return joinLines(lines);
    }
    std::string config() const { return game.read("korvex.wfd/config/korvex.cfg"); }
    void skin(const std::string& name, const std::vector<std::string>& info) const {
        game.writeLines("korvex.wfd/skins/" + name + "/skininfo.ini", info);
    }
    std::unique_ptr<frmMain> load() {
        auto form = std::make_unique<frmMain>(game.path());
        form->Form_Load();
        return form;
    }
    std::string text(const frmMain& f) const { return fromUi(f.Text1->toPlainText()); }

    FakePlatform fake;
    test::GameDir game{"Arena Games"};
};

TEST_F(Dresser, ListsTheSkinFoldersAndShowsTheirDescriptions) {
    skin("qfs 3.1 default", {"; shown to nobody", "Quellfort default", "", "  two blanks stay"});
    skin("Dark", {";only", "; comments"});
    std::filesystem::create_directories(game.file("korvex.wfd/skins/bare"));
    // Names found on disk are listed as they are unless they hold a path or a line break, the
    // launcher's rule too (isUsableSkinName).
    for (const char* odd : {"two\nlines", "back\\slash", "colon:name", "what?", "t\tab"})
        std::filesystem::create_directories(game.file(std::string("korvex.wfd/skins/") + odd));
    std::filesystem::create_directories(game.file("korvex.wfd/skins/.hidden"));
    game.write("korvex.wfd/skins/loose.ini", "a file");

    auto f = load();
    EXPECT_EQ(fake.current, game.path());
    EXPECT_EQ(items(f->List1),
              (std::vector<std::string>{"bare", "colon:name", "Dark", "qfs 3.1 default", "t\tab", "what?"}));
    EXPECT_EQ(listIndex(f->List1), 0);
    EXPECT_EQ(text(*f), "") << "no skininfo.ini: no description";
    EXPECT_TRUE(fake.boxes.empty());

    f->List1->setCurrentRow(3); // as a click or an arrow key does
    EXPECT_EQ(text(*f), "Quellfort default\n\n  two blanks stay\n");
    selectListIndex(f->List1, 2);
    f->List1_Click();
    EXPECT_EQ(text(*f), "");
    EXPECT_EQ(fromUi(f->windowTitle()), "choosing skin...");
    EXPECT_EQ(fromUi(f->Command1->text()), "Enable Random Skins");
}

// A click makes the item current before Qt selects it; the description must follow the click
// as it follows the arrow keys.
TEST_F(Dresser, AClickOrAnArrowKeyOnASkinShowsItsDescription) {
    skin("alpha", {"Alpha skin"});
    skin("beta", {"; note", "Beta skin"});
    skin("gamma", {"Gamma skin"});
    auto f = load();
    f->show();
    QApplication::setActiveWindow(f.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(f.get()));
    EXPECT_EQ(text(*f), "Alpha skin\n");
    auto click = [&](int row) {
        QTest::mouseClick(f->List1->viewport(), Qt::LeftButton, {},
                          f->List1->visualItemRect(f->List1->item(row)).center());
    };
    click(2);
    EXPECT_EQ(listIndex(f->List1), 2);
    EXPECT_EQ(text(*f), "Gamma skin\n");
    click(1);
    EXPECT_EQ(text(*f), "Beta skin\n");
    click(1); // the same skin again
    EXPECT_EQ(text(*f), "Beta skin\n");
    QTest::keyClick(f->List1, Qt::Key_Up);
    EXPECT_EQ(text(*f), "Alpha skin\n");
    QTest::keyClick(f->List1, Qt::Key_End);
    EXPECT_EQ(text(*f), "Gamma skin\n");
    EXPECT_TRUE(fake.boxes.empty());
}

class DresserKeys : public Dresser {
protected:
    std::unique_ptr<frmMain> shown() {
        auto f = load();
        f->show();
        QApplication::setActiveWindow(f.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(f.get()));
        return f;
    }
};

// Escape cancels from anywhere; Return applies the highlighted skin unless a button has the
// focus, which then presses itself.
TEST_F(DresserKeys, EscapeCancelsAndReturnApplies) {
    skin("alpha", {"Alpha"});
    skin("beta", {"Beta"});
    {
        auto f = shown();
        f->Text1->setFocus();
        EXPECT_THROW(QTest::keyClick(f->Text1, Qt::Key_Escape), ProgramEnded);
        EXPECT_EQ(config(), configWith("", "")) << "nothing written";
    }
    {
        auto f = shown();
        f->List1->setFocus();
        QTest::keyClick(f->List1, Qt::Key_Down);
        EXPECT_THROW(QTest::keyClick(f->List1, Qt::Key_Return), ProgramEnded);
        EXPECT_EQ(config(), configWith("usedskinis=", "usedskinis=beta"));
        ASSERT_EQ(fake.boxes.size(), 1u);
        EXPECT_EQ(fake.boxes[0].title, "Skin applied.");
    }
    {
        fake.boxes.clear();
        auto f = shown();
        f->Command1->setFocus();
        QTest::keyClick(f->Command1, Qt::Key_Return); // the toggle, not "Apply"
        EXPECT_EQ(fromUi(f->Command1->text()), "Disable Random Skins");
        ASSERT_EQ(fake.boxes.size(), 1u);
        EXPECT_EQ(fake.boxes[0].title, "Option applied.");
    }
}

// The description is for reading: typing changes nothing, Tab goes on to the buttons, and a
// long line wraps at its blanks.
TEST_F(DresserKeys, TheDescriptionIsAReadingText) {
    const std::string words = "Slate and teal for late round play with a quiet frame around the map";
    skin("slate", {words + " " + words});
    auto f = shown();
    f->Text1->setFixedWidth(160);
    QApplication::processEvents();
    f->Text1->setFocus();
    QTest::keyClicks(f->Text1, "xy");
    QTest::keyClick(f->Text1, Qt::Key_Delete);
    EXPECT_EQ(text(*f), words + " " + words + "\n");
    QTest::keyClick(f->Text1, Qt::Key_Tab);
    EXPECT_NE(QApplication::focusWidget(), f->Text1);
    EXPECT_EQ(text(*f), words + " " + words + "\n");

    const QTextBlock block = f->Text1->document()->firstBlock();
    QTextLayout* layout = block.layout();
    ASSERT_GT(layout->lineCount(), 2);
    for (int i = 0; i + 1 < layout->lineCount(); ++i) {
        const QTextLine line = layout->lineAt(i);
        EXPECT_EQ(block.text().at(line.textStart() + line.textLength() - 1), QChar(' '))
            << "line " << i << " ends inside a word";
    }
}

// One block per line would take the box minutes to lay out for a line of megabytes.
TEST_F(Dresser, AVeryLongDescriptionLineIsShownInBoundedBlocks) {
    const std::string line(3 * kShownBlock, 'x');
    skin("Long", {"; comment", line});
    auto f = load();
    EXPECT_LE(test::longestBlock(*f->Text1), kShownBlock);
    EXPECT_EQ(f->Text1->toPlainText().remove('\n').toStdString(), line);
}

TEST_F(Dresser, WithoutSkinsApplyAsksForOne) {
    for (bool folder : {true, false}) {
        SCOPED_TRACE(folder ? "empty skins folder" : "no skins folder");
        if (!folder) std::filesystem::remove_all(game.file("korvex.wfd/skins"));
        fake.boxes.clear();
        auto f = load();
        EXPECT_EQ(f->List1->count(), 0);
        EXPECT_EQ(listIndex(f->List1), -1);
        f->Command2_Click();
        ASSERT_EQ(fake.boxes.size(), 1u);
        EXPECT_EQ(fake.boxes[0].text, "Select a skin first.");
        EXPECT_EQ(fake.boxes[0].style, 48);
        EXPECT_EQ(fake.boxes[0].title, "Error.");
        EXPECT_EQ(config(), configWith("", "")) << "korvex.cfg untouched";
    }
}

// Names are written whole and byte for byte: blanks, a UTF-8 folder name as it is on disk, and
// characters a typed name could not hold.
TEST_F(Dresser, ApplyRewritesUsedSkinAndEnds) {
    skin("dark", {"Dark"});
    skin("night watch", {"Night"});
    skin("Jos\xc3\xa9", {"UTF-8"});
    skin("colon:name", {"Colon"});
    const std::vector<std::string> listed = {"colon:name", "dark", "Jos\xc3\xa9", "night watch"};
    for (int index : {3, 2, 0}) {
        const std::string name = listed[static_cast<size_t>(index)];
        SCOPED_TRACE(name);
        kx::writeConfig(game.path(), values());
        fake.boxes.clear();
        auto f = load();
        ASSERT_EQ(items(f->List1).size(), listed.size());
        selectListIndex(f->List1, index);
        f->List1_Click();
        EXPECT_THROW(f->Command2_Click(), ProgramEnded);
        EXPECT_EQ(config(), configWith("usedskinis=", "usedskinis=" + name));
        EXPECT_FALSE(game.exists("korvex.wfd/config/korvex.cfg.new"));
        ASSERT_EQ(fake.boxes.size(), 1u);
        EXPECT_EQ(fake.boxes[0].text, "The selected skin '" + name + "' has been applied.\r\n"
                                      "Please restart Korvex for the settings to take effect.");
        EXPECT_EQ(fake.boxes[0].style, 64);
        EXPECT_EQ(fake.boxes[0].title, "Skin applied.");
    }
}

TEST_F(Dresser, TheToggleWritesTrueThenFalse) {
    auto f = load();
    struct Step {
        std::string value, caption;
    };
    for (const Step& s : {Step{"true", "Disable Random Skins"}, Step{"false", "Enable Random Skins"}}) {
        SCOPED_TRACE(s.value);
        fake.boxes.clear();
        f->Command1_Click();
        EXPECT_EQ(config(), configWith("randomskin=", "randomskin=" + s.value));
        EXPECT_EQ(fromUi(f->Command1->text()), s.caption);
        ASSERT_EQ(fake.boxes.size(), 1u);
        EXPECT_EQ(fake.boxes[0].text, "RandomSkins have been set to be '" + s.value +
                                          "'\r\nPlease restart Korvex for the settings to take effect.");
        EXPECT_EQ(fake.boxes[0].style, 64);
        EXPECT_EQ(fake.boxes[0].title, "Option applied.");
    }
}

// A rewrite that cannot be made, or that finds no line to change, is said, never "applied";
// a file without the line is said as such, not as a run error.
TEST_F(Dresser, FailedRewritesAreReportedAndChangeNothing) {
    skin("dark", {"Dark"});
    const std::string path = game.path() + "/korvex.wfd/config/korvex.cfg";
    struct Case {
        std::string name;
        std::vector<std::string> cfg; // empty: no korvex.cfg at all
        std::vector<FakeBox> boxes;
    };
    const std::string failed = "An error occured while performing the specified task.\r\n";
    const std::vector<Case> cases = {
        {"no lines",
         {"//please do not edit this file.", "playername=Ann"},
         {{"korvex.cfg has no usedskinis line, so nothing was changed:\r\n" + path, 48, "Error."},
          {"korvex.cfg has no randomskin line, so nothing was changed:\r\n" + path, 48, "Error."}}},
        {"no file",
         {},
         {{failed + "File not found: " + path + ", 53", 48, "error."},
          {failed + "File not found: " + path + ", 53", 48, "error."}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.cfg.empty()) removeFile(path);
        else game.writeLines("korvex.wfd/config/korvex.cfg", c.cfg);
        const std::string before = config();
        auto f = load();
        fake.boxes.clear();
        EXPECT_NO_THROW(f->Command2_Click()) << "the window stays";
        EXPECT_NO_THROW(f->Command1_Click());
        EXPECT_EQ(fromUi(f->Command1->text()), "Enable Random Skins");
        ASSERT_EQ(fake.boxes.size(), 2u);
        for (size_t i = 0; i < 2; ++i) {
            EXPECT_EQ(fake.boxes[i].text, c.boxes[i].text);
            EXPECT_EQ(fake.boxes[i].style, c.boxes[i].style);
            EXPECT_EQ(fake.boxes[i].title, c.boxes[i].title);
        }
        EXPECT_EQ(config(), before);
        EXPECT_FALSE(game.exists("korvex.wfd/config/korvex.cfg.new"));
    }
}

TEST_F(Dresser, CancelEnds) {
    auto f = load();
    EXPECT_THROW(f->Command3_Click(), ProgramEnded);
    EXPECT_EQ(config(), configWith("", ""));
}

} // namespace
} // namespace kx::dresser
