// The screenshot-folder and GameSpy pickers, their shared drive change, and how the wizard
// opens them.
#include "frmGetGameSpyDir.h"
#include "frmGetScreenieDir.h"
#include "frmSetup.h"

#include "shared/widgets/DriveChange.h"
#include "platform/FakePlatform.h"
#include "core/RunError.h"
#include "shared/testing/GameDir.h"
#include "core/Text.h"
#include "shared/Ui.h"

#include <QComboBox>
#include "shared/widgets/LimitedTextBox.h"

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QPushButton>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>

using namespace kx;
using kx::prepdesk::frmGetGameSpyDir;
using kx::prepdesk::frmGetScreenieDir;
using kx::prepdesk::frmSetup;
using kx::test::GameDir;

namespace {

const std::string Info = "An error occured while performing the specified task.\r\n";

int entryOf(const DirListBox& dirs, const std::string& path) {
    for (int i = 0; i < dirs.count(); ++i)
        if (dirs.entryPath(i) == path) return i;
    return -1;
}

int folderCount(const std::string& dir) {
    int n = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir)) n += e.is_directory() ? 1 : 0;
    return n;
}

class Pickers : public ::testing::Test {
protected:
    void SetUp() override {
        fake.current = g.path();
        std::filesystem::create_directories(g.file("Shots"));
        g.write("GameSpy/Aphex.exe", "MZ");
        g.write("GameSpy/aphex.EXE", "MZ");
        g.write("GameSpy/GameSpy.exe", "MZ");
        g.write("GameSpy/readme.txt", "hi");
        g.write("GameSpy/.hidden", "");
        std::filesystem::create_directories(g.file("GameSpy/Sub"));
    }
    GameDir g;
    FakePlatform fake;
    LimitedTextBox target;
    QWidget owner; // the pickers' parent, as the wizard is: they go with it
};

TEST_F(Pickers, FolderPickerHandsOverTheOpenedFolderNotTheHighlightedOne) {
    auto* p = new frmGetScreenieDir(&target, &owner);
    EXPECT_EQ(p->windowTitle(), "browse screenshot dir.");
    EXPECT_EQ(p->Command1->text(), "&Okay");
    EXPECT_EQ(p->Command2->text(), "&Cancel");
    EXPECT_EQ(p->Command3->text(), "Create &Dir");
    EXPECT_EQ(p->Drive1->drive(), "/");
    EXPECT_EQ(p->Dir1->path(), g.path());

    const int shots = entryOf(*p->Dir1, g.file("Shots"));
    ASSERT_GE(shots, 0);
    p->Dir1->setCurrentRow(shots);
    EXPECT_EQ(p->Dir1->path(), g.path());
    p->show();
    p->Command1_Click();
    EXPECT_EQ(fromUi(target.text()), g.path());
    EXPECT_TRUE(p->isHidden());

    auto* q = new frmGetScreenieDir(&target, &owner);
    emit q->Dir1->itemDoubleClicked(q->Dir1->item(entryOf(*q->Dir1, g.file("Shots"))));
    EXPECT_EQ(q->Dir1->path(), g.file("Shots"));
    q->Command1_Click();
    EXPECT_EQ(fromUi(target.text()), g.file("Shots"));

    // Cancel leaves the box alone.
    auto* r = new frmGetScreenieDir(&target, &owner);
    r->Dir1->setPath("/");
    r->Command2_Click();
    EXPECT_EQ(fromUi(target.text()), g.file("Shots"));
    EXPECT_TRUE(fake.boxes.empty());
}

TEST_F(Pickers, OpeningAFolderThatVanishedIsReportedAndKeepsTheOpenedOne) {
    std::filesystem::create_directories(g.file("GameSpy/Gone"));
    fake.current = g.file("GameSpy");
    auto* folder = new frmGetScreenieDir(&target, &owner);
    auto* program = new frmGetGameSpyDir(&target, &owner);
    std::filesystem::remove(g.file("GameSpy/Gone"));
    for (DirListBox* dirs : {folder->Dir1, program->Dir1}) {
        fake.boxes.clear();
        const int gone = entryOf(*dirs, g.file("GameSpy/Gone"));
        ASSERT_GE(gone, 0);
        EXPECT_NO_THROW(emit dirs->itemDoubleClicked(dirs->item(gone)));
        ASSERT_EQ(fake.boxes.size(), 1u);
        EXPECT_EQ(fake.boxes[0].text, Info + "Path not found, 76");
        EXPECT_EQ(dirs->path(), g.file("GameSpy"));
        EXPECT_LT(entryOf(*dirs, g.file("GameSpy/Gone")), 0); // listed no more
        // Opening still works.
        emit dirs->itemDoubleClicked(dirs->item(entryOf(*dirs, g.file("GameSpy/Sub"))));
        EXPECT_EQ(dirs->path(), g.file("GameSpy/Sub"));
    }
    EXPECT_EQ(program->File1->path(), g.file("GameSpy/Sub"));
}

