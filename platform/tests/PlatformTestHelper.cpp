// A second process for the platform tests: it does one thing through the real platform and
// reports on stdout, so the tests can see what another program of a run sees.
//
//   (KX_HELPER_ARGV_OUT set)        writes its current directory and argv[1..] to that file,
//                                   each followed by a NUL, whatever the arguments are, and
//                                   what its descriptors 0, 1, 2 lead to, to that file + ".fds"
//   get APP SECTION KEY             prints the setting, in hex (any byte can come back)
//   save APP SECTION KEY HEXVALUE   saves it
//   saveMany APP SECTION PREFIX N   saves PREFIX0..PREFIX<N-1> = v0..v<N-1>, one call each
//   box TEXT STYLE TITLE            prints the button number
//   input PROMPT TITLE DEFAULT      prints the answer
//   inputs N                        N input boxes "p0".., one answer a line
//   window TITLE...                 one window per title, until all are closed
//   end CODE now|loop               prints "bye" (no line end) and ends through the platform,
//                                   before or inside the event loop, with a window shown
#include "platform/Platform.h"
#include "platform/RealPlatform.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

#include "Hex.h"

namespace {

using kx::test::hex;
using kx::test::unhex;

int writeArgv(const char* out, int argc, char** argv) {
    char dir[4096];
    std::string bytes = ::getcwd(dir, sizeof dir) ? dir : "?";
    bytes += '\0';
    for (int i = 1; i < argc; ++i) {
        bytes += argv[i];
        bytes += '\0';
    }
    std::string fds;
    for (int fd = 0; fd < 3; ++fd) {
        char target[4096] = {0};
        const ssize_t n = ::readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), target, sizeof target - 1);
        fds += (n > 0 ? std::string(target, size_t(n)) : std::string("closed")) + "\n";
    }
    {
        std::ofstream f(std::string(out) + ".fds", std::ios::binary);
        f << fds;
    }
    // Complete or not there: the test polls for the file (written last).
    const std::string temp = std::string(out) + ".part";
    {
        std::ofstream f(temp, std::ios::binary);
        f << bytes;
    }
    return std::rename(temp.c_str(), out) == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (const char* out = std::getenv("KX_HELPER_ARGV_OUT")) return writeArgv(out, argc, argv);
    if (argc < 2) return 2;
    const std::string mode = argv[1];
    auto arg = [&](int i) { return i < argc ? std::string(argv[i]) : std::string(); };

    if (mode == "window") {
        QApplication app(argc, argv);
        std::vector<std::unique_ptr<QWidget>> windows;
        for (int i = 2; i < argc; ++i) {
            auto w = std::make_unique<QWidget>();
            w->setWindowTitle(QString::fromUtf8(argv[i]));
            w->resize(200, 80);
            w->show();
            windows.push_back(std::move(w));
        }
        return app.exec();
    }

    auto platform = kx::makeRealPlatform();
    kx::setPlatform(platform.get());
    const char* name = std::getenv("KX_HELPER_NAME");
    platform->setProgramName(name ? name : "helper");

    if (mode == "get") {
        std::fputs(hex(platform->getSetting(arg(2), arg(3), arg(4))).c_str(), stdout);
        return 0;
    }
    if (mode == "save") {
        platform->saveSetting(arg(2), arg(3), arg(4), unhex(arg(5)));
        return 0;
    }
    if (mode == "saveMany") {
        const int n = std::atoi(arg(5).c_str());
        for (int i = 0; i < n; ++i) platform->saveSetting(arg(2), arg(3), arg(4) + std::to_string(i), "v" + std::to_string(i));
        return 0;
    }
    if (mode == "box") {
        std::printf("%d", platform->msgBox(arg(2), std::atoi(arg(3).c_str()), arg(4)));
        return 0;
    }
    if (mode == "input") {
        std::fputs(platform->inputBox(arg(2), arg(3), arg(4)).c_str(), stdout);
        return 0;
    }
    if (mode == "inputs") {
        const int n = std::atoi(arg(2).c_str());
        for (int i = 0; i < n; ++i) std::printf("%s\n", platform->inputBox("p" + std::to_string(i), "", "").c_str());
        return 0;
    }
    if (mode == "end") {
        QApplication app(argc, argv);
        QWidget w;
        w.show();
        const int code = std::atoi(arg(2).c_str());
        std::printf("bye");
        if (arg(3) == "now") platform->endProgram(code);
        QTimer::singleShot(50, [&] { platform->endProgram(code); });
        app.exec();
        return 99; // not reached when the platform ends the program
    }
    return 2;
}
