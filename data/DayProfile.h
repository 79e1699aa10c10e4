// SPDX-License-Identifier: MIT
#pragma once

#include "ObservationGrid.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

// A band of directions: bins `first` to `last`, both included, going up
// through 0 when last < first (340-20 degrees is bins 170..179 and 0..10).
struct DirectionSector {
    int first = 0;
    int last = ObservationGrid::Bins - 1;

    int binCount() const {
        return (last - first + ObservationGrid::Bins) % ObservationGrid::Bins + 1;
    }
    bool contains(int bin) const {
        return (bin - first + ObservationGrid::Bins) % ObservationGrid::Bins < binCount();
    }
    bool operator==(const DirectionSector&) const = default;
};

// A sector typed as degrees "200-280" or "340-20" (whole degrees 0 to 359,
// spaces allowed around the numbers): each end names the bin holding it.
// A single direction "240" is the sector of its one bin. Nothing for any
// other text.
std::optional<DirectionSector> ParseDirectionSector(std::string_view text);

// A day's signal through time in a sector: for each slot the highest value
// of the sector's bins, over the cells the log covers (the first
// `cellsCovered` cells); nothing for a slot without one.
using DayProfile = std::array<std::optional<int>, ObservationGrid::Slots>;
DayProfile ProfileThroughDay(const ObservationGrid& grid, long cellsCovered,
                             DirectionSector sector);

// Two profiles as a tab-separated table for the clipboard: a heading line
// "time\t<shown>\t<reference>", then one line per slot from `first` to
// `last` ("10:38\t415\t390"), a field left empty where a day has no value.
std::string ProfileTable(const DayProfile& shown, const DayProfile& reference,
                         std::string_view shownHeading, std::string_view referenceHeading,
                         int first = 0, int last = ObservationGrid::LastSlot);