TEST_F(Pickers, CreateDirMakesTheFolderAndKeepsTheOpenedOne) {
    auto* p = new frmGetScreenieDir(&target, &owner);
    fake.inputAnswers.push_back(std::string("SnapShots"));
    p->Command3_Click();
    ASSERT_EQ(fake.inputs.size(), 1u);
    EXPECT_EQ(fake.inputs[0].prompt, "Please enter the name of the new folder.");
    EXPECT_EQ(fake.inputs[0].title, "Create folder.");
    EXPECT_EQ(fake.inputs[0].defaultText, "new folder");
    EXPECT_TRUE(std::filesystem::is_directory(g.file("SnapShots")));
    EXPECT_GE(entryOf(*p->Dir1, g.file("SnapShots")), 0);
    EXPECT_EQ(p->Dir1->path(), g.path());
    EXPECT_TRUE(fake.boxes.empty());
    p->Command1_Click();
    EXPECT_EQ(fromUi(target.text()), g.path());

    // The default answer creates "new folder".
    auto* q = new frmGetScreenieDir(&target, &owner);
    q->Command3_Click();
    EXPECT_TRUE(std::filesystem::is_directory(g.file("new folder")));
}

TEST_F(Pickers, CreateDirRefusesWhatIsNoFolderName) {
    struct Case {
        std::optional<std::string> answer;
        std::string shown;
    };
    const std::string bad = Info + "Bad file name or number, 52", exists = Info + "Path/File access error, 75";
    std::filesystem::create_directories(g.file("Shots/inner"));
    const Case cases[] = {
        {std::nullopt, bad}, {std::string(""), bad},     {std::string("."), bad},       {std::string(".."), bad},
        {std::string("a/b"), bad}, {std::string("a\\b"), bad}, {std::string("..\\up"), bad}, {std::string("../up"), bad},
        {std::string("x\ty"), bad}, {std::string("line\r\nbreak"), bad}, {std::string("c:"), bad},
        {std::string("what?"), bad}, {std::string("Shots"), exists}, {std::string("SHOTS"), exists},
    };
    auto* p = new frmGetScreenieDir(&target, &owner);
    p->show();
    const int before = folderCount(g.path());
    for (const auto& c : cases) {
        fake.boxes.clear();
        fake.inputAnswers.push_back(c.answer);
        p->Command3_Click();
        ASSERT_EQ(fake.boxes.size(), 1u) << c.answer.value_or("<cancel>");
        EXPECT_EQ(fake.boxes[0].text, c.shown) << c.answer.value_or("<cancel>");
        EXPECT_EQ(fake.boxes[0].title, "error.");
    }
    EXPECT_EQ(folderCount(g.path()), before);
    EXPECT_EQ(folderCount(g.file("Shots")), 1);
    EXPECT_FALSE(std::filesystem::exists(g.file("up")));
    EXPECT_FALSE(std::filesystem::exists(g.path() + "/../up"));
    EXPECT_EQ(p->Dir1->path(), g.path());
    EXPECT_TRUE(p->isVisible()); // the picker stays open
}

