#include "Launcher.h"

#include "Form1.h"
#include "Form11.h"
#include "Form6.h"
#include "Form7.h"
#include "config.h"

#include "platform/Platform.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>

namespace kx::launcher {

namespace {

struct Windows {
    QPointer<Form11> form11;
    QPointer<Form1> form1;
    QPointer<config> configForm;
    QPointer<Form6> form6;
    QPointer<Form7> form7;
};

Windows& windows() {
    static Windows w;
    return w;
}

template <class W>
W& touch(QPointer<W>& p) {
    if (!p) p = new W;
    return *p;
}

} // namespace

State& state() {
    static State s;
    return s;
}

std::string logPath(const std::string& korvexDir) { return korvexDir + "/Korvex.wfd/Logs/Korvex.log"; }

void setKorvexDir(const std::string& dir) {
    state().korvexDir = dir;
    state().log = std::make_unique<LogFile>(logPath(dir));
}

void writeLog(const std::string& line) {
    if (!state().log) state().log = std::make_unique<LogFile>(logPath(state().korvexDir));
    state().log->write(line);
}

LogSink logSink() {
    return [](const std::string& line) { writeLog(line); };
}

void installLauncherRoutines() {
    setErrorLog(logSink());
    setErrorBox(showBox);
}

void moduleStart(const std::string& key) { kx::moduleStart(state().korvexDir, key, logSink()); }

std::string loadText(const std::string& path) { return kx::loadText(path, logSink()); }

int startURL(const std::string& url) {
    if (!url.empty()) return kx::startURL(url, logSink());
    // An empty address names nothing: the call leaves its two log lines, opens and reports nothing.
    writeLog("Called StartURL().");
    writeLog(">> $URL == ");
    return 2;
}

int showBox(const std::string& text, int style, const std::string& title) {
    auto& s = state();
    s.msgText = text;
    s.msgStyle = std::to_string(style);
    s.msgTitle = title;
    const int answer = platform().msgBox(s.msgText, style, s.msgTitle);
    s.msgResult = std::to_string(answer);
    return answer;
}

Form11& form11() { return touch(windows().form11); }
Form1& form1() { return touch(windows().form1); }
config& configForm() { return touch(windows().configForm); }
Form6& form6() { return touch(windows().form6); }
Form7& form7() { return touch(windows().form7); }

Form11* loadedForm11() { return windows().form11; }
Form1* loadedForm1() { return windows().form1; }
Form6* loadedForm6() { return windows().form6; }
Form7* loadedForm7() { return windows().form7; }

void unloadForm11() {
    // Called from the splash window's own timer handler: it goes once that handler returns.
    if (Form11* f = windows().form11) {
        windows().form11 = nullptr;
        f->hide();
        f->deleteLater();
    }
}

void startLauncher() {
    installLauncherRoutines();
    form11().show();
}

void resetLauncher() {
    auto& w = windows();
    delete w.form11.data();
    delete w.form1.data();
    delete w.configForm.data();
    delete w.form6.data();
    delete w.form7.data();
    w = Windows{};
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    state() = State{};
    setErrorLog({});
    setErrorBox({});
}

} // namespace kx::launcher
