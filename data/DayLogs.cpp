// SPDX-License-Identifier: MIT
#include "DayLogs.h"

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