TEST_F(Pickers, ProgramKindsNarrowTheFileList) {
    fake.current = g.file("GameSpy");
    auto* p = new frmGetGameSpyDir(&target, &owner);
    EXPECT_EQ(p->windowTitle(), "browse GameSpy dir.");
    ASSERT_EQ(p->Combo1->count(), 3);
    EXPECT_EQ(p->Combo1->currentIndex(), 0);
    EXPECT_EQ(p->File1->path(), g.file("GameSpy"));
    struct Case {
        int index;
        std::string entry, pattern;
        std::vector<std::string> files;
    };
    const Case cases[] = {
        {1, "GameSpy 3D", "GameSpy.exe", {"GameSpy.exe"}},
        {2, "All Files", "*.*", {"Aphex.exe", "aphex.EXE", "GameSpy.exe", "readme.txt"}},
        {0, "GameSpy Arcade", "Aphex.exe", {"Aphex.exe", "aphex.EXE"}},
    };
    // The list as loaded: the first kind.
    EXPECT_EQ(p->File1->pattern(), "Aphex.exe");
    EXPECT_EQ(p->File1->files(), cases[2].files);
    for (const auto& c : cases) {
        selectComboIndex(p->Combo1, c.index);
        p->Combo1_Click();
        EXPECT_EQ(p->Combo1->currentText().toStdString(), c.entry);
        EXPECT_EQ(p->File1->pattern(), c.pattern) << c.entry;
        EXPECT_EQ(p->File1->files(), c.files) << c.entry;
    }

    // Opening a folder moves the file list; Okay hands over folder and name.
    p->Dir1->setPath(g.file("GameSpy/Sub"));
    EXPECT_EQ(p->File1->path(), g.file("GameSpy/Sub"));
    EXPECT_TRUE(p->File1->files().empty());
    p->Dir1->setPath(g.file("GameSpy"));
    selectListIndex(p->File1, 1);
    EXPECT_EQ(p->programPath(), g.file("GameSpy/aphex.EXE"));
    selectListIndex(p->File1, 0);
    EXPECT_EQ(p->programPath(), g.file("GameSpy/Aphex.exe"));
    p->Command1_Click();
    EXPECT_EQ(fromUi(target.text()), g.file("GameSpy/Aphex.exe"));
}

TEST_F(Pickers, ProgramPathWithoutAFileEndsInTheSeparator) {
    fake.current = g.file("GameSpy");
    auto* p = new frmGetGameSpyDir(&target, &owner);
    EXPECT_EQ(p->File1->fileName(), "");
    p->Command1_Click();
    EXPECT_EQ(fromUi(target.text()), g.file("GameSpy") + "/");
}

TEST_F(Pickers, RootCases) {
    fake.current = "/";
    auto* folder = new frmGetScreenieDir(&target, &owner);
    EXPECT_EQ(folder->Dir1->path(), "/");
    folder->Command1_Click();
    EXPECT_EQ(fromUi(target.text()), "/");

    // At the root the program path keeps one separator.
    auto* program = new frmGetGameSpyDir(&target, &owner);
    EXPECT_EQ(program->File1->path(), "/");
    EXPECT_EQ(program->programPath(), "/");
    selectComboIndex(program->Combo1, 2);
    program->Combo1_Click();
    if (program->File1->count() > 0) {
        selectListIndex(program->File1, 0);
        EXPECT_EQ(program->programPath(), "/" + program->File1->fileName());
    }
}

TEST_F(Pickers, DriveChangeFollowsTheDriveAndFallsBackOnce) {
    std::filesystem::create_directories(g.file("usb/photos"));
    fake.driveList = {"/", g.file("usb"), g.file("nomedia")};
    fake.current = g.file("usb/photos");
    EXPECT_EQ(driveOf(fake.current), g.file("usb"));
    EXPECT_EQ(driveOf(g.file("usbstick")), "/");
    EXPECT_EQ(driveCurrentDir("/"), "/");
    EXPECT_EQ(driveCurrentDir(g.file("usb")), g.file("usb/photos"));
    EXPECT_EQ(fallbackDrive("C:"), "/");

    auto* p = new frmGetScreenieDir(&target, &owner);
    EXPECT_EQ(p->Drive1->drive(), g.file("usb"));
    EXPECT_EQ(p->Dir1->path(), g.file("usb/photos"));

    p->Drive1->setCurrentIndex(0);
    EXPECT_EQ(p->Dir1->path(), "/");
    p->Drive1->setCurrentIndex(1);
    EXPECT_EQ(p->Dir1->path(), g.file("usb/photos"));
    EXPECT_TRUE(fake.boxes.empty());

    // A drive that cannot be read: reported, and the list goes back to the first drive.
    p->Drive1->setCurrentIndex(2);
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].text, Info + "Path not found, 76");
    EXPECT_EQ(p->Drive1->drive(), "/");
    EXPECT_EQ(p->Dir1->path(), "/");

    // The program picker's drive list moves its folder and file lists alike.
    auto* q = new frmGetGameSpyDir(&target, &owner);
    q->Drive1->setCurrentIndex(0);
    EXPECT_EQ(q->Dir1->path(), "/");
    EXPECT_EQ(q->File1->path(), "/");
}

