#pragma once
// A single-line text box whose length limit holds for typing only. Qt's maximum length also
// cuts text set from code, which would lose a 15-character computer name or "<name>'s Game";
// here text set from code is kept whole and only typed or pasted input is held to the limit.
// Every text, typed or set, loses CR, LF and NUL, so no value can add a line to a file.

#include <QLineEdit>

namespace kx::prepdesk {

class LimitedTextBox : public QLineEdit {
    Q_OBJECT
public:
    explicit LimitedTextBox(QWidget* parent = nullptr);
    // 0: no limit.
    void setTypingLimit(int limit) { limit_ = limit; }
    int typingLimit() const { return limit_; }

protected:
    bool event(QEvent* e) override;

private:
    class Rule;
    friend class Rule;
    int limit_ = 0;
    bool userInput_ = false; // inside a key, input-method, drop, paste-click or context-menu event
    QString last_;           // the text before the change being checked
};

} // namespace kx::prepdesk
