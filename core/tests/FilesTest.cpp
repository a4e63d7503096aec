#include "core/Files.h"
#include "core/testing/TempDir.h"
#include "core/RunError.h"
#include "core/Text.h"

#include <QFile>
#include <QUrl>

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>

using namespace kx;
using GameDir = kx::test::TempDir;

namespace {
int errorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const RunError& e) {
        return e.number();
    }
    return 0;
}
} // namespace

TEST(Paths, ResolveIgnoringCaseExactMatchFirst) {
    GameDir g;
    g.write("korvex.wfd/logs/a.log", "y");
    g.write("korvex.wfd/Logs/b.log", "x");
    EXPECT_EQ(resolvePath(g.path(), "korvex.wfd/logs/a.log"), g.file("korvex.wfd/logs/a.log"));
    EXPECT_EQ(resolvePath(g.path(), "korvex.wfd/Logs/b.log"), g.file("korvex.wfd/Logs/b.log"));
    // No exact match: the first in name order.
    EXPECT_EQ(resolvePath(g.path(), "KORVEX.WFD\\LOGS\\B.LOG"), g.file("korvex.wfd/Logs/b.log"));
}

TEST(Paths, ResolveSpellingsToOneFolder) {
    GameDir g;
    g.write("korvex.wfd/LevelAide/Step1.txt", "1");
    EXPECT_EQ(resolvePath(g.path(), "Korvex.wfd\\levelaide\\STEP1.TXT"), g.file("korvex.wfd/LevelAide/Step1.txt"));
    // Missing components are kept as written, so a new file lands in the resolved folder.
    EXPECT_EQ(resolvePath(g.path(), "KORVEX.WFD/Logs/new.log"), g.file("korvex.wfd/logs/new.log"));
    EXPECT_EQ(resolvePath(g.file("KORVEX.wfd/CONFIG")), g.file("korvex.wfd/config"));
    EXPECT_EQ(fileNameOf("a/b\\c.txt"), "c.txt");
    EXPECT_EQ(parentDir("/a/b"), "/a");
    EXPECT_EQ(parentDir("/a"), "/");
}

TEST(Files, AtomicWriteReplacesWholeOrNothing) {
    GameDir g;
    const std::string p = g.file("korvex.wfd/config/x.ini");
    writeFileAtomic(p, "old\r\n");
    writeLinesAtomic(p, {"new", ""});
    EXPECT_EQ(g.read("korvex.wfd/config/x.ini"), "new\r\n\r\n");

    // A folder that cannot be written: the old file stays byte-identical, no temporary left.
    if (::geteuid() != 0) {
        ::chmod(g.file("korvex.wfd/config").c_str(), 0555);
        EXPECT_EQ(errorOf([&] { writeFileAtomic(p, "lost"); }), 70);
        ::chmod(g.file("korvex.wfd/config").c_str(), 0755);
    }
    // A missing folder: 76, nothing created.
    EXPECT_EQ(errorOf([&] { writeFileAtomic(g.file("korvex.wfd/none/x.ini"), "a"); }), 76);
    // The target is a folder: rename fails, the temporary file is removed.
    EXPECT_NE(errorOf([&] { writeFileAtomic(g.file("korvex.wfd/logs"), "a"); }), 0);
    EXPECT_EQ(listFiles(g.file("korvex.wfd/config"), "*.*", true), std::vector<std::string>{"x.ini"});
    EXPECT_EQ(listFiles(g.file("korvex.wfd"), "*.*", true), std::vector<std::string>{});
}

