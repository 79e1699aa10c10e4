// SPDX-License-Identifier: MIT
#include "LogFile.h"

#include "PathText.h"

LogReadResult ReadLogFile(const QString& path, ObservationGrid& grid) {
    return ReadObservationLog(PathBytes(path), grid);
}
