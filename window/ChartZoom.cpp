// SPDX-License-Identifier: MIT
#include "ChartZoom.h"

#include "ChartFrame.h"
#include "PictureBox.h"
#include "Playback.h"
#include "ViewHistory.h"
#include "ViewState.h"
#include "WindowActions.h"

#include <QAction>
#include <QApplication>
#include <QMouseEvent>
#include <QRubberBand>
#include <QTimer>
#include <QWheelEvent>

#include <cmath>

namespace {

// One notch of a mouse wheel, in eighths of a degree.
constexpr int Notch = 120;

// A wheel pans by a tenth of the span a notch, at least one cell.
int PanStep(int span) {
    return std::max(1, span / 10);
}

} // namespace

ChartZoom::ChartZoom(ViewState& view, WindowActions& actions, PictureBox& chart, QWidget* window)
    : QObject(window), m_view(view), m_history(new ViewHistory(this)), m_zoomIn(actions.zoomIn),
      m_zoomOut(actions.zoomOut), m_whole(actions.zoomWhole), m_back(actions.viewBack),
      m_forward(actions.viewForward) {
    // Backspace only with the chart focused: a text box deletes with it.
    for (QAction* action : {m_back, m_forward}) {
        window->removeAction(action);
        action->setShortcutContext(Qt::WidgetShortcut);
        chart.addAction(action);
    }
    connect(m_zoomIn, &QAction::triggered, this, [this] { zoomTime(true); });
    connect(m_zoomOut, &QAction::triggered, this, [this] { zoomTime(false); });
    connect(m_whole, &QAction::triggered, this, [this] { go(ChartView{}); });
    connect(m_back, &QAction::triggered, this, [this] {
        if (const auto previous = m_history->back(current())) {
            m_pending.reset();
            m_view.setChartView(*previous);
        }
    });
    connect(m_forward, &QAction::triggered, this, [this] {
        if (const auto next = m_history->forward(current())) {
            m_pending.reset();
            m_view.setChartView(*next);
        }
    });
    connect(m_history, &ViewHistory::changed, this, &ChartZoom::updateActions);
    connect(&m_view, &ViewState::chartViewChanged, this, &ChartZoom::updateActions);
    updateActions();

    chart.installEventFilter(this);
}

ChartZoom::~ChartZoom() = default;

void ChartZoom::addChart(PictureBox& chart) {
    for (QAction* action : {m_back, m_forward})
        chart.addAction(action);
    chart.installEventFilter(this);
    // A drag on a chart that goes away ends with it.
    connect(&chart, &QObject::destroyed, this, [this, box = &chart] {
        if (m_dragChart == box) {
            m_dragChart = nullptr;
            m_band = nullptr;
            m_panStart.reset();
        }
    });
}

void ChartZoom::setPlayback(Playback& playback) {
    m_playback = &playback;
    connect(&m_view, &ViewState::slotChanged, this, [this](int slot) {
        const ChartView& shown = m_view.chartView();
        if (!m_playback->isPlaying() || shown.holdsSlot(slot))
            return;
        // A page on, or back to the start when playing starts again.
        m_view.setChartView(Panned(shown, ViewAxis::Time, slot - shown.firstSlot));
    });
}

ChartView ChartZoom::current() const {
    return m_pending.value_or(m_view.chartView());
}

void ChartZoom::go(const ChartView& view) {
    const ChartView target = Clamped(view);
    if (target == current())
        return;
    m_history->leave(current());
    m_pending.reset();
    m_view.setChartView(target);
}

void ChartZoom::zoomTime(bool in) {
    if (const auto zoomed = Zoomed(current(), ViewAxis::Time, in, 0.5))
        go(*zoomed);
    else
        QApplication::beep();
}

void ChartZoom::updateActions() {
    const ChartView view = current();
    m_zoomIn->setEnabled(view.slotCount() > ChartView::MinSlots);
    m_zoomOut->setEnabled(!view.wholeDay());
    m_whole->setEnabled(!view.whole());
    m_back->setEnabled(m_history->canGoBack());
    m_forward->setEnabled(m_history->canGoForward());
}

void ChartZoom::showSoon(const ChartView& view) {
    const bool queued = m_pending.has_value();
    m_pending = view;
    if (queued)
        return;
    QTimer::singleShot(0, this, [this] {
        if (!m_pending)
            return;
        const ChartView view = *m_pending;
        m_pending.reset();
        m_view.setChartView(view);
    });
}

ChartZoom::PlotPixel ChartZoom::plotPixel(const PictureBox& chart, QPointF widgetPoint) const {
    const ImageSurface& surface = chart.surface();
    const qreal ratio = surface.devicePixelRatio();
    const QPointF reading =
        surface.readingPoint(widgetPoint - QPointF(chart.contentsRect().topLeft()));
    const QPoint device = ImageSurface::devicePixelAt(reading, ratio);
    const ChartGeometry::DevicePlot plot = ChartGeometry::PlotInDevice(ratio);
    const int x = device.x() - plot.left, y = plot.bottom - device.y();
    const bool inside = x >= 0 && x < plot.width && y >= 0 && y < plot.height;
    return {std::clamp(x, 0, plot.width - 1), std::clamp(y, 0, plot.height - 1), plot.width,
            plot.height, inside};
}

