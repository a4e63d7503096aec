// LVLSMITH with FakePlatform on a temporary game directory with a level folder: start-up, the
// step machine with its locks and the level's files after each step, the failures that must
// keep data1.bin, the job file, the log, the menu and the about box.
#include "frmAbout.h"
#include "frmMain.h"
#include "mdlModule.h"

#include "core/Files.h"
#include "core/Text.h"
#include "platform/FakePlatform.h"
#include "platform/RealPlatform.h"
#include "shared/Ui.h"
#include "shared/testing/EndToEnd.h"
#include "shared/testing/GameDir.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>

#include <gtest/gtest.h>

#include <algorithm>

namespace kx::lvlsmith {
namespace {

const std::string kOld = std::string("QFLEVEL1\0lvl\0sp\r\n", 18);
const std::string kEdited = "QFEDIT objects saved in the editor";

// True when want appears in have as consecutive lines.
bool hasRun(const std::vector<std::string>& have, const std::vector<std::string>& want) {
    return std::search(have.begin(), have.end(), want.begin(), want.end()) != have.end();
}

void copyAssets(const test::GameDir& game) {
    const std::string src = test::sourceDir() + "/korvex.wfd/plugins/levelaide";
    for (const char* sub : {"Wizard", "Steps"}) {
        QDir().mkpath(QString::fromStdString(game.file(std::string("korvex.wfd/plugins/levelaide/") + sub)));
        for (const QString& f : QDir(QString::fromStdString(src + "/" + sub)).entryList(QDir::Files))
            QFile::copy(QString::fromStdString(src + "/" + sub + "/") + f,
                        QString::fromStdString(game.file(std::string("korvex.wfd/plugins/levelaide/") + sub + "/")) + f);
    }
}

class LvlSmith : public ::testing::Test {
protected:
    void SetUp() override {
        copyAssets(game);
        game.touchProgram("Game.exe");
        game.write("levels/lvl1/data1.bin", kOld);
        game.write("levels/lvl1/world.dat", "QFWORLD1");
        fake.settings["LevelForge|configuration|firsttime"] = "YES";
        form = std::make_unique<frmMain>(game.path());
        ASSERT_TRUE(form->Form_Load());
        form->Dir1->setPath(level());
    }
    std::string level() const { return game.file("levels/lvl1"); }
    std::string lvl(const std::string& f) const { return game.read("levels/lvl1/" + f); }
    bool has(const std::string& f) const { return game.exists("levels/lvl1/" + f); }
    std::vector<std::string> log() const { return splitLines(game.read("korvex.wfd/logs/plg_lvlsmith.log")); }
    // What the editor does when the player saves.
    void editorSaves(const std::string& bytes = kEdited) { game.write("levels/lvl1/data1.bin", bytes); }
    int visiblePanel() const {
        int shown = -1;
        for (int i = 0; i < 6; ++i)
            if (!form->Cntrl[size_t(i)]->isHidden()) {
                EXPECT_EQ(shown, -1) << "two panels visible";
                shown = i;
            }
        return shown;
    }
    // Steps 0 to 4 done the way a player does them; stops before "Update and Clean Level".
    void throughWriteNewObjects() {
        form->Command1_Click(); // 1
        form->Command1_Click(); // 2: world.dat box answered OK
        form->Command3_Click();
        editorSaves();
        form->Command1_Click(); // 3
        form->Command4_Click();
        form->Command2_Click();
        form->Command1_Click(); // 4
        form->Command5_Click();
    }

    test::GameDir game{"Quell Fort"};
    FakePlatform fake;
    std::unique_ptr<frmMain> form;
};

TEST_F(LvlSmith, StepsRunTheWholeEditWithTheirLocks) {
    EXPECT_EQ(form->Description->toPlainText().toStdString(),
              "Welcome to Modding Wizard for Quellfort.  \nThis Wizard will guide you through the Levelmodding Process "
              "for a \nSinglePlayer Level. Please click the button \"Next\" to proceed.\n");
    EXPECT_EQ(visiblePanel(), 0);
    EXPECT_TRUE(form->mnuDeleteLogFile->isEnabled());
    EXPECT_FALSE(form->mnuOpenSelectedLevel->isEnabled());

    form->Command1_Click();
    EXPECT_EQ(form->CurrentStep, 1);
    EXPECT_EQ(visiblePanel(), 1);
    EXPECT_FALSE(form->mnuDeleteLogFile->isEnabled()); // by the first Next already
    EXPECT_FALSE(form->WizPic->pixmap().isNull());     // Wizpic1.jpg, as the generator wrote it
    EXPECT_EQ(form->Description->toPlainText().toStdString().rfind("Step 1: choose the level.\n", 0), 0u);
    EXPECT_TRUE(form->Command1->isEnabled());

    form->Command1_Click(); // step 2: backup, world.dat removed on OK, Next locked
    EXPECT_EQ(visiblePanel(), 2);
    EXPECT_EQ(lvl("data1.qfs"), kOld);
    EXPECT_EQ(lvl("data1.bin"), kOld);
    EXPECT_FALSE(has("world.dat"));
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].style, 49);
    EXPECT_EQ(fake.boxes[0].title, "error.");
    EXPECT_FALSE(form->Command1->isEnabled());
    EXPECT_TRUE(form->mnuOpenSelectedLevel->isEnabled());
    EXPECT_TRUE(hasRun(log(), {">> Step1 called CheckWorldDat()", ">> World.dat was found.", ">> World.dat was removed."}));

    form->Command3_Click();
    ASSERT_EQ(fake.starts.size(), 1u);
    EXPECT_EQ(fake.starts[0].program, game.file("Game.exe"));
    EXPECT_EQ(fake.starts[0].args, (std::vector<std::string>{"+edit", level(), "NullString", "0"}));
    EXPECT_EQ(fake.starts[0].windowStyle, win::NormalFocus);
    EXPECT_TRUE(form->Command1->isEnabled());
    editorSaves();

