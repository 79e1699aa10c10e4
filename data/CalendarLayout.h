// SPDX-License-Identifier: MIT
#pragma once

#include "ArchiveListing.h"

#include <chrono>
#include <optional>
#include <vector>

// The calendar of an archive's days: seven columns, Monday to Sunday, one row
// per week from the week of the first log (at the top) to the week of the
// last. A long stretch of whole weeks without a log is folded into one row, so
// that a receiver that was off for a season costs one line, not a screenful
// of empty weeks.
struct CalendarRow {
    Day monday;    // the week's Monday; for a fold, the first folded week's
    int weeks = 1; // how many weeks the row stands for
    bool folded = false;
    // The month named at this row: the month that begins in this week, and
    // at the first row and the row after a fold, the month of the row's
    // first day in the calendar.
    std::optional<std::chrono::year_month> month;
};

struct CalendarPlace {
    int row = 0;
    int column = 0; // 0 for Monday .. 6 for Sunday
    bool operator==(const CalendarPlace&) const = default;
};

class CalendarLayout {
  public:
    // Whole weeks without a log are folded from this many in a row on.
    static constexpr int FoldFromWeeks = 4;

    CalendarLayout() = default;
    // `logDates`: the days that have a log, in any order; days between the
    // first and the last are in the calendar whether they have a log or not.
    explicit CalendarLayout(std::vector<Day> logDates);

    bool empty() const { return m_rows.empty(); }
    Day first() const { return m_first; }
    Day last() const { return m_last; }
    const std::vector<CalendarRow>& rows() const { return m_rows; }

    // Where a day stands; nothing outside first()..last() or in a fold.
    std::optional<CalendarPlace> placeOf(Day day) const;
    // The day at a place; nothing on a fold or outside first()..last().
    std::optional<Day> dayAt(CalendarPlace place) const;

  private:
    Day m_first;
    Day m_last;
    std::vector<CalendarRow> m_rows;
};

// The Monday of the week that holds `day`.
Day MondayOf(Day day);
