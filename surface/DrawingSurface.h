// SPDX-License-Identifier: MIT
#pragma once

#include <QRect>
#include <QRgb>
#include <QString>
#include <QtGlobal>

#include <cmath>
#if defined(__SSE2__) && defined(__x86_64__)
#include <immintrin.h>
#endif
#include <cstddef>
#include <optional>
#include <span>

// A point argument of Line and Circle: absolute, or a Step relative to the
// current point (or, for the second point of a Line, to the first point).
struct SurfacePoint {
    float x = 0;
    float y = 0;
    bool step = false;
};

constexpr SurfacePoint Step(float dx, float dy) {
    return {dx, dy, true};
}

// One of the lines that Lines draws, from (x1, y1) to (x2, y2) in `colour`.
struct SurfaceLine {
    float x1 = 0;
    float y1 = 0;
    float x2 = 0;
    float y2 = 0;
    QRgb colour = 0xff000000;
};

// A line, a rectangle's outline, or a rectangle filled: the lines along each
// of its rows, from the top one down a pixel at a time.
enum class LineShape { Line, Box, FilledBox };

// A retained pixel surface with a current point, in pixel units with y
// growing downwards. The public operations keep the current point and resolve
// Step forms; the drawing itself goes to the protected primitives, which a
// concrete surface implements. Every coordinate is single precision.
class DrawingSurface {
  public:
    static constexpr QRgb Background = 0xffffffff;
    static constexpr QRgb Foreground = 0xff000000;

    virtual ~DrawingSurface() = default;

    void Cls();

    float CurrentX() const { return m_currentX; }
    float CurrentY() const { return m_currentY; }
    void SetCurrentX(float x) { m_currentX = x; }
    void SetCurrentY(float y) { m_currentY = y; }

    // A line from `from` to `to`, or with LineShape::Box the outline of the
    // rectangle with these opposite corners (with FilledBox the rectangle
    // filled). Leaves the current point at `to`.
    void Line(SurfacePoint from, SurfacePoint to, std::optional<QRgb> colour = {},
              LineShape shape = LineShape::Line);
    // The lines in their order, each as Line draws it, leaving the current
    // point at the last one's end: a figure of several lines in one call
    // (a mark's outline is eight), which a surface may draw together.
    void Lines(std::span<const SurfaceLine> lines);
    // The outline of `box` (logical pixels, both corners included) in two
    // tones that show over any colours beneath: `outer` on the pixels just
    // around the box, then `inner` on its own edge pixels. With `openTop` or
    // `openBottom` that side is left out in both tones (the outer sides
    // still reach a pixel past the box there). Every line is cut to `clip`,
    // and one wholly outside it is left out. The same as those lines through
    // Lines, outer ones first; the current point stays where it was.
    void TwoToneOutline(const QRect& box, const QRect& clip, bool openTop, bool openBottom,
                        QRgb inner, QRgb outer) {
        drawTwoToneOutline(box, clip, openTop, openBottom, inner, outer);
    }
    // A line with the first point omitted: from the current point to `to`.
    void LineTo(SurfacePoint to, std::optional<QRgb> colour = {});
    void PSet(float x, float y, QRgb colour) {
        m_currentX = x;
        m_currentY = y;
        if (m_raster.bits)
            setRasterPixel(x, y, colour);
        else
            drawPixel(x, y, colour);
    }
    // PSet of `count` pixels up a column: (x, y) in colours[0], (x, y - 1)
    // in colours[1] and so on, leaving the current point on the last. For a
    // chart's cells, which a column at a time need no test per pixel.
    void PSetColumnUp(float x, float y, const QRgb* colours, std::size_t count);
    void Circle(SurfacePoint centre, float radius, std::optional<QRgb> colour = {});
    // Fills the logical rectangle from (left, top) to (right, bottom), both
    // included, with a picture of columns x rows cells, each a solid block of
    // whole device pixels: of the rectangle's w x h device pixels, column x
    // (from the left) shows cell column floor(x columns / w) and row y (up
    // from the bottom) cell row floor(y rows / h). `cells` holds the rows
    // bottom first. Leaves the current point where it was.
    void FillCells(int left, int top, int right, int bottom, int columns, int rows,
                   const QRgb* cells) {
        drawCells(left, top, right, bottom, columns, rows, cells);
    }
    // Device pixels per logical pixel along each axis.
    virtual qreal deviceRatio() const { return 1; }