    form->Command1_Click(); // step 3: Next waits for the second run
    EXPECT_EQ(visiblePanel(), 3);
    EXPECT_FALSE(form->Command1->isEnabled());
    EXPECT_FALSE(form->Command2->isEnabled());
    form->Command4_Click();
    EXPECT_FALSE(form->Command1->isEnabled());
    EXPECT_TRUE(form->Command2->isEnabled());
    game.write("levels/lvl1/world.dat", "again");
    form->Command2_Click();
    EXPECT_FALSE(has("world.dat")); // removed before the editor starts
    EXPECT_EQ(fake.starts.size(), 3u);
    EXPECT_TRUE(form->Command1->isEnabled());

    form->Command1_Click(); // step 4
    EXPECT_EQ(visiblePanel(), 4);
    EXPECT_FALSE(form->Command1->isEnabled());
    EXPECT_FALSE(form->Command7->isEnabled());
    form->Command5_Click();
    EXPECT_EQ(lvl("data1.bak"), kOld);
    EXPECT_EQ(lvl("data1.new"), kOld + kEdited);
    EXPECT_EQ(splitLines(lvl("QfsBatch.bat")), jobFileLines(level()));
    EXPECT_EQ(lvl("data1.bin"), kEdited); // nothing replaced yet
    EXPECT_TRUE(form->Command7->isEnabled());
    EXPECT_FALSE(form->Command1->isEnabled());
    EXPECT_TRUE(hasRun(log(), {"> Executing Jobfile...", ">> Execution successful.",
                               "> Unlocking 'Update and Clean Level' button"}));

    form->Command7_Click();
    EXPECT_EQ(lvl("data1.bin"), kOld + kEdited);
    EXPECT_EQ(lvl("data1.bak"), kOld);
    for (const char* gone : {"data1.qfs", "data1.new", "QfsBatch.bat"}) EXPECT_FALSE(has(gone)) << gone;
    // Each line once its step has happened: the rename that replaces the editor's data1.bin
    // comes first, the work files go after it.
    EXPECT_TRUE(hasRun(log(), {"> Deleting qf-created binary...", "> Updating level with recreated binary",
                               "> Deleting Jobfile...", "> Deleting workfile...", "> Unlocking Next button"}));
    EXPECT_TRUE(form->Command1->isEnabled());
    ASSERT_EQ(fake.boxes.size(), 2u);
    EXPECT_EQ(fake.boxes[1].text, "Your old data1 binary has been backed up as:\r\n" + level() + "/data1.bak");
    EXPECT_EQ(fake.boxes[1].style, 0);
    EXPECT_EQ(fake.boxes[1].title, "Information.");

    form->Command1_Click(); // step 5 for good
    EXPECT_EQ(visiblePanel(), 5);
    EXPECT_FALSE(form->Command1->isEnabled());
    form->Command1_Click();
    EXPECT_EQ(form->CurrentStep, 5);
    EXPECT_TRUE(form->Option1->isChecked());
    EXPECT_TRUE(form->Option2->isEnabled());
}

TEST_F(LvlSmith, UpdateAndCleanKeepsTheLevelUnlessTheJoinedFileIsComplete) {
    struct Case {
        const char* what;
        std::function<void()> spoil;
    };
    const Case cases[] = {
        {"editor saved again after the join", [&] { editorSaves(kEdited + " and more"); }},
        {"joined file missing", [&] { QFile::remove(QString::fromStdString(level() + "/data1.new")); }},
        {"joined file cut short", [&] { game.write("levels/lvl1/data1.new", kOld); }},
        {"backup missing", [&] { QFile::remove(QString::fromStdString(level() + "/data1.bak")); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        game.write("levels/lvl1/data1.bin", kOld);
        game.write("levels/lvl1/world.dat", "w");
        fake.boxes.clear();
        form = std::make_unique<frmMain>(game.path());
        ASSERT_TRUE(form->Form_Load());
        form->Dir1->setPath(level());
        throughWriteNewObjects();
        ASSERT_TRUE(form->Command7->isEnabled());
        c.spoil();
        const std::string bin = lvl("data1.bin"), qfs = lvl("data1.qfs"), joined = lvl("data1.new");
        const auto before = log().size();
        fake.boxes.clear();
        form->Command7_Click();
        ASSERT_EQ(fake.boxes.size(), 1u);
        EXPECT_EQ(fake.boxes[0].title, "Error.");
        EXPECT_EQ(fake.boxes[0].style, 48);
        EXPECT_NE(fake.boxes[0].text.find("Click 'Write New Objects' again."), std::string::npos);
        EXPECT_EQ(lvl("data1.bin"), bin);
        EXPECT_EQ(lvl("data1.qfs"), qfs);
        EXPECT_EQ(lvl("data1.new"), joined);
        EXPECT_TRUE(has("QfsBatch.bat"));
        EXPECT_FALSE(form->Command1->isEnabled());
        ASSERT_EQ(log().size(), before + 1) << "the refusal is logged";
        EXPECT_EQ(log().back().rfind(">> Updating level failed: ", 0), 0u) << log().back();
    }
}

TEST_F(LvlSmith, FailedJoinUnlocksNothingAndLogsNoSuccess) {
    form->Command1_Click();
    form->Command1_Click();
    form->Command3_Click();
    form->Command1_Click();
    form->Command4_Click();
    form->Command2_Click();
    form->Command1_Click();
    // The editor never saved and something removed the level's data file.
    QFile::remove(QString::fromStdString(level() + "/data1.bin"));
    fake.boxes.clear();
    form->Command5_Click();
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].text.rfind("An error occured performing the specified task.\r\n", 0), 0u);
    EXPECT_NE(fake.boxes[0].text.find(", 53"), std::string::npos);
    EXPECT_FALSE(form->Command7->isEnabled());
    EXPECT_FALSE(has("data1.new"));
    EXPECT_EQ(lvl("data1.qfs"), kOld);
    const auto l = log();
    EXPECT_TRUE(hasRun(l, {"> Executing Jobfile...", ">> Execution failed."}));
    EXPECT_EQ(std::count(l.begin(), l.end(), ">> Execution successful."), 0);
}

