// SPDX-License-Identifier: MIT
#pragma once

#include "ChartView.h"
#include "Marks.h"

#include <QRect>
#include <QString>

#include <vector>

class DrawingSurface;

// Draws the marks over the chart's cells, inside the plot box: each mark's
// outline on its edge cells in white with a black line just outside it where
// the plot has room, so that it shows on every colour map; a sector across
// 0 degrees as two boxes open where they meet the plot's top and bottom; the
// label in black on white inside the box where it fits, else just right of
// it, clear of the labels before it, and not at all where there is no room.
// Outlines are drawn in the order given, later ones over earlier ones, and
// the labels over all outlines.
void DrawMarks(DrawingSurface& picture, const std::vector<Mark>& marks);
// The same over a part of the day: each mark's box follows the cells as the
// view lays them out in device pixels (see PlotSignalGrid), cut off where the
// view ends, with no edge drawn where the box goes on beyond the view or
// across 0 degrees inside it; a line is as wide as the surface draws one.
// The whole day's view draws exactly the overlay above.
void DrawMarks(DrawingSurface& picture, const std::vector<Mark>& marks, const ChartView& view);

// The plot-box rectangles (in chart coordinates, both corners included) that
// a mark covers: one, or two for a sector across 0 degrees.
std::vector<QRect> MarkBoxes(const Mark& mark);

// The mark under the cell (slot t, bin d): of those holding it, the one
// covering the fewest cells (so that a small mark inside a large one can be
// reached), the later of equal ones; -1 for none.
int MarkAt(const std::vector<Mark>& marks, int t, int d);
