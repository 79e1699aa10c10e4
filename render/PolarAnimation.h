// SPDX-License-Identifier: MIT
#pragma once

#include "WholeFile.h"

#include "ObservationGrid.h"

#include <QString>

// The slots an animation runs through, both included.
struct SlotRange {
    int first = 0;
    int last = ObservationGrid::LastSlot;
};

// Ten frames a second, in the hundredths of a second a GIF counts in.
inline constexpr int AnimationFrameDelay = 10;

// Writes the animated GIF of the log's polar plots at `path`: one frame per
// slot of `range`, each the polar plot at the gain and device pixel ratio as
// the window draws it, with the slot's time and the log's date in its
// top-left corner; ten frames a second, looping. Written through a temporary
// file renamed into place. The frames are drawn and compressed on `threads`
// threads (as many as the machine has when one log is rendered alone).
FileWriteResult WritePolarAnimation(const ObservationGrid& grid, const QString& logPath,
                                    SlotRange range, int gain, qreal scale, const QString& path,
                                    int threads);