TEST_F(LvlSmith, FailedBackupGoesBackToTheFolderStep) {
    form->Command1_Click();
    form->Dir1->setPath(game.path()); // a folder without data1.bin
    form->Command1_Click();
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].title, "Error.");
    EXPECT_EQ(form->CurrentStep, 1);
    EXPECT_EQ(visiblePanel(), 1);
    EXPECT_TRUE(form->Command1->isEnabled());
    EXPECT_FALSE(form->mnuOpenSelectedLevel->isEnabled()); // no level until step 2 has one
    EXPECT_FALSE(game.exists("data1.qfs"));
    form->Dir1->setPath(level());
    form->Command1_Click();
    EXPECT_EQ(form->CurrentStep, 2);
    EXPECT_EQ(lvl("data1.qfs"), kOld);
    EXPECT_TRUE(form->mnuOpenSelectedLevel->isEnabled());
}

TEST_F(LvlSmith, LevelFolderDeletedMeanwhileIsNoLongerListed) {
    form->Command1_Click();
    ASSERT_TRUE(QDir(QString::fromStdString(level())).removeRecursively());
    form->Command1_Click();
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(form->CurrentStep, 1);
    EXPECT_EQ(form->Dir1->path(), game.file("levels"));
    for (int i = 0; i < form->Dir1->count(); ++i) EXPECT_NE(form->Dir1->entryPath(i), level());
    EXPECT_EQ(form->Dir1->entryPath(form->Dir1->currentRow()), game.file("levels"));
}

// A level folder is a line of the job file: a name with a line break is refused before anything
// is copied, and the log keeps each of its lines whole.
TEST_F(LvlSmith, LevelFolderWithALineBreakIsRefused) {
    for (const char* name : {"lvl2\nrm", "lvl3\r\nrm", "lvl4\r"}) {
        SCOPED_TRACE(name);
        const std::string folder = game.file(std::string("levels/") + name);
        game.write(std::string("levels/") + name + "/data1.bin", kOld);
        game.write("korvex.wfd/logs/plg_lvlsmith.log", "");
        fake.boxes.clear();
        form = std::make_unique<frmMain>(game.path());
        ASSERT_TRUE(form->Form_Load());
        form->Dir1->setPath(folder);
        form->Command1_Click();
        form->Command1_Click();
        ASSERT_EQ(fake.boxes.size(), 1u);
        EXPECT_EQ(fake.boxes[0].title, "Error.");
        EXPECT_EQ(fake.boxes[0].text.substr(fake.boxes[0].text.size() - 4), ", 52");
        EXPECT_EQ(form->CurrentStep, 1);
        EXPECT_TRUE(form->Command1->isEnabled());
        EXPECT_FALSE(form->mnuOpenSelectedLevel->isEnabled());
        EXPECT_FALSE(game.exists(std::string("levels/") + name + "/data1.qfs"));
        for (const auto& line : log()) EXPECT_NE(line.rfind("rm", 0), 0u) << "a log line split at the name";
        const auto l = log();
        EXPECT_NE(std::find(l.begin(), l.end(), "> " + stripBreaks(folder)), l.end());
    }
}

// Step texts are files the player may edit: one line of 10 MB is shown in blocks the box can
// lay out when they come into view, not as one block it must lay out whole.
TEST_F(LvlSmith, StepTextWithAHugeLineIsShownInBoundedBlocks) {
    const size_t n = 10'000'000;
    game.write("korvex.wfd/plugins/levelaide/Steps/Step1.txt", "Step 1\r\n" + std::string(n, 'x') + "\r\n");
    form->show();
    form->Command1_Click();
    QApplication::processEvents();
    int longest = 0;
    for (QTextBlock b = form->Description->document()->begin(); b.isValid(); b = b.next())
        longest = std::max(longest, b.length());
    EXPECT_LE(longest, kShownBlock + 1);
    EXPECT_EQ(size_t(form->Description->toPlainText().count('x')), n);
}

TEST(LvlSmithTexts, ShippedStepTextsAreParagraphsOfOneLine) {
    for (int step = 1; step <= 5; ++step) {
        const std::string path =
            test::sourceDir() + "/korvex.wfd/plugins/levelaide/Steps/Step" + std::to_string(step) + ".txt";
        SCOPED_TRACE(path);
        const auto lines = readLines(path);
        ASSERT_FALSE(lines.empty());
        for (size_t i = 0; i + 1 < lines.size(); ++i)
            EXPECT_TRUE(lines[i].empty() || lines[i + 1].empty())
                << "a paragraph broken after \"" << lines[i] << "\"";
    }
}

