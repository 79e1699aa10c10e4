// SPDX-License-Identifier: MIT
#pragma once

#include "WholeFile.h"

#include <QImage>
#include <QRgb>
#include <QSize>
#include <QString>

#include <functional>
#include <memory>
#include <span>

// Draws the frames of an animation for one thread. A frame returned stays
// as it is until the call after the next one (two pictures taking turns), so
// that it can be compared with the frame that follows it.
class GifFrameSource {
  public:
    virtual ~GifFrameSource() = default;
    virtual const QImage& frame(int index) = 0;
};

// What an animated GIF holds besides its frames: frames of one size, each
// shown for `delay` hundredths of a second, looping for ever, in the colours
// of `palette` (at most 255: one more index is kept for transparency; a
// colour outside it is stored as the nearest one in it).
struct GifAnimationFormat {
    QSize size;
    std::span<const QRgb> palette;
    int delay = 10;
};

// Writes the animation of `count` frames at `path`, as WriteImageFile writes
// an image: through a temporary file renamed into place, leaving nothing
// behind on failure. Every frame after the first is stored as the rectangle
// in which it differs from the frame before, drawn over it; pixels inside
// that rectangle that did not change are stored transparent, which leaves
// long runs for the compression.
//
// The frames are drawn and compressed on `threads` threads, each taking the
// next run of frames with a source of its own from `makeSource` (and drawing
// the frame before the run again, to compare its first frame with); each
// image is compressed on its own, so the file is the same on any number.
FileWriteResult
WriteGifAnimation(const QString& path, const GifAnimationFormat& format, int count,
                  const std::function<std::unique_ptr<GifFrameSource>()>& makeSource, int threads);
