// SPDX-License-Identifier: MIT
#include "DayProfile.h"

#include "DayTime.h"

#include <algorithm>
#include <charconv>

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
    DayProfile profile{};
    const int count = sector.binCount();
    for (int t = 0; t < ObservationGrid::Slots; ++t) {
        const long slotStart = static_cast<long>(t) * ObservationGrid::Bins;
        std::optional<int> highest;
        for (int i = 0; i < count; ++i) {
            const int d = (sector.first + i) % ObservationGrid::Bins;
            if (slotStart + d >= cellsCovered)
                continue;
            const int v = grid(t, d);
            highest = highest ? std::max(*highest, v) : v;
        }
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
