// SPDX-License-Identifier: MIT
#pragma once

#include "DrawingSurface.h"

#include <QFont>
#include <QImage>

#include <functional>
#include <memory>

class QPainter;

// A DrawingSurface backed by an off-screen image: drawing stays in the image
// until Cls, whether or not anything shows it. Text goes through QPainter
// with antialiasing off; lines, circles and single pixels are written
// straight into the image (see Rasterize.h and DrawingSurface::Raster).
class ImageSurface final : public DrawingSurface {
  public:
    explicit ImageSurface(QSize size);
    ~ImageSurface() override;

    // A copy of the picture as drawn so far, independent of later drawing.
    QImage image() const;
    QRgb pixel(int x, int y) const;
    // Draws the `source` part of the picture into `target` of a painter.
    void present(QPainter& painter, const QRect& target, const QRect& source) const;
    QSize size() const { return m_image.size(); }

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
    static QFont PrintFont();

  protected:
    void clearPixels() override;
    void drawLine(float x1, float y1, float x2, float y2, QRgb colour) override;
    void drawBox(float x1, float y1, float x2, float y2, QRgb colour) override;
    void drawPixel(float x, float y, QRgb colour) override;
    void drawCircle(float cx, float cy, float radius, QRgb colour) override;
    float drawText(float x, float y, const QString& text) override;

  private:
    QPainter& painter();
    void endPainting() const;
    // Hands the image's pixels to PSet's inline path, but only once a change
    // has been reported: the inline path itself reports nothing.
    void refreshRaster() {
        if (!m_pendingChange)
            return;
        setRaster({m_image.bits(), static_cast<std::size_t>(m_image.bytesPerLine()),
                   static_cast<std::size_t>(m_image.width()),
                   static_cast<std::size_t>(m_image.height())});
    }
    void changed() {
        if (!m_pendingChange) {
            m_pendingChange = true;
            if (m_changed)
                m_changed();
            refreshRaster();
        }
    }

    // Never shared with a copy, so that the raw pixel pointer stays valid.
    QImage m_image;
    QFont m_font = PrintFont();
    // Opened on the first text and kept open across operations, so that the
    // chart frame's forty texts share one painter.
    mutable std::unique_ptr<QPainter> m_painter;
    bool m_pendingChange = false;
    std::function<void()> m_changed;
};
