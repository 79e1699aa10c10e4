// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>

class ObservationGrid;

// How a value between the range's ends is spread over the colour map.
enum class Stretch { Linear, Sqrt, Log };

// The colour map: the blue-to-red scale of 1024 colours, three published
// maps of 256 colours, and a grey ramp that stays clear of black.
enum class ColourMapId { Standard, Viridis, Cividis, Turbo, Grey };

inline constexpr std::array<Stretch, 3> AllStretches{Stretch::Linear, Stretch::Sqrt, Stretch::Log};
inline constexpr std::array<ColourMapId, 5> AllColourMaps{
    ColourMapId::Standard, ColourMapId::Viridis, ColourMapId::Cividis, ColourMapId::Turbo,
    ColourMapId::Grey};

// What the chart's colours are drawn with. The defaults give the standard
// scale over 0..1023, so the chart looks exactly as it always has.
struct ColourSettings {
    static constexpr int LowestValue = std::numeric_limits<std::int16_t>::min();
    static constexpr int HighestValue = std::numeric_limits<std::int16_t>::max();

    int minimum = 0;
    int maximum = 1023;
    Stretch stretch = Stretch::Linear;
    ColourMapId map = ColourMapId::Standard;

    bool operator==(const ColourSettings&) const = default;
};

// A range a cell value can be coloured over: whole 16-bit values,
// minimum below maximum.
constexpr bool ValidColourRange(int minimum, int maximum) {
    return minimum >= ColourSettings::LowestValue && maximum <= ColourSettings::HighestValue &&
           minimum < maximum;
}

// The names on the command line and in the settings file ("linear", "sqrt",
// "log"; "standard", "viridis", "cividis", "turbo", "grey"), and the labels
// of the colour dialog, in UTF-8 (線形, 平方根, 対数; 標準, viridis,
// cividis, turbo, グレー).
std::string_view StretchName(Stretch stretch);
std::string_view StretchLabel(Stretch stretch);
std::string_view ColourMapName(ColourMapId map);
std::string_view ColourMapLabel(ColourMapId map);
// The stretch or map of that name; nothing for any other text.
std::optional<Stretch> StretchNamed(std::string_view name);
std::optional<ColourMapId> ColourMapNamed(std::string_view name);

struct ColourRange {
    int minimum = 0;
    int maximum = 0;
    bool operator==(const ColourRange&) const = default;
};

// The range that shows a day's own values: the 1st and 99th percentiles of
// its nonzero cells (nearest rank, the sorted value at index
// ceil(p/100 x n) - 1), widened to one unit when both are equal. Nothing for
// a day without a nonzero cell.
std::optional<ColourRange> AutoColourRange(const ObservationGrid& grid);
