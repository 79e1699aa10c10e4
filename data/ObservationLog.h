// SPDX-License-Identifier: MIT
#pragma once

#include "ObservationGrid.h"

#include <string>

// A complete log holds every cell as a little-endian 16-bit value, no header.
inline constexpr long ObservationLogBytes = 2L * ObservationGrid::CellCount;

enum class LogReadStatus {
    Ok,
    CannotOpen,     // open(2) failed; errorNumber says why
    NotRegularFile, // a directory, FIFO, socket or device
    ReadFailed,     // read(2) failed part-way; errorNumber says why
};

struct LogReadResult {
    LogReadStatus status = LogReadStatus::Ok;
    int errorNumber = 0; // errno of the failing call, 0 for NotRegularFile
    long bytesRead = 0;  // how much of the log the file covered

    bool ok() const { return status == LogReadStatus::Ok; }
    // The cells the file filled; those past them hold no observation yet.
    long cellsCovered() const { return bytesRead / 2; }
};

// Reads the first ObservationLogBytes bytes of the file at `path` (a path in
// the file system's own encoding) into `grid`. Bytes beyond them are never
// read. A shorter file fills the cells it covers and zeroes the rest; a
// trailing odd byte is ignored. On any failure `grid` is left untouched: the
// file is read into a buffer of its own, which is copied into the grid only
// once the read has succeeded. Only regular files are read, and the file is opened
// without blocking, so a FIFO or device can never hang the caller.
LogReadResult ReadObservationLog(const std::string& path, ObservationGrid& grid);
