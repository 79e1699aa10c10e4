// SPDX-License-Identifier: MIT
#pragma once

#include "DeviceText.h"
#include "DrawingSurface.h"

#include <QFont>
#include <QImage>

#include <algorithm>
#include <cmath>

#include <functional>
#include <memory>
#include <vector>

class QPainter;
struct InkRun;

// A DrawingSurface backed by an off-screen image: drawing stays in the image
// until Cls, whether or not anything shows it. Text goes through QPainter
// with antialiasing off, and a text printed again is copied from the pixels
// it left before (see TextInk.h); lines, circles and single pixels are
// written straight into the image (see Rasterize.h and DrawingSurface::Raster).
//
// Every coordinate is logical; the image holds devicePixelRatio() device
// pixels per logical pixel, so that a screen at 150 % or 200 % shows the
// picture crisp rather than enlarged. Logical pixel x covers the device
// pixels from round(x r) up to round((x + 1) r); lines, boxes and circles are
// round(r) device pixels wide (at least one) and pass through the device
// pixels of the same logical coordinates; text is rendered at the device
// resolution, spread over the width it has at a ratio of 1. At a ratio of 1
// the image is exactly one pixel per logical pixel.
class ImageSurface final : public DrawingSurface {
  public:
    explicit ImageSurface(QSize logicalSize, qreal devicePixelRatio = 1.0);
    ~ImageSurface() override;

    qreal devicePixelRatio() const { return m_ratio; }
    qreal deviceRatio() const override { return m_ratio; }
    // The first device pixel of logical column or row `logical`.
    static int deviceEdge(int logical, qreal ratio) {
        return static_cast<int>(std::floor(logical * ratio + 0.5));
    }
    // How many device pixels wide a line is at a device pixel ratio.
    static int penWidth(qreal ratio) { return std::max(1, static_cast<int>(std::lround(ratio))); }
    // The device pixel that a pointer at the reading point `p` (see
    // readingPoint) stands on.
    static QPoint devicePixelAt(QPointF p, qreal ratio);
    // Replaces the image by a blank one at the new ratio (Background, as after
    // Cls; the current point stays). Whoever owns the picture draws it again.
    void setDevicePixelRatio(qreal ratio);

    // A copy of the picture as drawn so far, independent of later drawing,
    // in device pixels with its device pixel ratio set.
    QImage image() const;
    // The picture as drawn so far, in device pixels, without a copy: it
    // changes with the next drawing.
    const QImage& pixels() const;
    // The image's pixel at device coordinates (logical ones at a ratio of 1).
    QRgb pixel(int x, int y) const;
    // Draws the `source` part of the picture, in logical coordinates, into
    // `target` of a painter.
    void present(QPainter& painter, const QRect& target, const QRect& source) const;
    // The logical size.
    QSize size() const { return m_size; }
    // Where a pointer at the logical point `p` reads the picture: `p` moved,
    // where it is not already there, into the logical pixel whose block of
    // device pixels holds the device pixel under `p`, so that every device
    // pixel of a cell reads that cell. (Blocks begin at round(x r), so at
    // 125 % a block's first device pixel can lie left of x itself.)
    QPointF readingPoint(QPointF p) const;

    // Called once when the picture changes after the last call of
    // markPresented(), so that a widget can schedule one repaint per burst of
    // drawing rather than one per pixel.
    void setChangedCallback(std::function<void()> callback) { m_changed = std::move(callback); }
    void markPresented() {
        m_pendingChange = false;
        // Withdraws the raster, so that the next PSet takes the slow path
        // once and reports the change.
        setRaster({});
    }

    // The font of Print: small, crisp and shipped with the project's packages.
    static QFont printFont();

