// SPDX-License-Identifier: MIT
#include "PolarPlot.h"

#include "DayTime.h"
#include "DrawingSurface.h"
#include "ObservationGrid.h"

#include <cmath>

namespace {

constexpr QRgb Grey = PolarGridColour;
constexpr QRgb Red = PolarCurveColour;
constexpr float Centre = PolarCentre;
// Pixels per signal unit at gain 1: a value of 1024 reaches the outer ring.
constexpr double RadialScale = 0.1220703125; // 125 / 1024, exact in binary

void DrawPolarRings(DrawingSurface& picture) {
    picture.SetCurrentX(Centre);
    picture.SetCurrentY(Centre);
    for (float radius : {125.f, 93.f, 62.f, 31.f})
        picture.Circle(Step(0, 0), radius, Grey);
    picture.Line(Step(-125, 0), Step(250, 0), Grey);
    picture.Line(Step(-125, -125), Step(0, 250), Grey);
}

} // namespace

QString DrawPolarPlot(DrawingSurface& picture, const ObservationGrid& grid, int t, float radPerDeg,
                      float polarGain) {
    DrawPolarRings(picture);

    DrawPolarCurve(picture, grid, t, radPerDeg, polarGain, Red);
    return SlotTimeText(t);
}

void DrawPolarCurve(DrawingSurface& picture, const ObservationGrid& grid, int t, float radPerDeg,
                    float polarGain, QRgb colour) {
    // Products in double precision in the order written, each coordinate
    // rounded to single precision as it is handed over. The angle itself is
    // single precision: k x radPerDeg is rounded to float, then doubled.
    const double gain = polarGain;
    const auto startY = static_cast<float>(Centre - (RadialScale * grid(t, 0)) * gain);
    picture.SetCurrentX(Centre);
    picture.SetCurrentY(startY);
    for (int k = 1; k < ObservationGrid::Bins; ++k) {
        const float half = static_cast<float>(k) * radPerDeg;
        const double theta = static_cast<double>(half * 2);
        const double v = grid(t, k);
        const double x = ((v * std::sin(theta)) * RadialScale) * gain + Centre;
        const double y = Centre - ((v * std::cos(theta)) * RadialScale) * gain;
        picture.LineTo({static_cast<float>(x), static_cast<float>(y)}, colour);
    }
    picture.LineTo({Centre, startY}, colour);
}

QString DrawPolarComparison(DrawingSurface& picture, const ObservationGrid& grid,
                            const ObservationGrid& reference, int t, float radPerDeg,
                            float polarGain, QRgb referenceColour) {
    // The rings, the reference's curve, then the shown day's red one over it.
    DrawPolarRings(picture);
    DrawPolarCurve(picture, reference, t, radPerDeg, polarGain, referenceColour);
    DrawPolarCurve(picture, grid, t, radPerDeg, polarGain, Red);
    return SlotTimeText(t);
}

float RadiansPerDegree() {
    return static_cast<float>(4 * std::atan(1.0) / 180);
}

QString SlotTimeText(int t) {
    return QString::fromStdString(SlotClock(t));
}
