// SPDX-License-Identifier: MIT
#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

// Folds a value into a hash.
inline std::uint64_t MixHash(std::uint64_t h, std::uint64_t value) {
    h = (h ^ value) * 0x9e3779b97f4a7c15ull;
    return h ^ (h >> 32);
}

// A hash of a short text's bytes, eight at a time: a label of a dozen
// characters costs a few multiplications, where the standard library's
// string hash is a call of its own. The last eight bytes are read whole
// (over bytes already read, if need be) rather than byte by byte, which
// would stall on reading them back.
inline std::uint64_t ShortTextHash(const void* bytes, std::size_t size) {
    const auto* p = static_cast<const unsigned char*>(bytes);
    const auto load8 = [](const unsigned char* at) {
        std::uint64_t v;
        std::memcpy(&v, at, 8);
        return v;
    };
    const auto load4 = [](const unsigned char* at) {
        std::uint32_t v;
        std::memcpy(&v, at, 4);
        return std::uint64_t{v};
    };
    std::uint64_t h = MixHash(0, size);
    if (size >= 8) {
        const unsigned char* last = p + size - 8;
        for (; p < last; p += 8)
            h = MixHash(h, load8(p));
        return MixHash(h, load8(last));
    }
    if (size >= 4)
        return MixHash(h, load4(p) | load4(p + size - 4) << 32);
    if (size > 0)
        return MixHash(h, std::uint64_t{p[0]} | std::uint64_t{p[size / 2]} << 8 |
                              std::uint64_t{p[size - 1]} << 16);
    return h;
}

// The entries of a cache that every redraw looks up (a mark's label, the
// pixels it left): a slot of eight bytes per place, each entry's slot the
// first free one from its hash's place on, so that a lookup is a mask and a
// compare or two over a small array, with no bucket list to follow and no
// division by a prime, and reaches the entry itself only when the hashes
// agree. Past `Capacity` entries the whole is dropped rather than grown
// without end by texts seen once. Entries may move when one is added: a
// pointer to one holds until the next `add`.
template <typename Entry, std::size_t Capacity> class KeptTable {
  public:
    // The entry of `hash` for which `same(entry)` holds, or null.
    template <typename Same> Entry* find(std::uint64_t hash, const Same& same) {
        if (m_slots.empty())
            return nullptr;
        const std::uint32_t tag = tagOf(hash);
        const std::size_t mask = m_slots.size() - 1;
        for (std::size_t i = start(hash);; i = (i + 1) & mask) {
            const Slot slot = m_slots[i];
            if (slot.tag == 0)
                return nullptr;
            if (slot.tag == tag && same(m_entries[slot.index]))
                return &m_entries[slot.index];
        }
    }
    // Adds an entry that `find` does not hold yet.
    Entry& add(std::uint64_t hash, Entry entry) {
        if (m_entries.size() >= Capacity) {
            m_entries.clear();
            m_hashes.clear();
        }
        // At most half full, so that a miss ends at a free slot soon.
        if (2 * (m_entries.size() + 1) > m_slots.size())
            resize(std::max<std::size_t>(32, 2 * m_slots.size()));
        else if (m_entries.empty())
            resize(m_slots.size());
        m_entries.push_back(std::move(entry));
        m_hashes.push_back(hash);
        place(hash, std::uint32_t(m_entries.size() - 1));
        return m_entries.back();
    }

  private:
    struct Slot {
        std::uint32_t tag = 0; // none for a free slot
        std::uint32_t index = 0;
    };
    static std::uint32_t tagOf(std::uint64_t hash) { return std::uint32_t(hash >> 32) | 1; }
    // The slot a hash starts from: its product's top bits, which depend on
    // all of its bits (its low bits alone may not differ between texts that
    // differ in their last characters).
    std::size_t start(std::uint64_t hash) const {
        return std::size_t((hash * 0x9e3779b97f4a7c15ull) >> m_shift);
    }
    void place(std::uint64_t hash, std::uint32_t index) {
        const std::size_t mask = m_slots.size() - 1;
        std::size_t i = start(hash);
        while (m_slots[i].tag != 0)
            i = (i + 1) & mask;
        m_slots[i] = {tagOf(hash), index};
    }
    void resize(std::size_t count) {
        m_slots.assign(count, Slot{});
        m_shift = 64 - std::countr_zero(count);
        for (std::size_t i = 0; i < m_entries.size(); ++i)
            place(m_hashes[i], std::uint32_t(i));
    }

    std::vector<Slot> m_slots; // a power of two of them
    std::vector<Entry> m_entries;
    std::vector<std::uint64_t> m_hashes; // each entry's
    int m_shift = 64;
};
