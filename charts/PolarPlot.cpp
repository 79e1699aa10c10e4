// SPDX-License-Identifier: MIT
#include "PolarPlot.h"

#include "DayTime.h"
#include "DrawingSurface.h"
#include "ObservationGrid.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <optional>

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

// The sine and cosine of each bin's direction, as the curve computes them:
// the angle k x radPerDeg rounded to single precision, then doubled. Working
// them out cost more than the rest of a curve's arithmetic, and every curve
// at the same factor has the same ones (an animation draws 720), so each
// thread keeps those of the last factor it drew with.
struct BinDirections {
    std::optional<std::uint32_t> radPerDeg; // its bits, once worked out
    std::array<double, ObservationGrid::Bins> sin{};
    std::array<double, ObservationGrid::Bins> cos{};
};

const BinDirections& DirectionsAt(float radPerDeg) {
    thread_local BinDirections directions;
    const auto bits = std::bit_cast<std::uint32_t>(radPerDeg);
    if (directions.radPerDeg != bits) {
        for (int k = 0; k < ObservationGrid::Bins; ++k) {
            const float half = static_cast<float>(k) * radPerDeg;
            const double theta = static_cast<double>(half * 2);
            directions.sin[std::size_t(k)] = std::sin(theta);
            directions.cos[std::size_t(k)] = std::cos(theta);
        }
        directions.radPerDeg = bits;
    }
    return directions;
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
    // rounded to single precision as it is handed over.
    const BinDirections& directions = DirectionsAt(radPerDeg);
    const double gain = polarGain;
    const auto startY = static_cast<float>(Centre - (RadialScale * grid(t, 0)) * gain);
    picture.SetCurrentX(Centre);
    picture.SetCurrentY(startY);
    for (int k = 1; k < ObservationGrid::Bins; ++k) {
        const double v = grid(t, k);
        const double x = ((v * directions.sin[std::size_t(k)]) * RadialScale) * gain + Centre;
        const double y = Centre - ((v * directions.cos[std::size_t(k)]) * RadialScale) * gain;
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
