#include "shared/Program.h"

#include "platform/Platform.h"
#include "platform/RealPlatform.h"
#include "core/RunError.h"
#include "shared/Ui.h"

#include <QApplication>
#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace kx {

std::string joinCommandLine(int argc, char** argv) {
    std::string line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) line += ' ';
        line += argv[i];
    }
    return line;
}

bool acquireSingleInstance(const std::string& name) {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const QString dir = runtime && *runtime ? QString::fromLocal8Bit(runtime) : QDir::tempPath();
    // Held until the process ends; a lock left by a dead process is taken over.
    static std::vector<std::unique_ptr<QLockFile>> held;
    auto lock = std::make_unique<QLockFile>(dir + "/korvex-" + QString::fromStdString(name) + ".lock");
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) return false;
    held.push_back(std::move(lock));
    return true;
}

void prepareProcess() {
    // A write past a file-size limit then fails on the writer's normal error path (Disk full)
    // instead of killing the program without a word.
    std::signal(SIGXFSZ, SIG_IGN);
}

int runProgram(int argc, char** argv, const ProgramInfo& info,
               const std::function<void(const std::string& commandLine)>& start) {
    prepareProcess();
    const std::string commandLine = joinCommandLine(argc, argv);
    if (info.singleInstance && !acquireSingleInstance(info.name)) return 0;

    // Qt gets the program name alone: the command line is the program's own (a game directory
    // or a host name), and Qt would obey options such as -platform or -qwindowtitle in it.
    static char fallbackName[] = "korvex";
    char* qtArgv[] = {argc > 0 && argv[0] ? argv[0] : fallbackName, nullptr};
    int qtArgc = 1;
    QApplication app(qtArgc, qtArgv);
    QApplication::setApplicationName(QString::fromStdString(info.name));
    QApplication::setQuitOnLastWindowClosed(info.quitOnLastWindowClosed);
    QApplication::setWindowIcon(suiteIcon());

    auto real = makeRealPlatform();
    setPlatform(real.get());
    platform().setProgramName(info.name);

    try {
        start(commandLine);
    } catch (const ProgramEnded& e) {
        return e.exitCode;
    } catch (const RunError& e) {
        // A run error nobody handled: say so rather than die silently.
        std::fprintf(stderr, "%s: %s (%d)\n", info.name.c_str(), e.description().c_str(), e.number());
        platform().msgBox(e.description(), 16, "");
        return 1;
    }
    return app.exec();
}

} // namespace kx
