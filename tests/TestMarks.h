// SPDX-License-Identifier: MIT
#pragma once

#include "Marks.h"

// A mark of slots first..last and bins firstBin..lastBin (across north when
// firstBin > lastBin), as the marks' tests make them.
inline Mark TestMark(const char* id, int firstSlot, int lastSlot, int firstBin, int lastBin,
                     const char* label = "") {
    Mark mark;
    mark.setId(id);
    mark.firstSlot = firstSlot;
    mark.lastSlot = lastSlot;
    mark.firstBin = firstBin;
    mark.lastBin = lastBin;
    mark.setLabel(label);
    mark.setCreated("2026-12-08T10:00:00Z");
    return mark;
}
