// Every writer of the suite's files against the faults a careless machine or a hostile user
// brings: a read-only folder, a read-only file, a target that is a symbolic link, a full file
// system (a file size limit in a child process) and a link planted at a temporary name.
// A fault the writer must refuse leaves the old bytes as they were and is reported with its
// run error number on the writer's own path (a RunError, the program's error box, the log's
// note); a link is followed to the file it names, and nothing planted is ever written through.
#include "ModuleState.h"
#include "ServerList.h"
#include "ServerSets.h"
#include "frmCfgServ.h"
#include "frmJoiner.h"

#include "core/Files.h"
#include "core/RunError.h"
#include "core/Text.h"
#include "platform/FakePlatform.h"
#include "platform/RealParts.h"
#include "shared/KorvexConfig.h"
#include "shared/Launch.h"
#include "shared/Program.h"
#include "shared/testing/GameDir.h"

#include <QListWidget>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <functional>
#include <regex>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kx {
namespace {

using test::GameDir;

const std::string kOld = "old\r\n";

// A writer: its target (relative to the game directory) and one write, which gives the run
// error number it reported (0 for none).
struct Writer {
    std::string name;
    std::string rel;
    bool appends = false;
    std::function<int()> write;
    std::string old = kOld; // the file's bytes before the write
};

int numberOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const RunError& e) {
        return e.number();
    }
    return 0;
}

// The number a program's boxes reported; -1 when a box announced a success all the same.
int reportedInBoxes(const FakePlatform& fake) {
    int number = 0;
    bool success = false;
    for (const auto& b : fake.boxes) {
        bool announced = false;
        for (const char* words : {"Server added!", "created sucessfully", "File saved successful."})
            announced = announced || b.text.find(words) != std::string::npos;
        success = success || announced;
        if (announced) continue;
        // The cycle-list save has its own words for a full disk.
        if (b.text == "The Cyclelist is clear, and can't be saved to disk") number = err::DiskFull;
        std::smatch m;
        if (std::regex_search(b.text, m, std::regex("([0-9]+) ?\\)?$"))) number = std::stoi(m[1]);
    }
    return success && number ? -1 : number;
}

// What f writes to standard error, through a pipe (a file could not grow under a size limit).
std::string stderrOf(const std::function<void()>& f) {
    int fds[2];
    if (::pipe(fds) != 0) return "";
    std::fflush(stderr);
    const int saved = ::dup(2);
    ::dup2(fds[1], 2);
    f();
    std::fflush(stderr);
    ::dup2(saved, 2);
    ::close(saved);
    ::close(fds[1]);
    std::string out;
    char buf[4096];
    for (ssize_t n; (n = ::read(fds[0], buf, sizeof buf)) > 0;) out.append(buf, size_t(n));
    ::close(fds[0]);
    return out;
}

