#pragma once
// The drive change of the folder pickers (the set-up's screenshot-folder and GameSpy pickers,
// the script editor's save dialog): choosing a drive moves the folder list to that drive's
// current directory; a drive that cannot be read is reported and the drive list goes back to
// the window's fallback drive.

#include "shared/widgets/FileControls.h"

#include <string>

namespace kx {

// The listed drive (platform().drives()) that holds path: the longest root it lies below;
// the first drive when none does (or "/" when the platform lists none).
std::string driveOf(const std::string& path);

// The folder a drive opens on: the current directory when it lies on that drive, else the
// drive's root.
std::string driveCurrentDir(const std::string& drive);

// The drive a window falls back to after a failed change. The windows name a drive letter
// ("C:", "c:"); a listed drive equal to it (ignoring case) is taken, else the first drive.
std::string fallbackDrive(const std::string& fallback);

// Drive1_Change: dirs goes to the current directory of the drive chosen in drives. On failure
// ShowError shows the error and the drive list is set back to the fallback drive, with dirs
// following it once; when the fallback fails too it is reported as well and the change stops
// there (the drive list's signals are held while it is set back, so this never recurses).
void driveChange(DriveListBox& drives, DirListBox& dirs, const std::string& fallback);

} // namespace kx
