// SPDX-License-Identifier: MIT
#include "ChartFrame.h"

#include "ColourTable.h"
#include "DayTime.h"
#include "DrawingSurface.h"
#include "ImageSurface.h"
#include "PrintAt.h"

#include <QFontMetrics>

#include <array>
#include <cmath>

namespace {

constexpr QRgb Black = 0xff000000;

// Minute ticks of a time window: on the first device column of each slot
// that starts a labelled moment, labelled "H:MM" centred under the tick.
void DrawWindowAxis(DrawingSurface& picture, const ChartView& view) {
    const qreal ratio = picture.deviceRatio();
    const ChartGeometry::DevicePlot plot = ChartGeometry::PlotInDevice(ratio);
    const QFontMetrics metrics(ImageSurface::printFont());
    // Room for the widest label and a gap as wide again as a digit pair.
    const int labelRoom = metrics.horizontalAdvance(QStringLiteral("00:00")) + 12;
    const int n = view.slotCount();
    const int step =
        TimeTickSlots(n, ChartGeometry::PlotRight - ChartGeometry::PlotLeft + 1, labelRoom);
    for (int t = (view.firstSlot + step - 1) / step * step; t <= view.lastSlot + 1; t += step) {
        const int column = plot.left + ColumnOfSlotOffset(t - view.firstSlot, n, plot.width);
        const auto x = static_cast<float>(column / ratio);
        picture.Line({x, 232}, {x, 235}, Black);
        const QString label = t == ObservationGrid::Slots ? QStringLiteral("24:00")
                                                          : QString::fromStdString(SlotClock(t));
        PrintAt(picture, std::round(x - metrics.horizontalAdvance(label) / 2.0f), 240, label);
    }
    PrintAt(picture, 370, 253, QStringLiteral("TIME (h:mm)"));
}

// Direction ticks of a sector: on the bottom device row of each bin that
// starts a labelled direction, labelled as the whole circle's are.
void DrawSectorAxis(DrawingSurface& picture, const ChartView& view) {
    const qreal ratio = picture.deviceRatio();
    const ChartGeometry::DevicePlot plot = ChartGeometry::PlotInDevice(ratio);
    const int m = view.binCount();
    const int step =
        DirectionTickBins(m, ChartGeometry::PlotBottom - ChartGeometry::PlotTop + 1, 14);
    for (int k = 0; k <= m; ++k) {
        const int bin = view.firstBin + k;
        if (bin % step != 0)
            continue;
        const int row = plot.bottom - RowOfBinOffset(k, m, plot.height);
        const auto y = static_cast<float>(row / ratio);
        picture.Line({28, y}, {25, y}, Black);
        // 0 where the sector crosses it, 360 only at its top.
        int degrees = BinDegrees(bin);
        if (degrees > 360 || (degrees == 360 && k < m))
            degrees -= 360;
        PrintAt(picture, 3, std::round(y) - 5, degrees);
    }
}

} // namespace

namespace ChartGeometry {
DevicePlot PlotInDevice(qreal ratio) {
    const int left = ImageSurface::deviceEdge(PlotLeft, ratio);
    const int right = ImageSurface::deviceEdge(PlotRight + 1, ratio);
    const int top = ImageSurface::deviceEdge(PlotTop, ratio);
    const int bottom = ImageSurface::deviceEdge(PlotBottom + 1, ratio);
    return {left, bottom - 1, right - left, bottom - top};
}
} // namespace ChartGeometry

void DrawChartFrame(DrawingSurface& picture) {
    DrawChartFrame(picture, StandardColourTable());
}

void DrawChartFrame(DrawingSurface& picture, const ColourTable& colours) {
    DrawChartFrame(picture, colours, ChartView{});
}

void DrawChartFrame(DrawingSurface& picture, const ColourTable& colours, const ChartView& view) {
    DrawChartAxes(picture, view);
    DrawColourLegend(picture, colours);
}

void DrawChartAxes(DrawingSurface& picture, const ChartView& view) {
    picture.Cls();
    PrintAt(picture, 270, 20, QStringLiteral("DIRECTION-TIME-SIGNAL CHART"));
    picture.Line({29, 231}, {750, 50}, Black, LineShape::Box);

    if (view.wholeDay()) {
        // Hour axis: a tick on the first column of every hour and one closing
        // tick on the box's right edge, each labelled 7 pixels to its left.
        for (int i = 30; i <= 750; i += 30) {
            const auto x = static_cast<float>(i);
            picture.Line({x, 232}, {x, 235}, Black);
            PrintAt(picture, x - 7, 240, i / 30 - 1);
        }
        PrintAt(picture, 370, 253, QStringLiteral("TIME (hour)"));
    } else {
        DrawWindowAxis(picture, view);
    }

    if (view.wholeCircle()) {
        // Direction axis: every 60 degrees, that is every 30 bins.
        for (int j = 0; j <= 180; j += 30) {
            const auto y = static_cast<float>(230 - j);
            picture.Line({28, y}, {25, y}, Black);
            PrintAt(picture, 3, static_cast<float>(225 - j), BinDegrees(j));
        }
    } else {
        DrawSectorAxis(picture, view);
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
