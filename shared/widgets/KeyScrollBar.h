#pragma once
// A horizontal scroll bar that sets a value, usable from the keyboard as every control with a
// value is: reached by Tab, Right and Up raise the value, Left and Down lower it (Qt's scroll
// bars take no focus and invert their keys, made for scrolling a view), and a focus frame shows
// where the keys go.

#include <QScrollBar>

namespace kx {

class KeyScrollBar : public QScrollBar {
    Q_OBJECT
public:
    explicit KeyScrollBar(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* e) override;
};

} // namespace kx
