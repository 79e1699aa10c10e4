// SPDX-License-Identifier: MIT
#include "ChartView.h"

#include "DayTime.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr int Slots = ObservationGrid::Slots;
constexpr int Bins = ObservationGrid::Bins;

int Wrapped(int d) {
    return ((d % Bins) + Bins) % Bins;
}

// The cell at a fraction across `count` cells. The margin keeps a pointer
// on a block's first device pixel (x / width, rounded in floating point) in
// that block.
int CellAtFraction(double along, int count) {
    const int k = static_cast<int>(std::floor(std::clamp(along, 0.0, 1.0) * count + 1e-9));
    return std::min(k, count - 1);
}

ChartView WithSector(ChartView view, int first, int bins) {
    if (bins >= Bins) {
        view.firstBin = 0;
        view.lastBin = Bins - 1;
    } else {
        view.firstBin = Wrapped(first);
        view.lastBin = Wrapped(first + bins - 1);
    }
    return view;
}

ChartView WithWindow(ChartView view, int first, int slots) {
    slots = std::clamp(slots, 1, Slots);
    view.firstSlot = std::clamp(first, 0, Slots - slots);
    view.lastSlot = view.firstSlot + slots - 1;
    return view;
}

// The two sides of "a-b", trimmed; nothing without exactly one dash.
std::optional<std::array<std::string_view, 2>> RangeSides(std::string_view text) {
    const auto dash = text.find('-');
    if (dash == std::string_view::npos || text.find('-', dash + 1) != std::string_view::npos)
        return std::nullopt;
    return std::array{Trimmed(text.substr(0, dash)), Trimmed(text.substr(dash + 1))};
}

std::optional<int> WholeDegrees(std::string_view text) {
    if (text.empty() || text.size() > 3)
        return std::nullopt;
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value >= 360)
        return std::nullopt;
    return value;
}

} // namespace

std::optional<int> ChartView::binOffset(int d) const {
    const int k = Wrapped(d - firstBin);
    if (k >= binCount())
        return std::nullopt;
    return k;
}

ChartView Clamped(ChartView view) {
    view.firstSlot = std::clamp(view.firstSlot, 0, Slots - 1);
    view.lastSlot = std::clamp(view.lastSlot, view.firstSlot, Slots - 1);
    int slots = view.slotCount();
    int first = view.firstSlot;
    if (slots < ChartView::MinSlots) {
        // Widened about its centre, then pushed back inside the day.
        first -= (ChartView::MinSlots - slots) / 2;
        slots = ChartView::MinSlots;
    }
    view = WithWindow(view, first, slots);

    view.firstBin = Wrapped(view.firstBin);
    view.lastBin = Wrapped(view.lastBin);
    const int bins = view.binCount();
    if (bins < ChartView::MinBins)
        return WithSector(view, view.firstBin - (ChartView::MinBins - bins) / 2,
                          ChartView::MinBins);
    return WithSector(view, view.firstBin, bins);
}

int SlotAtColumn(const ChartView& view, int x, int width) {
    const auto k = static_cast<long long>(x) * view.slotCount() / width;
    return view.firstSlot + static_cast<int>(k);
}

int BinAtRow(const ChartView& view, int y, int height) {
    const auto k = static_cast<long long>(y) * view.binCount() / height;
    return Wrapped(view.firstBin + static_cast<int>(k));
}

int ColumnOfSlotOffset(int k, int slots, int width) {
    // The least x with floor(x slots / width) >= k.
    const long long product = static_cast<long long>(k) * width;
    return static_cast<int>((product + slots - 1) / slots);
}

std::optional<int> ZoomedSpan(int span, bool in, int min, int max) {
    if (in ? span <= min : span >= max)
        return std::nullopt;
    // span / 1.25 = 4 span / 5 and span x 1.25 = 5 span / 4, halves up.
    int next = in ? (8 * span + 5) / 10 : (10 * span + 4) / 8;
    if (in)
        next = std::min(next, span - 1);
    else
        next = std::max(next, span + 1);
    return std::clamp(next, min, max);
}

