// SPDX-License-Identifier: MIT
#include "ImageSurface.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

// Rounds a coordinate to the nearest pixel. Coordinates far outside any
// surface are pulled in to a range that QPainter's fixed-point raster
// arithmetic handles; the surfaces here are a few hundred pixels wide, so such
// points are invisible either way.
int ToPixel(float v) {
    constexpr float Limit = 1 << 22;
    if (std::isnan(v))
        return 0;
    return static_cast<int>(std::lround(std::clamp(v, -Limit, Limit)));
}

} // namespace

ImageSurface::ImageSurface(QSize size)
    : m_image(size, QImage::Format_RGB32) {
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
    QPainter& p = painter();
    p.setPen(QPen(QColor::fromRgb(colour), 1));
    p.drawLine(ToPixel(x1), ToPixel(y1), ToPixel(x2), ToPixel(y2));
}

void ImageSurface::drawBox(float x1, float y1, float x2, float y2, QRgb colour) {
    // The outline runs along the corner pixels themselves: four one-pixel
    // strips, so that no pen-width convention can move an edge by a pixel.
    const int left = std::min(ToPixel(x1), ToPixel(x2));
    const int right = std::max(ToPixel(x1), ToPixel(x2));
    const int top = std::min(ToPixel(y1), ToPixel(y2));
    const int bottom = std::max(ToPixel(y1), ToPixel(y2));
    const QRect box(QPoint(left, top), QPoint(right, bottom));
    QPainter& p = painter();
    const QColor c = QColor::fromRgb(colour);
    p.fillRect(QRect(box.left(), box.top(), box.width(), 1), c);
    p.fillRect(QRect(box.left(), box.bottom(), box.width(), 1), c);
    p.fillRect(QRect(box.left(), box.top(), 1, box.height()), c);
    p.fillRect(QRect(box.right(), box.top(), 1, box.height()), c);
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
    QPainter& p = painter();
    p.setPen(QPen(QColor::fromRgb(colour), 1));
    p.setBrush(Qt::NoBrush);
    const int r = ToPixel(radius);
    p.drawEllipse(QPoint(ToPixel(cx), ToPixel(cy)), r, r);
}

float ImageSurface::drawText(float x, float y, const QString& text) {
    QPainter& p = painter();
    p.setPen(QColor::fromRgb(Foreground));
    const QFontMetrics metrics(m_font);
    p.drawText(QPoint(ToPixel(x), ToPixel(y) + metrics.ascent()), text);
    return static_cast<float>(metrics.height());
}