TEST_F(LvlSmith, TextsForReadingWrapAtWordsAndPassTabOn) {
    form->show();
    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    for (QPlainTextEdit* box : {form->Description, form->Text1}) {
        SCOPED_TRACE(box->objectName().toStdString());
        EXPECT_TRUE(box->isReadOnly());
        EXPECT_EQ(box->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        EXPECT_NE(box->wordWrapMode(), QTextOption::NoWrap);
        EXPECT_NE(box->wordWrapMode(), QTextOption::WrapAnywhere);
        const QString before = box->toPlainText();
        box->setFocus();
        ASSERT_TRUE(box->hasFocus());
        QTest::keyClick(box, Qt::Key_Tab);
        EXPECT_FALSE(box->hasFocus());
        EXPECT_EQ(box->toPlainText(), before);
    }
    // The notes' own paragraph is one line that the box wraps.
    EXPECT_NE(form->Text1->toPlainText().indexOf("it keeps a backup of the level's data file"), -1);
}

TEST_F(LvlSmith, OwnIconOnItsWindowsAndAWelcomePictureAtStepZero) {
    EXPECT_FALSE(form->WizPic->pixmap().isNull());
    EXPECT_FALSE(form->windowIcon().pixmap(32, 32).isNull());
    EXPECT_EQ(form->windowIcon().pixmap(32, 32).toImage(), levelAideIcon().pixmap(32, 32).toImage());
    form->mnuElseAbout->trigger();
    ASSERT_NE(form->about(), nullptr);
    EXPECT_FALSE(form->about()->picIcon->pixmap().isNull());
    EXPECT_FALSE(form->about()->windowIcon().pixmap(32, 32).isNull());
}

// The manual's address is made from its path's bytes: a "#" or "?" in the game directory's
// name is part of the path, not a fragment or a query. A desktop that opens nothing is reported.
TEST(LvlSmithManual, OpenedByItsFileAddressAndAFailureIsReported) {
    test::GameDir game("Quell #1? 100%");
    FakePlatform fake;
    fake.settings["LevelForge|configuration|firsttime"] = "YES";
    frmMain form(game.path());
    ASSERT_TRUE(form.Form_Load());
    const std::string manual = game.file("korvex.wfd/helpfiles/levelaide/levelaide.htm");
    form.mnuHelpManual->trigger();
    ASSERT_EQ(fake.shellOpens.size(), 1u);
    EXPECT_EQ(fake.shellOpens[0], localFileUrl(manual));
    EXPECT_EQ(fake.shellOpens[0].rfind("file:///", 0), 0u);
    EXPECT_EQ(fake.shellOpens[0].find_first_of("#? "), std::string::npos);
    EXPECT_TRUE(fake.boxes.empty());

    fake.shellOpenResult = 2;
    form.mnuHelpManual->trigger(); // no manual (nor its folder) in this game directory
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].title, "Error.");
    EXPECT_NE(fake.boxes[0].text.find(manual), std::string::npos);
    EXPECT_EQ(fake.boxes[0].text.substr(fake.boxes[0].text.size() - 4), ", 76");
    game.write("korvex.wfd/helpfiles/levelaide/levelaide.htm", "<html></html>");
    form.mnuHelpManual->trigger(); // there, but the desktop could not open it
    ASSERT_EQ(fake.boxes.size(), 2u);
    EXPECT_EQ(fake.boxes[1].text.substr(fake.boxes[1].text.size() - 4), ", 75");
}

// On this machine: a game directory whose name is not valid UTF-8 (and holds "#") still hands
// the desktop's opener the manual's exact address.
TEST(LvlSmithManual, GameDirectoryNotInUtf8StillOpensItsManual) {
    test::GameDir root;
    const std::string game = root.path() + "/Jos\xe9 #1";
    makeDir(game);
    for (const char* sub : {"/korvex.wfd", "/korvex.wfd/logs", "/korvex.wfd/helpfiles", "/korvex.wfd/helpfiles/levelaide"})
        makeDir(game + sub);
    const std::string manual = game + "/korvex.wfd/helpfiles/levelaide/levelaide.htm";
    writeFileAtomic(manual, "<html><body>LevelForge</body></html>");
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    QDir().mkpath(tmp.path() + "/bin");
    const QString opened = tmp.path() + "/opened";
    QFile opener(tmp.path() + "/bin/xdg-open");
    ASSERT_TRUE(opener.open(QIODevice::WriteOnly));
    opener.write("#!/bin/sh\nprintf '%s\\n' \"$*\" >> '" + opened.toLocal8Bit() + "'\n");
    opener.close();
    opener.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString dialogs = tmp.path() + "/dialogs.jsonl";
    test::ScopedEnv env({{"XDG_CONFIG_HOME", tmp.path() + "/config"},
                         {"KORVEX_DIALOGS", dialogs},
                         {"KORVEX_DIALOG_ANSWERS", tmp.path() + "/answers"},
                         {"PATH", tmp.path() + "/bin:" + qEnvironmentVariable("PATH")}});
    auto real = makeRealPlatform();
    Platform* previous = setPlatform(real.get());
    real->setProgramName("LVLSMITH");
    {
        frmMain form(game);
        ASSERT_TRUE(form.Form_Load());
        form.mnuHelpManual->trigger();
        EXPECT_TRUE(test::waitFor([&] { return !test::readOrEmpty(opened.toStdString()).empty(); }, 10000));
    }
    setPlatform(previous);
    EXPECT_EQ(test::readOrEmpty(opened.toStdString()), localFileUrl(manual) + "\n");
    EXPECT_TRUE(test::jsonLines(dialogs).empty()) << test::readOrEmpty(dialogs.toStdString());
}

// Work files are made anew: a link planted at data1.qfs, data1.new or QfsBatch.bat is replaced
// by a file of the assistant's own, and the file it named is left as it was.
TEST_F(LvlSmith, WorkFilesAreNeverWrittenThroughALink) {
    const char* names[] = {"data1.qfs", "data1.new", "QfsBatch.bat"};
    for (const char* n : names) {
        game.write(std::string("outside/") + n, "victim");
        ASSERT_TRUE(QFile::link(QString::fromStdString(game.file(std::string("outside/") + n)),
                                QString::fromStdString(level() + "/" + n)));
    }
    throughWriteNewObjects();
    for (const char* n : names) {
        SCOPED_TRACE(n);
        EXPECT_EQ(game.read(std::string("outside/") + n), "victim");
        EXPECT_FALSE(QFileInfo(QString::fromStdString(level() + "/" + n)).isSymLink());
    }
    EXPECT_EQ(lvl("data1.qfs"), kOld);
    EXPECT_EQ(lvl("data1.new"), kOld + kEdited);
    EXPECT_EQ(splitLines(lvl("QfsBatch.bat")), jobFileLines(level()));

    // A link put in data1.new's place afterwards is not renamed into data1.bin.
    game.write("outside/joined", kOld + kEdited);
    QFile::remove(QString::fromStdString(level() + "/data1.new"));
    ASSERT_TRUE(QFile::link(QString::fromStdString(game.file("outside/joined")),
                            QString::fromStdString(level() + "/data1.new")));
    fake.boxes.clear();
    form->Command7_Click();
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].title, "Error.");
    EXPECT_EQ(lvl("data1.bin"), kEdited);
    EXPECT_FALSE(QFileInfo(QString::fromStdString(level() + "/data1.bin")).isSymLink());
    EXPECT_TRUE(has("QfsBatch.bat"));
}

