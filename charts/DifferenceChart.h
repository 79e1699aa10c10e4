// SPDX-License-Identifier: MIT
#pragma once

#include "ChartView.h"

#include <QString>

class DifferenceColours;
class DrawingSurface;
class ObservationGrid;

// One side of a comparison: a day's grid, how many of its cells the log
// filled, and its path (for its date).
struct ComparedDay {
    const ObservationGrid* grid = nullptr;
    long cellsCovered = 0;
    QString path;
};

// The legend's label of a difference: as a number is printed while it fits
// the width of " 1024 ", in thousands beyond that (" 33k", "-65k").
QString DifferenceLegendLabel(int value);

// Draws the difference chart of `shown` minus `reference` at the colours'
// range: the chart's frame with a legend from -range (bottom) to +range
// (top), each cell in the colour of its difference, black where either day
// has no observation, and the two dates above the chart
// ("2026/12/08 - 2026/12/07"). A part of the day in `view` has the axes of
// that view, as the day's chart has.
void DrawDifferenceChart(DrawingSurface& picture, const ComparedDay& shown,
                         const ComparedDay& reference, const DifferenceColours& colours,
                         const ChartView& view = {});
// The cells alone, one pixel per cell as PlotSignalGrid sets them; a part of
// the day across the whole plot area, each cell the same block of device
// pixels as PlotSignalGrid gives it at that view.
void PlotDifferenceGrid(DrawingSurface& picture, const ComparedDay& shown,
                        const ComparedDay& reference, const DifferenceColours& colours,
                        const ChartView& view = {});