TEST(Files, RewriteKeyLinesKeepsEveryOtherByte) {
    GameDir g;
    const std::string p = g.file("korvex.wfd/config/korvex.cfg");
    g.write("korvex.wfd/config/korvex.cfg",
            "//c\r\ndoautoexec=true\r\nplayername=a\nplayername=b\r\ndoautoexecX\r\n\r\nlast");
    EXPECT_EQ(rewriteKeyLines(p, "korvex.cfg.stp", 10, "doautoexec", "doautoexec=false"), 2);
    EXPECT_EQ(g.read("korvex.wfd/config/korvex.cfg"),
              "//c\r\ndoautoexec=false\r\nplayername=a\r\nplayername=b\r\ndoautoexec=false\r\n\r\nlast\r\n");
    EXPECT_FALSE(g.exists("korvex.wfd/config/korvex.cfg.stp"));
    // No such key: copied unchanged, the key is not added.
    EXPECT_EQ(rewriteKeyLines(p, "korvex.cfg.new", 10, "randomskin", "randomskin=true"), 0);
    EXPECT_EQ(g.read("korvex.wfd/config/korvex.cfg").find("randomskin"), std::string::npos);
    // A missing file: 53 and nothing created.
    EXPECT_EQ(errorOf([&] { rewriteKeyLines(g.file("korvex.wfd/config/none.cfg"), "t", 10, "a", "b"); }), 53);
    EXPECT_FALSE(g.exists("korvex.wfd/config/t"));
    // The temporary name is taken by a folder: the original stays as it was.
    const std::string before = g.read("korvex.wfd/config/korvex.cfg");
    g.write("korvex.wfd/config/korvex.cfg.stp/blocker", "");
    EXPECT_NE(errorOf([&] { rewriteKeyLines(p, "korvex.cfg.stp", 10, "doautoexec", "doautoexec=true"); }), 0);
    EXPECT_EQ(g.read("korvex.wfd/config/korvex.cfg"), before);
}

TEST(Files, AppendLineAndReads) {
    GameDir g;
    const std::string p = g.file("korvex.wfd/logs/Korvex.log");
    appendLine(p, "one");
    appendLine(p, "");
    appendLine(p, "two");
    EXPECT_EQ(g.read("korvex.wfd/logs/Korvex.log"), "one\r\n\r\ntwo\r\n");
    EXPECT_EQ(readLines(p), (std::vector<std::string>{"one", "", "two"}));
    EXPECT_EQ(errorOf([&] { appendLine(g.file("korvex.wfd/nolog/x.log"), "a"); }), 76);
    EXPECT_EQ(errorOf([&] { readFile(g.file("nothing.txt")); }), 53);
    EXPECT_EQ(errorOf([&] { readFile(g.file("korvex.wfd")); }), 75);
    EXPECT_EQ(fileLength(p), 12);
}

TEST(Files, ListsHoldRegularFilesInNameOrder) {
    GameDir g;
    for (const char* f : {"b.SPI", "a.spi", "C.spi", ".hidden.spi", "x.txt", "noext"}) g.write(std::string("korvex.wfd/plugins/") + f, "");
    g.write("korvex.wfd/plugins/dir.spi/inner", "");
    g.write("korvex.wfd/plugins/.git/x", "");
    const std::string d = g.file("korvex.wfd/plugins");
    EXPECT_EQ(listFiles(d, "*.spi"), (std::vector<std::string>{"a.spi", "b.SPI", "C.spi"}));
    EXPECT_EQ(listFiles(d, "*.spi", true), (std::vector<std::string>{".hidden.spi", "a.spi", "b.SPI", "C.spi"}));
    EXPECT_EQ(listFiles(d, "*.*").size(), 5u);
    EXPECT_EQ(listFolders(d), std::vector<std::string>{"dir.spi"});
    EXPECT_TRUE(listFiles(g.file("none"), "*.*").empty());
}

