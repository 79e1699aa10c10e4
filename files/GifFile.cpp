// SPDX-License-Identifier: MIT
#include "GifFile.h"

#include <gif_lib.h>

#include <QByteArray>

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <thread>
#include <vector>

// Nearly all the time of an animation goes into giflib's compression, pixel
// by pixel, so the file is cut into independent parts: every image block of
// a GIF starts its own compression, which lets each thread run its own giflib
// stream over a run of frames and keep only the image blocks it wrote. The
// parts are then joined in order behind the screen's header and the loop.

namespace {

int AppendGif(GifFileType* gif, const GifByteType* data, int length) {
    static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(data), length);
    return length;
}

int ColourDistance(QRgb a, QRgb b) {
    const int r = qRed(a) - qRed(b), g = qGreen(a) - qGreen(b), bl = qBlue(a) - qBlue(b);
    return r * r + g * g + bl * bl;
}

// Pixels compared a block at a time: a fixed-size memcmp compiles to a few
// vector compares, where a pixel-by-pixel loop would not.
constexpr int Block = 4;

bool SameBlock(const QRgb* a, const QRgb* b) {
    return std::memcmp(a, b, sizeof(QRgb) * Block) == 0;
}

// The first column before `limit` in which two rows differ; `limit` when
// they agree up to it.
int FirstDifference(const QRgb* a, const QRgb* b, int limit) {
    int x = 0;
    while (x + Block <= limit && SameBlock(a + x, b + x))
        x += Block;
    while (x < limit && a[x] == b[x])
        ++x;
    return x;
}

// The last column after `limit` in which two rows of `width` pixels differ;
// `limit` when they agree down to it.
int LastDifference(const QRgb* a, const QRgb* b, int width, int limit) {
    int end = width; // one past the columns still to compare
    while (end - Block > limit && SameBlock(a + end - Block, b + end - Block))
        end -= Block;
    while (end - 1 > limit && a[end - 1] == b[end - 1])
        --end;
    return end - 1;
}

// Where the palette's colours sit in the colour table, which has a power of
// two entries, two at least. Index 0 is transparency's, and the palette's
// first colour (a frame's background) takes the table's last entry: those
// two are by far a frame's commonest indices, and set apart like this the
// keys of giflib's compression collide less in its hash table, which
// compresses the sample days' animations about a tenth faster than with
// transparency after the colours. The other colours follow from 1 on.
constexpr int TransparentIndex = 0;

int TableEntries(std::size_t colours) {
    return static_cast<int>(std::bit_ceil(std::max<std::size_t>(2, colours + 1)));
}

int TableIndex(std::size_t colour, int entries) {
    return colour == 0 ? entries - 1 : static_cast<int>(colour);
}

// Opens a giflib stream writing to `bytes` and writes the screen into it:
// the header, the size and the colour table, which also sets the code size
// of every image after it. Null on failure.
GifFileType* OpenScreen(QByteArray* bytes, const GifAnimationFormat& format) {
    int error = 0;
    GifFileType* gif = EGifOpen(bytes, AppendGif, &error);
    if (!gif)
        return nullptr;
    const std::size_t size = format.palette.size();
    const int entries = TableEntries(size);
    std::vector<GifColorType> colours(static_cast<std::size_t>(entries), GifColorType{0, 0, 0});
    for (std::size_t i = 0; i < size; ++i)
        colours[std::size_t(TableIndex(i, entries))] = {
            static_cast<GifByteType>(qRed(format.palette[i])),
            static_cast<GifByteType>(qGreen(format.palette[i])),
            static_cast<GifByteType>(qBlue(format.palette[i]))};
    ColorMapObject* map = GifMakeMapObject(entries, colours.data());
    EGifSetGifVersion(gif, true);
    const bool written = map && EGifPutScreenDesc(gif, format.size.width(), format.size.height(), 8,
                                                  0, map) != GIF_ERROR;
    GifFreeMapObject(map);
    if (!written) {
        EGifCloseFile(gif, nullptr);
        return nullptr;
    }
    return gif;
}

