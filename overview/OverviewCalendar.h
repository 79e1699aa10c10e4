// SPDX-License-Identifier: MIT
#pragma once

#include "CalendarLayout.h"
#include "DaySummary.h"
#include "OverviewColours.h"

#include <QAbstractScrollArea>
#include <QCache>
#include <QImage>

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>

// One day of the overview as the window knows it: the log that fills it and
// what reading it gave.
struct OverviewDay {
    std::filesystem::path log;
    // The file as last listed; a change means reading it again.
    std::uintmax_t size = 0;
    std::int64_t modified = 0;
    std::uint64_t request = 0; // the latest read asked for
    bool read = false;         // a reading has come back
    std::shared_ptr<const DaySummary> summary;
    QString problem; // why the log could not be read
    int marks = 0;   // the marks left on the day
    bool marksDamaged = false;
};
using OverviewDays = std::map<int, OverviewDay>; // by day number

// The calendar of thumbnails: seven columns, Monday to Sunday, a row a week,
// a month's name where a month begins, folds for long stretches without a
// log. Only the rows in view are painted, and thumbnails are drawn when they
// first come into view, so that ten thousand days scroll as one year does.
// The arrow keys move the selection, Enter or a click chooses a day.
class OverviewCalendar : public QAbstractScrollArea {
    Q_OBJECT
  public:
    OverviewCalendar(const OverviewDays& days, QWidget* parent = nullptr);

    void setCalendar(CalendarLayout layout);
    // What an empty calendar says.
    void setPlaceholder(const QString& text);
    const CalendarLayout& calendar() const { return m_layout; }
    // The day outlined as the one the main window shows.
    void setShownDay(std::optional<Day> day);
    std::optional<Day> shownDay() const { return m_shown; }
    void setSelectedDay(Day day);
    std::optional<Day> selectedDay() const { return m_selected; }
    void scrollToDay(Day day);
    // A day's reading changed: its thumbnail is drawn again.
    void dayChanged(Day day);
    void setColours(const OverviewColours& colours);

    // Viewport coordinates.
    QRect cellRect(Day day) const;
    std::optional<Day> dayAt(QPoint point) const;
    // The day in the middle of the view.
    std::optional<Day> middleDay() const;

  signals:
    void dayActivated(Day day);
    // A thumbnail's menu is asked for, at a global position.
    void dayMenuRequested(Day day, QPoint globalPos);
    void viewMoved();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool viewportEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    const OverviewDay* dayInfo(Day day) const;
    QString toolTipFor(Day day) const;
    QImage thumbnail(Day day, const DaySummary& summary);
    void moveSelection(int step);
    void updateScrollBars();
    void layOutRows();
    // Thumbnails as large as a week of them fits the width, up to full size.
    void fitWidth();
    void setFrameWidth(int width);
    int contentWidth() const;
    int rowTop(std::size_t row) const { return m_rowTops[row]; }

    const OverviewDays& m_days;
    CalendarLayout m_layout;
    std::vector<int> m_rowTops; // content coordinates, one more than rows
    QString m_placeholder;
    std::optional<Day> m_shown;
    std::optional<Day> m_selected;
    OverviewColours m_colours;
    // Thumbnails as drawn at the viewport's pixel ratio, by day number.
    QCache<int, QImage> m_thumbnails;
    qreal m_thumbnailRatio = 0;
    // The geometry of a day, at the size the width allows.
    int m_frameWidth = 0;
    int m_frameHeight = 0;
    int m_columnPitch = 0;
    int m_weekHeight = 0;
};