TEST(Files, PatternsAndNames) {
    struct Case {
        const char* name;
        const char* pattern;
        bool match;
    } cases[] = {
        {"Aphex.exe", "aphex.EXE", true}, {"GameSpy.exe", "Aphex.exe", false}, {"x", "*.*", true},
        {"cup.final.ini", "*.ini", true}, {"a.ini.bak", "*.ini", false},     {"a1.tga", "a?.tga", true},
        {"ab.tga", "a?b.tga", false},     {"", "*", true},
    };
    for (const auto& c : cases) EXPECT_EQ(matchesPattern(c.name, c.pattern), c.match) << c.name << " " << c.pattern;

    for (const char* good : {"cup", "my set 1", "a.b", "é"}) EXPECT_TRUE(isValidFileName(good)) << good;
    for (const char* bad : {"", ".", "..", "a/b", "a\\b", "c:", "x*", "q?", "\"q\"", "<", ">", "a|b", "a\tb", "a\rb"})
        EXPECT_FALSE(isValidFileName(bad)) << bad;
}

TEST(Files, CopyNeverOverwritesAndMakeDirReports) {
    GameDir g;
    g.write("a.tga", "A");
    g.write("b.tga", "B");
    EXPECT_EQ(errorOf([&] { copyFileNoOverwrite(g.file("a.tga"), g.file("b.tga")); }), 75);
    EXPECT_EQ(g.read("b.tga"), "B");
    copyFileNoOverwrite(g.file("a.tga"), g.file("c.tga"));
    EXPECT_EQ(g.read("c.tga"), "A");
    EXPECT_EQ(errorOf([&] { makeDir(g.file("korvex.wfd")); }), 75);
    EXPECT_EQ(errorOf([&] { makeDir(g.file("none/sub")); }), 76);
    EXPECT_EQ(errorOf([&] { removeFile(g.file("none.txt")); }), 53);
}

TEST(Files, ReadersTakeRegularFilesOnlyAndNeverWait) {
    GameDir g;
    const std::string fifo = g.file("korvex.wfd/config/korvex.cfg");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    // A pipe (no writer: an open without O_NONBLOCK would wait for ever), a device, a folder.
    for (const std::string& p : {fifo, std::string("/dev/null"), g.file("korvex.wfd")}) {
        EXPECT_EQ(errorOf([&] { readFile(p); }), 75) << p;
        EXPECT_EQ(errorOf([&] { readLines(p); }), 75) << p;
    }
    // The log writer too: a pipe with no reader and a device are refused, not written or waited on.
    EXPECT_EQ(errorOf([&] { appendLine(fifo, "x"); }), 75);
    EXPECT_EQ(errorOf([&] { appendLine("/dev/null", "x"); }), 75);
}

TEST(Files, LeftoverTemporariesOlderThanAMinuteGoAfterTheNextWrite) {
    GameDir g;
    const std::string dir = g.file("korvex.wfd/config");
    auto age = [&](const std::string& name, int seconds) {
        g.write("korvex.wfd/config/" + name, std::string(100, 'x'));
        const struct timespec t[2] = {{::time(nullptr) - seconds, 0}, {::time(nullptr) - seconds, 0}};
        ::utimensat(AT_FDCWD, (dir + "/" + name).c_str(), t, AT_SYMLINK_NOFOLLOW);
    };
    const std::string killed = tempFileName("servers.ini"), older = tempFileName("servers.ini");
    const std::string recent = tempFileName("servers.ini"), other = tempFileName("other.ini");
    age(killed, 120); // of a writer killed long ago
    age(older, 90);
    age(recent, 5);   // may belong to a write under way
    age(other, 120);  // another file's
    const std::string notOurs = killed.substr(0, killed.size() - 12) + "-keep";
    age(notOurs, 120); // not a name we make
    writeFileAtomic(dir + "/servers.ini", "A\r\n");
    std::vector<std::string> left = {other, notOurs, recent, "servers.ini"};
    std::sort(left.begin(), left.end(), [](const std::string& a, const std::string& b) {
        return lcase(a) != lcase(b) ? lcase(a) < lcase(b) : a < b;
    });
    EXPECT_EQ(listFiles(dir, "*.*", true), left);
}

