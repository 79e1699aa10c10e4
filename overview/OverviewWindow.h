// SPDX-License-Identifier: MIT
#pragma once

#include "ArchiveListing.h"
#include "DayStacks.h"
#include "OverviewCalendar.h"
#include "OverviewColours.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <filesystem>
#include <optional>

class OverviewLoader;
class PictureBox;
class QLabel;
class QScrollArea;
class QSplitter;
struct DayReading;

// 一覧: the days of one folder's archive at a glance. Above, the two day
// stacks (時刻 and 方向), a row a day; below, a calendar of the days'
// thumbnails. Logs are read on worker threads and the pictures fill in as
// they come; a log that appears in the folder or grows is shown within two
// seconds. Choosing a day (a click, or Enter on the selection) asks for it
// through dayChosen; a click on the time stack also gives the slot.
class OverviewWindow : public QWidget {
    Q_OBJECT
  public:
    // `shownLog` is the log the main window shows (outlined and scrolled
    // to), or empty.
    OverviewWindow(std::filesystem::path folder, std::filesystem::path shownLog,
                   QWidget* parent = nullptr);
    ~OverviewWindow() override;

    const std::filesystem::path& folder() const { return m_folder; }

    // For tests and the timing harness: the calendar, the stacks, how many
    // listed days still wait for their first reading, and whether the folder
    // has been listed and every day read.
    OverviewCalendar* calendar() const { return m_calendar; }
    PictureBox* stack(DayStack stack) const;
    int daysPending() const { return m_pending; }
    bool allRead() const { return m_listed && m_pending == 0; }

    // Shows the window, or brings it to the front: on the shown day (selected
    // and scrolled to), with the keys on the calendar.
    void present();

  public slots:
    void setShownLog(const std::filesystem::path& log);
    // Reads a day's marks again (made, edited or deleted elsewhere), so that
    // its flag and tooltip follow; a log of another folder is ignored.
    void refreshMarks(const std::filesystem::path& log);
    // Recolours the thumbnails and stacks from what is kept; no log is read.
    void setColours(const OverviewColours& colours);

  signals:
    void dayChosen(std::filesystem::path log, std::optional<int> slot);
    // 基準日にする on a thumbnail's menu: that day's log is to be the
    // reference day.
    void referenceChosen(std::filesystem::path log);

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    void applyListing(const ArchiveListing& listing);
    void applyReading(int day, std::uint64_t request, const DayReading& reading);
    void rebuildStacks();
    void drawStacks();
    void wireStack(DayStack stack);
    void chooseDay(Day day, std::optional<int> slot = std::nullopt);
    void goToDay(Day day);
    void updateStatus();
    std::optional<Day> shownDay() const;
    int stackDays() const;

    std::filesystem::path m_folder;
    std::filesystem::path m_shownName; // the shown log's file name, if it is in the folder
    OverviewDays m_days;
    std::uint64_t m_requests = 0;
    int m_pending = 0; // days not read yet
    QTimer m_statusDelay;
    OverviewColours m_colours;
    bool m_listed = false; // the first listing has come
    bool m_opened = false; // and the window has been brought to the shown day

    OverviewLoader* m_loader = nullptr;
    OverviewCalendar* m_calendar = nullptr;
    QSplitter* m_splitter = nullptr;
    QScrollArea* m_stackArea = nullptr;
    QWidget* m_stackPane = nullptr;
    PictureBox* m_stacks[2] = {nullptr, nullptr};
    QLabel* m_stackTitles[2] = {nullptr, nullptr};
    QLabel* m_status = nullptr;
    QLabel* m_leftOut = nullptr;

    // DIRCHART_OVERVIEW_TIMING: the times to the first and the last thumbnail.
    QElapsedTimer m_sinceOpened;
    bool m_timing = false;
    bool m_firstShown = false;
};
