// Times the opening of the windows that show a text file in a multi-line box, with the file
// given as one line of many characters, and then how long the open window takes to resize and
// to scroll to the end. Offscreen, with the recording platform: no box is shown.
// Usage: bench_long_lines GAME_DIR   (the files are written there by scripts/bench-long-lines)
#include "Form7.h"
#include "Launcher.h"
#include "ModuleState.h"
#include "TextControls.h"
#include "frmCfgServ.h"
#include "frmSetup.h"
#include "frmMain.h"

#include "platform/FakePlatform.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextDocument>

#include <cstdio>
#include <functional>

namespace {

void settle() {
    QApplication::processEvents();
    QApplication::sendPostedEvents();
    QApplication::processEvents();
}

void measure(const char* what, const std::function<QWidget*()>& open, const std::function<QPlainTextEdit*(QWidget*)>& box) {
    QElapsedTimer t;
    t.start();
    QWidget* w = open();
    if (!w) {
        std::printf("%-28s did not open\n", what);
        return;
    }
    w->show();
    settle();
    const qint64 opened = t.elapsed();
    t.restart();
    for (int i = 0; i < 5; ++i) {
        w->resize(w->width() + 17, w->height() + 9);
        w->repaint();
        settle();
    }
    const qint64 resized = t.elapsed();
    t.restart();
    QPlainTextEdit* b = box(w);
    b->verticalScrollBar()->setValue(b->verticalScrollBar()->maximum());
    b->moveCursor(QTextCursor::End);
    b->repaint();
    settle();
    const qint64 scrolled = t.elapsed();
    std::printf("%-28s open %6lld ms   5 resizes %6lld ms   scroll to end %6lld ms\n", what, (long long)opened,
                (long long)resized, (long long)scrolled);
    std::fflush(stdout);
    w->hide();
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s GAME_DIR\n", argv[0]);
        return 2;
    }
    QApplication app(argc, argv);
    const std::string dir = argv[1];
    kx::FakePlatform fake;

    measure("wizard (firsttime.inf)", [&]() -> QWidget* { return new kx::prepdesk::frmSetup(dir); },
            [](QWidget* w) -> QPlainTextEdit* { return static_cast<kx::prepdesk::frmSetup*>(w)->Text1; });

    kx::arenawarden::state().korvexDir = dir;
    fake.settings["Korvex|settings|dsmloadserverset"] = "NONE";
    measure("arenawarden (cyc_welcome.ini)",
            [&]() -> QWidget* {
                auto* w = kx::arenawarden::loadCfgServ();
                if (w) w->Label21_Click(); // the info page that holds the welcome text
                return w;
            },
            [](QWidget* w) -> QPlainTextEdit* { return static_cast<kx::arenawarden::frmCfgServ*>(w)->Text1; });

    kx::launcher::state().korvexDir = dir;
    kx::launcher::state().viewerFile = dir + "/korvex.wfd/bench-viewer.txt";
    measure("launcher viewer (ReadMe)", [&]() -> QWidget* { return new kx::launcher::Form7; },
            [](QWidget* w) -> QPlainTextEdit* { return static_cast<kx::launcher::Form7*>(w)->Text1; });

    // The level modding assistant's first step text, shown when Next leaves the welcome page.
    fake.current = dir;
    fake.settings["LevelForge|configuration|firsttime"] = "YES";
    measure("level assistant (Step1.txt)",
            [&]() -> QWidget* {
                auto* w = new kx::lvlsmith::frmMain(dir);
                if (!w->Form_Load()) return nullptr;
                w->show();
                w->Command1_Click();
                if (w->Description->document()->characterCount() < 1'000'000)
                    std::printf("level assistant: the step text was not shown\n");
                return w;
            },
            [](QWidget* w) -> QPlainTextEdit* { return static_cast<kx::lvlsmith::frmMain*>(w)->Description; });
    return 0;
}
