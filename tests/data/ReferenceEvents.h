// SPDX-License-Identifier: MIT
// An earlier, slower way of finding the events of a day, kept only to check
// the current one against: each run joins the events of the runs it touches
// in the slot before through a union-find that keeps each event's figures at
// its root.
#pragma once

#include "Events.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <limits>
#include <tuple>
#include <vector>

// The day is read slot by slot. The cells of a slot over the threshold are
// found as runs of neighbouring bins, through bit masks, and each run joins
// the events of the runs it touches in the slot before, with a union-find
// over events that keeps each event's figures at its root. So the work grows
// with the number of runs (a few thousand on a busy day, against 129,600
// cells), each cell is read once for the runs and once for their peaks, and
// nothing recurses, however large an event.

namespace reference_events {

constexpr int Bins = ObservationGrid::Bins;
constexpr int LastBin = Bins - 1;
constexpr std::size_t MaskWords = (Bins + 63) / 64;

// A set of the bins of one slot, bin d as bit d % 64 of word d / 64.
using BinSet = std::array<std::uint64_t, MaskWords>;

inline BinSet BinsOver(const std::int16_t* row, std::int16_t threshold) {
    // One byte a bin first, a loop the compiler turns into vector compares
    // (of 16-bit values, which is why the threshold is one too), then eight
    // bytes at a time into eight bits: bit i of the product's top byte is
    // byte i, every other partial product landing elsewhere.
    std::array<std::uint8_t, MaskWords * 64> over;
    std::fill(over.begin() + Bins, over.end(), std::uint8_t{0});
    for (int d = 0; d < Bins; ++d)
        over[std::size_t(d)] = row[d] >= threshold;
    BinSet set{};
    for (std::size_t w = 0; w < MaskWords; ++w) {
        std::uint64_t bits = 0;
        for (std::size_t k = 0; k < 8; ++k) {
            std::uint64_t bytes;
            std::memcpy(&bytes, over.data() + 64 * w + 8 * k, 8);
            if constexpr (std::endian::native == std::endian::big) {
                std::uint64_t swapped = 0;
                for (int i = 0; i < 8; ++i, bytes >>= 8)
                    swapped = swapped << 8 | (bytes & 0xff);
                bytes = swapped;
            }
            bits |= (bytes * 0x0102040810204080u >> 56) << (8 * k);
        }
        set[w] = bits;
    }
    return set;
}

// The first and the last bins of the runs of `over`: the bins whose
// neighbour below, or above, is not in it.
inline BinSet RunFirsts(const BinSet& over) {
    BinSet firsts{};
    for (std::size_t w = 0; w < MaskWords; ++w)
        firsts[w] = over[w] & ~(over[w] << 1 | (w > 0 ? over[w - 1] >> 63 : 0));
    return firsts;
}
inline BinSet RunLasts(const BinSet& over) {
    BinSet lasts{};
    for (std::size_t w = 0; w < MaskWords; ++w)
        lasts[w] = over[w] & ~(over[w] >> 1 | (w + 1 < MaskWords ? over[w + 1] << 63 : 0));
    return lasts;
}

// Takes the lowest bin out of `set`, searching from word `w` on (no lower
// word holds one); Bins when it is empty.
inline int TakeLowest(BinSet& set, std::size_t& w) {
    while (set[w] == 0)
        if (++w == MaskWords)
            return Bins;
    const int bin = int(w * 64) + std::countr_zero(set[w]);
    set[w] &= set[w] - 1;
    return bin;
}

// The bins first..last of one slot, all over the threshold, and the event
// they belong to.
struct Run {
    int first;
    int last;
    int event;
};

// After the last run of a slot: no run begins or ends before it.
constexpr Run End{Bins + 2, Bins + 2, -1};

// The events found so far, as a union-find: an event that has joined
// another points to it, and the root holds the figures of them all.
class EventForest {
  public:
    int Root(int e) {
        while (m_parent[std::size_t(e)] != e) {
            m_parent[std::size_t(e)] = m_parent[std::size_t(m_parent[std::size_t(e)])];
            e = m_parent[std::size_t(e)];
        }
        return e;
    }

    int Start(int slot) {
        m_parent.push_back(int(m_events.size()));
        m_events.push_back({slot, slot + 1, slot, 0, std::numeric_limits<int>::min(), 0});
        return int(m_events.size()) - 1;
    }

