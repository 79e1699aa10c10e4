// SPDX-License-Identifier: MIT
#pragma once

#include "DrawingSurface.h"
#include "PolarPlot.h"

#include <QString>

#include <array>

class ObservationGrid;

// Every colour a frame of the polar animation holds: the background, the
// caption's black, the grid's grey and the curve's red. Nothing is
// antialiased, the caption included, so a small fixed palette holds a frame
// exactly.
inline constexpr std::array<QRgb, 4> PolarFrameColours{
    DrawingSurface::Background, DrawingSurface::Foreground, PolarGridColour, PolarCurveColour};

// Draws one frame of a log's polar animation over whatever the surface
// holds: the polar plot of slot t at the gain, drawn as the window draws it,
// with the slot's time and the log's date label (none when empty) in the
// top-left corner, beyond the outer ring, since a moving picture has to say
// when it is.
void DrawPolarFrame(DrawingSurface& picture, const ObservationGrid& grid, int t, int gain,
                    const QString& dateLabel);
