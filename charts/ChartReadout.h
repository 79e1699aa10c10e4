// SPDX-License-Identifier: MIT
#pragma once

#include <QPointF>
#include <QPolygonF>
#include <QRect>
#include <QString>

#include <optional>

struct ChartView;
class ColourTable;

// What lies under a point of the charts, for readouts and for picking a slot
// with the mouse. Points are in the surface's logical coordinates (the chart's
// own pixel grid), never in device pixels: the pixel (x, y) covers the square
// from (x, y) to (x + 1, y + 1).
namespace ChartGeometry {

struct Cell {
    int slot = 0;
    int bin = 0;
    bool operator==(const Cell&) const = default;
};

// The cell whose pixel is under `p`; nothing outside the plot area (columns
// 30 to 749, rows 51 to 230).
std::optional<Cell> CellAt(QPointF p);
// The cell of a view under the reading point `p` of a surface at a device
// pixel ratio (see ImageSurface::readingPoint): the cell drawn on the device
// pixel under the pointer. The whole day's view reads as above.
std::optional<Cell> CellAt(QPointF p, const ChartView& view, qreal ratio);
// The slot of a view nearest to x, held to the plot area's ends.
int SlotNear(qreal x, const ChartView& view, qreal ratio);
// The slot of the column nearest to x, held to the plot area's ends: where a
// drag along the chart has got to, even past the box.
int SlotNear(qreal x);
// The pixel of a cell, in surface coordinates.
QRect CellRect(Cell cell);

// The marker of the slot that the polar plot shows: a small triangle above
// the chart box, between the title and the box's top edge, pointing down at
// the slot's column.
QPolygonF SlotMarker(int slot);
// The same over the chart of a view, at the middle of the slot's block;
// for a slot outside the window, a triangle at the plot's left or right
// edge pointing the way to it.
QPolygonF SlotMarker(int slot, const ChartView& view, qreal ratio);

// The legend's colour-bar line under `p` (0 for the bottom one, row 230;
// the value it stands for is the colour table's LegendValue), nothing off
// the bar; and that line's pixels.
std::optional<int> LegendLineAt(QPointF p);
QRect LegendLineRect(int line);

} // namespace ChartGeometry

namespace PolarGeometry {
// The direction bin under `p` on the polar plot: its direction from the
// centre (132, 132) measured clockwise from straight up, rounded to the
// nearest bin of 2 degrees (bin d covers 2d - 1 up to, not including,
// 2d + 1 degrees). Nothing at the centre itself.
std::optional<int> BinAt(QPointF p);
} // namespace PolarGeometry

// Readout texts: "10:38  240°  512" (time as Text2 shows it, the bin's
// direction, the value as CellValueText gives it); without a value when no
// log is shown (an empty `value`). The legend gives "信号 512", the polar plot
// "240°  512".
QString CellReadoutText(ChartGeometry::Cell cell, const QString& value);
QString LegendReadoutText(int value);
QString PolarReadoutText(int bin, const QString& value);
// A cell's value as the grid holds it, or 記録なし for a cell past the end of
// a log that is short (still being recorded): not a real 0.
QString CellValueText(int value, bool recorded);
