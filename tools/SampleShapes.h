// SPDX-License-Identifier: MIT
#pragma once

// The shapes the sample generator builds its days from.

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace SampleShapes {

// A fixed hash of a cell and a stream number onto 0..1, so that the noise
// needs no generator state and never changes between platforms.
inline double Noise(int t, int d, unsigned stream) {
    std::uint32_t h = static_cast<std::uint32_t>(t) * 73856093u ^
                      static_cast<std::uint32_t>(d) * 19349663u ^ stream * 83492791u;
    h ^= h >> 16;
    h *= 0x7feb352du;
    h ^= h >> 15;
    h *= 0x846ca68bu;
    h ^= h >> 16;
    return h / 4294967295.0;
}

// Smooth step from 0 at `from` to 1 at `to`.
inline double Ramp(double x, double from, double to) {
    const double u = std::clamp((x - from) / (to - from), 0.0, 1.0);
    return u * u * (3 - 2 * u);
}

// Angular distance in degrees, 0..180.
inline double AngleApart(double a, double b) {
    const double diff = std::fmod(std::abs(a - b), 360.0);
    return std::min(diff, 360 - diff);
}

inline double Lobe(double degrees, double centre, double width) {
    const double x = AngleApart(degrees, centre) / width;
    return std::exp(-0.5 * x * x);
}

// Slow scintillation of a source: a few incommensurate waves, 0.55..1.45.
inline double Scintillation(double hour, double phase) {
    return 1 + 0.25 * std::sin(hour * 2.3 + phase) + 0.12 * std::sin(hour * 7.1 + 2 * phase) +
           0.08 * std::sin(hour * 17.9 + 3 * phase);
}

} // namespace SampleShapes
