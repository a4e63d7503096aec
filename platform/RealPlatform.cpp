// The platform for this machine (Debian, X11, Qt 6). The pieces that need more than a few
// lines live in Real*.cpp beside this file; see RealParts.h.
//
// Choices worth knowing:
// - Boxes show only the three button sets the programs use (OK, OK/Cancel, Yes/No); any other
//   button number shows OK. Esc and the close button answer Cancel or No (OK in an OK box).
// - The window style of a process start is not used: on X11 the program places its windows.
// - shellOpen: an existing local path opens as a file URL; else a text with a scheme as given,
//   a bare "www.x.org" as http. Where Qt has no desktop services (offscreen, no display) the
//   address goes to xdg-open directly.
// - The computer name is the host name up to its first dot (a network name holds none), cut
//   to 15 characters.
// - Registry calls report file trouble as the target platform's codes: 5 access denied, 1016
//   registry I/O failed.

#include "platform/RealPlatform.h"

#include "platform/RealParts.h"
#include "core/Files.h"
#include "core/RunError.h"
#include "core/Text.h"

#include <QApplication>
#include <QDateTime>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QStyle>
#include <QSystemTrayIcon>
#include <QUrl>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <limits>
#include <map>
#include <random>
#include <set>
#include <thread>

#include <sys/stat.h>
#include <unistd.h>

namespace kx {

namespace {

constexpr long kAccessDenied = 5, kRegistryIoFailed = 1016;

QApplication* widgetApp(const char* what) {
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (!app) throw RunError(err::InvalidCall, std::string("Cannot show ") + what + ": the program has no window system");
    return app;
}

// A box's text and title often hold a value (a path, a name, a line of a script): a box lays
// out its whole text before it shows, and a line of megabytes takes minutes. Lines and titles
// are cut to a length any box can show, and so is the number of lines.
constexpr qsizetype kBoxLine = 1000, kBoxLines = 60, kBoxTitle = 400;

QString cutLine(QString line, qsizetype n) {
    if (line.size() <= n) return line;
    if (line.at(n - 1).isHighSurrogate()) --n;
    line.truncate(n);
    return line + QChar(0x2026);
}

// CR LF, LF and a lone CR all break the line.
QString shownText(const std::string& bytes) {
    QString t = toUi(bytes);
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList lines = t.split(QLatin1Char('\n'));
    if (lines.size() > kBoxLines) {
        lines.resize(kBoxLines);
        lines.back() = QString(QChar(0x2026));
    }
    for (QString& line : lines) line = cutLine(line, kBoxLine);
    return lines.join(QLatin1Char('\n'));
}

QString shownTitle(const std::string& bytes) {
    QString t = toUi(bytes);
    for (QChar& c : t)
        if (c == u'\n' || c == u'\r' || c == u'\t') c = u' ';
    return cutLine(t, kBoxTitle);
}

long regFailure(const RunError& e) { return e.number() == err::PermissionDenied ? kAccessDenied : kRegistryIoFailed; }

std::string keyPath(Hive hive, const std::string& subKey) {
    const std::string sub = real::normalizeSubKey(subKey);
    return std::string(real::hiveName(hive)) + (sub.empty() ? "" : "\\" + sub);
}

class RealPlatform : public Platform {
public:
    RealPlatform() : rng_(std::random_device{}()) {}
    ~RealPlatform() override { delete tray_.data(); }

