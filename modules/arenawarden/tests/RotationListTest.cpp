// The rotation list: adding and removing maps, clearing it, and cycle list files.
#include "ArenaFixture.h"

#include "frmCfgServ.h"
#include "frmLoadListDialog.h"

#include "core/Files.h"
#include "core/Text.h"
#include "shared/Ui.h"
#include "shared/widgets/FileControls.h"

#include <QCoreApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

namespace kx::arenawarden {
namespace {

const std::vector<std::string> kMaps = {"Hill", "Port", "Yard"};

class RotationList : public ArenaTest {
protected:
    frmCfgServ& window(const std::vector<std::string>& maps, const std::vector<std::string>& rotation) {
        auto& w = cfg();
        w.List1->clear();
        for (const auto& m : maps) w.List1->addItem(toUi(m));
        w.List2->clear();
        for (const auto& m : rotation) w.List2->addItem(toUi(m));
        return w;
    }
    frmLoadListDialog& openLoadDialog(frmCfgServ& w) {
        w.mnuListMenuLoadList_Click();
        if (!w.loadListDialog()) throw std::runtime_error("no load dialog");
        return *w.loadListDialog();
    }
    void pick(frmLoadListDialog& d, const std::string& file) {
        const auto files = d.File1->files();
        const auto it = std::find(files.begin(), files.end(), file);
        ASSERT_NE(it, files.end()) << file;
        d.File1->setCurrentRow(int(it - files.begin()));
        d.File1_Click();
    }
    std::string cycleList(const std::string& name) { return dir.read("korvex.wfd/config/cyclelists/" + name); }
};

TEST_F(RotationList, AddAppendsTheSelectedMapAndWalksDownTheMapList) {
    struct Case {
        std::vector<std::string> maps;
        int selected;
        std::string added;
        int selectedAfter;
    };
    const Case cases[] = {{kMaps, 2, "Yard", 0}, {kMaps, 1, "Port", 2}, {kMaps, 0, "Hill", 1},
                          {kMaps, -1, "", 0},    {{}, -1, "", -1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.selected);
        auto& w = window(c.maps, {"first"});
        selectListIndex(w.List1, c.selected);
        w.Command4_Click();
        EXPECT_EQ(items(w.List2), (std::vector<std::string>{"first", c.added}));
        EXPECT_EQ(listIndex(w.List1), c.selectedAfter);
        nextCase();
    }
}

TEST_F(RotationList, DoubleClickOnAMapAddsItWithoutMovingTheSelection) {
    auto& w = window(kMaps, {});
    selectListIndex(w.List1, 1);
    w.List1_DblClick();
    EXPECT_EQ(items(w.List2), std::vector<std::string>{"Port"});
    EXPECT_EQ(listIndex(w.List1), 1);
}

TEST_F(RotationList, RemoveTakesTheSelectedEntryAndSelectsTheFirst) {
    struct Case {
        std::vector<std::string> rotation;
        int selected;
        std::vector<std::string> after;
        int selectedAfter;
    };
    const Case cases[] = {{kMaps, 1, {"Hill", "Yard"}, 0},
                          {kMaps, 2, {"Hill", "Port"}, 0},
                          {kMaps, -1, kMaps, 0},
                          {{"Hill"}, 0, {}, -1},
                          {{}, -1, {}, -1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.selected);
        auto& w = window(kMaps, c.rotation);
        selectListIndex(w.List2, c.selected);
        w.Command5_Click();
        EXPECT_EQ(items(w.List2), c.after);
        EXPECT_EQ(listIndex(w.List2), c.selectedAfter);
        nextCase();
    }
}

TEST_F(RotationList, DoubleClickOnARotatedMapRemovesItAndLeavesNothingSelected) {
    auto& w = window(kMaps, kMaps);
    selectListIndex(w.List2, 2);
    w.List2_DblClick();
    EXPECT_EQ(items(w.List2), (std::vector<std::string>{"Hill", "Port"}));
    EXPECT_EQ(listIndex(w.List2), -1);
}

TEST_F(RotationList, ClearAsksFirst) {
    auto& w = window(kMaps, kMaps);
    fake.boxAnswers = {box::No, box::Yes};
    w.mnuListMenuClearList_Click();
    EXPECT_EQ(items(w.List2), kMaps);
    w.mnuListMenuClearList_Click();
    EXPECT_EQ(w.List2->count(), 0);
    ASSERT_EQ(fake.boxes.size(), 2u);
    EXPECT_EQ(fake.boxes[0].text, "Do you really want to clear the active list?");
    EXPECT_EQ(fake.boxes[0].style, 36);
    EXPECT_EQ(fake.boxes[0].title, "question.");
}

TEST_F(RotationList, SaveAndLoadRoundTrip) {
    auto& w = window(kMaps, {"Hill", "Port"});
    fake.inputAnswers = {std::string("weekend")};
    w.mnuListMenuSaveList_Click();
    ASSERT_EQ(fake.inputs.size(), 1u);
    EXPECT_EQ(fake.inputs[0].prompt, "Please enter an max 20 character filename, without extension.\r\n"
                                     "existing files, with the same name, will be overwritten.");
    EXPECT_EQ(fake.inputs[0].title, "Please enter filename");
    EXPECT_EQ(fake.inputs[0].defaultText, "newrotationlist");
    EXPECT_EQ(cycleList("weekend.nfo"), "Hill\r\nPort\r\n");
    EXPECT_EQ(listIndex(w.List2), 0);
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].text, "File saved successful.");
    EXPECT_EQ(fake.boxes[0].style, 64);
    EXPECT_EQ(fake.boxes[0].title, "info.");

