// SPDX-License-Identifier: MIT
#include "DayChart.h"

#include "ChartFrame.h"
#include "DirectionTimePlot.h"
#include "DrawingSurface.h"

void DrawChart(DrawingSurface& picture, const ObservationGrid& grid, const QString& path,
               const ColourTable& colours, const ChartView& view) {
    picture.Cls();
    DrawChartFrame(picture, colours, view);
    PlotSignalGrid(picture, grid, colours, view);
    PrintDateLabel(picture, path);
}
