// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>
#include <QString>

// Writes `image` as a PNG file at `path` through WriteWholeFile: renamed into
// place when complete, nothing left behind by a failure. Returns an empty
// string, or why the file could not be written.
QString WriteImageFile(const QImage& image, const QString& path);
