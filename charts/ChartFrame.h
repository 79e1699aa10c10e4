// SPDX-License-Identifier: MIT
#pragma once

class DrawingSurface;

// Chart coordinates of the direction-time chart: slot t at column 30 + t,
// direction bin d at row 230 - d, legend value v at row 230 - v / 8.
namespace ChartGeometry {
inline constexpr int PlotLeft = 30;
inline constexpr int PlotBottom = 230;
// The colour legend's lines run from LegendLeft to the legend box's right
// edge, LegendRight.
inline constexpr int LegendLeft = 781;
inline constexpr int LegendRight = 800;
constexpr int SlotColumn(int t) {
    return PlotLeft + t;
}
constexpr int BinRow(int d) {
    return PlotBottom - d;
}
} // namespace ChartGeometry

// Clears the surface and draws the empty direction-time-signal chart: title,
// chart box, hour and direction axes with their labels, and the colour legend.
void DrawChartFrame(DrawingSurface& picture);
