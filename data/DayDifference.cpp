// SPDX-License-Identifier: MIT
#include "DayDifference.h"

#include "SignalColour.h"

#include <algorithm>
#include <cstdlib>

namespace {

// ColorBrewer's RdBu in eleven classes (colorbrewer2.org; Copyright 2002
// Cynthia Brewer, Mark Harrower and The Pennsylvania State University,
// Apache License 2.0; see packaging/copyright).
constexpr std::array<Rgb, 11> Anchors{{
    {0x05, 0x30, 0x61},
    {0x21, 0x66, 0xac},
    {0x43, 0x93, 0xc3},
    {0x92, 0xc5, 0xde},
    {0xd1, 0xe5, 0xf0},
    {0xf7, 0xf7, 0xf7},
    {0xfd, 0xdb, 0xc7},
    {0xf4, 0xa5, 0x82},
    {0xd6, 0x60, 0x4d},
    {0xb2, 0x18, 0x2b},
    {0x67, 0x00, 0x1f},
}};

constexpr int LastEntry = DifferenceEntries - 1;
constexpr int Steps = static_cast<int>(Anchors.size()) - 1;

// a + (b - a) r / 254 rounded half up, in integers: the result lies between
// a and b, so the numerator is never negative and division floors it.
constexpr int Blend(int a, int b, int r) {
    return (LastEntry * a + (b - a) * r + LastEntry / 2) / LastEntry;
}

constexpr std::array<std::uint32_t, DifferenceEntries> MakeTable() {
    std::array<std::uint32_t, DifferenceEntries> table{};
    for (int k = 0; k < DifferenceEntries; ++k) {
        const int anchor = Steps * k / LastEntry;
        const int r = Steps * k % LastEntry;
        const Rgb& a = Anchors[static_cast<std::size_t>(anchor)];
        const Rgb& b = Anchors[static_cast<std::size_t>(std::min(anchor + 1, Steps))];
        table[static_cast<std::size_t>(k)] =
            Rgb{Blend(a.red, b.red, r), Blend(a.green, b.green, r), Blend(a.blue, b.blue, r)}
                .argb();
    }
    return table;
}

constexpr std::array<std::uint32_t, DifferenceEntries> Table = MakeTable();
static_assert(Table[DifferenceCentre] == 0xfff7f7f7u);

} // namespace

const std::array<std::uint32_t, DifferenceEntries>& DifferenceTable() {
    return Table;
}

int DifferenceEntry(int v, int range) {
    const int step =
        std::min(DifferenceCentre, (DifferenceCentre * std::abs(v) + range / 2) / range);
    return v < 0 ? DifferenceCentre - step : DifferenceCentre + step;
}

long CellsBothCover(long shownCells, long referenceCells) {
    return std::clamp(std::min(shownCells, referenceCells), 0L, long{ObservationGrid::CellCount});
}

int DifferenceRange(const ObservationGrid& shown, long shownCells, const ObservationGrid& reference,
                    long referenceCells) {
    const long n = CellsBothCover(shownCells, referenceCells);
    if (n == 0)
        return 1;
    // A histogram of |v|: counting beats sorting 129,600 values, and the rank
    // is then one walk up the counts. Between two days most differences are
    // small, so they are counted in a table that stays in the first-level
    // cache, four of them in turn so that runs of one value do not wait on
    // each other's increments; only when the rank lies beyond it are the
    // large ones counted in full.
    constexpr int Small = 2048;
    std::array<std::array<std::uint32_t, Small + 1>, 4> small{};
    const std::int16_t* a = shown.cells.data();
    const std::int16_t* b = reference.cells.data();
    long i = 0;
    for (; i + 4 <= n; i += 4)
        for (int k = 0; k < 4; ++k)
            ++small[static_cast<std::size_t>(k)][static_cast<std::size_t>(
                std::min(Small, std::abs(int{a[i + k]} - int{b[i + k]})))];
    for (; i < n; ++i)
        ++small[0][static_cast<std::size_t>(std::min(Small, std::abs(int{a[i]} - int{b[i]})))];

    const long rank = (99 * n + 99) / 100;
    long seen = 0;
    for (int value = 0; value < Small; ++value) {
        for (const auto& counts : small)
            seen += counts[static_cast<std::size_t>(value)];
        if (seen >= rank)
            return std::max(1, value);
    }
    std::vector<std::uint32_t> large(65536 - Small, 0);
    for (i = 0; i < n; ++i) {
        const int v = std::abs(int{a[i]} - int{b[i]});
        if (v >= Small)
            ++large[static_cast<std::size_t>(v - Small)];
    }
    for (std::size_t value = 0; value < large.size(); ++value) {
        seen += large[value];
        if (seen >= rank)
            return Small + static_cast<int>(value);
    }
    return 65535;
}

DifferenceColours::DifferenceColours(int range)
    : m_range(std::max(1, range)), m_byValue(static_cast<std::size_t>(2 * m_range + 1)) {
    // The step (127 |v| + floor(R/2)) div R grows with |v| and reaches 127 at
    // |v| = R, so it is counted up without a division.
    const int half = m_range / 2;
    long numerator = half;
    int step = 0;
    for (int magnitude = 0; magnitude <= m_range; ++magnitude) {
        while (step < DifferenceCentre && numerator >= static_cast<long>(step + 1) * m_range)
            ++step;
        m_byValue[static_cast<std::size_t>(m_range + magnitude)] =
            Table[static_cast<std::size_t>(DifferenceCentre + step)];
        m_byValue[static_cast<std::size_t>(m_range - magnitude)] =
            Table[static_cast<std::size_t>(DifferenceCentre - step)];
        numerator += DifferenceCentre;
    }
}
