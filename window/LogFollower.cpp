// SPDX-License-Identifier: MIT
#include "LogFollower.h"

#include "LogFile.h"
#include "ObservationLog.h"
#include "PathText.h"
#include "ViewState.h"

#include <QSocketNotifier>

#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

namespace {
// What changes a followed file: written, truncated, replaced or removed.
constexpr std::uint32_t FileEvents =
    IN_MODIFY | IN_CLOSE_WRITE | IN_ATTRIB | IN_MOVE_SELF | IN_DELETE_SELF;
// What in its folder can put another file at its name.
constexpr std::uint32_t FolderEvents = IN_CREATE | IN_MOVED_TO | IN_DELETE | IN_MOVED_FROM;
} // namespace

LogFollower::LogFollower(ViewState& view, QObject* parent) : QObject(parent), m_view(view) {
    m_delay.setSingleShot(true);
    m_delay.setInterval(FollowDelayMs);
    connect(&m_delay, &QTimer::timeout, this, &LogFollower::replot);
    connect(&m_view, &ViewState::logChanged, this, [this] { follow(m_view.path()); });
}

LogFollower::~LogFollower() {
    m_notifier.reset();
    if (m_inotify >= 0)
        ::close(m_inotify);
}

void LogFollower::follow(const QString& path) {
    m_delay.stop();
    m_notifier.reset();
    if (m_inotify >= 0)
        ::close(m_inotify);
    m_inotify = m_fileWatch = m_folderWatch = -1;
    m_rewatch = false;
    m_path = path;
    setMissing(false);
    if (path.isEmpty())
        return;
    m_inotify = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_inotify < 0)
        return;
    const std::filesystem::path file = FileSystemPath(path);
    m_folderWatch =
        ::inotify_add_watch(m_inotify, file.parent_path().c_str(), FolderEvents | IN_ONLYDIR);
    watchFile();
    m_notifier = std::make_unique<QSocketNotifier>(m_inotify, QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &LogFollower::readEvents);
}

// A file replaced by a rename, or deleted and written again, is a new file:
// the old watch goes on watching the old one (while someone still holds it
// open), so the name is watched anew whenever that may have happened.
void LogFollower::watchFile() {
    if (m_fileWatch >= 0)
        ::inotify_rm_watch(m_inotify, m_fileWatch);
    m_fileWatch = ::inotify_add_watch(m_inotify, PathBytes(m_path).c_str(), FileEvents);
}

void LogFollower::readEvents() {
    alignas(inotify_event) char buffer[4096];
    bool relevant = false;
    const std::string name = FileSystemPath(m_path).filename().native();
    for (;;) {
        const ssize_t length = ::read(m_inotify, buffer, sizeof buffer);
        if (length <= 0)
            break;
        for (ssize_t at = 0; at < length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            if (event->wd == m_folderWatch) {
                // In the folder only the followed name matters: another file
                // may have taken it.
                if (event->len > 0 && name == event->name)
                    relevant = m_rewatch = true;
            } else if (event->wd == m_fileWatch) {
                // The file itself gone: its watch ends with it.
                if (event->mask & (IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED))
                    m_rewatch = true;
                if (!(event->mask & IN_IGNORED))
                    relevant = true;
            }
            // Events of a watch given up (IN_IGNORED after inotify_rm_watch)
            // change nothing.
        }
    }
    if (relevant && !m_delay.isActive())
        m_delay.start();
}

void LogFollower::replot() {
    if (m_rewatch || m_fileWatch < 0) {
        m_rewatch = false;
        watchFile();
    }
    ObservationGrid fresh;
    const LogReadResult read = ReadLogFile(m_path, fresh);
    setMissing(read.status == LogReadStatus::CannotOpen && read.errorNumber == ENOENT);
    if (!read.ok())
        return;
    const int covered = static_cast<int>(read.cellsCovered());
    if (fresh == m_view.grid() && covered == m_view.coveredCells())
        return;
    m_view.replaceGrid(std::move(fresh), covered);
}

void LogFollower::setMissing(bool missing) {
    if (missing == m_missing)
        return;
    m_missing = missing;
    emit missingChanged(missing);
}
