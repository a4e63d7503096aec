#pragma once
// What every main.cpp does: keep the raw argument vector as the command line (QApplication
// gets the program name alone, so Qt obeys none of its options there), keep a second copy
// from starting, install the real platform (scripted
// dialogs when KORVEX_DIALOGS is set) and name the boxes that carry no title.

#include <functional>
#include <string>

namespace kx {

struct ProgramInfo {
    std::string name;                   // box title and lock name: "QFKorvex", "mod_docklet"
    bool singleInstance = false;        // a second start ends at once, silently
    bool quitOnLastWindowClosed = true; // false where hidden windows keep the program alive
};

// argv[1..] joined with single blanks.
std::string joinCommandLine(int argc, char** argv);

// Takes the per-user lock of a program (stale locks are taken over); false when another
// instance holds it. The lock is held until the process ends.
bool acquireSingleInstance(const std::string& name);

// What every program does first, before anything can write: SIGXFSZ is ignored, so a write
// past a file-size limit fails as any other write does (61) instead of killing the program.
void prepareProcess();

// prepareProcess(), then start(commandLine) once the application exists, then the event
// loop; returns the exit code. A ProgramEnded thrown by start ends the program with its code.
int runProgram(int argc, char** argv, const ProgramInfo& info,
               const std::function<void(const std::string& commandLine)>& start);

} // namespace kx
