// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

struct ChartView;
class ColourTable;
class DrawingSurface;
class ObservationGrid;

// Sets one pixel per cell of the grid in the chart's plot area: slot t at
// column 30 + t, bin d at row 230 - d, in the cell's colour from the table
// (0 drawn black); without a table, on the standard scale over 0..1023.
void PlotSignalGrid(DrawingSurface& picture, const ObservationGrid& grid);
void PlotSignalGrid(DrawingSurface& picture, const ObservationGrid& grid,
                    const ColourTable& colours);
// The cells of a view across the whole plot area: of its device pixels,
// column x from the left shows slot first + floor(x n / width) and row y up
// from the bottom bin (first + floor(y m / height)) mod 180, each cell a
// solid block. The whole day's view plots as above.
void PlotSignalGrid(DrawingSurface& picture, const ObservationGrid& grid,
                    const ColourTable& colours, const ChartView& view);

// The date label of a log, read from the last ten characters of its path,
// which end in yymmdd.log: ".../030115.log" gives "2003/01/15". Empty for a
// file name that does not end in six digits and ".log".
QString DateLabelText(const QString& path);

// Prints the date label above the chart, right of the title; nothing for a
// name that carries no date.
void PrintDateLabel(DrawingSurface& picture, const QString& path);
