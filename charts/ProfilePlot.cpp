// SPDX-License-Identifier: MIT
#include "ProfilePlot.h"

#include "DayTime.h"
#include "DrawingSurface.h"
#include "PrintAt.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <limits>

namespace {

constexpr QRgb Black = 0xff000000;
constexpr QRgb Grey = 0xff7f7f7f;
using namespace ProfileGeometry;

int RoundedUp(int value, int unit) {
    return (value + unit - 1) / unit * unit;
}

int Sign(int v) {
    return (v > 0) - (v < 0);
}

// A curve is over a thousand short, mostly steep segments, for which a
// surface's general line, clipped and scaled, costs more than the pixels
// themselves; so each is set as runs up a column, as the chart's cells are.
// The pixels are those of a line: along the longer axis every pixel, along
// the other the nearest, halves rounded up.
class CurvePen {
  public:
    CurvePen(DrawingSurface& picture, QRgb colour) : m_picture(picture) { m_solid.fill(colour); }

    void point(int x, int y) { run(x, y, y); }

    // From (x0, y0), set before, to (x1, y1).
    void segment(int x0, int y0, int x1, int y1) {
        const int dx = std::abs(x1 - x0), dy = std::abs(y1 - y0);
        const int sx = x1 >= x0 ? 1 : -1, sy = y1 >= y0 ? 1 : -1;
        if (dx == 1 && dy > 1) {
            // The usual step of a whole day, one column on: the first
            // ceil(dy / 2) - 1 pixels stay in this column, the rest go up
            // the next (the walk below, worked out).
            const int half = (dy + 1) / 2;
            if (half > 1)
                run(x0, y0 + sy, y0 + sy * (half - 1));
            run(x1, y0 + sy * half, y1);
            return;
        }
        const int steps = std::max(dx, dy), minor = std::min(dx, dy);
        // along(i) = floor((2 i minor + steps) / (2 steps)), counted up: the
        // remainder r grows by 2 minor a step and carries at 2 steps.
        int along = 0, r = steps;
        bool empty = true;
        int runX = 0, runFrom = 0, runTo = 0;
        for (int i = 1; i <= steps; ++i) {
            r += 2 * minor;
            if (r >= 2 * steps) {
                r -= 2 * steps;
                ++along;
            }
            const int x = dx >= dy ? x0 + sx * i : x0 + sx * along;
            const int y = dx >= dy ? y0 + sy * along : y0 + sy * i;
            if (empty || x != runX) {
                if (!empty)
                    run(runX, runFrom, runTo);
                runX = x;
                runFrom = y;
            }
            runTo = y;
            empty = false;
        }
        if (!empty)
            run(runX, runFrom, runTo);
    }

    // The pixels of column x from row `top` to row `bottom`.
    void column(int x, int top, int bottom) { run(x, top, bottom); }

  private:
    // The pixels of column x from row `from` to row `to`, either way up.
    void run(int x, int from, int to) {
        if (from > to)
            std::swap(from, to);
        m_picture.PSetColumnUp(static_cast<float>(x), static_cast<float>(to), m_solid.data(),
                               static_cast<std::size_t>(to - from + 1));
    }

