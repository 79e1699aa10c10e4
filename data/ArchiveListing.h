// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The logs of one folder seen as an archive of days: every regular file that
// day stepping would visit (a name ending in six digits and ".log") whose six
// digits are a real date, one log per date.

using Day = std::chrono::sys_days;

// The real date a log's file name carries: "260230.log" has six digits but
// no date. Years 00..99 stand for 2000..2099.
std::optional<Day> LogDate(std::string_view fileName);
// A day as people here write it: "2026/12/08"; with `month` only "2026/12".
std::string DayText(Day day, bool monthOnly = false);

// The log that fills one day of the archive.
struct ArchiveLog {
    Day date;
    std::filesystem::path path;
    // What the file was when listed, so that a log that grows or is
    // rewritten can be told from one that stayed the same.
    std::uintmax_t size = 0;
    std::int64_t modified = 0; // nanoseconds since the epoch
};

struct ArchiveListing {
    std::vector<ArchiveLog> logs; // by date, one per date
    // File names named like logs that fill no day: six digits that are no
    // date, and the other logs of a date that two names share. In byte order.
    std::vector<std::filesystem::path> leftOut;
};

// Sorts `candidates` (paths named like logs) into the days they fill and the
// names left out. Where two names share a date, the one named exactly
// "yymmdd.log" fills the day, else the first in byte order.
ArchiveListing SortArchive(std::vector<ArchiveLog> candidates);

// The archive of a folder: every name in it that is named like a log, a
// regular file or not (a folder, a FIFO or a dangling link of such a name is
// a log that cannot be read). A folder that cannot be read gives an empty
// listing.
ArchiveListing ListArchive(const std::filesystem::path& folder);