// "Update and Clean Level" replaces data1.bin as every whole-file writer does: a file the user
// may not write is refused with 70 and nothing is deleted; a link stays a link and the file it
// names gets the joined data, keeping its mode.
TEST_F(LvlSmith, UpdateReplacesDataBinByTheWholeFileRules) {
    throughWriteNewObjects();
    const QString bin = QString::fromStdString(level() + "/data1.bin");
    ASSERT_TRUE(QFile::setPermissions(bin, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    const auto before = log().size();
    fake.boxes.clear();
    form->Command7_Click();
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].text.substr(fake.boxes[0].text.size() - 4), ", 70");
    EXPECT_EQ(lvl("data1.bin"), kEdited);
    for (const char* kept : {"data1.new", "data1.qfs", "QfsBatch.bat"}) EXPECT_TRUE(has(kept)) << kept;
    EXPECT_FALSE(form->Command1->isEnabled());
    const auto l = log();
    EXPECT_EQ(std::vector<std::string>(l.begin() + long(before), l.end()),
              (std::vector<std::string>{">> Updating level failed: Permission denied(70)"}));

    // The same level with data1.bin a link to the level's data kept elsewhere.
    QFile::remove(bin);
    game.write("store/lvl1.bin", kEdited);
    const QString store = QString::fromStdString(game.file("store/lvl1.bin"));
    ASSERT_TRUE(QFile::setPermissions(store, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    ASSERT_TRUE(QFile::link(store, bin));
    fake.boxes.clear();
    form->Command7_Click();
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].title, "Information.");
    EXPECT_TRUE(QFileInfo(bin).isSymLink());
    EXPECT_EQ(game.read("store/lvl1.bin"), kOld + kEdited);
    const auto userBits = QFile::ReadUser | QFile::WriteUser | QFile::ExeUser;
    EXPECT_EQ(QFile::permissions(store) & ~userBits, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    for (const char* gone : {"data1.new", "data1.qfs", "QfsBatch.bat"}) EXPECT_FALSE(has(gone)) << gone;
}

// What the player may still need is kept before it is replaced by other bytes: a data1.qfs
// left by an abandoned run (the level's only original once the editor has saved) and the
// data1.bak of an earlier run, each under its name and a stamp, with one log line.
TEST_F(LvlSmith, OldWorkCopyAndBackupAreKeptBeforeTheyAreReplaced) {
    const std::string stamp = timeStamp(fake.clock, "yyyy-MM-dd_HH-mm-ss");
    game.write("levels/lvl1/data1.qfs", "ORIGINAL of an abandoned run");
    game.write("levels/lvl1/data1.bak", "BACKUP of an earlier run");
    throughWriteNewObjects();
    EXPECT_EQ(lvl("data1.qfs." + stamp), "ORIGINAL of an abandoned run");
    EXPECT_EQ(lvl("data1.qfs"), kOld);
    EXPECT_EQ(lvl("data1.bak." + stamp), "BACKUP of an earlier run");
    EXPECT_EQ(lvl("data1.bak"), kOld);
    const auto l = log();
    for (const char* f : {"data1.qfs", "data1.bak"})
        EXPECT_EQ(std::count(l.begin(), l.end(), std::string(">> Kept the earlier ") + f + " as " + level() + "/" + f +
                                                     "." + stamp),
                  1)
            << f;

    // The same bytes again: nothing more is kept.
    QFile::remove(QString::fromStdString(level() + "/data1.qfs." + stamp));
    QFile::remove(QString::fromStdString(level() + "/data1.bak." + stamp));
    form->Command5_Click();
    EXPECT_FALSE(has("data1.bak." + stamp));
    EXPECT_EQ(QDir(QString::fromStdString(level())).entryList({"data1.*.*"}, QDir::Files), QStringList());
}

TEST_F(LvlSmith, SecondUpdateGivesNoAdviceThatCannotWork) {
    throughWriteNewObjects();
    form->Command7_Click();
    fake.boxes.clear();
    form->Command7_Click();
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].title, "Error.");
    EXPECT_EQ(fake.boxes[0].text.find("Write New Objects"), std::string::npos) << fake.boxes[0].text;
    // That advice would fail: the work file it joins is gone once the level is updated.
    fake.boxes.clear();
    form->Command5_Click();
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_NE(fake.boxes[0].text.find(", 53"), std::string::npos);
}

TEST_F(LvlSmith, MissingStepPictureOrTextIsClearedReportedAndTheStepGoesOn) {
    form->Command1_Click();
    ASSERT_FALSE(form->WizPic->pixmap().isNull());
    QFile::remove(QString::fromStdString(game.file("korvex.wfd/plugins/levelaide/Wizard/Wizpic2.jpg")));
    game.write("korvex.wfd/plugins/levelaide/Steps/Step2.txt", ""); // present but empty: no box
    form->Command1_Click();
    EXPECT_TRUE(form->WizPic->pixmap().isNull());
    EXPECT_EQ(form->Description->toPlainText(), "");
    EXPECT_EQ(visiblePanel(), 2);
    ASSERT_EQ(fake.boxes.size(), 2u); // the picture's, then the world.dat question
    EXPECT_NE(fake.boxes[0].text.find("Wizpic2.jpg"), std::string::npos);
    EXPECT_NE(fake.boxes[0].text.find("File not found, 53"), std::string::npos);

    game.write("korvex.wfd/plugins/levelaide/Wizard/Wizpic3.jpg", "not a picture");
    QFile::remove(QString::fromStdString(game.file("korvex.wfd/plugins/levelaide/Steps/Step3.txt")));
    form->Command3_Click();
    fake.boxes.clear();
    form->Command1_Click();
    ASSERT_EQ(fake.boxes.size(), 2u);
    EXPECT_NE(fake.boxes[0].text.find(", 481"), std::string::npos);
    EXPECT_NE(fake.boxes[1].text.find("Step3.txt"), std::string::npos);
    EXPECT_EQ(form->Description->toPlainText(), "");
    EXPECT_EQ(visiblePanel(), 3);
}

