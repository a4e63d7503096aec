#pragma once
// Small controls the module's windows are built from: a multi-line text box that keeps its
// text as the 8-bit bytes written to it (logs and protocols are compared line for line), and a
// text box that reports a click. Labels that act as commands are the shared CommandLabel.

#include "shared/widgets/LimitedTextBox.h"

#include <QLineEdit>
#include <QPlainTextEdit>

#include <string>

namespace kx::arenawarden {

// Multi-line, vertical scroll bar, a text for reading (read-only, wrapped at word boundaries,
// Tab passes on): the program writes it, the user reads it. After every change the caret goes
// to the end, so the newest line stays in view.
class TextBox : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TextBox(QWidget* parent = nullptr);
    const std::string& text() const { return text_; }
    void setText(const std::string& text);

private:
    std::string text_;
};

// A text box that also reports a mouse click on it.
class ClickLineEdit : public LimitedTextBox {
    Q_OBJECT
public:
    explicit ClickLineEdit(const QString& text, QWidget* parent = nullptr) : LimitedTextBox(parent) { setText(text); }
signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* e) override;
};

} // namespace kx::arenawarden
