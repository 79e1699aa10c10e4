// SPDX-License-Identifier: MIT
#pragma once

#include "ObservationGrid.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

// A day compared with a reference day: the difference v = shown - reference
// of each cell, worked out in 32 bits since it reaches +-65,535, drawn on a
// diverging colour map centred on zero.

// The diverging map: eleven blue-white-red anchors (ColorBrewer's RdBu, most
// negative first) interpolated linearly in each 8-bit channel to 255
// entries. Entry k lies at p = 10k / 254 between anchor floor(p) and the
// next, each channel rounded half up, so that the centre entry is exactly
// the middle anchor.
inline constexpr int DifferenceEntries = 255;
inline constexpr int DifferenceCentre = 127;
// 0xffRRGGBB, as Rgb::argb() and QRgb.
const std::array<std::uint32_t, DifferenceEntries>& DifferenceTable();

// The entry of a difference v at range R (R >= 1), in integers only and the
// same for -v as for v mirrored about the centre:
// 127 + sign(v) min(127, (127 |v| + floor(R / 2)) div R).
int DifferenceEntry(int v, int range);

// The range to draw a pair of days at: the 99th percentile of |v| over the
// cells both days cover (nearest rank, the ceil(0.99 N)-th smallest of the N
// values), at least 1. A log covers the cells it filled, from the first one
// on, so a short day covers a leading part of the grid.
int DifferenceRange(const ObservationGrid& shown, long shownCells, const ObservationGrid& reference,
                    long referenceCells);

// The cells of a pair of days that both cover: the first this many.
long CellsBothCover(long shownCells, long referenceCells);

// The colours of every difference at one range, looked up by v: for drawing
// a whole chart without a division per cell.
class DifferenceColours {
  public:
    explicit DifferenceColours(int range);
    int range() const { return m_range; }
    std::uint32_t argb(int v) const {
        return m_byValue[static_cast<std::size_t>(std::clamp(v, -m_range, m_range) + m_range)];
    }

  private:
    int m_range;
    // Indexed by v + range; beyond +-range the entry no longer changes.
    std::vector<std::uint32_t> m_byValue;
};
