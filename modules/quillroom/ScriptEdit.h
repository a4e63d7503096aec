#pragma once
// The script editor's editing area. A plain-text box keeps files of any size usable: its
// layout is lazy, block by block, where a rich-text box lays out the whole document. One very
// long line would still be laid out whole, in time that grows with its length on every key
// (and with its square when it wraps), so a line longer than kBlockChars characters is shown
// as blocks of that many, and the breaks between them are marked as shown only: the text
// given back for saving joins them again. A break the user makes is a real one. In a file of
// many lines, short lines share blocks, broken by line separators (which are real breaks, as the
// box shows them), since a million blocks take the document seconds to make.
//
// Loading appends in slices and serves window events between them (the caller's serve, which
// also says whether to go on), so the window repaints and can be closed during a load of any
// size; the document keeps no undo while it loads.

#include <QPlainTextEdit>
#include <QTextBlock>

#include <functional>
#include <string>
#include <vector>

namespace kx::quillroom {

class ScriptEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit ScriptEdit(QWidget* parent = nullptr);

    // Appends the lines, each followed by a line break, in the given format. serve runs
    // between slices; when it returns false the load stops there and false is returned.
    bool appendLines(const std::vector<std::string>& lines, const QTextCharFormat& format,
                     const std::function<bool()>& serve);

    // The text as it is saved: shown-only breaks left out, every real break (a block's end or a
    // line separator) as LF.
    QString scriptText() const;
    // The same for the characters from..to of the document.
    QString textBetween(int from, int to) const;

    // Whether the break before block is shown only.
    static bool continuesLine(const QTextBlock& block);

    // Characters per slice of a load between two serves.
    static constexpr int kSliceChars = 64 * 1024;
    // A long line is shown in blocks of this many characters. Loading more than kGroupFrom
    // lines, short lines share a block up to this many characters or kGroupLines lines.
    static constexpr int kBlockChars = 1024;
    static constexpr int kGroupLines = 64;
    static constexpr size_t kGroupFrom = 20000;

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;
    void insertFromMimeData(const QMimeData* source) override;
    QMimeData* createMimeDataFromSelection() const override;

private:
    // Runs a user's edit; blocks that begin inside what it inserted follow a break the user
    // made, so they lose the shown-only mark they took over from the block they split.
    void userEdit(const std::function<void()>& edit);
    bool deleteAcrossShownBreak(QKeyEvent* e);
};

} // namespace kx::quillroom
