// SPDX-License-Identifier: MIT
#include "DrawingSurface.h"

#include <algorithm>
#include <array>
#include <charconv>

void DrawingSurface::Cls() {
    clearPixels();
    m_currentX = 0;
    m_currentY = 0;
}

void DrawingSurface::Line(SurfacePoint from, SurfacePoint to, std::optional<QRgb> colour,
                          LineShape shape) {
    const float x1 = from.step ? m_currentX + from.x : from.x;
    const float y1 = from.step ? m_currentY + from.y : from.y;
    const float x2 = to.step ? x1 + to.x : to.x;
    const float y2 = to.step ? y1 + to.y : to.y;
    if (shape == LineShape::Box)
        drawBox(x1, y1, x2, y2, colour.value_or(Foreground));
    else if (shape == LineShape::FilledBox)
        drawFilledBox(x1, y1, x2, y2, colour.value_or(Foreground));
    else
        drawLine(x1, y1, x2, y2, colour.value_or(Foreground));
    m_currentX = x2;
    m_currentY = y2;
}

void DrawingSurface::Lines(std::span<const SurfaceLine> lines) {
    if (lines.empty())
        return;
    drawLines(lines);
    m_currentX = lines.back().x2;
    m_currentY = lines.back().y2;
}

void DrawingSurface::drawLines(std::span<const SurfaceLine> lines) {
    for (const SurfaceLine& line : lines)
        drawLine(line.x1, line.y1, line.x2, line.y2, line.colour);
}

void DrawingSurface::drawTwoToneOutline(const QRect& box, const QRect& clip, bool openTop,
                                        bool openBottom, QRgb inner, QRgb outer) {
    std::array<SurfaceLine, 8> lines;
    std::size_t count = 0;
    const auto horizontal = [&](int x1, int x2, int y, QRgb colour) {
        if (y >= clip.top() && y <= clip.bottom())
            lines[count++] = {float(std::max(x1, clip.left())), float(y),
                              float(std::min(x2, clip.right())), float(y), colour};
    };
    const auto vertical = [&](int x, int y1, int y2, QRgb colour) {
        if (x >= clip.left() && x <= clip.right())
            lines[count++] = {float(x), float(std::max(y1, clip.top())), float(x),
                              float(std::min(y2, clip.bottom())), colour};
    };
    const int l = box.left(), r = box.right(), t = box.top(), b = box.bottom();
    vertical(l - 1, t - 1, b + 1, outer);
    vertical(r + 1, t - 1, b + 1, outer);
    if (!openTop)
        horizontal(l - 1, r + 1, t - 1, outer);
    if (!openBottom)
        horizontal(l - 1, r + 1, b + 1, outer);
    vertical(l, t, b, inner);
    vertical(r, t, b, inner);
    if (!openTop)
        horizontal(l, r, t, inner);
    if (!openBottom)
        horizontal(l, r, b, inner);
    drawLines({lines.data(), count});
}

void DrawingSurface::drawFilledBox(float x1, float y1, float x2, float y2, QRgb colour) {
    // Past 2^24 a float no longer steps by one.
    for (float y = std::min(y1, y2); y <= std::max(y1, y2) && y + 1 != y; ++y)
        drawLine(x1, y, x2, y, colour);
}

void DrawingSurface::LineTo(SurfacePoint to, std::optional<QRgb> colour) {
    Line(SurfacePoint{m_currentX, m_currentY}, to, colour);
}

void DrawingSurface::PSetColumnUp(float x, float y, const QRgb* colours, std::size_t count) {
    const std::size_t column = nearestPixel(x);
    const std::size_t bottom = nearestPixel(y);
    // Whole rows only: those of y - i are then exactly bottom - i.
    if (!m_raster.bits || count == 0 || static_cast<float>(bottom) != y ||
        column >= m_raster.width || bottom >= m_raster.height || count > bottom + 1) {
        for (std::size_t i = 0; i < count; ++i)
            PSet(x, y - static_cast<float>(i), colours[i]);
        return;
    }
    m_currentX = x;
    m_currentY = y - static_cast<float>(count - 1);
    if (m_raster.columnEdges) {
        for (std::size_t i = 0; i < count; ++i)
            writeCell(m_raster, column, bottom - i, colours[i]);
        return;
    }
    unsigned char* pixel = m_raster.bits + bottom * m_raster.bytesPerLine + column * sizeof(QRgb);
    for (std::size_t i = 0; i < count; ++i, pixel -= m_raster.bytesPerLine)
        *reinterpret_cast<QRgb*>(pixel) = colours[i];
}

void DrawingSurface::drawCells(int left, int top, int right, int bottom, int columns, int rows,
                               const QRgb* cells) {
    const int width = right - left + 1, height = bottom - top + 1;
    for (int y = 0; y < height; ++y) {
        const QRgb* row = cells + std::size_t(y * rows / height) * std::size_t(columns);
        for (int x = 0; x < width; ++x)
            drawPixel(static_cast<float>(left + x), static_cast<float>(bottom - y),
                      row[x * columns / width]);
    }
}

void DrawingSurface::Circle(SurfacePoint centre, float radius, std::optional<QRgb> colour) {
    const float cx = centre.step ? m_currentX + centre.x : centre.x;
    const float cy = centre.step ? m_currentY + centre.y : centre.y;
    drawCircle(cx, cy, radius, colour.value_or(Foreground));
    m_currentX = cx;
    m_currentY = cy;
}

void DrawingSurface::Print(const QString& text) {
    const float lineHeight = drawText(m_currentX, m_currentY, text);
    m_currentX = 0;
    m_currentY += lineHeight;
}

void DrawingSurface::PrintOnBox(float x1, float y1, float x2, float y2, QRgb ground, float x,
                                float y, const QString& text) {
    const float lineHeight = drawTextOnBox(x1, y1, x2, y2, ground, x, y, text);
    m_currentX = 0;
    m_currentY = y + lineHeight;
}

float DrawingSurface::drawTextOnBox(float x1, float y1, float x2, float y2, QRgb ground, float x,
                                    float y, const QString& text) {
    drawFilledBox(x1, y1, x2, y2, ground);
    return drawText(x, y, text);
}

void DrawingSurface::Print(double number) {
    Print(printedNumber(number));
}

QString DrawingSurface::printedNumber(double number) {
    char digits[32];
    const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, number);
    const QString text = QString::fromLatin1(digits, ec == std::errc() ? end - digits : 0);
    return (number < 0 ? QString() : QStringLiteral(" ")) + text + QLatin1Char(' ');
}
