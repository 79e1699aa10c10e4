// SPDX-License-Identifier: MIT
#include "ColourTable.h"

#include "ColourMaps.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr std::uint32_t Black = 0xff000000u;

// Rounds down, for negative numerators too.
constexpr std::int64_t FloorDiv(std::int64_t num, std::int64_t den) {
    return num / den - (num % den != 0 && (num < 0) != (den < 0));
}

// The entry of a map of `last` + 1 colours for t = num / den (den > 0),
// stretched: floor(u x last + 1/2). The linear and square-root stretches are
// worked out in whole numbers, so that a value exactly half-way between two
// entries always takes the upper one.
int MapIndex(std::int64_t num, std::int64_t den, Stretch stretch, std::int64_t last) {
    if (num <= 0)
        return 0;
    if (num >= den)
        return static_cast<int>(last);
    switch (stretch) {
    case Stretch::Linear:
        return static_cast<int>((2 * num * last + den) / (2 * den));
    case Stretch::Sqrt: {
        // The largest i with i - 1/2 <= sqrt(t) last, that is with
        // (2i - 1)^2 den <= 4 num last^2; the double is off by one at most.
        const auto reaches = [&](std::int64_t i) {
            return (2 * i - 1) * (2 * i - 1) * den <= 4 * num * last * last;
        };
        auto i = static_cast<std::int64_t>(
            std::floor(std::sqrt(static_cast<double>(num) / static_cast<double>(den)) *
                           static_cast<double>(last) +
                       0.5));
        i = std::clamp<std::int64_t>(i, 0, last);
        while (i < last && reaches(i + 1))
            ++i;
        while (i > 0 && !reaches(i))
            --i;
        return static_cast<int>(i);
    }
    case Stretch::Log:
        break;
    }
    const double t = static_cast<double>(num) / static_cast<double>(den);
    const double u = std::log10(1 + 999 * t) / 3;
    return static_cast<int>(std::clamp<double>(std::floor(u * static_cast<double>(last) + 0.5), 0,
                                               static_cast<double>(last)));
}

} // namespace

ColourTable::ColourTable(const ColourSettings& settings)
    : m_settings(settings), m_cells(std::size_t{1} << 16) {
    const std::span<const std::uint32_t> colours = ColourMapColours(settings.map);
    const auto last = static_cast<std::int64_t>(colours.size()) - 1;
    const std::int64_t minimum = settings.minimum;
    const std::int64_t span = std::int64_t{settings.maximum} - minimum;
    const auto colour = [&](std::int64_t num, std::int64_t den) {
        return colours[static_cast<std::size_t>(MapIndex(num, den, settings.stretch, last))];
    };

    for (int v = ColourSettings::LowestValue; v <= ColourSettings::HighestValue; ++v)
        m_cells[static_cast<std::uint16_t>(v)] = colour(v - minimum, span);
    m_cells[0] = Black;

    for (int r = 0; r < LegendRows; ++r)
        m_legend[static_cast<std::size_t>(r)] = colour(r * (span + 1), LegendRows * span);
    for (int k = 0; k < LegendLabelCount; ++k) {
        const std::int64_t quarters = 4 * minimum + k * (span + 1);
        m_labels[static_cast<std::size_t>(k)] = static_cast<int>(FloorDiv(2 * quarters + 4, 8));
    }
}

int ColourTable::LegendValue(int row) const {
    const std::int64_t span = std::int64_t{m_settings.maximum} - m_settings.minimum;
    const std::int64_t scaled = std::int64_t{LegendRows} * m_settings.minimum + row * (span + 1);
    return static_cast<int>(FloorDiv(2 * scaled + LegendRows, 2 * LegendRows));
}

const ColourTable& StandardColourTable() {
    static const ColourTable table;
    return table;
}
