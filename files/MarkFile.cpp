// SPDX-License-Identifier: MIT
#include "MarkFile.h"

#include "DayLogs.h"
#include "PathText.h"
#include "WholeFile.h"

#include <QStandardPaths>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_set>

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

// The whole file's bytes; errno's value on failure, ENOENT when there is none.
int ReadBytes(const QString& path, std::string& bytes) {
    const int fd = ::open(PathBytes(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    bytes.clear();
    // Read straight into the text, sized from the file's size and grown if
    // the file grows meanwhile, until a read finds its end.
    struct stat info {};
    const std::size_t expected = ::fstat(fd, &info) == 0 && info.st_size > 0 ? info.st_size : 0;
    std::size_t size = 0;
    bytes.resize(expected + 1);
    for (;;) {
        if (size == bytes.size())
            bytes.resize(2 * bytes.size());
        const ssize_t n = ::read(fd, bytes.data() + size, bytes.size() - size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int error = errno;
            ::close(fd);
            return error;
        }
        if (n == 0)
            break;
        size += std::size_t(n);
    }
    bytes.resize(size);
    ::close(fd);
    return 0;
}

MarksRead ReadMarksAt(const QString& path) {
    MarksRead read;
    read.path = path;
    std::string bytes;
    const int error = ReadBytes(path, bytes);
    if (error == ENOENT)
        return read;
    if (error != 0) {
        read.status = MarksRead::Status::CannotRead;
        read.errorNumber = error;
        return read;
    }
    std::string why;
    std::optional<MarksDocument> document = ParseMarks(bytes, &why);
    if (!document) {
        read.status = MarksRead::Status::Damaged;
        read.why = QString::fromStdString(why);
        return read;
    }
    read.status = MarksRead::Status::Read;
    read.document = std::move(*document);
    return read;
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
    std::vector<std::pair<std::pair<int, std::string>, QString>> logs;
    // The marks files the listing shows beside their logs are read without
    // asking the disk again where each log's marks are.
    std::unordered_set<std::string> marksFiles;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(FileSystemPath(folder), error)) {
        std::string name = entry.path().filename().native();
        if (name.ends_with(std::string_view(MarksEnding.data(), std::size_t(MarksEnding.size()))))
            marksFiles.insert(std::move(name));
        else if (const std::optional<int> key = LogDateKey(name);
                 key && entry.is_regular_file(error))
            logs.push_back({{*key, name}, PathFromBytes(entry.path().native())});
    }
    std::sort(logs.begin(), logs.end());
    std::vector<LogMarks> found;
    const std::string_view logEnding = ".log";
    for (const auto& [key, log] : logs) {
        // The name of the file beside the log, as MarksFileBeside makes it.
        std::string_view stem = key.second;
        if (stem.ends_with(logEnding))
            stem.remove_suffix(logEnding.size());
        std::string beside(stem);
        beside.append(MarksEnding.data(), std::size_t(MarksEnding.size()));
        MarksRead read =
            marksFiles.contains(beside) ? ReadMarksAt(MarksFileBeside(log)) : ReadMarks(log);
        if (read.status != MarksRead::Status::NoFile)
            found.push_back({log, std::move(read)});
    }
    return found;
}
