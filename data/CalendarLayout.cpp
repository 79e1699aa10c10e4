// SPDX-License-Identifier: MIT
#include "CalendarLayout.h"

#include <algorithm>

using namespace std::chrono;

Day MondayOf(Day day) {
    return day - (weekday(day) - Monday);
}

CalendarLayout::CalendarLayout(std::vector<Day> logDates) {
    if (logDates.empty())
        return;
    std::sort(logDates.begin(), logDates.end());
    logDates.erase(std::unique(logDates.begin(), logDates.end()), logDates.end());
    m_first = logDates.front();
    m_last = logDates.back();

    // Weeks in order; `next` walks the log dates alongside.
    auto next = logDates.begin();
    bool afterFold = true; // the first row names its month as a row after a fold does
    for (Day monday = MondayOf(m_first); monday <= m_last; monday += weeks(1)) {
        const Day sunday = monday + days(6);
        while (next != logDates.end() && *next < monday)
            ++next;
        if (next == logDates.end() || *next > sunday) {
            // No log this week: count the empty weeks from here on.
            Day end = monday;
            while (*next > end + days(6))
                end += weeks(1);
            const int empty = int((end - monday).count() / 7);
            if (empty >= FoldFromWeeks) {
                m_rows.push_back({monday, empty, true, std::nullopt});
                monday = end - weeks(1);
                afterFold = true;
                continue;
            }
        }
        CalendarRow row{monday, 1, false, std::nullopt};
        const Day from = std::max(monday, m_first);
        const Day to = std::min(sunday, m_last);
        for (Day d = from; d <= to; d += days(1))
            if (year_month_day(d).day() == std::chrono::day(1))
                row.month = year_month_day(d).year() / year_month_day(d).month();
        if (!row.month && afterFold)
            row.month = year_month_day(from).year() / year_month_day(from).month();
        afterFold = false;
        m_rows.push_back(row);
    }
}

std::optional<CalendarPlace> CalendarLayout::placeOf(Day day) const {
    if (m_rows.empty() || day < m_first || day > m_last)
        return std::nullopt;
    const Day monday = MondayOf(day);
    const auto row = std::upper_bound(m_rows.begin(), m_rows.end(), monday,
                                      [](Day d, const CalendarRow& r) { return d < r.monday; }) -
                     1;
    if (row->folded)
        return std::nullopt;
    return CalendarPlace{int(row - m_rows.begin()), int((day - monday).count())};
}

std::optional<Day> CalendarLayout::dayAt(CalendarPlace place) const {
    if (place.row < 0 || place.row >= int(m_rows.size()) || place.column < 0 || place.column > 6)
        return std::nullopt;
    const CalendarRow& row = m_rows[std::size_t(place.row)];
    const Day day = row.monday + days(place.column);
    if (row.folded || day < m_first || day > m_last)
        return std::nullopt;
    return day;
}
