#pragma once
// The single-line text box of the suite. Its length limit holds for typing only: Qt's maximum
// length (32,767 unless set) also cuts text set from code, which would lose a 15-character
// computer name in a 10-character box or a long path; here text set from code is kept whole
// and only typed or pasted input is held to the limit. Every text, typed or set, loses CR, LF
// and NUL, so no value can add a line to a file.

#include <QLineEdit>

#include <string>

namespace kx {

class LimitedTextBox : public QLineEdit {
    Q_OBJECT
public:
    explicit LimitedTextBox(QWidget* parent = nullptr);
    // 0: no limit.
    void setTypingLimit(int limit) { limit_ = limit; }
    int typingLimit() const { return limit_; }
    // Bytes set from code are shown by toUi and given back as they were while the box shows
    // them (a UTF-8 path stays UTF-8); a text typed since is read as Windows-1252.
    void setBytes(const std::string& bytes);
    std::string bytes() const;

protected:
    bool event(QEvent* e) override;

private:
    class Rule;
    friend class Rule;
    int limit_ = 0;
    bool userInput_ = false; // inside a key, input-method, drop, paste-click or context-menu event
    QString last_;           // the text before the change being checked
    std::string bytes_;
};

// A box without a typing limit that starts with text.
LimitedTextBox* textBox(const QString& text = QString());

} // namespace kx
