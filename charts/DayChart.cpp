// SPDX-License-Identifier: MIT
#include "DayChart.h"

#include "ChartFrame.h"
#include "DirectionTimePlot.h"
#include "DrawingSurface.h"

void DrawChart(DrawingSurface& picture, const ObservationGrid& grid, const QString& path,
               const ColourTable& colours) {
    picture.Cls();
    DrawChartFrame(picture, colours);
    PlotSignalGrid(picture, grid, colours);
    PrintDateLabel(picture, path);
}
