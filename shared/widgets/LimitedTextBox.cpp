#include "shared/widgets/LimitedTextBox.h"

#include "core/Text.h"

#include <QEvent>
#include <QScopedValueRollback>
#include <QValidator>

#include <limits>

namespace kx {

// Checks every change of the box: drops line breaks and NUL, and cuts typed input that would
// grow the text past the limit (a text already longer, set from code, may still shrink).
class LimitedTextBox::Rule : public QValidator {
public:
    explicit Rule(LimitedTextBox* box) : QValidator(box), box_(box) {}

    State validate(QString& input, int& pos) const override {
        for (int i = input.size() - 1; i >= 0; --i) {
            const QChar c = input.at(i);
            if (c == u'\r' || c == u'\n' || c == QChar(0)) {
                input.remove(i, 1);
                if (pos > i) --pos;
            }
        }
        if (!box_->userInput_ || box_->limit_ <= 0) return Acceptable;
        const int room = std::max<int>(box_->limit_, box_->last_.size());
        const int excess = int(input.size()) - room;
        if (excess <= 0) return Acceptable;
        // What was typed or pasted stands just before the cursor: keep as much of it as fits.
        if (pos < excess) return Invalid;
        input.remove(pos - excess, excess);
        pos -= excess;
        return Acceptable;
    }

private:
    LimitedTextBox* box_;
};

LimitedTextBox::LimitedTextBox(QWidget* parent) : QLineEdit(parent) {
    // The limit is the validator's, for typing only.
    setMaxLength(std::numeric_limits<int>::max());
    setValidator(new Rule(this));
    connect(this, &QLineEdit::textChanged, this, [this](const QString& t) { last_ = t; });
}

void LimitedTextBox::setBytes(const std::string& bytes) {
    bytes_ = bytes;
    setText(toUi(bytes));
}

std::string LimitedTextBox::bytes() const { return toUi(bytes_) == text() ? bytes_ : fromUi(text()); }

LimitedTextBox* textBox(const QString& text) {
    auto* box = new LimitedTextBox;
    box->setText(text);
    return box;
}

bool LimitedTextBox::event(QEvent* e) {
    bool user = false;
    switch (e->type()) {
    case QEvent::KeyPress:
    case QEvent::InputMethod:
    case QEvent::Drop:
    case QEvent::MouseButtonRelease: // the selection paste of the middle button
    case QEvent::ContextMenu:        // its "Paste" runs while the menu's event is handled
        user = true;
        break;
    default:
        break;
    }
    const QScopedValueRollback<bool> during(userInput_, userInput_ || user);
    return QLineEdit::event(e);
}

} // namespace kx