TEST_F(LvlSmith, WorldDatCancelEndsTheProgramAndAbsentOneProceeds) {
    form->Command1_Click();
    fake.boxAnswers.push_back(box::Cancel);
    EXPECT_THROW(form->Command1_Click(), ProgramEnded);
    EXPECT_TRUE(has("world.dat"));
    const auto l = log();
    ASSERT_GE(l.size(), 2u);
    EXPECT_EQ(std::vector<std::string>(l.end() - 2, l.end()),
              (std::vector<std::string>{">> World.dat was not removed.", ">>> ABNORMAL PROGRAM PROCESS. PROGRAM HALTED."}));

    QFile::remove(QString::fromStdString(level() + "/world.dat"));
    form->CheckWorldDat(level());
    EXPECT_EQ(log().back(), ">> World.dat was not found. Proceeding.");
}

TEST_F(LvlSmith, FailedGameStartHaltsWithItsLogAndBox) {
    QFile::remove(QString::fromStdString(game.file("Game.exe")));
    form->Command1_Click();
    form->Command1_Click();
    fake.boxes.clear();
    EXPECT_THROW(form->Command3_Click(), ProgramEnded);
    const auto l = log();
    EXPECT_TRUE(hasRun(l, {">> Subroutine called Editmode for Quellfort.", ">> Execution failed.",
                           ">>> File not found(53)", ">>> ABNORMAL PROGRAM PROCESS. PROGRAM HALTED."}));
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].text, "An error occured performing the specified task.\r\nan important internal operation "
                                  "failed. can not proceed.\r\nPrgram halted. Click OK to exit\r\nFile not found, 53");
    EXPECT_EQ(fake.boxes[0].style, 48);
}

TEST_F(LvlSmith, LogHeaderAndSeparators) {
    form->Command1_Click();
    form->LogSeparator();
    form->LogSeparatorBlank();
    const std::string stamp = MakeDateStamp();
    EXPECT_EQ(stamp.find_first_of("/:\\,."), std::string::npos);
    EXPECT_NE(stamp.find("12-00-00"), std::string::npos);
    EXPECT_EQ(game.read("korvex.wfd/logs/plg_lvlsmith.log"),
              "\r\n" + std::string(46, '*') + "\r\n  Quellfort - Modding Wizard. LvlSmith \r\n" + std::string(46, '=') +
                  "\r\nStarted at: " + stamp + "\r\n\r\n==Beginning new Log===========================\r\n\r\n" +
                  "> ===========================================\r\n" +
                  "> ===========================================\r\n\r\n");
}

TEST_F(LvlSmith, MissingLogsFolderDoesNotStopTheAssistant) {
    QDir(QString::fromStdString(game.file("korvex.wfd/logs"))).removeRecursively();
    throughWriteNewObjects();
    form->Command7_Click();
    EXPECT_EQ(lvl("data1.bin"), kOld + kEdited);
}

TEST(LvlSmithJob, SixLinesForDriveAndDrivelessFolders) {
    EXPECT_EQ(jobFileLines("D:\\Levels\\lvl1"),
              (std::vector<std::string>{"@echo off", "cls", "D:", "cd \\Levels\\lvl1",
                                        "copy /B data1.qfs + /B data1.bin /B data1.new", "cls"}));
    EXPECT_EQ(jobFileLines("/games/levels/the airbase"),
              (std::vector<std::string>{"@echo off", "cls", "", "cd /games/levels/the airbase",
                                        "copy /B data1.qfs + /B data1.bin /B data1.new", "cls"}));
}

// The log header's date: the regional order, Latin digits in every locale, no "?".
TEST(LvlSmithText, DateStampHasLatinDigitsInEveryLocale) {
    const QDate day(2026, 12, 10);
    for (const char* name : {"fa_IR", "ar_EG", "bn_BD", "de_DE", "en_US"}) {
        SCOPED_TRACE(name);
        const std::string d = shortDate(day, QLocale(QString::fromLatin1(name)));
        EXPECT_EQ(d.find('?'), std::string::npos) << d;
        EXPECT_NE(d.find("10"), std::string::npos) << d;
    }
}

TEST(LvlSmithText, NumberTexts) {
    EXPECT_EQ(IntToText(53), "53");
    EXPECT_EQ(IntToText(0), "0");
    EXPECT_EQ(IntToText(-5), "5");
}

TEST(LvlSmithStart, EmptyCommandLineEndsBeforeTheWindow) {
    FakePlatform fake;
    EXPECT_THROW(Main(""), ProgramEnded);
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].title, "Critical Error.");
}

