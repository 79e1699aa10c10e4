// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>
#include <QString>

// Writes `image` as a PNG file at `path` through a temporary file in the same
// folder that is renamed into place, replacing an older file of that name; a
// failure leaves neither a temporary file nor a partial image. Returns an
// empty string, or why the file could not be written.
QString WriteImageFile(const QImage& image, const QString& path);
