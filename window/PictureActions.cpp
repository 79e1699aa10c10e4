// SPDX-License-Identifier: MIT
#include "PictureActions.h"

#include "ChartReadout.h"
#include "DirectionTimePlot.h"
#include "FileNames.h"
#include "FileSaver.h"
#include "PathText.h"
#include "PictureBox.h"
#include "Playback.h"
#include "PolarPlot.h"
#include "ViewState.h"
#include "WindowActions.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QCursor>
#include <QMenu>
#include <QPainter>
#include <QWidget>

#include <cmath>

namespace {

// Adds `entries` to `menu`, a null entry as a separator.
void AddEntries(QMenu& menu, const QList<QAction*>& entries) {
    for (QAction* entry : entries) {
        if (entry)
            menu.addAction(entry);
        else
            menu.addSeparator();
    }
}

} // namespace

PictureActions::PictureActions(ViewState& view, WindowActions& actions, PictureBox& chart,
                               PictureBox& polar, FileSaver& saver, QWidget* window)
    : QObject(window), m_view(view), m_chart(chart), m_polar(polar), m_saver(saver),
      m_window(window) {
    m_chart.setTipProvider([this](QPointF p) -> std::optional<PictureTip> {
        const ChartView& shown = m_view.chartView();
        if (const auto cell = ChartGeometry::CellAt(p, shown, ratio())) {
            // Before a log is shown the chart holds no values to read.
            const QString value = m_view.hasLog() ? valueText(cell->slot, cell->bin) : QString();
            // A zoomed cell's block need not be whole logical pixels: the
            // pixel under the pointer, whose moves refresh the tip anyway.
            const QRect area =
                shown.whole()
                    ? ChartGeometry::CellRect(*cell)
                    : QRect(QPoint(int(std::floor(p.x())), int(std::floor(p.y()))), QSize(1, 1));
            return PictureTip{CellReadoutText(*cell, value), area};
        }
        if (const auto line = ChartGeometry::LegendLineAt(p))
            return PictureTip{LegendReadoutText(m_view.colourTable().LegendValue(*line)),
                              ChartGeometry::LegendLineRect(*line)};
        return std::nullopt;
    });
    m_polar.setTipProvider([this](QPointF p) -> std::optional<PictureTip> {
        const auto bin = PolarGeometry::BinAt(p);
        if (!m_view.polarShown() || !bin)
            return std::nullopt;
        return PictureTip{PolarReadoutText(*bin, valueText(m_view.slot(), *bin)),
                          QRect(p.toPoint(), QSize(1, 1))};
    });
    // A tooltip left on screen follows what it reads: a log that grows under
    // it, another day, other colours, another slot.
    const auto refreshTips = [this] {
        m_chart.refreshTip();
        m_polar.refreshTip();
    };
    for (const auto changed : {&ViewState::gridChanged, &ViewState::logChanged,
                               &ViewState::coloursChanged})
        connect(&m_view, changed, this, refreshTips);
    connect(&m_view, &ViewState::slotChanged, this, refreshTips);

    // A click in the plot area picks its slot, and a drag moves on.
    m_chart.setPointHandler([this](QPointF p, bool dragging) {
        if (!dragging && !ChartGeometry::CellAt(p))
            return false;
        m_view.setSlot(ChartGeometry::SlotNear(p.x(), m_view.chartView(), ratio()));
        return true;
    });
    m_chart.setOverlayPainter([this](QPainter& painter) {
        if (!m_view.polarShown())
            return;
        // Hollow while playing, so that one sees the day is being played.
        const QColor marker(0xc0, 0, 0);
        if (m_playback && m_playback->isPlaying()) {
            painter.setPen(QPen(marker, 1));
            painter.setBrush(Qt::NoBrush);
        } else {
            painter.setPen(Qt::NoPen);
            painter.setBrush(marker);
        }
        painter.drawPolygon(ChartGeometry::SlotMarker(m_view.slot(), m_view.chartView(), ratio()));
    });

    // The picture as it is now, even if a followed log replots it meanwhile.
    m_chart.setSaveHandler([this] {
        m_saver.saveImage(m_chart.surface().image(),
                          ChartImageName(m_view.path(), m_view.chartView()));
    });
    m_polar.setSaveHandler([this] {
        m_saver.saveImage(m_polar.surface().image(),
                          PolarImageName(m_view.path(), m_view.slot(), m_view.gain()));
    });

    const auto slotShown = [this] {
        // Only where the marker was and is: playing moves it many times a
        // second over an unchanged chart.
        updateMarker(m_markerSlot);
        m_markerSlot = m_view.slot();
        updateMarker(m_markerSlot);
        describe();
    };
    connect(&m_view, &ViewState::slotChanged, this, slotShown);
    connect(&m_view, &ViewState::gainChanged, this, &PictureActions::describe);
    connect(&m_view, &ViewState::logChanged, this, &PictureActions::describe);
    // The menus: the direction is the one under the pointer, so it needs a
    // menu asked for in the plot area.
    m_chart.setMenuExtender([this, &actions](QMenu& menu, std::optional<QPointF> at) {
        const std::optional<ChartGeometry::Cell> cell =
            at ? ChartGeometry::CellAt(*at, m_view.chartView(), ratio()) : std::nullopt;
        actions.setDirection(cell ? std::optional(cell->bin) : std::nullopt);
        AddEntries(menu, actions.chartMenu());
    });
    m_polar.setMenuExtender(
        [&actions](QMenu& menu, std::optional<QPointF>) { AddEntries(menu, actions.polarMenu()); });
    describe();
}

