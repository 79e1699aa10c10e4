// SPDX-License-Identifier: MIT
#pragma once

#include "ColourSettings.h"

#include <array>
#include <cstdint>
#include <vector>

// The colours of one colour setting, worked out once so that drawing a chart
// is one look-up per cell. For a cell value v: 0 is black (no signal);
// otherwise t = clamp((v - minimum) / (maximum - minimum), 0, 1) is
// stretched to u = t, sqrt(t) or log10(1 + 999 t) / 3, and the colour is
// entry round(u x (N - 1)) of the map's N colours, halves rounded up.
//
// The legend has LegendRows lines, from the bottom; line r stands for the
// value minimum + r (maximum - minimum + 1) / LegendRows and has that value's
// colour by the same rule, except that 0 is not black. Its labels are
// minimum + k (maximum - minimum + 1) / 4 for k = 0..4, rounded half up.
class ColourTable {
  public:
    static constexpr int LegendRows = 128;
    static constexpr int LegendLabelCount = 5;

    explicit ColourTable(const ColourSettings& settings = {});

    const ColourSettings& settings() const { return m_settings; }

    // 0xffRRGGBB, the layout of Rgb::argb() and QRgb.
    std::uint32_t CellArgb(std::int16_t v) const { return m_cells[static_cast<std::uint16_t>(v)]; }
    std::uint32_t LegendArgb(int row) const { return m_legend[static_cast<std::size_t>(row)]; }
    // The value legend line `row` stands for, rounded half up to a whole
    // number, as a readout shows it.
    int LegendValue(int row) const;
    const std::array<int, LegendLabelCount>& LegendLabels() const { return m_labels; }

  private:
    ColourSettings m_settings;
    // Indexed by the cell's 16 bits, so that no value needs a test.
    std::vector<std::uint32_t> m_cells;
    std::array<std::uint32_t, LegendRows> m_legend{};
    std::array<int, LegendLabelCount> m_labels{};
};

// The table of the default settings: the standard scale over 0..1023.
const ColourTable& StandardColourTable();
