// SPDX-License-Identifier: MIT
#include "OverviewLoader.h"

#include "FileErrors.h"
#include "ObservationLog.h"

#include <QThread>

#include <chrono>

namespace {

// A log that appears or grows is in the overview within two seconds: a
// listing every second, and a read well under one.
constexpr auto ListingInterval = std::chrono::seconds(1);

} // namespace

OverviewLoader::OverviewLoader(std::filesystem::path folder, QObject* parent)
    : QObject(parent), m_folder(std::move(folder)) {
    const int readers = std::max(1, QThread::idealThreadCount());
    for (int i = 0; i < readers; ++i)
        m_threads.emplace_back([this] { readLoop(); });
    m_threads.emplace_back([this] { listLoop(); });
}

OverviewLoader::~OverviewLoader() {
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_work.notify_all();
    m_listWake.notify_all();
    for (std::thread& thread : m_threads)
        thread.join();
}

void OverviewLoader::read(int day, const std::filesystem::path& log, std::uint64_t request) {
    {
        const std::lock_guard lock(m_mutex);
        m_jobs[day] = {log, request};
    }
    m_work.notify_one();
}

void OverviewLoader::setFocus(int day) {
    const std::lock_guard lock(m_mutex);
    m_focus = day;
}

void OverviewLoader::setListing(bool on) {
    {
        const std::lock_guard lock(m_mutex);
        m_listing = on;
    }
    m_listWake.notify_all();
}

void OverviewLoader::readLoop() {
    ObservationGrid grid;
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_work.wait(lock, [this] { return m_stop || !m_jobs.empty(); });
        if (m_stop)
            return;
        // The job nearest the focus, on either side.
        auto job = m_jobs.lower_bound(m_focus);
        if (job == m_jobs.end() ||
            (job != m_jobs.begin() && m_focus - std::prev(job)->first < job->first - m_focus))
            job = std::prev(job);
        const int day = job->first;
        const Job taken = std::move(job->second);
        m_jobs.erase(job);
        lock.unlock();

        DayReading reading;
        const LogReadResult result = ReadObservationLog(taken.log.native(), grid);
        if (result.ok())
            reading.summary = std::make_shared<const DaySummary>(
                SummariseDay(grid, static_cast<int>(result.cellsCovered())));
        else
            reading.problem = ReasonText(result);
        // Delivered on the window's thread; dropped if this loader is gone.
        QMetaObject::invokeMethod(
            this, [this, day, request = taken.request, reading] { emit dayRead(day, request, reading); },
            Qt::QueuedConnection);
        lock.lock();
    }
}

void OverviewLoader::listLoop() {
    std::unique_lock lock(m_mutex);
    while (!m_stop) {
        m_listWake.wait(lock, [this] { return m_stop || m_listing; });
        if (m_stop)
            return;
        lock.unlock();
        ArchiveListing listing = ListArchive(m_folder);
        QMetaObject::invokeMethod(
            this, [this, listing = std::move(listing)] { emit listed(listing); },
            Qt::QueuedConnection);
        lock.lock();
        m_listWake.wait_for(lock, ListingInterval, [this] { return m_stop; });
    }
}
