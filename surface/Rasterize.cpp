// SPDX-License-Identifier: MIT
#include "Rasterize.h"

#include <algorithm>
#include <cstdlib>

namespace {

// Floor and ceiling of a / b for b > 0.
std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}
std::int64_t CeilDiv(std::int64_t a, std::int64_t b) {
    return -FloorDiv(-a, b);
}

// The image's pixels, looked up once per figure rather than once per pixel.
struct Pixels {
    explicit Pixels(QImage& image)
        : bits(image.bits()), bytesPerLine(image.bytesPerLine()), width(image.width()),
          height(image.height()) {}

    void plot(std::int64_t x, std::int64_t y, QRgb colour) const {
        if (static_cast<std::uint64_t>(x) < static_cast<std::uint64_t>(width) &&
            static_cast<std::uint64_t>(y) < static_cast<std::uint64_t>(height))
            reinterpret_cast<QRgb*>(bits + y * bytesPerLine)[x] = colour;
    }

    // A pen x pen square with its top-left pixel at (x, y), clipped.
    void stamp(std::int64_t x, std::int64_t y, std::int64_t pen, QRgb colour) const {
        if (pen == 1) {
            plot(x, y, colour);
            return;
        }
        const std::int64_t left = std::max<std::int64_t>(x, 0);
        const std::int64_t right = std::min(x + pen, width);
        const std::int64_t bottom = std::min(y + pen, height);
        for (std::int64_t row = std::max<std::int64_t>(y, 0); row < bottom; ++row) {
            QRgb* line = reinterpret_cast<QRgb*>(bits + row * bytesPerLine);
            for (std::int64_t column = left; column < right; ++column)
                line[column] = colour;
        }
    }

    // The w x h rectangle with its top-left pixel at (x, y), clipped.
    void fill(std::int64_t x, std::int64_t y, std::int64_t w, std::int64_t h, QRgb colour) const {
        const std::int64_t left = std::max<std::int64_t>(x, 0);
        const std::int64_t right = std::min(x + w, width);
        const std::int64_t bottom = std::min(y + h, height);
        if (left >= right)
            return;
        for (std::int64_t row = std::max<std::int64_t>(y, 0); row < bottom; ++row) {
            QRgb* line = reinterpret_cast<QRgb*>(bits + row * bytesPerLine);
            std::fill(line + left, line + right, colour);
        }
    }

    uchar* bits;
    std::int64_t bytesPerLine, width, height;
};

} // namespace

void RasterLine(QImage& image, std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1,
                QRgb colour, int pen) {
    // Walk the major axis u, the minor axis v following it. Step i sets
    // u = u0 + su * i and v = v0 + sv * q(i), q(i) = floor((2 i dv + du) / (2 du)).
    const Pixels pixels(image);
    const bool xMajor = std::abs(x1 - x0) >= std::abs(y1 - y0);
    const std::int64_t u0 = xMajor ? x0 : y0, v0 = xMajor ? y0 : x0;
    const std::int64_t u1 = xMajor ? x1 : y1, v1 = xMajor ? y1 : x1;
    const std::int64_t uSize = xMajor ? image.width() : image.height();
    const std::int64_t vSize = xMajor ? image.height() : image.width();
    const std::int64_t du = std::abs(u1 - u0), dv = std::abs(v1 - v0);
    const std::int64_t su = u1 >= u0 ? 1 : -1, sv = v1 >= v0 ? 1 : -1;

    if (du == 0) {
        pixels.stamp(x0, y0, pen, colour);
        return;
    }
    if (dv == 0) {
        // Along a row or a column (outlines, filled boxes): the pen's squares
        // make one rectangle, filled a row at a time.
        const std::int64_t from = std::min(u0, u1);
        if (xMajor)
            pixels.fill(from, v0, du + pen, pen, colour);
        else
            pixels.fill(v0, from, pen, du + pen, colour);
        return;
    }

    // A pen whose top-left pixel lies at `low` or further in still reaches
    // the image.
    const std::int64_t low = 1 - std::int64_t{pen};
    // Steps whose u lies inside the image.
    std::int64_t first = 0, last = du;
    if (su > 0) {
        first = std::max(first, low - u0);
        last = std::min(last, uSize - 1 - u0);
    } else {
        first = std::max(first, u0 - (uSize - 1));
        last = std::min(last, u0 - low);
    }
    // Steps whose v lies inside the image: q(i) within [qLow, qHigh].
    const std::int64_t qLow = sv > 0 ? low - v0 : v0 - (vSize - 1);
    const std::int64_t qHigh = sv > 0 ? vSize - 1 - v0 : v0 - low;
    if (qHigh < 0 || qLow > dv)
        return;
    if (dv > 0) {
        // q(i) >= qLow  <=>  2 i dv >= 2 du qLow - du
        first = std::max(first, CeilDiv(2 * du * qLow - du, 2 * dv));
        // q(i) <= qHigh <=>  2 i dv < 2 du (qHigh + 1) - du
        last = std::min(last, CeilDiv(2 * du * (qHigh + 1) - du, 2 * dv) - 1);
    }
    if (first > last)
        return;

    std::int64_t q = FloorDiv(2 * first * dv + du, 2 * du);
    std::int64_t r = 2 * first * dv + du - 2 * du * q; // 0 <= r < 2 du
    for (std::int64_t i = first; i <= last; ++i) {
        const std::int64_t u = u0 + su * i, v = v0 + sv * q;
        if (xMajor)
            pixels.stamp(u, v, pen, colour);
        else
            pixels.stamp(v, u, pen, colour);
        r += 2 * dv;
        if (r >= 2 * du) {
            r -= 2 * du;
            ++q;
        }
    }
}

void RasterCircle(QImage& image, std::int64_t cx, std::int64_t cy, std::int64_t radius, QRgb colour,
                  int pen) {
    radius = std::abs(radius);
    // Entirely outside: nothing to draw, however large the radius.
    if (cx + radius + pen <= 0 || cy + radius + pen <= 0 || cx - radius >= image.width() ||
        cy - radius >= image.height())
        return;
    const Pixels pixels(image);
    std::int64_t x = radius, y = 0, error = 1 - radius;
    while (x >= y) {
        for (const auto& [dx, dy] : {std::pair{x, y}, std::pair{y, x}}) {
            pixels.stamp(cx + dx, cy + dy, pen, colour);
            pixels.stamp(cx - dx, cy + dy, pen, colour);
            pixels.stamp(cx + dx, cy - dy, pen, colour);
            pixels.stamp(cx - dx, cy - dy, pen, colour);
        }
        ++y;
        if (error < 0) {
            error += 2 * y + 1;
        } else {
            --x;
            error += 2 * (y - x) + 1;
        }
    }
}
