// The screenshot backup and its folder stamp.
#include "LauncherFixture.h"

#include "Form1.h"
#include "Launcher.h"
#include "ScreenShots.h"

#include "core/Files.h"

#include <QAction>
#include <QDir>
#include <QTemporaryDir>

#include <gmock/gmock.h>

using namespace kx;
using namespace kx::launcher;
using kx::launcher::test::LauncherTest;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

namespace {

class BackupTest : public LauncherTest {
protected:
    void SetUp() override {
        LauncherTest::SetUp();
        setKorvexDir(D());
        state().gameDir = D();
        state().snapShotDir = D() + "/shots";
        dir.write("shots/.keep", "");
    }
    std::string folder() const { return "QF_SnapsBackUp_" + folderStampFromNow(); }
    std::string target(const std::string& name = "") const {
        return D() + "/shots/" + folder() + (name.empty() ? "" : "/" + name);
    }
    std::vector<std::string> backups() const { return listFolders(D() + "/shots"); }
    std::string errorBox(const std::string& description, const std::string& number) const {
        return "An error occured while performing the specified task.\r\nBackUp possibly not successful.\r\n" +
               description + "," + number;
    }
};

} // namespace

TEST(FolderStamp, EverySeparatorBecomesADashAndNothingElseChanges) {
    struct Case {
        std::string text, stamp;
    };
    const std::vector<Case> cases = {
        {"12/09/2026 8:55:08 AM", "12-09-2026 8-55-08 AM"},
        {"09.12.2026 08:55:08", "09-12-2026 08-55-08"},
        {"2026\\12\\09, 08:55", "2026-12-09- 08-55"},
        {"", ""},
        {"Thursday 9 December", "Thursday 9 December"},
    };
    for (const auto& c : cases) EXPECT_EQ(folderStamp(c.text), c.stamp) << c.text;
}

TEST_F(BackupTest, FolderStampIsAValidFolderName) {
    const std::string stamp = folderStampFromNow();
    EXPECT_TRUE(isValidFileName(stamp)) << stamp;
    EXPECT_EQ(stamp.find_first_of("/:\\,."), std::string::npos) << stamp;
}

TEST_F(BackupTest, MovesEveryTgaOfTheGameDirectoryIntoANewFolder) {
    dir.write("b.tga", "BB");
    dir.write("A.TGA", "AAA");
    dir.write("c.tga", "");
    dir.write("notes.txt", "stays");
    dir.write("sub/d.tga", "not in the game directory itself");

    EXPECT_EQ(backUpScreenShots(true), " 3 File(s) moved successfully.");
    EXPECT_THAT(listFiles(target(), "*.*"), ElementsAre("A.TGA", "b.tga", "c.tga"));
    EXPECT_EQ(readFile(target("A.TGA")), "AAA");
    EXPECT_THAT(listFiles(D(), "*.tga"), IsEmpty());
    EXPECT_TRUE(dir.exists("notes.txt"));
    EXPECT_TRUE(dir.exists("sub/d.tga"));
    EXPECT_THAT(logLines(), ElementsAreArray(std::vector<std::string>{"Called BackUpScreenShots().", ">> BackingUp to : " + folder(),
                                              ">> Copied File : " + target("A.TGA"),
                                              ">> Copied File : " + target("b.tga"),
                                              ">> Copied File : " + target("c.tga"),
                                              ">> 3 File(s) moved successfully."}));
    // Pending events run between files, not after the last.
    EXPECT_EQ(std::count(fake.calls.begin(), fake.calls.end(), "doEvents"), 2);
    EXPECT_TRUE(fake.boxes.empty());
}

TEST_F(BackupTest, NothingToMoveLeavesNoFolder) {
    EXPECT_EQ(backUpScreenShots(true), "No Files available to back up.");
    EXPECT_THAT(backups(), IsEmpty());
    EXPECT_THAT(logLines(), ElementsAre("Called BackUpScreenShots().", ">> BackingUp to : " + folder(),
                                        ">> No Files available to back up."));
    EXPECT_EQ(backUpScreenShots(false), "");
}

TEST_F(BackupTest, ASecondRunInTheSameSecondMovesNothing) {
    dir.write("one.tga", "1");
    ASSERT_EQ(backUpScreenShots(true), " 1 File(s) moved successfully.");
    dir.write("two.tga", "2");

    EXPECT_EQ(backUpScreenShots(true), "");
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].text, errorBox("Path/File access error", " 75"));
    EXPECT_EQ(fake.boxes[0].title, "error.");
    EXPECT_EQ(dir.read("two.tga"), "2");
    EXPECT_THAT(listFiles(target(), "*.*"), ElementsAre("one.tga"));
    const auto log = logLines();
    EXPECT_THAT(std::vector<std::string>(log.end() - 3, log.end()),
                ElementsAre("ERROR HANDLER Called! Type: ShowError()",
                            ">> $Description == BackUp possibly not successful.Path/File access error",
                            ">> %i Number == 75"));
}

