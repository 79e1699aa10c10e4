// SPDX-License-Identifier: MIT
#include "ChartReadout.h"

#include "ChartFrame.h"
#include "ChartView.h"
#include "ColourTable.h"
#include "DayTime.h"
#include "ImageSurface.h"
#include "ObservationGrid.h"
#include "PolarPlot.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace ChartGeometry {
namespace {
constexpr int LegendTop = LegendRowY(LegendRows - 1);
} // namespace

std::optional<Cell> CellAt(QPointF p) {
    const auto x = static_cast<int>(std::floor(p.x()));
    const auto y = static_cast<int>(std::floor(p.y()));
    if (x < PlotLeft || x > PlotRight || y < PlotTop || y > PlotBottom)
        return std::nullopt;
    return Cell{x - PlotLeft, PlotBottom - y};
}

std::optional<Cell> CellAt(QPointF p, const ChartView& view, qreal ratio) {
    if (view.whole())
        return CellAt(p);
    if (!CellAt(p))
        return std::nullopt;
    const QPoint device = ImageSurface::devicePixelAt(p, ratio);
    const DevicePlot plot = PlotInDevice(ratio);
    const int x = std::clamp(device.x() - plot.left, 0, plot.width - 1);
    const int y = std::clamp(plot.bottom - device.y(), 0, plot.height - 1);
    return Cell{SlotAtColumn(view, x, plot.width), BinAtRow(view, y, plot.height)};
}

int SlotNear(qreal x, const ChartView& view, qreal ratio) {
    if (view.wholeDay())
        return SlotNear(x);
    const DevicePlot plot = PlotInDevice(ratio);
    const int column = ImageSurface::devicePixelAt({x, PlotBottom + 0.5}, ratio).x() - plot.left;
    return SlotAtColumn(view, std::clamp(column, 0, plot.width - 1), plot.width);
}

int SlotNear(qreal x) {
    const auto column = static_cast<int>(std::floor(x));
    return std::clamp(column - PlotLeft, 0, ObservationGrid::LastSlot);
}

QRect CellRect(Cell cell) {
    return {SlotColumn(cell.slot), BinRow(cell.bin), 1, 1};
}

QPolygonF SlotMarker(int slot) {
    // Rows 42 to 48: below the title's text and clear of the box at row 50.
    const qreal centre = SlotColumn(slot) + 0.5;
    return QPolygonF{{centre - 4, 42}, {centre + 4, 42}, {centre, 49}};
}

QPolygonF SlotMarker(int slot, const ChartView& view, qreal ratio) {
    if (view.wholeDay())
        return SlotMarker(slot);
    const DevicePlot plot = PlotInDevice(ratio);
    const int n = view.slotCount();
    if (slot < view.firstSlot) {
        const qreal edge = PlotLeft;
        return QPolygonF{{edge, 45.5}, {edge + 7, 41.5}, {edge + 7, 49.5}};
    }
    if (slot > view.lastSlot) {
        const qreal edge = PlotRight + 1;
        return QPolygonF{{edge, 45.5}, {edge - 7, 41.5}, {edge - 7, 49.5}};
    }
    const int k = slot - view.firstSlot;
    const qreal left = plot.left + ColumnOfSlotOffset(k, n, plot.width);
    const qreal right = plot.left + ColumnOfSlotOffset(k + 1, n, plot.width);
    const qreal centre = (left + right) / 2 / ratio;
    return QPolygonF{{centre - 4, 42}, {centre + 4, 42}, {centre, 49}};
}

std::optional<int> LegendLineAt(QPointF p) {
    const auto x = static_cast<int>(std::floor(p.x()));
    const auto y = static_cast<int>(std::floor(p.y()));
    if (x < LegendLeft || x > LegendRight || y < LegendTop || y > PlotBottom)
        return std::nullopt;
    return PlotBottom - y;
}

QRect LegendLineRect(int line) {
    return {LegendLeft, LegendRowY(line), LegendRight - LegendLeft + 1, 1};
}

} // namespace ChartGeometry

namespace PolarGeometry {
namespace {
constexpr qreal Centre = PolarCentre;
}

std::optional<int> BinAt(QPointF p) {
    const qreal dx = p.x() - Centre;
    const qreal dy = p.y() - Centre;
    if (dx == 0 && dy == 0)
        return std::nullopt;
    // Clockwise from straight up; screen y grows downwards.
    qreal degrees = std::atan2(dx, -dy) * 180 / std::numbers::pi;
    if (degrees < 0)
        degrees += 360;
    const auto bin = static_cast<int>(std::floor((degrees + 1) / 2));
    return bin % ObservationGrid::Bins;
}
} // namespace PolarGeometry

namespace {
QString Direction(int bin) {
    return QString::number(BinDegrees(bin)) + QChar(0x00b0);
}
} // namespace

QString CellReadoutText(ChartGeometry::Cell cell, const QString& value) {
    QString text = SlotTimeText(cell.slot) + QStringLiteral("  ") + Direction(cell.bin);
    if (!value.isEmpty())
        text += QStringLiteral("  ") + value;
    return text;
}

QString CellValueText(int value, bool recorded) {
    return recorded ? QString::number(value) : QStringLiteral("記録なし");
}

QString LegendReadoutText(int value) {
    return QStringLiteral("信号 ") + QString::number(value);
}

QString PolarReadoutText(int bin, const QString& value) {
    return Direction(bin) + QStringLiteral("  ") + value;
}
