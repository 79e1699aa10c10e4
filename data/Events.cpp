// SPDX-License-Identifier: MIT
#include "Events.h"

#include "DayTime.h"
#include "ValueTables.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <limits>
#include <tuple>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// The day is read slot by slot, and each slot's work is a plain compare of
// its cells, as a count of them would be, and then a few steps a run:
// - the cells over the threshold become a bit set, and the runs of it are
//   found through its transitions (bins that differ from the one below);
// - a run touches, at a side or a corner, the runs of the slot before from
//   the first that ends at or after its first bin - 1 to the last that begins
//   at or before its last bin + 1, and those are counts of the slot before's
//   transitions, looked up in a table of them per byte, without a merge;
// - a run that touches none starts a part of an event; the others add their
//   cells and peak to the part of the first run they touch, without a
//   branch, and join the parts of any further ones, in a union-find;
// - at the end each part is folded into its event once.
// So the work grows with the number of runs and events, never with the size
// of an event, and nothing recurses.

namespace {

constexpr int Bins = ObservationGrid::Bins;
constexpr std::size_t MaskWords = (Bins + 63) / 64;
// At most one run every other bin; labels keep one spare.
constexpr int MaxRuns = (Bins + 1) / 2;

// A set of the bins of one slot, bin d as bit d % 64 of word d / 64.
using BinSet = std::array<std::uint64_t, MaskWords>;

#if defined(__SSE2__)
// Sixteen compares of 16-bit values at a time, packed into bits. The last
// sixteen bins are read from bin 172, so nothing past the row is read.
BinSet BinsOver(const std::int16_t* row, std::int16_t threshold) {
    const __m128i below = _mm_set1_epi16(std::int16_t(threshold - 1));
    const auto over = [&](int from) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + from));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + from + 8));
        return std::uint64_t(std::uint16_t(_mm_movemask_epi8(
            _mm_packs_epi16(_mm_cmpgt_epi16(a, below), _mm_cmpgt_epi16(b, below)))));
    };
    BinSet set{};
    for (int k = 0; k < Bins / 16; ++k)
        set[std::size_t(k / 4)] |= over(16 * k) << (16 * (k % 4));
    set[MaskWords - 1] |= (over(Bins - 16) >> (16 - Bins % 16)) << (Bins % 64 - Bins % 16);
    return set;
}
#else
BinSet BinsOver(const std::int16_t* row, std::int16_t threshold) {
    BinSet set{};
    for (int d = 0; d < Bins; ++d)
        set[std::size_t(d / 64)] |= std::uint64_t(row[d] >= threshold) << (d % 64);
    return set;
}
#endif

// [b][k]: how many of the bits of byte b lie below bit k.
constexpr auto OnesBelow = [] {
    std::array<std::array<std::uint8_t, 8>, 256> ones{};
    for (unsigned b = 0; b < 256; ++b)
        for (unsigned k = 0; k < 8; ++k)
            ones[b][k] = std::uint8_t(std::popcount(b & ((1u << k) - 1)));
    return ones;
}();

// Each byte: how many bits of `x` lie in the bytes below it, plus `carry`
// (a slot has at most 181 transitions, so no byte overflows).
inline std::uint64_t OnesBelowBytes(std::uint64_t x, std::uint64_t carry) {
    x = x - ((x >> 1) & 0x5555555555555555u);
    x = (x & 0x3333333333333333u) + ((x >> 2) & 0x3333333333333333u);
    x = (x + (x >> 4)) & 0x0f0f0f0f0f0f0f0fu;
    return ((x * 0x0101010101010101u) << 8) + carry * 0x0101010101010101u;
}

#if defined(__SSE2__)
// [k]: the lanes of the first k of eight bins.
alignas(16) constexpr auto FirstLanes = [] {
    std::array<std::array<std::uint16_t, 8>, 9> lanes{};
    for (std::size_t k = 0; k <= 8; ++k)
        for (std::size_t i = 0; i < k; ++i)
            lanes[k][i] = 0xffff;
    return lanes;
}();

