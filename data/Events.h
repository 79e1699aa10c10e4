// SPDX-License-Identifier: MIT
#pragma once

#include "DayProfile.h"
#include "ObservationGrid.h"

#include <string>
#include <string_view>
#include <vector>

// An event of a day: a connected group of cells whose value is at least a
// threshold. Cells touch across a side or a corner, in time and in
// direction; direction wraps (bin 179 touches bin 0), time does not (the
// last slot of a day does not touch the first).
struct SignalEvent {
    int firstSlot = 0;
    int endSlot = 0; // the slot after the last one: 720 for an event lasting until midnight
    // The highest cell; of equal ones the earliest, then the lowest bin.
    int peakSlot = 0;
    int peakBin = 0;
    int peakValue = 0;
    int cells = 0;

    int minutes() const { return (endSlot - firstSlot) * ObservationGrid::MinutesPerSlot; }
    bool operator==(const SignalEvent&) const = default;
};

// The thresholds a user can set, and the one set at first.
inline constexpr int MinEventThreshold = 1;
inline constexpr int MaxEventThreshold = 32767;
inline constexpr int DefaultEventThreshold = 512;

// The events of `grid` at `threshold` (at least 1, so that the empty cells
// past the end of a short log never count), ordered by first slot, then by
// peak bin. Time and memory grow with the number of runs of cells over the
// threshold, never with the size of an event, so a threshold of 1 on a busy
// day (one event of every cell) is as quick as any.
std::vector<SignalEvent> FindEvents(const ObservationGrid& grid, int threshold);

// The directions `event` covers: the shortest sector (going up through 0
// where it must) that holds every bin of its cells, all of them when its
// cells leave no gap. Its cells are found again from its peak, joined as
// FindEvents joins them at the same `threshold`, so this costs a walk over
// one event and is meant for one event at a time.
DirectionSector EventSector(const ObservationGrid& grid, int threshold, const SignalEvent& event);

// The listing of events as `dirchart --events` prints it and the events
// window saves it: a header line, then one line per event of a log, the
// log's path as given (quoted where CSV needs it) and the times as "HH:MM",
// the end being "24:00" for an event that lasts until midnight.
inline constexpr std::string_view EventListHeader =
    "log,start,end,peak_time,peak_direction,peak_value,cells\n";
std::string EventListLines(std::string_view log, const std::vector<SignalEvent>& events);
