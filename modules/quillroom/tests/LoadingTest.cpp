// Loading large files: window events are served while a file comes in, a close stops the load,
// nothing else runs meanwhile; long lines are shown in blocks and saved whole, also after the
// user's keys have been at the breaks between them.
#include "EditorFixture.h"
#include "frmScripts.h"
#include "ScriptEdit.h"

#include "core/Text.h"

#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTimer>

namespace kx::quillroom {
namespace {

using Loading = EditorTest;

// About a megabyte of lines with no-break spaces and 8-bit characters.
std::string manyLines() {
    std::string out;
    for (int i = 0; i < 20000; ++i) out += "server " + std::to_string(i) + " \xA0\xE9\x80 filling the line up a little\r\n";
    return out;
}

struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) ++paints;
        return false;
    }
};

TEST_F(Loading, ServesWindowEventsWhileAFileComesIn) {
    const std::string file = manyLines();
    g.write("korvex.wfd/config/servers.ini", file);
    frmMain& w = editor();
    w.show();
    PaintCounter painted;
    w.installEventFilter(&painted);
    int turns = 0;
    QTimer tick;
    tick.setInterval(0);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        ++turns;
        w.update();
    });
    tick.start();
    w.mnuFileLoadServerList->trigger();
    tick.stop();
    EXPECT_GE(turns, 8);
    EXPECT_GE(painted.paints, 8);
    EXPECT_EQ(editorBytes(), file);
    EXPECT_FALSE(w.isLoading());
    EXPECT_FALSE(w.ScriptText->isReadOnly());
    EXPECT_FALSE(w.ScriptText->document()->isUndoAvailable());
    EXPECT_TRUE(w.mnuFileSaveCurrent->isEnabled());
    EXPECT_FALSE(w.mnuFileLoad->menuAction()->isEnabled());
}

TEST_F(Loading, ClosingTheWindowStopsTheLoadAndTheWindowGoesAfterIt) {
    g.write("korvex.wfd/config/servers.ini", manyLines());
    QPointer<frmMain> w = new frmMain(g.path());
    w->setAttribute(Qt::WA_DeleteOnClose);
    w->show();
    int served = 0;
    QTimer tick;
    tick.setInterval(0);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        if (++served == 2) w->close();
    });
    tick.start();
    w->mnuFileLoadServerList->trigger();
    tick.stop();
    // The load stopped; nothing was shown or asked, and the window waits to go.
    ASSERT_FALSE(w.isNull());
    EXPECT_GE(served, 2);
    EXPECT_FALSE(w->isVisible());
    EXPECT_FALSE(w->isLoading());
    EXPECT_TRUE(w->ScriptText->isHidden());
    EXPECT_TRUE(w->ScriptText->document()->isEmpty());
    EXPECT_FALSE(w->scriptPath().has_value());
    EXPECT_TRUE(fake.boxes.empty());
    deletePending();
    EXPECT_TRUE(w.isNull());
}

TEST_F(Loading, NothingLoadsSavesOrClosesTheScriptWhileALoadRuns) {
    const std::string file = manyLines();
    g.write("korvex.wfd/config/servers.ini", file);
    g.write("korvex.wfd/config/autoexec.ini", "execmodule=docklet\r\n");
    frmMain& w = editor();
    w.show();
    w.mnuCreateNew->trigger(); // the chooser left open
    std::vector<bool> menus;
    bool chooserShown = true;
    QTimer::singleShot(0, &w, [&] {
        for (QAction* a : {w.mnuFileLoad->menuAction(), w.mnuCreateNew, w.mnuFileSaveCurrent, w.mnuFileCloseCurrent,
                           w.mnuFileQuit})
            menus.push_back(a->isEnabled());
        chooserShown = w.scripts()->isVisible();
        fake.boxAnswers = {box::Yes, box::Yes, box::Yes};
        QTest::keyClick(w.ScriptText, Qt::Key_X);
        QTest::keyClick(w.ScriptText, Qt::Key_Return);
        w.scripts()->Command1->click();
        w.mnuFileLoadAutoexec_Click();
        w.mnuFileSaveCurrent_Click();
        w.mnuFileCloseCurrent_Click();
        w.mnuCreateNew_Click();
    });
    w.mnuFileLoadServerList->trigger();
    EXPECT_EQ(menus, std::vector<bool>(5, false));
    EXPECT_FALSE(chooserShown);
    EXPECT_EQ(editorBytes(), file);
    EXPECT_TRUE(fake.boxes.empty());
    EXPECT_EQ(w.scriptPath(), "/korvex.wfd/config/servers.ini");
    EXPECT_EQ(w.currentKind(), -1);
    EXPECT_FALSE(w.scripts()->isVisible());
    EXPECT_EQ(g.read("korvex.wfd/config/servers.ini"), file);
}

// A long line in blocks of ScriptEdit::kBlockChars characters, each piece its own: "0123456789"... with a
// letter at each thousand.
std::string longLine(size_t n) {
    std::string s;
    for (size_t i = 0; i < n; ++i) s += i % 1000 == 0 ? char('A' + i / 1000 % 26) : char('0' + i % 10);
    return s;
}

TEST_F(Loading, ALongLineIsShownInBlocksAndSavedWhole) {
    const std::string line = longLine(3 * ScriptEdit::kBlockChars + 5);
    const std::string file = "first\r\n" + line + "\r\nlast\r\n";
    g.write("korvex.wfd/config/servers.ini", file);
    frmMain& w = editor();
    w.show();
    w.mnuFileLoadServerList->trigger();
    std::vector<int> lengths;
    for (QTextBlock b = w.ScriptText->document()->firstBlock(); b.isValid(); b = b.next()) lengths.push_back(b.length() - 1);
    EXPECT_EQ(lengths, (std::vector<int>{5, ScriptEdit::kBlockChars, ScriptEdit::kBlockChars, ScriptEdit::kBlockChars, 5, 4, 0}));
    EXPECT_EQ(editorBytes(), file);
    fake.boxAnswers = {box::Yes};
    w.mnuFileSaveCurrent->trigger();
    EXPECT_EQ(g.read("korvex.wfd/config/servers.ini"), file);
}

