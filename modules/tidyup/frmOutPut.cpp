#include "frmOutPut.h"

#include "core/Files.h"
#include "core/RunError.h"
#include "core/Text.h"
#include "platform/Platform.h"
#include "shared/ModuleCommandLine.h"
#include "shared/Ui.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

namespace kx::tidyup {

namespace {
constexpr int WidthTwips = 4680, HeightTwips = 750, ShrinkStepTwips = 20, ShrunkTwips = 600;
}

long long logSizeKB(long long bytes) {
    const long long whole = bytes / 1024, rest = bytes % 1024;
    if (rest > 512 || (rest == 512 && whole % 2 == 1)) return whole + 1;
    return whole;
}

frmOutPut::frmOutPut(QWidget* parent) : QWidget(parent) {
    setObjectName("frmOutPut");
    setWindowTitle("Cleaning Korvex...");
    resize(twips(WidthTwips), twips(HeightTwips));
    Label2 = named(plainLabel("Processing...", this), "Label2");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label2);
    status_ = "Processing...";
}

void frmOutPut::setStatus(const std::string& text) {
    status_ = text;
    Label2->setText(toUi(text));
    Label2->repaint();
}

void frmOutPut::run(const std::string& commandLine) {
    // Centred across, three window heights above the bottom of the screen.
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect s = screen->geometry();
        move(s.width() / 2 - width() / 2, s.height() - 3 * height());
    }
    show();
    repaint();
    platform().doEvents();

    const auto dir = checkModuleCommandLine(commandLine);
    if (!dir) platform().endProgram(0);
    logsDir_ = resolvePath(*dir, "korvex.wfd/logs");

    ScanLogs();
    FinishCleaning();
}

void frmOutPut::ScanLogs() {
    // A missing or unreadable folder lists no names.
    for (const std::string& name : listFiles(logsDir_, "*.log")) CheckLogFile(name);
}

void frmOutPut::CheckLogFile(const std::string& name) {
    const std::string path = joinPath(logsDir_, name);
    setStatus(name + "...");
    long long kb = 0;
    try {
        kb = logSizeKB(fileLength(path));
    } catch (const RunError& e) {
        // Gone or unreadable since the listing: nothing to measure or delete.
        setStatus(status_ + " (" + e.description() + ")");
        platform().sleepMs(100);
        return;
    }
    platform().sleepMs(150);
    setStatus(status_ + numText(kb) + " KB");
    platform().sleepMs(150);
    if (kb > LimitKB) {
        setStatus(status_ + " -> Killing.");
        try {
            removeFile(path);
        } catch (const RunError& e) {
            // In use or protected: say so and go on with the next log.
            setStatus(status_ + " (" + e.description() + ")");
        }
    } else {
        setStatus(status_ + " -> Ok.");
    }
    platform().sleepMs(100);
}

void frmOutPut::FinishCleaning() {
    platform().sleepMs(150);
    setStatus("Finished.");
    platform().sleepMs(150);
    // The window's height here is its outer height, title bar and frame included: the client
    // area shrinks until the whole window is 600 twips high, which leaves little more than the
    // title bar. The steps are counted here, not read back from the window: a window the
    // platform keeps taller (a minimum size, a window manager) must not keep the loop going.
    const int frame = frameGeometry().height() - height();
    int heightTwips = frameGeometry().height() * 15;
    do {
        heightTwips -= ShrinkStepTwips;
        ++shrinkSteps_;
        resize(width(), std::max(1, twips(heightTwips) - frame));
        platform().doEvents();
    } while (heightTwips > ShrunkTwips);
    close();
    platform().endProgram(0);
}

} // namespace kx::tidyup
