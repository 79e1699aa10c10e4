// SPDX-License-Identifier: MIT
#include "ChartFrame.h"

#include "ColourTable.h"
#include "DayTime.h"
#include "DrawingSurface.h"
#include "PrintAt.h"

#include <array>

namespace {

constexpr QRgb Black = 0xff000000;

} // namespace

void DrawChartFrame(DrawingSurface& picture) {
    DrawChartFrame(picture, StandardColourTable());
}

void DrawChartFrame(DrawingSurface& picture, const ColourTable& colours) {
    DrawChartAxes(picture);
    DrawColourLegend(picture, colours);
}

void DrawChartAxes(DrawingSurface& picture) {
    picture.Cls();
    PrintAt(picture, 270, 20, QStringLiteral("DIRECTION-TIME-SIGNAL CHART"));
    picture.Line({29, 231}, {750, 50}, Black, LineShape::Box);

    // Hour axis: a tick on the first column of every hour and one closing
    // tick on the box's right edge, each labelled 7 pixels to its left.
    for (int i = 30; i <= 750; i += 30) {
        const auto x = static_cast<float>(i);
        picture.Line({x, 232}, {x, 235}, Black);
        PrintAt(picture, x - 7, 240, i / 30 - 1);
    }
    PrintAt(picture, 370, 253, QStringLiteral("TIME (hour)"));

    // Direction axis: every 60 degrees, that is every 30 bins.
    for (int j = 0; j <= 180; j += 30) {
        const auto y = static_cast<float>(230 - j);
        picture.Line({28, y}, {25, y}, Black);
        PrintAt(picture, 3, static_cast<float>(225 - j), BinDegrees(j));
    }
    PrintAt(picture, 5, 20, QStringLiteral("DIRECTION"));
    PrintAt(picture, 5, 32, QStringLiteral("(degree)"));
}

void DrawColourLegend(DrawingSurface& picture, const ColourTable& colours) {
    // Colour legend: one line per row, in the colours of the values the rows
    // stand for (so the standard scale's line for 0 is blue, unlike a chart
    // cell of 0), and a labelled tick every quarter of the rows.
    static_assert(ChartGeometry::LegendRows == ColourTable::LegendRows);
    std::array<QRgb, ChartGeometry::LegendRows> rows;
    for (int r = 0; r < ChartGeometry::LegendRows; ++r)
        rows[static_cast<std::size_t>(r)] = colours.LegendArgb(r);
    std::array<QString, ChartLegendLabels> labels;
    for (std::size_t k = 0; k < labels.size(); ++k)
        labels[k] = DrawingSurface::printedNumber(colours.LegendLabels()[k]);
    DrawChartLegend(picture, rows, labels);
}

void DrawChartLegend(DrawingSurface& picture,
                     const std::array<QRgb, ChartGeometry::LegendRows>& rows,
                     const std::array<QString, ChartLegendLabels>& labels) {
    using namespace ChartGeometry;
    picture.Line({780, 231}, {800, 102}, Black, LineShape::Box);
    for (int r = 0; r < LegendRows; ++r) {
        const auto y = static_cast<float>(LegendRowY(r));
        picture.Line({LegendLeft, y}, {LegendRight, y}, rows[static_cast<std::size_t>(r)]);
    }
    constexpr int RowsPerLabel = LegendRows / (ChartLegendLabels - 1);
    for (int k = 0; k < ChartLegendLabels; ++k) {
        const auto y = static_cast<float>(LegendRowY(k * RowsPerLabel));
        picture.Line({779, y}, {776, y}, Black);
        PrintAt(picture, 750, y - 5, labels[static_cast<std::size_t>(k)]);
    }
}
