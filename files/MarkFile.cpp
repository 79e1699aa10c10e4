// SPDX-License-Identifier: MIT
#include "MarkFile.h"

#include "DayLogs.h"
#include "PathText.h"
#include "WholeFile.h"

#include <QStandardPaths>
#include <QThread>
#include <QThreadPool>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <latch>
#include <memory>
#include <string>
#include <string_view>

namespace {

constexpr QLatin1StringView MarksEnding(".marks.json");

QString FolderOf(const QString& path) {
    const qsizetype slash = path.lastIndexOf(u'/');
    return slash < 0 ? QStringLiteral(".") : slash == 0 ? QStringLiteral("/") : path.left(slash);
}

bool FolderWritable(const QString& path) {
    return ::access(PathBytes(FolderOf(path)).c_str(), W_OK) == 0;
}

bool Exists(const QString& path) {
    struct stat info {};
    return ::stat(PathBytes(path).c_str(), &info) == 0;
}

// Room for a file's bytes, reused from file to file and never cleared: only
// the bytes read are ever looked at.
struct ByteRoom {
    std::unique_ptr<char[]> bytes;
    std::size_t capacity = 0;
    std::size_t size = 0;
    std::string_view text() const { return {bytes.get(), size}; }
    void grow(std::size_t atLeast) {
        std::unique_ptr<char[]> larger(new char[atLeast]);
        if (size > 0)
            std::memcpy(larger.get(), bytes.get(), size);
        bytes = std::move(larger);
        capacity = atLeast;
    }
};

// The whole of an open file's bytes into `room`: a marks file is a few
// kilobytes, so one read fills it and a second finds its end, with no call
// asking its size first. Closes the file; 0, or errno's value.
int ReadOpened(int fd, ByteRoom& room) {
    room.size = 0;
    if (room.capacity < 16384)
        room.grow(16384);
    for (;;) {
        if (room.size == room.capacity)
            room.grow(2 * room.capacity);
        const ssize_t n = ::read(fd, room.bytes.get() + room.size, room.capacity - room.size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int error = errno;
            ::close(fd);
            return error;
        }
        if (n == 0)
            break;
        room.size += std::size_t(n);
    }
    ::close(fd);
    return 0;
}

// One room per thread for the files' bytes, so that reading a folder's
// marks, file after file, allocates none; room grown by an unusually large
// file is let go again.
class ReadBuffer {
  public:
    ReadBuffer() : m_room(Shared()) {}
    ~ReadBuffer() {
        if (m_room.capacity > (std::size_t(1) << 20))
            m_room = ByteRoom();
    }
    ReadBuffer(const ReadBuffer&) = delete;
    ReadBuffer& operator=(const ReadBuffer&) = delete;
    ByteRoom& room() { return m_room; }

