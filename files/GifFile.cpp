// SPDX-License-Identifier: MIT
#include "GifFile.h"

#include <gif_lib.h>

#include <algorithm>
#include <bit>
#include <cerrno>

namespace {

int AppendGif(GifFileType* gif, const GifByteType* data, int length) {
    static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(data), length);
    return length;
}

int ColourDistance(QRgb a, QRgb b) {
    const int r = qRed(a) - qRed(b), g = qGreen(a) - qGreen(b), bl = qBlue(a) - qBlue(b);
    return r * r + g * g + bl * bl;
}

} // namespace

GifAnimation::GifAnimation(QSize size, std::span<const QRgb> palette, int delay)
    : m_size(size), m_palette(palette.begin(), palette.end()), m_delay(delay),
      m_transparent(static_cast<int>(palette.size())) {
    m_line.resize(static_cast<std::size_t>(size.width()));

    int error = 0;
    m_gif = EGifOpen(&m_bytes, AppendGif, &error);
    // A colour table has a power of two entries, two at least.
    const int entries =
        static_cast<int>(std::bit_ceil(std::max<std::size_t>(2, palette.size() + 1)));
    std::vector<GifColorType> colours(static_cast<std::size_t>(entries), GifColorType{0, 0, 0});
    for (std::size_t i = 0; i < palette.size(); ++i)
        colours[i] = {static_cast<GifByteType>(qRed(palette[i])),
                      static_cast<GifByteType>(qGreen(palette[i])),
                      static_cast<GifByteType>(qBlue(palette[i]))};
    ColorMapObject* map = GifMakeMapObject(entries, colours.data());
    // Looping for ever: the application extension browsers look for.
    static constexpr GifByteType Loop[3] = {1, 0, 0};
    m_failed = !m_gif || !map || palette.size() > 255;
    if (!m_failed) {
        EGifSetGifVersion(m_gif, true);
        m_failed = EGifPutScreenDesc(m_gif, size.width(), size.height(), 8, 0, map) == GIF_ERROR ||
                   EGifPutExtensionLeader(m_gif, APPLICATION_EXT_FUNC_CODE) == GIF_ERROR ||
                   EGifPutExtensionBlock(m_gif, 11, "NETSCAPE2.0") == GIF_ERROR ||
                   EGifPutExtensionBlock(m_gif, 3, Loop) == GIF_ERROR ||
                   EGifPutExtensionTrailer(m_gif) == GIF_ERROR;
    }
    GifFreeMapObject(map);
}

GifAnimation::~GifAnimation() {
    if (m_gif)
        EGifCloseFile(m_gif, nullptr);
}

unsigned char GifAnimation::index(QRgb colour) {
    // Runs of one colour are the rule, so the last colour found is tried first.
    if (colour == m_lastColour)
        return m_lastIndex;
    const auto nearest =
        std::min_element(m_palette.begin(), m_palette.end(), [colour](QRgb a, QRgb b) {
            return ColourDistance(a, colour) < ColourDistance(b, colour);
        });
    m_lastColour = colour;
    m_lastIndex = static_cast<unsigned char>(nearest - m_palette.begin());
    return m_lastIndex;
}

void GifAnimation::addFrame(const QImage& frame) {
    const QImage image = frame.convertToFormat(QImage::Format_RGB32);
    if (m_failed || image.size() != m_size || m_palette.empty()) {
        m_failed = true;
        return;
    }
    const int width = m_size.width();
    const auto row = [](const QImage& image, int y) {
        return reinterpret_cast<const QRgb*>(image.constScanLine(y));
    };
    // The rectangle in which this frame differs from the one before.
    int left = 0, top = 0, right = width - 1, bottom = m_size.height() - 1;
    if (!m_first) {
        left = width;
        right = -1;
        top = -1;
        for (int y = 0; y < m_size.height(); ++y) {
            const QRgb* now = row(image, y);
            const QRgb* before = row(m_previous, y);
            if (std::memcmp(now, before, sizeof(QRgb) * std::size_t(width)) == 0)
                continue;
            int x = 0;
            while (now[x] == before[x])
                ++x;
            int end = width - 1;
            while (now[end] == before[end])
                --end;
            left = std::min(left, x);
            right = std::max(right, end);
            if (top < 0)
                top = y;
            bottom = y;
        }
        // A frame like the one before still takes its time: one pixel.
        if (top < 0)
            left = right = top = bottom = 0;
    }

    const GraphicsControlBlock control{DISPOSE_DO_NOT, false, m_delay,
                                       m_first ? NO_TRANSPARENT_COLOR : m_transparent};
    GifByteType extension[4];
    const std::size_t length = EGifGCBToExtension(&control, extension);
    if (EGifPutExtension(m_gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), extension) ==
            GIF_ERROR ||
        EGifPutImageDesc(m_gif, left, top, right - left + 1, bottom - top + 1, false, nullptr) ==
            GIF_ERROR) {
        m_failed = true;
        return;
    }
    const auto transparent = static_cast<unsigned char>(m_transparent);
    for (int y = top; y <= bottom; ++y) {
        const QRgb* now = row(image, y) + left;
        unsigned char* out = m_line.data();
        if (m_first) {
            for (int x = 0; x <= right - left; ++x)
                out[x] = index(now[x]);
        } else {
            const QRgb* before = row(m_previous, y) + left;
            for (int x = 0; x <= right - left; ++x)
                out[x] = now[x] == before[x] ? transparent : index(now[x]);
        }
        if (EGifPutLine(m_gif, m_line.data(), right - left + 1) == GIF_ERROR) {
            m_failed = true;
            return;
        }
    }
    m_previous = image;
    m_first = false;
}

FileWriteResult GifAnimation::write(const QString& path) {
    if (m_gif) {
        if (EGifCloseFile(m_gif, nullptr) == GIF_ERROR)
            m_failed = true;
        m_gif = nullptr;
    }
    if (m_failed || m_first)
        return {ENOMEM}; // giflib fails here only for want of memory
    return WriteWholeFile(path, m_bytes);
}
