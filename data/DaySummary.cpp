// SPDX-License-Identifier: MIT
#include "DaySummary.h"

#include <algorithm>
#include <limits>

namespace {
// By value: std::max's reference makes the compiler fear that the grid and
// the maxima overlap, and then it vectorizes nothing.
std::int16_t Max(std::int16_t a, std::int16_t b) {
    return a < b ? b : a;
}
} // namespace

DaySummary SummariseDay(const ObservationGrid& grid, int coveredCells) {
    constexpr std::int16_t Lowest = std::numeric_limits<std::int16_t>::min();
    constexpr int Bins = ObservationGrid::Bins;
    constexpr int Block = DaySummary::Block;
    DaySummary summary;
    summary.peak = Lowest;
    // Four slots (a thumbnail column) at a time, as the cells lie in memory,
    // each step a plain loop over 180 bins that the compiler turns into
    // vector instructions: the reduction would otherwise take longer than
    // reading the log. Local arrays, which the grid cannot overlap.
    std::int16_t binMax[Bins];
    std::int16_t blockRow[Bins]; // each bin's highest value over the four slots
    std::fill(binMax, binMax + Bins, Lowest);
    for (int first = 0; first < ObservationGrid::Slots; first += Block) {
        const std::int16_t* rows = grid.cells.data() + first * Bins;
        for (int d = 0; d < Bins; ++d)
            blockRow[d] = Max(Max(rows[d], rows[Bins + d]), Max(rows[2 * Bins + d], rows[3 * Bins + d]));
        for (int d = 0; d < Bins; ++d)
            binMax[d] = Max(binMax[d], blockRow[d]);
        for (int k = 0; k < Block; ++k) {
            const std::int16_t* row = rows + k * Bins;
            std::int16_t rowMax = Lowest;
            for (int d = 0; d < Bins; ++d)
                rowMax = Max(rowMax, row[d]);
            summary.rows.slotMaxima[std::size_t(first + k)] = rowMax;
            if (rowMax > summary.peak) {
                summary.peak = rowMax;
                summary.peakSlot = first + k;
                summary.peakBin = int(std::find(row, row + Bins, rowMax) - row);
            }
        }
        std::int16_t* column =
            summary.thumbnailCells.data() + (first / Block) * DaySummary::ThumbnailHeight;
        for (int b = 0; b < DaySummary::ThumbnailHeight; ++b) {
            const std::int16_t* four = blockRow + b * Block;
            column[b] = Max(Max(four[0], four[1]), Max(four[2], four[3]));
        }
    }
    std::copy(binMax, binMax + Bins, summary.rows.binMaxima.begin());
    summary.coveredCells = coveredCells;
    return summary;
}
