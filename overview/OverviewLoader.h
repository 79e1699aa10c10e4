// SPDX-License-Identifier: MIT
#pragma once

#include "ArchiveListing.h"
#include "DaySummary.h"

#include <QObject>
#include <QString>

#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

// What reading one day's log gave: its summary, or why it could not be read.
struct DayReading {
    std::shared_ptr<const DaySummary> summary; // null when the log could not be read
    QString problem;
};

// The overview's work off the window's thread: it lists the folder once a
// second (so that a log that appears or grows is seen), and reads the logs
// it is asked for on as many threads as there are cores, the day nearest
// the focus first, so that what is on screen fills in first. Each reader
// keeps one grid; only summaries come back.
class OverviewLoader : public QObject {
    Q_OBJECT
  public:
    explicit OverviewLoader(std::filesystem::path folder, QObject* parent = nullptr);
    ~OverviewLoader() override;

    // Reads the log of `day` (a day number) and reports it with `request`;
    // a day asked for again before it was read is read once, as last asked.
    void read(int day, const std::filesystem::path& log, std::uint64_t request);
    // Days nearest this one are read first.
    void setFocus(int day);
    // Listing stops while the window is hidden; resuming lists at once.
    void setListing(bool on);

  signals:
    void listed(const ArchiveListing& listing);
    void dayRead(int day, std::uint64_t request, const DayReading& reading);

  private:
    struct Job {
        std::filesystem::path log;
        std::uint64_t request = 0;
    };
    void readLoop();
    void listLoop();

    const std::filesystem::path m_folder;
    std::mutex m_mutex;
    std::condition_variable m_work;
    std::condition_variable m_listWake;
    std::map<int, Job> m_jobs; // by day
    int m_focus = 0;
    bool m_listing = true;
    bool m_stop = false;
    std::vector<std::thread> m_threads;
};
