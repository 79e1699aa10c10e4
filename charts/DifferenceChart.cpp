// SPDX-License-Identifier: MIT
#include "DifferenceChart.h"

#include "ChartFrame.h"
#include "DayDifference.h"
#include "DirectionTimePlot.h"
#include "DrawingSurface.h"
#include "ObservationGrid.h"
#include "PrintAt.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <vector>

namespace {

constexpr QRgb Black = 0xff000000;

// (n / d) rounded half away from zero, d > 0: the same size either side of
// zero, as the colours are.
int RoundedQuotient(long n, long d) {
    const long q = (std::labs(n) + d / 2) / d;
    return static_cast<int>(n < 0 ? -q : q);
}

void DrawDifferenceLegend(DrawingSurface& picture, const DifferenceColours& colours) {
    using ChartGeometry::LegendRows;
    const int range = colours.range();
    // Row r stands for (2r - 127) range / 127: -range at the bottom line,
    // +range at the top one, rows mirrored about the middle.
    std::array<QRgb, LegendRows> rows;
    for (int r = 0; r < LegendRows; ++r)
        rows[static_cast<std::size_t>(r)] =
            colours.argb(RoundedQuotient(long{2 * r - (LegendRows - 1)} * range, LegendRows - 1));
    std::array<QString, ChartLegendLabels> labels;
    // At a range of 1 the halves would repeat the ends' labels.
    for (int k = 0; k < ChartLegendLabels; ++k)
        if (range > 1 || k % 2 == 0)
            labels[static_cast<std::size_t>(k)] =
                DifferenceLegendLabel(RoundedQuotient(long{k - 2} * range, 2));
    DrawChartLegend(picture, rows, labels);
}

} // namespace

QString DifferenceLegendLabel(int value) {
    if (std::abs(value) <= 9999)
        return DrawingSurface::printedNumber(value);
    const int thousands = RoundedQuotient(value, 1000);
    return (value < 0 ? QStringLiteral("-") : QStringLiteral(" ")) +
           QString::number(std::abs(thousands)) + QStringLiteral("k ");
}

void DrawDifferenceChart(DrawingSurface& picture, const ComparedDay& shown,
                         const ComparedDay& reference, const DifferenceColours& colours,
                         const ChartView& view) {
    DrawChartAxes(picture, view);
    DrawDifferenceLegend(picture, colours);
    PlotDifferenceGrid(picture, shown, reference, colours, view);
    const QString shownDate = DateLabelText(shown.path);
    const QString referenceDate = DateLabelText(reference.path);
    if (!shownDate.isEmpty() || !referenceDate.isEmpty())
        PrintAt(picture, 500, 20, shownDate + QStringLiteral(" - ") + referenceDate);
}

void PlotDifferenceGrid(DrawingSurface& picture, const ComparedDay& shown,
                        const ComparedDay& reference, const DifferenceColours& colours,
                        const ChartView& view) {
    const long covered = CellsBothCover(shown.cellsCovered, reference.cellsCovered);
    const std::int16_t* a = shown.grid->cells.data();
    const std::int16_t* b = reference.grid->cells.data();
    if (!view.whole()) {
        // Bottom row first, each row left to right, as FillCells takes them.
        const int n = view.slotCount(), m = view.binCount();
        std::vector<QRgb> cells(static_cast<std::size_t>(n) * static_cast<std::size_t>(m));
        for (int k = 0; k < m; ++k) {
            const int bin = (view.firstBin + k) % ObservationGrid::Bins;
            QRgb* row = cells.data() + std::size_t(k) * std::size_t(n);
            for (int j = 0; j < n; ++j) {
                const long cell = long{view.firstSlot + j} * ObservationGrid::Bins + bin;
                row[j] = cell < covered ? colours.argb(int{a[cell]} - int{b[cell]}) : Black;
            }
        }
        using namespace ChartGeometry;
        picture.FillCells(PlotLeft, PlotTop, PlotRight, PlotBottom, n, m, cells.data());
        return;
    }
    std::array<QRgb, ObservationGrid::Bins> column;
    for (int t = 0; t < ObservationGrid::Slots; ++t) {
        const long start = long{t} * ObservationGrid::Bins;
        // A short day ends inside one slot at most: before it every bin is
        // covered, after it none.
        const int bins =
            static_cast<int>(std::clamp(covered - start, 0L, long{ObservationGrid::Bins}));
        for (int d = 0; d < bins; ++d)
            column[static_cast<std::size_t>(d)] =
                colours.argb(int{a[start + d]} - int{b[start + d]});
        std::fill(column.begin() + bins, column.end(), Black);
        picture.PSetColumnUp(static_cast<float>(ChartGeometry::SlotColumn(t)),
                             static_cast<float>(ChartGeometry::BinRow(0)), column.data(),
                             column.size());
    }
}