// The highest of row[first..last], all of them at least 1. Eight bins from
// the first and eight ending at the last (bins past a short run read as 0),
// and the eights between for a long one; reads up to row[first + 7].
inline std::int16_t Highest(const std::int16_t* row, int first, int last) {
    const __m128i keep = _mm_load_si128(reinterpret_cast<const __m128i*>(
        FirstLanes[std::size_t(std::min(last - first + 1, 8))].data()));
    const auto eight = [&](int from) {
        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + from));
    };
    __m128i v = _mm_max_epi16(_mm_and_si128(keep, eight(first)),
                              _mm_and_si128(keep, eight(std::max(last - 7, first))));
    for (int d = first + 8; d < last - 7; d += 8)
        v = _mm_max_epi16(v, eight(d));
    v = _mm_max_epi16(v, _mm_shuffle_epi32(v, 0x4e));
    v = _mm_max_epi16(v, _mm_shuffle_epi32(v, 0xb1));
    v = _mm_max_epi16(v, _mm_shufflelo_epi16(v, 0xb1));
    return std::int16_t(_mm_cvtsi128_si32(v));
}
#else
inline std::int16_t Highest(const std::int16_t* row, int first, int last) {
    return *std::max_element(row + first, row + last + 1);
}
#endif

// A part of an event: the runs that joined the run that started it, directly.
struct Part {
    int parent; // in the union-find of parts; the lower one of two is the root
    int cells;
    // The peak value << 17, then how many cells of the day follow the
    // earliest, lowest-bin one holding it: the highest of these is the peak.
    std::uint32_t peak;
    int end; // the slot after its last run
};

// c ? a : b, without a branch (runs touch or not at random on a noisy day).
inline int Pick(bool c, int a, int b) {
    return b ^ ((a ^ b) & -int(c));
}

inline int Root(const Part* parts, int x) {
    while (parts[x].parent != x)
        [[unlikely]] x = parts[x].parent;
    return x;
}

inline void Join(Part* parts, int a, int b) {
    const int ra = Root(parts, a);
    const int rb = Root(parts, b);
    parts[std::max(ra, rb)].parent = std::min(ra, rb);
}

} // namespace

