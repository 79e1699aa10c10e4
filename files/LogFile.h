// SPDX-License-Identifier: MIT
#pragma once

#include "ObservationLog.h"

#include <QString>

// Reads the log at `path` (by its bytes, see PathText.h) into `grid`; on any
// failure the grid is left as it was.
LogReadResult ReadLogFile(const QString& path, ObservationGrid& grid);
