#include "shared/widgets/CommandLabel.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace kx {

CommandLabel::CommandLabel(const QString& text, QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setText(text);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
}

void CommandLabel::mouseReleaseEvent(QMouseEvent* e) {
    // A press that is dragged off the label before release is no click, as with a button.
    const bool click = e->button() == Qt::LeftButton && rect().contains(e->position().toPoint());
    QLabel::mouseReleaseEvent(e);
    if (click) emit clicked();
}

void CommandLabel::keyPressEvent(QKeyEvent* e) {
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (!e->isAutoRepeat()) emit clicked();
        e->accept();
        return;
    default:
        QLabel::keyPressEvent(e);
    }
}

void CommandLabel::focusInEvent(QFocusEvent* e) {
    QLabel::focusInEvent(e);
    update();
}

void CommandLabel::focusOutEvent(QFocusEvent* e) {
    QLabel::focusOutEvent(e);
    update();
}

void CommandLabel::paintEvent(QPaintEvent* e) {
    QLabel::paintEvent(e);
    if (!hasFocus()) return;
    // The style's focus frame, as a button draws it, around the label's text.
    QPainter p(this);
    QStyleOptionFocusRect opt;
    opt.initFrom(this);
    opt.backgroundColor = palette().color(backgroundRole());
    opt.rect = rect().adjusted(1, 1, -1, -1);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &opt, &p, this);
    // Some styles draw no focus frame at all; a dotted line under the text shows it anyway.
    QPen pen(palette().color(foregroundRole()));
    pen.setStyle(Qt::DotLine);
    p.setPen(pen);
    p.drawLine(rect().left() + 1, rect().bottom(), rect().right() - 1, rect().bottom());
}

} // namespace kx
