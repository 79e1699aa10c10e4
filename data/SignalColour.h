// SPDX-License-Identifier: MIT
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;

    // 0xffRRGGBB, the layout of Qt's QRgb and of a 32-bit RGB image pixel.
    constexpr std::uint32_t argb() const {
        return 0xff000000u | static_cast<std::uint32_t>(red << 16 | green << 8 | blue);
    }
    bool operator==(const Rgb&) const = default;
};

// The blue-cyan-green-yellow-red scale over 0..1023, breaking at 254/255,
// 511/512 and 767/768. Computed in int, so no value of a 16-bit cell can
// overflow; every component is clamped to 0..255, so values below the scale
// are blue and values above it red.
constexpr Rgb SignalColour(int v) {
    int green = 255;
    if (v >= 768)
        green = 1023 - v;
    else if (v <= 254)
        green = v;
    return {std::clamp(v - 511, 0, 255), std::clamp(green, 0, 255), std::clamp(511 - v, 0, 255)};
}

// The colour of one chart cell: as SignalColour, except that 0 (no signal)
// is black.
constexpr Rgb CellColour(int v) {
    return v == 0 ? Rgb{} : SignalColour(v);
}

namespace SignalColourDetail {
constexpr std::array<std::uint32_t, 1024> MakeCellTable() {
    std::array<std::uint32_t, 1024> table{};
    for (int v = 0; v < 1024; ++v)
        table[static_cast<std::size_t>(v)] = CellColour(v).argb();
    return table;
}
inline constexpr std::array<std::uint32_t, 1024> CellTable = MakeCellTable();
} // namespace SignalColourDetail

// CellColour(v).argb(), looked up for the scale's own range. The chart
// colours one pixel per cell, and on noisy data the branches of the scale
// mispredict often enough to cost more than the rest of the plot.
constexpr std::uint32_t CellArgb(int v) {
    return static_cast<unsigned>(v) < 1024u
               ? SignalColourDetail::CellTable[static_cast<std::size_t>(v)]
               : CellColour(v).argb();
}