  private:
    static ByteRoom& Shared() {
        thread_local ByteRoom room;
        return room;
    }
    ByteRoom& m_room;
};

// The marks of the file at `path`, opened as `fd`, or not opened with
// errno's value `openError` (ENOENT for no file, thus no marks).
MarksRead MarksFromOpened(const QString& path, int fd, int openError) {
    MarksRead read;
    read.path = path;
    if (fd < 0) {
        if (openError != ENOENT) {
            read.status = MarksRead::Status::CannotRead;
            read.errorNumber = openError;
        }
        return read;
    }
    ReadBuffer buffer;
    if (const int error = ReadOpened(fd, buffer.room()); error != 0) {
        read.status = MarksRead::Status::CannotRead;
        read.errorNumber = error;
        return read;
    }
    std::string why;
    std::optional<MarksDocument> document = ParseMarks(buffer.room().text(), &why);
    if (!document) {
        read.status = MarksRead::Status::Damaged;
        read.why = QString::fromStdString(why);
        return read;
    }
    read.status = MarksRead::Status::Read;
    read.document = std::move(*document);
    return read;
}

MarksRead ReadMarksAt(const QString& path) {
    const int fd = ::open(PathBytes(path).c_str(), O_RDONLY | O_CLOEXEC);
    return MarksFromOpened(path, fd, fd < 0 ? errno : 0);
}

// Holds an exclusive lock on the lock file of a marks file while it lives.
class MarksLock {
  public:
    explicit MarksLock(const QString& marksPath) {
        const qsizetype slash = marksPath.lastIndexOf(u'/');
        const QString lockPath =
            marksPath.left(slash + 1) + u'.' + marksPath.mid(slash + 1) + QStringLiteral(".lock");
        m_fd = ::open(PathBytes(lockPath).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (m_fd < 0) {
            m_error = errno;
            return;
        }
        while (::flock(m_fd, LOCK_EX) != 0) {
            if (errno != EINTR) {
                m_error = errno;
                break;
            }
        }
    }
    ~MarksLock() {
        if (m_fd >= 0)
            ::close(m_fd); // releases the lock
    }
    MarksLock(const MarksLock&) = delete;
    MarksLock& operator=(const MarksLock&) = delete;
    int error() const { return m_error; }

  private:
    int m_fd = -1;
    int m_error = 0;
};

} // namespace

QString MarksFileBeside(const QString& logPath) {
    if (logPath.endsWith(QLatin1StringView(".log")))
        return logPath.chopped(4) + MarksEnding;
    return logPath + MarksEnding;
}

QString FallbackMarksFile(const QString& logPath) {
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return data + QStringLiteral("/dirchart/marks") + MarksFileBeside(AbsolutePath(logPath));
}

QString MarksFileOf(const QString& logPath) {
    const QString beside = MarksFileBeside(logPath);
    if (Exists(beside))
        return beside;
    const QString fallback = FallbackMarksFile(logPath);
    if (Exists(fallback))
        return fallback;
    return FolderWritable(beside) ? beside : fallback;
}

MarksRead ReadMarks(const QString& logPath) {
    // As MarksFileOf chooses, but the file beside the log, the one when it
    // exists, is opened straight away rather than looked for first.
    const QString beside = MarksFileBeside(logPath);
    MarksRead read = ReadMarksAt(beside);
    if (read.status == MarksRead::Status::Read || read.status == MarksRead::Status::Damaged)
        return read;
    if (read.status == MarksRead::Status::CannotRead)
        return ReadMarksAt(MarksFileOf(logPath));
    // None beside the log.
    const QString fallback = FallbackMarksFile(logPath);
    if (Exists(fallback))
        return ReadMarksAt(fallback);
    read.path = FolderWritable(beside) ? beside : fallback;
    return read;
}

MarksSave SaveMarkChanges(const QString& logPath, const MarkChanges& changes) {
    MarksSave save;
    save.path = MarksFileOf(logPath);
    const auto cannotWrite = [&](int error) {
        save.status = MarksSave::Status::CannotWrite;
        save.errorNumber = error;
        return save;
    };
    std::error_code created;
    std::filesystem::create_directories(FileSystemPath(FolderOf(save.path)), created);
    if (created)
        return cannotWrite(created.value());
    const MarksLock lock(save.path);
    if (lock.error() != 0)
        return cannotWrite(lock.error());
    MarksRead now = ReadMarksAt(save.path);
    if (now.status == MarksRead::Status::CannotRead)
        return cannotWrite(now.errorNumber);
    if (now.status == MarksRead::Status::Damaged) {
        save.status = MarksSave::Status::Damaged;
        save.why = now.why;
        return save;
    }
    save.document = std::move(now.document);
    ApplyMarkChanges(save.document, changes);
    const std::string json = MarksJson(save.document);
    const FileWriteResult written =
        WriteWholeFile(save.path, QByteArray::fromRawData(json.data(), qsizetype(json.size())));
    if (!written.ok())
        return cannotWrite(written.errorNumber);
    return save;
}

std::vector<LogMarks> FolderMarks(const QString& folder) {
    // The folder listed once, its entries' names and kinds as the system
    // gives them, and each marks file opened by its name in the open folder
    // rather than by its whole path.
    const std::string folderBytes = PathBytes(folder);
    DIR* const listing = ::opendir(folderBytes.c_str());
    if (!listing)
        return {};
    const int folderFd = ::dirfd(listing);
    std::vector<std::pair<int, std::string>> logs;
    // The marks files the listing shows beside their logs, by their names
    // without the ending (a day's "yymmdd"), so that each log's is found
    // without asking the disk again.
    std::vector<std::string> marked;
    const std::string_view marksEnding(MarksEnding.data(), std::size_t(MarksEnding.size()));
    while (const dirent* entry = ::readdir(listing)) {
        const std::string_view name = entry->d_name;
        if (name.ends_with(marksEnding)) {
            marked.emplace_back(name.substr(0, name.size() - marksEnding.size()));
            continue;
        }
        const std::optional<int> key = LogDateKey(name);
        if (!key)
            continue;
        // A log is a regular file, or a link to one.
        bool regular = entry->d_type == DT_REG;
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            struct stat info {};
            regular = ::fstatat(folderFd, entry->d_name, &info, 0) == 0 && S_ISREG(info.st_mode);
        }
        if (regular)
            logs.emplace_back(*key, name);
    }
    std::sort(logs.begin(), logs.end());
    std::sort(marked.begin(), marked.end());
    const std::string_view logEnding = ".log";
    const auto stemOf = [&](std::string_view name) {
        return name.ends_with(logEnding) ? name.substr(0, name.size() - logEnding.size()) : name;
    };
    // Which logs have marks beside them, and how many.
    std::vector<char> besideMarks(logs.size());
    std::size_t markedLogs = 0;
    for (std::size_t i = 0; i < logs.size(); ++i) {
        besideMarks[i] = std::binary_search(marked.begin(), marked.end(), stemOf(logs[i].second));
        markedLogs += std::size_t(besideMarks[i]);
    }
    // The folder's part of each log's path, made once.
    const QString folderText = PathFromBytes(folderBytes + (folderBytes.ends_with('/') ? "" : "/"));
    const auto inFolder = [&](std::string_view name) { return folderText + PathFromBytes(name); };
    std::vector<LogMarks> found(logs.size());
    const auto readDays = [&](std::size_t first, std::size_t end) {
        std::string beside;
        for (std::size_t i = first; i < end; ++i) {
            const std::string& name = logs[i].second;
            LogMarks& day = found[i];
            day.log = inFolder(name);
            if (besideMarks[i]) {
                beside.assign(stemOf(name));
                beside.append(marksEnding);
                const int fd = ::openat(folderFd, beside.c_str(), O_RDONLY | O_CLOEXEC);
                // MarksFileBeside's path, from the name already made.
                day.read = MarksFromOpened(inFolder(beside), fd, fd < 0 ? errno : 0);
            } else {
                day.read = ReadMarks(day.log);
            }
        }
    };
    // A year's files are read on two threads, each half of them, where the
    // machine has two cores: handing half to a waiting thread of Qt's pool
    // costs some microseconds, small beside reading a hundred files. Where
    // the pool has no thread free, this one reads them all.
    constexpr std::size_t ShareThreadsFrom = 100;
    std::size_t half = logs.size();
    std::latch otherHalf(1);
    if (markedLogs >= ShareThreadsFrom && QThread::idealThreadCount() > 1) {
        // The first half of the logs with marks beside them, and the others.
        half = 0;
        for (std::size_t seen = 0; 2 * seen < markedLogs; ++half)
            seen += std::size_t(besideMarks[half]);
        const bool started = QThreadPool::globalInstance()->tryStart([&] {
            readDays(half, logs.size());
            otherHalf.count_down();
        });
        if (!started) {
            half = logs.size();
            otherHalf.count_down();
        }
    } else {
        otherHalf.count_down();
    }
    readDays(0, half);
    otherHalf.wait();
    ::closedir(listing);
    std::erase_if(found,
                  [](const LogMarks& day) { return day.read.status == MarksRead::Status::NoFile; });
    return found;
}
