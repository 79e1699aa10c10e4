// SPDX-License-Identifier: MIT
#include "ObservationLog.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <array>
#include <memory>

namespace {

// Closes the descriptor on every way out of the reader.
struct FileDescriptor {
    int fd = -1;
    ~FileDescriptor() {
        if (fd >= 0)
            ::close(fd);
    }
};

// Reads up to `size` bytes, retrying after signals and short reads, until
// end of file. Returns the bytes read, or -1 with errno set.
long ReadFully(int fd, unsigned char* buffer, long size) {
    long total = 0;
    while (total < size) {
        const ssize_t n = ::read(fd, buffer + total, static_cast<std::size_t>(size - total));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        if (n == 0)
            break;
        total += n;
    }
    return total;
}

} // namespace

LogReadResult ReadObservationLog(const std::string& path, ObservationGrid& grid) {
    // Devices are turned away before they are opened: opening some of them
    // has effects of its own (a watchdog starts, a modem line drops).
    struct stat before {};
    if (::stat(path.c_str(), &before) != 0)
        return {LogReadStatus::CannotOpen, errno, 0};
    if (S_ISDIR(before.st_mode))
        return {LogReadStatus::NotRegularFile, EISDIR, 0};
    if (!S_ISREG(before.st_mode))
        return {LogReadStatus::NotRegularFile, 0, 0};

    FileDescriptor file;
    // O_NONBLOCK: should the path have become a FIFO since, opening it without
    // a writer would otherwise wait forever.
    file.fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (file.fd < 0)
        return {LogReadStatus::CannotOpen, errno, 0};

    struct stat info {}; // what was opened, whatever the path named before
    if (::fstat(file.fd, &info) != 0)
        return {LogReadStatus::CannotOpen, errno, 0};
    if (S_ISDIR(info.st_mode))
        return {LogReadStatus::NotRegularFile, EISDIR, 0};
    if (!S_ISREG(info.st_mode))
        return {LogReadStatus::NotRegularFile, 0, 0};

    // One buffer a thread, kept: a fresh one would be mapped and zeroed by
    // the system on every read, which costs more than the read itself when
    // an archive's logs come from the page cache.
    thread_local const auto bytes =
        std::make_unique_for_overwrite<std::array<unsigned char, ObservationLogBytes>>();
    const long got = ReadFully(file.fd, bytes->data(), ObservationLogBytes);
    if (got < 0)
        return {LogReadStatus::ReadFailed, errno, 0};

    // The read has succeeded, so nothing can fail from here on: the grid is
    // overwritten in place, cells past a short file's end becoming 0.
    const long cellsCovered = got / 2;
    const unsigned char* b = bytes->data();
    std::int16_t* cells = grid.cells.data();
    if constexpr (std::endian::native == std::endian::little) {
        // The log's own byte order: the cells are the bytes.
        std::memcpy(cells, b, static_cast<std::size_t>(cellsCovered) * 2);
    } else {
        for (long i = 0; i < cellsCovered; ++i) {
            const auto raw = static_cast<std::uint16_t>(b[2 * i] | (b[2 * i + 1] << 8));
            cells[i] = static_cast<std::int16_t>(raw);
        }
    }
    std::fill(cells + cellsCovered, cells + ObservationGrid::CellCount, std::int16_t{0});
    return {LogReadStatus::Ok, 0, got};
}
