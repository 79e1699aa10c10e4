// SPDX-License-Identifier: MIT
#include "PolarFrame.h"

void DrawPolarFrame(DrawingSurface& picture, const ObservationGrid& grid, int t, int gain,
                    const QString& dateLabel) {
    const QString time =
        DrawPolarPlot(picture, grid, t, RadiansPerDegree(), static_cast<float>(gain));
    // The time first: it is what changes from frame to frame.
    picture.SetCurrentX(3);
    picture.SetCurrentY(2);
    picture.Print(time);
    if (dateLabel.isEmpty())
        return;
    picture.SetCurrentX(3);
    picture.Print(dateLabel);
}
