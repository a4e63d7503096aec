#include "shared/widgets/DriveChange.h"

#include "shared/Boxes.h"
#include "platform/Platform.h"
#include "core/RunError.h"
#include "core/Text.h"

#include <QSignalBlocker>

namespace kx {

namespace {

// path lies at or below root (component-wise: "/mnt/a" does not hold "/mnt/ab").
bool liesBelow(const std::string& path, const std::string& root) {
    if (root.empty() || path.size() < root.size() || path.compare(0, root.size(), root) != 0) return false;
    return path.size() == root.size() || root.back() == '/' || path[root.size()] == '/';
}

std::string firstDrive() {
    const auto drives = platform().drives();
    return drives.empty() ? std::string("/") : drives.front();
}

} // namespace

std::string driveOf(const std::string& path) {
    std::string best;
    for (const auto& d : platform().drives())
        if (liesBelow(path, d) && d.size() > best.size()) best = d;
    return best.empty() ? firstDrive() : best;
}

std::string driveCurrentDir(const std::string& drive) {
    const std::string cwd = platform().currentDir();
    if (!liesBelow(cwd, drive)) return drive;
    // Another listed drive mounted further down may hold the current directory instead.
    for (const auto& d : platform().drives())
        if (d.size() > drive.size() && liesBelow(cwd, d)) return drive;
    return cwd;
}

std::string fallbackDrive(const std::string& fallback) {
    for (const auto& d : platform().drives())
        if (equalsNoCase(d, fallback)) return d;
    return firstDrive();
}

void driveChange(DriveListBox& drives, DirListBox& dirs, const std::string& fallback) {
    try {
        dirs.setPath(driveCurrentDir(drives.drive()));
        return;
    } catch (const RunError& e) {
        showError(e);
    }
    const std::string back = fallbackDrive(fallback);
    try {
        {
            // Setting the drive back would run the change again; it is done once, below.
            const QSignalBlocker hold(&drives);
            drives.setDrive(back);
        }
        dirs.setPath(driveCurrentDir(back));
    } catch (const RunError& e) {
        showError(e);
    }
}

} // namespace kx
