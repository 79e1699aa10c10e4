// SPDX-License-Identifier: MIT
#pragma once

#include "ChartView.h"
#include "ColourTable.h"
#include "ObservationGrid.h"

#include <QString>

class DrawingSurface;

// Clears `picture` and draws the chart of `grid` as a load leaves it: frame,
// every cell and the date label of `path`, in the colours of `colours`, for
// the part of the day in `view`.
void DrawChart(DrawingSurface& picture, const ObservationGrid& grid, const QString& path,
               const ColourTable& colours = StandardColourTable(), const ChartView& view = {});