TEST(Files, TemporaryNamesAreShortSoTheLongestNameCanBeWritten) {
    GameDir g;
    // The temporary of a name is as short as that of any other, and carries its name's mark.
    EXPECT_EQ(tempFileName(std::string(255, 'n')).size(), tempFileName("a").size());
    EXPECT_LE(tempFileName("a").size(), 32u);
    EXPECT_NE(tempFileName("a"), tempFileName("a"));
    const std::string dir = g.file("korvex.wfd/config");
    for (size_t len : {240u, 254u, 255u}) {
        const std::string name(len, 'k');
        const std::string p = dir + "/" + name;
        writeFileAtomic(p, "one\r\n");
        writeLinesAtomic(p, {"two"});
        EXPECT_EQ(rewriteKeyLines(p, "", 3, "two", "three"), 1) << len;
        EXPECT_EQ(readFile(p), "three\r\n") << len;
        ::unlink(p.c_str());
    }
    EXPECT_TRUE(listFiles(dir, "*.*", true).empty());
}

TEST(Files, BackslashInTheBaseDirectoryIsNoSeparator) {
    GameDir g("back\\slash");
    g.write("korvex.wfd/logs/Korvex.log", "");
    // Built from the base directory by hand (the launcher's log, the viewer's files): the
    // folder "back\slash" exists and is used as it is; the rest still resolves ignoring case.
    EXPECT_EQ(resolvePath(g.path() + "/Korvex.wfd/Logs/Korvex.log"), g.file("korvex.wfd/logs/Korvex.log"));
    EXPECT_EQ(resolvePath(g.path(), "KORVEX.WFD\\LOGS\\korvex.log"), g.file("korvex.wfd/logs/Korvex.log"));
    appendLine(resolvePath(g.path() + "/Korvex.wfd/Logs/Korvex.log"), "line");
    EXPECT_EQ(g.read("korvex.wfd/logs/Korvex.log"), "line\r\n");
    // In a data value a "\" still separates.
    EXPECT_EQ(resolvePath(g.path() + "/korvex.wfd\\LOGS"), g.file("korvex.wfd/logs"));
}

TEST(Files, NewFilesTakeTheUmaskReplacedOnesTheirOldBits) {
    GameDir g;
    const mode_t before = ::umask(027);
    struct stat st{};
    writeFileAtomic(g.file("new.ini"), "a");
    appendLine(g.file("new.log"), "a");
    for (const char* f : {"new.ini", "new.log"}) {
        ::stat(g.file(f).c_str(), &st);
        EXPECT_EQ(st.st_mode & 0777, 0640u) << f;
    }
    ::chmod(g.file("new.ini").c_str(), 0604);
    writeFileAtomic(g.file("new.ini"), "b");
    ::stat(g.file("new.ini").c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0604u);
    ::umask(before);
}

namespace {
struct stat statOf(const std::string& p) {
    struct stat st{};
    ::lstat(p.c_str(), &st);
    return st;
}
std::string linkOf(const std::string& p) {
    char buf[4096];
    const ssize_t n = ::readlink(p.c_str(), buf, sizeof buf);
    return n < 0 ? "" : std::string(buf, size_t(n));
}
} // namespace

