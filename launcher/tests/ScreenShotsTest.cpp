// The screenshot backup and its folder stamp.
#include "LauncherFixture.h"

#include "Form1.h"
#include "Launcher.h"
#include "ScreenShots.h"

#include "core/Files.h"

#include <QAction>
#include <QDir>
#include <QLocale>
#include <QTemporaryDir>

#include <gmock/gmock.h>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include <algorithm>
#include <cstdlib>

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

// A regional format whose digits are not Latin: the folder stamp and the launch line's date
// still tell one day from the next, and no digit becomes "?". The test runs once more for each
// locale of the table as the process's LC_ALL (see CMakeLists.txt), which the system locale
// follows; in-process it sets each as Qt's default locale.
TEST_F(BackupTest, LatinDigitsInTheStampAndTheLaunchLineInAnyLocale) {
    const char* lcAll = std::getenv("LC_ALL");
    const QString env = lcAll ? QString::fromLatin1(lcAll) : QString();
    for (const char* prefix : {"fa_IR", "ar_EG", "bn_BD"})
        if (env.startsWith(QLatin1String(prefix)))
            ASSERT_NE(QLocale::system().zeroDigit(), QStringLiteral("0")) << "LC_ALL reaches the system locale";
    const auto latin = [](const std::string& text) {
        return text.find('?') == std::string::npos &&
               std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    };
    const QLocale original;
    for (const char* name : {"C", "en_US", "de_DE", "fa_IR", "ar_EG", "bn_BD"}) {
        SCOPED_TRACE(name);
        QLocale::setDefault(QLocale(QString::fromLatin1(name)));
        fake.clock = QDateTime(QDate(2026, 12, 10), QTime(13, 30, 38));
        const std::string today = folderStampFromNow();
        fake.advance(24LL * 3600 * 1000);
        const std::string tomorrow = folderStampFromNow();
        EXPECT_TRUE(latin(today)) << today;
        EXPECT_NE(today, tomorrow) << "each day's backup has a folder of its own";
        EXPECT_TRUE(isValidFileName(today)) << today;
        EXPECT_NE(today.find("2026"), std::string::npos) << today;
        EXPECT_NE(today.find("13-30-38"), std::string::npos) << today;
    }
    QLocale::setDefault(original);

    // The launch line of the loader.
    fake.clock = QDateTime(QDate(2026, 12, 10), QTime(13, 30, 38));
    dir.writeLines("korvex.wfd/config/korvex.cfg", {"playername=Bob"});
    runLoader();
    const auto log = logLines();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[1].rfind("KORVEX3.1 Launched..... 13:30:38 :: ", 0), 0u) << log[1];
    EXPECT_TRUE(latin(log[1])) << log[1];
    EXPECT_NE(log[1].find("2026"), std::string::npos) << log[1];
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

// A screenshot that is a symbolic link goes into the backup as the link: the file it names,
// elsewhere, gets no second name that an edit of the backup would change.
TEST_F(BackupTest, ALinkIsMovedAsTheLink) {
    dir.write("elsewhere/real.tga", "picture");
    const std::string real = dir.file("elsewhere/real.tga");
    ASSERT_EQ(::symlink(real.c_str(), dir.file("linked.tga").c_str()), 0);
    EXPECT_EQ(backUpScreenShots(true), " 1 File(s) moved successfully.");
    struct stat st{};
    ASSERT_EQ(::lstat(target("linked.tga").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    char to[4096] = {};
    ASSERT_GT(::readlink(target("linked.tga").c_str(), to, sizeof to - 1), 0);
    EXPECT_EQ(std::string(to), real);
    ASSERT_EQ(::stat(real.c_str(), &st), 0);
    EXPECT_EQ(st.st_nlink, 1u);
    EXPECT_FALSE(dir.exists("linked.tga"));
    EXPECT_EQ(dir.read("elsewhere/real.tga"), "picture");
}

// To a snapshot folder on another disk (/dev/shm): each file keeps its time and bits; and a
// file whose source cannot be deleted afterwards (an append-only game directory, which holds
// for root too) is logged as copied before the failure is shown.
TEST_F(BackupTest, AnotherDiskKeepsTimeAndBitsAndAnUndeletableSourceIsLoggedAsCopied) {
    char shm[] = "/dev/shm/korvex-XXXXXX";
    if (!::mkdtemp(shm)) GTEST_SKIP() << "no second file system";
    const std::string other = shm;
    struct Cleanup {
        std::string dir;
        ~Cleanup() { std::filesystem::remove_all(dir); }
    } cleanup{other};
    struct stat a{}, b{};
    ::stat(other.c_str(), &a);
    ::stat(D().c_str(), &b);
    if (a.st_dev == b.st_dev) GTEST_SKIP() << "no second file system";
    state().snapShotDir = other;

    dir.write("kept.tga", "kept");
    ::chmod(dir.file("kept.tga").c_str(), 0640);
    const struct timespec when[2] = {{1000000000, 0}, {1000000000, 0}};
    ::utimensat(AT_FDCWD, dir.file("kept.tga").c_str(), when, 0);
    ASSERT_EQ(backUpScreenShots(true), " 1 File(s) moved successfully.");
    const std::string first = other + "/" + folder() + "/kept.tga";
    struct stat st{};
    ASSERT_EQ(::stat(first.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(st.st_mtime, 1000000000);
    EXPECT_FALSE(dir.exists("kept.tga"));

    fake.advance(1000);
    dir.write("stuck.tga", "stuck");
    const int fd = ::open(D().c_str(), O_RDONLY | O_DIRECTORY);
    int flags = 0;
    if (::ioctl(fd, FS_IOC_GETFLAGS, &flags) != 0 || (flags |= FS_APPEND_FL, ::ioctl(fd, FS_IOC_SETFLAGS, &flags)) != 0) {
        ::close(fd);
        GTEST_SKIP() << "the game directory cannot be made append-only here";
    }
    const std::string result = backUpScreenShots(true);
    flags &= ~FS_APPEND_FL;
    ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
    ::close(fd);
    EXPECT_EQ(result, "");
    const std::string second = other + "/" + folder() + "/stuck.tga";
    EXPECT_EQ(readFile(second), "stuck");
    EXPECT_EQ(dir.read("stuck.tga"), "stuck") << "in both places";
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].text.rfind("An error occured while performing the specified task.\r\n"
                                       "BackUp possibly not successful.\r\n", 0), 0u) << fake.boxes[0].text;
    const auto log = logLines();
    ASSERT_GE(log.size(), 4u);
    EXPECT_THAT(std::vector<std::string>(log.end() - 4, log.end() - 2),
                ElementsAre(">> Copied File : " + second, "ERROR HANDLER Called! Type: ShowError()"));
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