class WriteFaults : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("XDG_CONFIG_HOME", g.file("xdg").c_str(), 1);
        g.write("xdg/Korvex/.keep", "");
        readFiles();
    }
    void readFiles() {
        // What the dedicated-server module's configuration window reads at its load.
        g.writeLines("korvex.wfd/config/korvex.cfg", {"playername=Bob", "host-maxpl= 6", "host-gamet= 1"});
        g.writeLines("levels.nfo", {"L0001the airbase0001:mp"});
        g.write("korvex.wfd/config/cyc_welcome.ini", "Welcome\r\n");
        fake.settings["Korvex|settings|dsmloadserverset"] = "NONE";
        fake.boxes.clear();
    }
    void TearDown() override {
        arenawarden::resetModule();
        if (saved_) ::setenv("XDG_CONFIG_HOME", saved_->c_str(), 1);
        else ::unsetenv("XDG_CONFIG_HOME");
    }

    std::vector<Writer> writers() {
        const std::string dir = g.path();
        auto file = [this](const std::string& rel) { return g.file(rel); };
        auto programBoxes = [this](const std::function<void()>& act) {
            fake.boxes.clear();
            act();
            return reportedInBoxes(fake);
        };
        auto arena = [this, dir] {
            arenawarden::resetModule();
            arenawarden::state().korvexDir = dir;
            fake.current = dir;
            arenawarden::frmCfgServ* w = arenawarden::loadCfgServ();
            if (!w) throw std::runtime_error("the configuration window did not load");
            w->List2->clear();
            w->List2->addItem("the airbase");
            w->List2->addItem("the bunker");
            return w;
        };
        return {
            {"writeFileAtomic", "korvex.wfd/config/x.ini", false,
             [=] { return numberOf([&] { writeFileAtomic(file("korvex.wfd/config/x.ini"), "new bytes\r\n"); }); }},
            {"writeLinesAtomic", "korvex.wfd/config/x.ini", false,
             [=] { return numberOf([&] { writeLinesAtomic(file("korvex.wfd/config/x.ini"), {"new", "lines"}); }); }},
            {"appendLine", "korvex.wfd/config/x.log", true,
             [=] { return numberOf([&] { appendLine(file("korvex.wfd/config/x.log"), "a new line"); }); }},
            {"appendLines", "korvex.wfd/config/x.log", true,
             [=] { return numberOf([&] { appendLines(file("korvex.wfd/config/x.log"), {"one", "two"}, true); }); }},
            {"korvex.cfg writer", "korvex.wfd/config/korvex.cfg", false,
             [=] { return numberOf([&] { writeConfig(dir, ConfigValues{}); }); }},
            {"key-line rewrite", "korvex.wfd/config/korvex.cfg", false,
             [=] { return numberOf([&] { rewriteConfigLine(dir, cfgkey::DoAutoexec, "false, as asked", "korvex.cfg.stp"); }); },
             "doautoexec=true\r\n"},
            {"Add Server", "korvex.wfd/config/servers.ini", true,
             [=, this] {
                 seatfinder::frmJoiner w(dir);
                 w.Form_Load();
                 fake.inputAnswers = {std::string("New Server"), std::string("192.0.2.1:24711")};
                 return programBoxes([&] { w.Command2_Click(); });
             }},
            {"server-set save", "korvex.wfd/config/serversets/cup.ini", false,
             [=, this] {
                 auto* w = arena();
                 return programBoxes([&] { arenawarden::SaveServerSet(*w, "cup"); });
             }},
            {"cycle-list save", "korvex.wfd/config/cyclelists/weekend.nfo", false,
             [=, this] {
                 auto* w = arena();
                 fake.inputAnswers = {std::string("weekend")};
                 return programBoxes([&] { w->mnuListMenuSaveList_Click(); });
             }},
            {"settings store", "xdg/Korvex/Korvex.ini", false,
             [] { return numberOf([] { real::writeSetting("Korvex", "settings", "korvexdir", "/games/new"); }); }},
            {"registry store", "xdg/Korvex/registry.reg", false,
             [] { return numberOf([] { real::registrySet("HKEY_CURRENT_USER\\Software\\Q", "Path", reg::Sz, "/games/new"); }); }},
            {"launcher log", "korvex.wfd/logs/Korvex.log", true,
             [=, this] {
                 // The log goes on without the line and says so once, with the number.
                 const std::string note =
                     stderrOf([&] { LogFile(dir + "/Korvex.wfd/Logs/Korvex.log").write("KORVEX3.1 Launched"); });
                 std::smatch m;
                 return std::regex_search(note, m, std::regex(", ([0-9]+)\\)")) ? std::stoi(m[1]) : 0;
             }},
        };
    }

    // Runs the write in a child process whose files may not grow past limit bytes.
    static int writeWithSizeLimit(const Writer& w, rlim_t limit) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            prepareProcess(); // the programs' own set-up: a failed write then reports EFBIG
            const rlimit r{limit, limit};
            ::setrlimit(RLIMIT_FSIZE, &r);
            int n = 200;
            try {
                n = w.write();
            } catch (...) {
            }
            ::_exit(n < 0 ? 201 : n);
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : 300;
    }

    std::vector<std::string> folderEntries(const std::string& rel) {
        return listFiles(parentDir(g.file(rel)), "*.*", true);
    }

    FakePlatform fake;
    GameDir g;
    std::optional<std::string> saved_ = std::getenv("XDG_CONFIG_HOME") ? std::optional<std::string>(std::getenv("XDG_CONFIG_HOME")) : std::nullopt;
};

