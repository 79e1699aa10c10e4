// SPDX-License-Identifier: MIT
#pragma once

#include "SignalColour.h"

#include <QRgb>

// How the overview's pictures (thumbnails and day stacks) colour a value: the
// one place that maps values to colours for them, so that the window can
// recolour what it keeps without reading any log again. Today it is the
// chart's own scale, 0 drawn black.
struct OverviewColours {
    QRgb cell(int v) const { return CellArgb(v); }
};
