// SPDX-License-Identifier: MIT
#include "SampleArchive.h"

#include "ObservationGrid.h"
#include "SampleShapes.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

using namespace SampleShapes;
using namespace std::chrono;

namespace {

constexpr double Pi = std::numbers::pi;

struct Burst {
    int start = 0;
    int length = 0;
    double bearing = 0;
    double strength = 0;
};

// What makes one day unlike the next.
struct DayTraits {
    unsigned stream = 0;   // the day's own noise
    double season = 0;     // +1 at midsummer, -1 at midwinter
    double yearPhase = 0;  // 0..2 pi over the year
    double activity = 1;   // quiet days below 1, busy days above
    double sunrise = 6;    // hours
    double sunset = 18;
    bool sourceC = false;  // the weak source near 310 degrees shows today
    int outageStart = -1;  // slot, or -1 for none
    int outageLength = 0;
    std::vector<Burst> bursts;
};

// One number 0..1 per day and purpose.
double DayDraw(unsigned stream, int purpose) {
    return Noise(purpose, 7919, stream);
}

DayTraits TraitsOf(sys_days date) {
    DayTraits day;
    const auto number = static_cast<unsigned>(date.time_since_epoch().count());
    day.stream = number * 2654435761u + 17;
    const year_month_day ymd(date);
    const double dayOfYear = double((date - sys_days(ymd.year() / January / 1)).count());
    day.yearPhase = 2 * Pi * dayOfYear / 365.25;
    day.season = std::cos(2 * Pi * (dayOfYear - 172) / 365.25);
    day.sunrise = 6.3 - 1.6 * day.season;
    day.sunset = 17.9 + 1.7 * day.season;

    // Mostly ordinary days, some quiet, some busy, in runs of weather-like
    // spells: the activity of a day leans on that of its week.
    const double spell = Noise(int(number / 5), 0, 11);
    const double own = DayDraw(day.stream, 1);
    day.activity = 0.3 + 1.4 * (0.6 * spell + 0.4 * own);
    day.sourceC = DayDraw(day.stream, 2) < 0.45;
    if (DayDraw(day.stream, 3) < 0.1) {
        day.outageStart = int(DayDraw(day.stream, 4) * 650);
        day.outageLength = 5 + int(DayDraw(day.stream, 5) * 30);
    }
    const int bursts = int(day.activity * day.activity * 3 + DayDraw(day.stream, 6) * 3);
    for (int i = 0; i < bursts; ++i) {
        const double at = DayDraw(day.stream, 10 + 4 * i);
        day.bursts.push_back({int(at * 710), 2 + int(DayDraw(day.stream, 11 + 4 * i) * 7),
                              DayDraw(day.stream, 12 + 4 * i) * 360,
                              220 + 380 * DayDraw(day.stream, 13 + 4 * i)});
    }
    return day;
}

// What a slot adds to every bin: worked out once a slot, not once a cell.
struct SlotTraits {
    double hour = 0;
    double daylight = 0;
    double a = 0; // source A's strength, 0 when it is down
    double aBearing = 0;
    double b = 0;
    double bBearing = 0;
    double c = 0;
    double cBearing = 0;
};

SlotTraits TraitsOf(const DayTraits& day, int t) {
    SlotTraits slot;
    const double hour = slot.hour = t / 30.0;
    slot.daylight = Ramp(hour, day.sunrise - 1, day.sunrise + 1.2) *
                    (1 - Ramp(hour, day.sunset - 1.2, day.sunset + 1));

    // Source A: a night-time bearing that swings through the year.
    slot.aBearing = 70 + 22 * std::sin(day.yearPhase);
    slot.a = ((1 - Ramp(hour, day.sunrise + 1.5, day.sunrise + 2.3)) +
              Ramp(hour, day.sunset - 3, day.sunset - 2.2) * (1 - Ramp(hour, 23.2, 23.9))) *
             (420 + 200 * day.activity) * Scintillation(hour, 0.3 + day.yearPhase);

    // Source B: crosses the sky with the sun, higher and longer in summer.
    const double along = std::clamp((hour - day.sunrise) / (day.sunset - day.sunrise), 0.0, 1.0);
    slot.bBearing = 205 - 15 * day.season + (55 + 20 * day.season) * along + 4 * std::sin(hour * 3);
    slot.b = Ramp(hour, day.sunrise, day.sunrise + 1) *
             (1 - Ramp(hour, day.sunset - 0.5, day.sunset + 0.5)) *
             (300 + 200 * day.season + 250 * day.activity) * std::sin(Pi * along) *
             Scintillation(hour, 1.9 + day.yearPhase);

    // Source C: weak, on some days only, coming and going by the quarter hour.
    if (day.sourceC && hour >= 9 && hour < 23 && Noise(t / 12, 0, day.stream + 4) < 0.55)
        slot.c = 280 * Scintillation(hour, 4.2);
    slot.cBearing = 310 + 15 * std::sin(2 * day.yearPhase) + 6 * std::sin(hour);
    return slot;
}

std::int16_t Value(const DayTraits& day, const SlotTraits& slot, int t, int d) {
    if (t >= day.outageStart && t < day.outageStart + day.outageLength)
        return 0;
    const double degrees = 2.0 * d;
    const double grain = Noise(t, d, day.stream + 3) - 0.5;
    const double daylight = slot.daylight;
    double v = 30 + (120 + 90 * day.season) * daylight * (0.75 + 0.25 * day.activity) +
               (30 + 60 * daylight) * (Noise(t, d, day.stream + 1) - 0.5) +
               (18 + 30 * daylight) * std::sin(degrees * Pi / 90 + slot.hour / 3 + day.yearPhase) +
               14 * std::sin(degrees * Pi / 45 - slot.hour / 2);
    if (slot.a > 0)
        v += slot.a * (1 + 0.5 * grain) * Lobe(degrees, slot.aBearing, 7);
    if (slot.b > 0)
        v += slot.b * (1 + 0.4 * grain) * Lobe(degrees, slot.bBearing, 10);
    if (slot.c > 0)
        v += slot.c * Lobe(degrees, slot.cBearing, 5);
    for (const Burst& burst : day.bursts)
        if (t >= burst.start && t < burst.start + burst.length)
            v += burst.strength * (0.35 + 0.65 * Lobe(degrees, burst.bearing, 50)) *
                 (1 - 0.5 * (t - burst.start) / burst.length) * (1 + 0.6 * grain);

    if (Noise(t, d, day.stream + 2) < 0.003)
        return 0;
    return static_cast<std::int16_t>(std::clamp(std::lround(v), 1L, 1023L));
}

} // namespace

std::vector<char> SampleArchiveDay(sys_days date) {
    const DayTraits day = TraitsOf(date);
    std::vector<char> bytes;
    bytes.reserve(2 * ObservationGrid::CellCount);
    for (int t = 0; t < ObservationGrid::Slots; ++t) {
        const SlotTraits slot = TraitsOf(day, t);
        for (int d = 0; d < ObservationGrid::Bins; ++d) {
            const auto raw = static_cast<std::uint16_t>(Value(day, slot, t, d));
            bytes.push_back(static_cast<char>(raw & 0xff)); // least significant byte first
            bytes.push_back(static_cast<char>(raw >> 8));
        }
    }
    return bytes;
}