TEST_F(WriteFaults, RefusedWritesKeepTheOldBytesAndReportTheirNumber) {
    for (const auto& w : writers()) {
        SCOPED_TRACE(w.name);
        readFiles();
        const std::string path = g.file(w.rel), folder = parentDir(path);
        const auto others = [&] {
            auto names = folderEntries(w.rel);
            std::erase(names, fileNameOf(path));
            return names;
        };

        // Read-only file: refused with 70, the file as it was, also for root.
        g.write(w.rel, w.old);
        const auto before = others();
        ::chmod(path.c_str(), 0444);
        EXPECT_EQ(w.write(), err::PermissionDenied);
        EXPECT_EQ(g.read(w.rel), w.old);
        struct stat st{};
        ::stat(path.c_str(), &st);
        EXPECT_EQ(st.st_mode & 0777, 0444u);
        ::chmod(path.c_str(), 0644);

        // Read-only folder: no new file there (for a whole-file writer not even its temporary).
        ::chmod(folder.c_str(), 0555);
        if (w.appends) {
            ::unlink(path.c_str());
            EXPECT_EQ(w.write(), err::PermissionDenied);
            EXPECT_FALSE(g.exists(w.rel));
        } else {
            EXPECT_EQ(w.write(), err::PermissionDenied);
            EXPECT_EQ(g.read(w.rel), w.old);
        }
        ::chmod(folder.c_str(), 0755);
        g.write(w.rel, w.old);

        // Full file system: the write fails part-way; the old bytes stay, no temporary is left.
        EXPECT_EQ(writeWithSizeLimit(w, w.old.size() + 3), err::DiskFull);
        EXPECT_EQ(g.read(w.rel), w.old);
        EXPECT_EQ(others(), before);
    }
}

TEST_F(WriteFaults, LinksAreFollowedAndPlantedTemporariesNeverWrittenThrough) {
    for (const auto& w : writers()) {
        SCOPED_TRACE(w.name);
        readFiles();
        const std::string path = g.file(w.rel), folder = parentDir(path);
        // The target is a link to a file elsewhere: the link stays, the file it names is written
        // and keeps its permission bits.
        g.write("elsewhere/" + fileNameOf(path), w.old);
        const std::string real = g.file("elsewhere/" + fileNameOf(path));
        ::chmod(real.c_str(), 0640);
        ::unlink(path.c_str());
        ASSERT_EQ(::symlink(real.c_str(), path.c_str()), 0);
        EXPECT_EQ(w.write(), 0);
        struct stat st{};
        ASSERT_EQ(::lstat(path.c_str(), &st), 0);
        EXPECT_TRUE(S_ISLNK(st.st_mode));
        ::stat(real.c_str(), &st);
        EXPECT_EQ(st.st_mode & 0777, 0640u);
        const std::string written = g.read("elsewhere/" + fileNameOf(path));
        EXPECT_NE(written, w.old);
        if (w.appends) {
            EXPECT_EQ(written.rfind(w.old, 0), 0u);
        }

        // Links planted at the temporary names a writer uses or used to use.
        ::unlink(path.c_str());
        g.write(w.rel, w.old);
        g.write("victim.txt", "victim\r\n");
        const std::string victim = g.file("victim.txt");
        for (const std::string& t : {std::string("korvex.cfg.stp"), "." + fileNameOf(path) + ".tmp" + std::to_string(::getpid())})
            ::symlink(victim.c_str(), (folder + "/" + t).c_str());
        EXPECT_EQ(w.write(), 0);
        EXPECT_EQ(g.read("victim.txt"), "victim\r\n");
        ASSERT_EQ(::lstat(path.c_str(), &st), 0);
        EXPECT_TRUE(S_ISREG(st.st_mode));
        EXPECT_NE(g.read(w.rel), w.old);
        for (const std::string& t : {std::string("korvex.cfg.stp"), "." + fileNameOf(path) + ".tmp" + std::to_string(::getpid())})
            ::unlink((folder + "/" + t).c_str());
    }
}

// The work-file writers, the rename over a kept file, the kept copy and the move, each against
// the faults that concern it. Their rules differ from the whole-file writers above: a work
// file is made anew (a link at its name is removed, never followed), a kept copy and a move
// never write over anything.
struct Row {
    std::string name;
    std::function<void(GameDir&)> fault; // sets the fault up
    std::function<void(GameDir&)> act;   // the write; raises its RunError
    int number;                          // the run error expected (0: none)
    std::function<void(GameDir&)> check; // what must hold afterwards
};

std::string linkOf(const std::string& p) {
    char buf[4096];
    const ssize_t n = ::readlink(p.c_str(), buf, sizeof buf);
    return n < 0 ? "" : std::string(buf, size_t(n));
}

