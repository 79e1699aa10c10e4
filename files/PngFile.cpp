// SPDX-License-Identifier: MIT
#include "PngFile.h"

#include "WholeFile.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>

#include <png.h>
#include <zlib.h>

#include <cerrno>
#include <optional>

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

// The image writer's format for a file name's extension, case aside: an
// empty one for PNG, which is encoded above; nothing for an extension that
// no writer here takes.
std::optional<QByteArray> FormatOf(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QStringLiteral("png"))
        return QByteArray();
    if (suffix == QStringLiteral("jpg") || suffix == QStringLiteral("jpeg"))
        return QByteArrayLiteral("jpeg");
    if (suffix == QStringLiteral("bmp"))
        return QByteArrayLiteral("bmp");
    // WebP comes with a plugin that may not be installed.
    if (suffix == QStringLiteral("webp") &&
        QImageWriter::supportedImageFormats().contains(QByteArrayLiteral("webp")))
        return QByteArrayLiteral("webp");
    return std::nullopt;
}

QByteArray EncodeWithQt(const QImage& image, const QByteArray& format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    // A chart is lines and lettering: JPEG at a quality that keeps them
    // clean, WebP without loss.
    if (format == "jpeg")
        writer.setQuality(90);
    else if (format == "webp")
        writer.setQuality(100);
    if (!writer.write(image.convertToFormat(QImage::Format_RGB32)))
        return {};
    return bytes;
}

} // namespace

std::optional<QString> UnwritableImageFormat(const QString& path) {
    if (FormatOf(path))
        return std::nullopt;
    const QString suffix = QFileInfo(path).suffix().toLower();
    const QByteArray name = suffix.toLatin1();
    // What Qt can read names an image format, and so does WebP, whose plugin
    // may be missing altogether.
    if (suffix.isEmpty() ||
        (name != "webp" && !QImageReader::supportedImageFormats().contains(name)))
        return std::nullopt;
    return suffix.toUpper();
}

QString ImageFilePath(const QString& path) {
    return FormatOf(path) ? path : path + QStringLiteral(".png");
}

FileWriteResult WriteImageFile(const QImage& image, const QString& chosenPath) {
    const QString path = ImageFilePath(chosenPath);
    const QByteArray format = FormatOf(path).value_or(QByteArray());
    // Encoded in memory first, so that a failing write is the file's own
    // error (a full disk says so) and the file is written in one piece.
    const QByteArray encoded = format.isEmpty() ? EncodePng(image) : EncodeWithQt(image, format);
    if (encoded.isEmpty())
        return {ENOMEM}; // the encoders fail here only for want of memory
    return WriteWholeFile(path, encoded);
}
