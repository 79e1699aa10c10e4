// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QPoint>
#include <QRawFont>
#include <QString>

class QFont;
class QPainter;

// A font at the device size, kept from one text to the next so that the
// glyphs it has rendered are kept too.
class DeviceFont {
  public:
    QRawFont at(const QRawFont& font, qreal ratio);

  private:
    QRawFont m_font;
    QRawFont m_device;
    qreal m_ratio = 0;
};

// Text on a surface drawn at a device pixel ratio other than 1. The glyphs
// are rendered by the font at the device size and spaced as the font spaces
// them there; the gaps between them then give up whole device pixels, the
// widest gaps first, until the text is as wide as it is at a ratio of 1 less
// one logical pixel. So the text keeps its place and its extent, and keeps
// clear of a line that its last glyph touches at a ratio of 1 (the legend's
// "1024" and its tick). The small size's own layout, scaled up, would space
// the glyphs unevenly: its advances are rounded to whole small pixels.
//
// `painter` paints in device pixels; `baseline` is the logical start of the
// text's baseline, as at a ratio of 1.
void DrawTextAtRatio(QPainter& painter, const QFont& font, QPoint baseline, const QString& text,
                     qreal ratio, DeviceFont& deviceFont);
