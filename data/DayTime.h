// SPDX-License-Identifier: MIT
#pragma once

#include "ObservationGrid.h"

#include <optional>
#include <string>
#include <string_view>

// Time slots and direction bins as people read and write them. Slot t begins
// 2t minutes after midnight; bin d stands for 2d degrees.

constexpr int SlotHour(int t) {
    return t * ObservationGrid::MinutesPerSlot / 60;
}
constexpr int SlotMinute(int t) {
    return t * ObservationGrid::MinutesPerSlot % 60;
}
constexpr int BinDegrees(int d) {
    return d * ObservationGrid::DegreesPerBin;
}

// The time at which slot t begins: "9:06", or with the hour padded, "09:06".
std::string SlotClock(int t, bool padHour = false);
// The same as four digits, hours then minutes, for file names: "0906".
std::string SlotStamp(int t);

// The minute after midnight of "H:MM" or "HH:MM" (0:00 to 23:59); nothing
// for any other text.
std::optional<int> DayMinute(std::string_view time);
// The slot that begins at "H:MM" or "HH:MM" (0:00 to 23:58, even minutes);
// nothing for any other text.
std::optional<int> SlotStartingAt(std::string_view time);
// The slot that holds the minute "H:MM" or "HH:MM" (0:00 to 23:59); nothing
// for any other text.
std::optional<int> SlotHolding(std::string_view time);

// `text` without the spaces at either end, as typed ranges and sectors are read.
std::string_view Trimmed(std::string_view text);
