#include "KeyScrollBar.h"

#include <QStyleOptionFocusRect>
#include <QStylePainter>

namespace kx {

KeyScrollBar::KeyScrollBar(QWidget* parent) : QScrollBar(Qt::Horizontal, parent) {
    setFocusPolicy(Qt::StrongFocus);
    setInvertedControls(false);
}

void KeyScrollBar::paintEvent(QPaintEvent* e) {
    QScrollBar::paintEvent(e);
    if (!hasFocus()) return;
    QStylePainter p(this);
    QStyleOptionFocusRect frame;
    frame.initFrom(this);
    frame.rect = rect();
    p.drawPrimitive(QStyle::PE_FrameFocusRect, frame);
}

} // namespace kx
