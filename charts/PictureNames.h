// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// Suggested names for saved pictures, taken from the log shown: the log's
// file name without its extension, "261208.png" for the chart and
// "261208-1038-x2.png" for the polar plot of 10:38 at gain 2 (the time as
// four digits, hour zero-padded: 9:06 is "0906"). Without a log (an empty
// path) both are "dirchart.png".
QString ChartImageName(const QString& logPath);
// What every suggested name begins with: the log's file name without its
// extension, or "dirchart" without a log.
QString LogNameStem(const QString& logPath);
QString PolarImageName(const QString& logPath, int slot, int gain);
// The difference chart of a log against its reference: "261208-diff.png".
QString DifferenceImageName(const QString& logPath);
