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
// With --days N it writes an archive instead: N logs of consecutive dates
// into a folder, each a different day (see SampleArchive.h).
//
// Usage: dirchart-sample [--test-pattern] OUTPUT, or --days N [--start
// yymmdd] FOLDER; --help says so. Unknown options, a missing or second
// OUTPUT and bad numbers or dates are usage errors (exit status 2) that
// write nothing, so that a mistyped option never becomes the name of a file.

#include "ArchiveListing.h"
#include "ObservationGrid.h"
#include "SampleArchive.h"
#include "SampleShapes.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace SampleShapes;

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

constexpr char Usage[] = "usage: dirchart-sample [--test-pattern] OUTPUT\n"
                         "       dirchart-sample --days N [--start yymmdd] FOLDER\n";

int UsageError(const char* problem, const char* argument) {
    std::fprintf(stderr, "dirchart-sample: %s%s\n%s", problem, argument, Usage);
    return 2;
}

// The archive's last day unless --start says otherwise: the day of the sample log.
constexpr std::chrono::sys_days SampleDay{std::chrono::year(2026) / 12 / 8};
// Log names hold two digits of the year.
constexpr std::chrono::sys_days FirstNameable{std::chrono::year(2000) / 1 / 1};
constexpr std::chrono::sys_days LastNameable{std::chrono::year(2099) / 12 / 31};

// A whole number written in plain digits, 1 to `most`; nothing else.
std::optional<int> Count(const char* text, int most) {
    long value = 0;
    if (*text == '\0')
        return std::nullopt;
    for (const char* c = text; *c; ++c) {
        if (*c < '0' || *c > '9' || value > most)
            return std::nullopt;
        value = value * 10 + (*c - '0');
    }
    if (value < 1 || value > most)
        return std::nullopt;
    return int(value);
}

bool WriteFile(const std::filesystem::path& path, const std::vector<char>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        std::perror(path.c_str());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char* argv[]) {
    bool pattern = false;
    bool optionsEnded = false;
    const char* output = nullptr;
    const char* daysText = nullptr;
    const char* startText = nullptr;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (!optionsEnded && std::strcmp(arg, "--help") == 0) {
            std::fputs(Usage, stdout);
            std::fputs("Writes a synthetic day's observation log to OUTPUT; with --test-pattern\n"
                       "a log of three flat bands for checking colours on a screenshot.\n"
                       "With --days, writes N logs of consecutive dates into FOLDER (made if\n"
                       "need be), each a different day, named yymmdd.log; the first is\n"
                       "--start, by default N-1 days before 261208, so the last is 261208.log.\n",
                       stdout);
            return 0;
        }
        const bool takesValue =
            !optionsEnded && (std::strcmp(arg, "--days") == 0 || std::strcmp(arg, "--start") == 0);
        if (takesValue && i + 1 == argc)
            return UsageError("missing value of ", arg);
        if (takesValue)
            (arg[2] == 'd' ? daysText : startText) = argv[++i];
        else if (!optionsEnded && std::strcmp(arg, "--test-pattern") == 0)
            pattern = true;
        else if (!optionsEnded && std::strcmp(arg, "--") == 0)
            optionsEnded = true;
        else if (!optionsEnded && arg[0] == '-' && arg[1] != '\0')
            return UsageError("unknown option ", arg);
        else if (output)
            return UsageError(daysText ? "more than one FOLDER: " : "more than one OUTPUT: ", arg);
        else
            output = arg;
    }
    if (!daysText) {
        if (startText)
            return UsageError("--start needs --days", "");
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
        return WriteFile(output, bytes) ? 0 : 1;
    }

    // An archive: everything is checked before the first file is written.
    using std::chrono::days;
    const int nameable = int((LastNameable - FirstNameable).count()) + 1;
    const std::optional<int> count = Count(daysText, nameable);
    if (!count)
        return UsageError("--days needs a number of days from 1 to 36525: ", daysText);
    if (pattern)
        return UsageError("--test-pattern writes one log, not --days", "");
    std::optional<std::chrono::sys_days> first;
    if (startText) {
        first = std::strlen(startText) == 6 ? LogDate(std::string(startText) + ".log") : std::nullopt;
        if (!first)
            return UsageError("--start needs a date yymmdd: ", startText);
    } else {
        first = SampleDay - days(*count - 1);
    }
    if (*first < FirstNameable || *first + days(*count - 1) > LastNameable) {
        // Say what would work: the most days that fit, and the way round it.
        const int fitting = startText ? int((LastNameable - *first).count()) + 1
                                      : int((SampleDay - FirstNameable).count()) + 1;
        char problem[200];
        if (*first < FirstNameable)
            std::snprintf(problem, sizeof problem,
                          "the days would begin before 2000, and log names hold only 2000..2099: "
                          "give --start a date from 000101 on, or at most %d days",
                          fitting);
        else
            std::snprintf(problem, sizeof problem,
                          "the days would run past 2099, and log names hold only 2000..2099: "
                          "give an earlier --start, or at most %d days from this one",
                          fitting);
        return UsageError(problem, "");
    }
    if (!output)
        return UsageError("missing FOLDER", "");

    const std::filesystem::path folder(output);
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (!std::filesystem::is_directory(folder)) {
        std::fprintf(stderr, "dirchart-sample: %s: not a folder\n", output);
        return 1;
    }
    // Days are made on every core; a year takes seconds.
    std::atomic<int> next{0};
    std::atomic<bool> written{true};
    const auto work = [&] {
        for (int i = next++; i < *count && written; i = next++) {
            const std::chrono::sys_days date = *first + days(i);
            const std::string name = DayText(date); // "2026/12/08" gives "261208.log"
            const std::string file =
                name.substr(2, 2) + name.substr(5, 2) + name.substr(8, 2) + ".log";
            if (!WriteFile(folder / file, SampleArchiveDay(date)))
                written = false;
        }
    };
    std::vector<std::thread> threads;
    for (unsigned i = 1; i < std::min(std::thread::hardware_concurrency(), unsigned(*count)); ++i)
        threads.emplace_back(work);
    work();
    for (std::thread& thread : threads)
        thread.join();
    return written ? 0 : 1;
}