TEST_F(Pickers, DriveChangeStopsWhenTheFallbackFailsToo) {
    fake.driveList = {g.file("gone1"), g.file("gone2")};
    fake.current = g.path();
    auto* p = new frmGetScreenieDir(&target, &owner);
    EXPECT_EQ(p->Dir1->path(), g.path());
    p->Drive1->setCurrentIndex(1);
    ASSERT_EQ(fake.boxes.size(), 2u);
    EXPECT_EQ(fake.boxes[0].text, Info + "Path not found, 76");
    EXPECT_EQ(fake.boxes[1].text, Info + "Path not found, 76");
    EXPECT_EQ(p->Drive1->drive(), g.file("gone1"));
    EXPECT_EQ(p->Dir1->path(), g.path());
}

class WizardPickers : public Pickers {
protected:
    void SetUp() override {
        Pickers::SetUp();
        g.writeLines("korvex.wfd/config/firsttime.inf", {"hi"});
        g.writeLines("korvex.wfd/config/finish.inf", {"bye"});
        g.writeLines("levels.nfo", {"12345the airbase1234:1"});
        w = std::make_unique<frmSetup>(g.path());
        w->show();
    }
    std::unique_ptr<frmSetup> w;
};

TEST_F(WizardPickers, BrowseOpensOnePickerOfEachKindBesideTheWizard) {
    w->Command7_Click();
    QPointer<frmGetScreenieDir> folder = w->screenieDirPicker();
    ASSERT_TRUE(folder);
    EXPECT_TRUE(folder->isVisible());
    EXPECT_EQ(folder->windowModality(), Qt::NonModal);
    EXPECT_TRUE(folder->isWindow());
    EXPECT_TRUE(w->isEnabled());
    w->Command7_Click();
    EXPECT_EQ(w->screenieDirPicker(), folder.data()); // brought forward, not a second one

    folder->Dir1->setPath(g.file("Shots"));
    folder->Command1_Click();
    EXPECT_EQ(fromUi(w->SnapShotDir->text()), g.file("Shots"));
    w->Command7_Click(); // after Okay a fresh picker opens on the current directory
    ASSERT_TRUE(w->screenieDirPicker());
    EXPECT_EQ(w->screenieDirPicker()->Dir1->path(), g.path());

    w->Command2_Click();
    QPointer<frmGetGameSpyDir> program = w->gameSpyDirPicker();
    ASSERT_TRUE(program);
    EXPECT_TRUE(program->isVisible());
    program->Dir1->setPath(g.file("GameSpy"));
    selectListIndex(program->File1, 0);
    program->Command1_Click();
    EXPECT_EQ(fromUi(w->GameSpyDir->text()), g.file("GameSpy/Aphex.exe"));
}

// A UTF-8 folder reads as the user sees it, and its bytes reach the configuration unchanged;
// a typed folder name becomes a UTF-8 name that the folder list shows as typed.
TEST_F(WizardPickers, UtfEightFoldersAreShownAsSuchAndWrittenAsOnDisk) {
    const std::string shots = g.file("Sh\xC3\xB6ts");
    std::filesystem::create_directories(shots);
    w->Command7_Click();
    frmGetScreenieDir* folder = w->screenieDirPicker();
    ASSERT_TRUE(folder);
    fake.inputAnswers.push_back(std::string("Jos\xE9")); // the input box gives Windows-1252
    folder->Command3_Click();
    EXPECT_TRUE(std::filesystem::is_directory(g.file("Jos\xC3\xA9")));
    const int made = entryOf(*folder->Dir1, g.file("Jos\xC3\xA9"));
    ASSERT_GE(made, 0);
    EXPECT_EQ(folder->Dir1->item(made)->text().trimmed(), QString::fromUtf8("José"));

    folder->Dir1->setPath(shots);
    folder->Command1_Click();
    EXPECT_EQ(w->SnapShotDir->text(), QString::fromStdString(g.path()) + QString::fromUtf8("/Shöts"));
    for (int i = 0; i < 5; ++i) w->Command1_Click();
    EXPECT_NE(g.read("korvex.wfd/config/korvex.cfg").find("\r\nsn-shotdir=" + shots + "\r\n"), std::string::npos);
}

