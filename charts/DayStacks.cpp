// SPDX-License-Identifier: MIT
#include "DayStacks.h"

#include "DayTime.h"
#include "DrawingSurface.h"
#include "PrintAt.h"

#include <algorithm>
#include <chrono>
#include <cmath>

using namespace std::chrono;

namespace {

constexpr QRgb Black = 0xff000000;
constexpr QRgb HatchLight = 0xffe6e6e6;
constexpr QRgb HatchDark = 0xffc8c8c8;
// The height a stack aims at: a year in one row a day, a month in bands
// tall enough to label every day.
constexpr int AimedHeight = 372;
constexpr int TallestBand = 12;
// Date labels need this much room one above the next.
constexpr int LabelSpacing = 12;

// Which dates carry a label: every day where the bands are tall enough,
// else every Monday, else every first of a month.
bool Labelled(Day day, int band) {
    if (band >= LabelSpacing)
        return true;
    if (7 * band >= LabelSpacing)
        return weekday(day) == Monday;
    return year_month_day(day).day() == std::chrono::day(1);
}

void DrawAxis(DrawingSurface& picture, DayStack stack, int bottom) {
    const float y = float(bottom + 1);
    if (stack == DayStack::Time) {
        for (int hour = 0; hour <= 24; ++hour) {
            const auto x = float(StackGeometry::Left + hour * 60 / ObservationGrid::MinutesPerSlot);
            picture.Line({x, y + 1}, {x, y + (hour % 3 == 0 ? 5 : 3)}, Black);
            if (hour % 3 == 0)
                PrintAt(picture, x - 7, y + 7, hour);
        }
        PrintAt(picture, float(StackGeometry::Left + 320), y + 21, QStringLiteral("TIME (hour)"));
    } else {
        for (int degrees = 0; degrees <= 360; degrees += 60) {
            const auto x = float(StackGeometry::Left + degrees / ObservationGrid::DegreesPerBin);
            picture.Line({x, y + 1}, {x, y + 5}, Black);
            PrintAt(picture, x - (degrees < 100 ? 7 : 11), y + 7, degrees);
        }
        PrintAt(picture, float(StackGeometry::Left + 36), y + 21,
                QStringLiteral("DIRECTION (degree)"));
    }
}

} // namespace

namespace StackGeometry {

int Columns(DayStack stack) {
    return stack == DayStack::Time ? ObservationGrid::Slots : ObservationGrid::Bins;
}

int BandHeight(int days) {
    return std::clamp(AimedHeight / std::max(days, 1), 1, TallestBand);
}

QSize PictureSize(DayStack stack, int days) {
    return {Left + Columns(stack) + Right, Top + days * BandHeight(days) + Bottom};
}

QRect BandRect(DayStack stack, int day, int days) {
    const int band = BandHeight(days);
    return {Left, Top + day * band, Columns(stack), band};
}

std::optional<StackPoint> PointAt(DayStack stack, int days, QPointF p) {
    const int x = int(std::floor(p.x())) - Left;
    const int y = int(std::floor(p.y())) - Top;
    if (x < 0 || x >= Columns(stack) || y < 0 || y >= days * BandHeight(days))
        return std::nullopt;
    return StackPoint{y / BandHeight(days), x};
}

} // namespace StackGeometry

void DrawDayStackBand(DrawingSurface& picture, DayStack stack, int day, int days,
                      const DayRows* rows, const OverviewColours& colours) {
    const QRect band = StackGeometry::BandRect(stack, day, days);
    for (int y = band.top(); y <= band.bottom(); ++y)
        for (int column = 0; column < band.width(); ++column) {
            const int x = band.left() + column;
            QRgb colour;
            if (!rows)
                colour = (x + y) / 3 % 2 ? HatchDark : HatchLight; // stripes rising to the right
            else if (stack == DayStack::Time)
                colour = colours.cell(rows->slotMaxima[std::size_t(column)]);
            else
                colour = colours.cell(rows->binMaxima[std::size_t(column)]);
            picture.PSet(float(x), float(y), colour);
        }
}

void DrawDayStack(DrawingSurface& picture, DayStack stack, Day first, int days,
                  const StackRows& rows, const OverviewColours& colours) {
    using namespace StackGeometry;
    picture.Cls();
    const int band = BandHeight(days);
    const int bottom = Top + days * band - 1;
    picture.Line({float(Left - 1), float(Top - 1)},
                 {float(Left + Columns(stack)), float(bottom + 1)}, Black, LineShape::Box);
    float lastLabel = -LabelSpacing;
    for (int day = 0; day < days; ++day) {
        if (const std::optional<const DayRows*> row = rows(day))
            DrawDayStackBand(picture, stack, day, days, *row, colours);
        const Day date = first + std::chrono::days(day);
        const float y = float(Top + day * band) + float(band - 1) / 2;
        // The first date is always labelled, and no label crowds the one above.
        if ((!Labelled(date, band) && day != 0) || y - lastLabel < LabelSpacing)
            continue;
        lastLabel = y;
        picture.Line({float(Left - 2), y}, {float(Left - 5), y}, Black);
        const bool monthly = 7 * band < LabelSpacing;
        PrintAt(picture, monthly ? 24 : 2, y - 6,
                QString::fromStdString(DayText(date, monthly && day != 0)));
    }
    DrawAxis(picture, stack, bottom);
}
