// SPDX-License-Identifier: MIT
#pragma once

#include "KeptTable.h"

#include <QPoint>
#include <QRgb>
#include <QSize>
#include <QString>

#include <algorithm>
#include <functional>
#include <string_view>
#include <unordered_map>
#include <vector>

class QPainter;

// The pixels a text leaves when painted, kept so that a text printed again
// (the chart frame's figures, the marks' labels, redrawn with every slot or
// colour change) costs its pixels rather than its shaping and rasterising.
// Aliased text in one opaque colour leaves the same pixels wherever it lands
// and whatever lies under it; a text that does not (a colour glyph blended
// into what is under it) is not kept and is painted every time.

// One row's run of equal pixels, relative to the text's device origin.
struct InkRun {
    int dx = 0;
    int dy = 0;
    int length = 0;
    QRgb colour = 0;
};

// Where a text whose baseline starts at the logical point `baseline` has its
// device origin: the point all its glyphs are placed from, in whole device
// pixels (see DrawTextAtRatio).
QPoint DeviceOrigin(QPoint baseline, qreal ratio);

// Paints a text with its baseline starting at a logical point.
using TextPaint = std::function<void(QPainter& painter, QPoint baseline)>;

class TextInks {
  public:
    // The runs of `text` at a device pixel ratio: nothing on its first use
    // (painted directly: most texts of a readout are seen once), then
    // painted twice by `paint` into scratch images, on different colours at
    // different places, and kept if both leave the same pixels. `measure`
    // gives the text's logical advance and line height. Nothing either when
    // the ink is not kept. The runs stay valid until the next call.
    // (Templates, so that a text found costs no function object.)
    template <typename Measure, typename Paint>
    const std::vector<InkRun>* find(const QString& text, qreal ratio, const Measure& measure,
                                    const Paint& paint) {
        Ink* ink = seen(text, ratio);
        if (!ink)
            return nullptr;
        if (!ink->rendered)
            render(*ink, ratio, measure(), TextPaint(paint));
        return ink->kept ? &ink->runs : nullptr;
    }

  private:
    struct Key {
        QString text;
        qreal ratio;
        bool operator==(const Key&) const = default;
    };
    // The standard library's string hash: a short text costs a few
    // multiplications, where Qt's own (AES rounds) costs several times more.
    struct KeyHash {
        std::size_t operator()(const Key& key) const {
            return std::hash<std::u16string_view>()(std::u16string_view(
                       QStringView(key.text).utf16(), std::size_t(key.text.size()))) ^
                   std::hash<qreal>()(key.ratio);
        }
    };
    struct Ink {
        bool rendered = false;
        bool kept = false;
        std::vector<InkRun> runs;
    };
    // The text's entry, or nothing when it is new (it is then noted).
    Ink* seen(const QString& text, qreal ratio);
    static void render(Ink& ink, qreal ratio, QSize extent, const TextPaint& paint);

    // Enough for every text of a few charts; past it, the whole is dropped
    // rather than grown without end by texts seen once.
    static constexpr std::size_t Capacity = 4096;
    std::unordered_map<Key, Ink, KeyHash> m_inks;
};

// A label's ground with its text's ink on it, kept as whole rows of pixels:
// a label drawn again (the marks' labels, with every redraw of the chart)
// is a few row copies rather than a fill and a run per stroke.
struct LabelStamp {
    // Where the text lies on its ground, and the ground's size and colour.
    struct Place {
        int width = 0; // the ground's size in pixels
        int height = 0;
        int textX = 0; // the text's top-left corner on the ground
        int textY = 0;
        QRgb ground = 0;
        bool operator==(const Place&) const = default;
    };
    struct Key {
        QString text;
        Place place;
    };
    // False when some of the ink lies beyond the ground: the label is then
    // drawn as a fill and a text.
    bool whole = false;
    std::vector<QRgb> pixels; // width x height, the top row first
};

class LabelStamps {
  public:
    // Looked up without a copy of the text: a label is found with every redraw.
    const LabelStamp* find(QStringView text, const LabelStamp::Place& place) {
        const Entry* found = m_stamps.find(hash(text, place), [&](const Entry& entry) {
            // Compared inline, not through a call of Qt's string comparison.
            const QString& kept = entry.first.text;
            return entry.first.place == place && kept.size() == text.size() &&
                   std::equal(text.utf16(), text.utf16() + text.size(), kept.utf16());
        });
        return found ? &found->second : nullptr;
    }
    // Keeps the ground with the ink runs on it, given relative to
    // `origin`, the text's device origin on the ground.
    const LabelStamp* make(const QString& text, const LabelStamp::Place& place,
                           const std::vector<InkRun>& ink, QPoint origin);

  private:
    using Entry = std::pair<LabelStamp::Key, LabelStamp>;
    static std::uint64_t hash(QStringView text, const LabelStamp::Place& p) {
        const auto pair = [](int a, int b) {
            return std::uint64_t(std::uint32_t(a)) | std::uint64_t(std::uint32_t(b)) << 32;
        };
        std::uint64_t h = ShortTextHash(text.utf16(), std::size_t(text.size()) * sizeof(char16_t));
        h = MixHash(h, pair(p.width, p.height));
        h = MixHash(h, pair(p.textX, p.textY));
        return MixHash(h, p.ground);
    }
    KeptTable<Entry, 4096> m_stamps;
};