// One thread's compression: a giflib stream whose screen is thrown away,
// turning frames into image blocks appended to whichever part is given.
class FrameEncoder {
  public:
    explicit FrameEncoder(const GifAnimationFormat& format)
        : m_gif(OpenScreen(&m_discarded, format)), m_size(format.size), m_palette(format.palette),
          m_entries(TableEntries(format.palette.size())), m_delay(format.delay),
          m_line(static_cast<std::size_t>(format.size.width())) {}
    ~FrameEncoder() {
        if (m_gif) {
            m_gif->UserData = &m_discarded;
            EGifCloseFile(m_gif, nullptr);
        }
    }
    FrameEncoder(const FrameEncoder&) = delete;
    FrameEncoder& operator=(const FrameEncoder&) = delete;

    // Appends to `part` the graphics control and the image of `now`: all of
    // it when there is no frame `before` (the animation's first), else the
    // rectangle in which it differs from `before`. False on failure.
    bool add(const QImage& now, const QImage* before, QByteArray& part);

  private:
    // The colour table's index of a colour: the changed pixels of a frame
    // take turns among a few colours, each found once in a small cache.
    unsigned char index(QRgb colour) {
        Cached& cached = m_cache[(colour * 0x9e3779b1u) >> 28];
        if (cached.colour != colour)
            cached = {colour, search(colour)};
        return cached.index;
    }
    unsigned char search(QRgb colour) const;
    // Fills m_line with the indices of a row of `length` pixels, those equal
    // to the frame before's (when there is one) transparent.
    void indexRow(const QRgb* now, const QRgb* before, int length);

    QByteArray m_discarded; // the screen, written before m_gif's first image
    GifFileType* m_gif;
    QSize m_size;
    std::span<const QRgb> m_palette;
    int m_entries; // of the colour table
    int m_delay;
    std::vector<unsigned char> m_line; // one row of the stored rectangle
    QImage m_converted;                // frames not in RGB32 (none of this program's)
    QImage m_convertedBefore;
    struct Cached {
        QRgb colour = 0; // not a pixel's colour, as each pixel is opaque
        unsigned char index = 0;
    };
    std::array<Cached, 16> m_cache;
};

unsigned char FrameEncoder::search(QRgb colour) const {
    auto found = std::find(m_palette.begin(), m_palette.end(), colour);
    if (found == m_palette.end())
        found = std::min_element(m_palette.begin(), m_palette.end(), [colour](QRgb a, QRgb b) {
            return ColourDistance(a, colour) < ColourDistance(b, colour);
        });
    return static_cast<unsigned char>(
        TableIndex(static_cast<std::size_t>(found - m_palette.begin()), m_entries));
}

bool FrameEncoder::add(const QImage& frame, const QImage* previous, QByteArray& part) {
    if (!m_gif || frame.size() != m_size || (previous && previous->size() != m_size))
        return false;
    // Drawn frames are RGB32 already; anything else is converted once.
    const auto rgb32 = [](const QImage& image, QImage& converted) -> const QImage& {
        if (image.format() == QImage::Format_RGB32)
            return image;
        converted = image.convertToFormat(QImage::Format_RGB32);
        return converted;
    };
    const QImage& image = rgb32(frame, m_converted);
    const QImage* before = previous ? &rgb32(*previous, m_convertedBefore) : nullptr;
    const int width = m_size.width();
    const auto row = [](const QImage& image, int y) {
        return reinterpret_cast<const QRgb*>(image.constScanLine(y));
    };
    // The rectangle in which this frame differs from the one before.
    int left = 0, top = 0, right = width - 1, bottom = m_size.height() - 1;
    if (before) {
        left = width;
        right = -1;
        top = -1;
        for (int y = 0; y < m_size.height(); ++y) {
            const QRgb* now = row(image, y);
            const QRgb* then = row(*before, y);
            if (std::memcmp(now, then, sizeof(QRgb) * std::size_t(width)) == 0)
                continue;
            // Only the columns outside the rectangle so far can widen it.
            left = FirstDifference(now, then, left);
            right = LastDifference(now, then, width, right);
            if (top < 0)
                top = y;
            bottom = y;
        }
        // A frame like the one before still takes its time: one pixel.
        if (top < 0)
            left = right = top = bottom = 0;
    }

    m_gif->UserData = &part;
    const GraphicsControlBlock control{DISPOSE_DO_NOT, false, m_delay,
                                       before ? TransparentIndex : NO_TRANSPARENT_COLOR};
    GifByteType extension[4];
    const std::size_t length = EGifGCBToExtension(&control, extension);
    if (EGifPutExtension(m_gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), extension) ==
            GIF_ERROR ||
        EGifPutImageDesc(m_gif, left, top, right - left + 1, bottom - top + 1, false, nullptr) ==
            GIF_ERROR)
        return false;
    for (int y = top; y <= bottom; ++y) {
        const int length = right - left + 1;
        indexRow(row(image, y) + left, before ? row(*before, y) + left : nullptr, length);
        if (EGifPutLine(m_gif, m_line.data(), length) == GIF_ERROR)
            return false;
    }
    return true;
}

