// SPDX-License-Identifier: MIT
#include "RenderCommand.h"

#include "PictureNames.h"
#include "RenderImages.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QThread>

#include <png.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

namespace {

// The PNG settings of every image written: zlib's fastest level with its
// run-length strategy, and the Sub filter on every row. Encoding is most of
// a rendered log's time; on a chart these settings take about half the time
// of Qt's PNG writer at its fastest level (libpng's adaptive filter choice
// and zlib's default strategy) and write a smaller file (185 KB against
// 207 KB for a busy day).
constexpr int PngLevel = 1;
constexpr int PngStrategy = Z_RLE;
constexpr int PngFilter = PNG_FILTER_SUB;

void AppendPng(png_structp png, png_bytep data, png_size_t length) {
    static_cast<QByteArray*>(png_get_io_ptr(png))
        ->append(reinterpret_cast<const char*>(data), static_cast<qsizetype>(length));
}

void FlushNothing(png_structp) {}

// The image as an 8-bit RGB PNG file; empty when libpng fails (it reports
// only running out of memory here).
QByteArray EncodePng(const QImage& picture) {
    const QImage image = picture.convertToFormat(QImage::Format_RGB32);
    QByteArray png;
    png.reserve(256 * 1024);
    png_structp writer = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!writer)
        return {};
    png_infop info = png_create_info_struct(writer);
    if (!info || setjmp(png_jmpbuf(writer))) {
        png_destroy_write_struct(&writer, &info);
        return {};
    }
    png_set_write_fn(writer, &png, AppendPng, FlushNothing);
    png_set_IHDR(writer, info, static_cast<png_uint_32>(image.width()),
                 static_cast<png_uint_32>(image.height()), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_filter(writer, PNG_FILTER_TYPE_BASE, PngFilter);
    png_set_compression_level(writer, PngLevel);
    png_set_compression_strategy(writer, PngStrategy);
    png_write_info(writer, info);
    // An RGB32 pixel lies in memory as blue, green, red and an unused byte.
    png_set_bgr(writer);
    png_set_filler(writer, 0, PNG_FILLER_AFTER);
    for (int y = 0; y < image.height(); ++y)
        png_write_row(writer, image.constScanLine(y));
    png_write_end(writer, info);
    png_destroy_write_struct(&writer, &info);
    return png;
}

// Failures and the progress line, from any thread.
class Reporter {
  public:
    Reporter(qsizetype total, bool progress) : m_total(total), m_progress(progress) {}
    ~Reporter() {
        if (m_shown)
            std::fputs("\r\033[K", stderr);
        std::fflush(stderr);
    }

    void Fail(const QString& path, const QString& reason) {
        const std::lock_guard lock(m_mutex);
        if (m_shown)
            std::fputs("\r\033[K", stderr);
        m_shown = false;
        std::fprintf(stderr, "dirchart: %s: %s\n", qUtf8Printable(path), qUtf8Printable(reason));
    }

    void Done(const QString& log) {
        if (!m_progress)
            return;
        const std::lock_guard lock(m_mutex);
        ++m_done;
        std::fprintf(stderr, "\r\033[K[%lld/%lld] %s", static_cast<long long>(m_done),
                     static_cast<long long>(m_total), qUtf8Printable(QFileInfo(log).fileName()));
        std::fflush(stderr);
        m_shown = true;
    }

  private:
    std::mutex m_mutex;
    qsizetype m_done = 0;
    const qsizetype m_total;
    const bool m_progress;
    bool m_shown = false;
};

// Renders one log and writes its images; false when something was not written.
bool RenderLog(LogImageRenderer& renderer, const QString& log, const QDir& folder,
               Reporter& reporter) {
    const QString reason = renderer.Render(log);
    if (!reason.isEmpty()) {
        reporter.Fail(log, reason);
        return false;
    }
    bool written = true;
    const auto write = [&](const QImage& image, const QString& name) {
        const QString path = folder.filePath(name);
        const QString error = WriteImageFile(image, path);
        if (!error.isEmpty()) {
            reporter.Fail(path, error);
            written = false;
        }
    };
    write(renderer.chart(), ChartImageName(log));
    const LogImageOptions& options = renderer.options();
    if (options.polarSlot >= 0)
        write(renderer.polar(), PolarImageName(log, options.polarSlot, options.gain));
    return written;
}

} // namespace

int RenderThreadCount(qsizetype logs) {
    return static_cast<int>(std::clamp<qsizetype>(QThread::idealThreadCount(), 1, logs));
}

QString WriteImageFile(const QImage& image, const QString& path) {
    // Encoded in memory first, so that a failing write is the file's own
    // error (a full disk says so) and the file is written in one piece.
    const QByteArray png = EncodePng(image);
    if (png.isEmpty())
        return QStringLiteral("cannot encode the image");
    QSaveFile file(path);
    // Unbuffered: the one write goes straight to the file, and its failure
    // keeps the system's reason.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return file.errorString();
    // An uncommitted QSaveFile removes its temporary file, and so does a
    // commit() that fails.
    errno = 0;
    if (file.write(png) != png.size()) {
        // Qt words a partial write as an unknown error; errno has the reason.
        const int error = errno;
        return error != 0 ? QString::fromLocal8Bit(std::strerror(error)) : file.errorString();
    }
    if (!file.commit())
        return file.errorString();
    return {};
}

int RunRenderCommand(const RenderRequest& request) {
    const LogImageOptions options{request.polarSlot, request.gain, request.scale};
    const QDir folder(request.folder);
    const qsizetype total = request.logs.size();
    Reporter reporter(total, !request.quiet && total > 1 && ::isatty(STDERR_FILENO));

    // Each thread takes the next log when it is done with one, so at most one
    // log per thread is in memory.
    std::atomic<qsizetype> next{0};
    std::atomic<bool> allWritten{true};
    const auto work = [&] {
        LogImageRenderer renderer(options);
        for (qsizetype i = next++; i < total; i = next++) {
            const QString& log = request.logs[i];
            if (!RenderLog(renderer, log, folder, reporter))
                allWritten = false;
            reporter.Done(log);
        }
    };
    std::vector<std::thread> threads;
    const int count = RenderThreadCount(total);
    for (int i = 1; i < count; ++i)
        threads.emplace_back(work);
    work();
    for (std::thread& thread : threads)
        thread.join();
    return allWritten ? 0 : 1;
}
