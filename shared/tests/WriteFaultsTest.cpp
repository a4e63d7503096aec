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
#include "shared/testing/GameDir.h"

#include <QListWidget>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <functional>
#include <regex>

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
            std::signal(SIGXFSZ, SIG_IGN); // a failed write then reports EFBIG
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

} // namespace
} // namespace kx
