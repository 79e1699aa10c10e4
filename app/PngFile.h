// SPDX-License-Identifier: MIT
#pragma once

#include "WholeFile.h"

#include <QImage>
#include <QString>

// Writes `image` as a PNG file at `path` through WriteWholeFile: renamed into
// place when complete, nothing left behind by a failure.
FileWriteResult WriteImageFile(const QImage& image, const QString& path);
