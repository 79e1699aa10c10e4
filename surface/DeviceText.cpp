// SPDX-License-Identifier: MIT
#include "DeviceText.h"

#include <QFontMetrics>
#include <QGlyphRun>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

QRawFont DeviceFont::at(const QRawFont& font, qreal ratio) {
    if (font != m_font || ratio != m_ratio) {
        m_font = font;
        m_ratio = ratio;
        m_device = font;
        m_device.setPixelSize(font.pixelSize() * ratio);
    }
    return m_device;
}

namespace {

// The pixels each of the gaps between consecutive glyphs gives up so that
// `excess` pixels go: as evenly as whole pixels allow, and where some must
// give one more, the widest gaps (`gaps`, their natural widths) first. A
// negative excess widens the narrowest gaps first.
QList<int> GapCuts(const QList<int>& gaps, int excess) {
    const auto count = static_cast<int>(gaps.size());
    QList<int> cuts(count, 0);
    if (count == 0)
        return cuts;
    const int sign = excess < 0 ? -1 : 1;
    const int each = std::abs(excess) / count;
    int rest = std::abs(excess) % count;
    cuts.fill(sign * each);
    // The gaps by width, widest first when cutting; of a width that gets
    // only some of the rest, gaps spread evenly along the text.
    std::vector<int> order(static_cast<std::size_t>(count));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return sign > 0 ? gaps[a] > gaps[b] : gaps[a] < gaps[b];
    });
    for (std::size_t first = 0; first < order.size() && rest > 0;) {
        std::size_t last = first;
        while (last < order.size() && gaps[order[last]] == gaps[order[first]])
            ++last;
        const auto size = static_cast<int>(last - first);
        const int taken = std::min(rest, size);
        for (int k = 0; k < taken; ++k)
            cuts[order[first + static_cast<std::size_t>((2 * k + 1) * size / (2 * taken))]] += sign;
        rest -= taken;
        first = last;
    }
    return cuts;
}

struct Glyph {
    qsizetype run = 0;
    int advance = 0;
    // The ink's extent from the glyph's origin; empty for a space.
    int inkLeft = 0;
    int inkRight = 0;
};

} // namespace

void DrawTextAtRatio(QPainter& painter, const QFont& font, QPoint baseline, const QString& text,
                     qreal ratio, DeviceFont& deviceFont) {
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    // Runs of one font each (a fallback font for a character the font lacks),
    // left to right.
    QList<QGlyphRun> runs = layout.glyphRuns();
    std::sort(runs.begin(), runs.end(), [](const QGlyphRun& a, const QGlyphRun& b) {
        return a.positions().value(0).x() < b.positions().value(0).x();
    });
    std::vector<Glyph> glyphs;
    for (qsizetype r = 0; r < runs.size(); ++r) {
        const QRawFont sized = deviceFont.at(runs[r].rawFont(), ratio);
        const QList<quint32> indexes = runs[r].glyphIndexes();
        const QList<QPointF> advances =
            sized.advancesForGlyphIndexes(indexes, QRawFont::KernedAdvances);
        for (qsizetype i = 0; i < indexes.size(); ++i) {
            const QRectF ink = sized.boundingRect(indexes[i]);
            glyphs.push_back({r, static_cast<int>(std::lround(advances[i].x())),
                              static_cast<int>(std::floor(ink.left())),
                              static_cast<int>(std::ceil(ink.right()))});
        }
        runs[r].setRawFont(sized);
    }
    if (glyphs.empty())
        return;

    // The gaps between one glyph's ink and the next one's, at the font's
    // own spacing; a space counts as ink of no width at its origin.
    QList<int> gaps;
    int natural = 0;
    for (std::size_t i = 0; i + 1 < glyphs.size(); ++i) {
        gaps.append(glyphs[i].advance + glyphs[i + 1].inkLeft - glyphs[i].inkRight);
        natural += glyphs[i].advance;
    }
    natural += glyphs.back().advance;
    const int width = QFontMetrics(font).horizontalAdvance(text) - 1;
    const auto target = static_cast<int>(std::lround(std::max(width, 0) * ratio));
    const QList<int> cuts = GapCuts(gaps, natural - target);

    std::vector<QList<QPointF>> positions(static_cast<std::size_t>(runs.size()));
    const qreal y = std::round(baseline.y() * ratio);
    auto x = static_cast<int>(std::lround(baseline.x() * ratio));
    for (std::size_t i = 0; i < glyphs.size(); ++i) {
        positions[static_cast<std::size_t>(glyphs[i].run)].append(QPointF(x, y));
        if (i + 1 < glyphs.size())
            x += glyphs[i].advance - cuts[static_cast<qsizetype>(i)];
    }
    for (qsizetype r = 0; r < runs.size(); ++r) {
        runs[r].setPositions(positions[static_cast<std::size_t>(r)]);
        painter.drawGlyphRun(QPointF(0, 0), runs[r]);
    }
}
