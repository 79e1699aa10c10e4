// SPDX-License-Identifier: MIT
#include "LoadCommand.h"

#include "ChartFrame.h"
#include "DirectionTimePlot.h"
#include "DrawingSurface.h"
#include "PathText.h"

LogReadResult ReadLogFile(const QString& path, ObservationGrid& grid) {
    return ReadObservationLog(PathBytes(path), grid);
}

void DrawChart(DrawingSurface& picture, const ObservationGrid& grid, const QString& path,
               const ColourTable& colours, const ChartView& view) {
    picture.Cls();
    DrawChartFrame(picture, colours, view);
    PlotSignalGrid(picture, grid, colours, view);
    PrintDateLabel(picture, path);
}
