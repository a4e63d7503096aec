// A program built like every program of the suite: prints the command line it was given and
// what Qt made of its own arguments and whether its window carries the suite's icon, then ends. The start-up test runs it with Qt's options.
#include "shared/Program.h"

#include "core/RunError.h"

#include <QApplication>
#include <QIcon>
#include <QWidget>
#include <QWindow>

#include <cstdio>

int main(int argc, char** argv) {
    return kx::runProgram(argc, argv, {"mod_probe", false, true}, [](const std::string& commandLine) {
        QWidget w;
        w.setWindowTitle("probe");
        w.show();
        std::printf("cmd=%s\nqtargs=%d\ntitle=%s\nrtl=%d\nicon=%d\n", commandLine.c_str(),
                    int(QApplication::arguments().size()), qPrintable(w.windowHandle()->title()),
                    int(QApplication::isRightToLeft()),
                    int(w.windowHandle()->icon().availableSizes().contains(QSize(32, 32))));
        std::fflush(stdout);
        throw kx::ProgramEnded{0};
    });
}