std::optional<ChartView> Zoomed(const ChartView& view, ViewAxis axis, bool in, double along) {
    along = std::clamp(along, 0.0, 1.0);
    if (axis == ViewAxis::Time) {
        const int slots = view.slotCount();
        const auto next = ZoomedSpan(slots, in, ChartView::MinSlots, Slots);
        if (!next)
            return std::nullopt;
        const int held = view.firstSlot + CellAtFraction(along, slots);
        return WithWindow(view, held - CellAtFraction(along, *next), *next);
    }
    const int bins = view.binCount();
    const auto next = ZoomedSpan(bins, in, ChartView::MinBins, Bins);
    if (!next)
        return std::nullopt;
    const int held = view.firstBin + CellAtFraction(along, bins);
    return WithSector(view, held - CellAtFraction(along, *next), *next);
}

ChartView Panned(const ChartView& view, ViewAxis axis, int cells) {
    if (axis == ViewAxis::Time)
        return WithWindow(view, view.firstSlot + cells, view.slotCount());
    if (view.wholeCircle())
        return view;
    return WithSector(view, view.firstBin + cells, view.binCount());
}

ChartView BoxedView(const ChartView& view, double left, double right, double bottom, double top) {
    const auto span = [](double from, double to, int count) {
        const int first = CellAtFraction(std::min(from, to), count);
        const double end = std::clamp(std::max(from, to), 0.0, 1.0) * count;
        const int last = std::max(first, static_cast<int>(std::ceil(end - 1e-9)) - 1);
        return std::array{first, std::min(last, count - 1)};
    };
    const auto slots = span(left, right, view.slotCount());
    const auto bins = span(bottom, top, view.binCount());
    ChartView boxed = view;
    boxed.firstSlot = view.firstSlot + slots[0];
    boxed.lastSlot = view.firstSlot + slots[1];
    boxed = WithSector(boxed, view.firstBin + bins[0], bins[1] - bins[0] + 1);
    return Clamped(boxed);
}

std::optional<ChartView> TimeRangeView(std::string_view text, const ChartView& view) {
    const auto sides = RangeSides(text);
    if (!sides)
        return std::nullopt;
    const auto from = DayMinute((*sides)[0]);
    const auto to = DayMinute((*sides)[1]);
    if (!from || !to || *to <= *from)
        return std::nullopt;
    ChartView zoomed = view;
    zoomed.firstSlot = *from / ObservationGrid::MinutesPerSlot;
    zoomed.lastSlot = *to / ObservationGrid::MinutesPerSlot;
    return Clamped(zoomed);
}

std::optional<ChartView> SectorView(std::string_view text, const ChartView& view) {
    const auto sides = RangeSides(text);
    if (!sides)
        return std::nullopt;
    const auto from = WholeDegrees((*sides)[0]);
    const auto to = WholeDegrees((*sides)[1]);
    if (!from || !to || *from == *to)
        return std::nullopt;
    ChartView zoomed = view;
    zoomed.firstBin = *from / ObservationGrid::DegreesPerBin;
    zoomed.lastBin = *to / ObservationGrid::DegreesPerBin;
    // Two directions in one bin are that bin, not the circle less a bin.
    if (zoomed.firstBin == zoomed.lastBin)
        return Clamped(WithSector(zoomed, zoomed.firstBin, 1));
    return Clamped(zoomed);
}

int TimeTickSlots(int slots, int plotWidth, int labelWidth) {
    for (const int minutes : {10, 20, 30, 60, 120, 180, 360}) {
        const int step = minutes / ObservationGrid::MinutesPerSlot;
        if (static_cast<long long>(step) * plotWidth >= static_cast<long long>(labelWidth) * slots)
            return step;
    }
    return 720 / ObservationGrid::MinutesPerSlot;
}

int DirectionTickBins(int bins, int plotHeight, int labelHeight) {
    for (const int degrees : {10, 20, 30, 60, 90}) {
        const int step = degrees / ObservationGrid::DegreesPerBin;
        if (static_cast<long long>(step) * plotHeight >= static_cast<long long>(labelHeight) * bins)
            return step;
    }
    return 180 / ObservationGrid::DegreesPerBin;
}
