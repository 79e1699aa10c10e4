// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

class QImage;

// Suggested names for saved pictures, taken from the log shown: the log's
// file name without its extension, "261208.png" for the chart and
// "261208-1038-x2.png" for the polar plot of 10:38 at gain 2 (the time as
// four digits, hour zero-padded: 9:06 is "0906"). Without a log (an empty
// path) both are "dirchart.png".
QString ChartImageName(const QString& logPath);
QString PolarImageName(const QString& logPath, int slot, int gain);

// Writes `image` as a PNG to `path` through a temporary file in the same
// folder that is renamed over `path` only once it is complete, so a failure
// leaves neither a partial file nor a changed one. Returns the reason of a
// failure, empty on success.
QString WritePng(const QImage& image, const QString& path);

// The warning for a picture that could not be saved.
QString UnsavedMessage(const QString& path, const QString& reason);
