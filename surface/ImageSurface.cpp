// SPDX-License-Identifier: MIT
#include "ImageSurface.h"

#include "DeviceText.h"
#include "Rasterize.h"
#include "TextInk.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// Device coordinates are pulled in to +-2^26, far beyond any surface yet
// small enough for the rasterisers' 64-bit arithmetic.
constexpr float Limit = 1 << 26;

// Rounds a coordinate to the nearest pixel, halves to even as PSet does,
// within the limit; NaN is put at the origin.
std::int64_t ToPixel(float v) {
    if (std::isnan(v))
        return 0;
    const float held = std::clamp(v, -Limit, Limit);
#if defined(__SSE2__) && defined(__x86_64__)
    // One instruction, rounding as std::rint does, which is a library call here.
    return _mm_cvtss_si64(_mm_set_ss(held));
#else
    return static_cast<std::int64_t>(std::rint(held));
#endif
}

// The first device pixel of each of `count` logical pixels, and the end of
// the last: neighbours share their edge, so blocks neither gap nor overlap.
std::vector<int> DeviceEdges(int count, qreal ratio) {
    std::vector<int> edges(static_cast<std::size_t>(count) + 1);
    for (int i = 0; i <= count; ++i)
        edges[static_cast<std::size_t>(i)] = ImageSurface::deviceEdge(i, ratio);
    return edges;
}

void SetUpTextPainter(QPainter& painter, const QFont& font) {
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setFont(font);
}

// Texts painted once are kept per thread, so that every surface of a thread
// (the window's charts, a render's pictures one after another) shares them.
// Every surface prints in printFont(), so a text and a ratio name its pixels.
TextInks& ThreadTextInks() {
    thread_local TextInks inks;
    return inks;
}

LabelStamps& ThreadLabelStamps() {
    thread_local LabelStamps stamps;
    return stamps;
}

} // namespace

ImageSurface::ImageSurface(QSize logicalSize, qreal devicePixelRatio) : m_size(logicalSize) {
    const QFontMetrics metrics(m_font);
    m_ascent = metrics.ascent();
    m_lineHeight = metrics.height();
    allocate(devicePixelRatio);
}

void ImageSurface::allocate(qreal ratio) {
    endPainting();
    m_ratio = std::isfinite(ratio) && ratio > 0 ? ratio : 1.0;
    m_pen = penWidth(m_ratio);
    if (m_ratio == 1) {
        m_columnEdges.clear();
        m_rowEdges.clear();
        m_image = QImage(m_size, QImage::Format_RGB32);
    } else {
        m_columnEdges = DeviceEdges(m_size.width(), m_ratio);
        m_rowEdges = DeviceEdges(m_size.height(), m_ratio);
        // The image itself stays at a ratio of 1, so that text is painted
        // in device pixels (see drawText); copies carry the ratio.
        m_image = QImage(m_columnEdges.back(), m_rowEdges.back(), QImage::Format_RGB32);
    }
    m_image.fill(Background);
    refreshRaster();
}

void ImageSurface::setDevicePixelRatio(qreal ratio) {
    if (ratio == m_ratio)
        return;
    allocate(ratio);
    changed();
}

std::int64_t ImageSurface::toDevice(float v) const {
    if (m_ratio == 1)
        return ToPixel(v);
    return toDeviceScaled(v);
}

std::int64_t ImageSurface::toDeviceScaled(float v) const {
    if (std::isnan(v))
        return 0;
    // The pen is centred on the logical pixel's centre.
    const double device = std::floor((double{v} + 0.5) * m_ratio - m_pen / 2.0 + 0.5);
    return static_cast<std::int64_t>(std::clamp<double>(device, -Limit, Limit));
}

ImageSurface::~ImageSurface() {
    endPainting();
}