TEST(WorkFiles, MadeAnewWhateverStandsAtTheName) {
    GameDir g;
    g.write("outside/level.dat", "the player's file");
    const std::string outside = g.file("outside/level.dat");
    struct Case {
        const char* what;
        std::function<void(const std::string&)> plant;
    } cases[] = {
        {"nothing", [](const std::string&) {}},
        {"a link to a file elsewhere", [&](const std::string& p) { ::symlink(outside.c_str(), p.c_str()); }},
        {"a dangling link", [&](const std::string& p) { ::symlink(g.file("outside/new.dat").c_str(), p.c_str()); }},
        {"an old read-only work file", [&](const std::string& p) { g.write("lvl/data1.qfs", "old"); ::chmod(p.c_str(), 0444); }},
        {"a pipe", [](const std::string& p) { ::mkfifo(p.c_str(), 0644); }},
    };
    const mode_t mask = ::umask(022);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        g.write("lvl/keep", "");
        const std::string p = g.file("lvl/data1.qfs");
        ::unlink(p.c_str());
        c.plant(p);
        writeWorkLines(p, {"L0001", "x"});
        EXPECT_TRUE(S_ISREG(statOf(p).st_mode));
        EXPECT_EQ(statOf(p).st_mode & 0777, 0644u);
        EXPECT_EQ(g.read("lvl/data1.qfs"), "L0001\r\nx\r\n");
        EXPECT_EQ(g.read("outside/level.dat"), "the player's file");
        EXPECT_FALSE(g.exists("outside/new.dat"));
    }
    ::umask(mask);
    // A folder at the name stays; a folder without its write bit (root too) or a missing one
    // refuses with nothing changed.
    g.write("lvl/data1.new/inner", "i");
    EXPECT_EQ(errorOf([&] { writeWorkFile(g.file("lvl/data1.new"), "x"); }), 75);
    EXPECT_EQ(g.read("lvl/data1.new/inner"), "i");
    ::chmod(g.file("lvl").c_str(), 0555);
    EXPECT_EQ(errorOf([&] { writeWorkFile(g.file("lvl/data1.qfs"), "other"); }), 70);
    ::chmod(g.file("lvl").c_str(), 0755);
    EXPECT_EQ(g.read("lvl/data1.qfs"), "L0001\r\nx\r\n");
    EXPECT_EQ(errorOf([&] { writeWorkFile(g.file("none/data1.qfs"), "x"); }), 76);
}

