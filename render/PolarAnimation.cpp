// SPDX-License-Identifier: MIT
#include "PolarAnimation.h"

#include "DirectionTimePlot.h"
#include "GifFile.h"
#include "ImageSurface.h"
#include "FileNames.h"
#include "PolarFrame.h"

FileWriteResult WritePolarAnimation(const ObservationGrid& grid, const QString& logPath, SlotRange range,
                            int gain, qreal scale, const QString& path) {
    ImageSurface picture(PolarPictureSize, scale);
    const QString date = DateLabelText(logPath);
    GifAnimation animation(picture.image().size(), PolarFrameColours, AnimationFrameDelay);
    for (int t = range.first; t <= range.last; ++t) {
        // As the slider's change handler draws it.
        picture.Cls();
        DrawPolarFrame(picture, grid, t, gain, date);
        animation.addFrame(picture.image());
    }
    return animation.write(path);
}
