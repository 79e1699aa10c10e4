// SPDX-License-Identifier: MIT
#include "DayTime.h"

#include <cstdio>

namespace {

// Minutes after midnight of "H:MM" or "HH:MM", 0:00 to 23:59.
std::optional<int> MinuteOfDay(std::string_view time) {
    const auto colon = time.find(':');
    if (colon == std::string_view::npos || colon < 1 || colon > 2 || time.size() != colon + 3)
        return std::nullopt;
    int value[2] = {0, 0};
    const std::string_view parts[2] = {time.substr(0, colon), time.substr(colon + 1)};
    for (int i = 0; i < 2; ++i) {
        for (const char c : parts[i]) {
            if (c < '0' || c > '9')
                return std::nullopt;
            value[i] = value[i] * 10 + (c - '0');
        }
    }
    if (value[0] > 23 || value[1] > 59)
        return std::nullopt;
    return value[0] * 60 + value[1];
}

} // namespace

std::optional<int> DayMinute(std::string_view time) {
    return MinuteOfDay(time);
}

std::string SlotClock(int t, bool padHour) {
    char text[32];
    std::snprintf(text, sizeof text, padHour ? "%02d:%02d" : "%d:%02d", SlotHour(t), SlotMinute(t));
    return text;
}

std::string SlotStamp(int t) {
    char text[32];
    std::snprintf(text, sizeof text, "%02d%02d", SlotHour(t), SlotMinute(t));
    return text;
}

std::optional<int> SlotStartingAt(std::string_view time) {
    const std::optional<int> minute = MinuteOfDay(time);
    if (!minute || *minute % ObservationGrid::MinutesPerSlot != 0)
        return std::nullopt;
    return *minute / ObservationGrid::MinutesPerSlot;
}

std::optional<int> SlotHolding(std::string_view time) {
    const std::optional<int> minute = MinuteOfDay(time);
    if (!minute)
        return std::nullopt;
    return *minute / ObservationGrid::MinutesPerSlot;
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}
