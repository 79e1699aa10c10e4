// SPDX-License-Identifier: MIT
#include "DayLogs.h"

#include <cstdio>
#include <string>
#include <system_error>
#include <utility>

namespace fs = std::filesystem;

std::optional<int> LogDateKey(std::string_view fileName) {
    constexpr std::string_view Extension = ".log";
    if (fileName.size() < 6 + Extension.size())
        return std::nullopt;
    const std::string_view tail = fileName.substr(fileName.size() - Extension.size());
    for (std::size_t i = 0; i < Extension.size(); ++i) {
        // ASCII case folding only: a locale must not make "LOG" match or not.
        const char c = tail[i] >= 'A' && tail[i] <= 'Z' ? char(tail[i] - 'A' + 'a') : tail[i];
        if (c != Extension[i])
            return std::nullopt;
    }
    int key = 0;
    for (char c : fileName.substr(fileName.size() - Extension.size() - 6, 6)) {
        if (c < '0' || c > '9')
            return std::nullopt;
        key = key * 10 + (c - '0');
    }
    return key;
}

std::optional<fs::path> NeighbourDayLog(const fs::path& shown, int step) {
    const std::optional<int> shownKey = LogDateKey(shown.filename().native());
    if (!shownKey || step == 0)
        return std::nullopt;

    // Logs are ordered by (date, name); the best candidate is the nearest to
    // the shown log in the direction of the step.
    using Place = std::pair<int, fs::path>;
    const Place here{*shownKey, shown.filename()};
    std::optional<Place> best;
    std::error_code error;
    const fs::path folder = shown.parent_path().empty() ? fs::path(".") : shown.parent_path();
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const fs::path name = it->path().filename();
        const std::optional<int> key = LogDateKey(name.native());
        if (!key)
            continue;
        Place candidate{*key, name};
        if (step < 0 ? candidate >= here : candidate <= here)
            continue;
        if (best && (step < 0 ? candidate <= *best : candidate >= *best))
            continue;
        std::error_code typeError;
        if (it->is_regular_file(typeError))
            best = std::move(candidate);
    }
    if (!best)
        return std::nullopt;
    return shown.parent_path() / best->second;
}

namespace {

struct CivilDate {
    int year, month, day;
};

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    constexpr int Days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : Days[month - 1];
}

std::optional<CivilDate> KeyDate(int key) {
    const CivilDate date{2000 + key / 10000, key / 100 % 100, key % 100};
    if (date.month < 1 || date.month > 12 || date.day < 1 ||
        date.day > DaysInMonth(date.year, date.month))
        return std::nullopt;
    return date;
}

std::optional<int> DateKey(CivilDate date) {
    if (date.year < 2000 || date.year > 2099)
        return std::nullopt;
    return (date.year - 2000) * 10000 + date.month * 100 + date.day;
}

} // namespace

std::optional<int> DateKeyDaysBefore(int key, int days) {
    std::optional<CivilDate> date = KeyDate(key);
    if (!date)
        return std::nullopt;
    for (int i = 0; i < days; ++i) {
        if (--date->day > 0)
            continue;
        if (--date->month == 0) {
            date->month = 12;
            --date->year;
        }
        date->day = DaysInMonth(date->year, date->month);
    }
    return DateKey(*date);
}

std::optional<int> DateKeyYearBefore(int key) {
    std::optional<CivilDate> date = KeyDate(key);
    if (!date || (date->month == 2 && date->day == 29))
        return std::nullopt;
    --date->year;
    return DateKey(*date);
}

std::optional<fs::path> RelativeDayLog(const fs::path& shown, RelativeDay which) {
    if (which == RelativeDay::PreviousLog)
        return NeighbourDayLog(shown, -1);
    const std::string name = shown.filename().native();
    const std::optional<int> shownKey = LogDateKey(name);
    if (!shownKey)
        return std::nullopt;
    const std::optional<int> key = which == RelativeDay::WeekBefore
                                       ? DateKeyDaysBefore(*shownKey, 7)
                                       : DateKeyYearBefore(*shownKey);
    if (!key)
        return std::nullopt;

    // The shown log's name with its six digits changed is the usual case of
    // a station that names every log alike.
    std::string sameShape = name;
    const std::size_t digits = name.size() - 4 - 6;
    char date[7];
    std::snprintf(date, sizeof date, "%06d", *key);
    sameShape.replace(digits, 6, date);

    std::optional<fs::path> first;
    std::error_code error;
    const fs::path folder = shown.parent_path().empty() ? fs::path(".") : shown.parent_path();
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const fs::path candidate = it->path().filename();
        if (LogDateKey(candidate.native()) != key)
            continue;
        std::error_code typeError;
        if (!it->is_regular_file(typeError))
            continue;
        if (candidate.native() == sameShape)
            return shown.parent_path() / candidate;
        if (!first || candidate < *first)
            first = candidate;
    }
    if (!first)
        return std::nullopt;
    return shown.parent_path() / *first;
}
