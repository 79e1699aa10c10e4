// SPDX-License-Identifier: MIT
#include "PictureBox.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QEvent>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QMenu>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>

#include <cmath>

PictureBox::PictureBox(QSize drawingArea, QWidget* parent)
    : QFrame(parent), m_surface(drawingArea, devicePixelRatioF()) {
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    setLineWidth(BorderWidth);
    resize(drawingArea + QSize(2 * BorderWidth, 2 * BorderWidth));
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_surface.setChangedCallback([this] { update(); });

    m_copy = new QAction(QStringLiteral("画像をコピー"), this);
    connect(m_copy, &QAction::triggered, this,
            [this] { QGuiApplication::clipboard()->setImage(m_surface.image()); });
    m_saveAction = new QAction(QStringLiteral("画像を保存..."), this);
    connect(m_saveAction, &QAction::triggered, this, [this] {
        if (m_save)
            m_save();
    });
}

void PictureBox::setTipProvider(TipProvider provider) {
    m_tip = std::move(provider);
    // Moves are needed to carry a shown tooltip from cell to cell.
    setMouseTracking(bool(m_tip));
}

namespace {

// Qt 6.4 hands a widget its mouse position rounded to whole logical pixels,
// which at 150 % or 200 % is often the next cell; the position in the
// window keeps the fraction. Puts back what the rounding took.
QPointF ExactPosition(const QSinglePointEvent& event) {
    const QPointF local = event.position();
    if (local != QPointF(local.toPoint()))
        return local; // not rounded
    const QPointF scene = event.scenePosition();
    return local + (scene - QPointF(scene.toPoint()));
}

} // namespace

QPointF PictureBox::surfacePoint(QPointF widgetPoint) const {
    return m_surface.readingPoint(widgetPoint - contentsRect().topLeft());
}

bool PictureBox::onDrawingArea(QPointF widgetPoint) const {
    const QPointF p = widgetPoint - contentsRect().topLeft();
    return p.x() >= 0 && p.y() >= 0 && p.x() < contentsRect().width() &&
           p.y() < contentsRect().height();
}

QString PictureBox::toolTipAt(QPointF widgetPoint) const {
    if (!m_tip || !onDrawingArea(widgetPoint))
        return {};
    const std::optional<PictureTip> tip = m_tip(surfacePoint(widgetPoint));
    return tip ? tip->text : QString();
}

void PictureBox::showTip(QPointF widgetPoint, QPoint globalPos) {
    const std::optional<PictureTip> tip =
        m_tip && onDrawingArea(widgetPoint) ? m_tip(surfacePoint(widgetPoint)) : std::nullopt;
    if (!tip) {
        m_tipText.clear();
        QToolTip::hideText();
        return;
    }
    // Given the cell's area, a shown tooltip is changed in place as the
    // cursor moves on rather than hidden and shown again. The tooltip tests
    // the cursor's rounded position against it, which for the cell's last
    // device pixels can be the next whole pixel: one more row and column.
    QToolTip::showText(globalPos, tip->text, this,
                       tip->area.translated(contentsRect().topLeft()).adjusted(0, 0, 1, 1));
    m_tipText = tip->text;
    m_tipPoint = widgetPoint;
    m_tipGlobal = globalPos;
}

void PictureBox::refreshTip() {
    // Only while the tooltip on screen is still this picture's own.
    if (!m_tipText.isEmpty() && QToolTip::isVisible() && QToolTip::text() == m_tipText)
        showTip(m_tipPoint, m_tipGlobal);
}

void PictureBox::setDevicePixelRatio(qreal ratio) {
    if (ratio == m_surface.devicePixelRatio())
        return;
    m_surface.setDevicePixelRatio(ratio);
    emit devicePixelRatioChanged(ratio);
}

bool PictureBox::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip && m_tip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        // The tooltip's position is whole pixels; the last move has the
        // fraction.
        const QPointF at = m_pointer.toPoint() == help->pos() ? m_pointer : QPointF(help->pos());
        showTip(at, help->globalPos());
        return true;
    }
    // Sent to every widget of a window that moves to another screen.
    if (event->type() == QEvent::ScreenChangeInternal)
        setDevicePixelRatio(devicePixelRatioF());
    return QFrame::event(event);
}

