#pragma once
// The main program's module-level values and its own copies of the shared routines that
// write to the launcher log, plus the one instance of each window.

#include "shared/Boxes.h"
#include "shared/Launch.h"
#include "core/RunError.h"

#include <cstdint>
#include <memory>
#include <string>

namespace kx::launcher {

class Form1;
class Form6;
class Form7;
class Form11;
class config;

inline constexpr const char* AppTitle = "Quellfort Korvex 3.1";
inline constexpr int VersionMajor = 3, VersionMinor = 1, VersionRevision = 92;

struct State {
    std::string korvexDir;   // set once by the loader, from the current directory
    std::string gameDir;     // the screenshot backup's source folder
    std::string snapShotDir;
    std::string gameSpyFile;
    // Kept exactly as read from korvex.cfg; empty until read.
    std::string autosnapbu, doautoexec, usedskinis, randomskin;
    std::int16_t lastPlugin = 0;
    // The current message box (style as its number in text form) and its answer.
    std::string msgText, msgStyle, msgTitle, msgResult;
    // The file the text viewer shows.
    std::string viewerFile;
    std::unique_ptr<LogFile> log;
};
State& state();

// Sets KorvexDir and points the launcher log at <dir>/Korvex.wfd/Logs/Korvex.log.
void setKorvexDir(const std::string& dir);
std::string logPath(const std::string& korvexDir);

// One line to the launcher log; a line that cannot be written is dropped (one note on stderr).
void writeLog(const std::string& line);
LogSink logSink();

// Makes ShowError and FoundError write their three log lines first and keep their box as the
// current box.
void installLauncherRoutines();

// The launcher's ModuleStart: logged, a failed start reported by FoundError and swallowed.
void moduleStart(const std::string& key);
// The launcher's LoadText and StartURL (logged); the main window's StartURL is not. An empty
// address opens nothing (the shell's failure, 2).
std::string loadText(const std::string& path);
int startURL(const std::string& url);

// Shows a box after keeping its text, style and title as the current box; keeps the answer too.
int showBox(const std::string& text, int style, const std::string& title);

// The windows: created (hidden) on first touch, as the loader and the menus expect.
Form11& form11();
Form1& form1();
config& configForm();
Form6& form6();
Form7& form7();
// nullptr when not loaded.
Form11* loadedForm11();
Form1* loadedForm1();
Form6* loadedForm6();
Form7* loadedForm7();
void unloadForm11();

// The program's start: the splash window, whose timer runs the loader.
void startLauncher();

// Drops every window and value, so that a test starts from a fresh process state.
void resetLauncher();

} // namespace kx::launcher
