// SPDX-License-Identifier: MIT
#include "ColourSettings.h"

#include "ObservationGrid.h"

#include <vector>

namespace {

struct Names {
    std::string_view name;
    std::string_view label;
};

constexpr std::array<Names, AllStretches.size()> StretchNames{{
    {"linear", "線形"},
    {"sqrt", "平方根"},
    {"log", "対数"},
}};

constexpr std::array<Names, AllColourMaps.size()> ColourMapNames{{
    {"standard", "標準"},
    {"viridis", "viridis"},
    {"cividis", "cividis"},
    {"turbo", "turbo"},
    {"grey", "グレー"},
}};

template <typename Enum, std::size_t N>
std::optional<Enum> Named(const std::array<Names, N>& names, std::string_view name) {
    for (std::size_t i = 0; i < N; ++i)
        if (names[i].name == name)
            return static_cast<Enum>(i);
    return std::nullopt;
}

} // namespace

std::string_view StretchName(Stretch stretch) {
    return StretchNames[static_cast<std::size_t>(stretch)].name;
}

std::string_view StretchLabel(Stretch stretch) {
    return StretchNames[static_cast<std::size_t>(stretch)].label;
}

std::string_view ColourMapName(ColourMapId map) {
    return ColourMapNames[static_cast<std::size_t>(map)].name;
}

std::string_view ColourMapLabel(ColourMapId map) {
    return ColourMapNames[static_cast<std::size_t>(map)].label;
}

std::optional<Stretch> StretchNamed(std::string_view name) {
    return Named<Stretch>(StretchNames, name);
}

std::optional<ColourMapId> ColourMapNamed(std::string_view name) {
    return Named<ColourMapId>(ColourMapNames, name);
}

std::optional<ColourRange> AutoColourRange(const ObservationGrid& grid) {
    // A count per 16-bit value: the percentiles without sorting the day.
    constexpr int Offset = -ColourSettings::LowestValue;
    std::vector<int> counts(std::size_t{1} << 16, 0);
    long n = 0;
    for (const std::int16_t v : grid.cells)
        if (v != 0) {
            ++counts[static_cast<std::size_t>(v + Offset)];
            ++n;
        }
    if (n == 0)
        return std::nullopt;

    // The value at each 0-based rank, walking the counts once.
    const long lowRank = (n + 99) / 100 - 1;       // ceil(n / 100) - 1
    const long highRank = (99 * n + 99) / 100 - 1; // ceil(99 n / 100) - 1
    std::optional<int> low;
    long seen = 0;
    for (int i = 0; i < static_cast<int>(counts.size()); ++i) {
        seen += counts[static_cast<std::size_t>(i)];
        if (!low && seen > lowRank)
            low = i - Offset;
        if (seen > highRank) {
            ColourRange range{*low, i - Offset};
            if (range.minimum == range.maximum) {
                // One unit wide, inside the 16-bit values.
                if (range.maximum == ColourSettings::HighestValue)
                    --range.minimum;
                else
                    ++range.maximum;
            }
            return range;
        }
    }
    return std::nullopt; // not reached: the counts add up to n
}