// The user's keys at and near the breaks between the blocks of a long line: a break typed is
// a line break in the file, the others are not there.
TEST_F(Loading, KeysAtTheBlocksOfALongLineEditTheLineAsOne) {
    const int n = ScriptEdit::kBlockChars;
    const std::string line = longLine(2 * n + 100);
    const std::string file = "first\r\n" + line + "\r\nsecond\r\nthird\r\n";
    struct Key {
        int key;
        Qt::KeyboardModifiers mods = Qt::NoModifier;
    };
    struct Case {
        const char* what;
        int caret; // in the long line's blocks: n is the end of the first, n + 1 the start of the second
        std::vector<Key> keys;
        std::string expected;
    };
    const auto erase = [&](size_t at) { return std::string(line).erase(at, 1); };
    const auto breakAt = [&](size_t at) { return line.substr(0, at) + "\r\n" + line.substr(at); };
    const std::string tail = "\r\nsecond\r\nthird\r\n";
    const std::vector<Case> cases{
        {"Backspace at the start of a block", n + 1, {{Qt::Key_Backspace}}, "first\r\n" + erase(n - 1) + tail},
        {"Delete at the end of a block", n, {{Qt::Key_Delete}}, "first\r\n" + erase(n) + tail},
        {"a letter at a break", n + 1, {{Qt::Key_Z}}, "first\r\n" + line.substr(0, n) + "z" + line.substr(n) + tail},
        {"Return inside a block", n + 11, {{Qt::Key_Return}}, "first\r\n" + breakAt(n + 10) + tail},
        {"Return at the start of a block", n + 1, {{Qt::Key_Return}}, "first\r\n" + breakAt(n) + tail},
        {"Return at the end of a block", n, {{Qt::Key_Return}}, "first\r\n" + breakAt(n) + tail},
        {"Return, then undo", n + 11, {{Qt::Key_Return}, {Qt::Key_Z, Qt::ControlModifier}}, file},
        {"Return, undo, redo", n + 11,
         {{Qt::Key_Return}, {Qt::Key_Z, Qt::ControlModifier}, {Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier}},
         "first\r\n" + breakAt(n + 10) + tail},
        {"copy across a break, paste at the end", n - 3,
         {{Qt::Key_Right, Qt::ShiftModifier},
          {Qt::Key_Right, Qt::ShiftModifier},
          {Qt::Key_Right, Qt::ShiftModifier},
          {Qt::Key_Right, Qt::ShiftModifier},
          {Qt::Key_Right, Qt::ShiftModifier},
          {Qt::Key_Right, Qt::ShiftModifier},
          {Qt::Key_Right, Qt::ShiftModifier},
          {Qt::Key_C, Qt::ControlModifier},
          {Qt::Key_End, Qt::ControlModifier},
          {Qt::Key_V, Qt::ControlModifier}},
         file + line.substr(n - 3, 6) + "\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        g.write("korvex.wfd/config/servers.ini", file);
        frmMain& w = editor();
        w.show();
        w.mnuFileLoadServerList->trigger();
        ASSERT_EQ(editorBytes(), file);
        // The caret is placed in the long line, which starts in the second block.
        QTextCursor caret(w.ScriptText->document());
        const QTextBlock start = w.ScriptText->document()->findBlockByNumber(1);
        ASSERT_EQ(start.text(), toUi(line.substr(0, n)));
        caret.setPosition(start.position() + c.caret);
        w.ScriptText->setTextCursor(caret);
        w.ScriptText->setFocus();
        for (const Key& k : c.keys) QTest::keyClick(w.ScriptText, Qt::Key(k.key), k.mods);
        EXPECT_EQ(editorBytes(), c.expected);
    }
}

// In a file of many lines short lines share blocks; their breaks are real ones, so keys treat
// them as any line break. A file of fewer lines has a block for each.
TEST_F(Loading, ShortLinesShareBlocksAndTheirBreaksAreLineBreaks) {
    const auto lines = [](size_t n) {
        std::string file;
        for (size_t i = 0; i < n; ++i) file += "line " + std::to_string(i) + "\r\n";
        return file;
    };
    g.write("korvex.wfd/config/servers.ini", lines(200));
    frmMain& few = editor();
    few.mnuFileLoadServerList->trigger();
    EXPECT_EQ(few.ScriptText->document()->blockCount(), 201);
    EXPECT_EQ(editorBytes(), lines(200));

    const std::string file = lines(ScriptEdit::kGroupFrom + 1);
    g.write("korvex.wfd/config/servers.ini", file);
    frmMain& w = editor();
    w.show();
    w.mnuFileLoadServerList->trigger();
    EXPECT_LT(w.ScriptText->document()->blockCount(), int(ScriptEdit::kGroupFrom / 10));
    EXPECT_EQ(editorBytes(), file);
    // Down twice and Backspace at the start of "line 2" joins it to "line 1".
    w.ScriptText->setFocus();
    QTest::keyClick(w.ScriptText, Qt::Key_Down);
    QTest::keyClick(w.ScriptText, Qt::Key_Down);
    QTest::keyClick(w.ScriptText, Qt::Key_Backspace);
    std::string joined = file;
    joined.erase(joined.find("\r\nline 2\r\n"), 2);
    EXPECT_EQ(editorBytes(), joined);
}

} // namespace
} // namespace kx::quillroom
