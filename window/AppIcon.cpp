// SPDX-License-Identifier: MIT
#include "AppIcon.h"

#include "SignalColour.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <numbers>

QImage AppIconImage(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);

    p.setPen(QPen(QColor(90, 90, 90), 2));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 8, 8);

    // Colour scale along the bottom edge.
    for (int x = 0; x < 48; ++x)
        p.fillRect(QRectF(8 + x, 52, 1, 5), QColor::fromRgb(SignalColour(x * 1023 / 47).argb()));

    const QPointF centre(32, 28);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(127, 127, 127), 1.2));
    for (double r : {21.0, 14.0, 7.0})
        p.drawEllipse(centre, r, r);
    p.drawLine(QPointF(11, 28), QPointF(53, 28));
    p.drawLine(QPointF(32, 7), QPointF(32, 49));

    // A two-lobed pattern, strongest to the north-east.
    QPainterPath curve;
    for (int k = 0; k <= 180; ++k) {
        const double a = k * 2 * std::numbers::pi / 180;
        const double r =
            6 + 13 * std::pow(std::cos(a - 0.8), 2) * (std::cos(a - 0.8) > 0 ? 1.0 : 0.5);
        const QPointF v(centre.x() + r * std::sin(a), centre.y() - r * std::cos(a));
        k == 0 ? curve.moveTo(v) : curve.lineTo(v);
    }
    p.setPen(QPen(QColor(220, 0, 0), 2.2));
    p.drawPath(curve);
    return image;
}

QIcon AppIcon() {
    // The sizes a window manager shows in title bars and task switchers; each
    // is drawn at start-up and sent to the display server with the window.
    // Larger sizes come from the installed icon theme.
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64})
        icon.addPixmap(QPixmap::fromImage(AppIconImage(size)));
    return icon;
}