TEST_F(WizardPickers, ClosingTheWizardTakesAnOpenPickerWithIt) {
    w->Command7_Click();
    w->Command2_Click();
    QPointer<frmGetScreenieDir> folder = w->screenieDirPicker();
    QPointer<frmGetGameSpyDir> program = w->gameSpyDirPicker();
    ASSERT_TRUE(folder && program);
    EXPECT_THROW(w->unload(), ProgramEnded);
    EXPECT_FALSE(folder);
    EXPECT_FALSE(program);
    EXPECT_TRUE(w->SnapShotDir->text().isEmpty());

    // A picker whose box has gone writes nothing and does not fail.
    auto* box = new LimitedTextBox;
    auto* p = new frmGetScreenieDir(box, &owner);
    delete box;
    p->Command1_Click();
    EXPECT_TRUE(p->isHidden());
}

// The pickers from the keyboard: Return in the folder list opens the highlighted folder and
// leaves the picker open; Return elsewhere is "&Okay"; Escape is "&Cancel".
TEST_F(Pickers, KeyboardOpensFoldersReturnIsOkayEscapeIsCancel) {
    auto activate = [](QWidget* w) {
        w->show();
        QApplication::setActiveWindow(w);
        return QTest::qWaitForWindowActive(w);
    };
    auto highlight = [](DirListBox* dirs, int row) {
        dirs->setFocus();
        while (dirs->currentRow() < row) QTest::keyClick(dirs, Qt::Key_Down);
        while (dirs->currentRow() > row) QTest::keyClick(dirs, Qt::Key_Up);
    };

    QPointer<frmGetScreenieDir> folder = new frmGetScreenieDir(&target, &owner);
    ASSERT_TRUE(activate(folder));
    highlight(folder->Dir1, entryOf(*folder->Dir1, g.file("Shots")));
    QTest::keyClick(folder->Dir1, Qt::Key_Return);
    EXPECT_EQ(folder->Dir1->path(), g.file("Shots"));
    EXPECT_TRUE(folder->isVisible());
    EXPECT_TRUE(target.text().isEmpty());
    QTest::keyClick(folder->Dir1, Qt::Key_Tab);
    ASSERT_NE(QApplication::focusWidget(), folder->Dir1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(fromUi(target.text()), g.file("Shots"));
    EXPECT_TRUE(!folder || folder->isHidden());

    QPointer<frmGetScreenieDir> cancelled = new frmGetScreenieDir(&target, &owner);
    ASSERT_TRUE(activate(cancelled));
    QTest::keyClick(cancelled->Dir1, Qt::Key_Down);
    QTest::keyClick(cancelled->Dir1, Qt::Key_Escape);
    EXPECT_TRUE(!cancelled || cancelled->isHidden());
    EXPECT_EQ(fromUi(target.text()), g.file("Shots"));

    // The program picker: open the folder, pick the program in the file list, Return.
    QPointer<frmGetGameSpyDir> program = new frmGetGameSpyDir(&target, &owner);
    ASSERT_TRUE(activate(program));
    highlight(program->Dir1, entryOf(*program->Dir1, g.file("GameSpy")));
    QTest::keyClick(program->Dir1, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(program->File1->path(), g.file("GameSpy"));
    ASSERT_GE(program->File1->count(), 1);
    program->File1->setFocus();
    QTest::keyClick(program->File1, Qt::Key_Home);
    QTest::keyClick(program->File1, Qt::Key_Space);
    ASSERT_EQ(program->File1->fileName(), "Aphex.exe");
    QTest::keyClick(program->File1, Qt::Key_Return);
    EXPECT_EQ(fromUi(target.text()), g.file("GameSpy/Aphex.exe"));
    EXPECT_TRUE(!program || program->isHidden());

    QPointer<frmGetGameSpyDir> closed = new frmGetGameSpyDir(&target, &owner);
    ASSERT_TRUE(activate(closed));
    QTest::keyClick(closed->Combo1, Qt::Key_Escape);
    EXPECT_TRUE(!closed || closed->isHidden());
    EXPECT_EQ(fromUi(target.text()), g.file("GameSpy/Aphex.exe"));
    EXPECT_TRUE(fake.boxes.empty());
}

} // namespace
