// SPDX-License-Identifier: MIT
#include "HScrollBar.h"

#include <QKeyEvent>
#include <QPainter>

HScrollBar::HScrollBar(int minimum, int maximum, int value, QWidget* parent)
    : QScrollBar(Qt::Horizontal, parent) {
    setRange(minimum, maximum);
    setValue(value);
    setSingleStep(1);
    setPageStep(1);
    setTracking(false);
    setFocusPolicy(Qt::StrongFocus);
}

void HScrollBar::keyPressEvent(QKeyEvent* event) {
    // QScrollBar inverts its controls by default, which turns Left into an
    // increase. Keep that inversion for the wheel and Up/Down, which it gets
    // right, and map the horizontal arrow keys here.
    const bool rightToLeft = layoutDirection() == Qt::RightToLeft;
    switch (event->key()) {
    case Qt::Key_Left:
        triggerAction(rightToLeft ? SliderSingleStepAdd : SliderSingleStepSub);
        break;
    case Qt::Key_Right:
        triggerAction(rightToLeft ? SliderSingleStepSub : SliderSingleStepAdd);
        break;
    default:
        QScrollBar::keyPressEvent(event);
        return;
    }
    event->accept();
}

void HScrollBar::paintEvent(QPaintEvent* event) {
    QScrollBar::paintEvent(event);
    if (!hasFocus())
        return;
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Highlight));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
