// Process starts of the real platform: the helper program, started detached, writes what it
// received (working directory and arguments) to a file.
#include "core/Files.h"
#include "platform/RealPlatform.h"
#include "core/RunError.h"
#include "Support.h"

#include <QFile>
#include <QUrl>

#include <gtest/gtest.h>

#include <cerrno>
#include <memory>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kx {
namespace {

using test::EnvGuard;

class Processes : public ::testing::Test {
protected:
    test::TempDir tmp;
    std::string out = tmp.file("argv.out");
    EnvGuard argvOut{"KX_HELPER_ARGV_OUT", out};
    std::unique_ptr<Platform> p = makeRealPlatform();

    // Working directory first, then the arguments; nullopt when nothing arrived in 5 s.
    std::optional<std::vector<std::string>> received() {
        if (!test::waitUntil([&] { return test::exists(out); }, 5000)) return std::nullopt;
        const std::string bytes = test::readBytes(out);
        ::unlink(out.c_str());
        std::vector<std::string> parts;
        size_t pos = 0;
        for (size_t nul; (nul = bytes.find('\0', pos)) != std::string::npos; pos = nul + 1)
            parts.push_back(bytes.substr(pos, nul - pos));
        return parts;
    }

    // A copy of the helper under another name.
    std::string helperAs(const std::string& rel) {
        const std::string path = tmp.file(rel);
        QFile::copy(QString::fromStdString(test::helperPath()), QString::fromStdString(path));
        ::chmod(path.c_str(), 0755);
        return path;
    }

