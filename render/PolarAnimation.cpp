// SPDX-License-Identifier: MIT
#include "PolarAnimation.h"

#include "DirectionTimePlot.h"
#include "GifFile.h"
#include "ImageSurface.h"
#include "FileNames.h"
#include "PolarFrame.h"

namespace {

// One thread's frames: two pictures taking turns, so that the frame before
// stays as it was while the next one is drawn.
class PolarFrames final : public GifFrameSource {
  public:
    PolarFrames(const ObservationGrid& grid, SlotRange range, int gain, qreal scale,
                const QString& date)
        : m_pictures{ImageSurface(PolarPictureSize, scale), ImageSurface(PolarPictureSize, scale)},
          m_grid(grid), m_first(range.first), m_gain(gain), m_date(date) {}

    const QImage& frame(int index) override {
        ImageSurface& picture = m_pictures[m_turn];
        m_turn ^= 1;
        // As the slider's change handler draws it.
        picture.Cls();
        DrawPolarFrame(picture, m_grid, m_first + index, m_gain, m_date);
        return picture.pixels();
    }

  private:
    ImageSurface m_pictures[2];
    std::size_t m_turn = 0;
    const ObservationGrid& m_grid;
    int m_first;
    int m_gain;
    QString m_date;
};

} // namespace

FileWriteResult WritePolarAnimation(const ObservationGrid& grid, const QString& logPath,
                                    SlotRange range, int gain, qreal scale, const QString& path,
                                    int threads) {
    const QString date = DateLabelText(logPath);
    const QSize size = ImageSurface(PolarPictureSize, scale).pixels().size();
    return WriteGifAnimation(
        path, {size, PolarFrameColours, AnimationFrameDelay}, range.last - range.first + 1,
        [&] { return std::make_unique<PolarFrames>(grid, range, gain, scale, date); }, threads);
}