void FrameEncoder::indexRow(const QRgb* now, const QRgb* before, int length) {
    unsigned char* out = m_line.data();
    if (!before) {
        for (int x = 0; x < length; ++x)
            out[x] = index(now[x]);
        return;
    }
    // Nearly all of the rectangle is as it was (a few per cent of its pixels
    // change from one frame to the next), so the pixels are first marked
    // transparent (0) or changed (1) in a pass the compiler turns into vector
    // compares, and only the changed ones are then looked up in the palette:
    // in eight marks read as a word, each changed pixel is a single bit.
    static_assert(TransparentIndex == 0);
    for (int x = 0; x < length; ++x)
        out[x] = now[x] != before[x];
    int x = 0;
    for (; x + 8 <= length; x += 8) {
        std::uint64_t changed;
        std::memcpy(&changed, out + x, sizeof changed);
        for (; changed != 0; changed &= changed - 1) {
            const int byte = std::countr_zero(changed) / 8;
            const int i = x + (std::endian::native == std::endian::little ? byte : 7 - byte);
            out[i] = index(now[i]);
        }
    }
    for (; x < length; ++x)
        if (out[x])
            out[x] = index(now[x]);
}

} // namespace

FileWriteResult
WriteGifAnimation(const QString& path, const GifAnimationFormat& format, int count,
                  const std::function<std::unique_ptr<GifFrameSource>()>& makeSource, int threads) {
    if (count < 1 || format.palette.empty() || format.palette.size() > 255 || format.size.isEmpty())
        return {EINVAL};
    // Runs of frames, a few a thread, so that a thread slowed by other work
    // leaves more of them to the others; each run costs one frame drawn
    // again.
    threads = std::clamp(threads, 1, count);
    const int runs = threads == 1 ? 1 : std::min(count, 4 * threads);
    std::vector<QByteArray> parts(static_cast<std::size_t>(runs));
    std::atomic<int> next{0};
    std::atomic<bool> failed{false};
    const auto work = [&] {
        const std::unique_ptr<GifFrameSource> source = makeSource();
        FrameEncoder encoder(format);
        for (int run = next++; run < runs && !failed; run = next++) {
            const int first = int(std::int64_t{count} * run / runs);
            const int end = int(std::int64_t{count} * (run + 1) / runs);
            QByteArray& part = parts[std::size_t(run)];
            const QImage* before = first > 0 ? &source->frame(first - 1) : nullptr;
            for (int i = first; i < end; ++i) {
                const QImage& now = source->frame(i);
                if (!encoder.add(now, before, part)) {
                    failed = true;
                    return;
                }
                before = &now;
            }
        }
    };
    std::vector<std::thread> helpers;
    for (int i = 1; i < threads; ++i)
        helpers.emplace_back(work);
    work();
    for (std::thread& helper : helpers)
        helper.join();
    if (failed)
        return {ENOMEM}; // giflib fails here only for want of memory

    QByteArray bytes;
    GifFileType* gif = OpenScreen(&bytes, format);
    // Looping for ever: the application extension browsers look for.
    static constexpr GifByteType Loop[3] = {1, 0, 0};
    if (!gif || EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) == GIF_ERROR ||
        EGifPutExtensionBlock(gif, 11, "NETSCAPE2.0") == GIF_ERROR ||
        EGifPutExtensionBlock(gif, 3, Loop) == GIF_ERROR ||
        EGifPutExtensionTrailer(gif) == GIF_ERROR) {
        if (gif)
            EGifCloseFile(gif, nullptr);
        return {ENOMEM};
    }
    for (const QByteArray& part : parts)
        bytes.append(part);
    // Closing writes the trailer.
    if (EGifCloseFile(gif, nullptr) == GIF_ERROR)
        return {ENOMEM};
    return WriteWholeFile(path, bytes);
}
