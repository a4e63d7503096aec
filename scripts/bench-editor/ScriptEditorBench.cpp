// Times the script editor with large files, offscreen, with the recording platform (boxes are
// answered from code, none is shown). For each file shape: how long "Load Script" takes until
// the text is shown, the longest time the window went without serving its events meanwhile,
// how often it repainted, whether the save gives the file back byte for byte, and the save's
// time. Then the time a key takes to show when typed into one long line, and how soon a close
// during a load (of 300,000 lines in 19 MB, 100 ms after it began) ends it. For comparison,
// the same key in one unbroken long line of the two stock boxes.
// Usage: bench_script_editor GAME_DIR MEGABYTES   (scripts/bench-script-editor)
#include "ScriptEdit.h"
#include "frmMain.h"

#include "core/Text.h"
#include "platform/FakePlatform.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>

namespace {

using kx::quillroom::frmMain;

std::string gameDir;
const char* const File = "/korvex.wfd/config/servers.ini";

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeAll(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// Lines of the given length (the last one shorter) up to about bytes, CR LF after each; the
// text mixes letters, blanks, no-break spaces and 8-bit characters.
std::string shape(size_t bytes, size_t lineLength) {
    static const char alphabet[] = "the quick brown fox \xA0jumps over \xE9\x80\x9F lazy dogs 0123456789";
    std::string out;
    out.reserve(bytes + 2);
    size_t k = 0;
    while (out.size() < bytes) {
        const size_t n = std::min(lineLength, bytes - out.size());
        for (size_t i = 0; i < n; ++i) out += alphabet[k++ % (sizeof alphabet - 1)];
        out += "\r\n";
    }
    return out;
}

void settle() {
    for (int i = 0; i < 3; ++i) {
        QApplication::processEvents();
        QApplication::sendPostedEvents();
    }
}

// Counts the turns of the event loop (a zero timer) while it runs, and the window's repaints
// when it asks for one every 20 ms, as a window being uncovered or moved would.
struct Watch : QObject {
    QElapsedTimer clock;
    qint64 last = 0, longest = 0;
    int paints = 0, turns = 0;
    QTimer timer, damage;
    explicit Watch(QWidget* window) {
        window->installEventFilter(this);
        timer.setInterval(0);
        QObject::connect(&timer, &QTimer::timeout, [this] { turn(); });
        damage.setInterval(20);
        QObject::connect(&damage, &QTimer::timeout, [window] { window->update(); });
        clock.start();
        timer.start();
        damage.start();
    }
    void turn() {
        const qint64 now = clock.elapsed();
        longest = std::max(longest, now - last);
        last = now;
        ++turns;
    }
    void stop() {
        timer.stop();
        damage.stop();
        turn();
    }
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) ++paints;
        return false;
    }
};

void loadShape(kx::FakePlatform& fake, const char* what, const std::string& bytes) {
    writeAll(gameDir + File, bytes);
    frmMain w(gameDir);
    w.resize(900, 700);
    w.show();
    settle();
    QElapsedTimer t;
    t.start();
    Watch watch(&w);
    w.mnuFileLoadServerList->trigger();
    w.repaint();
    settle();
    watch.stop();
    const qint64 shown = t.elapsed();
    const int blocks = w.ScriptText->document()->blockCount();

    t.restart();
    for (int i = 0; i < 5; ++i) {
        w.resize(w.width() + 17, w.height() + 9);
        w.repaint();
        settle();
    }
    const qint64 resized = t.elapsed();
    t.restart();
    w.ScriptText->moveCursor(QTextCursor::End);
    w.ScriptText->repaint();
    settle();
    const qint64 scrolled = t.elapsed();

    t.restart();
    fake.boxAnswers = {kx::box::Yes};
    w.mnuFileSaveCurrent->trigger();
    const qint64 saved = t.elapsed();
    const bool same = readAll(gameDir + File) == bytes;
    std::printf("%-24s shown after %4lld ms, longest without events %3lld ms, %3d repaints, %4d event turns, "
                "%6d blocks; 5 resizes %4lld ms, to the end %4lld ms; save %4lld ms, %s\n",
                what, (long long)shown, (long long)watch.longest, watch.paints, watch.turns, blocks, (long long)resized,
                (long long)scrolled, (long long)saved, same ? "byte for byte" : "BYTES DIFFER");
    std::fflush(stdout);
}

