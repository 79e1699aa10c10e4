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

// A reference day relative to the shown one: the nearest earlier log in the
// folder, the date a week before, or the same date a year before.
enum class RelativeDay { PreviousLog, WeekBefore, YearBefore };

// The date key (yymmdd) `days` days before the key's date; nothing when it
// falls before 2000/01/01 or the key is not a real date.
std::optional<int> DateKeyDaysBefore(int key, int days);
// The same month and day a year before; nothing for 29 February, which the
// year before does not have, or before 2000.
std::optional<int> DateKeyYearBefore(int key);

// The log of the reference day in the folder of `shown`: for a date, the
// regular file of that date named as `shown` is (its name with the date
// changed), else the first by name of that date. Nothing when there is none.
std::optional<std::filesystem::path> RelativeDayLog(const std::filesystem::path& shown,
                                                    RelativeDay which);