    w.List2->clear();
    w.List2->addItem("other");
    auto& d = openLoadDialog(w);
    EXPECT_EQ(d.windowTitle().toStdString(), "load a rotation list...");
    EXPECT_FALSE(d.OKButton->isEnabled());
    pick(d, "weekend.nfo");
    EXPECT_TRUE(d.OKButton->isEnabled());
    d.OKButton_Click();
    EXPECT_EQ(items(w.List2), (std::vector<std::string>{"Hill", "Port"}));
    EXPECT_EQ(listIndex(w.List2), 0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(w.loadListDialog(), nullptr);
    EXPECT_EQ(fake.boxes.size(), 1u);
}

TEST_F(RotationList, TheEmptyNameSavesAHiddenFileTheDialogLists) {
    auto& w = window(kMaps, {"Yard"});
    fake.inputAnswers = {std::nullopt};
    w.mnuListMenuSaveList_Click();
    EXPECT_EQ(cycleList(".nfo"), "Yard\r\n");
    EXPECT_EQ(openLoadDialog(w).File1->files(), std::vector<std::string>{".nfo"});
}

TEST_F(RotationList, RefusedSavesLeaveTheFilesAsTheyWere) {
    dir.write("korvex.wfd/config/cyclelists/keep.nfo", "old\r\n");
    struct Case {
        std::string name;
        std::vector<std::string> rotation;
        std::string box;
    };
    const Case cases[] = {
        {"keep", {}, "The Cyclelist is clear, and can't be saved to disk"},
        {std::string(21, 'k'), {"a"}, "Filename is larger than 20 characters. aborting."},
        {"../keep", {"a"}, "An error occured while trying to perform the specified task.\r\nBad file name or number ( 52 )"},
        {"a:b", {"a"}, "An error occured while trying to perform the specified task.\r\nBad file name or number ( 52 )"},
        {"tab\tname", {"a"}, "An error occured while trying to perform the specified task.\r\nBad file name or number ( 52 )"},
        // Checked as typed, before ".nfo" is added.
        {".", {"a"}, "An error occured while trying to perform the specified task.\r\nBad file name or number ( 52 )"},
        {"..", {"a"}, "An error occured while trying to perform the specified task.\r\nBad file name or number ( 52 )"},
        {".keep", {"a"}, "An error occured while trying to perform the specified task.\r\nBad file name or number ( 52 )"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto& w = window(kMaps, c.rotation);
        fake.inputAnswers = {c.name};
        w.mnuListMenuSaveList_Click();
        EXPECT_EQ(boxTexts(fake), std::vector<std::string>{c.box});
        EXPECT_EQ(items(w.List2), c.rotation);
        fake.boxes.clear();
        nextCase();
    }
    EXPECT_EQ(cycleList("keep.nfo"), "old\r\n");
    EXPECT_EQ(listFiles(dir.file("korvex.wfd/config/cyclelists"), "*.*", true), std::vector<std::string>{"keep.nfo"});
    EXPECT_EQ(dir.read("korvex.wfd/keep.nfo"), "");
}

// A typed name becomes a UTF-8 file name, listed and loaded under the name the user sees.
TEST_F(RotationList, ATypedNameOutsideAsciiIsSavedListedAndLoadedAsUtf8) {
    auto& w = window(kMaps, {"Hill"});
    fake.inputAnswers = {std::string("Jos\xE9")}; // the input box gives Windows-1252
    w.mnuListMenuSaveList_Click();
    EXPECT_EQ(cycleList("Jos\xC3\xA9.nfo"), "Hill\r\n");
    w.List2->clear();
    auto& d = openLoadDialog(w);
    EXPECT_EQ(d.File1->item(0)->text(), QString::fromUtf8("José.nfo"));
    pick(d, "Jos\xC3\xA9.nfo");
    d.OKButton_Click();
    EXPECT_EQ(items(w.List2), std::vector<std::string>{"Hill"});
    EXPECT_EQ(boxTexts(fake), std::vector<std::string>{"File saved successful."});
}

TEST_F(RotationList, ASelectionMovedByKeysEnablesOk) {
    dir.write("korvex.wfd/config/cyclelists/a.nfo", "Port\r\n");
    dir.write("korvex.wfd/config/cyclelists/b.nfo", "Yard\r\n");
    auto& w = window(kMaps, {"x"});
    auto& d = openLoadDialog(w);
    d.File1->setFocus();
    QTest::keyClick(d.File1, Qt::Key_Down);
    QTest::keyClick(d.File1, Qt::Key_Down);
    EXPECT_TRUE(d.OKButton->isEnabled());
    EXPECT_EQ(d.File1->fileName(), "b.nfo");
    d.OKButton_Click();
    EXPECT_EQ(items(w.List2), std::vector<std::string>{"Yard"});
}

TEST_F(RotationList, LoadingKeepsDuplicatesAndEmptyLines) {
    dir.write("korvex.wfd/config/cyclelists/dup.nfo", "Hill\r\n\r\nHill\r\nPort");
    auto& w = window(kMaps, {"x"});
    auto& d = openLoadDialog(w);
    pick(d, "dup.nfo");
    d.File1_DblClick();
    EXPECT_EQ(items(w.List2), (std::vector<std::string>{"Hill", "", "Hill", "Port"}));
    EXPECT_TRUE(fake.boxes.empty());
}

// What the dialog lists it loads: a name found on disk is used as it is.
TEST_F(RotationList, ListedCycleListsWithAnyNameLoad) {
    for (const std::string file : {"a:b.nfo", "what?.nfo", "t\tab.nfo", "\"q\".nfo"}) {
        SCOPED_TRACE(file);
        dir.write("korvex.wfd/config/cyclelists/" + file, "Port\r\n");
        auto& w = window(kMaps, {"x"});
        auto& d = openLoadDialog(w);
        pick(d, file);
        QTest::mouseClick(d.OKButton, Qt::LeftButton);
        EXPECT_EQ(items(w.List2), std::vector<std::string>{"Port"});
        EXPECT_TRUE(fake.boxes.empty());
        nextCase();
    }
}

// A name that holds a path would name a sub-folder: the dialog does not list it.
TEST_F(RotationList, CycleListsWhoseNameHoldsAPathAreNotListed) {
    dir.write("korvex.wfd/config/cyclelists/a\\b.nfo", "Port\r\n");
    dir.write("korvex.wfd/config/cyclelists/a:b.nfo", "Port\r\n");
    auto& w = window(kMaps, {"x"});
    EXPECT_EQ(openLoadDialog(w).File1->files(), std::vector<std::string>{"a:b.nfo"});
}

TEST_F(RotationList, FailedLoadsReportTheirCode) {
    dir.write("korvex.wfd/config/cyclelists/empty.nfo", "");
    dir.write("korvex.wfd/config/cyclelists/gone.nfo", "a\r\n");
    struct Case {
        std::string file;
        std::vector<std::string> after;
        std::string code;
    };
    const Case cases[] = {{"empty.nfo", {}, "( 380 )"}, {"gone.nfo", {"x"}, "( 53 )"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        auto& w = window(kMaps, {"x"});
        auto& d = openLoadDialog(w);
        pick(d, c.file);
        if (c.file == "gone.nfo") removeFile(dir.file("korvex.wfd/config/cyclelists/gone.nfo"));
        d.OKButton_Click();
        EXPECT_EQ(items(w.List2), c.after);
        EXPECT_EQ(boxTexts(fake),
                  std::vector<std::string>{"An error occured while reading the cyclelist.\rErrorcode: " + c.code});
        EXPECT_EQ(fake.boxes[0].style, 48);
        EXPECT_EQ(fake.boxes[0].title, "error.");
        EXPECT_TRUE(d.isHidden());
        fake.boxes.clear();
        nextCase();
    }
}

TEST_F(RotationList, CancelChangesNothing) {
    dir.write("korvex.wfd/config/cyclelists/a.nfo", "a\r\n");
    auto& w = window(kMaps, {"x"});
    auto& d = openLoadDialog(w);
    pick(d, "a.nfo");
    d.CancelButton_Click();
    EXPECT_TRUE(d.isHidden());
    EXPECT_EQ(items(w.List2), std::vector<std::string>{"x"});
}

} // namespace
} // namespace kx::arenawarden