    // Joins the event of root `a` with the event `b`; returns the new root.
    int Join(int a, int b) {
        b = Root(b);
        if (a == b)
            return a;
        if (a > b)
            std::swap(a, b);
        SignalEvent& into = m_events[std::size_t(a)];
        const SignalEvent& from = m_events[std::size_t(b)];
        into.firstSlot = std::min(into.firstSlot, from.firstSlot);
        into.endSlot = std::max(into.endSlot, from.endSlot);
        into.cells += from.cells;
        // The higher peak; of equal ones the earlier, then the lower bin.
        if (std::tuple(into.peakValue, from.peakSlot, from.peakBin) <
            std::tuple(from.peakValue, into.peakSlot, into.peakBin)) {
            into.peakValue = from.peakValue;
            into.peakSlot = from.peakSlot;
            into.peakBin = from.peakBin;
        }
        m_parent[std::size_t(b)] = a;
        return a;
    }

    // Adds a run of slot t to the event of root `e`. Runs come in the order
    // of slots and of bins, so a peak replaced only by a higher value stays
    // the earliest, lowest-bin one of equal values.
    void Add(int e, int t, int first, int last, std::int16_t highest, const std::int16_t* row) {
        SignalEvent& event = m_events[std::size_t(e)];
        event.endSlot = t + 1;
        event.cells += last - first + 1;
        if (highest > event.peakValue) {
            event.peakValue = highest;
            event.peakSlot = t;
            event.peakBin = int(std::find(row + first, row + last, highest) - row);
        }
    }

    std::vector<SignalEvent> Roots() const {
        std::vector<SignalEvent> roots;
        for (std::size_t e = 0; e < m_events.size(); ++e)
            if (m_parent[e] == int(e))
                roots.push_back(m_events[e]);
        return roots;
    }

  private:
    std::vector<int> m_parent;
    std::vector<SignalEvent> m_events;
};

// The events as the run-based labelling before this one found them: the
// reference the current one must agree with, event for event.
inline std::vector<SignalEvent> ReferenceFindEvents(const ObservationGrid& grid, int threshold) {
    if (threshold > std::numeric_limits<std::int16_t>::max())
        return {};
    const auto limit = static_cast<std::int16_t>(std::max(threshold, 1));

    EventForest forest;
    // The runs of the slot before and of this one, taking turns; at most one
    // every other bin.
    std::array<std::array<Run, Bins / 2 + 2>, 2> runs;
    runs[1][0] = End;
    std::size_t beforeCount = 0;
    for (int t = 0; t < ObservationGrid::Slots; ++t) {
        const auto& before = runs[std::size_t(t + 1) % 2];
        auto& now = runs[std::size_t(t) % 2];
        const std::int16_t* row = grid.cells.data() + std::size_t(t) * Bins;
        const BinSet over = BinsOver(row, limit);
        BinSet firsts = RunFirsts(over);
        BinSet lasts = RunLasts(over);
        std::size_t nowCount = 0;
        std::size_t i = 0; // the first run before that may touch this one
        for (std::size_t firstWord = 0, lastWord = 0;;) {
            const int first = TakeLowest(firsts, firstWord);
            if (first == Bins)
                break;
            const int last = TakeLowest(lasts, lastWord);

            // The runs before that touch it, at a side or a corner; they end
            // in the order they begin, and one that ends before this one
            // begins touches none after it either.
            int event = -1;
            const auto touch = [&](const Run& run) {
                const int root = forest.Root(run.event);
                event = event < 0 ? root : forest.Join(event, root);
            };
            while (before[i].last + 1 < first)
                ++i;
            for (std::size_t k = i; before[k].first <= last + 1; ++k)
                touch(before[k]);
            // Across the wrap from 358 to 0 degrees: at a corner with the slot
            // before, and at a side with the first run of this slot.
            if (first == 0 || last == LastBin) [[unlikely]] {
                if (beforeCount > 0 && first == 0 && before[beforeCount - 1].last == LastBin)
                    touch(before[beforeCount - 1]);
                if (beforeCount > 0 && last == LastBin && before[0].first == 0)
                    touch(before[0]);
                if (nowCount > 0 && last == LastBin && now[0].first == 0)
                    touch(now[0]);
            }
            if (event < 0)
                event = forest.Start(t);

            // The first four bins without a branch (a shorter run reads its
            // last bin again), as most runs on a noisy day are that short.
            std::int16_t highest = row[first];
            for (int k = 1; k < 4; ++k)
                highest = std::max(highest, row[std::min(first + k, last)]);
            for (int d = first + 4; d <= last; ++d)
                highest = std::max(highest, row[d]);
            forest.Add(event, t, first, last, highest, row);
            now[nowCount++] = {first, last, event};
        }
        now[nowCount] = End;
        beforeCount = nowCount;
    }

    std::vector<SignalEvent> events = forest.Roots();
    std::sort(events.begin(), events.end(), [](const SignalEvent& a, const SignalEvent& b) {
        return std::tie(a.firstSlot, a.peakBin, a.peakSlot) <
               std::tie(b.firstSlot, b.peakBin, b.peakSlot);
    });
    return events;
}

} // namespace reference_events
