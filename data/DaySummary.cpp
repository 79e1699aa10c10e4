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

DaySummary SummariseDay(const ObservationGrid& grid) {
    constexpr std::int16_t Lowest = std::numeric_limits<std::int16_t>::min();
    constexpr int Bins = ObservationGrid::Bins;
    constexpr int Block = DaySummary::Block;
    DaySummary summary;
    summary.peak = Lowest;
    // Slot by slot as the cells lie in memory, each pass a plain loop over a
    // slot's 180 bins that the compiler turns into vector instructions: the
    // reduction is most of reading a day, and on scalar code takes longer
    // than the read itself.
    // Local arrays, which the compiler knows the grid cannot overlap.
    std::int16_t binMax[Bins];
    std::int16_t blockRow[Bins];
    std::fill(binMax, binMax + Bins, Lowest);
    for (int t = 0; t < ObservationGrid::Slots; ++t) {
        const std::int16_t* row = grid.cells.data() + t * Bins;
        std::int16_t rowMax = Lowest;
        for (int d = 0; d < Bins; ++d)
            binMax[d] = Max(binMax[d], row[d]);
        for (int d = 0; d < Bins; ++d)
            rowMax = Max(rowMax, row[d]);
        summary.rows.slotMaxima[std::size_t(t)] = rowMax;
        if (rowMax > summary.peak) {
            summary.peak = rowMax;
            summary.peakSlot = t;
            summary.peakBin = int(std::find(row, row + Bins, rowMax) - row);
        }
        // The four slots of a thumbnail column, bin by bin, then in fours of bins.
        for (int d = 0; d < Bins; ++d)
            blockRow[d] = t % Block == 0 ? row[d] : Max(blockRow[d], row[d]);
        if (t % Block == Block - 1) {
            std::int16_t* column =
                summary.thumbnailCells.data() + (t / Block) * DaySummary::ThumbnailHeight;
            for (int b = 0; b < DaySummary::ThumbnailHeight; ++b) {
                const std::int16_t* four = blockRow + b * Block;
                column[b] = Max(Max(four[0], four[1]), Max(four[2], four[3]));
            }
        }
    }
    std::copy(binMax, binMax + Bins, summary.rows.binMaxima.begin());
    return summary;
}
