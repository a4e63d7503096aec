#pragma once
// The screenshot backup: the game's .tga files moved into a new time-stamped folder under
// the snapshot directory.

#include <string>

namespace kx::launcher {

// The result text the callers show; empty when report is false or the backup failed (the
// failure has shown its ShowError box by then). A call while a backup runs (the loop yields
// after each file) does nothing and gives the empty text.
std::string backUpScreenShots(bool report);
// true while a backup runs, so that its menu item can refuse a second one.
bool backUpRunning();

// The current date and time as a folder name, "2026-12-10 13-30-38", in any locale.
std::string folderStampFromNow();
// Each "/", ":", "\", "," and "." of a date-and-time text becomes "-".
std::string folderStamp(const std::string& dateTimeText);

} // namespace kx::launcher
