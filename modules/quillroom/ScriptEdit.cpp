#include "ScriptEdit.h"

#include "core/Text.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace kx::quillroom {

namespace {
// Set on a block whose break before it is shown only.
constexpr int kContinues = QTextFormat::UserProperty + 0x51;
} // namespace

ScriptEdit::ScriptEdit(QWidget* parent) : QPlainTextEdit(parent) {}

bool ScriptEdit::continuesLine(const QTextBlock& block) { return block.blockFormat().boolProperty(kContinues); }

bool ScriptEdit::appendLines(const std::vector<std::string>& lines, const QTextCharFormat& format,
                             const std::function<bool()>& serve) {
    QTextCursor c(document());
    c.movePosition(QTextCursor::End);
    QTextBlockFormat real = c.blockFormat();
    real.clearProperty(kContinues);
    QTextBlockFormat shown = real;
    shown.setProperty(kContinues, true);

    // Text waits in run and goes in with one insert. Each slice is one edit block, so that the
    // box lays out nothing while it grows (the cursor's place and the changed blocks are worked
    // out once, lazily, at the end of a block).
    QString run;
    int sliced = 0;
    const auto flush = [&] {
        if (run.isEmpty()) return;
        c.insertText(run, format);
        run.clear();
    };
    c.beginEditBlock();
    const auto pace = [&](qsizetype chars) {
        sliced += int(chars);
        if (sliced < kSliceChars) return true;
        flush();
        c.endEditBlock();
        sliced = 0;
        if (!serve()) return false;
        c.movePosition(QTextCursor::End);
        c.beginEditBlock();
        return true;
    };

    // Among many lines, short lines share a block, broken by line separators, up to kGroupLines
    // lines or kBlockChars characters: a block costs the document far more than a character
    // does. Fewer lines get a block each, as in any editor.
    const int perBlock = lines.size() > kGroupFrom ? kGroupLines : 1;
    int groupLines = 0;
    qsizetype groupChars = 0;
    bool pending = false;   // the last line still wants its break
    bool afterLong = false; // the last line was a long one: its block carries the shown-only mark
    const auto lineBreak = [&](bool newBlock) {
        if (afterLong) {
            flush();
            c.insertBlock(real, format);
            afterLong = false;
        } else {
            run += newBlock ? QChar(u'\n') : QChar(QChar::LineSeparator);
        }
        if (newBlock) {
            groupLines = 0;
            groupChars = 0;
        }
        return pace(1);
    };
    for (const auto& line : lines) {
        // Windows-1252 gives one character for each byte.
        const qsizetype length = qsizetype(line.size());
        const bool isLong = length > kBlockChars;
        if (pending &&
            !lineBreak(afterLong || isLong || groupLines >= perBlock || groupChars + length >= kBlockChars))
            return false;
        pending = true;
        if (!isLong) {
            run += fromCp1252(line);
            ++groupLines;
            groupChars += length + 1;
            if (!pace(length)) return false;
            continue;
        }
        flush();
        // Converted piece by piece, so that no slice takes longer for a longer line.
        for (qsizetype i = 0; i < length; i += kBlockChars) {
            if (i > 0) c.insertBlock(shown, format);
            c.insertText(fromCp1252(line.substr(size_t(i), kBlockChars)), format);
            if (!pace(kBlockChars)) return false;
        }
        afterLong = true;
    }
    // The last break always ends the block, so the next text starts a block of its own.
    if (pending && !lineBreak(true)) return false;
    flush();
    c.endEditBlock();
    return true;
}

QString ScriptEdit::textBetween(int from, int to) const {
    QString out;
    if (to <= from) return out;
    QTextBlock b = document()->findBlock(from);
    for (bool first = true; b.isValid() && b.position() <= to; b = b.next(), first = false) {
        if (!first && !continuesLine(b)) out += u'\n';
        const int start = std::max(from, b.position()) - b.position();
        const int end = std::min(to, b.position() + b.length() - 1) - b.position();
        if (end > start) out += QStringView(b.text()).mid(start, end - start);
    }
    out.replace(QChar::LineSeparator, u'\n');
    return out;
}

QString ScriptEdit::scriptText() const { return textBetween(0, document()->characterCount() - 1); }

void ScriptEdit::userEdit(const std::function<void()>& edit) {
    int from = -1, to = -1;
    const auto watch = connect(document(), &QTextDocument::contentsChange, this, [&](int pos, int, int added) {
        if (added <= 0) return;
        from = from < 0 ? pos : std::min(from, pos);
        to = std::max(to, pos + added);
    });
    edit();
    disconnect(watch);
    if (from < 0) return;
    QTextCursor c(document());
    bool joined = false;
    for (QTextBlock b = document()->findBlock(from).next(); b.isValid() && b.position() <= to; b = b.next()) {
        if (!continuesLine(b)) continue;
        // One undo step with the edit that made the break.
        if (!joined) c.joinPreviousEditBlock();
        joined = true;
        c.setPosition(b.position());
        QTextBlockFormat f = b.blockFormat();
        f.clearProperty(kContinues);
        c.setBlockFormat(f);
    }
    if (joined) c.endEditBlock();
}

// Backspace at the start of a shown-only block and Delete at the end of the block before one
// remove the character beyond the break, as they would in the unbroken line.
bool ScriptEdit::deleteAcrossShownBreak(QKeyEvent* e) {
    const QTextCursor caret = textCursor();
    if (caret.hasSelection()) return false;
    const QTextBlock b = caret.block();
    const bool plainBackspace =
        e->key() == Qt::Key_Backspace && !(e->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier));
    if (plainBackspace && caret.atBlockStart() && continuesLine(b) && b.previous().length() > 1) {
        QTextCursor c(document());
        c.setPosition(b.position() - 1);
        c.deletePreviousChar();
        return true;
    }
    const QTextBlock next = b.next();
    if (e->matches(QKeySequence::Delete) && caret.atBlockEnd() && next.isValid() && continuesLine(next) &&
        next.length() > 1) {
        QTextCursor c(next);
        c.deleteChar();
        return true;
    }
    return false;
}

void ScriptEdit::keyPressEvent(QKeyEvent* e) {
    // Undo and redo give back the blocks with the marks they had.
    if (e->matches(QKeySequence::Undo) || e->matches(QKeySequence::Redo)) {
        QPlainTextEdit::keyPressEvent(e);
        return;
    }
    if (!isReadOnly() && deleteAcrossShownBreak(e)) {
        e->accept();
        return;
    }
    userEdit([&] { QPlainTextEdit::keyPressEvent(e); });
}

void ScriptEdit::inputMethodEvent(QInputMethodEvent* e) {
    userEdit([&] { QPlainTextEdit::inputMethodEvent(e); });
}

void ScriptEdit::insertFromMimeData(const QMimeData* source) {
    userEdit([&] { QPlainTextEdit::insertFromMimeData(source); });
}

QMimeData* ScriptEdit::createMimeDataFromSelection() const {
    // A copied piece of a long line is one line again, and keeps its no-break spaces.
    const QTextCursor c = textCursor();
    auto* data = new QMimeData;
    data->setText(textBetween(c.selectionStart(), c.selectionEnd()));
    return data;
}

} // namespace kx::quillroom