    int startError(const std::string& program, const std::string& workDir = "") {
        try {
            p->startProcess(program, {}, workDir, win::NormalFocus);
        } catch (const RunError& e) {
            return e.number();
        }
        return 0;
    }
};

TEST_F(Processes, EveryArgumentArrivesAsItWasGiven) {
    const std::vector<std::string> args = {
        "C:/Games/Quell fort", "\"quoted\" text", "x; touch " + tmp.file("pwned"), "$(touch " + tmp.file("pwned") + ")",
        "-rf", "", "tab\there", "*", "`id`", "caf\xe9", "+name", "\"a\" +map \"b\"",
    };
    p->startProcess(test::helperPath(), args, "", win::NormalFocus);
    const auto got = received();
    ASSERT_TRUE(got);
    EXPECT_EQ((*got)[0], p->currentDir()); // inherited
    EXPECT_EQ(std::vector<std::string>(got->begin() + 1, got->end()), args);
    EXPECT_FALSE(test::exists(tmp.file("pwned")));
}

TEST_F(Processes, StartedProgramsAreDetached) {
    p->startProcess(test::helperPath(), {"x"}, "", win::Hidden);
    ASSERT_TRUE(received());
    // Our standard descriptors (a test runner's pipes) are not held by the started program.
    EXPECT_EQ(test::readBytes(out + ".fds"), "/dev/null\n/dev/null\n/dev/null\n");
    // No zombie: the started program is no child of ours.
    errno = 0;
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
}

TEST_F(Processes, WorkingDirectoryIsHonoured) {
    const std::string work = tmp.file("work dir");
    ::mkdir(work.c_str(), 0755);
    p->startProcess(test::helperPath(), {}, work, win::NormalFocus);
    auto got = received();
    ASSERT_TRUE(got);
    EXPECT_EQ((*got)[0], work);

    // A relative program is found from our directory, not from the one it starts in.
    helperAs("prog");
    const std::string before = p->currentDir();
    p->setCurrentDir(tmp.path());
    p->startProcess("./prog", {"rel"}, "work dir", win::NormalFocus);
    got = received();
    p->setCurrentDir(before);
    ASSERT_TRUE(got);
    EXPECT_EQ(*got, (std::vector<std::string>{work, "rel"}));
}

TEST_F(Processes, FailuresRaiseTheirRunErrors) {
    test::writeBytes(tmp.file("notes.txt"), "not a program");
    ::mkdir(tmp.file("folder").c_str(), 0755);
    EXPECT_EQ(startError(tmp.file("missing")), err::FileNotFound);
    EXPECT_EQ(startError(tmp.file("missing.exe")), err::FileNotFound);
    EXPECT_EQ(startError(""), err::FileNotFound);
    EXPECT_EQ(startError("kx-no-such-program-anywhere"), err::FileNotFound);
    EXPECT_EQ(startError(tmp.file("folder")), err::FileNotFound);
    if (::geteuid() != 0) {
        EXPECT_EQ(startError(tmp.file("notes.txt")), err::PermissionDenied);
    }
    ::chmod(tmp.file("notes.txt").c_str(), 0755);
    EXPECT_EQ(startError(tmp.file("notes.txt")), err::InvalidCall); // not a program this machine runs
    EXPECT_EQ(startError(test::helperPath(), tmp.file("no such dir")), err::PathNotFound);
    EXPECT_FALSE(test::exists(out));
}

TEST_F(Processes, ATextHoldingNulStartsNothing) {
    // The helper exists under the cut name, so a start cut at the NUL would run it.
    const std::string helper = helperAs("GameSpy.exe");
    using namespace std::string_literals;
    const struct {
        std::string program;
        std::vector<std::string> args;
        std::string workDir;
    } cases[] = {
        {helper + "\0 --junk"s, {}, ""},
        {helper, {"+name", "Bo\0b"s}, ""},
        {helper, {}, tmp.file("") + "\0/elsewhere"s},
    };
    for (const auto& c : cases) {
        int got = 0;
        try {
            p->startProcess(c.program, c.args, c.workDir, win::NormalFocus);
        } catch (const RunError& e) {
            got = e.number();
        }
        EXPECT_EQ(got, err::BadFileName);
    }
    EXPECT_FALSE(test::waitUntil([&] { return test::exists(out); }, 300));
}

TEST_F(Processes, ExeNamesFallBackToTheProgramWithout) {
    helperAs("Game");
    p->startProcess(tmp.file("Game.exe"), {"+host"}, "", win::NormalFocus);
    auto got = received();
    ASSERT_TRUE(got);
    EXPECT_EQ((*got)[1], "+host");

    // A bare name is looked for in the current directory first, as the programs' starts expect.
    const std::string before = p->currentDir();
    p->setCurrentDir(tmp.path());
    p->startProcess("Game.exe", {"+bare"}, "", win::NormalFocus);
    got = received();
    p->setCurrentDir(before);
    ASSERT_TRUE(got);
    EXPECT_EQ((*got)[1], "+bare");

    // An existing ".exe" that is no Windows program runs as it is.
    helperAs("data2edit.exe");
    p->startProcess(tmp.file("data2edit.exe"), {"a b"}, "", win::NormalFocus);
    got = received();
    ASSERT_TRUE(got);
    EXPECT_EQ((*got)[1], "a b");
}

TEST_F(Processes, WindowsProgramsStartThroughWine) {
    const std::string exe = tmp.file("qfvs.exe");
    test::writeBytes(exe, std::string("MZ\x90\0\3\0\0\0", 8));
    ::chmod(exe.c_str(), 0755);
    ::mkdir(tmp.file("bin").c_str(), 0755);
    {
        EnvGuard wine("KORVEX_WINE", test::helperPath());
        p->startProcess(exe, {"-x", "a b"}, "", win::NormalFocus);
        const auto got = received();
        ASSERT_TRUE(got);
        EXPECT_EQ(std::vector<std::string>(got->begin() + 1, got->end()), (std::vector<std::string>{exe, "-x", "a b"}));
    }
    {
        EnvGuard noWine("KORVEX_WINE", std::nullopt);
        EnvGuard path("PATH", tmp.file("bin"));
        EXPECT_EQ(startError(exe), err::FileNotFound);
        helperAs("bin/wine");
        p->startProcess(exe, {"y"}, "", win::NormalFocus);
        const auto got = received();
        ASSERT_TRUE(got);
        EXPECT_EQ(std::vector<std::string>(got->begin() + 1, got->end()), (std::vector<std::string>{exe, "y"}));
    }
    EnvGuard badWine("KORVEX_WINE", tmp.file("no-wine-here"));
    EXPECT_EQ(startError(exe), err::FileNotFound);
}

TEST_F(Processes, EditorFolderAndShellOpenStartTheirPrograms) {
    ::mkdir(tmp.file("bin").c_str(), 0755);
    EnvGuard path("PATH", tmp.file("bin"));
    {
        EnvGuard editor("KORVEX_EDITOR", test::helperPath());
        p->openInEditor("/games/Quell fort/korvex.wfd/config/autoexec.ini");
        const auto got = received();
        ASSERT_TRUE(got);
        EXPECT_EQ(std::vector<std::string>(got->begin() + 1, got->end()),
                  std::vector<std::string>{"/games/Quell fort/korvex.wfd/config/autoexec.ini"});
    }
    EnvGuard noEditor("KORVEX_EDITOR", std::nullopt);
    // Without xdg-open the starts fail as missing programs, shellOpen with 2.
    EXPECT_THROW(p->openFolder("/tmp"), RunError);
    EXPECT_EQ(p->shellOpen("http://www.example.com/"), 2);

    helperAs("bin/xdg-open");
    p->openInEditor("/a b.txt");
    auto got = received();
    ASSERT_TRUE(got);
    EXPECT_EQ((*got)[1], "/a b.txt");
    p->openFolder("/games/Quell fort/screens");
    got = received();
    ASSERT_TRUE(got);
    EXPECT_EQ((*got)[1], "/games/Quell fort/screens");

    // Offscreen there are no desktop services: the opener gets the address itself.
    EXPECT_EQ(p->shellOpen("http://www.example.com/chat?room=a b"), 42);
    got = received();
    ASSERT_TRUE(got);
    EXPECT_EQ((*got)[1], "http://www.example.com/chat?room=a%20b");
    test::writeBytes(tmp.file("page one.htm"), "<p>x</p>");
    EXPECT_EQ(p->shellOpen(tmp.file("page one.htm")), 42);
    got = received();
    ASSERT_TRUE(got);
    EXPECT_EQ(QUrl::fromEncoded(QByteArray::fromStdString((*got)[1])).toLocalFile().toStdString(), tmp.file("page one.htm"));
    // A folder name that is not UTF-8, and one with "#" and "?", reach the opener byte for byte.
    for (const std::string name : {std::string("caf\xe9 pages"), std::string("clan #1?")}) {
        ::mkdir(tmp.file(name).c_str(), 0755);
        test::writeBytes(tmp.file(name + "/help.htm"), "<p>x</p>");
        EXPECT_EQ(p->shellOpen(tmp.file(name + "/help.htm")), 42) << name;
        got = received();
        ASSERT_TRUE(got);
        EXPECT_EQ(QByteArray::fromPercentEncoding(QUrl::fromEncoded(QByteArray::fromStdString((*got)[1]))
                                                      .path(QUrl::FullyEncoded).toUtf8()).toStdString(),
                  tmp.file(name + "/help.htm")) << name;
        ::unlink(tmp.file(name + "/help.htm").c_str()); // the temporary folder cannot remove a non-UTF-8 name
        ::rmdir(tmp.file(name).c_str());
    }
    EXPECT_EQ(p->shellOpen(tmp.file("missing.htm")), 2);
    EXPECT_EQ(p->shellOpen(""), 2);
}

TEST_F(Processes, EndProgramEndsAtOnceWithItsCode) {
    EnvGuard noArgv("KX_HELPER_ARGV_OUT", std::nullopt);
    for (const auto& [code, when] : std::vector<std::pair<std::string, std::string>>{{"3", "now"}, {"4", "loop"}}) {
        const auto r = test::runHelper({"end", code, when});
        EXPECT_EQ(r.exitCode, std::stoi(code)) << when;
        EXPECT_EQ(r.out, "bye") << when; // flushed on the way out
    }
}

} // namespace
} // namespace kx
