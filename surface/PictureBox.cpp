// SPDX-License-Identifier: MIT
#include "PictureBox.h"

#include <QEvent>
#include <QPaintEvent>
#include <QPainter>

PictureBox::PictureBox(QSize outerSize, QWidget* parent)
    : QFrame(parent),
      m_surface(outerSize - QSize(2 * BorderWidth, 2 * BorderWidth), devicePixelRatioF()) {
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    setLineWidth(BorderWidth);
    resize(outerSize);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_surface.setChangedCallback([this] { update(); });
}

void PictureBox::setDevicePixelRatio(qreal ratio) {
    if (ratio == m_surface.devicePixelRatio())
        return;
    m_surface.setDevicePixelRatio(ratio);
    emit devicePixelRatioChanged(ratio);
}

bool PictureBox::event(QEvent* event) {
    // Sent to every widget of a window that moves to another screen.
    if (event->type() == QEvent::ScreenChangeInternal)
        setDevicePixelRatio(devicePixelRatioF());
    return QFrame::event(event);
}

void PictureBox::paintEvent(QPaintEvent* event) {
    // A change of the desktop's scale need not change the screen, but it
    // always repaints the window: the picture is drawn anew before it shows.
    setDevicePixelRatio(devicePixelRatioF());
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect inside = contentsRect();
    const QRect dirty = event->rect().intersected(inside);
    m_surface.present(painter, dirty, dirty.translated(-inside.topLeft()));
    m_surface.markPresented();
}
