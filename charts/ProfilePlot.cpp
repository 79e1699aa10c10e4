// SPDX-License-Identifier: MIT
#include "ProfilePlot.h"

#include "DayTime.h"
#include "DrawingSurface.h"
#include "PrintAt.h"

#include <algorithm>

namespace {

constexpr QRgb Black = 0xff000000;
constexpr QRgb Grey = 0xff7f7f7f;
using namespace ProfileGeometry;

int RoundedUp(int value, int unit) {
    return (value + unit - 1) / unit * unit;
}

void DrawCurve(DrawingSurface& picture, const DayProfile& profile, SlotSpan span,
               std::pair<int, int> range, QRgb colour) {
    const auto [low, high] = range;
    const auto y = [&](int v) {
        return static_cast<float>(PlotBottom -
                                  (long{v} - low) * (PlotBottom - PlotTop) / (high - low));
    };
    bool drawing = false;
    for (int t = span.first; t <= span.last; ++t) {
        const std::optional<int>& value = profile[static_cast<std::size_t>(t)];
        if (!value) {
            drawing = false;
            continue;
        }
        const SurfacePoint point{static_cast<float>(ProfileColumn(t, span)), y(*value)};
        if (drawing)
            picture.LineTo(point, colour);
        else
            picture.PSet(point.x, point.y, colour);
        drawing = true;
    }
}

} // namespace

std::pair<int, int> ProfileValueRange(const ProfileCurves& curves, SlotSpan span) {
    int low = 0, high = 0;
    for (int t = span.first; t <= span.last; ++t) {
        for (const DayProfile* profile : {&curves.shown, &curves.reference}) {
            if (profile == &curves.reference && !curves.hasReference)
                continue;
            if (const auto& v = (*profile)[static_cast<std::size_t>(t)]) {
                low = std::min(low, *v);
                high = std::max(high, *v);
            }
        }
    }
    const auto nice = [](int v) { return v > 100 ? RoundedUp(v, 100) : RoundedUp(v, 10); };
    return {low < 0 ? -nice(-low) : 0, std::max(10, nice(high))};
}

int ProfileColumn(int t, SlotSpan span) {
    return PlotLeft + (t - span.first) * PlotWidth / span.count();
}

void DrawProfilePlot(DrawingSurface& picture, const ProfileCurves& curves, int slot,
                     SlotSpan span) {
    picture.Cls();
    const auto range = ProfileValueRange(curves, span);
    constexpr int Right = PlotLeft + PlotWidth - 1;
    picture.Line({PlotLeft - 1, PlotBottom + 1}, {Right + 1, PlotTop - 1}, Black, LineShape::Box);

    // Time ticks on whole hours, as many as keep 40 pixels apart.
    const int slotsPerHour = 60 / ObservationGrid::MinutesPerSlot;
    int hours = 1;
    for (int step : {1, 2, 3, 4, 6, 12}) {
        hours = step;
        if (step * slotsPerHour * PlotWidth / span.count() >= 40)
            break;
    }
    for (int t = RoundedUp(span.first, hours * slotsPerHour); t <= span.last + 1;
         t += hours * slotsPerHour) {
        const auto x = static_cast<float>(t > span.last ? Right + 1 : ProfileColumn(t, span));
        picture.Line({x, PlotBottom + 2}, {x, PlotBottom + 5}, Black);
        PrintAt(picture, x - 7, PlotBottom + 10, t / slotsPerHour);
    }
    PrintAt(picture, 370, PlotBottom + 20, QStringLiteral("TIME (hour)"));

    // The value range at the left, and zero when the range goes below it.
    for (int v : {range.first, range.second, 0}) {
        const int y =
            PlotBottom - (v - range.first) * (PlotBottom - PlotTop) / (range.second - range.first);
        picture.Line({PlotLeft - 2, static_cast<float>(y)}, {PlotLeft - 5, static_cast<float>(y)},
                     Black);
        if (v != 0 || range.first < 0 || y == PlotBottom)
            PrintAt(picture, 0, static_cast<float>(y - 5), v);
    }

    if (slot >= span.first && slot <= span.last) {
        const auto x = static_cast<float>(ProfileColumn(slot, span));
        picture.Line({x, PlotTop}, {x, PlotBottom}, Grey);
    }
    if (curves.hasReference)
        DrawCurve(picture, curves.reference, span, range, ReferenceCurveColour);
    DrawCurve(picture, curves.shown, span, range, ShownCurveColour);

    // The legend: a stroke of each colour and its day, and the direction.
    PrintAt(picture, 5, 5, QStringLiteral("SIGNAL AT ") + curves.caption);
    picture.Line({330, 11}, {350, 11}, ShownCurveColour);
    PrintAt(picture, 355, 5, curves.shownLabel);
    picture.Line({500, 11}, {520, 11}, ReferenceCurveColour);
    PrintAt(picture, 525, 5, curves.referenceLabel);
}