TEST(WorkFiles, ReplaceFileWithKeepsTheWholeFileRules) {
    GameDir g;
    const std::string from = g.file("lvl/data1.new"), to = g.file("lvl/data1.bin");
    auto fresh = [&](mode_t toMode) {
        ::unlink(to.c_str());
        g.write("lvl/data1.new", "new");
        g.write("lvl/data1.bin", "old");
        ::chmod(to.c_str(), toMode);
    };
    // Replaced, its bits kept, the work file gone.
    fresh(0640);
    replaceFileWith(from, to);
    EXPECT_EQ(g.read("lvl/data1.bin"), "new");
    EXPECT_EQ(statOf(to).st_mode & 0777, 0640u);
    EXPECT_FALSE(g.exists("lvl/data1.new"));
    // Without its owner's write bit (also for root), or in a folder without it: 70, both stay.
    fresh(0444);
    EXPECT_EQ(errorOf([&] { replaceFileWith(from, to); }), 70);
    EXPECT_EQ(g.read("lvl/data1.bin"), "old");
    EXPECT_EQ(g.read("lvl/data1.new"), "new");
    EXPECT_EQ(statOf(to).st_mode & 0777, 0444u);
    fresh(0644);
    ::chmod(g.file("lvl").c_str(), 0555);
    EXPECT_EQ(errorOf([&] { replaceFileWith(from, to); }), 70);
    ::chmod(g.file("lvl").c_str(), 0755);
    EXPECT_EQ(g.read("lvl/data1.bin"), "old");
    // A link stays a link; the file it names is replaced with its mode kept, on this disk or
    // another.
    std::vector<std::string> elsewhere = {g.file("outside/level.bin")};
    char shm[] = "/dev/shm/korvex-XXXXXX";
    const bool haveShm = ::mkdtemp(shm) != nullptr;
    if (haveShm) elsewhere.push_back(std::string(shm) + "/level.bin");
    for (const auto& real : elsewhere) {
        SCOPED_TRACE(real);
        g.write("outside/keep", "");
        fresh(0644);
        ::unlink(to.c_str());
        std::string cmd;
        const int fd = ::open(real.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ASSERT_EQ(::write(fd, "old", 3), 3);
        ::close(fd);
        ::chmod(real.c_str(), 0604);
        ASSERT_EQ(::symlink(real.c_str(), to.c_str()), 0);
        replaceFileWith(from, to);
        EXPECT_EQ(linkOf(to), real);
        EXPECT_EQ(readFile(real), "new");
        EXPECT_EQ(statOf(real).st_mode & 0777, 0604u);
        EXPECT_FALSE(g.exists("lvl/data1.new"));
        ::unlink(real.c_str());
    }
    if (haveShm) ::rmdir(shm);
    // A new file takes 0666 less the umask; a link in from's place is no complete file.
    ::unlink(to.c_str());
    g.write("lvl/data1.new", "new");
    ::chmod(from.c_str(), 0600);
    const mode_t mask = ::umask(027);
    replaceFileWith(from, to);
    ::umask(mask);
    EXPECT_EQ(statOf(to).st_mode & 0777, 0640u);
    ::symlink(g.file("outside/keep").c_str(), from.c_str());
    EXPECT_EQ(errorOf([&] { replaceFileWith(from, to); }), 75);
    EXPECT_EQ(g.read("lvl/data1.bin"), "new");
    EXPECT_EQ(errorOf([&] { replaceFileWith(g.file("lvl/none"), to); }), 53);
}

TEST(WorkFiles, KeepCopyBeforeReplaceNeverOverwrites) {
    GameDir g;
    const std::string p = g.file("lvl/data1.qfs");
    EXPECT_EQ(keepCopyBeforeReplace(p, "new", "2026-05-01 13-30-38"), ""); // missing
    g.write("lvl/data1.qfs", "original");
    ::chmod(p.c_str(), 0640);
    EXPECT_EQ(keepCopyBeforeReplace(p, "original", "2026-05-01 13-30-38"), ""); // the same bytes
    EXPECT_EQ(keepCopyBeforeReplace(p, "new", "2026-05-01 13-30-38"), p + ".2026-05-01 13-30-38");
    EXPECT_EQ(g.read("lvl/data1.qfs.2026-05-01 13-30-38"), "original");
    EXPECT_EQ(statOf(p + ".2026-05-01 13-30-38").st_mode & 0777, 0640u);
    EXPECT_EQ(statOf(p + ".2026-05-01 13-30-38").st_mtime, statOf(p).st_mtime);
    // The stamped name taken (by an earlier copy, or a link planted there): the next free one.
    g.write("lvl/data1.qfs", "second");
    EXPECT_EQ(keepCopyBeforeReplace(p, "new", "2026-05-01 13-30-38"), p + ".2026-05-01 13-30-38-2");
    ::symlink(g.file("outside").c_str(), (p + ".2026-05-01 13-30-38-3").c_str());
    g.write("lvl/data1.qfs", "third");
    EXPECT_EQ(keepCopyBeforeReplace(p, "new", "2026-05-01 13-30-38"), p + ".2026-05-01 13-30-38-4");
    EXPECT_EQ(g.read("lvl/data1.qfs.2026-05-01 13-30-38"), "original");
    EXPECT_EQ(g.read("lvl/data1.qfs.2026-05-01 13-30-38-2"), "second");
    EXPECT_FALSE(g.exists("outside"));
    // Cannot keep it: raised, so the caller does not replace.
    ::chmod(g.file("lvl").c_str(), 0555);
    EXPECT_EQ(errorOf([&] { keepCopyBeforeReplace(p, "new", "later"); }), 70);
    ::chmod(g.file("lvl").c_str(), 0755);
    EXPECT_FALSE(g.exists("lvl/data1.qfs.later"));
}

TEST(Moves, ALinkMovesAsTheLinkAndAnotherDiskKeepsTimesAndBits) {
    GameDir g;
    g.write("shots/elsewhere.tga", "picture");
    const std::string real = g.file("shots/elsewhere.tga");
    g.write("backup/keep", "");
    ASSERT_EQ(::symlink(real.c_str(), g.file("shot1.tga").c_str()), 0);
    bool arrived = false;
    moveFileNoOverwrite(g.file("shot1.tga"), g.file("backup/shot1.tga"), &arrived);
    EXPECT_TRUE(arrived);
    EXPECT_EQ(linkOf(g.file("backup/shot1.tga")), real);
    EXPECT_EQ(statOf(real).st_nlink, 1u); // the file it names got no second name
    EXPECT_FALSE(g.exists("shot1.tga"));
    // Never over an existing name.
    g.write("shot2.tga", "two");
    g.write("backup/shot2.tga", "kept");
    EXPECT_EQ(errorOf([&] { moveFileNoOverwrite(g.file("shot2.tga"), g.file("backup/shot2.tga"), &arrived); }), 75);
    EXPECT_FALSE(arrived);
    EXPECT_EQ(g.read("backup/shot2.tga"), "kept");
    EXPECT_EQ(errorOf([&] { moveFileNoOverwrite(g.file("none.tga"), g.file("backup/none.tga")); }), 53);

    char shm[] = "/dev/shm/korvex-XXXXXX";
    if (!::mkdtemp(shm)) GTEST_SKIP() << "no second file system";
    const std::string other = shm;
    struct stat a{}, b{};
    ::stat(other.c_str(), &a);
    ::stat(g.path().c_str(), &b);
    if (a.st_dev == b.st_dev) {
        ::rmdir(shm);
        GTEST_SKIP() << "no second file system";
    }
    // A file: copied with its modification time and bits, then deleted.
    g.write("shot3.tga", "three");
    ::chmod(g.file("shot3.tga").c_str(), 0604);
    const struct timespec t[2] = {{1000000000, 0}, {1000000000, 0}};
    ::utimensat(AT_FDCWD, g.file("shot3.tga").c_str(), t, 0);
    moveFileNoOverwrite(g.file("shot3.tga"), other + "/shot3.tga", &arrived);
    EXPECT_TRUE(arrived);
    EXPECT_EQ(readFile(other + "/shot3.tga"), "three");
    EXPECT_EQ(statOf(other + "/shot3.tga").st_mode & 0777, 0604u);
    EXPECT_EQ(statOf(other + "/shot3.tga").st_mtime, 1000000000);
    EXPECT_FALSE(g.exists("shot3.tga"));
    // A link: made anew there as the same link.
    ::symlink(real.c_str(), g.file("shot4.tga").c_str());
    moveFileNoOverwrite(g.file("shot4.tga"), other + "/shot4.tga");
    EXPECT_EQ(linkOf(other + "/shot4.tga"), real);
    EXPECT_FALSE(g.exists("shot4.tga"));
    EXPECT_EQ(g.read("shots/elsewhere.tga"), "picture");
    // The source cannot be deleted (a folder where nothing may be removed, also for root):
    // the file has arrived, then the failure is raised.
    g.write("fixed/shot5.tga", "five");
    const int dfd = ::open(g.file("fixed").c_str(), O_RDONLY | O_DIRECTORY);
    int flags = 0;
    const bool appendOnly = ::ioctl(dfd, FS_IOC_GETFLAGS, &flags) == 0 &&
                            (flags |= FS_APPEND_FL, ::ioctl(dfd, FS_IOC_SETFLAGS, &flags) == 0);
    if (!appendOnly && ::geteuid() != 0) ::chmod(g.file("fixed").c_str(), 0555);
    if (appendOnly || ::geteuid() != 0) {
        arrived = false;
        EXPECT_NE(errorOf([&] { moveFileNoOverwrite(g.file("fixed/shot5.tga"), other + "/shot5.tga", &arrived); }), 0);
        EXPECT_TRUE(arrived);
        EXPECT_EQ(readFile(other + "/shot5.tga"), "five");
        EXPECT_TRUE(g.exists("fixed/shot5.tga"));
    }
    if (appendOnly) {
        flags &= ~FS_APPEND_FL;
        ::ioctl(dfd, FS_IOC_SETFLAGS, &flags);
    }
    ::chmod(g.file("fixed").c_str(), 0755);
    ::close(dfd);
    for (const char* f : {"/shot3.tga", "/shot4.tga", "/shot5.tga"}) ::unlink((other + f).c_str());
    ::rmdir(shm);
}

TEST(LocalFiles, AddressesNameTheExactBytes) {
    const std::string cases[] = {
        "/games/Quellfort/korvex.wfd/helpfiles/index.htm",
        "/games/g #1/help.htm",
        "/games/what?/help.htm",
        "/games/100%41/a b.htm",
        "/home/Jos\xC3\xA9/help.htm",
        "/home/Jos\xE9/help.htm", // not UTF-8
        "/tmp/tab\there/ctl\x01.htm",
    };
    for (const auto& p : cases) {
        SCOPED_TRACE(p);
        const std::string url = localFileUrl(p);
        EXPECT_EQ(url.rfind("file:///", 0), 0u);
        for (char c : url.substr(7)) {
            EXPECT_GT(static_cast<unsigned char>(c), 32) << url;
            EXPECT_LT(static_cast<unsigned char>(c), 127) << url;
            EXPECT_TRUE(c != '#' && c != '?') << url;
        }
        const QUrl parsed = QUrl::fromEncoded(QByteArray::fromStdString(url), QUrl::StrictMode);
        EXPECT_TRUE(parsed.isValid());
        EXPECT_TRUE(parsed.isLocalFile());
        EXPECT_TRUE(parsed.fragment().isEmpty() && parsed.query().isEmpty());
        EXPECT_EQ(QByteArray::fromPercentEncoding(parsed.path(QUrl::FullyEncoded).toLatin1()).toStdString(), p);
        // Bytes that are not UTF-8 have no QString form: they stay percent-encoded in the path.
        const bool ascii = std::all_of(p.begin(), p.end(), [](char c) { return static_cast<unsigned char>(c) < 128; });
        if (ascii || isUtf8WithHighBytes(p))
            EXPECT_EQ(QFile::encodeName(parsed.toLocalFile()).toStdString(), p);
    }
    EXPECT_EQ(localFileUrl("/games/g #1/a?.htm"), "file:///games/g%20%231/a%3F.htm");
}

TEST(LocalFiles, RequireRegularFileAndUsableDiskNames) {
    GameDir g;
    g.write("templates/chat_startup.htm", "<html>");
    const std::string fifo = g.file("templates/pipe.htm");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    requireRegularFile(g.file("templates/chat_startup.htm"));
    EXPECT_EQ(errorOf([&] { requireRegularFile(fifo); }), 75); // never a wait
    EXPECT_EQ(errorOf([&] { requireRegularFile("/dev/null"); }), 75);
    EXPECT_EQ(errorOf([&] { requireRegularFile(g.file("templates")); }), 75);
    EXPECT_EQ(errorOf([&] { requireRegularFile(g.file("templates/none.htm")); }), 53);
    EXPECT_EQ(errorOf([&] { requireRegularFile(g.file("none/none.htm")); }), 76);

    struct Case {
        std::string name;
        bool usable, inLine;
    } cases[] = {
        {"Tool: Map.spi", true, true}, {"what?.spi", true, true}, {"\"q\".ini", true, true},
        {"a\tb", true, true},          {"colon:name", true, true}, {"..x", true, true},
        {"", false, false},            {".", false, false},        {"..", false, false},
        {"a/b", false, false},         {"back\\slash", false, false},
        {"line\nbreak", true, false},  {"cr\rname", true, false},  {std::string("nul\0x", 5), true, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(isUsableDiskName(c.name, false), c.usable) << c.name;
        EXPECT_EQ(isUsableDiskName(c.name, true), c.inLine) << c.name;
    }
}
