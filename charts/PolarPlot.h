// SPDX-License-Identifier: MIT
#pragma once

#include <QRgb>
#include <QSize>
#include <QString>

class DrawingSurface;
class ObservationGrid;

// The drawing area of the polar plot's picture.
inline constexpr QSize PolarPictureSize{261, 261};
// The gains the polar plot is drawn at.
inline constexpr int MinPolarGain = 1;
inline constexpr int MaxPolarGain = 50;

// The polar plot's centre, (132, 132), for the rings, the cross-hair and
// the curve alike.
inline constexpr float PolarCentre = 132;
// The rings' and cross-hair's grey, and the curve's red.
inline constexpr QRgb PolarGridColour = 0xff7f7f7f;
inline constexpr QRgb PolarCurveColour = 0xffff0000;

// Draws the polar plot of time slot `t` over whatever the surface holds:
// four grey range rings and a grey cross-hair about (132, 132), then the
// closed red curve of the slot's 180 direction bins, each at a distance of
// value x 125/1024 x gain pixels in its direction (bin 0 straight up, turning
// clockwise). Returns the slot's time of day, as SlotTimeText does.
QString DrawPolarPlot(DrawingSurface& picture, const ObservationGrid& grid, int t, float radPerDeg,
                      float polarGain);

// The curve alone, in `colour`, as DrawPolarPlot draws it.
void DrawPolarCurve(DrawingSurface& picture, const ObservationGrid& grid, int t, float radPerDeg,
                    float polarGain, QRgb colour);
// The polar plot of slot t for two days: rings and cross-hair, the
// reference's curve in `referenceColour`, then the shown day's red curve
// over it.
QString DrawPolarComparison(DrawingSurface& picture, const ObservationGrid& grid,
                            const ObservationGrid& reference, int t, float radPerDeg,
                            float polarGain, QRgb referenceColour);

// The window's degrees-to-radians factor, pi/180 computed as 4 atan(1)/180
// and rounded to single precision; every polar plot is drawn with it.
float RadiansPerDegree();

// The time of day at which slot t begins: "0:00", "9:06", "23:58".
QString SlotTimeText(int t);
