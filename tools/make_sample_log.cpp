// SPDX-License-Identifier: MIT
// Writes a synthetic observation log. By default it is a plausible day: a
// quiet night and a livelier daytime background, three sources at fixed or
// slowly drifting directions that come and go, a few short bursts, a short
// receiver outage and scattered empty cells. The same file every time.
//
// With --test-pattern it writes a log whose colours are easy to check on a
// screenshot: slots 0..239 hold 100, 240..479 hold 600, 480..719 hold 1000,
// and bins 0..9 hold 0 throughout.
//
// Usage: dirchart-sample [--test-pattern] OUTPUT; --help says so. Unknown
// options and a missing or second OUTPUT are usage errors (exit status 2),
// so that a mistyped option never becomes the name of a file.

#include "ObservationGrid.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <numbers>
#include <vector>

namespace {

// A fixed hash of a cell and a stream number onto 0..1, so that the noise
// needs no generator state and never changes between platforms.
double Noise(int t, int d, unsigned stream) {
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
double Ramp(double x, double from, double to) {
    const double u = std::clamp((x - from) / (to - from), 0.0, 1.0);
    return u * u * (3 - 2 * u);
}

// Angular distance in degrees, 0..180.
double AngleApart(double a, double b) {
    const double diff = std::fmod(std::abs(a - b), 360.0);
    return std::min(diff, 360 - diff);
}

double Lobe(double degrees, double centre, double width) {
    const double x = AngleApart(degrees, centre) / width;
    return std::exp(-0.5 * x * x);
}

// Slow scintillation of a source: a few incommensurate waves, 0.55..1.45.
double Scintillation(double hour, double phase) {
    return 1 + 0.25 * std::sin(hour * 2.3 + phase) + 0.12 * std::sin(hour * 7.1 + 2 * phase) +
           0.08 * std::sin(hour * 17.9 + 3 * phase);
}

std::int16_t DayValue(int t, int d) {
    const double hour = t / 30.0;
    const double degrees = 2.0 * d;
    const double grain = Noise(t, d, 3) - 0.5; // cell-to-cell speckle

    // Background: quiet at night, stronger in daytime, with broad structure
    // across directions that slowly changes through the day.
    const double daylight = Ramp(hour, 5.0, 7.5) * (1 - Ramp(hour, 17.0, 19.5));
    double v = 35 + 190 * daylight + (30 + 60 * daylight) * (Noise(t, d, 1) - 0.5) +
               (18 + 30 * daylight) * std::sin(degrees * std::numbers::pi / 90 + hour / 3) +
               14 * std::sin(degrees * std::numbers::pi / 45 - hour / 2);

    // Source A: a fixed bearing of 70 degrees, on at night and in the evening.
    const double a = Ramp(hour, 0.4, 1.0) * (1 - Ramp(hour, 8.5, 9.2)) +
                     Ramp(hour, 15.0, 15.6) * (1 - Ramp(hour, 21.8, 22.4));
    v += a * 620 * Scintillation(hour, 0.3) * (1 + 0.5 * grain) * Lobe(degrees, 70, 7);

    // Source B: drifts from 200 to 262 degrees across the day, strongest at noon.
    const double bBearing = 200 + 62 * Ramp(hour, 6.0, 18.0) + 4 * std::sin(hour * 3);
    const double b = Ramp(hour, 6.0, 7.0) * (1 - Ramp(hour, 17.5, 18.5));
    v += b * (450 + 380 * std::sin(std::numbers::pi * std::clamp((hour - 6) / 12, 0.0, 1.0))) *
         Scintillation(hour, 1.9) * (1 + 0.4 * grain) * Lobe(degrees, bBearing, 10);

    // Source C: a weak one near 310 degrees that comes and goes at irregular
    // intervals of a quarter to half an hour.
    const bool cOn = hour >= 10 && hour < 23 && Noise(t / 12, 0, 4) < 0.55;
    v += cOn ? 300 * Scintillation(hour, 4.2) * Lobe(degrees, 310 + 6 * std::sin(hour), 5) : 0;

    // Short bursts of a few minutes, each from its own side of the sky.
    const struct {
        int start, length;
        double bearing, strength;
    } bursts[] = {{96, 4, 150, 380},
                  {350, 7, 230, 520},
                  {353, 2, 40, 260},
                  {490, 3, 100, 420},
                  {625, 5, 300, 330}};
    for (const auto& burst : bursts) {
        if (t >= burst.start && t < burst.start + burst.length)
            v += burst.strength * (0.35 + 0.65 * Lobe(degrees, burst.bearing, 50)) *
                 (1 - 0.5 * (t - burst.start) / burst.length) * (1 + 0.6 * grain);
    }

    // A receiver outage of a quarter of an hour, and scattered empty cells.
    if (t >= 405 && t < 412)
        return 0;
    if (Noise(t, d, 2) < 0.003)
        return 0;
    return static_cast<std::int16_t>(std::clamp(std::lround(v), 1L, 1023L));
}

std::int16_t PatternValue(int t, int d) {
    if (d < 10)
        return 0;
    return t < 240 ? 100 : t < 480 ? 600 : 1000;
}

constexpr char Usage[] = "usage: dirchart-sample [--test-pattern] OUTPUT\n";

int UsageError(const char* problem, const char* argument) {
    std::fprintf(stderr, "dirchart-sample: %s%s\n%s", problem, argument, Usage);
    return 2;
}

} // namespace

int main(int argc, char* argv[]) {
    bool pattern = false;
    bool optionsEnded = false;
    const char* output = nullptr;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (!optionsEnded && std::strcmp(arg, "--help") == 0) {
            std::fputs(Usage, stdout);
            std::fputs("Writes a synthetic day's observation log to OUTPUT; with --test-pattern\n"
                       "a log of three flat bands for checking colours on a screenshot.\n",
                       stdout);
            return 0;
        }
        if (!optionsEnded && std::strcmp(arg, "--test-pattern") == 0)
            pattern = true;
        else if (!optionsEnded && std::strcmp(arg, "--") == 0)
            optionsEnded = true;
        else if (!optionsEnded && arg[0] == '-' && arg[1] != '\0')
            return UsageError("unknown option ", arg);
        else if (output)
            return UsageError("more than one OUTPUT: ", arg);
        else
            output = arg;
    }
    if (!output)
        return UsageError("missing OUTPUT", "");

    std::vector<char> bytes;
    bytes.reserve(2 * ObservationGrid::CellCount);
    for (int t = 0; t < ObservationGrid::Slots; ++t)
        for (int d = 0; d < ObservationGrid::Bins; ++d) {
            const auto raw =
                static_cast<std::uint16_t>(pattern ? PatternValue(t, d) : DayValue(t, d));
            bytes.push_back(static_cast<char>(raw & 0xff)); // least significant byte first
            bytes.push_back(static_cast<char>(raw >> 8));
        }

    std::ofstream out(output, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        std::perror(output);
        return 1;
    }
    return 0;
}
