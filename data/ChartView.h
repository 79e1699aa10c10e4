// SPDX-License-Identifier: MIT
#pragma once

#include "ObservationGrid.h"

#include <optional>
#include <string_view>
#include <vector>

// The part of the day that the direction-time chart shows: a time window
// (first to last slot, both included) and a direction sector (first to last
// bin, both included). A sector may cross 0 degrees: first 170 and last 10 is
// bins 170 to 179 and 0 to 10, shown as one band with 170 at the bottom.
// The whole day and the whole circle is the default.
struct ChartView {
    static constexpr int MinSlots = 30;
    static constexpr int MinBins = 15;

    int firstSlot = 0;
    int lastSlot = ObservationGrid::LastSlot;
    int firstBin = 0;
    int lastBin = ObservationGrid::Bins - 1;

    int slotCount() const { return lastSlot - firstSlot + 1; }
    int binCount() const {
        return (lastBin - firstBin + ObservationGrid::Bins) % ObservationGrid::Bins + 1;
    }
    bool wholeDay() const { return slotCount() == ObservationGrid::Slots; }
    bool wholeCircle() const { return binCount() == ObservationGrid::Bins; }
    bool whole() const { return wholeDay() && wholeCircle(); }
    bool holdsSlot(int t) const { return t >= firstSlot && t <= lastSlot; }
    // Where a bin lies in the sector, counted up from its first bin;
    // nothing for a bin outside it.
    std::optional<int> binOffset(int d) const;

    bool operator==(const ChartView&) const = default;
};

// The view held to the data: a window of 30 to 720 slots inside the day,
// widened about its centre where it is shorter, and a sector of 15 to 180
// bins (the whole circle always as bins 0 to 179).
ChartView Clamped(ChartView view);

// The cells under the plot's device pixels. The plot is `width` device
// columns wide and `height` device rows high; column x, counted from the
// left, shows slot first + floor(x n / width), and row y, counted up from
// the bottom, shows bin (first + floor(y m / height)) mod 180, for n slots
// and m bins in view. Each cell is thus a solid block of whole pixels.
int SlotAtColumn(const ChartView& view, int x, int width);
int BinAtRow(const ChartView& view, int y, int height);
// The first device column (from the left) of the `k`th slot of the window,
// and the first device row (from the bottom) of its `k`th bin; k may be the
// count itself, which gives the far edge.
int ColumnOfSlotOffset(int k, int slots, int width);
inline int RowOfBinOffset(int k, int bins, int height) {
    return ColumnOfSlotOffset(k, bins, height);
}

// The span after one step of zooming in (`in`) or out: round(span / 1.25)
// or round(span x 1.25), halves rounded up, changing by at least one cell
// and landing on `min` or `max` rather than passing it. Nothing at the limit
// itself.
std::optional<int> ZoomedSpan(int span, bool in, int min, int max);

enum class ViewAxis { Time, Direction };

// One step of zooming along an axis, keeping the cell at `along` (0 to 1
// across the plot, from the left or up from the bottom) under that point;
// the window then held inside the day. Nothing when the span is already at
// its limit.
std::optional<ChartView> Zoomed(const ChartView& view, ViewAxis axis, bool in, double along);

// The view moved by `cells` along an axis (later slots, higher bins): the
// window stops at the day's ends, the sector turns round the circle.
ChartView Panned(const ChartView& view, ViewAxis axis, int cells);

// The view that shows the cells of a box drawn on the plot, given by its
// corners as fractions (0 to 1) across and up the plot; widened about its
// centre to the least span.
ChartView BoxedView(const ChartView& view, double left, double right, double bottom, double top);

// A typed time range, "6:00-9:00": the slots holding both minutes, both
// included, widened about its centre to 30 slots. Nothing for a range that
// is reversed, empty or not two times of the day.
std::optional<ChartView> TimeRangeView(std::string_view text, const ChartView& view = {});
// A direction sector in whole degrees, "200-280" or, across 0, "340-20":
// the bins holding both directions, both included, widened about its centre
// to 15 bins. Nothing for two equal directions, directions from 360 on, or
// other text.
std::optional<ChartView> SectorView(std::string_view text, const ChartView& view = {});

// The steps between labelled ticks: every 10, 15, 30 or 60 minutes (and more
// hours for long windows) as labels `labelWidth` pixels wide fit on a plot
// `plotWidth` wide; every 10, 20, 30, 60 or 90 degrees as labels
// `labelHeight` high fit on a plot `plotHeight` high. In slots and bins.
int TimeTickSlots(int slots, int plotWidth, int labelWidth);
int DirectionTickBins(int bins, int plotHeight, int labelHeight);
