// SPDX-License-Identifier: MIT
#pragma once

#include "ColourTable.h"

#include <QRgb>

// How the overview's pictures (thumbnails and day stacks) colour a value: the
// one place that maps values to colours for them, so that the window can
// recolour what it keeps without reading any log again. It refers to a
// colour table that must outlive it: the chart's own, by default the
// standard scale.
struct OverviewColours {
    const ColourTable* table = &StandardColourTable();
    QRgb cell(int v) const { return table->CellArgb(static_cast<std::int16_t>(v)); }
};
