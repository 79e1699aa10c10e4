// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

// A station keeps one log a day, named after its date: the file name ends in
// six digits yymmdd and ".log" (in any case), as in "261208.log" or
// "station-261208.LOG". Years 00..99 stand for 2000..2099.

// The date a log's file name carries, as the number yymmdd, which orders
// logs by date; nothing for a name of another shape.
std::optional<int> LogDateKey(std::string_view fileName);

// The log in the folder of `shown` whose date comes nearest before (step -1)
// or after (step +1) the date of `shown`: regular files only, days without
// a log skipped, names of other shapes ignored. Nothing when there is none,
// or when `shown`'s own name carries no date. Logs of the same date are
// taken in the order of their names.
std::optional<std::filesystem::path> NeighbourDayLog(const std::filesystem::path& shown, int step);