void ChartZoom::wheel(const PictureBox& chart, QWheelEvent* event) {
    const Qt::KeyboardModifiers mods =
        event->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier);
    QPoint delta = event->angleDelta();
    // Shift+wheel scrolls sideways, as it does across the desktop.
    if (mods == Qt::ShiftModifier && delta.x() == 0)
        delta = QPoint(delta.y(), 0);
    m_wheelRest += delta;
    const int across = m_wheelRest.x() / Notch, up = m_wheelRest.y() / Notch;
    m_wheelRest -= QPoint(across * Notch, up * Notch);
    if (across == 0 && up == 0)
        return;

    const PlotPixel at = plotPixel(chart, event->position());
    ChartView view = current();
    if (mods & Qt::ControlModifier) {
        const bool time = !(mods & Qt::ShiftModifier);
        const double along = time ? double(at.x) / at.width : double(at.y) / at.height;
        for (int notch = 0; notch < std::abs(up); ++notch) {
            const auto zoomed =
                Zoomed(view, time ? ViewAxis::Time : ViewAxis::Direction, up > 0, along);
            if (!zoomed) {
                QApplication::beep();
                break;
            }
            view = *zoomed;
        }
    } else {
        // Turning the wheel away from oneself shows higher directions; a
        // swipe to the left or Shift+wheel towards oneself later times.
        if (!view.wholeCircle())
            view = Panned(view, ViewAxis::Direction, up * PanStep(view.binCount()));
        if (!view.wholeDay())
            view = Panned(view, ViewAxis::Time, -across * PanStep(view.slotCount()));
    }
    if (view == current())
        return;
    m_history->leaveByNotch(current());
    showSoon(view);
}

bool ChartZoom::mouse(PictureBox& chart, QMouseEvent* event) {
    const QPointF at = event->position();
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (event->button() == Qt::BackButton || event->button() == Qt::ForwardButton) {
            (event->button() == Qt::BackButton ? m_back : m_forward)->trigger();
            return true;
        }
        if (!plotPixel(chart, at).inside)
            return false;
        if (event->button() == Qt::LeftButton && event->modifiers() == Qt::ShiftModifier) {
            // The box is drawn on the chart it is drawn across.
            if (m_band && m_band->parent() != &chart) {
                delete m_band;
                m_band = nullptr;
            }
            if (!m_band)
                m_band = new QRubberBand(QRubberBand::Rectangle, &chart);
            m_dragChart = &chart;
            m_bandStart = at;
            m_band->setGeometry(QRect(at.toPoint(), QSize()));
            m_band->show();
            return true;
        }
        if (event->button() == Qt::MiddleButton) {
            m_dragChart = &chart;
            m_panStart = at;
            m_panFrom = current();
            m_panMoved = false;
            return true;
        }
        return false;
    case QEvent::MouseMove:
        if (&chart != m_dragChart)
            return false;
        if (m_band && m_band->isVisible()) {
            m_band->setGeometry(QRectF(m_bandStart, at).normalized().toRect());
            return true;
        }
        if (m_panStart) {
            const PlotPixel from = plotPixel(chart, *m_panStart), to = plotPixel(chart, at);
            // The view follows the pointer: dragging right shows earlier
            // times, dragging up lower directions.
            const double acrossCells = double(to.x - from.x) * m_panFrom.slotCount() / from.width;
            const double upCells = double(to.y - from.y) * m_panFrom.binCount() / from.height;
            ChartView view = Panned(m_panFrom, ViewAxis::Time, -int(std::lround(acrossCells)));
            view = Panned(view, ViewAxis::Direction, -int(std::lround(upCells)));
            if (view != current()) {
                if (!m_panMoved)
                    m_history->leave(m_panFrom);
                m_panMoved = true;
                showSoon(view);
            }
            return true;
        }
        return false;
    case QEvent::MouseButtonRelease:
        if (&chart != m_dragChart)
            return false;
        if (event->button() == Qt::LeftButton && m_band && m_band->isVisible()) {
            m_band->hide();
            const PlotPixel a = plotPixel(chart, m_bandStart), b = plotPixel(chart, at);
            // A click without a drag draws no box.
            if (std::abs(a.x - b.x) < 2 && std::abs(a.y - b.y) < 2)
                return true;
            go(BoxedView(current(), double(std::min(a.x, b.x)) / a.width,
                         double(std::max(a.x, b.x) + 1) / a.width,
                         double(std::min(a.y, b.y)) / a.height,
                         double(std::max(a.y, b.y) + 1) / a.height));
            return true;
        }
        if (event->button() == Qt::MiddleButton && m_panStart) {
            m_panStart.reset();
            return true;
        }
        return false;
    default:
        return false;
    }
}

bool ChartZoom::eventFilter(QObject* watched, QEvent* event) {
    // Only charts are watched; the cast waits for an event that only a live
    // chart gets, since a chart being destroyed still sends a few.
    const auto chart = [watched] { return static_cast<PictureBox*>(watched); };
    switch (event->type()) {
    case QEvent::Wheel:
        wheel(*chart(), static_cast<QWheelEvent*>(event));
        return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease:
        if (mouse(*chart(), static_cast<QMouseEvent*>(event)))
            return true;
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
