// SPDX-License-Identifier: MIT
// Fuzz target: arbitrary bytes as an observation log, and the same bytes as
// a path for the date label. The log reader must never crash and must decode
// exactly what the bytes say; the label must never crash, and be either empty
// or "20" yy "/" mm "/" dd with the digits of the path's last ten characters.

#include "DirectionTimePlot.h"
#include "ObservationLog.h"

#include <QString>

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

void CheckReader(const std::uint8_t* data, std::size_t size) {
    // An in-memory regular file, reached by a path, as the reader needs one.
    const int fd = ::memfd_create("fuzz.log", MFD_CLOEXEC);
    if (fd < 0)
        Fail("memfd_create");
    for (std::size_t done = 0; done < size;) {
        const ssize_t n = ::write(fd, data + done, size - done);
        if (n <= 0)
            Fail("write");
        done += static_cast<std::size_t>(n);
    }
    const std::string path = "/proc/self/fd/" + std::to_string(fd);

    ObservationGrid grid;
    std::fill(grid.cells.begin(), grid.cells.end(), std::int16_t{77});
    const LogReadResult result = ReadObservationLog(path, grid);
    ::close(fd);
    if (!result.ok())
        Fail("a regular file was not read");
    const std::size_t covered = std::min<std::size_t>(size, ObservationLogBytes) / 2;
    if (result.bytesRead != static_cast<long>(std::min<std::size_t>(size, ObservationLogBytes)))
        Fail("bytesRead");
    for (std::size_t i = 0; i < grid.cells.size(); ++i) {
        const std::int16_t expected =
            i < covered ? static_cast<std::int16_t>(data[2 * i] | data[2 * i + 1] << 8) : 0;
        if (grid.cells[i] != expected)
            Fail("cell decoded wrongly");
    }
}

void CheckLabel(const std::uint8_t* data, std::size_t size) {
    const QString path =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString label = DateLabelText(path);
    if (label.isEmpty())
        return;
    const QString tail = path.right(10);
    if (label.size() != 10 || !label.startsWith(QStringLiteral("20")) || label[4] != '/' ||
        label[7] != '/' || label.mid(2, 2) != tail.mid(0, 2) || label.mid(5, 2) != tail.mid(2, 2) ||
        label.mid(8, 2) != tail.mid(4, 2))
        Fail("label shape");
    for (int i : {0, 1, 2, 3, 4, 5})
        if (!tail[i].isDigit() || tail[i].unicode() > '9')
            Fail("label from a name without digits");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CheckReader(data, size);
    CheckLabel(data, std::min<std::size_t>(size, 4096));
    return 0;
}