    int msgBox(const std::string& text, int style, const std::string& title) override {
        const std::string shown = title.empty() ? programName() : title;
        if (real::dialogsScripted()) return real::scriptedBox(programName(), text, style, shown);
        widgetApp("a message box");

        QMessageBox b;
        b.setWindowTitle(shownTitle(shown));
        b.setTextFormat(Qt::PlainText);
        b.setText(shownText(text));
        switch (style & 0x70) {
        case box::Critical: b.setIcon(QMessageBox::Critical); break;
        case box::Question: b.setIcon(QMessageBox::Question); break;
        case box::Exclamation: b.setIcon(QMessageBox::Warning); break;
        case box::Information: b.setIcon(QMessageBox::Information); break;
        default: break;
        }
        switch (style & 15) {
        case box::OkCancel:
            b.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            b.setDefaultButton(QMessageBox::Ok);
            b.setEscapeButton(QMessageBox::Cancel);
            break;
        case box::YesNo:
            b.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            b.setDefaultButton(QMessageBox::Yes);
            b.setEscapeButton(QMessageBox::No);
            break;
        default:
            b.setStandardButtons(QMessageBox::Ok);
            b.setEscapeButton(QMessageBox::Ok);
            break;
        }
        b.exec();
        const QAbstractButton* clicked = b.clickedButton();
        switch (clicked ? b.standardButton(const_cast<QAbstractButton*>(clicked)) : QMessageBox::NoButton) {
        case QMessageBox::Cancel: return box::Cancel;
        case QMessageBox::Yes: return box::Yes;
        case QMessageBox::No: return box::No;
        case QMessageBox::Ok: return box::Ok;
        default: // closed some other way: as the escape button
            return (style & 15) == box::YesNo ? box::No : (style & 15) == box::OkCancel ? box::Cancel : box::Ok;
        }
    }

    std::string inputBox(const std::string& prompt, const std::string& title,
                         const std::string& defaultText) override {
        const std::string shown = title.empty() ? programName() : title;
        if (real::dialogsScripted()) return real::scriptedInput(programName(), prompt, shown, defaultText);
        widgetApp("an input box");

        QInputDialog d;
        d.setWindowTitle(shownTitle(shown));
        d.setInputMode(QInputDialog::TextInput);
        d.setLabelText(shownText(prompt));
        for (QLabel* l : d.findChildren<QLabel*>()) l->setTextFormat(Qt::PlainText);
        // The box has no length limit of its own: Qt's default would cut a long default text.
        for (QLineEdit* e : d.findChildren<QLineEdit*>()) e->setMaxLength(std::numeric_limits<int>::max());
        d.setTextValue(toUi(defaultText));
        if (d.exec() != QDialog::Accepted) return "";
        return fromUi(d.textValue());
    }

    void startProcess(const std::string& program, const std::vector<std::string>& args, const std::string& workDir,
                      int /*windowStyle: see above*/) override {
        real::spawnDetached(program, args, workDir);
    }

    int shellOpen(const std::string& target) override {
        if (target.empty()) return 2;
        const QString t = toUi(target);
        QUrl url;
        // A local path is bytes of the file system, not Windows-1252 text: its address is made
        // from those bytes, so a name that is not UTF-8 (or holds "#" or "?") still opens.
        struct stat st;
        if (::stat(target.c_str(), &st) == 0) {
            std::string path = target;
            if (path[0] != '/') {
                char cwd[4096];
                if (!::getcwd(cwd, sizeof cwd)) return 2;
                path = std::string(cwd) + "/" + path;
            }
            url = QUrl::fromEncoded(QByteArray::fromStdString(localFileUrl(path)), QUrl::StrictMode);
        } else {
            const QUrl given(t, QUrl::StrictMode);
            if (given.isValid() && given.scheme().size() > 1) url = given; // not a drive letter
            else if (!t.startsWith(QLatin1Char('/')) && !t.startsWith(QLatin1Char('.'))) url = QUrl::fromUserInput(t);
        }
        if (!url.isValid() || url.isEmpty()) return 2;
        if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) && QDesktopServices::openUrl(url)) return 42;
        // No desktop services (no display, offscreen): the desktop's opener directly.
        try {
            real::spawnDetached("xdg-open", {fromUi(url.toString(QUrl::FullyEncoded))}, "", false);
            return 42;
        } catch (const RunError&) {
            return 2;
        }
    }

    void openInEditor(const std::string& file) override {
        const char* editor = std::getenv("KORVEX_EDITOR");
        std::vector<std::string> args;
        if (!file.empty()) args.push_back(file);
        real::spawnDetached(editor && *editor ? editor : "xdg-open", args, "", false);
    }

