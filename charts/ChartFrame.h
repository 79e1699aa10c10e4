// SPDX-License-Identifier: MIT
#pragma once

#include "ChartView.h"
#include "ObservationGrid.h"

#include <QRgb>
#include <QSize>
#include <QString>

#include <array>

class ColourTable;
class DrawingSurface;

// The drawing area of the chart's picture.
inline constexpr QSize ChartPictureSize{813, 277};

// Chart coordinates of the direction-time chart: slot t at column 30 + t,
// direction bin d at row 230 - d, legend row r at row 230 - r.
namespace ChartGeometry {
inline constexpr int PlotLeft = 30;
inline constexpr int PlotBottom = 230;
inline constexpr int PlotRight = PlotLeft + ObservationGrid::LastSlot;
inline constexpr int PlotTop = PlotBottom - (ObservationGrid::Bins - 1);
constexpr int SlotColumn(int t) {
    return PlotLeft + t;
}
constexpr int BinRow(int d) {
    return PlotBottom - d;
}

// The colour legend: LegendRows lines from the plot's bottom row upwards,
// each from LegendLeft to the legend box's right edge, LegendRight. On the
// standard scale the line of row r stands for the value r x LegendUnitsPerRow
// (ColourTable gives the value under other settings).
inline constexpr int LegendLeft = 781;
inline constexpr int LegendRight = 800;
inline constexpr int LegendRows = 128;
inline constexpr int LegendUnitsPerRow = 8;
constexpr int LegendRowY(int r) {
    return PlotBottom - r;
}
// The plot area in device pixels at a device pixel ratio: its first column,
// its bottom row, and its width and height.
struct DevicePlot {
    int left = 0;
    int bottom = 0;
    int width = 0;
    int height = 0;
};
DevicePlot PlotInDevice(qreal ratio);
} // namespace ChartGeometry

// Clears the surface and draws the empty direction-time-signal chart: title,
// chart box, hour and direction axes with their labels, and the colour legend
// of the table (without one, the standard scale over 0..1023).
void DrawChartFrame(DrawingSurface& picture);
void DrawChartFrame(DrawingSurface& picture, const ColourTable& colours);
// The two halves of the frame: cleared surface, title, box and the view's
// axes; and the colour legend of the table.
void DrawChartAxes(DrawingSurface& picture, const ChartView& view = {});
void DrawColourLegend(DrawingSurface& picture, const ColourTable& colours);

// The legend box right of the chart: `rows` from the bottom line up, and a
// tick every quarter of them with its label printed left of it (a number as
// a surface prints one, " 1024 ", so it keeps clear of the chart box).
inline constexpr int ChartLegendLabels = 5;
void DrawChartLegend(DrawingSurface& picture,
                     const std::array<QRgb, ChartGeometry::LegendRows>& rows,
                     const std::array<QString, ChartLegendLabels>& labels);
// The same for a part of the day: the axes mark the view's slots and bins,
// across the plot's full width and height (see PlotSignalGrid); the whole
// day's view draws exactly the frame above.
void DrawChartFrame(DrawingSurface& picture, const ColourTable& colours, const ChartView& view);