TEST_F(BackupTest, NamesThatDifferOnlyInCaseBothSurvive) {
    dir.write("Shot.tga", "upper");
    dir.write("shot.tga", "lower");
    EXPECT_EQ(backUpScreenShots(true), " 2 File(s) moved successfully.");
    EXPECT_EQ(readFile(target("Shot.tga")), "upper");
    EXPECT_EQ(readFile(target("shot.tga")), "lower");
}

// A target that exists already (on a disk that ignores case, the other name of a case pair)
// refuses the copy: the source stays, the backup stops there and reports it.
TEST_F(BackupTest, ARefusedCopyLeavesItsSourceInPlace) {
    dir.write("a.tga", "a");
    dir.write("b.tga", "new b");
    dir.write("c.tga", "c");
    fake.onDoEvents = [&] {
        if (!fileExists(target("b.tga"))) dir.write("shots/" + folder() + "/b.tga", "older b");
    };
    EXPECT_EQ(backUpScreenShots(true), "");
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].text, errorBox("Path/File access error", " 75"));
    EXPECT_FALSE(dir.exists("a.tga"));
    EXPECT_EQ(dir.read("b.tga"), "new b");
    EXPECT_EQ(readFile(target("b.tga")), "older b");
    EXPECT_EQ(dir.read("c.tga"), "c");
}

TEST_F(BackupTest, MissingOrEmptySnapshotDirectoryIsAFailureAndMovesNothing) {
    dir.write("a.tga", "a");
    for (const std::string shots : {std::string(""), D() + "/no such folder"}) {
        SCOPED_TRACE(shots);
        fake.boxes.clear();
        state().snapShotDir = shots;
        EXPECT_EQ(backUpScreenShots(true), "");
        ASSERT_EQ(fake.boxes.size(), 1u);
        EXPECT_EQ(fake.boxes[0].text, errorBox("Path not found", " 76"));
        EXPECT_EQ(dir.read("a.tga"), "a");
    }
    EXPECT_THAT(listFolders(D()), ElementsAre("korvex.wfd", "shots"));
}

// The configured folder is found whatever its case; the backup folder is made in it.
TEST_F(BackupTest, SnapshotDirectoryIsResolvedIgnoringCase) {
    dir.write("a.tga", "a");
    state().snapShotDir = D() + "\\SHOTS";
    EXPECT_EQ(backUpScreenShots(true), " 1 File(s) moved successfully.");
    EXPECT_EQ(readFile(target("a.tga")), "a");
}

// A snapshot folder on another disk: each file is copied, then its source deleted.
TEST_F(BackupTest, MovesToASnapshotFolderOnAnotherDisk) {
    QTemporaryDir other(QDir::tempPath() == "/dev/shm" ? "/tmp/shots-XXXXXX" : "/dev/shm/shots-XXXXXX");
    if (!other.isValid()) GTEST_SKIP() << "no second disk to back up to";
    dir.write("a.tga", "aaa");
    dir.write("B.tga", "bb");
    state().snapShotDir = other.path().toStdString();
    EXPECT_EQ(backUpScreenShots(true), " 2 File(s) moved successfully.");
    const std::string made = other.path().toStdString() + "/" + folder();
    EXPECT_EQ(readFile(made + "/a.tga"), "aaa");
    EXPECT_EQ(readFile(made + "/B.tga"), "bb");
    EXPECT_THAT(listFiles(D(), "*.tga"), IsEmpty());
}

TEST_F(BackupTest, MenuItemShowsTheResultAndCannotStartASecondBackupWhileOneRuns) {
    dir.write("a.tga", "a");
    dir.write("b.tga", "b");
    Form1& f = form1();
    int clicks = 0;
    fake.onDoEvents = [&] {
        ++clicks;
        f.mnuToolsPlugInSNShots->trigger();
    };
    f.mnuToolsPlugInSNShots->trigger();
    EXPECT_EQ(clicks, 1);
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].text, " 2 File(s) moved successfully.");
    EXPECT_EQ(fake.boxes[0].style, 64);
    EXPECT_EQ(fake.boxes[0].title, "info.");
    const auto log = logLines();
    EXPECT_EQ(std::count(log.begin(), log.end(), "Called BackUpScreenShots()."), 1);
}
