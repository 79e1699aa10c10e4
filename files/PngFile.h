// SPDX-License-Identifier: MIT
#pragma once

#include "WholeFile.h"

#include <QImage>
#include <QString>

#include <optional>

// The file that a picture to be saved as `path` is written to: `path` itself
// when its extension, in any case, names a format that can be written (png,
// jpg or jpeg, bmp, and webp where Qt's WebP plugin is installed), otherwise
// `path` with ".png" added.
QString ImageFilePath(const QString& path);

// The format, in capitals ("GIF", "WEBP"), when `path`'s extension names an
// image format that is not written here (or, for WebP, not without Qt's
// plugin); nothing for the formats written and for extensions that name no
// image format.
std::optional<QString> UnwritableImageFormat(const QString& path);

// Writes `image` at ImageFilePath(path), in the format its extension names,
// through a temporary file in the same folder that is renamed into place,
// replacing an older file of that name (see WriteWholeFile); a failure
// leaves neither a temporary file nor a partial image.
FileWriteResult WriteImageFile(const QImage& image, const QString& path);
