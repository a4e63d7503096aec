#pragma once
// The assistant's plain routines: number texts, its boxes, the date stamp of its log, the job
// file and the join that the job file describes.

#include <QDate>
#include <QIcon>
#include <QLocale>
#include <QPixmap>

#include <cstdint>
#include <string>
#include <vector>

namespace kx::lvlsmith {

inline constexpr const char* kTitle = "LevelForge"; // the program's title: settings, about box
inline constexpr int kVersionMajor = 1, kVersionMinor = 0, kVersionRevision = 270;
inline constexpr const char* kDescription =
    "Assistant to mod singleplayer levels or MultiPlayer levels that have no world.dat.";

// The assistant's own icon, set on its windows, and the picture of step 0: both built in.
QIcon levelAideIcon();
QPixmap welcomePicture();

// The decimal text without its first character (the sign place): 1 -> "1", -5 -> "5".
std::string IntToText(std::int16_t n);

// "An error occured performing the specified task." CR LF message "," number; 48, "Error.".
void ShowErrorBox(const std::string& message, int number);
// message, OK only, no icon, "Information.".
void ShowInfoBox(const std::string& message);

// Short date and long time, each "/", ":", "\", "," and "." turned into "-".
std::string MakeDateStamp();
// The six lines of QfsBatch.bat for a level folder: the drive and the folder below it, then
// the join. A folder without a drive ("/home/x") gets an empty drive line and the whole path.
std::vector<std::string> jobFileLines(const std::string& levelFolder);

// What the job file does, done here since this platform runs no batch files: data1.new is
// data1.qfs followed byte for byte by data1.bin, a work file made anew (never written through
// a link at its name). Raises the run error of the file that failed.
void joinDataFiles(const std::string& levelFolder);

// The start-up: checks the command line, shows the window.
void Main(const std::string& commandLine);

} // namespace kx::lvlsmith
