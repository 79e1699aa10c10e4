// SPDX-License-Identifier: MIT
#pragma once

#include "ChartView.h"
#include "ColourTable.h"
#include "ObservationLog.h"

#include <QString>

#include "ObservationLog.h"

class DrawingSurface;

// The steps of a load that read and draw; what the user is asked and told
// is the window's.

// Reads the log at `path` (see PathText.h) into `grid`; on any failure the
// grid is left as it was.
LogReadResult ReadLogFile(const QString& path, ObservationGrid& grid);

// Clears `picture` and draws the chart of `grid`: frame, every cell and the
// date label of `path`, in the colours of `colours`, for the part of the
// day in `view`.
void DrawChart(DrawingSurface& picture, const ObservationGrid& grid, const QString& path,
               const ColourTable& colours = StandardColourTable(), const ChartView& view = {});