    void openFolder(const std::string& folder) override {
        std::vector<std::string> args;
        if (!folder.empty()) args.push_back(folder);
        real::spawnDetached("xdg-open", args, "", false);
    }

    [[noreturn]] void endProgram(int exitCode) override {
        std::cout.flush();
        std::cerr.flush();
        std::fflush(nullptr);
        std::exit(exitCode);
    }

    std::string getSetting(const std::string& app, const std::string& section, const std::string& key) override {
        return real::readSetting(app, section, key);
    }

    void saveSetting(const std::string& app, const std::string& section, const std::string& key,
                     const std::string& value) override {
        real::writeSetting(app, section, key, value);
    }

    long regOpenKey(Hive hive, const std::string& subKey, RegKey& key) override {
        try {
            const std::string path = keyPath(hive, subKey);
            if (!real::registryKeyExists(path)) return reg::FileNotFound;
            key = open(path);
            return reg::Success;
        } catch (const RunError& e) {
            return regFailure(e);
        }
    }

    long regCreateKey(Hive hive, const std::string& subKey, RegKey& key) override {
        try {
            const std::string path = keyPath(hive, subKey);
            real::registryCreateKey(path);
            key = open(path);
            return reg::Success;
        } catch (const RunError& e) {
            return regFailure(e);
        }
    }

    long regQueryValue(RegKey key, const std::string& name, std::uint32_t& type, std::string& data) override {
        const auto k = keys_.find(key);
        if (k == keys_.end()) return reg::InvalidHandle;
        try {
            return real::registryQuery(k->second, name, type, data) ? reg::Success : reg::FileNotFound;
        } catch (const RunError& e) {
            return regFailure(e);
        }
    }

    long regSetString(RegKey key, const std::string& name, const std::string& value) override {
        return set(key, name, reg::Sz, value);
    }

    long regSetDword(RegKey key, const std::string& name, std::uint32_t value) override {
        std::string bytes(4, '\0');
        for (int i = 0; i < 4; ++i) bytes[size_t(i)] = char((value >> (8 * i)) & 0xFF);
        return set(key, name, reg::Dword, bytes);
    }

    long regCloseKey(RegKey key) override { return keys_.erase(key) ? reg::Success : reg::InvalidHandle; }

    std::vector<TopWindow> topWindows() override { return real::listTopWindows(); }

    bool closeWindow(std::uint64_t id) override { return real::closeTopWindow(id); }

    bool trayAdd(const std::string& iconPath, const std::string& tooltip, std::function<void(int)> onMouse) override {
        if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return false;
        if (!QSystemTrayIcon::isSystemTrayAvailable()) return false;
        if (!tray_) {
            tray_ = new QSystemTrayIcon(qApp);
            tray_->setObjectName(QStringLiteral("kxTrayIcon"));
            QObject::connect(tray_.data(), &QSystemTrayIcon::activated, tray_.data(),
                             [this](QSystemTrayIcon::ActivationReason r) {
                                 const int message = r == QSystemTrayIcon::DoubleClick ? tray::LeftDoubleClick
                                                     : r == QSystemTrayIcon::Context  ? tray::RightButtonUp
                                                                                      : 0;
                                 // A copy: the handler may remove the icon and with it trayHandler_.
                                 const auto handler = trayHandler_;
                                 if (message && handler) handler(message);
                             });
        }
        // A picture that cannot be read still gives an icon to click on.
        const QIcon picture(toUi(iconPath));
        tray_->setIcon(picture.pixmap(16, 16).isNull() ? qApp->style()->standardIcon(QStyle::SP_ComputerIcon) : picture);
        tray_->setToolTip(toUi(tooltip));
        trayHandler_ = std::move(onMouse);
        tray_->show();
        return true;
    }

    void trayRemove() override {
        trayHandler_ = nullptr;
        if (!tray_) return;
        tray_->hide();
        tray_->deleteLater(); // may be inside its own signal
        tray_ = nullptr;
    }

