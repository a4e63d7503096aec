#pragma once
// A label that acts as a command: reached by Tab, shows when it has the focus, and acts on a
// left click as well as on Return, Enter and Space, so a keyboard user can use it as a button.

#include <QLabel>

namespace kx {

class CommandLabel : public QLabel {
    Q_OBJECT
public:
    explicit CommandLabel(const QString& text = QString(), QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
};

} // namespace kx
