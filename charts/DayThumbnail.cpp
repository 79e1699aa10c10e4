// SPDX-License-Identifier: MIT
#include "DayThumbnail.h"

#include "DrawingSurface.h"

void DrawDayThumbnail(DrawingSurface& picture, const DaySummary& summary,
                      const OverviewColours& colours, float left, float top) {
    const float bottom = top + float(DaySummary::ThumbnailHeight - 1);
    for (int x = 0; x < DaySummary::ThumbnailWidth; ++x)
        for (int y = 0; y < DaySummary::ThumbnailHeight; ++y)
            picture.PSet(left + float(x), bottom - float(y), colours.cell(summary.thumbnail(x, y)));
}
