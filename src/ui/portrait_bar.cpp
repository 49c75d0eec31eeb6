#include "portrait_bar.h"

#include <QKeyEvent>
#include <QPainter>

namespace qm {

PortraitBar::PortraitBar(QWidget* parent) : QScrollBar(Qt::Horizontal, parent) {
    setFocusPolicy(Qt::StrongFocus);
}

void PortraitBar::keyPressEvent(QKeyEvent* event) {
    // A scroll bar inverts its keys for scrolling a page; a picker of numbers
    // should not: Left lowers the number as the left arrow does.
    const bool leftToRight = layoutDirection() == Qt::LeftToRight;
    switch (event->key()) {
        case Qt::Key_Left:
            triggerAction(leftToRight ? SliderSingleStepSub : SliderSingleStepAdd);
            return;
        case Qt::Key_Right:
            triggerAction(leftToRight ? SliderSingleStepAdd : SliderSingleStepSub);
            return;
        default: QScrollBar::keyPressEvent(event);
    }
}

void PortraitBar::paintEvent(QPaintEvent* event) {
    QScrollBar::paintEvent(event);
    if (!hasFocus()) {
        return;
    }
    // Most styles draw no focus on a scroll bar; here it is a control of its own.
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
    painter.drawRect(rect().adjusted(1, 1, -1, -1));
}

}  // namespace qm
