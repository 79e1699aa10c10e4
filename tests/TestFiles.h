// SPDX-License-Identifier: MIT
#pragma once

#include "ObservationGrid.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>

#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <optional>

// Writes `bytes` to `path` and returns the path; a test cannot go on without it.
inline QString WriteTestFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write test file %s", qPrintable(path));
    return path;
}

// The bytes of the file at `path`; empty when it cannot be read.
inline QByteArray ReadTestFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A grid as a log file holds it: each cell little-endian, slot by slot.
inline QByteArray LogBytes(const ObservationGrid& grid) {
    QByteArray bytes;
    bytes.reserve(2 * ObservationGrid::CellCount);
    for (std::int16_t v : grid.cells)
        bytes.append(char(v & 0xff)).append(char((v >> 8) & 0xff));
    return bytes;
}

// Runs `body` in a child process that has given up root for the unprivileged
// "nobody" (when the test runs as root, whom no permission stops) and returns
// the numbers it reports; nothing when the child could not give up root or
// report. Paths the child uses must be reachable by anyone.
template <std::size_t N, class Body>
std::optional<std::array<int, N>> RunAsUnprivileged(Body body) {
    int results[2];
    if (::pipe(results) != 0)
        return std::nullopt;
    const pid_t child = ::fork();
    if (child == 0) {
        std::array<int, N> answer{};
        bool dropped = ::geteuid() != 0 || (::setresgid(65534, 65534, 65534) == 0 &&
                                            ::setresuid(65534, 65534, 65534) == 0);
        if (dropped)
            answer = body();
        const bool sent =
            dropped && ::write(results[1], answer.data(), sizeof answer) == sizeof answer;
        ::_exit(sent ? 0 : 1);
    }
    ::close(results[1]);
    std::array<int, N> answer{};
    const bool received = ::read(results[0], answer.data(), sizeof answer) == sizeof answer;
    ::close(results[0]);
    ::waitpid(child, nullptr, 0);
    if (!received)
        return std::nullopt;
    return answer;
}

// A day whose neighbouring cells all differ, one of many by `seed`, with
// values from -20 to 1079.
inline ObservationGrid SeededDay(int seed) {
    ObservationGrid grid;
    for (int t = 0; t < ObservationGrid::Slots; ++t)
        for (int d = 0; d < ObservationGrid::Bins; ++d)
            grid(t, d) = static_cast<std::int16_t>((t * 7 + d * 13 + seed * 101) % 1100 - 20);
    return grid;
}
