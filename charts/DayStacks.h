// SPDX-License-Identifier: MIT
#pragma once

#include "ArchiveListing.h"
#include "DaySummary.h"
#include "OverviewColours.h"

#include <QPointF>
#include <QRect>
#include <QSize>

#include <functional>
#include <optional>

class DrawingSurface;

// The two day stacks of an archive: one band per day from the first date (at
// the top) to the last, each band showing the day's stack row. The time stack
// has a column per slot (each the slot's highest value over all bins), the
// direction stack a column per bin (each the bin's highest value over all
// slots). Dates run down the left side, hours or degrees along the bottom.
// A day without a log is hatched in two light greys, which no colour scale
// can be mistaken for.
enum class DayStack { Time, Direction };

namespace StackGeometry {
// Margins around the plot area: date labels on the left, the axis below.
inline constexpr int Left = 78;
inline constexpr int Top = 12;
inline constexpr int Right = 14;
inline constexpr int Bottom = 38;

// Slots or bins.
int Columns(DayStack stack);
// Pixel rows per day: a week or a month is read day by day, a year as a
// picture of one row a day.
int BandHeight(int days);
QSize PictureSize(DayStack stack, int days);
// The plot rows of day `day` (0 for the first date) across the plot's width.
QRect BandRect(DayStack stack, int day, int days);

struct StackPoint {
    int day = 0;    // 0 for the first date
    int column = 0; // the slot or the bin
    bool operator==(const StackPoint&) const = default;
};
// The day and column under a point of the picture; nothing off the plot.
std::optional<StackPoint> PointAt(DayStack stack, int days, QPointF p);
} // namespace StackGeometry

// The stack rows of day `day` (0 for the first date): null for a day without
// a readable log (hatched), nothing for one not read yet (left blank).
using StackRows = std::function<std::optional<const DayRows*>(int day)>;

// Clears the surface and draws the whole stack: frame, axes, date labels and
// every day's band.
void DrawDayStack(DrawingSurface& picture, DayStack stack, Day first, int days,
                  const StackRows& rows, const OverviewColours& colours);
// Draws one day's band again, for a day read or read anew.
void DrawDayStackBand(DrawingSurface& picture, DayStack stack, int day, int days,
                      const DayRows* rows, const OverviewColours& colours);