QFont ImageSurface::printFont() {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(11);
    font.setStyleStrategy(QFont::NoAntialias);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

QImage ImageSurface::image() const {
    endPainting();
    QImage copy = m_image.copy();
    copy.setDevicePixelRatio(m_ratio);
    return copy;
}

const QImage& ImageSurface::pixels() const {
    endPainting();
    return m_image;
}

QRgb ImageSurface::pixel(int x, int y) const {
    endPainting();
    return m_image.pixel(x, y);
}

void ImageSurface::present(QPainter& painter, const QRect& target, const QRect& source) const {
    endPainting();
    if (m_ratio == 1)
        painter.drawImage(target, m_image, source);
    else
        painter.drawImage(QRectF(target), m_image,
                          QRectF(source.x() * m_ratio, source.y() * m_ratio,
                                 source.width() * m_ratio, source.height() * m_ratio));
}

QPointF ImageSurface::readingPoint(QPointF p) const {
    if (m_ratio == 1)
        return p;
    const auto along = [this](qreal v, const std::vector<int>& edges) {
        // A pointer on device pixel i is at i / ratio; the margin absorbs
        // the division's rounding.
        const double device = std::floor(v * m_ratio + 1e-6);
        if (!(device >= edges.front() && device < edges.back()))
            return v;
        const auto next = std::upper_bound(edges.begin(), edges.end(), static_cast<int>(device));
        const auto pixel = static_cast<double>(next - edges.begin() - 1);
        return std::clamp<double>(v, pixel, std::nextafter(pixel + 1, pixel));
    };
    return {along(p.x(), m_columnEdges), along(p.y(), m_rowEdges)};
}

QPainter& ImageSurface::painter() {
    if (!m_painter) {
        m_painter = std::make_unique<QPainter>(&m_image);
        SetUpTextPainter(*m_painter, m_font);
        refreshRaster();
    }
    changed();
    return *m_painter;
}

void ImageSurface::endPainting() const {
    m_painter.reset();
}

void ImageSurface::clearPixels() {
    endPainting();
    m_image.fill(Background);
    refreshRaster();
    changed();
}

void ImageSurface::fillDevice(const DevicePixels& image, std::int64_t left, std::int64_t top,
                              std::int64_t right, std::int64_t bottom, QRgb colour) {
    left = std::max<std::int64_t>(left, 0);
    top = std::max<std::int64_t>(top, 0);
    right = std::min<std::int64_t>(right, image.width);
    bottom = std::min<std::int64_t>(bottom, image.height);
    if (left >= right || top >= bottom)
        return;
    if (right - left == 1) { // a column, as an outline's sides are
        uchar* pixel =
            image.bits + static_cast<std::size_t>(top) * image.bytesPerLine + left * sizeof(QRgb);
        for (std::int64_t row = top; row < bottom; ++row, pixel += image.bytesPerLine)
            *reinterpret_cast<QRgb*>(pixel) = colour;
        return;
    }
    for (std::int64_t row = top; row < bottom; ++row) {
        QRgb* line = reinterpret_cast<QRgb*>(image.bits +
                                             static_cast<std::size_t>(row) * image.bytesPerLine);
        std::fill(line + left, line + right, colour);
    }
}

void ImageSurface::drawLine(float x1, float y1, float x2, float y2, QRgb colour) {
    // As drawLines does for each line, with the image looked up only for a
    // fill: the polar plot draws slanted lines by the hundred.
    const std::int64_t left = toDevice(x1), top = toDevice(y1);
    const std::int64_t right = toDevice(x2), bottom = toDevice(y2);
    if (left == right || top == bottom) // along a row or a column: its pens make a rectangle
        fillDevice(devicePixels(), std::min(left, right), std::min(top, bottom),
                   std::max(left, right) + m_pen, std::max(top, bottom) + m_pen, colour);
    else
        RasterLine(m_image, left, top, right, bottom, colour, m_pen);
    changed();
}

void ImageSurface::drawLines(std::span<const SurfaceLine> lines) {
    // The image is looked up once for all the lines: a mark's outline is
    // eight lines of a few pixels each, for which a call apiece costs more
    // than the pixels.
    const DevicePixels image = devicePixels();
    for (const SurfaceLine& line : lines) {
        const std::int64_t left = toDevice(line.x1), top = toDevice(line.y1);
        const std::int64_t right = toDevice(line.x2), bottom = toDevice(line.y2);
        if (left == right || top == bottom) // along a row or a column: its pens make a rectangle
            fillDevice(image, std::min(left, right), std::min(top, bottom),
                       std::max(left, right) + m_pen, std::max(top, bottom) + m_pen, line.colour);
        else
            RasterLine(m_image, left, top, right, bottom, line.colour, m_pen);
    }
    changed();
}

void ImageSurface::drawTwoToneOutline(const QRect& box, const QRect& clip, bool openTop,
                                      bool openBottom, QRgb inner, QRgb outer) {
    // At a whole ratio (100 %, 200 % ...) each logical pixel of the outline
    // is a block of device pixels, and the outline is written a row at a
    // time: on the box's rows each side's two tones are neighbours, at 100 %
    // in one write, where a line at a time would visit every row four times.
    // The two tones' blocks never meet, so the order of the lines does not
    // show. Elsewhere (other ratios, boxes that the clip cuts), the lines.
    // The clip cut to the image, and whether the box lies in it, inline:
    // a chart's marks come here by the thousand.
    const int k = static_cast<int>(m_ratio);
    const QRect within(QPoint(std::max(clip.left(), 0), std::max(clip.top(), 0)),
                       QPoint(std::min(clip.right(), m_size.width() - 1),
                              std::min(clip.bottom(), m_size.height() - 1)));
    if (m_ratio != k || k < 1 || k > 8 || box.left() < within.left() ||
        box.right() > within.right() || box.top() < within.top() ||
        box.bottom() > within.bottom() || box.left() > box.right() || box.top() > box.bottom()) {
        DrawingSurface::drawTwoToneOutline(box, clip, openTop, openBottom, inner, outer);
        return;
    }
    const int l = box.left(), r = box.right(), t = box.top(), b = box.bottom();
    const bool outerLeft = l - 1 >= within.left(), outerRight = r + 1 <= within.right();
    const DevicePixels image = devicePixels();
    const auto row = [&image](int y) {
        return reinterpret_cast<QRgb*>(image.bits + std::size_t(y) * image.bytesPerLine);
    };
    // The device pixels of logical row y from column `from` to `to`.
    const auto span = [&](int y, int from, int to, QRgb colour) {
        for (int d = 0; d < k; ++d) {
            QRgb* line = row(y * k + d);
            std::fill(line + from * k, line + (to + 1) * k, colour);
        }
    };
    // The rows just above and below the box: the outer line across it, or
    // on an open side only the ends of the outer sides.
    const auto outerRow = [&](int y, bool open) {
        if (!open) {
            span(y, outerLeft ? l - 1 : l, outerRight ? r + 1 : r, outer);
            return;
        }
        if (outerLeft)
            span(y, l - 1, l - 1, outer);
        if (outerRight)
            span(y, r + 1, r + 1, outer);
    };
    if (t - 1 >= within.top())
        outerRow(t - 1, openTop);
    if (b + 1 <= within.bottom())
        outerRow(b + 1, openBottom);
    if (k == 1) {
        // Pixels in memory order: the outer tone left of the inner one on
        // the left side, right of it on the right side.
        const std::uint64_t leftPair = outer | std::uint64_t{inner} << 32;
        const std::uint64_t rightPair = inner | std::uint64_t{outer} << 32;
        for (int y = t; y <= b; ++y) {
            QRgb* line = row(y);
            if (outerLeft)
                std::memcpy(line + l - 1, &leftPair, sizeof leftPair);
            else
                line[l] = inner;
            if (outerRight)
                std::memcpy(line + r, &rightPair, sizeof rightPair);
            else
                line[r] = inner;
        }
    } else {
        for (int y = t; y <= b; ++y) {
            if (outerLeft)
                span(y, l - 1, l - 1, outer);
            span(y, l, l, inner);
            span(y, r, r, inner);
            if (outerRight)
                span(y, r + 1, r + 1, outer);
        }
    }
    if (!openTop)
        span(t, l, r, inner);
    if (!openBottom)
        span(b, l, r, inner);
    changed();
}

void ImageSurface::drawBox(float x1, float y1, float x2, float y2, QRgb colour) {
    // The outline runs along the corner pixels themselves.
    const std::int64_t left = toDevice(x1), top = toDevice(y1);
    const std::int64_t right = toDevice(x2), bottom = toDevice(y2);
    RasterLine(m_image, left, top, right, top, colour, m_pen);
    RasterLine(m_image, right, top, right, bottom, colour, m_pen);
    RasterLine(m_image, right, bottom, left, bottom, colour, m_pen);
    RasterLine(m_image, left, bottom, left, top, colour, m_pen);
    changed();
}

void ImageSurface::drawFilledBox(float x1, float y1, float x2, float y2, QRgb colour) {
    // The device rows that the lines along the rows cover, each filled once;
    // rows that cannot reach the image are skipped.
    const std::int64_t left = std::max<std::int64_t>(std::min(toDevice(x1), toDevice(x2)), 0);
    const std::int64_t right =
        std::min<std::int64_t>(std::max(toDevice(x1), toDevice(x2)) + m_pen, m_image.width());
    float y = std::min(y1, y2);
    if (y < -4)
        y = -4 + (y - std::floor(y));
    const float last = std::min(std::max(y1, y2), static_cast<float>(m_size.height() + 4));
    std::int64_t filled = 0;
    const DevicePixels image = devicePixels();
    for (; left < right && y <= last; ++y) {
        const std::int64_t top = toDevice(y);
        fillDevice(image, left, std::max(top, filled), right, top + m_pen, colour);
        filled = std::max(filled, top + m_pen);
    }
    changed();
}

void ImageSurface::drawPixel(float x, float y, QRgb colour) {
    // PSet takes this path only while no change is pending; writing the
    // pixel reports the change and hands PSet the raster for the rest.
    const std::size_t column = nearestPixel(x);
    const std::size_t row = nearestPixel(y);
    if (column < static_cast<std::size_t>(m_size.width()) &&
        row < static_cast<std::size_t>(m_size.height())) {
        writeCell(rasterView(), column, row, colour);
        changed();
    }
}

void ImageSurface::drawCircle(float cx, float cy, float radius, QRgb colour) {
    RasterCircle(m_image, toDevice(cx), toDevice(cy), ToPixel(radius * static_cast<float>(m_ratio)),
                 colour, m_pen);
    changed();
}

QPoint ImageSurface::textBaseline(float x, float y) const {
    return {static_cast<int>(ToPixel(x)), static_cast<int>(ToPixel(y)) + m_ascent};
}

void ImageSurface::printWith(QPainter& painter, QPoint baseline, const QString& text) {
    SetUpTextPainter(painter, m_font);
    painter.setPen(QColor::fromRgb(Foreground));
    if (m_ratio == 1)
        painter.drawText(baseline, text);
    else
        DrawTextAtRatio(painter, m_font, baseline, text, m_ratio, m_deviceFont);
}

const std::vector<InkRun>* ImageSurface::keptInk(float x, float y, const QString& text,
                                                 QPoint& origin) {
    origin = DeviceOrigin(textBaseline(x, y), m_ratio);
    const auto measure = [&] {
        return QSize(QFontMetrics(m_font).horizontalAdvance(text), m_lineHeight);
    };
    const auto paint = [&](QPainter& scratch, QPoint at) { printWith(scratch, at, text); };
    return ThreadTextInks().find(text, m_ratio, measure, paint);
}

void ImageSurface::paintText(float x, float y, const QString& text) {
    printWith(painter(), textBaseline(x, y), text);
}

float ImageSurface::drawText(float x, float y, const QString& text) {
    QPoint origin;
    const std::vector<InkRun>* ink = keptInk(x, y, text, origin);
    if (!ink) {
        paintText(x, y, text);
        return static_cast<float>(m_lineHeight);
    }
    const int width = m_image.width(), height = m_image.height();
    uchar* const bits = m_image.bits();
    const auto bytesPerLine = static_cast<std::size_t>(m_image.bytesPerLine());
    for (const InkRun& run : *ink) {
        const std::int64_t row = std::int64_t{origin.y()} + run.dy;
        const std::int64_t left = std::max<std::int64_t>(std::int64_t{origin.x()} + run.dx, 0);
        const std::int64_t right =
            std::min<std::int64_t>(std::int64_t{origin.x()} + run.dx + run.length, width);
        if (row < 0 || row >= height || left >= right)
            continue;
        QRgb* line = reinterpret_cast<QRgb*>(bits + static_cast<std::size_t>(row) * bytesPerLine);
        std::fill(line + left, line + right, run.colour);
    }
    changed();
    return static_cast<float>(m_lineHeight);
}

float ImageSurface::drawTextOnBox(float x1, float y1, float x2, float y2, QRgb ground, float x,
                                  float y, const QString& text) {
    // A label drawn again on its ground, at a ratio of 1 and on whole
    // pixels, is its ground and ink together copied a row at a time from the
    // pixels they left the first time; elsewhere the ground is filled and
    // the text printed.
    // (Whole within the limit: a conversion there and back, where floor is
    // a library call.)
    const auto whole = [](float v) { return std::abs(v) < Limit && v == float(int(v)); };
    if (m_ratio != 1 || !whole(x1) || !whole(y1) || !whole(x2) || !whole(y2) || !whole(x) ||
        !whole(y) || x1 > x2 || y1 > y2 || x1 < 0 || y1 < 0 || x2 >= float(m_size.width()) ||
        y2 >= float(m_size.height())) {
        drawFilledBox(x1, y1, x2, y2, ground);
        return drawText(x, y, text);
    }
    const int left = int(x1), top = int(y1);
    const LabelStamp::Place key{int(x2) - left + 1, int(y2) - top + 1, int(x) - left, int(y) - top,
                                ground};
    const LabelStamp* stamp = ThreadLabelStamps().find(text, key);
    if (!stamp) {
        QPoint origin;
        const std::vector<InkRun>* ink = keptInk(x, y, text, origin);
        if (!ink) {
            drawFilledBox(x1, y1, x2, y2, ground);
            paintText(x, y, text);
            return static_cast<float>(m_lineHeight);
        }
        stamp = ThreadLabelStamps().make(text, key, *ink, origin - QPoint(left, top));
    }
    if (!stamp->whole) { // ink beyond the ground
        drawFilledBox(x1, y1, x2, y2, ground);
        return drawText(x, y, text);
    }
    uchar* const bits = m_image.bits();
    const auto bytesPerLine = static_cast<std::size_t>(m_image.bytesPerLine());
    const std::size_t rowBytes = std::size_t(key.width) * sizeof(QRgb);
    for (int r = 0; r < key.height; ++r)
        std::memcpy(bits + std::size_t(top + r) * bytesPerLine + std::size_t(left) * sizeof(QRgb),
                    stamp->pixels.data() + std::size_t(r) * std::size_t(key.width), rowBytes);
    changed();
    return static_cast<float>(m_lineHeight);
}

QPoint ImageSurface::devicePixelAt(QPointF p, qreal ratio) {
    // readingPoint leaves a point on its device pixel, or pulls it to the
    // near edge of the logical pixel whose block holds that device pixel:
    // then the device pixel is that block's first or last one.
    const auto along = [ratio](qreal v) {
        const int logical = static_cast<int>(std::floor(v));
        const int device = static_cast<int>(std::floor(v * ratio + 1e-6));
        return std::clamp(device, deviceEdge(logical, ratio), deviceEdge(logical + 1, ratio) - 1);
    };
    return {along(p.x()), along(p.y())};
}

void ImageSurface::drawCells(int left, int top, int right, int bottom, int columns, int rows,
                             const QRgb* cells) {
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, m_size.width() - 1);
    bottom = std::min(bottom, m_size.height() - 1);
    if (left > right || top > bottom || columns <= 0 || rows <= 0)
        return;
    endPainting();
    const int x0 = deviceEdge(left, m_ratio), x1 = deviceEdge(right + 1, m_ratio);
    const int y0 = deviceEdge(top, m_ratio), y1 = deviceEdge(bottom + 1, m_ratio);
    const int width = x1 - x0, height = y1 - y0;
    std::vector<int> cellColumn(static_cast<std::size_t>(width));
    for (int x = 0; x < width; ++x)
        cellColumn[static_cast<std::size_t>(x)] =
            static_cast<int>(std::int64_t(x) * columns / width);
    int drawnRow = -1;
    const QRgb* drawnLine = nullptr;
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(m_image.scanLine(y1 - 1 - y)) + x0;
        const int row = static_cast<int>(std::int64_t(y) * rows / height);
        if (row == drawnRow) {
            // A block's further rows repeat its first.
            std::copy(drawnLine, drawnLine + width, line);
            continue;
        }
        const QRgb* source = cells + std::size_t(row) * std::size_t(columns);
        for (int x = 0; x < width; ++x)
            line[x] = source[cellColumn[static_cast<std::size_t>(x)]];
        drawnRow = row;
        drawnLine = line;
    }
    changed();
}