TEST(LvlSmithStart, FirstStartWelcomesOpensTheManualAndRemembers) {
    test::GameDir game;
    FakePlatform fake;
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run);
        fake.boxes.clear();
        fake.shellOpens.clear();
        frmMain form(game.path());
        ASSERT_TRUE(form.Form_Load());
        form.firstStart();
        if (run == 0) {
            ASSERT_EQ(fake.boxes.size(), 1u);
            EXPECT_EQ(fake.boxes[0].text,
                      "Welcome,\r\nThis is the first time that you start LvlSmith.\r\nClick okay to launch the manual "
                      "for a quick introduction\r\non how to use the application and a step-by-step modding "
                      "procedure.\r\n\r\nYou can view this manual anytime by selecting it in the tool-menu.");
            EXPECT_EQ(fake.boxes[0].style, 0);
            EXPECT_EQ(fake.boxes[0].title, "welcome.");
            EXPECT_EQ(fake.shellOpens, (std::vector<std::string>{localFileUrl(
                                           game.path() + "/korvex.wfd/helpfiles/levelaide/levelaide.htm")}));
            EXPECT_EQ(fake.settings["LevelForge|configuration|firsttime"], "YES");
        } else {
            EXPECT_TRUE(fake.boxes.empty());
            EXPECT_TRUE(fake.shellOpens.empty());
        }
        EXPECT_EQ(fake.current, game.path());
    }
}

// A settings file the assistant may not write (or a folder in its place) costs the player no
// start: the failure is reported as the assistant's error and the window comes all the same.
TEST(LvlSmithStart, FirstStartThatCannotBeRememberedIsReportedAndGoesOn) {
    struct Case {
        const char* what;
        bool folder;
        const char* title; // of the first box
        const char* failure;
    };
    const Case cases[] = {{"read-only settings file", false, "welcome.", "could not be saved: Permission denied, 70"},
                          {"a folder in its place", true, "Error.", "could not be read: Path/File access error, 75"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        test::GameDir game;
        QTemporaryDir tmp;
        ASSERT_TRUE(tmp.isValid());
        const QString ini = tmp.path() + "/config/Korvex/LevelForge.ini";
        QDir().mkpath(tmp.path() + "/config/Korvex");
        QDir().mkpath(tmp.path() + "/bin");
        if (c.folder) {
            QDir().mkpath(ini);
        } else {
            QFile f(ini);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write("[configuration]\r\n");
            f.close();
            f.setPermissions(QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        }
        QFile opener(tmp.path() + "/bin/xdg-open"); // the desktop's opener: opens nothing, succeeds
        ASSERT_TRUE(opener.open(QIODevice::WriteOnly));
        opener.write("#!/bin/sh\nexit 0\n");
        opener.close();
        opener.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const QString dialogs = tmp.path() + "/dialogs.jsonl";
        test::ScopedEnv env({{"XDG_CONFIG_HOME", tmp.path() + "/config"},
                             {"KORVEX_DIALOGS", dialogs},
                             {"KORVEX_DIALOG_ANSWERS", tmp.path() + "/answers"},
                             {"PATH", tmp.path() + "/bin:" + qEnvironmentVariable("PATH")}});
        auto real = makeRealPlatform();
        Platform* previous = setPlatform(real.get());
        real->setProgramName("LVLSMITH");
        {
            frmMain form(game.path());
            ASSERT_TRUE(form.Form_Load());
            EXPECT_NO_THROW(form.firstStart());
        }
        setPlatform(previous);
        const auto boxes = test::jsonLines(dialogs);
        ASSERT_FALSE(boxes.empty());
        EXPECT_EQ(boxes.front()["title"].toString(), c.title);
        EXPECT_EQ(boxes.back()["title"].toString(), "Error.");
        EXPECT_TRUE(boxes.back()["text"].toString().endsWith(c.failure)) << boxes.back()["text"].toString().toStdString();
    }
}

TEST_F(LvlSmith, MenuItemsStartWhatTheyName) {
    game.touchProgram("mapmaker");
    game.touchProgram("qfvs.exe");
    form->mnuToolsLaunchMapmaker->trigger();
    form->mnuToolsLaunchSwitcher->trigger();
    ASSERT_EQ(fake.starts.size(), 2u);
    EXPECT_EQ(fake.starts[0].program, game.file("mapmaker.exe"));
    EXPECT_EQ(fake.starts[1].program, game.file("qfvs.exe"));
    form->mnuOpenLevelsNfo->trigger();
    form->mnuOpenNotepad->trigger();
    form->mnuOpenLogFile->trigger(); // before any step wrote to it
    EXPECT_EQ(fake.editorOpens, (std::vector<std::string>{game.file("levels.nfo"), "",
                                                          game.file("korvex.wfd/logs/plg_lvlsmith.log")}));
    form->mnuOpenQfDir->trigger();
    EXPECT_EQ(fake.folderOpens, (std::vector<std::string>{game.path()}));
    form->mnuHelpManual->trigger();
    form->mnuHelpManual->trigger();
    EXPECT_EQ(fake.shellOpens.size(), 2u);
    EXPECT_EQ(fake.shellOpens[1], localFileUrl(game.file("korvex.wfd/helpfiles/levelaide/levelaide.htm")));

    QFile::remove(QString::fromStdString(game.file("qfvs.exe")));
    form->mnuToolsLaunchSwitcher->trigger();
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].text, "An error occured performing the specified task.\r\nFile not found, 53");

    form->mnuDeleteLogFile->trigger(); // no log: nothing happens
    game.write("korvex.wfd/logs/plg_lvlsmith.log", "old\r\n");
    form->mnuDeleteLogFile->trigger();
    EXPECT_FALSE(game.exists("korvex.wfd/logs/plg_lvlsmith.log"));

    form->Command1_Click();
    form->Command1_Click();
    form->mnuOpenSelectedLevel->trigger();
    EXPECT_EQ(fake.folderOpens.back(), level());

    EXPECT_THROW(form->mnuElseQuit_Click(), ProgramEnded);
}

TEST_F(LvlSmith, MenuLabelUnderlinesWhilePressed) {
    form->show();
    QTest::mousePress(form->Label2, Qt::LeftButton);
    EXPECT_TRUE(form->Label2->font().underline());
    form->Label2_MouseUp();
    EXPECT_FALSE(form->Label2->font().underline());
    form->mnu->hide();
    // The right button underlines too, and its release opens no menu.
    QTest::mousePress(form->Label2, Qt::RightButton);
    EXPECT_TRUE(form->Label2->font().underline());
    QTest::mouseRelease(form->Label2, Qt::RightButton);
    EXPECT_FALSE(form->Label2->font().underline());
    EXPECT_FALSE(form->mnu->isVisible());
}

