// SPDX-License-Identifier: MIT
#include "TextInk.h"

#include <QImage>
#include <QPainter>

#include <cmath>
#include <optional>

namespace {

constexpr QRgb Light = 0xffffffff;
constexpr QRgb Dark = 0xff000000;

QImage Painted(QSize size, QRgb background, QPoint baseline, const TextPaint& paint) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(background);
    QPainter painter(&image);
    paint(painter, baseline);
    return image;
}

QRgb At(const QImage& image, int x, int y) {
    return reinterpret_cast<const QRgb*>(image.constScanLine(y))[x];
}

// The runs of the pixels that the text painted alike on the light and the
// dark image, relative to its origin on the light one; nothing when a pixel
// differs otherwise (ink that blends) or ink reaches the light image's edge
// (ink that may have been cut off). The dark image holds the light one's
// area moved by `shift`.
std::optional<std::vector<InkRun>> CommonInk(const QImage& light, QPoint origin, const QImage& dark,
                                             QPoint shift) {
    std::vector<InkRun> runs;
    const int width = light.width(), height = light.height();
    for (int y = 0; y < dark.height(); ++y)
        for (int x = 0; x < dark.width(); ++x)
            if ((x < shift.x() || y < shift.y()) && At(dark, x, y) != Dark)
                return std::nullopt;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const QRgb l = At(light, x, y), d = At(dark, x + shift.x(), y + shift.y());
            if (l == Light && d == Dark)
                continue;
            if (l != d || x == 0 || y == 0 || x == width - 1 || y == height - 1)
                return std::nullopt;
            InkRun* last = runs.empty() ? nullptr : &runs.back();
            if (last && last->dy == y - origin.y() && last->dx + last->length == x - origin.x() &&
                last->colour == l)
                ++last->length;
            else
                runs.push_back({x - origin.x(), y - origin.y(), 1, l});
        }
    }
    return runs;
}

} // namespace

QPoint DeviceOrigin(QPoint baseline, qreal ratio) {
    if (ratio == 1)
        return baseline;
    return {static_cast<int>(std::lround(baseline.x() * ratio)),
            static_cast<int>(std::round(baseline.y() * ratio))};
}

TextInks::Ink* TextInks::seen(const QString& text, qreal ratio) {
    Key key{text, ratio};
    const auto found = m_inks.find(key);
    if (found != m_inks.end())
        return &found->second;
    if (m_inks.size() >= Capacity)
        m_inks.clear();
    m_inks.emplace(std::move(key), Ink{});
    return nullptr;
}

void TextInks::render(Ink& ink, qreal ratio, QSize extent, const TextPaint& paint) {
    ink.rendered = true;
    // Room for glyphs reaching a line's height beyond the advance and the
    // line on every side.
    const int margin = extent.height() + 4;
    const QSize logical(extent.width() + 2 * margin, extent.height() + 2 * margin);
    const QSize size(static_cast<int>(std::ceil(logical.width() * ratio)),
                     static_cast<int>(std::ceil(logical.height() * ratio)));
    const QPoint baseline(margin, margin + extent.height());
    const QPoint moved = baseline + QPoint(1, 1);
    const QPoint origin = DeviceOrigin(baseline, ratio);
    const QPoint shift = DeviceOrigin(moved, ratio) - origin;
    const QImage light = Painted(size, Light, baseline, paint);
    const QImage dark = Painted(size + QSize(shift.x(), shift.y()), Dark, moved, paint);
    std::optional<std::vector<InkRun>> runs = CommonInk(light, origin, dark, shift);
    ink.kept = runs.has_value();
    if (runs)
        ink.runs = std::move(*runs);
}

const LabelStamp* LabelStamps::make(const QString& text, const LabelStamp::Place& key,
                                    const std::vector<InkRun>& ink, QPoint origin) {
    LabelStamp stamp;
    stamp.whole = true;
    stamp.pixels.assign(std::size_t(key.width) * std::size_t(key.height), key.ground);
    for (const InkRun& run : ink) {
        const int row = origin.y() + run.dy, left = origin.x() + run.dx;
        if (row < 0 || row >= key.height || left < 0 || left + run.length > key.width) {
            stamp.whole = false;
            stamp.pixels.clear();
            break;
        }
        QRgb* line = stamp.pixels.data() + std::size_t(row) * std::size_t(key.width);
        std::fill(line + left, line + left + run.length, run.colour);
    }
    return &m_stamps.add(hash(text, key), {LabelStamp::Key{text, key}, std::move(stamp)}).second;
}