    // Draws the text with its top-left corner at the current point, then moves
    // the current point to the start of the next line.
    void Print(const QString& text);
    // Fills the rectangle with corners (x1, y1) and (x2, y2) in `ground`, as
    // Line with LineShape::FilledBox does, then prints the text with its
    // top-left corner at (x, y): a label on a ground of its own. The current
    // point ends where Print leaves it.
    void PrintOnBox(float x1, float y1, float x2, float y2, QRgb ground, float x, float y,
                    const QString& text);
    // Prints a number the way a number is printed on a surface: its shortest
    // decimal text, a leading space in place of a plus sign, a trailing space.
    void Print(double number);

    static QString printedNumber(double number);

  protected:
    // A surface whose pixels lie in memory as 32-bit words may expose them
    // here; PSet then writes them inline instead of through drawPixel, since
    // a chart sets over a hundred thousand pixels at a time. Width and height
    // are logical. Where one logical pixel covers more than one device pixel,
    // the edges give each logical column's and row's first device pixel
    // (width + 1 and height + 1 entries, the last one the device size);
    // without them a logical pixel is one device pixel.
    struct Raster {
        unsigned char* bits = nullptr;
        std::size_t bytesPerLine = 0;
        std::size_t width = 0;
        std::size_t height = 0;
        const int* columnEdges = nullptr;
        const int* rowEdges = nullptr;
        // Set when every logical pixel is exactly 2 x 2 device pixels, the
        // common 200 %, which then skips the edges.
        bool doubled = false;
    };
    // Rounds to the nearest pixel. NaN and coordinates beyond any surface
    // become huge values that an unsigned bounds test rejects.
    static std::size_t nearestPixel(float v) {
#if defined(__SSE2__) && defined(__x86_64__)
        // The one-instruction conversion; std::lrint is a library call here.
        return static_cast<std::size_t>(_mm_cvtss_si64(_mm_set_ss(v)));
#else
        return static_cast<std::size_t>(std::lrint(v));
#endif
    }

    // Without a raster (bits null) PSet goes through drawPixel.
    void setRaster(const Raster& raster) {
        m_raster = raster;
    }

    // Fills the device pixels of one logical pixel, which must lie inside.
    static void writeCell(const Raster& raster, std::size_t column, std::size_t row, QRgb colour) {
        if (!raster.columnEdges) {
            reinterpret_cast<QRgb*>(raster.bits + row * raster.bytesPerLine)[column] = colour;
            return;
        }
        if (raster.doubled) {
            QRgb* top =
                reinterpret_cast<QRgb*>(raster.bits + 2 * row * raster.bytesPerLine) + 2 * column;
            QRgb* bottom = reinterpret_cast<QRgb*>(reinterpret_cast<unsigned char*>(top) +
                                                   raster.bytesPerLine);
            top[0] = top[1] = bottom[0] = bottom[1] = colour;
            return;
        }
        const int left = raster.columnEdges[column], right = raster.columnEdges[column + 1];
        const int bottom = raster.rowEdges[row + 1];
        for (int y = raster.rowEdges[row]; y < bottom; ++y) {
            QRgb* line =
                reinterpret_cast<QRgb*>(raster.bits + std::size_t(y) * raster.bytesPerLine);
            for (int x = left; x < right; ++x)
                line[x] = colour;
        }
    }

    virtual void clearPixels() = 0;
    virtual void drawLine(float x1, float y1, float x2, float y2, QRgb colour) = 0;
    virtual void drawBox(float x1, float y1, float x2, float y2, QRgb colour) = 0;
    // By default one drawLine per line, in order.
    virtual void drawLines(std::span<const SurfaceLine> lines);
    // By default the outline's lines through drawLines.
    virtual void drawTwoToneOutline(const QRect& box, const QRect& clip, bool openTop,
                                    bool openBottom, QRgb inner, QRgb outer);
    // By default one drawLine per row.
    virtual void drawFilledBox(float x1, float y1, float x2, float y2, QRgb colour);
    virtual void drawPixel(float x, float y, QRgb colour) = 0;
    virtual void drawCircle(float cx, float cy, float radius, QRgb colour) = 0;
    // By default one device pixel per logical pixel, set through drawPixel.
    virtual void drawCells(int left, int top, int right, int bottom, int columns, int rows,
                           const QRgb* cells);
    // Returns the height of one printed line.
    virtual float drawText(float x, float y, const QString& text) = 0;
    // By default drawFilledBox, then drawText.
    virtual float drawTextOnBox(float x1, float y1, float x2, float y2, QRgb ground, float x,
                                float y, const QString& text);

  private:
    void setRasterPixel(float x, float y, QRgb colour) {
        const std::size_t column = nearestPixel(x);
        const std::size_t row = nearestPixel(y);
        if (column >= m_raster.width || row >= m_raster.height)
            return;
        writeCell(m_raster, column, row, colour);
    }

    float m_currentX = 0;
    float m_currentY = 0;
    Raster m_raster;
};
