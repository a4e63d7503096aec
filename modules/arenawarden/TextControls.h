#pragma once
// Small controls the module's windows are built from: a multi-line text box that keeps its
// text as the 8-bit bytes written to it (logs and protocols are compared line for line), a
// label that is clicked like a button, and a text box that reports a click.

#include <QLabel>
#include "shared/widgets/LimitedTextBox.h"

#include <QLineEdit>
#include <QPlainTextEdit>

#include <string>

namespace kx::arenawarden {

// Multi-line, vertical scroll bar, read-only: the program writes it, the user reads it. After
// every change the caret goes to the end, so the newest line stays in view.
class TextBox : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TextBox(QWidget* parent = nullptr);
    const std::string& text() const { return text_; }
    void setText(const std::string& text);

private:
    std::string text_;
};

// A label that runs a command on a click.
class ClickLabel : public QLabel {
    Q_OBJECT
public:
    explicit ClickLabel(const QString& text, QWidget* parent = nullptr);
signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* e) override;
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
