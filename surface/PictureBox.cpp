// SPDX-License-Identifier: MIT
#include "PictureBox.h"

#include <QPaintEvent>
#include <QPainter>

PictureBox::PictureBox(QSize outerSize, QWidget* parent)
    : QFrame(parent), m_surface(outerSize - QSize(2 * BorderWidth, 2 * BorderWidth)) {
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    setLineWidth(BorderWidth);
    resize(outerSize);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_surface.setChangedCallback([this] { update(); });
}

void PictureBox::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect inside = contentsRect();
    const QRect dirty = event->rect().intersected(inside);
    m_surface.present(painter, dirty, dirty.translated(-inside.topLeft()));
    m_surface.markPresented();
}