void PictureBox::paintEvent(QPaintEvent* event) {
    // A change of the desktop's scale need not change the screen, but it
    // always repaints the window. The picture is drawn anew once this paint
    // is over, never inside it; meanwhile the old one is shown, scaled.
    if (devicePixelRatioF() != m_surface.devicePixelRatio() && !m_ratioChangePending) {
        m_ratioChangePending = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                m_ratioChangePending = false;
                setDevicePixelRatio(devicePixelRatioF());
            },
            Qt::QueuedConnection);
    }
    const QRect inside = contentsRect();
    // The border only where the repaint reaches it. Above 100 % its two
    // lines are drawn a device pixel wide, which would leave the rest of
    // the border showing whatever was on screen there before; it is filled
    // first in the colours of the inner lines, as they would look widened.
    if (!inside.contains(event->rect())) {
        {
            const QRect all = rect();
            QPainter ring(this);
            ring.fillRect(QRect(all.topLeft(), QPoint(all.right(), inside.top() - 1)),
                          palette().shadow());
            ring.fillRect(
                QRect(QPoint(all.left(), inside.top()), inside.bottomLeft() - QPoint(1, 0)),
                palette().shadow());
            ring.fillRect(QRect(QPoint(all.left(), inside.bottom() + 1), all.bottomRight()),
                          palette().midlight());
            ring.fillRect(
                QRect(inside.topRight() + QPoint(1, 0), QPoint(all.right(), inside.bottom())),
                palette().midlight());
        }
        QFrame::paintEvent(event);
    }
    QPainter painter(this);
    const ImageSurface& shown = m_instead ? *m_instead : m_surface;
    const auto present = [&](const QRect& rect) {
        const QRect dirty = rect.intersected(inside);
        if (!dirty.isEmpty())
            shown.present(painter, dirty, dirty.translated(-inside.topLeft()));
    };
    // Each rectangle of a repaint of several on its own, clipped to itself:
    // a copy of its rows. Under a clip of several rectangles the painter
    // blends span by span, handing the spans to worker threads and back,
    // which costs more than the copy. At a fractional ratio a logical
    // rectangle need not end on a device pixel, so there the repaint's own
    // clip stays.
    const qreal ratio = devicePixelRatioF();
    if (event->region().rectCount() > 1 && ratio == std::floor(ratio)) {
        for (const QRect& rect : event->region()) {
            painter.setClipRect(rect);
            present(rect);
        }
    } else {
        present(event->rect());
    }
    m_surface.markPresented();
    if (m_overlay) {
        painter.setClipRect(inside);
        painter.translate(inside.topLeft());
        m_overlay(painter);
    }
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
    const QPointF at = ExactPosition(*event);
    if (event->button() == Qt::LeftButton && m_point && onDrawingArea(at))
        m_dragging = m_point(surfacePoint(at), false);
    QFrame::mousePressEvent(event);
}

void PictureBox::mouseMoveEvent(QMouseEvent* event) {
    m_pointer = ExactPosition(*event);
    if (m_dragging && (event->buttons() & Qt::LeftButton))
        m_point(surfacePoint(m_pointer), true);
    if (QToolTip::isVisible())
        showTip(m_pointer, event->globalPosition().toPoint());
    QFrame::mouseMoveEvent(event);
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        m_dragging = false;
    QFrame::mouseReleaseEvent(event);
}

void PictureBox::addPictureActions(QMenu* menu, std::optional<QPointF> at) const {
    menu->addAction(m_copy);
    menu->addAction(m_saveAction);
    if (m_menuExtender)
        m_menuExtender(*menu, at);
}

void PictureBox::showPictureMenu(QPoint globalPos, std::optional<QPointF> at) {
    QMenu menu(this);
    addPictureActions(&menu, at);
    menu.exec(globalPos);
}

void PictureBox::contextMenuEvent(QContextMenuEvent* event) {
    std::optional<QPointF> at;
    if (event->reason() == QContextMenuEvent::Mouse && contentsRect().contains(event->pos()))
        // The exact position, as for the tooltip: the event's is rounded.
        at = surfacePoint(m_pointer.toPoint() == event->pos() ? m_pointer : QPointF(event->pos()));
    showPictureMenu(event->globalPos(), at);
}
