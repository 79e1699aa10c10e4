// SPDX-License-Identifier: MIT
#include "DaySummary.h"

#include <algorithm>
#include <limits>

DaySummary SummariseDay(const ObservationGrid& grid) {
    constexpr std::int16_t Lowest = std::numeric_limits<std::int16_t>::min();
    constexpr int Bins = ObservationGrid::Bins;
    DaySummary summary;
    summary.thumbnailCells.fill(Lowest);
    summary.rows.binMaxima.fill(Lowest);
    summary.peak = Lowest;
    // One pass over the cells, slot by slot as they lie in memory.
    for (int t = 0; t < ObservationGrid::Slots; ++t) {
        const std::int16_t* row = grid.cells.data() + t * Bins;
        std::int16_t* blocks =
            summary.thumbnailCells.data() + (t / DaySummary::Block) * DaySummary::ThumbnailHeight;
        std::int16_t rowMax = Lowest;
        for (int b = 0; b < DaySummary::ThumbnailHeight; ++b) {
            const std::int16_t* four = row + b * DaySummary::Block;
            const std::int16_t m = std::max(std::max(four[0], four[1]), std::max(four[2], four[3]));
            blocks[b] = std::max(blocks[b], m);
            rowMax = std::max(rowMax, m);
        }
        for (int d = 0; d < Bins; ++d)
            summary.rows.binMaxima[std::size_t(d)] = std::max(summary.rows.binMaxima[std::size_t(d)], row[d]);
        summary.rows.slotMaxima[std::size_t(t)] = rowMax;
        if (rowMax > summary.peak) {
            summary.peak = rowMax;
            summary.peakSlot = t;
            summary.peakBin = int(std::find(row, row + Bins, rowMax) - row);
        }
    }
    return summary;
}
