// SPDX-License-Identifier: MIT
#include "ArchiveListing.h"

#include "DayLogs.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <system_error>

namespace fs = std::filesystem;
using namespace std::chrono;

std::optional<Day> LogDate(std::string_view fileName) {
    const std::optional<int> key = LogDateKey(fileName);
    if (!key)
        return std::nullopt;
    const year_month_day date{year(2000 + *key / 10000), month(unsigned(*key / 100 % 100)),
                              std::chrono::day(unsigned(*key % 100))};
    if (!date.ok())
        return std::nullopt;
    return Day(date);
}

std::string DayText(Day day, bool monthOnly) {
    const year_month_day ymd(day);
    char text[32];
    if (monthOnly)
        std::snprintf(text, sizeof text, "%d/%02u", int(ymd.year()), unsigned(ymd.month()));
    else
        std::snprintf(text, sizeof text, "%d/%02u/%02u", int(ymd.year()), unsigned(ymd.month()),
                      unsigned(ymd.day()));
    return text;
}

namespace {

// "261208.log" exactly, for the log of 2026-12-08.
bool IsPlainName(const fs::path& path, Day date) {
    const year_month_day ymd(date);
    char plain[16];
    std::snprintf(plain, sizeof plain, "%02d%02u%02u.log", int(ymd.year()) % 100,
                  unsigned(ymd.month()), unsigned(ymd.day()));
    return path.filename().native() == plain;
}

} // namespace

ArchiveListing SortArchive(std::vector<ArchiveLog> candidates) {
    ArchiveListing listing;
    std::sort(candidates.begin(), candidates.end(), [](const ArchiveLog& a, const ArchiveLog& b) {
        return a.path.filename().native() < b.path.filename().native();
    });
    for (ArchiveLog& log : candidates) {
        const std::optional<Day> date = LogDate(log.path.filename().native());
        if (!date) {
            listing.leftOut.push_back(log.path.filename());
            continue;
        }
        log.date = *date;
        listing.logs.push_back(std::move(log));
    }
    // Stable: names of the same date stay in byte order behind the plain one.
    std::stable_sort(listing.logs.begin(), listing.logs.end(),
                     [](const ArchiveLog& a, const ArchiveLog& b) {
                         if (a.date != b.date)
                             return a.date < b.date;
                         return IsPlainName(a.path, a.date) && !IsPlainName(b.path, b.date);
                     });
    std::vector<ArchiveLog> kept;
    kept.reserve(listing.logs.size());
    for (ArchiveLog& log : listing.logs) {
        if (!kept.empty() && kept.back().date == log.date)
            listing.leftOut.push_back(log.path.filename());
        else
            kept.push_back(std::move(log));
    }
    listing.logs = std::move(kept);
    std::sort(listing.leftOut.begin(), listing.leftOut.end(),
              [](const fs::path& a, const fs::path& b) { return a.native() < b.native(); });
    return listing;
}

ArchiveListing ListArchive(const fs::path& folder) {
    std::vector<ArchiveLog> candidates;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (!LogDateKey(it->path().filename().native()))
            continue;
        // One stat a name: type, size and time together, since a folder of
        // ten thousand logs is listed every second. A name that is not a
        // regular file (a folder, a FIFO, a dangling symbolic link) stays
        // in: it is a log that cannot be read, as the archive's page has
        // it, and its reading says so.
        struct stat info {};
        if (::stat(it->path().c_str(), &info) != 0 && ::lstat(it->path().c_str(), &info) != 0)
            continue;
        if (!S_ISREG(info.st_mode))
            info.st_size = 0;
        candidates.push_back({Day{}, it->path(), std::uintmax_t(info.st_size),
                              std::int64_t(info.st_mtim.tv_sec) * 1'000'000'000 +
                                  info.st_mtim.tv_nsec});
    }
    return SortArchive(std::move(candidates));
}
