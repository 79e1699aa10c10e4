// SPDX-License-Identifier: MIT
#include "DayProfile.h"

#include "DayTime.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace {

std::optional<int> DegreeBin(std::string_view text) {
    text = Trimmed(text);
    int degrees = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), degrees);
    if (error != std::errc{} || end != text.data() + text.size() || text.empty() || degrees < 0 ||
        degrees >= 360)
        return std::nullopt;
    return degrees / ObservationGrid::DegreesPerBin;
}

} // namespace

std::optional<DirectionSector> ParseDirectionSector(std::string_view text) {
    const std::size_t dash = text.find('-');
    if (dash == std::string_view::npos) {
        const std::optional<int> bin = DegreeBin(text);
        if (!bin)
            return std::nullopt;
        return DirectionSector{*bin, *bin};
    }
    const std::optional<int> first = DegreeBin(text.substr(0, dash));
    const std::optional<int> last = DegreeBin(text.substr(dash + 1));
    if (!first || !last)
        return std::nullopt;
    return DirectionSector{*first, *last};
}

DayProfile ProfileThroughDay(const ObservationGrid& grid, long cellsCovered,
                             DirectionSector sector) {
    // A sector is at most two runs of neighbouring bins, each a run of
    // neighbouring cells of a slot: no wrap and no coverage test per cell.
    struct Run {
        int first, last;
    };
    const Run runs[2] = {
        {sector.first, sector.last >= sector.first ? sector.last : ObservationGrid::Bins - 1},
        {0, sector.last >= sector.first ? -1 : sector.last}};
    DayProfile profile{};
    for (int t = 0; t < ObservationGrid::Slots; ++t) {
        const long slotStart = static_cast<long>(t) * ObservationGrid::Bins;
        if (slotStart >= cellsCovered)
            break;
        // The bins of this slot that the log covers: those below `covered`.
        const int covered =
            static_cast<int>(std::min<long>(ObservationGrid::Bins, cellsCovered - slotStart));
        const std::int16_t* cells = &grid.cells[static_cast<std::size_t>(slotStart)];
        bool any = false;
        int highest = std::numeric_limits<int>::min();
        for (const Run& run : runs) {
            const int last = std::min(run.last, covered - 1);
            any = any || run.first <= last;
            for (int d = run.first; d <= last; ++d)
                highest = std::max(highest, int{cells[d]});
        }
        if (any)
            profile[static_cast<std::size_t>(t)] = highest;
    }
    return profile;
}

std::string ProfileTable(const DayProfile& shown, const DayProfile& reference,
                         std::string_view shownHeading, std::string_view referenceHeading,
                         int first, int last) {
    std::string text = "time\t";
    text.append(shownHeading).append("\t").append(referenceHeading).append("\n");
    const auto field = [&](const std::optional<int>& value) {
        if (value)
            text += std::to_string(*value);
    };
    for (int t = std::max(first, 0); t <= std::min(last, ObservationGrid::LastSlot); ++t) {
        text += SlotClock(t, true);
        text += '\t';
        field(shown[static_cast<std::size_t>(t)]);
        text += '\t';
        field(reference[static_cast<std::size_t>(t)]);
        text += '\n';
    }
    return text;
}
