// SPDX-License-Identifier: MIT
#pragma once

#include "ObservationGrid.h"

#include <array>
#include <cstdint>

// A day's rows of the two day stacks: each slot's highest value over all
// bins, and each bin's highest value over all slots.
struct DayRows {
    std::array<std::int16_t, ObservationGrid::Slots> slotMaxima{};
    std::array<std::int16_t, ObservationGrid::Bins> binMaxima{};
};

// What the overview keeps of a day instead of its grid: a thumbnail of the
// plot area reduced 4 x 4 and the day's two stack rows, each the highest value
// of what it stands for, so that a short, narrow event stays visible. Values,
// not colours, so that a change of colours needs no log read again.
struct DaySummary {
    static constexpr int Block = 4;
    static constexpr int ThumbnailWidth = ObservationGrid::Slots / Block;  // 180
    static constexpr int ThumbnailHeight = ObservationGrid::Bins / Block;  // 45

    // Block (x, y) holds slots 4x..4x+3 and bins 4y..4y+3; bin blocks count
    // upwards, as directions do on the chart.
    std::int16_t thumbnail(int x, int y) const {
        return thumbnailCells[static_cast<std::size_t>(x * ThumbnailHeight + y)];
    }

    std::array<std::int16_t, ThumbnailWidth * ThumbnailHeight> thumbnailCells{};
    DayRows rows;

    // The day's highest value and its first cell, slot by slot.
    std::int16_t peak = 0;
    int peakSlot = 0;
    int peakBin = 0;

    // How many cells, from the first, the log's file reached; the others
    // hold 0 for want of data and are drawn as the chart draws them, but
    // read as not recorded.
    int coveredCells = ObservationGrid::CellCount;
    bool anyRecorded() const { return coveredCells > 0; }
    bool slotRecorded(int slot) const { return slot * ObservationGrid::Bins < coveredCells; }
    bool binRecorded(int bin) const { return bin < coveredCells; }
};

DaySummary SummariseDay(const ObservationGrid& grid,
                        int coveredCells = ObservationGrid::CellCount);