std::vector<SignalEvent> FindEvents(const ObservationGrid& grid, int threshold) {
    if (threshold > std::numeric_limits<std::int16_t>::max())
        return {};
    const auto limit = static_cast<std::int16_t>(std::max(threshold, 1));

    // The parts, and the slot each began in; grown ahead of need once a slot
    // could overrun them, so that nothing is allocated run by run.
    std::vector<Part> partList(1024);
    std::vector<std::int16_t> partSlots(1024);
    int made = 0;

    // The part each run of the slot before and of this one joined, taking
    // turns (reading one past the last run is harmless: it holds a part).
    std::array<std::array<int, MaxRuns + 2>, 2> labels{};
    // The last slot, copied where reading past its last bin is safe.
    std::array<std::int16_t, Bins + 16> lastRow{};
    // The slot before's transitions, bytewise, and how many lie below each byte.
    std::array<std::uint8_t, 8 * MaskWords> beforeEdges{};
    std::array<std::uint8_t, 8 * MaskWords> beforeRank{};
    int before = 0; // runs in the slot before
    for (int t = 0; t < ObservationGrid::Slots; ++t) {
        const std::int16_t* row = grid.cells.data() + std::size_t(t) * Bins;
        if (t == ObservationGrid::LastSlot) {
            std::copy(row, row + Bins, lastRow.begin());
            row = lastRow.data();
        }
        auto& curLabel = labels[std::size_t(t) % 2];
        const auto& prevLabel = labels[std::size_t(t + 1) % 2];

        // The transitions, in order: where each run begins, then the bin after it.
        const BinSet over = BinsOver(row, limit);
        BinSet edgeBits;
        std::array<int, 2 * MaxRuns + 2> at;
        int found = 0;
        std::uint64_t carry = 0;
        for (std::size_t w = 0; w < MaskWords; ++w) {
            std::uint64_t bits = over[w] ^ (over[w] << 1 | carry);
            carry = over[w] >> 63;
            edgeBits[w] = bits;
            for (; bits != 0; bits &= bits - 1)
                at[std::size_t(found++)] = int(64 * w) + std::countr_zero(bits);
        }
        const int n = found / 2;
        if (std::size_t(made + MaxRuns + 1) > partList.size()) [[unlikely]] {
            partList.resize(partList.size() * 2);
            partSlots.resize(partList.size());
        }
        Part* parts = partList.data();
        std::int16_t* partSlot = partSlots.data();
        // How many transitions of the slot before lie below bin x.
        const auto rankBefore = [&](int x) {
            return beforeRank[std::size_t(x >> 3)] +
                   OnesBelow[beforeEdges[std::size_t(x >> 3)]][std::size_t(x & 7)];
        };
        const std::uint32_t lastCell = std::uint32_t(ObservationGrid::CellCount - 1 - t * Bins);
        for (int k = 0; k < n; ++k) {
            const int first = at[std::size_t(2 * k)];
            const int last = at[std::size_t(2 * k + 1)] - 1;
            // The runs before from lo to hi - 1 touch this one: those that
            // end at first - 1 or later, and begin at last + 1 or earlier.
            const int lo = rankBefore(first) / 2;
            const int hi = (rankBefore(last + 2) + 1) / 2;
            // The first run it touches gives its part (one step nearer the
            // root, so that chains stay short), without a branch; one that
            // touches none begins a part. Any further ones join their parts.
            const int touched = parts[prevLabel[std::size_t(lo)]].parent;
            const bool fresh = lo == hi;
            parts[made] = {made, 0, 0, 0};
            partSlot[made] = std::int16_t(t);
            const int label = Pick(fresh, made, touched);
            made += fresh;
            curLabel[std::size_t(k)] = label;
            Part& part = parts[label];
            part.end = t + 1;
            part.cells += last - first + 1;
            part.peak = std::max(part.peak, std::uint32_t(Highest(row, first, last)) << 17 |
                                                (lastCell - std::uint32_t(first)));
            for (int i = lo + 1; i < hi; ++i)
                [[unlikely]] Join(parts, label, prevLabel[std::size_t(i)]);
        }
        // Across 358/0 degrees: the first and last runs of this slot, and
        // each of them with the last and first runs of the slot before.
        if (n > 0) {
            const bool zero = at[0] == 0, top = at[std::size_t(found - 1)] == Bins;
            const int low = curLabel[0], high = curLabel[std::size_t(n - 1)];
            const bool beforeTop = before > 0 && (beforeEdges[Bins / 8] >> (Bins % 8) & 1);
            const bool beforeZero = before > 0 && (beforeEdges[0] & 1);
            Join(parts, low, zero && top ? high : low);
            Join(parts, low,
                 zero && beforeTop ? prevLabel[std::size_t(std::max(before - 1, 0))] : low);
            Join(parts, high, top && beforeZero ? prevLabel[0] : high);
        }
        std::uint64_t below = 0;
        BinSet ranks;
        for (std::size_t w = 0; w < MaskWords; ++w) {
            ranks[w] = OnesBelowBytes(edgeBits[w], below);
            const auto top = std::size_t(edgeBits[w] >> 56);
            below = ((ranks[w] >> 56) + OnesBelow[top][7] + (top >> 7)) & 0xff;
        }
        if constexpr (std::endian::native == std::endian::little) {
            std::memcpy(beforeRank.data(), ranks.data(), sizeof ranks);
            std::memcpy(beforeEdges.data(), edgeBits.data(), sizeof edgeBits);
        } else {
            for (std::size_t b = 0; b < beforeRank.size(); ++b) {
                beforeRank[b] = std::uint8_t(ranks[b / 8] >> (8 * (b % 8)));
                beforeEdges[b] = std::uint8_t(edgeBits[b / 8] >> (8 * (b % 8)));
            }
        }
        before = n;
    }

    // Each part folded into its event, numbered by root: a root is its
    // event's earliest part, so the events come in the order of their first
    // slots, and within one slot by the bin where they begin.
    Part* parts = partList.data();
    int count = 0;
    for (int p = 0; p < made; ++p)
        count += parts[p].parent == p;
    std::vector<SignalEvent> events(static_cast<std::size_t>(count));
    std::vector<std::uint32_t> peaks(static_cast<std::size_t>(count));
    int root = 0;
    for (int p = 0; p < made; ++p) {
        Part& part = parts[p];
        const bool isRoot = part.parent == p;
        const int e = Pick(isRoot, root, parts[part.parent].parent);
        root += isRoot;
        part.parent = e;
        SignalEvent& event = events[std::size_t(e)];
        event.firstSlot = isRoot ? partSlots[std::size_t(p)] : event.firstSlot;
        event.endSlot = std::max(event.endSlot, part.end);
        event.cells += part.cells;
        peaks[std::size_t(e)] = std::max(peaks[std::size_t(e)], part.peak);
    }
    // The peak's bin: the first of its value from the bin where the run holding it begins.
    for (std::size_t e = 0; e < events.size(); ++e) {
        SignalEvent& event = events[e];
        const int cell = ObservationGrid::CellCount - 1 - int(peaks[e] & 0x1ffff);
        const std::int16_t* row = grid.cells.data() + std::size_t(cell / Bins) * Bins;
        event.peakSlot = cell / Bins;
        event.peakValue = int(peaks[e] >> 17);
        event.peakBin = int(std::find(row + cell % Bins, row + Bins, event.peakValue) - row);
    }
    // Within a first slot, by peak bin: a few moves on a sorted list.
    const auto order = [](const SignalEvent& a, const SignalEvent& b) {
        return std::tie(a.firstSlot, a.peakBin, a.peakSlot) <
               std::tie(b.firstSlot, b.peakBin, b.peakSlot);
    };
    for (std::size_t k = 1; k < events.size(); ++k) {
        const SignalEvent moving = events[k];
        std::size_t to = k;
        for (; to > 0 && order(moving, events[to - 1]); --to)
            events[to] = events[to - 1];
        events[to] = moving;
    }
    return events;
}

