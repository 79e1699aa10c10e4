// SPDX-License-Identifier: MIT
#pragma once

#include "DrawingSurface.h"

#include <QFont>
#include <QImage>

#include <functional>
#include <memory>

class QPainter;

// A DrawingSurface backed by an off-screen image: drawing stays in the image
// until Cls, whether or not anything shows it. Lines, circles and text go
// through QPainter with antialiasing off; single pixels are written straight
// into the image, since a chart sets over a hundred thousand of them per load.
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
    void markPresented() { m_pendingChange = false; }

    // The font of Print: small, crisp and shipped with the project's packages.
    static QFont PrintFont();

protected:
    void clearPixels() override;
    void drawLine(float x1, float y1, float x2, float y2, QRgb colour) override;
    void drawBox(float x1, float y1, float x2, float y2, QRgb colour) override;
    void drawPixel(float x, float y, QRgb colour) override {
        // Negated test so that NaN is rejected too.
        if (!(x > -0.5f && y > -0.5f && x < m_width - 0.5f && y < m_height - 0.5f))
            return;
        const auto column = static_cast<int>(x + 0.5f);
        const auto row = static_cast<int>(y + 0.5f);
        reinterpret_cast<QRgb*>(m_bits + row * m_bytesPerLine)[column] = colour;
        changed();
    }
    void drawCircle(float cx, float cy, float radius, QRgb colour) override;
    float drawText(float x, float y, const QString& text) override;

private:
    QPainter& painter();
    void endPainting() const;
    void refreshBits() {
        m_bits = m_image.bits();
        m_bytesPerLine = m_image.bytesPerLine();
    }
    void changed() {
        if (!m_pendingChange) {
            m_pendingChange = true;
            if (m_changed)
                m_changed();
        }
    }

    // Never shared with a copy, so that the raw pixel pointer stays valid.
    QImage m_image;
    uchar* m_bits = nullptr;
    qsizetype m_bytesPerLine = 0;
    float m_width = 0;
    float m_height = 0;
    QFont m_font = PrintFont();
    // Opened on the first QPainter operation and kept open across operations,
    // so that drawing 180 line segments does not set up a painter 180 times.
    mutable std::unique_ptr<QPainter> m_painter;
    bool m_pendingChange = false;
    std::function<void()> m_changed;
};