  protected:
    void clearPixels() override;
    void drawLine(float x1, float y1, float x2, float y2, QRgb colour) override;
    void drawBox(float x1, float y1, float x2, float y2, QRgb colour) override;
    void drawLines(std::span<const SurfaceLine> lines) override;
    void drawTwoToneOutline(const QRect& box, const QRect& clip, bool openTop, bool openBottom,
                            QRgb inner, QRgb outer) override;
    void drawFilledBox(float x1, float y1, float x2, float y2, QRgb colour) override;
    void drawPixel(float x, float y, QRgb colour) override;
    void drawCircle(float cx, float cy, float radius, QRgb colour) override;
    float drawText(float x, float y, const QString& text) override;
    float drawTextOnBox(float x1, float y1, float x2, float y2, QRgb ground, float x, float y,
                        const QString& text) override;
    void drawCells(int left, int top, int right, int bottom, int columns, int rows,
                   const QRgb* cells) override;

  private:
    // The pixels `text` leaves with its top-left corner at (x, y), kept from
    // painting it before (see TextInk.h), or nothing when they are not kept.
    // The runs are relative to `origin`, the text's device origin.
    const std::vector<::InkRun>* keptInk(float x, float y, const QString& text, QPoint& origin);
    // Paints the text at its device origin through the painter.
    void paintText(float x, float y, const QString& text);
    // Where a text at logical (x, y) has its baseline, and printing it there
    // with a painter as every text of the surface is printed.
    QPoint textBaseline(float x, float y) const;
    void printWith(QPainter& painter, QPoint baseline, const QString& text);
    QPainter& painter();
    void endPainting() const;
    // A blank image at the given ratio.
    void allocate(qreal ratio);
    // The image's pixels, looked up once for a run of fills.
    struct DevicePixels {
        uchar* bits;
        std::size_t bytesPerLine;
        std::int64_t width;
        std::int64_t height;
    };
    DevicePixels devicePixels() {
        return {m_image.bits(), static_cast<std::size_t>(m_image.bytesPerLine()), m_image.width(),
                m_image.height()};
    }
    // Fills the device pixels from (left, top) up to but not including
    // (right, bottom), cut to the image.
    static void fillDevice(const DevicePixels& image, std::int64_t left, std::int64_t top,
                           std::int64_t right, std::int64_t bottom, QRgb colour);
    // The device pixel at the top-left corner of the pen for a logical coordinate.
    // (Inline at a ratio of 1, where lines and boxes are drawn by the hundred.)
    inline std::int64_t toDevice(float v) const;
    std::int64_t toDeviceScaled(float v) const;
    Raster rasterView() {
        return {m_image.bits(),
                static_cast<std::size_t>(m_image.bytesPerLine()),
                static_cast<std::size_t>(m_size.width()),
                static_cast<std::size_t>(m_size.height()),
                m_columnEdges.empty() ? nullptr : m_columnEdges.data(),
                m_rowEdges.empty() ? nullptr : m_rowEdges.data(),
                m_ratio == 2};
    }
    // Hands the image's pixels to PSet's inline path, but only once a change
    // has been reported: the inline path itself reports nothing.
    void refreshRaster() {
        if (!m_pendingChange)
            return;
        setRaster(rasterView());
    }
    void changed() {
        if (!m_pendingChange) {
            m_pendingChange = true;
            if (m_changed)
                m_changed();
            refreshRaster();
        }
    }

    QSize m_size;
    qreal m_ratio = 1;
    // Device pixels across a line, box or circle.
    int m_pen = 1;
    // Each logical column's and row's first device pixel, and the device
    // size; empty at a ratio of 1.
    std::vector<int> m_columnEdges;
    std::vector<int> m_rowEdges;
    // Never shared with a copy, so that the raw pixel pointer stays valid.
    QImage m_image;
    QFont m_font = printFont();
    int m_ascent = 0;
    int m_lineHeight = 0;
    DeviceFont m_deviceFont;
    // Opened on the first text and kept open across operations, so that the
    // chart frame's forty texts share one painter.
    mutable std::unique_ptr<QPainter> m_painter;
    bool m_pendingChange = false;
    std::function<void()> m_changed;
};