DirectionSector EventSector(const ObservationGrid& grid, int threshold, const SignalEvent& event) {
    constexpr int Slots = ObservationGrid::Slots;
    const int limit = std::max(threshold, 1);
    std::vector<std::uint8_t> seen(std::size_t(ObservationGrid::CellCount), 0);
    std::array<bool, Bins> covered{};
    std::vector<int> todo;
    const auto visit = [&](int t, int d) {
        const std::size_t cell = std::size_t(t * Bins + d);
        if (!seen[cell] && grid.cells[cell] >= limit) {
            seen[cell] = 1;
            todo.push_back(int(cell));
        }
    };
    visit(event.peakSlot, event.peakBin);
    while (!todo.empty()) {
        const int t = todo.back() / Bins, d = todo.back() % Bins;
        todo.pop_back();
        covered[std::size_t(d)] = true;
        for (int u = std::max(t - 1, 0); u <= std::min(t + 1, Slots - 1); ++u)
            for (int e = d - 1; e <= d + 1; ++e)
                visit(u, (e + Bins) % Bins);
    }
    // The longest gap of uncovered bins, round the circle; the sector is
    // what lies outside it.
    int longest = 0, gapEnd = 0, run = 0;
    for (int i = 0; i < 2 * Bins; ++i) {
        run = covered[std::size_t(i % Bins)] ? 0 : std::min(run + 1, Bins);
        if (run > longest) {
            longest = run;
            gapEnd = i % Bins;
        }
    }
    if (longest == 0 || longest == Bins)
        return {0, Bins - 1};
    return {(gapEnd + 1) % Bins, (gapEnd - longest + Bins) % Bins};
}

std::string EventListLines(std::string_view log, const std::vector<SignalEvent>& events) {
    const std::string field = CsvField(log);
    std::string text;
    for (const SignalEvent& event : events) {
        text += field + ',' + SlotClock(event.firstSlot, true) + ',' +
                SlotClock(event.endSlot, true) + ',' + SlotClock(event.peakSlot, true) + ',' +
                std::to_string(BinDegrees(event.peakBin)) + ',' + std::to_string(event.peakValue) +
                ',' + std::to_string(event.cells) + '\n';
    }
    return text;
}
