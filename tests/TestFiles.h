// SPDX-License-Identifier: MIT
#pragma once

#include "ObservationGrid.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>

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
