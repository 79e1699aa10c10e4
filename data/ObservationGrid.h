// SPDX-License-Identifier: MIT
#pragma once

#include <cassert>
#include <cstdint>
#include <vector>

// One day of observations: 720 two-minute time slots by 180 two-degree
// direction bins, one signed 16-bit signal value each. The direction varies
// fastest, so cell (t, d) is element t * 180 + d, the same order as in a log.
class ObservationGrid {
  public:
    static constexpr int Slots = 720;
    static constexpr int Bins = 180;
    static constexpr int CellCount = Slots * Bins;
    static constexpr int LastSlot = Slots - 1;
    static constexpr int MinutesPerSlot = 2;
    static constexpr int DegreesPerBin = 2;

    std::int16_t operator()(int t, int d) const {
        assert(t >= 0 && t < Slots && d >= 0 && d < Bins);
        return cells[static_cast<std::size_t>(t * Bins + d)];
    }
    std::int16_t& operator()(int t, int d) {
        assert(t >= 0 && t < Slots && d >= 0 && d < Bins);
        return cells[static_cast<std::size_t>(t * Bins + d)];
    }

    bool operator==(const ObservationGrid&) const = default;

    std::vector<std::int16_t> cells = std::vector<std::int16_t>(CellCount, 0);
};
