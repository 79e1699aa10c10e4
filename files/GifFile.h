// SPDX-License-Identifier: MIT
#pragma once

#include "WholeFile.h"

#include <QByteArray>
#include <QImage>
#include <QRgb>
#include <QSize>
#include <QString>

#include <span>
#include <vector>

struct GifFileType;

// An animated GIF built frame by frame in memory, then written as a whole:
// frames of one size, each shown for the same time, looping for ever. Every
// frame after the first is stored as the rectangle in which it differs from
// the frame before, drawn over it; pixels inside that rectangle that did not
// change are stored transparent, which leaves long runs for the compression.
class GifAnimation {
  public:
    // `palette` holds the frames' colours, at most 255 (one more index is
    // kept for transparency); `delay` is in hundredths of a second.
    GifAnimation(QSize size, std::span<const QRgb> palette, int delay);
    ~GifAnimation();
    GifAnimation(const GifAnimation&) = delete;
    GifAnimation& operator=(const GifAnimation&) = delete;

    // Adds a frame of the animation's size; a colour outside the palette is
    // stored as the nearest one in it.
    void addFrame(const QImage& frame);
    // Ends the animation and writes it at `path` as WriteImageFile writes an
    // image: through a temporary file renamed into place, leaving nothing
    // behind on failure.
    FileWriteResult write(const QString& path);

  private:
    // The palette index of a colour.
    unsigned char index(QRgb colour);

    GifFileType* m_gif = nullptr;
    QByteArray m_bytes;
    QSize m_size;
    std::vector<QRgb> m_palette;
    int m_delay;
    int m_transparent;
    bool m_failed = false;
    bool m_first = true;
    QImage m_previous;                 // the frame shown before
    std::vector<unsigned char> m_line; // one row of the stored rectangle
    // No pixel's colour, as each pixel is opaque.
    QRgb m_lastColour = 0;
    unsigned char m_lastIndex = 0;
};