// Tools, help, about and quit are reached from the keyboard: Tab to "Menu", then Return,
// Enter, Space or the menu key opens the menu, whose items the arrow keys and Return choose.
TEST_F(LvlSmith, MenuLabelOpensItsMenuFromTheKeyboard) {
    form->show();
    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    form->Command1->setFocus();
    for (int i = 0; i < 20 && !form->Label2->hasFocus(); ++i) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_TRUE(form->Label2->hasFocus());
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space, Qt::Key_Menu}) {
        SCOPED_TRACE(key);
        QTest::keyClick(form->Label2, key);
        EXPECT_TRUE(form->mnu->isVisible());
        form->mnu->hide();
    }
    QTest::keyClick(form->Label2, Qt::Key_Return);
    ASSERT_TRUE(form->mnu->isVisible());
    QTest::keyClick(form->mnu, Qt::Key_Up); // "quit"
    QTest::keyClick(form->mnu, Qt::Key_Up); // "about"
    QTest::keyClick(form->mnu, Qt::Key_Return);
    EXPECT_FALSE(form->mnu->isVisible());
    ASSERT_NE(form->about(), nullptr);
    EXPECT_TRUE(form->about()->isVisible());
}

TEST_F(LvlSmith, DoItRunsTheChosenProgram) {
    form->Option1->setChecked(true);
    form->Command6_Click();
    ASSERT_EQ(fake.starts.size(), 1u);
    EXPECT_TRUE(fake.starts[0].args.empty());
    EXPECT_TRUE(hasRun(log(), {"> User Action: Run Quellfort", ">> Initiating.", ">> Subroutine called Quellfort.",
                               ">> Execution succeeded.", ""}));

    form->Option2->setChecked(true);
    form->Command6_Click(); // no data2edit.exe: the box, the window stays
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].text, "An error occured performing the specified task.\r\nFile not found, 53");
    game.touchProgram("data2edit.exe");
    form->Command6_Click();
    ASSERT_EQ(fake.starts.size(), 2u);
    EXPECT_EQ(fake.starts[1].program, game.file("data2edit.exe"));
    EXPECT_EQ(log()[log().size() - 3], ">> Excuted.");

    form->Option3->setChecked(true);
    EXPECT_THROW(form->Command6_Click(), ProgramEnded);
    EXPECT_EQ(log().back(), "bye.");
}

TEST_F(LvlSmith, AboutBoxAndItsSystemInformationBranches) {
    form->mnuElseAbout->trigger();
    frmAbout* a = form->about();
    ASSERT_NE(a, nullptr);
    EXPECT_FALSE(a->isModal());
    EXPECT_EQ(a->windowTitle(), "Info zu LevelForge");
    EXPECT_EQ(a->lblVersion->text(), "Version 1.0.270");
    EXPECT_EQ(a->lblTitle->text(), "LevelForge");
    EXPECT_EQ(a->lblDescription->text(),
              "Assistant to mod singleplayer levels or MultiPlayer levels that have no world.dat.");
    EXPECT_FALSE(a->lblDisclaimer->text().isEmpty());

    const std::string none = "Systeminformationen sind momentan nicht verf\xfcgbar";
    auto& reg = fake.registry;
    game.touchProgram("tools/msinfo32.exe");
    struct Case {
        const char* what;
        std::function<void()> arrange;
        std::string started; // "" = the box
    };
    const Case cases[] = {
        {"nothing registered", [] {}, ""},
        {"location without the tool",
         [&] { reg["HKEY_LOCAL_MACHINE|software\\microsoft\\shared tools location"].values["msinfo"] = {reg::Sz, game.path()}; },
         ""},
        {"location holding it in other capitals",
         [&] {
             reg["HKEY_LOCAL_MACHINE|software\\microsoft\\shared tools location"].values["msinfo"] = {
                 reg::Sz, game.file("tools") + '\0'};
         },
         game.file("tools/msinfo32.exe")},
        {"the tool's own path first",
         [&] { reg["HKEY_LOCAL_MACHINE|software\\microsoft\\shared tools\\msinfo"].values["path"] = {reg::Sz, game.file("Game.exe")}; },
         game.file("Game.exe")},
        {"a path that cannot be started",
         [&] { reg["HKEY_LOCAL_MACHINE|software\\microsoft\\shared tools\\msinfo"].values["path"] = {reg::Sz, game.file("gone")}; },
         ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        c.arrange();
        fake.boxes.clear();
        fake.starts.clear();
        a->StartSysInfo();
        if (c.started.empty()) {
            ASSERT_EQ(fake.boxes.size(), 1u);
            EXPECT_EQ(fake.boxes[0].text, none);
            EXPECT_EQ(fake.boxes[0].style, 0);
            EXPECT_EQ(fake.boxes[0].title, "LevelForge");
            EXPECT_TRUE(fake.starts.empty());
        } else {
            EXPECT_TRUE(fake.boxes.empty());
            ASSERT_EQ(fake.starts.size(), 1u);
            EXPECT_EQ(fake.starts[0].program, c.started);
        }
    }

    reg["HKEY_LOCAL_MACHINE|software\\t"].values["n"] = {reg::Dword, std::string("\x2a\x00\x00\x12", 4)};
    std::string v = "x";
    EXPECT_TRUE(a->GetKeyValue(Hive::LocalMachine, "SOFTWARE\\T", "N", v));
    EXPECT_EQ(v, "301989930");
    EXPECT_FALSE(a->GetKeyValue(Hive::LocalMachine, "SOFTWARE\\T", "missing", v));
    EXPECT_EQ(v, "");
    a->cmdOK->click();
}

} // namespace
} // namespace kx::lvlsmith
