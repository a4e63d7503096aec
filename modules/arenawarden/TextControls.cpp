#include "TextControls.h"

#include "core/Text.h"
#include "shared/Ui.h"

#include <QMouseEvent>
#include <QScrollBar>
#include <QTextCursor>

namespace kx::arenawarden {

namespace {
// CR LF, a lone LF and a lone CR all break a line on screen.
QString shown(const std::string& bytes) {
    std::string s;
    s.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r') {
            s += '\n';
            if (i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        } else {
            s += bytes[i];
        }
    }
    return toUi(s);
}
} // namespace

TextBox::TextBox(QWidget* parent) : QPlainTextEdit(parent) {
    makeReadingText(this);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

void TextBox::setText(const std::string& text) {
    // A log only grows: add the new part instead of laying out the whole text again, unless
    // that would split a CR LF.
    const bool grows = text.size() >= text_.size() && text.compare(0, text_.size(), text_) == 0 &&
                       !(text_.size() && text_.back() == '\r' && text.size() > text_.size() &&
                         text[text_.size()] == '\n');
    if (grows) {
        appendShownText(this, shown(text.substr(text_.size())));
    } else {
        setShownText(this, shown(text));
    }
    text_ = text;
    moveCursor(QTextCursor::End);
    ensureCursorVisible();
}

void ClickLineEdit::mousePressEvent(QMouseEvent* e) {
    LimitedTextBox::mousePressEvent(e);
    if (e->button() == Qt::LeftButton) emit clicked();
}

} // namespace kx::arenawarden
