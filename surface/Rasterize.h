// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>

#include <cstdint>

// One-pixel aliased lines and circles written straight into a 32-bit image.
// QPainter sets the state up anew for each call, which costs more than the
// polar plot's 180 short segments themselves; these cost only their pixels.
// Both clip to the image, so endpoints hundreds of thousands of pixels away
// cost no more than the part of the figure that is visible. Coordinates and
// radii must lie within +-2^26, which keeps the clipping arithmetic inside 64
// bits; the image surface clamps to that range before calling.
//
// With a pen wider than one pixel, each pixel of the figure becomes a pen x
// pen square with that pixel at its top-left corner: a figure one logical
// pixel wide on an image of several device pixels per logical pixel.

// The line from (x0, y0) to (x1, y1), both ends included: for each step along
// the major axis, the pixel nearest to the exact line (halves rounded up).
void RasterLine(QImage& image, std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1,
                QRgb colour, int pen = 1);

// The midpoint circle of the given radius about (cx, cy).
void RasterCircle(QImage& image, std::int64_t cx, std::int64_t cy, std::int64_t radius, QRgb colour,
                  int pen = 1);
