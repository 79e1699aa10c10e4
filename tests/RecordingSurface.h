// SPDX-License-Identifier: MIT
#pragma once

#include "DrawingSurface.h"

#include <QList>
#include <QString>

// A surface that draws nothing and logs each primitive with the exact
// single-precision coordinates it was handed, after Step forms are resolved.
class RecordingSurface final : public DrawingSurface {
  public:
    struct Op {
        QString kind; // "cls", "line", "box", "pset", "circle", "text"
        float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
        QRgb colour = 0;
        QString text;
    };
    QList<Op> ops;

    QList<Op> opsOfKind(const QString& kind) const {
        QList<Op> out;
        for (const Op& op : ops)
            if (op.kind == kind)
                out.append(op);
        return out;
    }

  protected:
    void clearPixels() override { ops.append({"cls", 0, 0, 0, 0, 0, {}}); }
    void drawLine(float x1, float y1, float x2, float y2, QRgb c) override {
        ops.append({"line", x1, y1, x2, y2, c, {}});
    }
    void drawBox(float x1, float y1, float x2, float y2, QRgb c) override {
        ops.append({"box", x1, y1, x2, y2, c, {}});
    }
    void drawPixel(float x, float y, QRgb c) override { ops.append({"pset", x, y, 0, 0, c, {}}); }
    void drawCircle(float cx, float cy, float r, QRgb c) override {
        ops.append({"circle", cx, cy, r, 0, c, {}});
    }
    float drawText(float x, float y, const QString& text) override {
        ops.append({"text", x, y, 0, 0, Foreground, text});
        return 12;
    }
};