    DrawingSurface& m_picture;
    std::array<QRgb, ProfilePictureSize.height()> m_solid;
};

// The column of each slot of the span, counted up rather than divided out
// slot by slot: the same x as ProfileColumn.
using SpanColumns = std::array<int, ObservationGrid::Slots>;
SpanColumns ColumnsOf(SlotSpan span) {
    SpanColumns columns{};
    const int count = span.count();
    const int whole = PlotWidth / count, part = PlotWidth % count;
    int x = PlotLeft, rest = 0;
    for (int t = span.first; t <= span.last; ++t) {
        columns[static_cast<std::size_t>(t)] = x;
        x += whole;
        rest += part;
        if (rest >= count) {
            rest -= count;
            ++x;
        }
    }
    return columns;
}

void DrawCurve(DrawingSurface& picture, const DayProfile& profile, SlotSpan span,
               const SpanColumns& columns, std::pair<int, int> range, QRgb colour) {
    // Each value's row first, PlotBottom - floor((v - low) (PlotBottom -
    // PlotTop) / (high - low)), in a loop of its own so that the divisions
    // overlap. In double precision: the product of whole numbers this small
    // is exact and the quotient's rounding cannot reach the next whole
    // number, and a double division costs a fraction of a 64-bit integer one.
    constexpr int NoValue = std::numeric_limits<int>::min();
    std::array<int, ObservationGrid::Slots> rows;
    const double low = range.first;
    const double scale = PlotBottom - PlotTop;
    const double divisor = range.second - range.first;
    for (int t = span.first; t <= span.last; ++t) {
        const std::optional<int>& value = profile[static_cast<std::size_t>(t)];
        rows[static_cast<std::size_t>(t)] =
            value ? PlotBottom - static_cast<int>((*value - low) * scale / divisor) : NoValue;
    }

    CurvePen pen(picture, colour);
    if (span.count() == PlotWidth) {
        // The whole day: slot t is column 30 + t, each step one column on, so
        // a column holds one run: the point, the second half of the step
        // that arrives and the first half of the step that leaves (see
        // CurvePen::segment), one call per column.
        const auto row = [&](int t) {
            return t < span.first || t > span.last ? NoValue : rows[static_cast<std::size_t>(t)];
        };
        for (int t = span.first; t <= span.last; ++t) {
            const int y = row(t);
            if (y == NoValue)
                continue;
            int top = y, bottom = y;
            if (const int before = row(t - 1); before != NoValue) {
                const int dy = y - before;
                const int from = before + Sign(dy) * ((std::abs(dy) + 1) / 2);
                top = std::min(top, from);
                bottom = std::max(bottom, from);
            }
            if (const int after = row(t + 1); after != NoValue) {
                const int dy = after - y;
                const int to = y + Sign(dy) * ((std::abs(dy) + 1) / 2 - 1);
                top = std::min(top, to);
                bottom = std::max(bottom, to);
            }
            pen.column(columns[static_cast<std::size_t>(t)], top, bottom);
        }
        return;
    }
    bool drawing = false;
    int lastX = 0, lastY = 0;
    for (int t = span.first; t <= span.last; ++t) {
        const int y = rows[static_cast<std::size_t>(t)];
        if (y == NoValue) {
            drawing = false;
            continue;
        }
        const int x = columns[static_cast<std::size_t>(t)];
        if (drawing)
            pen.segment(lastX, lastY, x, y);
        else
            pen.point(x, y);
        drawing = true;
        lastX = x;
        lastY = y;
    }
}

// A solid rectangle, both corners included, a row at a time.
void Fill(DrawingSurface& picture, int left, int top, int right, int bottom, QRgb colour) {
    picture.FillCells(left, top, right, bottom, 1, 1, &colour);
}

// The slot's line and the curves.
void DrawMarkerAndCurves(DrawingSurface& picture, const ProfileCurves& curves, int slot,
                         SlotSpan span, std::pair<int, int> range) {
    if (slot >= span.first && slot <= span.last) {
        const auto x = static_cast<float>(ProfileColumn(slot, span));
        picture.Line({x, PlotTop}, {x, PlotBottom}, Grey);
    }
    const SpanColumns columns = ColumnsOf(span);
    if (curves.hasReference)
        DrawCurve(picture, curves.reference, span, columns, range, ReferenceCurveColour);
    DrawCurve(picture, curves.shown, span, columns, range, ShownCurveColour);
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
    // Above 9999 whole thousands, which their labels can show exactly.
    const auto nice = [](int v) {
        return v > 9999 ? RoundedUp(v, 1000) : v > 100 ? RoundedUp(v, 100) : RoundedUp(v, 10);
    };
    return {low < 0 ? -nice(-low) : 0, std::max(10, nice(high))};
}

QString ProfileValueLabel(int v) {
    if (v >= -999 && v <= 9999)
        return QString::number(v);
    const QString thousands = QString::number(std::abs(v) / 1000);
    const int hundreds = std::abs(v) / 100 % 10;
    return (v < 0 ? QStringLiteral("-") : QString()) + thousands +
           (hundreds ? QLatin1Char('.') + QString::number(hundreds) : QString()) + QLatin1Char('k');
}

int ProfileColumn(int t, SlotSpan span) {
    return PlotLeft + (t - span.first) * PlotWidth / span.count();
}

void DrawProfilePlot(DrawingSurface& picture, const ProfileCurves& curves, int slot,
                     SlotSpan span) {
    DrawProfileFrame(picture, curves, span);
    DrawProfileCurves(picture, curves, slot, span);
}

void DrawProfileFrame(DrawingSurface& picture, const ProfileCurves& curves, SlotSpan span) {
    picture.Cls();
    picture.Line({PlotLeft - 1, PlotBottom + 1}, {PlotRight + 1, PlotTop - 1}, Black,
                 LineShape::Box);

    // Time ticks on whole hours, as many as keep 80 pixels apart.
    const int slotsPerHour = 60 / ObservationGrid::MinutesPerSlot;
    int hours = 1;
    for (int step : {1, 2, 3, 4, 6, 12}) {
        hours = step;
        if (step * slotsPerHour * PlotWidth / span.count() >= 80)
            break;
    }
    for (int t = RoundedUp(span.first, hours * slotsPerHour); t <= span.last + 1;
         t += hours * slotsPerHour) {
        const auto x = static_cast<float>(t > span.last ? PlotRight + 1 : ProfileColumn(t, span));
        picture.Line({x, PlotBottom + 2}, {x, PlotBottom + 5}, Black);
        PrintAt(picture, x - 7, PlotBottom + 10, t / slotsPerHour);
    }

    // The legend: a stroke of each colour and its day.
    picture.Line({330, 11}, {350, 11}, ShownCurveColour);
    PrintAt(picture, 355, 5, curves.shownLabel);
    picture.Line({500, 11}, {520, 11}, ReferenceCurveColour);
    PrintAt(picture, 525, 5, curves.referenceLabel);
}

void DrawProfileCurves(DrawingSurface& picture, const ProfileCurves& curves, int slot,
                       SlotSpan span, const DrawnProfile* before) {
    // What the frame leaves for the curves: the caption, the value labels
    // left of the box, and the box's inside. Texts cost more than the rest
    // together, so the caption and the labels that `before` shows already
    // are left as they are.
    const auto range = ProfileValueRange(curves, span);
    const bool sameCaption = before && before->curves.caption == curves.caption;
    const bool sameLabels = before && ProfileValueRange(before->curves, before->span) == range;
    if (!sameCaption) {
        Fill(picture, 0, 0, 325, PlotTop - 9, DrawingSurface::Background);
        PrintAt(picture, 5, 5, QStringLiteral("SIGNAL AT ") + curves.caption);
    }
    if (!sameLabels) {
        Fill(picture, 0, PlotTop - 8, PlotLeft - 2, PlotBottom + 8, DrawingSurface::Background);
        // The value range at the left, and zero when the range goes below it.
        for (int v : {range.first, range.second, 0}) {
            const int y = PlotBottom -
                          (v - range.first) * (PlotBottom - PlotTop) / (range.second - range.first);
            picture.Line({PlotLeft - 2, static_cast<float>(y)},
                         {PlotLeft - 5, static_cast<float>(y)}, Black);
            if (v != 0 || range.first < 0 || y == PlotBottom)
                PrintAt(picture, 0, static_cast<float>(y - 5), ProfileValueLabel(v));
        }
    }
    // The box is cleared whole, a row at a time: cheaper than clearing
    // the old curves' pixels, which lie a few in each of its columns.
    Fill(picture, PlotLeft, PlotTop, PlotRight, PlotBottom, DrawingSurface::Background);
    DrawMarkerAndCurves(picture, curves, slot, span, range);
}