// Keys typed into the middle of the long line; the time until each has been painted.
template <typename Box>
void typeKeys(const char* what, Box* box, QWidget* window, int keys) {
    window->show();
    settle();
    QTextCursor c(box->document());
    c.setPosition(box->document()->characterCount() / 2);
    box->setTextCursor(c);
    box->setFocus();
    settle();
    const int before = box->document()->characterCount();
    qint64 total = 0, worst = 0;
    for (int i = 0; i < keys; ++i) {
        QElapsedTimer t;
        t.start();
        QTest::keyClick(box, Qt::Key_A);
        box->viewport()->repaint();
        settle();
        const qint64 ms = t.elapsed();
        total += ms;
        worst = std::max(worst, ms);
    }
    const int typed = box->document()->characterCount() - before;
    std::printf("%-46s %2d keys: %6.1f ms a key on average, %5lld ms the slowest%s\n", what, keys,
                double(total) / keys, (long long)worst, typed == keys ? "" : "  (NOT ALL TYPED)");
    std::fflush(stdout);
}

void typeIntoEditor(size_t mb, size_t lineLength, const char* what) {
    writeAll(gameDir + File, shape(mb * 1024 * 1024, lineLength));
    frmMain w(gameDir);
    w.resize(900, 700);
    w.show();
    w.mnuFileLoadServerList->trigger();
    typeKeys(what, w.ScriptText, &w, 20);
}

// The stock boxes with the same line as one block, as the editor would without its blocks.
void typeIntoStockBoxes(size_t mb) {
    const std::string bytes = shape(mb * 1024 * 1024, std::string::npos - 2);
    const QString text = kx::fromCp1252(bytes.substr(0, bytes.size() - 2));
    {
        QPlainTextEdit box;
        box.setLineWrapMode(QPlainTextEdit::NoWrap);
        box.resize(900, 700);
        QElapsedTimer t;
        t.start();
        box.setPlainText(text);
        box.show();
        settle();
        std::printf("%-46s shown after %lld ms\n", "  plain box, the line as one block", (long long)t.elapsed());
        typeKeys("  plain box, the line as one block", &box, &box, 3);
    }
    {
        QTextEdit box;
        box.setLineWrapMode(QTextEdit::NoWrap);
        box.resize(900, 700);
        QElapsedTimer t;
        t.start();
        box.setPlainText(text);
        box.show();
        settle();
        std::printf("%-46s shown after %lld ms\n", "  rich-text box, the line as one block", (long long)t.elapsed());
        typeKeys("  rich-text box, the line as one block", &box, &box, 3);
    }
}

void closeDuringLoad(const std::string& bytes) {
    writeAll(gameDir + File, bytes);
    frmMain w(gameDir);
    w.show();
    settle();
    QElapsedTimer t;
    qint64 closedAt = -1;
    t.start();
    QTimer::singleShot(100, &w, [&] {
        closedAt = t.elapsed();
        w.close();
    });
    w.mnuFileLoadServerList->trigger();
    const qint64 ended = t.elapsed();
    std::printf("close during a load: closed after %lld ms, the load ended %lld ms later; window %s, loading %s\n",
                (long long)closedAt, (long long)(ended - closedAt), w.isVisible() ? "VISIBLE" : "closed",
                w.isLoading() ? "STILL" : "stopped");
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s GAME_DIR MEGABYTES\n", argv[0]);
        return 2;
    }
    QApplication app(argc, argv);
    gameDir = argv[1];
    const size_t mb = std::stoul(argv[2]);
    const size_t size = mb * 1024 * 1024;
    kx::FakePlatform fake;
    fake.current = gameDir;

    std::printf("files of %zu MB; long lines shown in blocks of %d characters\n", mb, kx::quillroom::ScriptEdit::kBlockChars);
    // A third argument runs only the measurements whose name holds it.
    const std::string only = argc > 3 ? argv[3] : "";
    const auto run = [&](const char* name, const std::function<void()>& f) {
        if (std::string(name).find(only) != std::string::npos) f();
    };
    run("lines", [&] { loadShape(fake, "300,000 lines", shape(size, size / 300000 - 2)); });
    run("short", [&] { loadShape(fake, "1 million short lines", shape(size, size / 1000000 - 2)); });
    run("one line", [&] { loadShape(fake, "one line", shape(size, std::string::npos - 2)); });
    run("lines 19", [&] {
        loadShape(fake, "300,000 lines of 19 MB", shape(19 * 1024 * 1024, 19 * 1024 * 1024 / 300000 - 2));
    });
    run("typing", [&] {
        typeIntoEditor(2, std::string::npos - 2, "script editor, one line of 2 MB");
        typeIntoEditor(mb, std::string::npos - 2, "script editor, one line of the size");
        typeIntoEditor(mb, size / 1000000 - 2, "script editor, 1 million short lines");
    });
    run("typing stock", [&] {
        std::printf("for comparison, without the editor's blocks:\n");
        typeIntoStockBoxes(2);
    });
    run("close", [&] { closeDuringLoad(shape(19 * 1024 * 1024, 19 * 1024 * 1024 / 300000 - 2)); });
    return 0;
}
