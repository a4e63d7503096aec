// Process starts: an argument vector, never a shell; the starter does not wait.
//
// The program runs as a grandchild (double fork): the middle process ends at once and is
// reaped here, so no zombie is left and the started program outlives us in a session of its
// own. A close-on-exec pipe reports a failed chdir or exec from the grandchild, so a missing
// or refused program raises its run error in the caller rather than failing unseen.
// The started program reads from and writes to /dev/null, as a window program started on the
// target platform inherits no handles: a program that outlives its starter must not hold the
// starter's pipes open (a test runner waiting for their end would wait for the game).
// The window style has no meaning here: programs place their own windows.

#include "platform/RealParts.h"

#include "core/Files.h"
#include "core/RunError.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace kx::real {

namespace {

enum Stage : int { StageFork = 1, StageChdir = 2, StageExec = 3 };

bool isRegular(const std::string& p) {
    struct stat st{};
    return ::stat(p.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool endsWithExe(const std::string& p) {
    if (p.size() < 4) return false;
    std::string tail = p.substr(p.size() - 4);
    for (char& c : tail)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return tail == ".exe";
}

std::string cwd() {
    std::string buf(4096, '\0');
    while (!::getcwd(buf.data(), buf.size())) {
        if (errno != ERANGE) throw RunError(err::PathNotFound, "The current directory no longer exists");
        buf.resize(buf.size() * 2);
    }
    return buf.c_str();
}

std::string absolute(const std::string& p) { return p.empty() || p[0] == '/' ? p : joinPath(cwd(), p); }

// The file that a program text names: a path (relative to our current directory) or a bare
// name, looked for in our current directory first when fromHere (as the target platform's
// starts do; the programs' own tests see the same through FakePlatform), then on PATH.
// "x.exe" that does not exist falls back to "x". "" when neither exists.
std::string locate(const std::string& program, bool fromHere) {
    if (program.empty()) return "";
    auto pick = [](const std::string& p) -> std::string {
        if (isRegular(p)) return p;
        if (endsWithExe(p)) {
            const std::string bare = p.substr(0, p.size() - 4);
            if (isRegular(bare)) return bare;
        }
        return "";
    };
    if (program.find('/') != std::string::npos || fromHere) {
        const std::string here = pick(absolute(program));
        if (!here.empty() || program.find('/') != std::string::npos) return here;
    }
    const char* pathEnv = std::getenv("PATH");
    const std::string path = pathEnv ? pathEnv : "/usr/local/bin:/usr/bin:/bin";
    for (const std::string& name : {program, endsWithExe(program) ? program.substr(0, program.size() - 4) : ""}) {
        if (name.empty()) continue;
        size_t start = 0;
        while (start <= path.size()) {
            size_t colon = path.find(':', start);
            if (colon == std::string::npos) colon = path.size();
            const std::string dir = path.substr(start, colon - start);
            const std::string candidate = absolute(joinPath(dir.empty() ? "." : dir, name));
            if (isRegular(candidate) && ::access(candidate.c_str(), X_OK) == 0) return candidate;
            start = colon + 1;
        }
    }
    return "";
}

bool beginsWithMZ(const std::string& p) {
    const int fd = ::open(p.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st{};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
    }
    char head[2] = {0, 0};
    const ssize_t n = ::read(fd, head, 2);
    ::close(fd);
    return n == 2 && head[0] == 'M' && head[1] == 'Z';
}

RunError startError(int stage, int e, const std::string& exe) {
    if (stage == StageChdir) {
        if (e == EACCES || e == EPERM) return RunError(err::PermissionDenied);
        return RunError(err::PathNotFound);
    }
    switch (e) {
    case ENOENT: return RunError(err::FileNotFound); // e.g. the interpreter of a script is missing
    case EACCES:
    case EPERM: return RunError(err::PermissionDenied);
    case ENOEXEC: return RunError(err::InvalidCall); // not a program this machine can run
    case EAGAIN:
    case ENOMEM: return RunError(7, "Out of memory");
    default: return RunError::fromErrno(e, exe);
    }
}

void writeReport(int fd, int stage, int e) {
    int msg[2] = {stage, e};
    ssize_t ignored = ::write(fd, msg, sizeof msg);
    (void)ignored;
}

} // namespace

void spawnDetached(const std::string& program, const std::vector<std::string>& args, const std::string& workDir,
                   bool fromHere) {
    // The system cuts a text at NUL: a value holding one would start what it does not name.
    const auto holdsNul = [](const std::string& s) { return s.find('\0') != std::string::npos; };
    if (holdsNul(program) || holdsNul(workDir) || std::any_of(args.begin(), args.end(), holdsNul))
        throw RunError(err::BadFileName);
    std::string exe = locate(program, fromHere);
    if (exe.empty()) throw RunError(err::FileNotFound);

    std::vector<std::string> argvText;
    if (endsWithExe(exe) && beginsWithMZ(exe)) {
        // A Windows program: through the runner of $KORVEX_WINE, else wine on PATH.
        const char* wineEnv = std::getenv("KORVEX_WINE");
        const std::string runner = locate(wineEnv && *wineEnv ? wineEnv : "wine", false);
        if (runner.empty()) throw RunError(err::FileNotFound);
        argvText = {runner, exe};
        exe = runner;
    } else {
        argvText = {exe};
    }
    argvText.insert(argvText.end(), args.begin(), args.end());

    // Everything the children need is built here: after fork only async-signal-safe calls.
    std::vector<char*> argv;
    argv.reserve(argvText.size() + 1);
    for (auto& a : argvText) argv.push_back(a.data());
    argv.push_back(nullptr);
    const char* dir = workDir.empty() ? nullptr : workDir.c_str();
    const char* path = exe.c_str();

    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) throw RunError(67, "Too many files");
    // With our own standard descriptors closed the pipe could take their numbers.
    for (int& fd : fds) {
        if (fd > 2) continue;
        const int moved = ::fcntl(fd, F_DUPFD_CLOEXEC, 3);
        ::close(fd);
        fd = moved;
    }
    if (fds[0] < 0 || fds[1] < 0) {
        if (fds[0] >= 0) ::close(fds[0]);
        if (fds[1] >= 0) ::close(fds[1]);
        throw RunError(67, "Too many files");
    }

    const pid_t middle = ::fork();
    if (middle < 0) {
        const int e = errno;
        ::close(fds[0]);
        ::close(fds[1]);
        throw startError(StageFork, e, exe);
    }
    if (middle == 0) {
        ::close(fds[0]);
        const pid_t child = ::fork();
        if (child < 0) {
            writeReport(fds[1], StageFork, errno);
            ::_exit(1);
        }
        if (child == 0) {
            ::setsid();
            sigset_t none;
            sigemptyset(&none);
            ::sigprocmask(SIG_SETMASK, &none, nullptr);
            struct sigaction dfl{};
            dfl.sa_handler = SIG_DFL;
            for (int s : {SIGPIPE, SIGCHLD, SIGINT, SIGQUIT, SIGHUP, SIGTERM}) ::sigaction(s, &dfl, nullptr);
            const int null = ::open("/dev/null", O_RDWR);
            if (null >= 0) {
                for (int fd = 0; fd < 3; ++fd)
                    if (null != fd) ::dup2(null, fd);
                if (null > 2) ::close(null);
            }
            // Descriptors of ours (locks, sockets) are not the started program's business.
            ::close_range(3, ~0U, CLOSE_RANGE_CLOEXEC);
            if (dir && ::chdir(dir) != 0) {
                writeReport(fds[1], StageChdir, errno);
                ::_exit(127);
            }
            ::execve(path, argv.data(), environ);
            writeReport(fds[1], StageExec, errno);
            ::_exit(127);
        }
        ::_exit(0);
    }

    ::close(fds[1]);
    int status = 0;
    while (::waitpid(middle, &status, 0) < 0 && errno == EINTR) {
    }
    int msg[2] = {0, 0};
    ssize_t got = 0;
    while (got < ssize_t(sizeof msg)) {
        const ssize_t n = ::read(fds[0], reinterpret_cast<char*>(msg) + got, sizeof msg - size_t(got));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        got += n;
    }
    ::close(fds[0]);
    if (got == ssize_t(sizeof msg)) throw startError(msg[0], msg[1], exe);
}

} // namespace kx::real
