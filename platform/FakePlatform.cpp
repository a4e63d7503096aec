#include "platform/FakePlatform.h"

#include <algorithm>

#include "core/RunError.h"

#include <QCoreApplication>

#include <sys/stat.h>

namespace kx {

namespace {

std::string joined(const std::vector<std::string>& v) {
    std::string out;
    for (size_t i = 0; i < v.size(); ++i) {
        if (i) out += ',';
        out += v[i];
    }
    return out;
}

std::string lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return s;
}

const char* hiveName(Hive h) {
    switch (h) {
    case Hive::ClassesRoot: return "HKEY_CLASSES_ROOT";
    case Hive::CurrentUser: return "HKEY_CURRENT_USER";
    case Hive::LocalMachine: return "HKEY_LOCAL_MACHINE";
    case Hive::Users: return "HKEY_USERS";
    }
    return "";
}

bool isRegularFile(const std::string& p) {
    struct stat st{};
    return ::stat(p.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

} // namespace

FakePlatform::FakePlatform() : clock(QDateTime(QDate(2026, 12, 10), QTime(12, 0, 0))) {
    previous_ = setPlatform(this);
}

FakePlatform::~FakePlatform() { setPlatform(previous_); }

int FakePlatform::msgBox(const std::string& text, int style, const std::string& title) {
    const std::string shown = title.empty() ? programName() : title;
    boxes.push_back({text, style, shown});
    calls.push_back("msgBox(" + text + "|" + std::to_string(style) + "|" + shown + ")");
    if (!boxAnswers.empty()) {
        int a = boxAnswers.front();
        boxAnswers.pop_front();
        return a;
    }
    return (style & 7) == box::YesNo ? box::No : box::Ok;
}

std::string FakePlatform::inputBox(const std::string& prompt, const std::string& title,
                                   const std::string& defaultText) {
    inputs.push_back({prompt, title, defaultText});
    calls.push_back("inputBox(" + prompt + "|" + title + "|" + defaultText + ")");
    if (!inputAnswers.empty()) {
        auto a = inputAnswers.front();
        inputAnswers.pop_front();
        return a.value_or(std::string());
    }
    return defaultText;
}

void FakePlatform::startProcess(const std::string& program, const std::vector<std::string>& args,
                                const std::string& workDir, int windowStyle) {
    calls.push_back("start(" + program + "|" + joined(args) + "|" + workDir + ")");
    auto f = failingStarts.find(program);
    if (f != failingStarts.end()) throw RunError(f->second);
    // As the real start: a NUL would cut the text, so nothing starts.
    auto holdsNul = [](const std::string& s) { return s.find('\0') != std::string::npos; };
    if (holdsNul(program) || holdsNul(workDir) || std::any_of(args.begin(), args.end(), holdsNul))
        throw RunError(err::BadFileName);
    if (checkProgramExists && !isRegularFile(program)) {
        // Mirrors the real start: a missing "x.exe" falls back to "x".
        const bool exe = program.size() > 4 && lower(program.substr(program.size() - 4)) == ".exe";
        if (!(exe && isRegularFile(program.substr(0, program.size() - 4)))) throw RunError(err::FileNotFound);
    }
    starts.push_back({program, args, workDir, windowStyle});
}

int FakePlatform::shellOpen(const std::string& target) {
    calls.push_back("shellOpen(" + target + ")");
    shellOpens.push_back(target);
    return shellOpenResult;
}

void FakePlatform::openInEditor(const std::string& file) {
    calls.push_back("editor(" + file + ")");
    editorOpens.push_back(file);
}

void FakePlatform::openFolder(const std::string& folder) {
    calls.push_back("folder(" + folder + ")");
    folderOpens.push_back(folder);
}

void FakePlatform::endProgram(int exitCode) {
    calls.push_back("end(" + std::to_string(exitCode) + ")");
    endCode = exitCode;
    throw ProgramEnded{exitCode};
}

std::string FakePlatform::getSetting(const std::string& app, const std::string& section,
                                     const std::string& key) {
    calls.push_back("getSetting(" + app + "|" + section + "|" + key + ")");
    auto it = settings.find(app + "|" + section + "|" + key);
    return it == settings.end() ? std::string() : it->second;
}

void FakePlatform::saveSetting(const std::string& app, const std::string& section,
                               const std::string& key, const std::string& value) {
    calls.push_back("saveSetting(" + app + "|" + section + "|" + key + "|" + value + ")");
    settings[app + "|" + section + "|" + key] = value;
}

long FakePlatform::regOpenKey(Hive hive, const std::string& subKey, RegKey& key) {
    const std::string path = std::string(hiveName(hive)) + "|" + lower(subKey);
    calls.push_back("regOpenKey(" + std::string(hiveName(hive)) + "|" + subKey + ")");
    if (!registry.count(path)) return reg::FileNotFound;
    key = nextKey_++;
    openKeys_[key] = path;
    return reg::Success;
}

long FakePlatform::regCreateKey(Hive hive, const std::string& subKey, RegKey& key) {
    const std::string path = std::string(hiveName(hive)) + "|" + lower(subKey);
    calls.push_back("regCreateKey(" + std::string(hiveName(hive)) + "|" + subKey + ")");
    registry[path];
    key = nextKey_++;
    openKeys_[key] = path;
    return reg::Success;
}

long FakePlatform::regQueryValue(RegKey key, const std::string& name, std::uint32_t& type,
                                 std::string& data) {
    calls.push_back("regQueryValue(" + name + ")");
    auto k = openKeys_.find(key);
    if (k == openKeys_.end()) return reg::InvalidHandle;
    auto& values = registry[k->second].values;
    auto v = values.find(lower(name));
    if (v == values.end()) return reg::FileNotFound;
    type = v->second.first;
    data = v->second.second;
    return reg::Success;
}

long FakePlatform::regSetString(RegKey key, const std::string& name, const std::string& value) {
    calls.push_back("regSetString(" + name + "|" + value + ")");
    auto k = openKeys_.find(key);
    if (k == openKeys_.end()) return reg::InvalidHandle;
    registry[k->second].values[lower(name)] = {reg::Sz, value};
    return reg::Success;
}

long FakePlatform::regSetDword(RegKey key, const std::string& name, std::uint32_t value) {
    calls.push_back("regSetDword(" + name + "|" + std::to_string(value) + ")");
    auto k = openKeys_.find(key);
    if (k == openKeys_.end()) return reg::InvalidHandle;
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) bytes[size_t(i)] = char((value >> (8 * i)) & 0xFF);
    registry[k->second].values[lower(name)] = {reg::Dword, bytes};
    return reg::Success;
}

long FakePlatform::regCloseKey(RegKey key) {
    calls.push_back("regCloseKey");
    return openKeys_.erase(key) ? reg::Success : reg::InvalidHandle;
}

std::vector<TopWindow> FakePlatform::topWindows() {
    calls.push_back("topWindows");
    std::vector<TopWindow> out = windows;
    for (auto& w : out)
        if (w.title.size() > 255) w.title.resize(255);
    return out;
}

bool FakePlatform::closeWindow(std::uint64_t id) {
    calls.push_back("closeWindow(" + std::to_string(id) + ")");
    closedWindows.push_back(id);
    if (!windowsCloseOnRequest) return false;
    for (auto it = windows.begin(); it != windows.end(); ++it)
        if (it->id == id) {
            windows.erase(it);
            break;
        }
    return true;
}

bool FakePlatform::trayAdd(const std::string& iconPath, const std::string& tooltip,
                           std::function<void(int)> onMouse) {
    calls.push_back("trayAdd(" + iconPath + "|" + tooltip + ")");
    trayShown = true;
    trayIcon = iconPath;
    trayTooltip = tooltip;
    trayHandler = std::move(onMouse);
    return true;
}

void FakePlatform::trayRemove() {
    calls.push_back("trayRemove");
    trayShown = false;
    trayHandler = nullptr;
}

int FakePlatform::socketsStart() {
    calls.push_back("socketsStart");
    return socketsStartResult;
}

int FakePlatform::socketsStop() {
    calls.push_back("socketsStop");
    return socketsStopResult;
}

std::vector<std::string> FakePlatform::resolveIPv4(const std::string& host) {
    calls.push_back("resolve(" + host + ")");
    if (host.empty()) return {};
    auto it = dns.find(host);
    return it == dns.end() ? std::vector<std::string>{} : it->second;
}

bool FakePlatform::isReachable(const std::string& ipv4) {
    calls.push_back("reachable(" + ipv4 + ")");
    auto it = reachable.find(ipv4);
    return it != reachable.end() && it->second;
}

std::string FakePlatform::computerName() {
    calls.push_back("computerName");
    return computer;
}

QDateTime FakePlatform::now() { return clock; }

void FakePlatform::sleepMs(int ms) {
    calls.push_back("sleep(" + std::to_string(ms) + ")");
    sleeps.push_back(ms);
    advance(ms);
}

void FakePlatform::doEvents() {
    calls.push_back("doEvents");
    if (onDoEvents) onDoEvents();
}

double FakePlatform::random() {
    if (randoms.empty()) return 0.0;
    double r = randoms.front();
    randoms.pop_front();
    return r;
}

std::string FakePlatform::currentDir() { return current; }

void FakePlatform::setCurrentDir(const std::string& dir) {
    calls.push_back("chdir(" + dir + ")");
    struct stat st{};
    if (::stat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) throw RunError(err::PathNotFound);
    current = dir;
}

std::vector<std::string> FakePlatform::drives() { return driveList; }

} // namespace kx