QString PictureActions::valueText(int slot, int bin) const {
    const bool recorded = slot * ObservationGrid::Bins + bin < m_view.coveredCells();
    return CellValueText(m_view.grid()(slot, bin), recorded);
}

void PictureActions::showMenuFromKeyboard() {
    for (PictureBox* picture : {&m_chart, &m_polar}) {
        if (picture->underMouse()) {
            picture->showPictureMenu(QCursor::pos());
            return;
        }
    }
    QMenu menu(m_window);
    for (PictureBox* picture : {&m_chart, &m_polar})
        picture->addPictureActions(menu.addMenu(picture->accessibleName()));
    const QWidget* anchor = m_window->focusWidget() ? m_window->focusWidget() : m_window;
    menu.exec(anchor->mapToGlobal(anchor->rect().center()));
}

void PictureActions::updateMarker(int slot) {
    const QRect marker =
        ChartGeometry::SlotMarker(slot, m_view.chartView(), ratio()).boundingRect().toAlignedRect();
    m_chart.update(marker.adjusted(-1, -1, 1, 1).translated(m_chart.contentsRect().topLeft()));
}

void PictureActions::takeMenuKey(const QList<QWidget*>& controls) {
    for (QWidget* control : controls)
        control->installEventFilter(this);
}

bool PictureActions::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ContextMenu &&
        static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard) {
        showMenuFromKeyboard();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void PictureActions::setPlayback(Playback& playback) {
    m_playback = &playback;
    connect(m_playback, &Playback::playingChanged, &m_chart,
            [this] { updateMarker(m_view.slot()); });
}

void PictureActions::describe() {
    if (!m_view.hasLog()) {
        m_chart.setAccessibleDescription(QStringLiteral("観測ログは表示されていません"));
    } else {
        const QString date = DateLabelText(m_view.path());
        const QString name =
            PathForDisplay(m_view.path().mid(m_view.path().lastIndexOf(QLatin1Char('/')) + 1));
        m_chart.setAccessibleDescription((date.isEmpty() ? name : date) +
                                         QStringLiteral(" の観測ログ"));
    }
    m_polar.setAccessibleDescription(m_view.polarShown()
                                         ? SlotTimeText(m_view.slot()) + QStringLiteral(" 倍率 ") +
                                               QString::number(m_view.gain())
                                         : QStringLiteral("まだ描かれていません"));
}

qreal PictureActions::ratio() const {
    return m_chart.surface().devicePixelRatio();
}
