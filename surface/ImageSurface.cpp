// SPDX-License-Identifier: MIT
#include "ImageSurface.h"

#include "Rasterize.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

// Rounds a coordinate to the nearest pixel, halves to even as PSet does.
// Coordinates are pulled in to +-2^26, far beyond any surface yet small enough
// for the rasterisers' 64-bit arithmetic; NaN is put at the origin.
std::int64_t ToPixel(float v) {
    constexpr float Limit = 1 << 26;
    if (std::isnan(v))
        return 0;
    return static_cast<std::int64_t>(std::rint(std::clamp(v, -Limit, Limit)));
}

} // namespace

ImageSurface::ImageSurface(QSize size) : m_image(size, QImage::Format_RGB32) {
    m_image.fill(Background);
    refreshRaster();
}

ImageSurface::~ImageSurface() {
    endPainting();
}

QFont ImageSurface::PrintFont() {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(11);
    font.setStyleStrategy(QFont::NoAntialias);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

QImage ImageSurface::image() const {
    endPainting();
    return m_image.copy();
}

QRgb ImageSurface::pixel(int x, int y) const {
    endPainting();
    return m_image.pixel(x, y);
}

void ImageSurface::present(QPainter& painter, const QRect& target, const QRect& source) const {
    endPainting();
    painter.drawImage(target, m_image, source);
}

QPainter& ImageSurface::painter() {
    if (!m_painter) {
        m_painter = std::make_unique<QPainter>(&m_image);
        m_painter->setRenderHint(QPainter::Antialiasing, false);
        m_painter->setRenderHint(QPainter::TextAntialiasing, false);
        m_painter->setFont(m_font);
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

void ImageSurface::drawLine(float x1, float y1, float x2, float y2, QRgb colour) {
    RasterLine(m_image, ToPixel(x1), ToPixel(y1), ToPixel(x2), ToPixel(y2), colour);
    changed();
}

void ImageSurface::drawBox(float x1, float y1, float x2, float y2, QRgb colour) {
    // The outline runs along the corner pixels themselves.
    const std::int64_t left = ToPixel(x1), top = ToPixel(y1);
    const std::int64_t right = ToPixel(x2), bottom = ToPixel(y2);
    RasterLine(m_image, left, top, right, top, colour);
    RasterLine(m_image, right, top, right, bottom, colour);
    RasterLine(m_image, right, bottom, left, bottom, colour);
    RasterLine(m_image, left, bottom, left, top, colour);
    changed();
}

void ImageSurface::drawPixel(float x, float y, QRgb colour) {
    // PSet takes this path only while no change is pending; writing the
    // pixel reports the change and hands PSet the raster for the rest.
    const std::size_t column = NearestPixel(x);
    const std::size_t row = NearestPixel(y);
    if (column < static_cast<std::size_t>(m_image.width()) &&
        row < static_cast<std::size_t>(m_image.height())) {
        m_image.setPixel(static_cast<int>(column), static_cast<int>(row), colour);
        changed();
    }
}

void ImageSurface::drawCircle(float cx, float cy, float radius, QRgb colour) {
    RasterCircle(m_image, ToPixel(cx), ToPixel(cy), ToPixel(radius), colour);
    changed();
}

float ImageSurface::drawText(float x, float y, const QString& text) {
    QPainter& p = painter();
    p.setPen(QColor::fromRgb(Foreground));
    const QFontMetrics metrics(m_font);
    p.drawText(
        QPoint(static_cast<int>(ToPixel(x)), static_cast<int>(ToPixel(y)) + metrics.ascent()),
        text);
    return static_cast<float>(metrics.height());
}