    int socketsStart() override { return 0; }
    int socketsStop() override { return 0; }

    std::vector<std::string> resolveIPv4(const std::string& host) override { return real::resolveIPv4(host); }

    bool isReachable(const std::string& ipv4) override {
        std::uint32_t address = 0;
        if (!real::parseIPv4(ipv4, address)) return false;
        return real::probeIPv4(address, 2800);
    }

    std::string computerName() override {
        char buf[256] = {0};
        if (::gethostname(buf, sizeof buf - 1) != 0)
            throw RunError(err::InvalidCall, "The computer's name cannot be read");
        std::string name = buf;
        name = name.substr(0, name.find('.'));
        if (name.size() > 15) name.resize(15);
        return name;
    }

    QDateTime now() override { return QDateTime::currentDateTime(); }

    void sleepMs(int ms) override {
        if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    }

    void doEvents() override {
        if (QCoreApplication::instance()) QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }

    double random() override {
        // 53 random bits: always below 1.
        return double(rng_() >> 11) * (1.0 / 9007199254740992.0);
    }

    std::string currentDir() override {
        std::string buf(4096, '\0');
        while (!::getcwd(buf.data(), buf.size())) {
            if (errno != ERANGE) throw RunError(err::PathNotFound, "The current directory no longer exists");
            buf.resize(buf.size() * 2);
        }
        return buf.c_str();
    }

    void setCurrentDir(const std::string& dir) override {
        if (::chdir(dir.c_str()) == 0) return;
        if (errno == EACCES || errno == EPERM) throw RunError(err::PermissionDenied);
        throw RunError(err::PathNotFound);
    }

    std::vector<std::string> drives() override { return real::mountRoots(); }

private:
    RegKey open(const std::string& path) {
        const RegKey k = nextKey_++;
        keys_[k] = path;
        return k;
    }

    long set(RegKey key, const std::string& name, std::uint32_t type, const std::string& data) {
        const auto k = keys_.find(key);
        if (k == keys_.end()) return reg::InvalidHandle;
        try {
            real::registrySet(k->second, name, type, data);
            return reg::Success;
        } catch (const RunError& e) {
            return regFailure(e);
        }
    }

    std::map<RegKey, std::string> keys_;
    RegKey nextKey_ = 0x1000;
    QPointer<QSystemTrayIcon> tray_;
    std::function<void(int)> trayHandler_;
    std::mt19937_64 rng_;
};

// "\040" and its like in /proc/self/mounts stand for the byte with that octal code.
std::string unescapeMount(const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        auto octal = [&](size_t k) { return k < s.size() && s[k] >= '0' && s[k] <= '7'; };
        if (s[i] == '\\' && octal(i + 1) && octal(i + 2) && octal(i + 3)) {
            out += char((s[i + 1] - '0') * 64 + (s[i + 2] - '0') * 8 + (s[i + 3] - '0'));
            i += 3;
        } else {
            out += s[i];
        }
    }
    return out;
}

} // namespace

namespace real {

std::vector<std::string> mountRoots() {
    // File systems on a device, or network shares; not proc, sysfs, tmpfs, cgroup and the like.
    static const std::set<std::string> network = {"nfs", "nfs4", "cifs", "smb3", "smbfs", "9p", "virtiofs",
                                                  "fuse.sshfs", "vboxsf"};
    std::vector<std::string> out = {"/"};
    std::ifstream in("/proc/self/mounts");
    std::string device, point, type, rest;
    while (in >> device >> point >> type) {
        std::getline(in, rest);
        point = unescapeMount(point);
        if (device.rfind("/dev/", 0) != 0 && !network.count(type)) continue;
        struct stat st{};
        if (::stat(point.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) continue; // bind-mounted files
        bool seen = false;
        for (const auto& o : out) seen = seen || o == point;
        if (!seen) out.push_back(point);
    }
    return out;
}

} // namespace real

std::unique_ptr<Platform> makeRealPlatform() { return std::make_unique<RealPlatform>(); }

} // namespace kx