bool isLink(const std::string& p) {
    struct stat st{};
    return ::lstat(p.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

mode_t modeOf(const std::string& p) {
    struct stat st{};
    ::stat(p.c_str(), &st);
    return st.st_mode & 0777;
}

// Runs f in a child whose files may not grow past limit bytes, set up as every program is.
int underSizeLimit(const std::function<void()>& f, rlim_t limit) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        prepareProcess();
        const rlimit r{limit, limit};
        ::setrlimit(RLIMIT_FSIZE, &r);
        int n = 0;
        try {
            f();
        } catch (const RunError& e) {
            n = e.number();
        } catch (...) {
            n = 200;
        }
        ::_exit(n);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 300;
}

// A folder on another file system for the moves and links across disks ("" when none).
class OtherDisk {
public:
    OtherDisk() {
        char t[] = "/dev/shm/korvex-XXXXXX";
        if (!::mkdtemp(t)) return;
        struct stat a{}, b{};
        ::stat(t, &a);
        ::stat(::testing::TempDir().c_str(), &b);
        if (a.st_dev == b.st_dev) ::rmdir(t);
        else path_ = t;
    }
    ~OtherDisk() {
        if (!path_.empty()) std::system(("rm -rf '" + path_ + "'").c_str());
    }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

TEST(WorkFileFaults, EachRuleHoldsUnderItsFaults) {
    const std::string big(4000, 'B'); // more than the size limit below lets through
    OtherDisk other;
    auto f = [](GameDir& g, const std::string& rel) { return g.file(rel); };
    auto readOnlyFolder = [](GameDir& g) { ::chmod(g.file("lvl").c_str(), 0555); };
    auto level = [&](GameDir& g) {
        g.write("lvl/data1.bin", "old level\r\n");
        g.write("lvl/data1.new", "new level\r\n");
        g.write("lvl/data1.qfs", "the original\r\n");
        g.write("outside/player.dat", "player's\r\n");
        g.write("shots/a.tga", "A");
        g.write("backup/keep", "");
    };
    std::vector<Row> rows = {
        // Work files.
        {"work file in a read-only folder", readOnlyFolder,
         [&](GameDir& g) { writeWorkFile(f(g, "lvl/data1.qfs"), "new"); }, err::PermissionDenied,
         [](GameDir& g) { EXPECT_EQ(g.read("lvl/data1.qfs"), "the original\r\n"); }},
        {"work file at a planted link",
         [&](GameDir& g) {
             ::unlink(f(g, "lvl/data1.qfs").c_str());
             ::symlink(f(g, "outside/player.dat").c_str(), f(g, "lvl/data1.qfs").c_str());
         },
         [&](GameDir& g) { writeWorkLines(f(g, "lvl/data1.qfs"), {"new"}); }, 0,
         [&](GameDir& g) {
             EXPECT_FALSE(isLink(f(g, "lvl/data1.qfs")));
             EXPECT_EQ(g.read("lvl/data1.qfs"), "new\r\n");
             EXPECT_EQ(g.read("outside/player.dat"), "player's\r\n");
         }},
        {"work file on a full file system", [](GameDir&) {},
         [&](GameDir& g) {
             const std::string p = f(g, "lvl/data1.qfs");
             EXPECT_EQ(underSizeLimit([&] { writeWorkFile(p, big); }, 1000), err::DiskFull);
         },
         0, [](GameDir& g) { EXPECT_FALSE(g.exists("lvl/data1.qfs")); }}, // nothing half-written
        // The rename over a file the user keeps.
        {"rename over a read-only file", [&](GameDir& g) { ::chmod(f(g, "lvl/data1.bin").c_str(), 0444); },
         [&](GameDir& g) { replaceFileWith(f(g, "lvl/data1.new"), f(g, "lvl/data1.bin")); }, err::PermissionDenied,
         [&](GameDir& g) {
             EXPECT_EQ(g.read("lvl/data1.bin"), "old level\r\n");
             EXPECT_EQ(modeOf(f(g, "lvl/data1.bin")), 0444u);
             EXPECT_EQ(g.read("lvl/data1.new"), "new level\r\n");
         }},
        {"rename in a read-only folder", readOnlyFolder,
         [&](GameDir& g) { replaceFileWith(f(g, "lvl/data1.new"), f(g, "lvl/data1.bin")); }, err::PermissionDenied,
         [](GameDir& g) { EXPECT_EQ(g.read("lvl/data1.bin"), "old level\r\n"); }},
        {"rename over a link",
         [&](GameDir& g) {
             ::unlink(f(g, "lvl/data1.bin").c_str());
             ::chmod(f(g, "outside/player.dat").c_str(), 0640);
             ::symlink(f(g, "outside/player.dat").c_str(), f(g, "lvl/data1.bin").c_str());
         },
         [&](GameDir& g) { replaceFileWith(f(g, "lvl/data1.new"), f(g, "lvl/data1.bin")); }, 0,
         [&](GameDir& g) {
             EXPECT_EQ(linkOf(f(g, "lvl/data1.bin")), f(g, "outside/player.dat"));
             EXPECT_EQ(g.read("outside/player.dat"), "new level\r\n");
             EXPECT_EQ(modeOf(f(g, "outside/player.dat")), 0640u);
         }},
        // The kept copy of the only original.
        {"kept copy in a read-only folder", readOnlyFolder,
         [&](GameDir& g) { keepCopyBeforeReplace(f(g, "lvl/data1.qfs"), "new", "2026-05-01 13-30-38"); },
         err::PermissionDenied, [](GameDir& g) { EXPECT_FALSE(g.exists("lvl/data1.qfs.2026-05-01 13-30-38")); }},
        {"kept copy at a planted link",
         [&](GameDir& g) {
             ::symlink(f(g, "outside/player.dat").c_str(), f(g, "lvl/data1.qfs.2026-05-01 13-30-38").c_str());
         },
         [&](GameDir& g) {
             EXPECT_EQ(keepCopyBeforeReplace(f(g, "lvl/data1.qfs"), "new", "2026-05-01 13-30-38"),
                       f(g, "lvl/data1.qfs.2026-05-01 13-30-38-2"));
         },
         0,
         [](GameDir& g) {
             EXPECT_EQ(g.read("outside/player.dat"), "player's\r\n");
             EXPECT_EQ(g.read("lvl/data1.qfs.2026-05-01 13-30-38-2"), "the original\r\n");
         }},
        {"kept copy on a full file system", [&](GameDir& g) { g.write("lvl/data1.qfs", big); },
         [&](GameDir& g) {
             const std::string p = f(g, "lvl/data1.qfs");
             EXPECT_EQ(underSizeLimit([&] { keepCopyBeforeReplace(p, "new", "later"); }, 1000), err::DiskFull);
         },
         0, [](GameDir& g) { EXPECT_FALSE(g.exists("lvl/data1.qfs.later")); }},
        // The move of the screenshot backup.
        {"move into a read-only folder", [](GameDir& g) { ::chmod(g.file("backup").c_str(), 0555); },
         [&](GameDir& g) { moveFileNoOverwrite(f(g, "shots/a.tga"), f(g, "backup/a.tga")); }, err::PermissionDenied,
         [](GameDir& g) {
             ::chmod(g.file("backup").c_str(), 0755);
             EXPECT_EQ(g.read("shots/a.tga"), "A");
             EXPECT_FALSE(g.exists("backup/a.tga"));
         }},
        {"move onto a planted link",
         [&](GameDir& g) { ::symlink(f(g, "outside/player.dat").c_str(), f(g, "backup/a.tga").c_str()); },
         [&](GameDir& g) { moveFileNoOverwrite(f(g, "shots/a.tga"), f(g, "backup/a.tga")); }, err::PathFileAccess,
         [](GameDir& g) {
             EXPECT_EQ(g.read("outside/player.dat"), "player's\r\n");
             EXPECT_EQ(g.read("shots/a.tga"), "A");
         }},
        {"move of a link",
         [&](GameDir& g) { ::symlink(f(g, "outside/player.dat").c_str(), f(g, "shots/b.tga").c_str()); },
         [&](GameDir& g) { moveFileNoOverwrite(f(g, "shots/b.tga"), f(g, "backup/b.tga")); }, 0,
         [&](GameDir& g) {
             EXPECT_EQ(linkOf(f(g, "backup/b.tga")), f(g, "outside/player.dat"));
             struct stat st{};
             ::stat(f(g, "outside/player.dat").c_str(), &st);
             EXPECT_EQ(st.st_nlink, 1u);
         }},
    };
    if (!other.path().empty()) {
        rows.push_back({"rename over a link to another disk on a full file system",
                        [&](GameDir& g) {
                            g.write("lvl/data1.new", big);
                            const int fd = ::open((other.path() + "/level.bin").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
                            EXPECT_EQ(::write(fd, "old level\r\n", 11), 11);
                            ::close(fd);
                            ::unlink(f(g, "lvl/data1.bin").c_str());
                            ::symlink((other.path() + "/level.bin").c_str(), f(g, "lvl/data1.bin").c_str());
                        },
                        [&](GameDir& g) {
                            const std::string from = f(g, "lvl/data1.new"), to = f(g, "lvl/data1.bin");
                            EXPECT_EQ(underSizeLimit([&] { replaceFileWith(from, to); }, 1000), err::DiskFull);
                        },
                        0,
                        [&](GameDir& g) {
                            EXPECT_EQ(readFile(other.path() + "/level.bin"), "old level\r\n");
                            EXPECT_TRUE(isLink(f(g, "lvl/data1.bin")));
                            EXPECT_EQ(listFiles(other.path(), "*.*", true), std::vector<std::string>{"level.bin"});
                        }});
        rows.push_back({"move to another disk on a full file system", [&](GameDir& g) { g.write("shots/a.tga", big); },
                        [&](GameDir& g) {
                            const std::string from = f(g, "shots/a.tga"), to = other.path() + "/a.tga";
                            EXPECT_EQ(underSizeLimit([&] { moveFileNoOverwrite(from, to); }, 1000), err::DiskFull);
                        },
                        0,
                        [&](GameDir& g) {
                            EXPECT_EQ(g.read("shots/a.tga"), big);
                            EXPECT_FALSE(fileExists(other.path() + "/a.tga"));
                        }});
    }
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        GameDir g;
        level(g);
        r.fault(g);
        int number = 0;
        try {
            r.act(g);
        } catch (const RunError& e) {
            number = e.number();
        }
        ::chmod(g.file("lvl").c_str(), 0755);
        EXPECT_EQ(number, r.number);
        r.check(g);
    }
}

// The log writer: one call is one line whatever the value holds, and a log it cannot write is
// named as the file it tried.
TEST(LogWriterFaults, ValuesAddNoLinesAndTheNoteNamesTheFileTried) {
    FakePlatform fake;
    GameDir g;
    LogFile log(g.path() + "/Korvex.wfd/Logs/plg_orn.log");
    static const char value[] = ">> Folder: 'evil\r\nKORVEX3.1 Launched\nx\0y'";
    log.write(std::string(value, sizeof value - 1));
    log.write("next");
    EXPECT_EQ(g.read("korvex.wfd/logs/plg_orn.log"), ">> Folder: 'evilKORVEX3.1 Launchedxy'\r\nnext\r\n");

    // A folder in the log's place: the note names the path as found on disk.
    g.write("korvex.wfd/logs/Korvex.log/x", "");
    const std::string note =
        stderrOf([&] { LogFile(g.path() + "/Korvex.wfd/Logs/Korvex.log").write("KORVEX3.1 Launched"); });
    EXPECT_NE(note.find("cannot write the log " + g.file("korvex.wfd/logs/Korvex.log") + " ("), std::string::npos) << note;
}

#ifdef KX_LAUNCHER_PROGRAM
// The built launcher under a file-size limit its log already exceeds, with SIGXFSZ at its
// default (the child does not ignore it): the program's own set-up keeps it alive, the write
// fails on its normal path (the note, "Disk full, 61") and the log stays as it was.
TEST(ProgramFaults, TheLauncherOutlivesAFileSizeLimit) {
    GameDir g;
    const std::string old(3000, 'x');
    g.write("korvex.wfd/logs/Korvex.log", old);
    int err[2];
    ASSERT_EQ(::pipe(err), 0);
    const pid_t pid = ::fork();
    if (pid == 0) {
        std::signal(SIGXFSZ, SIG_DFL);
        const rlimit r{1000, 1000};
        ::setrlimit(RLIMIT_FSIZE, &r);
        ::dup2(err[1], 2);
        ::close(err[0]);
        if (::chdir(g.path().c_str()) != 0) ::_exit(127);
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        ::setenv("KORVEX_DIALOGS", g.file("dialogs.jsonl").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", g.file("xdg").c_str(), 1);
        ::execl(KX_LAUNCHER_PROGRAM, "QFKorvex", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(err[1]);
    std::string out;
    char buf[4096];
    for (ssize_t n; (n = ::read(err[0], buf, sizeof buf)) > 0;) out.append(buf, size_t(n));
    ::close(err[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_FALSE(WIFSIGNALED(status)) << "killed by signal " << WTERMSIG(status);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_NE(out.find("cannot write the log " + g.file("korvex.wfd/logs/Korvex.log") + " (Disk full, 61)"),
              std::string::npos)
        << out;
    EXPECT_EQ(g.read("korvex.wfd/logs/Korvex.log"), old);
    // It went on to its own error path: the missing configuration's box.
    EXPECT_NE(g.read("dialogs.jsonl").find("unable to find the configuration file"), std::string::npos);
}
#endif

} // namespace
} // namespace kx
