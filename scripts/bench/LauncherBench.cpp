// Times the launcher's windows with one very long value: the about box with its start page as
// one line of many characters, and the start-up from the splash window to the main window with
// a player name of that length in korvex.cfg. Offscreen, with the recording platform: no box is
// shown and the loader's pauses take no time.
// Usage: bench_launcher GAME_DIR   (the files are written there by scripts/bench-long-lines)
#include "Form1.h"
#include "Form11.h"
#include "Form6.h"
#include "Launcher.h"

#include "platform/FakePlatform.h"

#include <QApplication>
#include <QElapsedTimer>

#include <cstdio>

namespace {

void settle() {
    QApplication::processEvents();
    QApplication::sendPostedEvents();
    QApplication::processEvents();
}

void report(const char* what, qint64 opened, qint64 resized) {
    std::printf("%-28s open %6lld ms   5 resizes %6lld ms\n", what, (long long)opened, (long long)resized);
    std::fflush(stdout);
}

qint64 resizeFive(QWidget* w) {
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < 5; ++i) {
        w->resize(w->width() + 17, w->height() + 9);
        w->repaint();
        settle();
    }
    return t.elapsed();
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s GAME_DIR\n", argv[0]);
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    const std::string dir = argv[1];
    kx::FakePlatform fake;
    fake.current = dir;
    using namespace kx::launcher;
    installLauncherRoutines();

    {
        state().korvexDir = dir;
        QElapsedTimer t;
        t.start();
        Form6& about = form6();
        about.show();
        settle();
        const qint64 opened = t.elapsed();
        report("about box (about_startup.htm)", opened, resizeFive(&about));
        about.hide();
    }
    resetLauncher();
    installLauncherRoutines();

    {
        // The whole start-up: korvex.cfg read, the name shown on the splash window, the main window up.
        QElapsedTimer t;
        t.start();
        Form11& splash = form11();
        splash.show();
        settle();
        splash.Timer1_Timer();
        settle();
        Form1* main = loadedForm1();
        const qint64 opened = t.elapsed();
        if (!main || !main->isVisible()) {
            std::printf("%-28s did not open\n", "splash to main (playername)");
            return 1;
        }
        report("splash to main (playername)", opened, 0);
    }
    return 0;
}
