#include "core/Files.h"
#include "shared/testing/GameDir.h"
#include "core/RunError.h"

#include <gtest/gtest.h>

#include <ctime>

#include <fcntl.h>
#include <sys/stat.h>

using namespace kx;
using kx::test::GameDir;

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
    age(".servers.ini.tmp4924", 120);       // of a writer killed long ago
    age(".servers.ini.tmpab12cd34ef56", 90);
    age(".servers.ini.tmp77", 5);           // may belong to a write under way
    age(".other.ini.tmp4924", 120);         // another file's
    age(".servers.ini.tmp-keep", 120);      // not a name we make
    writeFileAtomic(dir + "/servers.ini", "A\r\n");
    EXPECT_EQ(listFiles(dir, "*.*", true),
              (std::vector<std::string>{".other.ini.tmp4924", ".servers.ini.tmp-keep", ".servers.ini.tmp77", "servers.ini"}));
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
