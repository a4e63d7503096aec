#include "PlugIns.h"

#include "Form1.h"
#include "Form11.h"
#include "Launcher.h"

#include "core/Files.h"
#include "core/RunError.h"
#include "core/Text.h"
#include "platform/Platform.h"
#include "shared/PlugInScript.h"
#include "shared/Ui.h"

#include <QAction>
#include <QMenu>

namespace kx::launcher {

namespace {

// The file an item was made from, kept on the item: "my.tool.spi" is shown as "my" and runs
// "my.tool.spi", not "my.spi".
constexpr const char* FileProperty = "plugInFile";

std::string captionOf(const std::string& fileName) { return fileName.substr(0, fileName.find('.')); }

void setItem(QAction* item, const std::string& fileName) {
    Form1::setArrayCaption(item, captionOf(fileName));
    item->setProperty(FileProperty, QByteArray::fromStdString(fileName));
    item->setEnabled(true);
    item->setVisible(true);
}

// The menu is rebuilt while window messages run; until it is whole, its items do nothing.
bool rebuilding = false;

class RebuildGuard {
public:
    explicit RebuildGuard(Form1& f) : f_(f) {
        rebuilding = true;
        f_.mnuToolsPlugInsFolder->menuAction()->setEnabled(false);
    }
    ~RebuildGuard() {
        f_.mnuToolsPlugInsFolder->menuAction()->setEnabled(true);
        rebuilding = false;
    }

private:
    Form1& f_;
};

// Every run starts from empty values: nothing of an earlier run carries over.
struct RunValues {
    std::string workDirectory, useswfd, usesqfd, execFile, shdebug, approot, appfile, execDir, rtninfo;
};

void runPlugIn(const std::string& fileName, bool logged) {
    const auto log = [logged](const std::string& line) {
        if (logged) writeLog(line);
    };
    auto& s = state();
    RunValues v;
    try {
        // The description lies in the plug-in folder itself: a name with a path in it is
        // refused; any other name a file can have runs, as the menu lists it.
        if (!isUsablePlugInName(fileName)) throw RunError(err::BadFileName);
        const auto keys = readPlugInScript(readLines(resolvePath(plugInFolder(s.korvexDir), fileName)),
                                           SpiRules::Launcher);
        const auto value = [&](const char* key) {
            const auto it = keys.find(key);
            return it == keys.end() ? std::string() : it->second;
        };
        v.approot = value(spikey::AppRoot);
        v.appfile = value(spikey::AppFile);
        v.shdebug = value(spikey::ShDebug);
        v.useswfd = value(spikey::UsesWfd);
        v.usesqfd = value(spikey::UsesQfd);
        v.rtninfo = value(spikey::RtnInfo);
        if (v.useswfd == "true") v.workDirectory = s.korvexDir;
        if (v.usesqfd == "true") v.execDir = s.korvexDir;
        v.execFile = v.execDir + v.approot + v.appfile;
        log(">> $ExecFile == " + v.execFile);

        if (v.shdebug == "true") {
            log(">> Showing DebugInfo");
            showBox("Korvex 3.1 will shell the application " + v.appfile + " with following data:\r\n\r\n" +
                        "RootDirectory : " + v.approot + "\r\n\r\n" + "ExecFile : " + v.execFile + "\r\n\r\n" +
                        "ExecDir : " + v.execDir + "\r\n\r\n" + "WorkDirectory : " + v.workDirectory +
                        "\r\n\r\n" + "Quellfort directory is : " + s.korvexDir,
                    box::OkOnly + box::Information, "Starting PlugIn...");
        }

        log(">> Shelling ExecFile.");
        const PlugInStart start = plugInStart(v.execDir, v.approot + v.appfile, v.workDirectory, s.korvexDir);
        platform().startProcess(start.program, start.args, "", win::NormalFocus);
    } catch (const RunError&) {
        log(">> Shelling ExecFile Failed.");
        showBox("Starting of Plugin '" + v.appfile + "' failed\r\nTry option 'shdebug' in PlugIn file.\r\n"
                "Probably the Application that uses this PlugIn is not installed.",
                box::OkOnly + box::Critical, "Error...");
        return;
    }
    // Only a process that started counts as a started plug-in.
    if (v.rtninfo == "true") {
        log(">> ReturnInfo. PlugIn Executed");
        showBox("Execution of Plugin '" + v.appfile + "' successful", box::OkOnly + box::Information, "Info...");
    }
}

} // namespace

PlugInStart plugInStart(const std::string& execDir, const std::string& rest, const std::string& workDirectory,
                        const std::string& gameDir) {
    const std::string text = execDir + rest + " " + workDirectory;
    // A text that starts with the game directory names something inside it: a shorter prefix
    // ("/x/g" of the game directory "/x/g 4") would be a program outside, run by accident.
    const size_t shortest =
        !gameDir.empty() && text.compare(0, gameDir.size(), gameDir) == 0 ? gameDir.size() + 1 : 1;
    // The part after the base directory is data: "\" separates, case is ignored.
    const auto resolved = [&](const std::string& prefix) {
        if (!execDir.empty() && prefix.size() >= execDir.size())
            return resolvePath(execDir, prefix.substr(execDir.size()));
        return resolvePath(prefix);
    };
    // The file a prefix names: itself, or for a missing "x.exe" the file "x" (found ignoring
    // case too, so "lvlsmith.exe" finds "LVLSMITH"); "" when there is none.
    const auto program = [&](size_t length) -> std::string {
        const std::string prefix = text.substr(0, length);
        if (const std::string p = resolved(prefix); fileExists(p)) return p;
        if (length > 4 && lcase(prefix.substr(length - 4)) == ".exe")
            if (const std::string p = resolved(prefix.substr(0, length - 4)); fileExists(p)) return p;
        return "";
    };
    const auto split = [&](size_t length, std::string path) {
        PlugInStart start{std::move(path), {}};
        if (length + 1 < text.size()) start.args.push_back(text.substr(length + 1));
        return start;
    };
    for (size_t length = text.size(); length >= shortest; --length) {
        if (length < text.size() && text[length] != ' ') continue;
        if (std::string p = program(length); !p.empty()) return split(length, std::move(p));
    }
    const size_t length = (execDir + rest).size();
    return split(length, resolved(text.substr(0, length)));
}

bool fillPlugInMenu(PlugInFill form) {
    auto& s = state();
    const bool startUp = form == PlugInFill::StartUp;
    const std::string folder = plugInFolder(s.korvexDir);
    // A missing folder lists no file, as an empty one does.
    std::vector<std::string> files;
    if (dirExists(folder))
        for (auto& name : listFiles(folder, "*.spi"))
            if (isUsablePlugInName(name)) files.push_back(std::move(name)); // what is listed runs
    if (files.empty()) {
        platform().doEvents();
        return false;
    }
    Form1& f = form1();
    setItem(f.mnuToolsPlugIn[0], files[0]);
    if (startUp) writeLog(">> " + captionOf(files[0]));
    std::int16_t n = 1;
    for (;;) {
        if (startUp) {
            if (Form11* splash = loadedForm11()) splash->setStatus("adding plugin" + numText(static_cast<long long>(n)) + "...");
            platform().sleepMs(30);
        }
        if (static_cast<size_t>(n) >= files.size()) break;
        setItem(f.addPlugInItem(captionOf(files[n])), files[n]);
        if (startUp) writeLog(">> " + captionOf(files[n]));
        ++n;
    }
    s.lastPlugin = static_cast<std::int16_t>(n - 1);
    if (startUp) writeLog(">> %i LAST_PLUGIN ==" + numText(static_cast<long long>(s.lastPlugin)));
    return true;
}

void reloadPlugIns() {
    if (rebuilding) return;
    auto& s = state();
    Form1& f = form1();
    RebuildGuard guard(f);
    try {
        writeLog("Called ReloadPlugIns()");
        while (s.lastPlugin != 0) {
            f.removePlugInItem(s.lastPlugin);
            --s.lastPlugin;
            platform().doEvents();
        }
        f.resetPlugInItem0();
        f.mnuToolsPlugIn[0]->setProperty(FileProperty, QVariant());
        writeLog(">> Unloaded.");
        const bool found = fillPlugInMenu(PlugInFill::Reload);
        writeLog(">> Loaded.");
        writeLog(">> %i LAST_PLUGIN ==" + numText(static_cast<long long>(s.lastPlugin)));
        const long long count = found ? s.lastPlugin + 1 : 0;
        platform().msgBox(numText(count) + " PlugIns loaded successful.", box::Information, AppTitle);
    } catch (const RunError& e) {
        showError(e);
    }
}

void execPlugIn(const std::string& fileName) {
    writeLog("ExecPlugIn() Called.");
    writeLog(">> $FilName == " + fileName);
    runPlugIn(fileName, true);
}

void runPlugInItem(int index) {
    if (rebuilding) return;
    Form1* f = loadedForm1();
    if (!f || index < 0 || index >= static_cast<int>(f->mnuToolsPlugIn.size())) return;
    const QVariant file = f->mnuToolsPlugIn[static_cast<size_t>(index)]->property(FileProperty);
    if (!file.isValid()) return; // "no PlugIn available"
    runPlugIn(file.toByteArray().toStdString(), false);
}

} // namespace kx::launcher
