#include "ScreenShots.h"

#include "Launcher.h"

#include "core/Files.h"
#include "core/RunError.h"
#include "core/Text.h"
#include "platform/Platform.h"
#include "shared/Boxes.h"

#include <QDateTime>

namespace kx::launcher {

namespace {

bool running = false;

// Clears the running flag on every way out, a thrown end of the program included.
struct RunningGuard {
    RunningGuard() { running = true; }
    ~RunningGuard() { running = false; }
};

std::string movedText(int count) { return numText(static_cast<long long>(count)) + " File(s) moved successfully."; }

} // namespace

bool backUpRunning() { return running; }

std::string folderStamp(const std::string& dateTimeText) {
    std::string out = dateTimeText;
    for (char& c : out)
        if (c == '/' || c == ':' || c == '\\' || c == ',' || c == '.') c = '-';
    return out;
}

std::string folderStampFromNow() {
    // Latin digits in any regional format: a format that writes its own digits would give
    // every day's backup at the same time of day one name.
    return folderStamp(timeStamp(platform().now(), QStringLiteral("yyyy-MM-dd HH:mm:ss")));
}

std::string backUpScreenShots(bool report) {
    if (running) return "";
    RunningGuard guard;
    const State& s = state();
    writeLog("Called BackUpScreenShots().");
    try {
        int counter = 1;
        const std::string folderName = "QF_SnapsBackUp_" + folderStampFromNow();
        writeLog(">> BackingUp to : " + folderName);
        // An empty snapshot directory would put the folder at the root of the disk.
        if (s.snapShotDir.empty()) throw RunError(err::PathNotFound);
        // The snapshot folder is the user's, spelt as configured; the new folder and the
        // copies are never matched by case, so nothing existing is taken for them.
        const std::string target = joinPath(resolvePath(s.snapShotDir), folderName);
        makeDir(target);

        const std::vector<std::string> names = listFiles(s.gameDir, "*.tga");
        if (names.empty()) {
            removeDir(target);
            if (!report) return "";
            writeLog(">> No Files available to back up.");
            return "No Files available to back up.";
        }
        for (size_t i = 0; i < names.size(); ++i) {
            const std::string source = joinPath(s.gameDir, names[i]);
            const std::string copy = joinPath(target, names[i]);
            // The copy and the delete of the source in one: the source goes only once the
            // copy exists in full, and a name taken already is refused, never replaced. A link
            // is moved as the link; a copy to another disk keeps the time and the bits.
            bool arrived = false;
            try {
                moveFileNoOverwrite(source, copy, &arrived);
            } catch (const RunError&) {
                // The copy is there although its source could not be deleted: the log says so
                // before the failure is shown.
                if (arrived) writeLog(">> Copied File : " + copy);
                throw;
            }
            writeLog(">> Copied File : " + copy);
            ++counter;
            if (i + 1 < names.size()) platform().doEvents();
        }
        if (!report) return "";
        writeLog(">>" + movedText(counter - 1));
        return movedText(counter - 1);
    } catch (const RunError& e) {
        showError("BackUp possibly not successful.\r\n" + e.description(), e.number());
        return "";
    }
}

} // namespace kx::launcher
