// SPDX-License-Identifier: MIT
#pragma once

#include "DaySummary.h"
#include "OverviewColours.h"

#include <QSize>

class DrawingSurface;

// A day's thumbnail: its plot area reduced 4 x 4, one pixel per block in the
// colour of the block's highest value, time across and direction up as on
// the chart.
inline constexpr QSize ThumbnailSize{DaySummary::ThumbnailWidth, DaySummary::ThumbnailHeight};

// Draws the thumbnail with its top-left corner at (left, top).
void DrawDayThumbnail(DrawingSurface& picture, const DaySummary& summary,
                      const OverviewColours& colours, float left = 0, float top = 0);
